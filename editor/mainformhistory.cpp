// The main window's undo and redo: every change recorded by the edit layer goes into the history;
// Undo and Redo move through it, rebuild both views and select the item the change concerns. Typing
// inside a box keeps the box's own undo while the box has something to take back.
#include "editor/assistantpage.h"
#include "editor/debouncedsaver.h"
#include "editor/itemtreemodel.h"
#include "editor/pathovamainform.h"
#include "editor/undohistory.h"
#include "model/assistroot.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTreeView>

namespace {

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

QString EscapeMnemonic(const std::string& text) {
    return QString::fromStdString(text).replace(u'&', QStringLiteral("&&"));
}

} // namespace

void TPathovaMainForm::ConnectHistory() {
    m_edits->SetRecorder([this](std::unique_ptr<DocumentEdit> applied) {
        const bool structural = applied->Structural();
        m_history->Push(std::move(applied));
        // The typing of a box whose value was just stored is now a change of the assistant: from here
        // on Undo takes it back there, not in the box.
        ForgetOwnHistory(FocusedTextBox());
        UpdateUndoActions();
        // A new, deleted or moved screen or option is kept for recovery at once; other changes within
        // the recovery writer's interval (and with the autosave timer's tick).
        if (structural)
            WriteRecovery();
        else if (m_recoveryWriter != nullptr && m_services.RecoveryWriteInterval > 0)
            m_recoveryWriter->Changed();
    });
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
    UpdateUndoActions();
}

void TPathovaMainForm::ClearHistory() {
    m_history->Clear(*m_assistant);
    UpdateUndoActions();
}

bool TPathovaMainForm::eventFilter(QObject* watched, QEvent* event) {
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

bool TPathovaMainForm::BoxUndo(bool redo) {
    QWidget* box = FocusedTextBox();
    if (!HasOwnHistory(box, redo))
        return false;
    if (auto* edit = qobject_cast<QLineEdit*>(box))
        redo ? edit->redo() : edit->undo();
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(box))
        redo ? memo->redo() : memo->undo();
    return true;
}

void TPathovaMainForm::aUndoExecute() {
    MoveThroughHistory(false);
}

void TPathovaMainForm::aRedoExecute() {
    MoveThroughHistory(true);
}

void TPathovaMainForm::MoveThroughHistory(bool redo) {
    if (!(redo ? m_history->CanRedo() : m_history->CanUndo()))
        return;
    // The views and the current item may refer to an item the move takes out of the assistant.
    CopyExpansionToItems(Tree(), m_treeModel);
    SetCurrentItem(nullptr);
    m_treeModel->Clear();
    m_structureModel->Clear();
    DocumentEdit* edit = redo ? m_history->Redo(*m_assistant) : m_history->Undo(*m_assistant);
    AfterHistoryMove(edit, redo);
}

void TPathovaMainForm::AfterHistoryMove(DocumentEdit* edit, bool applied) {
    RebuildTree();
    RebuildStructure();
    TAssistBase* subject = edit->Subject(applied);
    SelectItem(subject != nullptr ? subject : m_assistant.get());
    // The panel shows the model's values even when the item was current already.
    ShowItem();
    UpdateUndoActions();
    // Back at the saved state nothing needs recovering; a structural change taken back or put back
    // is kept at once, as the change itself was, any other within the recovery writer's interval.
    if (!m_assistant->Changed)
        RemoveRecovery();
    else if (edit->Structural())
        WriteRecovery();
    else if (m_services.RecoveryWriteInterval > 0)
        m_recoveryWriter->Changed();
}

void TPathovaMainForm::UpdateUndoActions() {
    if (!m_history)
        return;
    const std::string undo = m_history->UndoCaption();
    const std::string redo = m_history->RedoCaption();
    m_actions.aUndo->setText(undo.empty() ? QStringLiteral("&Undo") : "&Undo " + EscapeMnemonic(undo));
    m_actions.aRedo->setText(redo.empty() ? QStringLiteral("&Redo") : "&Redo " + EscapeMnemonic(redo));
    // A box with the focus may hold a change that Undo stores first and then takes back.
    const bool boxFocused = m_assistantPage->isAncestorOf(focusWidget()) && FocusedTextBox() != nullptr;
    m_actions.aUndo->setEnabled(m_history->CanUndo() || boxFocused);
    m_actions.aRedo->setEnabled(m_history->CanRedo() || boxFocused);
}
