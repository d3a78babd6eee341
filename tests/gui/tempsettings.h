#pragma once
// A settings store in a temporary folder for tests: a per-user file and a machine-wide file that the
// test can fill with raw INI text and read back byte for byte, so nothing reaches the real stores.
#include "support/qt/regwrap.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <memory>
#include <string>

struct TempSettings {
    static constexpr const char* KeyPath = "Software\\Veltrane\\Assistant Tools\\2.0\\Pathova";

    QTemporaryDir dir;
    QString userFile = dir.filePath("user/Pathova.ini");
    QString systemFile = dir.filePath("system/Pathova.ini");

    std::unique_ptr<TRegWrap> Make(TRegRoot root = TRegRoot::CurrentUser) const {
        return std::make_unique<TRegWrap>(root, KeyPath, userFile, systemFile);
    }

    static void WriteRaw(const QString& file, const std::string& text) {
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw std::runtime_error("cannot write test file " + file.toStdString());
        out.write(text.data(), static_cast<qint64>(text.size()));
    }

    // The file's bytes as they are on disk (not through QSettings, which caches files in memory).
    static std::string ReadRaw(const QString& file) {
        QFile in(file);
        if (!in.open(QIODevice::ReadOnly))
            return {};
        return in.readAll().toStdString();
    }
};
