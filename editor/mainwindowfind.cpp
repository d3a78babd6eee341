// The main window's find and replace, Go to, Rename screen, Duplicate and drag and drop in the tree.
// Every change these make is one command on UndoStack() reporting to DocumentView(), so it reaches the
// views through OnDocumentChanged like any other edit.
#include "editor/assistantcommands.h"
#include "editor/assistantpage.h"
#include "editor/dropdowncombobox.h"
#include "editor/findpanel.h"
#include "editor/generalpanel.h"
#include "editor/gotoanything.h"
#include "editor/itemtreemodel.h"
#include "editor/mainwindow.h"
#include "editor/optionpanel.h"
#include "editor/renamescreendialog.h"
#include "editor/screenpanel.h"
#include "model/assistroot.h"

#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextCursor>
#include <QTreeView>
#include <QUndoStack>

void MainWindow::BuildFind() {
    m_findDock = new QDockWidget(QStringLiteral("Find and replace"), this);
    m_findDock->setObjectName(QStringLiteral("dkFind"));
    m_findPanel = new FindPanel(*m_assistant, m_findDock);
    m_findDock->setWidget(m_findPanel);
    addDockWidget(Qt::BottomDockWidgetArea, m_findDock);
    m_findDock->hide();
    // Escape anywhere in the panel closes it, as in the find bars of other editors, and hands the
    // keyboard back to the tree.
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), m_findDock, nullptr, nullptr,
                                Qt::WidgetWithChildrenShortcut);
    connect(close, &QShortcut::activated, this, [this] {
        m_findDock->hide();
        Tree()->setFocus(Qt::ShortcutFocusReason);
    });

    // F3 and Shift+F3 of the panel are in the Edit menu under Find; their letters differ from the
    // other entries of that menu.
    QAction* next = m_findPanel->FindNextAction();
    QAction* previous = m_findPanel->FindPreviousAction();
    next->setObjectName(QStringLiteral("aFindNext"));
    next->setText(QStringLiteral("Find ne&xt"));
    previous->setObjectName(QStringLiteral("aFindPrevious"));
    previous->setText(QStringLiteral("Find pre&vious"));
    m_editMenu->insertActions(m_actions.aGoTo, {next, previous});
    // Their tool tips name their keys, as those of the window's commands do.
    for (QAction* step : {next, previous})
        step->setToolTip(step->toolTip() + QStringLiteral(" (") +
                         step->shortcut().toString(QKeySequence::NativeText) + QLatin1Char(')'));
    // Stepping with the panel closed opens it, so that the list shows where the match is.
    for (QAction* step : {next, previous})
        connect(step, &QAction::triggered, m_findDock, &QWidget::show);

    connect(m_findPanel, &FindPanel::matchActivated, this,
            [this](TAssistBase* item, TSearchField field, int offset, int length) {
                ShowMatch(item, field, offset, length);
            });
    connect(m_findPanel, &FindPanel::replaceOneRequested, this, [this](const TFieldChange& change) {
        m_undoStack->push(new ReplaceAllCommand({change}, DocumentView()));
    });
    connect(m_findPanel, &FindPanel::replaceAllRequested, this,
            [this](const std::vector<TFieldChange>& changes) {
                m_undoStack->push(new ReplaceAllCommand(changes, DocumentView()));
            });

    m_goTo = new GoToAnything(this);
    m_goTo->setObjectName(QStringLiteral("GoToAnything"));
    // As everywhere in the window, labels are plain text, so that no text shown there turns into markup.
    for (QWidget* part : {static_cast<QWidget*>(m_findPanel), static_cast<QWidget*>(m_goTo)})
        for (QLabel* label : part->findChildren<QLabel*>())
            label->setTextFormat(Qt::PlainText);
    connect(m_goTo, &GoToAnything::itemChosen, this, [this](TAssistBase* item) {
        m_pages->setCurrentWidget(m_tsAssistant);
        SelectItem(item);
    });

    // Drag and drop in the assistant tree; the move runs after the drop has finished, since it
    // rebuilds the model the view is still dropping into.
    m_treeModel->SetDragDropEnabled(true);
    QTreeView* tree = Tree();
    tree->setDragEnabled(true);
    tree->setAcceptDrops(true);
    tree->setDropIndicatorShown(true);
    tree->setDragDropMode(QAbstractItemView::DragDrop);
    tree->setDefaultDropAction(Qt::MoveAction);
    connect(
        m_treeModel, &ItemTreeModel::MoveRequested, this,
        [this](int fromScreen, int fromOption, int toScreen, int toOption) {
            m_undoStack->push(new MoveItemCommand(*m_assistant, fromScreen, fromOption, toScreen, toOption,
                                                  DocumentView()));
        },
        Qt::QueuedConnection);
}

