// The main window's undo and redo: every change of the edit layer is a command on the window's
// QUndoStack; Undo and Redo move through it, and each step announces, as the change itself did, what to
// rebuild and what to select. Typing inside a box keeps the box's own undo while the box has something to
// take back.
#include "editor/assistantcommands.h"
#include "editor/assistantpage.h"
#include "editor/debouncedsaver.h"
#include "editor/itemtreemodel.h"
#include "editor/mainwindow.h"
#include "model/assistroot.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTreeView>
#include <QUndoStack>

namespace {

// What the commands that change many places at once (editor/assistantcommands.h) report, turned into
// the edit layer's announcement, so that they reach the views the same way as every other edit.
class AnnouncingView final : public IAssistantView {
public:
    explicit AnnouncingView(TDocumentEdits& edits) : m_edits(edits) {}
    void RebuildTree(TAssistBase* select) override { AnnounceStructural(nullptr, nullptr, select); }
    // One item in, out or moved: the views patch its nodes in place, as for the edit layer's own.
    void ItemAdded(TAssistBase* item) override { AnnounceStructural(&DocumentChange::added, item, item); }
    void ItemRemoved(TAssistBase* item, TAssistBase* select) override {
        AnnounceStructural(&DocumentChange::removed, item, select);
    }
    void ItemMoved(TAssistBase* item) override { AnnounceStructural(&DocumentChange::moved, item, item); }
    void RefreshItem() override {
        // Any field may have changed, IDs too: both views, and the panel shows the model again.
        DocumentChange change;
        change.views = ViewRebuild::Both;
        change.showAgain = true;
        m_edits.Announce(change);
    }

private:
    // A structural change: `item` in the answer's `role` (added, removed or moved), or without a role
    // both views rebuilt; `select` shown afterwards.
    void AnnounceStructural(TAssistBase* DocumentChange::*role, TAssistBase* item, TAssistBase* select) {
        DocumentChange change;
        if (role != nullptr)
            change.*role = item;
        else
            change.views = ViewRebuild::Both;
        change.select = select;
        change.structural = true;
        m_edits.Announce(change);
    }

    TDocumentEdits& m_edits;
};

// The line edit or memo that types for a box (an editable drop-down types through its line edit).
QWidget* TypingWidget(QObject* box) {
    if (auto* combo = qobject_cast<QComboBox*>(box))
        return combo->lineEdit();
    if (qobject_cast<QLineEdit*>(box) != nullptr || qobject_cast<QPlainTextEdit*>(box) != nullptr)
        return static_cast<QWidget*>(box);
    return nullptr;
}

// Whether the box has typing of its own to undo (or redo).
bool HasOwnHistory(QWidget* box, bool redo) {
    if (auto* edit = qobject_cast<QLineEdit*>(box))
        return !edit->isReadOnly() && (redo ? edit->isRedoAvailable() : edit->isUndoAvailable());
    if (auto* memo = qobject_cast<QPlainTextEdit*>(box))
        return !memo->isReadOnly() &&
               (redo ? memo->document()->isRedoAvailable() : memo->document()->isUndoAvailable());
    return false;
}

// Forgets the box's own typing history, keeping its text, caret and selection.
void ForgetOwnHistory(QWidget* box) {
    if (auto* edit = qobject_cast<QLineEdit*>(box)) {
        if (!edit->isUndoAvailable() && !edit->isRedoAvailable())
            return;
        const int cursor = edit->cursorPosition();
        const int start = edit->selectionStart();
        const int length = edit->selectedText().size();
        const QSignalBlocker quiet(edit);
        edit->setText(edit->text()); // setting the text is the line edit's one way to clear its history
        if (start >= 0)
            edit->setSelection(start, length);
        edit->setCursorPosition(cursor);
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(box)) {
        memo->document()->clearUndoRedoStacks();
    }
}

} // namespace

