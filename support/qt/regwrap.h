#pragma once
// The program's settings store: one per-user store of text values with a machine-wide read-only
// fallback, addressed like a registry key ("Software\Veltrane\<product>\<version>\Pathova") with
// value names such as "UserID", "Files" and "Window.<class>". The program creates one TRegWrap at
// start and every part that keeps settings goes through it.
//
// Where the values live: each store is an INI file handled by QSettings. The per-user file is
// QSettings' user-scope INI file for the key path, the fallback its system-scope one. On Linux:
//   per-user  $XDG_CONFIG_HOME/Veltrane/Assistant Tools/2.0/Pathova.ini
//             (~/.config/Veltrane/Assistant Tools/2.0/Pathova.ini when XDG_CONFIG_HOME is unset)
//   fallback  /etc/xdg/Veltrane/Assistant Tools/2.0/Pathova.ini
//             (the first folder of XDG_CONFIG_DIRS when set)
// The key path below "Software" becomes the folders and file name; a value name "Sub\Value" is the
// value "Value" in the INI group "Sub" (groups nest with '/'). Value and group names are matched
// without regard to ASCII case, as registry names are.
#include <QString>
#include <QVariant>
#include <memory>
#include <string>

class QSettings;
struct TVersionRecord;

// Which store a key is opened in: the per-user store or the machine-wide fallback.
enum class TRegRoot { CurrentUser, LocalMachine };

// The settings key path of a program: "Software\Veltrane\" + ProductName + "\" + ProductVersion +
// "\" + InternalName, without a trailing backslash.
std::string SettingsKeyPath(const TVersionRecord& version);
// The settings key path of this program (from its compiled-in version record).
std::string ProgramSettingsKeyPath();

// The INI files QSettings uses on this platform for a key path ("Software\Org\A\B" -> organisation
// "Org", application "A/B").
QString NativeUserSettingsFile(const std::string& keyPath);
QString NativeSystemSettingsFile(const std::string& keyPath);

// A stored value as the text the program works with: strings unchanged, 32-bit numbers in decimal,
// byte data as two upper-case hexadecimal digits per byte, a list of texts (an unquoted comma list in
// the INI file) as its items through QuoteIfNeeded joined by commas, anything else empty.
std::string SettingsValueToText(const QVariant& value);

class TRegWrap {
public:
    // Native stores for `keyPath` (see the file comment). `root` is the store that reads try first
    // and writes go to; the program uses TRegRoot::CurrentUser.
    TRegWrap(TRegRoot root, const std::string& keyPath);
    // Explicit store files (tests, portable installations): `userFile` is the per-user store,
    // `systemFile` the read-only fallback; `keyPath` only names the base key.
    TRegWrap(TRegRoot root, const std::string& keyPath, const QString& userFile, const QString& systemFile);
    // The program's one settings object: native stores, this program's key path, per-user root.
    static std::unique_ptr<TRegWrap> ForProgram();
    ~TRegWrap();
    TRegWrap(const TRegWrap&) = delete;
    TRegWrap& operator=(const TRegWrap&) = delete;

    // The value's text, `defaultValue` when it is absent in the per-user store and in the fallback.
    // A per-user value wins even when it is empty. Throws AppError "Failed to get data for '<name>'"
    // when the per-user store exists but cannot be read.
    std::string ReadValue(const std::string& name, const std::string& defaultValue);
    std::string ReadValue(const std::string& name);
    // Stores a non-empty value as text; an empty value deletes the value. Throws AppError
    // "Failed to set data for '<name>'" when the store cannot be written.
    void WriteValue(const std::string& name, const std::string& value);
    // Closes whatever key is open (open state 0).
    void CloseKey();
    // Moves to `subPath` below the base key. Mode 0 closes, 1 opens for reading (a missing key stays
    // unopened), 2 opens for writing (creating the key). The open state becomes `mode`.
    void OpenPath(const std::string& subPath, int mode);

    // Observable state.
    int OpenState() const { return m_openState; } // 0 none, 1 reading, 2 writing
    TRegRoot Root() const { return m_root; }      // store the next open uses
    bool IsKeyOpen() const { return m_key != nullptr; }
    const std::string& OpenKeyPath() const { return m_keyPath; } // full path of the open key, or empty
    const std::string& BasePath() const { return m_basePath; }
    const QString& UserFile() const { return m_userFile; }
    const QString& SystemFile() const { return m_systemFile; }

private:
    const QString& FileOf(TRegRoot root) const;
    // The base path, or the base path and `subPath` joined by a backslash.
    std::string FullPath(const std::string& subPath) const;
    // Opens `fullPath` in the current root's store; leaves no key open when it is missing (reading)
    // or cannot be used. Sets m_readFailed when an existing store cannot be read.
    void OpenKey(const std::string& fullPath, bool forWriting);
    void CloseAccessKey();
    // The value `valueName` of the open key, when present.
    bool FindValue(const std::string& valueName, QVariant& value) const;

    std::string m_basePath;
    QString m_userFile;
    QString m_systemFile;
    TRegRoot m_root;
    // The open key: a QSettings on the store, positioned in the key's group.
    std::unique_ptr<QSettings> m_key;
    std::string m_keyPath;
    bool m_keyWritable = false;
    bool m_readFailed = false;
    int m_openState = 0;
};
