#include "support/qt/regwrap.h"

#include "support/error.h"
#include "support/textroutines.h"
#include "support/versioninfo.h"

#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <vector>

namespace {
// The non-empty parts of a backslash-separated path.
std::vector<std::string> PathSegments(const std::string& path) {
    std::vector<std::string> segments;
    std::string rest = path;
    while (!rest.empty()) {
        std::string part = SplitAt(rest, '\\');
        if (!part.empty())
            segments.push_back(std::move(part));
    }
    return segments;
}

// A value name splits at its last backslash into a sub-key path and the plain value name.
struct ValueName {
    std::string SubPath;
    std::string Name;
};
ValueName SplitValueName(const std::string& name) {
    const size_t pos = name.rfind('\\');
    if (pos == std::string::npos)
        return {{}, name};
    return {name.substr(0, pos), name.substr(pos + 1)};
}

// The entry of `names` equal to `name` without regard to ASCII case; empty when there is none.
QString FindName(const QStringList& names, const std::string& name) {
    for (const QString& candidate : names)
        if (SameText(candidate.toStdString(), name))
            return candidate;
    return {};
}

// The QSettings organisation and application that stand for a key path: the part after "Software"
// names the organisation, the rest becomes nested folders and the file name.
void OrganisationAndApplication(const std::string& keyPath, QString& organisation, QString& application) {
    std::vector<std::string> segments = PathSegments(keyPath);
    if (!segments.empty() && SameText(segments.front(), "Software"))
        segments.erase(segments.begin());
    organisation = segments.empty() ? QString() : QString::fromStdString(segments.front());
    QStringList rest;
    for (size_t i = 1; i < segments.size(); ++i)
        rest << QString::fromStdString(segments[i]);
    application = rest.isEmpty() ? organisation : rest.join(QLatin1Char('/'));
}

QString NativeSettingsFile(const std::string& keyPath, QSettings::Scope scope) {
    QString organisation, application;
    OrganisationAndApplication(keyPath, organisation, application);
    return QSettings(QSettings::IniFormat, scope, organisation, application).fileName();
}

std::string SetError(const std::string& name) {
    return "Failed to set data for '" + name + "'";
}
std::string GetError(const std::string& name) {
    return "Failed to get data for '" + name + "'";
}
} // namespace

std::string SettingsKeyPath(const TVersionRecord& version) {
    return "Software\\Veltrane\\" + version.ProductName + "\\" + version.ProductVersion + "\\" +
           version.InternalName;
}

std::string ProgramSettingsKeyPath() {
    return SettingsKeyPath(TVersionInformation::OfProgram({}));
}

QString NativeUserSettingsFile(const std::string& keyPath) {
    return NativeSettingsFile(keyPath, QSettings::UserScope);
}

QString NativeSystemSettingsFile(const std::string& keyPath) {
    return NativeSettingsFile(keyPath, QSettings::SystemScope);
}

std::string SettingsValueToText(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString().toStdString();
    case QMetaType::Int:
        return IntToStr(value.toInt());
    case QMetaType::UInt:
        return UIntToStr(value.toUInt());
    case QMetaType::QByteArray:
        return value.toByteArray().toHex().toUpper().toStdString();
    case QMetaType::QStringList: {
        // QSettings reads an unquoted comma list written by hand ("Files=a.amf,b.amf") as a list of
        // items; the text it stands for is the items joined by commas, each quoted where the program's
        // own lists quote it, so that NextListItem gives the items back.
        std::string text;
        for (const QString& item : value.toStringList()) {
            if (!text.empty())
                text += ',';
            text += QuoteIfNeeded(item.toStdString());
        }
        return text;
    }
    default:
        return {};
    }
}

TRegWrap::TRegWrap(TRegRoot root, const std::string& keyPath)
    : TRegWrap(root, keyPath, NativeUserSettingsFile(keyPath), NativeSystemSettingsFile(keyPath)) {}

TRegWrap::TRegWrap(TRegRoot root, const std::string& keyPath, const QString& userFile,
                   const QString& systemFile)
    : m_basePath(WithoutTrailingBackslash(keyPath)), m_userFile(userFile), m_systemFile(systemFile),
      m_root(root) {}

std::unique_ptr<TRegWrap> TRegWrap::ForProgram() {
    return std::make_unique<TRegWrap>(TRegRoot::CurrentUser, ProgramSettingsKeyPath());
}

TRegWrap::~TRegWrap() {
    CloseAccessKey();
}

const QString& TRegWrap::FileOf(TRegRoot root) const {
    return root == TRegRoot::CurrentUser ? m_userFile : m_systemFile;
}

