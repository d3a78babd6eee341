#include "editor/undohistory.h"

#include "editor/documentedits.h"
#include "model/assistroot.h"

struct UndoHistory::Entry {
    std::unique_ptr<DocumentEdit> edit;
    std::string caption; // fixed when the change is made: later renames do not rename the entry
};

UndoHistory::UndoHistory() = default;
UndoHistory::~UndoHistory() = default;

void UndoHistory::Push(std::unique_ptr<DocumentEdit> applied) {
    // The clean state was among the dropped entries: no position reaches it any more.
    if (m_clean > static_cast<long>(m_position))
        m_clean = -1;
    // From the top down, so that an entry holding a detached item goes before those made earlier.
    while (m_entries.size() > m_position)
        m_entries.pop_back();
    auto entry = std::make_unique<Entry>();
    entry->caption = applied->Caption();
    entry->edit = std::move(applied);
    m_entries.push_back(std::move(entry));
    ++m_position;
}

std::string UndoHistory::UndoCaption() const {
    return CanUndo() ? m_entries[m_position - 1]->caption : std::string();
}

std::string UndoHistory::RedoCaption() const {
    return CanRedo() ? m_entries[m_position]->caption : std::string();
}

DocumentEdit* UndoHistory::Undo(TAssistRoot& root) {
    if (!CanUndo())
        return nullptr;
    DocumentEdit* edit = m_entries[m_position - 1]->edit.get();
    edit->Revert(root);
    --m_position;
    AfterMove(root);
    return edit;
}

DocumentEdit* UndoHistory::Redo(TAssistRoot& root) {
    if (!CanRedo())
        return nullptr;
    DocumentEdit* edit = m_entries[m_position]->edit.get();
    edit->Apply(root);
    ++m_position;
    AfterMove(root);
    return edit;
}

void UndoHistory::AfterMove(TAssistRoot& root) const {
    if (IsClean()) {
        root.Changed = false;
        root.BuildDate = m_cleanDate;
    } else {
        root.Changed = true;
    }
}

void UndoHistory::Clear(const TAssistRoot& root) {
    while (!m_entries.empty())
        m_entries.pop_back();
    m_position = 0;
    SetClean(root);
}

void UndoHistory::SetClean(const TAssistRoot& root) {
    m_clean = static_cast<long>(m_position);
    m_cleanDate = root.BuildDate;
}