void MainWindow::ShowMatch(TAssistBase* item, unsigned field, int offset, int length) {
    m_pages->setCurrentWidget(m_tsAssistant);
    // The tree's current row follows, so that it names the item the panel shows (the assistant too).
    SelectItem(item);
    if (m_currentItem != item)
        return;
    // The box that shows the field in the item's panel; notes are edited in the note editor.
    QWidget* box = nullptr;
    if (item == m_assistant.get()) {
        if (field == sfID)
            box = General()->eProjectID();
        else if (field == sfCaption)
            box = General()->eProjectCaption();
        else if (field == sfText)
            box = General()->mProjectExp();
    } else if (dynamic_cast<TAssistScreen*>(item) != nullptr) {
        if (field == sfID)
            box = Screen()->eScreenID();
        else if (field == sfCaption)
            box = Screen()->eScreenCaption();
        else if (field == sfText)
            box = Screen()->mScreenExp();
    } else {
        if (field == sfID)
            box = Option()->eOptionID();
        else if (field == sfCaption)
            box = Option()->eOptionCaption();
        else if (field == sfOptionDescription)
            box = Option()->mOptionExp();
        else if (field == sfCommand)
            box = Option()->cbCommand()->lineEdit();
        else if (field == sfScript)
            box = Option()->mOptionScript();
    }
    if (auto* edit = qobject_cast<QLineEdit*>(box)) {
        edit->setFocus(Qt::OtherFocusReason);
        edit->setSelection(offset, length);
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(box)) {
        memo->setFocus(Qt::OtherFocusReason);
        QTextCursor cursor = memo->textCursor();
        cursor.setPosition(offset);
        cursor.setPosition(offset + length, QTextCursor::KeepAnchor);
        memo->setTextCursor(cursor);
    }
}

void MainWindow::aFindExecute() {
    // A selection within one line of the focused box is what to find.
    QString selected;
    if (auto* edit = qobject_cast<QLineEdit*>(focusWidget()))
        selected = edit->selectedText();
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(focusWidget()))
        selected = memo->textCursor().selectedText();
    if (selected.contains(QChar::ParagraphSeparator))
        selected.clear();
    m_findDock->show();
    m_findDock->raise();
    m_findPanel->StartFind(selected);
}

void MainWindow::aGoToExecute() {
    m_goTo->Open(*m_assistant);
}

namespace {

TAssistScreen* ScreenOf(TAssistBase* item) {
    if (auto* screen = dynamic_cast<TAssistScreen*>(item))
        return screen;
    if (auto* option = dynamic_cast<TAssistOption*>(item))
        return option->Owner;
    return nullptr;
}

} // namespace

void MainWindow::aRenameScreenExecute() {
    TAssistScreen* screen = ScreenOf(m_currentItem);
    if (screen == nullptr)
        return;
    const std::optional<std::string> newID = AskScreenRename(this, *m_assistant, *screen);
    if (!newID)
        return;
    const std::string oldID = screen->ID;
    auto* rename = new RenameScreenCommand(*m_assistant, *screen, *newID, DocumentView());
    const int references = rename->References();
    m_undoStack->push(rename);
    statusBar()->showMessage(ScreenRenameReport(oldID, *newID, references));
}

void MainWindow::aDuplicateExecute() {
    TAssistScreen* screen = ScreenOf(m_currentItem);
    if (screen == nullptr)
        return;
    auto* option = dynamic_cast<TAssistOption*>(m_currentItem);
    const int screenIndex = m_assistant->Screens.IndexOf(screen);
    const int optionIndex = option != nullptr ? screen->Options.IndexOf(option) : -1;
    m_undoStack->push(new DuplicateCommand(*m_assistant, screenIndex, optionIndex, DocumentView()));
}
