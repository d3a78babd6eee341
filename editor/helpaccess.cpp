#include "editor/helpaccess.h"

#include "editor/helpwindow.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>
#include <QWidget>

HelpEnvironment& DefaultHelpEnvironment() {
    static HelpEnvironment environment;
    return environment;
}

bool ShowHelp(QWidget* /*window*/, const std::string& reference,
              const std::function<bool(const QUrl&)>& openUrl) {
    THelpRef ref;
    ref.Parse(reference);
    if (!ref.Valid())
        return false;
    switch (ref.Format()) {
    case HelpFormat::WinHelp:
    case HelpFormat::HtmlHelp:
        // There is no WinHelp or HTML Help viewer here: the desktop's handler for the file type
        // opens the file, and it starts at its own first page whatever the topic.
        if (openUrl)
            openUrl(QUrl::fromLocalFile(QString::fromStdString(ref.File())));
        else
            QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(ref.File())));
        return true;
    case HelpFormat::Unknown:
        break;
    }
    return false;
}

namespace {
// The manual's folder: the one the environment names, else the one found beside the program; empty when
// there is none.
std::string ManualFolderOf(const HelpEnvironment& environment) {
    if (!environment.ManualFolder.empty())
        return environment.ManualFolder;
    return environment.ProgramFile.empty() ? FindManualFolder()
                                           : FindManualFolder(environment.ProgramFile, std::string());
}
} // namespace

HelpWindow* FindHelpWindow(QWidget* owner) {
    if (!owner)
        return nullptr;
    return owner->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
}

HelpShown ShowHelpTopic(QWidget* owner, HelpTopic topic) {
    return ShowHelpTopic(owner, topic, DefaultHelpEnvironment());
}

HelpShown ShowHelpTopic(QWidget* owner, HelpTopic topic, const HelpEnvironment& environment) {
    if (topic != HelpTopic::HelpOnHelp) {
        const std::string helpFile =
            environment.ProgramFile.empty() ? DefaultHelpFile() : DefaultHelpFile(environment.ProgramFile);
        const std::string reference =
            topic == HelpTopic::Contents ? ContentsReference(helpFile) : IndexReference(helpFile);
        if (ShowHelp(owner, reference, environment.OpenUrl))
            return HelpShown::HelpFile;
    }

    HelpWindow* window = FindHelpWindow(owner);
    if (!window) {
        const std::string folder = ManualFolderOf(environment);
        if (folder.empty()) {
            const QString message = QString::fromUtf8(kHelpUnavailableMessage);
            if (environment.ShowUnavailable)
                environment.ShowUnavailable(owner, message);
            else
                QMessageBox::information(owner, QStringLiteral("Help"), message);
            return HelpShown::NotAvailable;
        }
        window = new HelpWindow(owner, QString::fromStdString(folder));
    }
    switch (topic) {
    case HelpTopic::Contents:
        window->ShowContents();
        break;
    case HelpTopic::Index:
        window->ShowIndex();
        break;
    case HelpTopic::HelpOnHelp:
        window->ShowPage(
            QString::fromUtf8(kManualHelpOnHelpPage.data(), qsizetype(kManualHelpOnHelpPage.size())));
        break;
    }
    window->show();
    window->raise();
    window->activateWindow();
    return HelpShown::HelpWindow;
}

HelpShown ShowHelpPage(QWidget* owner, const QString& page) {
    return ShowHelpPage(owner, page, DefaultHelpEnvironment());
}

HelpShown ShowHelpPage(QWidget* owner, const QString& page, const HelpEnvironment& environment) {
    HelpWindow* window = FindHelpWindow(owner);
    if (!window) {
        const std::string folder = ManualFolderOf(environment);
        // No manual to show a page of: the help file, or the message that there is no help.
        if (folder.empty())
            return ShowHelpTopic(owner, HelpTopic::Contents, environment);
        window = new HelpWindow(owner, QString::fromStdString(folder));
    }
    window->ShowPage(page);
    window->show();
    window->raise();
    window->activateWindow();
    return HelpShown::HelpWindow;
}
