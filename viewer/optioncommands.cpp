#include "viewer/optioncommands.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include "components/filefinder.h"
#include "model/note.h"
#include "support/qt/mailaddress.h"
#include "support/textroutines.h"

namespace {
QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

bool StartsWithCode(const QString& name) {
    return name.startsWith(QStringLiteral("{$"));
}

// The name with its folder code replaced; nothing for an unknown code.
std::optional<QString> ExpandCode(const QString& name, const FileFinder& finder) {
    const auto expanded = finder.ExpandCodes(name.toStdString());
    if (!expanded)
        return std::nullopt;
    return QString::fromStdString(*expanded);
}

QString UnknownCode(const QString& name) {
    return QStringLiteral("\"%1\" starts with a folder code that is not known.").arg(name);
}
} // namespace

AssistantTarget SplitAssistantCommand(const std::string& command) {
    std::string rest = command;
    const std::string file = SplitAt(rest, ',');
    return {FromUtf8(Trim(file)), FromUtf8(Trim(rest))};
}

ResolvedName ResolveFileName(const QString& name, const QString& baseFolder, FileFinder& finder) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return {{}, QStringLiteral("No file is named.")};
    if (StartsWithCode(trimmed)) {
        const auto expanded = ExpandCode(trimmed, finder);
        if (!expanded)
            return {{}, UnknownCode(trimmed)};
        return {QDir::cleanPath(*expanded), {}};
    }
    QString path = trimmed;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (QDir::isAbsolutePath(path))
        return {QDir::cleanPath(path), {}};
    if (!baseFolder.isEmpty())
        return {QDir::cleanPath(QDir(baseFolder).filePath(path)), {}};
    std::string found;
    if (finder.LocateFile(path.toStdString(), kFindDefault, found).Ok && !found.empty())
        return {QString::fromStdString(found), {}};
    return {QDir::cleanPath(QDir::current().filePath(path)), {}};
}

LaunchPlan PlanLaunch(const std::string& command, const QString& baseFolder, FileFinder& finder) {
    LaunchPlan plan;
    QStringList parts = QProcess::splitCommand(FromUtf8(Trim(command)));
    if (parts.isEmpty()) {
        plan.Error = QStringLiteral("This option names no program to run.");
        return plan;
    }
    QString program = parts.takeFirst();
    if (StartsWithCode(program)) {
        const auto expanded = ExpandCode(program, finder);
        if (!expanded) {
            plan.Error = UnknownCode(program);
            return plan;
        }
        program = QDir::cleanPath(*expanded);
    } else {
        QString local = program;
        local.replace(QLatin1Char('\\'), QLatin1Char('/'));
        const bool hasFolder = local.contains(QLatin1Char('/'));
        if (QDir::isAbsolutePath(local)) {
            program = QDir::cleanPath(local);
        } else if (!baseFolder.isEmpty()) {
            const QString inBase = QDir::cleanPath(QDir(baseFolder).filePath(local));
            if (hasFolder || QFileInfo(inBase).isFile())
                program = inBase;
        } else if (hasFolder) {
            program = QDir::cleanPath(QDir::current().filePath(local));
        }
    }
    for (QString& argument : parts) {
        if (!StartsWithCode(argument))
            continue;
        const auto expanded = ExpandCode(argument, finder);
        if (!expanded) {
            plan.Error = UnknownCode(argument);
            return plan;
        }
        argument = *expanded;
    }
    plan.Launch = {program, parts, baseFolder};
    const QFileInfo info(program);
    plan.OpenAsDocument = parts.isEmpty() && info.isFile() && !info.isExecutable();
    return plan;
}

WebAddress CheckWebAddress(const std::string& command) {
    const QString text = FromUtf8(Trim(command));
    if (text.isEmpty())
        return {{}, QStringLiteral("This option names no web address.")};
    QUrl url(text, QUrl::StrictMode);
    if (url.scheme().isEmpty() && text.startsWith(QStringLiteral("www."), Qt::CaseInsensitive))
        url = QUrl(QStringLiteral("http://") + text, QUrl::StrictMode);
    const QString scheme = url.scheme(); // QUrl keeps schemes in lower case
    const bool web =
        (scheme == QStringLiteral("http") || scheme == QStringLiteral("https")) && !url.host().isEmpty();
    const bool mail = scheme == QStringLiteral("mailto") && !url.path().isEmpty();
    if (!url.isValid() || !(web || mail))
        return {{},
                QStringLiteral(
                    "Only web (http, https) and mail (mailto) addresses are opened; \"%1\" is not one.")
                    .arg(text)};
    // A mail address may not make the mail program attach a file.
    return {WithoutMailAttachments(url), {}};
}

QString NotesText(const TNotes& notes) {
    QStringList parts;
    for (const TNote& note : notes) {
        QString head = FromUtf8(note.Name);
        if (!note.Type.empty())
            head += (head.isEmpty() ? QString() : QStringLiteral(" ")) +
                    QStringLiteral("(%1)").arg(FromUtf8(note.Type));
        QString text = FromUtf8(note.Text);
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        parts << (head.isEmpty() ? text : head + QLatin1Char('\n') + text);
    }
    return parts.join(QStringLiteral("\n\n"));
}

QString ScriptText(const std::string& script) {
    QString text = FromUtf8(script);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}
