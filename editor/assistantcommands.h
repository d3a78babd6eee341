#pragma once
// Undoable edits that change several places of the assistant at once, for the window's undo stack:
// replacing all matches, renaming a screen with its references, duplicating a screen or an option, and
// moving a screen or an option (drag and drop). Each is one step; after doing or undoing it the
// command tells the window what changed through IAssistantView, which turns it into the edit layer's
// answer: a new, removed or moved item is patched into the views, other changes rebuild them.
#include "model/assistedits.h"
#include "model/assistsearch.h"

#include <QUndoCommand>

#include <memory>

class IAssistantView {
public:
    virtual ~IAssistantView() = default;
    // The tree and the structure changed in many places (IDs and links renamed); `select` is the item
    // to show afterwards (may be nullptr).
    virtual void RebuildTree(TAssistBase* select) = 0;
    // One screen or option came into the assistant, at its place; it is shown afterwards.
    virtual void ItemAdded(TAssistBase* item) = 0;
    // One screen or option was taken out of the assistant (still alive now); `select` is shown afterwards.
    virtual void ItemRemoved(TAssistBase* item, TAssistBase* select) = 0;
    // One screen moved within the list, or one option within its screen's list or to another screen's;
    // it is shown afterwards.
    virtual void ItemMoved(TAssistBase* item) = 0;
    // Texts changed in place; the panel of the current item must show them again.
    virtual void RefreshItem() = 0;
};

class ReplaceAllCommand : public QUndoCommand {
public:
    ReplaceAllCommand(std::vector<TFieldChange> changes, IAssistantView& view);
    void redo() override;
    void undo() override;
    int Count() const { return static_cast<int>(m_changes.size()); }

private:
    std::vector<TFieldChange> m_changes;
    IAssistantView& m_view;
};

class RenameScreenCommand : public QUndoCommand {
public:
    RenameScreenCommand(TAssistRoot& root, TAssistScreen& screen, const std::string& newID,
                        IAssistantView& view);
    void redo() override;
    void undo() override;
    // How many references (go-to commands and the first screen) the rename changes.
    int References() const { return m_rename.References(); }

private:
    TAssistRoot& m_root;
    TScreenRename m_rename;
    IAssistantView& m_view;
};

// Duplicates a screen (option == -1) or an option of it; undo takes the copy out and keeps it for redo.
class DuplicateCommand : public QUndoCommand {
public:
    DuplicateCommand(TAssistRoot& root, int screen, int option, IAssistantView& view);
    ~DuplicateCommand() override;
    void redo() override;
    void undo() override;
    TAssistBase* Copy() const { return m_copy; }

private:
    TAssistRoot& m_root;
    int m_screen;
    int m_option;
    IAssistantView& m_view;
    TAssistBase* m_copy = nullptr;
    std::unique_ptr<TAssistScreen> m_takenScreen;
    std::unique_ptr<TAssistOption> m_takenOption;
};

// Moves a screen within the list (fromScreen, -1 -> toScreen), or an option from one screen's list to a
// position in the same or another screen's list.
class MoveItemCommand : public QUndoCommand {
public:
    MoveItemCommand(TAssistRoot& root, int fromScreen, int fromOption, int toScreen, int toOption,
                    IAssistantView& view);
    void redo() override;
    void undo() override;

private:
    TAssistBase* Move(int fromScreen, int fromOption, int toScreen, int toOption);
    TAssistRoot& m_root;
    int m_fromScreen, m_fromOption, m_toScreen, m_toOption;
    IAssistantView& m_view;
};
