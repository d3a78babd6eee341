#pragma once
// Recovery files of assistants with unsaved changes, so that a crash or a power cut loses at most the last
// minute of work.
//
// In the recovery folder each window's changed assistant is kept as BASE.amf (the document text a save
// would write), with a record BASE.json beside it: the file the assistant came from (empty for one never
// saved), when the text was written (UTC) and the id of the writing process. BASE is the process id and
// a random number, so every window of every running editor writes files of its own. While the files exist,
// their writer holds the lock file BASE.lock (QLockFile); a lock whose process is gone counts as free.
// Recovery files whose lock can be taken were therefore left behind by an editor that ended without
// closing: the next start offers them back. A normal close, save, New or Open removes the files.
#include <QDateTime>
#include <QString>

#include <memory>
#include <string>
#include <vector>

class QLockFile;

// What the record beside a recovery file says.
struct RecoveryRecord {
    std::string OriginalFile; // the file the assistant was opened from or saved to; empty when never saved
    QDateTime Written;        // when the text was last written (UTC); the file's time when there is no record
    qint64 Pid = 0;           // the process that wrote it
};

class RecoveryFile {
public:
    // "recovery" in the program's folder of the user's data (QStandardPaths::AppDataLocation).
    static QString DefaultFolder();

    // A recovery file of this process in `folder`, under a name no other file there has. Nothing is
    // written (and the folder not even created) before the first Write.
    explicit RecoveryFile(QString folder);
    // Releases the lock and keeps the files, as a crash would, so the next start offers them; the
    // window removes them first when it closes normally.
    ~RecoveryFile();
    RecoveryFile(const RecoveryFile&) = delete;
    RecoveryFile& operator=(const RecoveryFile&) = delete;

    // The names (BASE) of the recovery files in `folder`, oldest first by their records. Files that
    // a running editor holds are listed too: Claim tells them apart.
    static std::vector<QString> Found(const QString& folder);
    // Takes the lock of the recovery file BASE in `folder` for this process and reads its record;
    // nullptr when a running editor holds it or its text file is gone (a record left without one is
    // deleted then). Destroying the result releases the claim and keeps the files.
    static std::unique_ptr<RecoveryFile> Claim(const QString& folder, const QString& base);

    QString TextPath() const;
    // The record as last written or claimed.
    const RecoveryRecord& Record() const { return m_record; }

    // Writes the text and a new record, taking the lock first; does nothing and returns false when
    // the same text for the same original file was the last written. A failure is raised as AppError
    // and leaves the previous files as they were.
    bool Write(const std::string& text, const std::string& originalFile);
    // Deletes the text and the record and releases the lock; nothing happens unless the lock is held.
    void Remove();
    // A claimed file becomes this process's own: its record names this process (keeping the original
    // file and the time of the change), and its present text counts as written. Raised as AppError when
    // the record cannot be written; the claim is kept either way.
    void TakeOver();

    // The record in a record file's text; an empty or damaged text gives an empty record.
    static RecoveryRecord ParseRecord(const QByteArray& json);
    static QByteArray RecordText(const RecoveryRecord& record);

private:
    RecoveryFile(QString folder, QString base);
    QString PathOf(const char* extension) const;
    QString RecordPath() const;
    QString LockPath() const;
    void Lock();
    void WriteRecord(const RecoveryRecord& record);

    QString m_folder;
    QString m_base;
    std::unique_ptr<QLockFile> m_lock;
    RecoveryRecord m_record;
    bool m_written = false; // m_text and m_original are what the files hold
    std::string m_text;
    std::string m_original;
};
