// The main window's Test and Run from file commands, which hand an assistant to the assistant runtime,
// and its three Help commands.
#include "editor/mainwindow.h"
#include "editor/assistantpage.h"
#include "editor/findpanel.h"
#include "editor/helpaccess.h"
#include "editor/optionpanel.h"
#include "editor/screenpanel.h"
#include "model/assistroot.h"
#include "support/components.h"

#include <QDockWidget>
#include <QTabWidget>
#include <QTreeView>

namespace {

// Puts the assistant's Changed flag back when the test run ends, however it ends: writing the text
// clears the flag, but nothing was saved.
class ChangedFlagKeeper {
public:
    explicit ChangedFlagKeeper(TAssistRoot& assistant)
        : m_assistant(assistant), m_changed(assistant.Changed) {}
    ~ChangedFlagKeeper() { m_assistant.Changed = m_changed; }
    ChangedFlagKeeper(const ChangedFlagKeeper&) = delete;
    ChangedFlagKeeper& operator=(const ChangedFlagKeeper&) = delete;

private:
    TAssistRoot& m_assistant;
    bool m_changed;
};

} // namespace

// ---- Test and Run from file

void MainWindow::aTestExecute() {
    TAssistRoot& assistant = *m_assistant;
    const ChangedFlagKeeper keeper(assistant);
    // Declared after the keeper: the runtime is released first, then the flag is put back.
    const std::unique_ptr<IAssistant> runtime = m_services.Components->CreateAssistant();
    // The text Save would write, kept in memory: the assistant as it is now, saved or not.
    Check(runtime->LoadAssistantText(assistant.SaveToText()));
    // The run starts at the current screen, or at the screen of the current option; for the assistant
    // (or no item) the runtime starts at the first screen.
    const TAssistScreen* start = Screen()->CurrentScreen();
    if (const TAssistOption* option = Option()->CurrentOption())
        start = option->Owner;
    if (start != nullptr)
        Check(runtime->SetInitialScreen(start->ID));
    Check(runtime->Run(this, kRunShowOwned));
}

void MainWindow::aRunExecute() {
    // The file is asked for here, through the window's prompter, so that the dialog belongs to this
    // window and a cancel simply ends the command; the editor's assistant is not involved.
    const std::optional<std::string> chosen = m_prompter->OpenFileName(AssistantFileRequest("Run from file"));
    if (!chosen || chosen->empty())
        return;
    const std::unique_ptr<IAssistant> runtime = m_services.Components->CreateAssistant();
    std::string loaded;
    Check(runtime->LoadAssistantFile(*chosen, loaded));
    Check(runtime->Run(this, kRunShowOwned));
}

// ---- Help

void MainWindow::aHelpContentsExecute() {
    ShowHelpTopic(this, HelpTopic::Contents);
}

void MainWindow::aHelpIndexExecute() {
    ShowHelpTopic(this, HelpTopic::Index);
}

void MainWindow::aHelpHelpExecute() {
    ShowHelpTopic(this, HelpTopic::HelpOnHelp);
}

void MainWindow::aHelpContextExecute() {
    ShowHelpPage(this, ContextHelpPage());
}

QString MainWindow::ContextHelpPage() const {
    const QWidget* focused = focusWidget();
    if (m_findDock != nullptr && m_findDock->isAncestorOf(focused))
        return QStringLiteral("finding.html#find");
    QWidget* page = m_pages->currentWidget();
    if (page == m_tsStructure)
        return QStringLiteral("window.html#structure-page");
    if (page == m_tsMap)
        return QStringLiteral("map.html");
    if (page == m_tsErrors)
        return QStringLiteral("checks.html");
    // The Assistant page: the tree, or the panel shown.
    if (focused != nullptr && (focused == Tree() || Tree()->isAncestorOf(focused)))
        return QStringLiteral("panels.html#tree");
    const QString panel = m_assistantPage->CurrentPanelName();
    if (panel == QStringLiteral("Screen"))
        return QStringLiteral("panels.html#screen");
    if (panel == QStringLiteral("Option"))
        return QStringLiteral("panels.html#option");
    return QStringLiteral("panels.html#general");
}