void TRegWrap::CloseAccessKey() {
    m_key.reset(); // QSettings writes pending changes when it goes
    m_keyPath.clear();
    m_keyWritable = false;
}

void TRegWrap::OpenKey(const std::string& fullPath, bool forWriting) {
    m_readFailed = false;
    const QString& file = FileOf(m_root);
    // A store that does not exist yet is a missing key for reading; writing creates it.
    if (!forWriting && !QFileInfo::exists(file))
        return;
    auto settings = std::make_unique<QSettings>(file, QSettings::IniFormat);
    if (settings->status() == QSettings::AccessError) {
        // Only the per-user store is the program's own; an unreadable fallback counts as absent.
        m_readFailed = !forWriting && m_root == TRegRoot::CurrentUser;
        return;
    }
    if (forWriting && !settings->isWritable())
        return;
    const std::string subPath =
        fullPath.size() > m_basePath.size() ? fullPath.substr(m_basePath.size() + 1) : std::string();
    for (const std::string& segment : PathSegments(subPath)) {
        QString group = FindName(settings->childGroups(), segment);
        if (group.isEmpty()) {
            if (!forWriting)
                return; // the sub-key is missing
            group = QString::fromStdString(segment);
        }
        settings->beginGroup(group);
    }
    m_key = std::move(settings);
    m_keyPath = fullPath;
    m_keyWritable = forWriting;
}

std::string TRegWrap::FullPath(const std::string& subPath) const {
    return subPath.empty() ? m_basePath : m_basePath + "\\" + WithoutTrailingBackslash(subPath);
}

void TRegWrap::OpenPath(const std::string& subPath, int mode) {
    const std::string fullPath = FullPath(subPath);
    if (m_key && !SameText(m_keyPath, fullPath)) {
        CloseAccessKey();
        m_openState = 0;
    }
    switch (mode) {
    case 1:
        if (!m_key)
            OpenKey(fullPath, false);
        break;
    case 2:
        if (m_key && !m_keyWritable)
            CloseAccessKey();
        if (!m_key)
            OpenKey(fullPath, true);
        break;
    default:
        CloseAccessKey();
        break;
    }
    m_openState = mode;
}

void TRegWrap::CloseKey() {
    OpenPath({}, 0);
}

bool TRegWrap::FindValue(const std::string& valueName, QVariant& value) const {
    if (!m_key)
        return false;
    const QString key = FindName(m_key->childKeys(), valueName);
    if (key.isEmpty())
        return false;
    value = m_key->value(key);
    return true;
}

std::string TRegWrap::ReadValue(const std::string& name, const std::string& defaultValue) {
    const ValueName parts = SplitValueName(name);
    OpenPath(parts.SubPath, 1);
    if (m_readFailed)
        throw AppError(GetError(name));
    QVariant value;
    if (FindValue(parts.Name, value))
        return SettingsValueToText(value);
    std::string result = defaultValue;
    if (m_root == TRegRoot::CurrentUser) {
        // Fall back to the machine-wide store; whatever happens the per-user root comes back.
        const std::string fullPath = FullPath(parts.SubPath);
        CloseAccessKey();
        m_root = TRegRoot::LocalMachine;
        struct RestoreRoot {
            TRegWrap& wrap;
            ~RestoreRoot() {
                wrap.CloseAccessKey();
                wrap.m_root = TRegRoot::CurrentUser;
            }
        } restore{*this};
        OpenKey(fullPath, false);
        if (FindValue(parts.Name, value))
            result = SettingsValueToText(value);
    }
    return result;
}

std::string TRegWrap::ReadValue(const std::string& name) {
    return ReadValue(name, {});
}

void TRegWrap::WriteValue(const std::string& name, const std::string& value) {
    const ValueName parts = SplitValueName(name);
    OpenPath(parts.SubPath, 2);
    if (!m_key)
        throw AppError(SetError(name));
    // A name stored with other letter case is the same value: replace it rather than add a twin.
    for (const QString& existing : m_key->childKeys())
        if (SameText(existing.toStdString(), parts.Name) &&
            (value.empty() || existing.toStdString() != parts.Name))
            m_key->remove(existing);
    if (!value.empty())
        m_key->setValue(QString::fromStdString(parts.Name), QString::fromStdString(value));
    m_key->sync();
    // A store that parsed with format errors still accepts writes; only a failed write counts.
    if (m_key->status() == QSettings::AccessError) {
        CloseAccessKey();
        throw AppError(SetError(name));
    }
}
