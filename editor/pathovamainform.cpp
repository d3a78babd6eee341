#include "editor/pathovamainform.h"

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

TPathovaMainForm::TPathovaMainForm(TEditorServices services, Prompter* prompter, QWidget* parent)
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

void TPathovaMainForm::SetPrompter(Prompter* prompter) {
    m_prompter = prompter != nullptr ? prompter : m_qtPrompter.get();
    m_mapPage->setPrompter(m_prompter);
}

QAction* TPathovaMainForm::FindAction(const QString& objectName) const {
    for (QAction* action : actions())
        if (action->objectName() == objectName)
            return action;
    return nullptr;
}

QTreeView* TPathovaMainForm::Tree() const {
    return m_assistantPage->Tree();
}
GeneralPanel* TPathovaMainForm::General() const {
    return m_assistantPage->General();
}
ScreenPanel* TPathovaMainForm::Screen() const {
    return m_assistantPage->Screen();
}
OptionPanel* TPathovaMainForm::Option() const {
    return m_assistantPage->Option();
}

// ---- Caption

void TPathovaMainForm::SetCaption(const QString& caption) {
    m_caption = caption;
    // "[*]" is Qt's placeholder for the modified mark; doubled it shows as written.
    QString shown = caption;
    shown.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    setWindowTitle(shown);
}

QString TPathovaMainForm::DocumentCaption(const QString& currentCaption, const QString& documentText) {
    const qsizetype dash = currentCaption.indexOf(u'-');
    const QString base = TrimBlanks(dash < 0 ? currentCaption : currentCaption.left(dash));
    return base + QStringLiteral(" - ") + documentText;
}

void TPathovaMainForm::SetDocumentCaption(const QString& documentText) {
    SetCaption(DocumentCaption(m_caption, documentText));
}

// ---- Commands

void TPathovaMainForm::ActionList1Execute() {
    m_exitHandlers->RunFor(focusWidget());
}

void TPathovaMainForm::RunCommand(void (TPathovaMainForm::*handler)()) {
    try {
        ActionList1Execute();
        (this->*handler)();
    } catch (const std::exception& error) {
        ShowError(error);
    }
}

void TPathovaMainForm::ShowError(const std::exception& error) {
    m_prompter->Message(Prompter::MessageKind::ErrorOk, error.what());
}

void TPathovaMainForm::ConnectActions() {
    using Handler = void (TPathovaMainForm::*)();
    const std::pair<QAction*, Handler> bindings[] = {
        {m_actions.aNew, &TPathovaMainForm::aNewExecute},
        {m_actions.aOpen, &TPathovaMainForm::aOpenExecute},
        {m_actions.aSave, &TPathovaMainForm::aSaveExecute},
        {m_actions.aSaveAs, &TPathovaMainForm::aSaveAsExecute},
        {m_actions.aReport, &TPathovaMainForm::aReportExecute},
        {m_actions.aPublish, &TPathovaMainForm::aPublishExecute},
        {m_actions.aRun, &TPathovaMainForm::aRunExecute},
        {m_actions.aExit, &TPathovaMainForm::aExitExecute},
        {m_actions.EditCopy1, &TPathovaMainForm::EditCopy1Execute},
        {m_actions.Cut1, &TPathovaMainForm::Cut1Execute},
        {m_actions.Paste1, &TPathovaMainForm::Paste1Execute},
        {m_actions.aNote, &TPathovaMainForm::aNoteExecute},
        {m_actions.aUp, &TPathovaMainForm::aUpExecute},
        {m_actions.aDown, &TPathovaMainForm::aDownExecute},
        {m_actions.aFind, &TPathovaMainForm::aFindExecute},
        {m_actions.aGoTo, &TPathovaMainForm::aGoToExecute},
        {m_actions.aRenameScreen, &TPathovaMainForm::aRenameScreenExecute},
        {m_actions.aDuplicate, &TPathovaMainForm::aDuplicateExecute},
        {m_actions.aNewScreen, &TPathovaMainForm::aNewScreenExecute},
        {m_actions.aDelScreen, &TPathovaMainForm::aDelScreenExecute},
        {m_actions.aNewOption, &TPathovaMainForm::aNewOptionExecute},
        {m_actions.aDelOption, &TPathovaMainForm::aDelOptionExecute},
        {m_actions.aTest, &TPathovaMainForm::aTestExecute},
        {m_actions.aHelpContents, &TPathovaMainForm::aHelpContentsExecute},
        {m_actions.aHelpIndex, &TPathovaMainForm::aHelpIndexExecute},
        {m_actions.aHelpHelp, &TPathovaMainForm::aHelpHelpExecute},
        {m_actions.aAbout, &TPathovaMainForm::aAboutExecute},
    };
    for (const auto& [action, handler] : bindings)
        connect(action, &QAction::triggered, this, [this, handler = handler] { RunCommand(handler); });
    // Undo and Redo go to the focused box first when it has typing of its own to take back; only
    // otherwise do they commit the box and move through the assistant's history.
    connect(m_actions.aUndo, &QAction::triggered, this, [this] {
        if (!BoxUndo(false))
            RunCommand(&TPathovaMainForm::UndoChange);
    });
    connect(m_actions.aRedo, &QAction::triggered, this, [this] {
        if (!BoxUndo(true))
            RunCommand(&TPathovaMainForm::RedoChange);
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

bool TPathovaMainForm::ShowPanel(const QString& name) {
    return m_assistantPage->ShowPanel(name);
}

QWidget* TPathovaMainForm::FocusedTextBox() const {
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

void TPathovaMainForm::EditCopy1Execute() {
    QWidget* box = FocusedTextBox();
    if (auto* edit = qobject_cast<QLineEdit*>(box))
        edit->copy();
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(box))
        memo->copy();
}

void TPathovaMainForm::Cut1Execute() {
    QWidget* box = FocusedTextBox();
    if (auto* edit = qobject_cast<QLineEdit*>(box))
        edit->cut();
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(box))
        memo->cut();
}

void TPathovaMainForm::Paste1Execute() {
    QWidget* box = FocusedTextBox();
    if (auto* edit = qobject_cast<QLineEdit*>(box))
        edit->paste();
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(box))
        memo->paste();
}

// ---- Life cycle

void TPathovaMainForm::showEvent(QShowEvent* event) {
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

void TPathovaMainForm::closeEvent(QCloseEvent* event) {
    try {
        // Store a pending edit of the focused box before anything asks whether the assistant changed.
        ActionList1Execute();
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
