#include "editor/mainwindow.h"

#include "editor/assistantcommands.h"
#include "editor/assistantpage.h"
#include "editor/documentprompter.h"
#include "editor/dropdowncombobox.h"
#include "editor/exithandlers.h"
#include "editor/filelistmenu.h"
#include "editor/generalpanel.h"
#include "editor/itemtreemodel.h"
#include "editor/mappage.h"
#include "editor/optionpanel.h"
#include "editor/qtprompter.h"
#include "editor/recoveryfile.h"
#include "editor/screenpanel.h"
#include "model/assistroot.h"
#include "support/components.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>

namespace {

// Blanks and control characters, as removed around the caption base.
bool IsBlank(QChar c) {
    return c.unicode() <= 32;
}

QString TrimBlanks(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && IsBlank(text.at(first)))
        ++first;
    while (last > first && IsBlank(text.at(last - 1)))
        --last;
    return text.mid(first, last - first);
}

} // namespace

MainWindow::MainWindow(TEditorServices services, Prompter* prompter, QWidget* parent)
    : QMainWindow(parent), m_qtPrompter(std::make_unique<QtPrompter>(this)), m_services(std::move(services)) {
    m_prompter = prompter != nullptr ? prompter : m_qtPrompter.get();
    setObjectName(QStringLiteral("PathovaMainForm"));
    m_exitHandlers = new ExitHandlerRegistry(this);
    m_exitHandlers->SetErrorHandler([this](const std::exception& error) { ShowError(error); });

    BuildActions();
    BuildMenus();
    BuildToolBar();
    BuildPages();
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    SetCaption(QStringLiteral("Assistant Editor"));
    resize(717, 560);
    move(293, 122);

    ConnectActions();

    // Components made for this window (the program's runtime needs to know the window it tests for).
    if (m_services.ComponentsForWindow)
        m_services.Components = m_services.ComponentsForWindow(*this);
    FormCreate();
    ConnectModel();
    ConnectMap();
    AttachPanels();
    ConnectHistory();
    ConnectAutoSave();
    BuildFind();
}

void MainWindow::SetPrompter(Prompter* prompter) {
    m_prompter = prompter != nullptr ? prompter : m_qtPrompter.get();
    m_mapPage->setPrompter(m_prompter);
}

QAction* MainWindow::FindAction(const QString& objectName) const {
    for (QAction* action : actions())
        if (action->objectName() == objectName)
            return action;
    return nullptr;
}

QTreeView* MainWindow::Tree() const {
    return m_assistantPage->Tree();
}
GeneralPanel* MainWindow::General() const {
    return m_assistantPage->General();
}
ScreenPanel* MainWindow::Screen() const {
    return m_assistantPage->Screen();
}
OptionPanel* MainWindow::Option() const {
    return m_assistantPage->Option();
}

// ---- Caption

void MainWindow::SetCaption(const QString& caption) {
    m_caption = caption;
    // "[*]" is Qt's placeholder for the modified mark; doubled it shows as written.
    QString shown = caption;
    shown.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    setWindowTitle(shown);
}

QString MainWindow::DocumentCaption(const QString& currentCaption, const QString& documentText) {
    const qsizetype dash = currentCaption.indexOf(u'-');
    const QString base = TrimBlanks(dash < 0 ? currentCaption : currentCaption.left(dash));
    return base + QStringLiteral(" - ") + documentText;
}

void MainWindow::SetDocumentCaption(const QString& documentText) {
    SetCaption(DocumentCaption(m_caption, documentText));
}

// ---- Commands

void MainWindow::CommitFocusedBox() {
    m_exitHandlers->RunFor(focusWidget());
}

void MainWindow::RunCommand(void (MainWindow::*handler)()) {
    try {
        CommitFocusedBox();
        (this->*handler)();
    } catch (const std::exception& error) {
        ShowError(error);
    }
}

void MainWindow::ShowError(const std::exception& error) {
    m_prompter->Message(Prompter::MessageKind::ErrorOk, error.what());
}

