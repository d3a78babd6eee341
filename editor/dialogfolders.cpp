#include "editor/dialogfolders.h"

#include "support/qt/regwrap.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <exception>

QString DialogStartFolder(const QString& currentFile, const QString& lastFolder,
                          const QString& documentsFolder) {
    if (!currentFile.isEmpty())
        return QFileInfo(currentFile).absolutePath();
    if (!lastFolder.isEmpty() && QFileInfo(lastFolder).isDir())
        return lastFolder;
    return documentsFolder;
}

QString SuggestedSavePath(const QString& startFolder, const QString& assistantID) {
    if (assistantID.isEmpty())
        return startFolder;
    return QDir(startFolder).filePath(assistantID + QStringLiteral(".amf"));
}

QString FileDialogFolder(TRegWrap& settings, const std::string& currentFile) {
    std::string last;
    try {
        settings.CloseKey(); // read afresh: another window may have used a dialog since
        last = settings.ReadValue(kLastFolderValue, "");
    } catch (const std::exception&) {
        last.clear(); // a dialog still opens, in the documents folder
    }
    // A user without a documents folder gets the home folder rather than wherever the program runs.
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty() || !QFileInfo(documents).isDir())
        documents = QDir::homePath();
    return DialogStartFolder(QString::fromStdString(currentFile), QString::fromStdString(last), documents);
}

void RememberDialogFolder(TRegWrap& settings, const std::string& chosenFile) {
    if (chosenFile.empty())
        return;
    settings.WriteValue(kLastFolderValue,
                        QFileInfo(QString::fromStdString(chosenFile)).absolutePath().toStdString());
    settings.CloseKey();
}
