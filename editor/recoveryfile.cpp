#include "editor/recoveryfile.h"

#include "support/error.h"
#include "support/savetextfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <algorithm>
#include <set>
#include <utility>

namespace {

const char* const kText = ".amf";
const char* const kRecord = ".json";
const char* const kLock = ".lock";

// A lock file that only counts as free when its process is gone: a running editor may keep its
// recovery files for hours, so the age of the lock must not make it stale.
std::unique_ptr<QLockFile> MakeLock(const QString& path) {
    auto lock = std::make_unique<QLockFile>(path);
    lock->setStaleLockTime(0);
    return lock;
}

QDateTime NowToTheSecond() {
    const QDateTime now = QDateTime::currentDateTimeUtc();
    return now.addMSecs(-now.time().msec());
}

// The record of a recovery file; the time of the text file stands in for a missing or damaged one.
RecoveryRecord ReadRecord(const QString& textPath, const QString& recordPath) {
    RecoveryRecord record;
    QFile file(recordPath);
    if (file.open(QIODevice::ReadOnly))
        record = RecoveryFile::ParseRecord(file.readAll());
    if (!record.Written.isValid())
        record.Written = QFileInfo(textPath).lastModified().toUTC();
    return record;
}

} // namespace

QString RecoveryFile::DefaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/recovery");
}

RecoveryFile::RecoveryFile(QString folder, QString base)
    : m_folder(std::move(folder)), m_base(std::move(base)) {}

RecoveryFile::RecoveryFile(QString folder) : m_folder(std::move(folder)) {
    const QString pid = QString::number(QCoreApplication::applicationPid());
    do {
        m_base = pid + u'-' + QString::number(QRandomGenerator::global()->generate(), 16);
    } while (QFileInfo::exists(TextPath()) || QFileInfo::exists(RecordPath()) ||
             QFileInfo::exists(LockPath()));
}

RecoveryFile::~RecoveryFile() = default;

QString RecoveryFile::PathOf(const char* extension) const {
    return m_folder + u'/' + m_base + QLatin1String(extension);
}

QString RecoveryFile::TextPath() const {
    return PathOf(kText);
}
QString RecoveryFile::RecordPath() const {
    return PathOf(kRecord);
}
QString RecoveryFile::LockPath() const {
    return PathOf(kLock);
}

std::vector<QString> RecoveryFile::Found(const QString& folder) {
    const QDir dir(folder);
    std::set<QString> bases;
    // A record without its text is listed as well, so that claiming it clears it away.
    for (const QString& name :
         dir.entryList({QStringLiteral("*.amf"), QStringLiteral("*.json")}, QDir::Files))
        bases.insert(QFileInfo(name).completeBaseName());
    std::vector<std::pair<QDateTime, QString>> dated;
    for (const QString& base : bases) {
        const QString path = dir.filePath(base);
        dated.emplace_back(ReadRecord(path + QLatin1String(kText), path + QLatin1String(kRecord)).Written,
                           base);
    }
    std::sort(dated.begin(), dated.end());
    std::vector<QString> found;
    for (auto& [written, base] : dated)
        found.push_back(std::move(base));
    return found;
}

namespace {

// Takes a lock that names this very process although nothing here holds it: it was left by an editor
// that died while it had the same process id (a sandbox or container hands the same id to every
// start). QLockFile counts a lock of a running process as held, and this process runs. Removing a
// stale lock file succeeds only when no open lock of it exists, so a lock that another window of
// this process holds stays untouched.
bool TakeLockLeftUnderOurId(QLockFile& lock) {
    qint64 pid = 0;
    QString hostname;
    QString appname;
    if (!lock.getLockInfo(&pid, &hostname, &appname) || pid != QCoreApplication::applicationPid())
        return false;
    return lock.removeStaleLockFile() && lock.tryLock(0);
}

} // namespace

std::unique_ptr<RecoveryFile> RecoveryFile::Claim(const QString& folder, const QString& base) {
    std::unique_ptr<RecoveryFile> claimed(new RecoveryFile(folder, base));
    std::unique_ptr<QLockFile> lock = MakeLock(claimed->LockPath());
    if (!lock->tryLock(0) && !TakeLockLeftUnderOurId(*lock))
        return nullptr;
    claimed->m_lock = std::move(lock);
    if (!QFileInfo::exists(claimed->TextPath())) {
        QFile::remove(claimed->RecordPath());
        return nullptr; // the claim goes with the object
    }
    claimed->m_record = ReadRecord(claimed->TextPath(), claimed->RecordPath());
    return claimed;
}

void RecoveryFile::Lock() {
    if (m_lock)
        return;
    if (!QDir().mkpath(m_folder))
        throw AppError("Cannot create the recovery folder \"" + m_folder.toStdString() + "\".");
    std::unique_ptr<QLockFile> lock = MakeLock(LockPath());
    if (!lock->tryLock(0))
        throw AppError("Cannot lock the recovery file \"" + LockPath().toStdString() + "\".");
    m_lock = std::move(lock);
}

void RecoveryFile::WriteRecord(const RecoveryRecord& record) {
    const QByteArray json = RecordText(record);
    SaveTextToFile(std::string(json.constData(), static_cast<std::size_t>(json.size())),
                   RecordPath().toStdString());
}

bool RecoveryFile::Write(const std::string& text, const std::string& originalFile) {
    if (m_written && text == m_text && originalFile == m_original)
        return false;
    Lock();
    // Until both files are written, the next call writes again.
    m_written = false;
    SaveTextToFile(text, TextPath().toStdString());
    RecoveryRecord record;
    record.OriginalFile = originalFile;
    record.Written = NowToTheSecond();
    record.Pid = QCoreApplication::applicationPid();
    WriteRecord(record);
    m_record = std::move(record);
    m_text = text;
    m_original = originalFile;
    m_written = true;
    return true;
}

void RecoveryFile::Remove() {
    if (!m_lock)
        return;
    QFile::remove(TextPath());
    QFile::remove(RecordPath());
    m_lock.reset(); // unlocks and deletes the lock file
    m_record = RecoveryRecord();
    m_written = false;
    m_text.clear();
    m_original.clear();
}

void RecoveryFile::TakeOver() {
    QFile file(TextPath());
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray text = file.readAll();
        m_text.assign(text.constData(), static_cast<std::size_t>(text.size()));
        m_original = m_record.OriginalFile;
        m_written = true;
    }
    RecoveryRecord record = m_record;
    record.Pid = QCoreApplication::applicationPid();
    WriteRecord(record);
    m_record = std::move(record);
}

RecoveryRecord RecoveryFile::ParseRecord(const QByteArray& json) {
    RecoveryRecord record;
    const QJsonObject object = QJsonDocument::fromJson(json).object();
    record.OriginalFile = object.value(QStringLiteral("originalFile")).toString().toStdString();
    const QDateTime written =
        QDateTime::fromString(object.value(QStringLiteral("written")).toString(), Qt::ISODate);
    if (written.isValid())
        record.Written = written.toUTC();
    record.Pid = static_cast<qint64>(object.value(QStringLiteral("pid")).toDouble());
    return record;
}

QByteArray RecoveryFile::RecordText(const RecoveryRecord& record) {
    QJsonObject object;
    object.insert(QStringLiteral("originalFile"), QString::fromStdString(record.OriginalFile));
    object.insert(QStringLiteral("written"), record.Written.toUTC().toString(Qt::ISODate));
    object.insert(QStringLiteral("pid"), static_cast<double>(record.Pid));
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}
