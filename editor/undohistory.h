#pragma once
// The editor's undo history: the applied changes of the assistant (the edit layer's command objects) in
// the order they were made, with a position between the changes that are applied (below it, undoable)
// and those that were taken back (above it, redoable). It also knows which position matches the file
// last saved or opened (the clean position), so that undoing back to it leaves the assistant unchanged.
//
// Ownership of detached items
// ---------------------------
// An entry owns its command object, and a command that took a screen or an option out of the assistant
// (a deletion that is applied, or a creation that was taken back) owns that item, with everything below
// it, until the item is put back. Such an item still refers to its assistant, and the other entries
// refer to items by plain pointers, so:
//   - the entries are only ever dropped from the top: a new change drops the redoable entries, whose
//     detached items nothing below them can refer to (they came into existence later);
//   - Clear() destroys every entry and the items they hold; the window clears the history before it
//     replaces or destroys its assistant, so no entry and no detached item outlives its assistant.
#include <memory>
#include <string>
#include <vector>

class DocumentEdit;
class TAssistRoot;

class UndoHistory {
public:
    UndoHistory();
    ~UndoHistory();
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;

    // Takes an applied change: the redoable entries are dropped (and what they hold destroyed).
    void Push(std::unique_ptr<DocumentEdit> applied);

    bool CanUndo() const { return m_position > 0; }
    bool CanRedo() const { return m_position < m_entries.size(); }
    // The caption of the change Undo or Redo would take back or put back; empty when there is none.
    std::string UndoCaption() const;
    std::string RedoCaption() const;

    // Reverts the latest applied change, or applies again the latest reverted one, and sets the
    // assistant's changed state (see SetClean). Returns the change, or nullptr when there was none.
    DocumentEdit* Undo(TAssistRoot& root);
    DocumentEdit* Redo(TAssistRoot& root);

    // Destroys every entry; the empty history is clean with the assistant's present build date.
    void Clear(const TAssistRoot& root);
    // The present position matches the file: reaching it again by undo or redo clears Changed and
    // restores the build date the assistant had here.
    void SetClean(const TAssistRoot& root);
    // No position matches the file any more (a recovered assistant differs from its file from the
    // start): undo and redo leave the assistant changed wherever they go.
    void ForgetClean() { m_clean = -1; }
    bool IsClean() const { return m_clean == static_cast<long>(m_position); }
    std::size_t Count() const { return m_entries.size(); }

private:
    void AfterMove(TAssistRoot& root) const;

    struct Entry;
    std::vector<std::unique_ptr<Entry>> m_entries;
    std::size_t m_position = 0; // entries below it are applied
    long m_clean = 0;           // the clean position; -1 once it cannot be reached any more
    std::string m_cleanDate;
};
