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
    for (QAction* action : m_commandActions)
        if (action->objectName() == objectName)
            return action;
    for (QAction* action : actions())
        if (action->objectName() == objectName)
            return action;
    // The actions of the window's parts, such as the find panel's Find next.
    return findChild<QAction*>(objectName);
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