void MainWindow::ConnectActions() {
    using Handler = void (MainWindow::*)();
    const std::pair<QAction*, Handler> bindings[] = {
        {m_actions.aNew, &MainWindow::aNewExecute},
        {m_actions.aOpen, &MainWindow::aOpenExecute},
        {m_actions.aSave, &MainWindow::aSaveExecute},
        {m_actions.aSaveAs, &MainWindow::aSaveAsExecute},
        {m_actions.aReport, &MainWindow::aReportExecute},
        {m_actions.aPublish, &MainWindow::aPublishExecute},
        {m_actions.aRun, &MainWindow::aRunExecute},
        {m_actions.aExit, &MainWindow::aExitExecute},
        {m_actions.aCopy, &MainWindow::aCopyExecute},
        {m_actions.aCut, &MainWindow::aCutExecute},
        {m_actions.aPaste, &MainWindow::aPasteExecute},
        {m_actions.aNote, &MainWindow::aNoteExecute},
        {m_actions.aUp, &MainWindow::aUpExecute},
        {m_actions.aDown, &MainWindow::aDownExecute},
        {m_actions.aFind, &MainWindow::aFindExecute},
        {m_actions.aGoTo, &MainWindow::aGoToExecute},
        {m_actions.aRenameScreen, &MainWindow::aRenameScreenExecute},
        {m_actions.aDuplicate, &MainWindow::aDuplicateExecute},
        {m_actions.aNewScreen, &MainWindow::aNewScreenExecute},
        {m_actions.aDelScreen, &MainWindow::aDelScreenExecute},
        {m_actions.aNewOption, &MainWindow::aNewOptionExecute},
        {m_actions.aDelOption, &MainWindow::aDelOptionExecute},
        {m_actions.aTest, &MainWindow::aTestExecute},
        {m_actions.aHelpContents, &MainWindow::aHelpContentsExecute},
        {m_actions.aHelpIndex, &MainWindow::aHelpIndexExecute},
        {m_actions.aHelpHelp, &MainWindow::aHelpHelpExecute},
        {m_actions.aAbout, &MainWindow::aAboutExecute},
        {m_actions.aOptions, &MainWindow::aOptionsExecute},
    };
    for (const auto& [action, handler] : bindings)
        connect(action, &QAction::triggered, this, [this, handler = handler] { RunCommand(handler); });
    // Undo and Redo go to the focused box first when it has typing of its own to take back; only
    // otherwise do they commit the box and move through the assistant's history.
    connect(m_actions.aUndo, &QAction::triggered, this, [this] {
        if (!BoxUndo(false))
            RunCommand(&MainWindow::UndoChange);
    });
    connect(m_actions.aRedo, &QAction::triggered, this, [this] {
        if (!BoxUndo(true))
            RunCommand(&MainWindow::RedoChange);
    });

    // Buttons of the Assistant page and the Option panel run the actions of the same names and follow
    // their caption and enabled state.
    const std::pair<QAbstractButton*, QAction*> buttons[] = {
        {m_assistantPage->bNewScreen(), m_actions.aNewScreen},
        {m_assistantPage->bDelScreen(), m_actions.aDelScreen},
        {m_assistantPage->bNewOption(), m_actions.aNewOption},
        {m_assistantPage->bDelOption(), m_actions.aDelOption},
        {m_assistantPage->bUp(), m_actions.aUp},
        {m_assistantPage->bDown(), m_actions.aDown},
        {Option()->bEditNotes(), m_actions.aNote},
    };
    for (const auto& [button, action] : buttons) {
        // The Notes button keeps its own hint: its action has none.
        if (!action->statusTip().isEmpty()) {
            button->setToolTip(action->toolTip());
            button->setStatusTip(action->statusTip());
        }
        button->setEnabled(action->isEnabled());
        connect(button, &QAbstractButton::clicked, action, &QAction::trigger);
        connect(action, &QAction::enabledChanged, button, &QWidget::setEnabled);
    }
}

bool MainWindow::ShowPanel(const QString& name) {
    return m_assistantPage->ShowPanel(name);
}

QWidget* MainWindow::FocusedTextBox() const {
    QWidget* focused = focusWidget();
    if (auto* combo = qobject_cast<QComboBox*>(focused))
        return combo->lineEdit(); // nullptr for a drop-down without typing
    if (focused != nullptr)
        if (auto* combo = qobject_cast<QComboBox*>(focused->parentWidget());
            combo && combo->lineEdit() == focused)
            return focused;
    if (qobject_cast<QLineEdit*>(focused) != nullptr || qobject_cast<QPlainTextEdit*>(focused) != nullptr)
        return focused;
    return nullptr;
}

void MainWindow::aCopyExecute() {
    QWidget* box = FocusedTextBox();
    if (auto* edit = qobject_cast<QLineEdit*>(box))
        edit->copy();
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(box))
        memo->copy();
}

void MainWindow::aCutExecute() {
    QWidget* box = FocusedTextBox();
    if (auto* edit = qobject_cast<QLineEdit*>(box))
        edit->cut();
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(box))
        memo->cut();
}

void MainWindow::aPasteExecute() {
    QWidget* box = FocusedTextBox();
    if (auto* edit = qobject_cast<QLineEdit*>(box))
        edit->paste();
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(box))
        memo->paste();
}

// ---- Life cycle

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_shown || event->spontaneous())
        return;
    m_shown = true;
    try {
        FormShow();
    } catch (const std::exception& error) {
        ShowError(error);
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    try {
        // Store a pending edit of the focused box before anything asks whether the assistant changed.
        CommitFocusedBox();
        bool canClose = true;
        FormCloseQuery(canClose);
        if (!canClose) {
            event->ignore();
            return;
        }
        FormClose();
    } catch (const std::exception& error) {
        // A failure while closing (a save that failed) keeps the window open.
        event->ignore();
        ShowError(error);
        return;
    }
    event->accept();
}