void MainWindow::ConnectHistory() {
    m_undoStack = new QUndoStack(this);
    m_undoStack->setObjectName(QStringLiteral("UndoStack"));
    m_edits->SetUndoStack(m_undoStack);
    m_documentView = std::make_unique<AnnouncingView>(*m_edits);
    // The history's clean state is the assistant's unsaved-changes flag: reaching it again by undo or
    // redo clears Changed and puts back the build date the assistant had there.
    connect(m_undoStack, &QUndoStack::indexChanged, this, [this] {
        if (m_undoStack->isClean()) {
            m_assistant->Changed = false;
            m_assistant->BuildDate = m_cleanBuildDate;
            // Back at the saved state nothing needs recovering.
            RemoveRecovery();
        } else {
            m_assistant->Changed = true;
        }
        UpdateUndoActions();
    });
    // A save marks the history clean without moving through it.
    connect(m_undoStack, &QUndoStack::cleanChanged, this, [this] { UpdateUndoActions(); });
    // A text box swallows the Undo and Redo keys even with nothing to take back; the filter passes them
    // on to the window then.
    for (QLineEdit* box : m_assistantPage->findChildren<QLineEdit*>())
        box->installEventFilter(this);
    for (QPlainTextEdit* box : m_assistantPage->findChildren<QPlainTextEdit*>())
        box->installEventFilter(this);
    for (QComboBox* box : m_assistantPage->findChildren<QComboBox*>())
        if (box->isEditable())
            box->installEventFilter(this);
    // With the focus in a box, Undo first stores the box, which may be a change to take back.
    m_focusConnection = connect(qApp, &QApplication::focusChanged, this, [this] { UpdateUndoActions(); });
    ClearHistory();
}

void MainWindow::ClearHistory() {
    // Destroys every step and the items they hold; the empty history is clean with the present date.
    {
        // Not a move through the history: the assistant's flag stays as it is.
        const QSignalBlocker quiet(m_undoStack);
        m_undoStack->clear();
        m_undoStack->setClean();
    }
    m_cleanBuildDate = m_assistant->BuildDate;
    UpdateUndoActions();
}

void MainWindow::MarkSaved() {
    m_undoStack->setClean();
    m_cleanBuildDate = m_assistant->BuildDate;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // A box's own undo covers the typing since the focus came into it; what was typed before was
    // stored when the focus left.
    if (event->type() == QEvent::FocusIn)
        ForgetOwnHistory(TypingWidget(watched));
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeyCombination combination = key->keyCombination();
        const bool undo = key->matches(QKeySequence::Undo);
        const bool redo = key->matches(QKeySequence::Redo) ||
                          combination == QKeyCombination(Qt::ControlModifier, Qt::Key_Y) ||
                          combination == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z);
        // Not delivered, so not taken over by the box: the window's action runs.
        if ((undo || redo) && !HasOwnHistory(TypingWidget(watched), redo && !undo))
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::ForgetBoxHistory() {
    ForgetOwnHistory(FocusedTextBox());
}

bool MainWindow::BoxUndo(bool redo) {
    QWidget* box = FocusedTextBox();
    if (!HasOwnHistory(box, redo))
        return false;
    if (auto* edit = qobject_cast<QLineEdit*>(box))
        redo ? edit->redo() : edit->undo();
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(box))
        redo ? memo->redo() : memo->undo();
    return true;
}

void MainWindow::UndoChange() {
    MoveThroughHistory(false);
}

void MainWindow::RedoChange() {
    MoveThroughHistory(true);
}

void MainWindow::MoveThroughHistory(bool redo) {
    if (!(redo ? m_undoStack->canRedo() : m_undoStack->canUndo()))
        return;
    // No box may store into an item the move takes out of the assistant while the views follow it.
    TAssistBase* before = m_currentItem;
    SetCurrentItem(nullptr);
    redo ? m_undoStack->redo() : m_undoStack->undo();
    // A step that names nothing to select (an edit over many places) keeps the item shown before, or
    // the assistant when that item is gone.
    if (m_currentItem == nullptr)
        SelectItem(before);
    if (m_currentItem == nullptr)
        SelectItem(m_assistant.get());
}
