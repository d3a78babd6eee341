#pragma once
// The one place through which the editor changes the assistant. Every kind of change is a QUndoCommand
// (DocumentEdit) that applies itself (redo) and takes itself back (undo); with an undo stack set, each
// change is pushed onto it, so the window's Undo and Redo are the stack's. Each operation:
//   - compares first where the change is a stored value (a value equal to the model's stores nothing),
//   - applies the change and records it as an edit of the assistant (MarkChanged: Changed flag and
//     build date),
//   - announces what it changed (DocumentChanged: which views are out of date, which item's rows, what to
//     select), each time it is applied or taken back. The window rebuilds its views from that answer
//     only, in one place; any other view listens to the same signal.
// Items removed from the assistant (deleted screens and options) are kept alive by their command, not
// destroyed at once, so that taking the deletion back restores the very same objects.
#include "model/actionkind.h"

#include <QObject>
#include <QUndoCommand>

#include <memory>
#include <string>
#include <vector>

class TAssistBase;
class TAssistOption;
class TAssistRoot;
class TAssistScreen;
class TNote;

// Which views a change makes out of date. Flags; Tree and Structure may both be set.
enum class ViewRebuild : unsigned { None = 0, Structure = 1, Tree = 2, Both = 3 };
inline ViewRebuild operator|(ViewRebuild a, ViewRebuild b) {
    return static_cast<ViewRebuild>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}
inline bool Needs(ViewRebuild value, ViewRebuild flag) {
    return (static_cast<unsigned>(value) & static_cast<unsigned>(flag)) != 0;
}

// The text fields a panel box edits. Which items have which field:
//   ID, Caption: every item; AuthorName, Copyright, Version, FirstScreen: the assistant; Image: a
//   screen; Command, Script: an option.
enum class TextField { ID, Caption, AuthorName, Copyright, Version, FirstScreen, Image, Command, Script };

// What changing the field makes out of date: an ID renames nodes and links (both views), the first
// screen and the action kind change the navigation (structure), the rest changes no view.
ViewRebuild RebuildFor(TextField field);

// What one change (applied or taken back) made out of date.
struct DocumentChange {
    // The views to rebuild.
    ViewRebuild views = ViewRebuild::None;
    // The item whose own fields changed: without a rebuild its rows are refreshed in place.
    TAssistBase* item = nullptr;
    // The item to select afterwards; nullptr keeps the selection.
    TAssistBase* select = nullptr;
    // A screen or option was added, removed or moved (worth keeping for recovery at once).
    bool structural = false;
    // Only the ID of `item` changed: its nodes keep their places, so the tree renames them instead of
    // being rebuilt; the structure is rebuilt only where the ID shows or is linked to.
    bool renamed = false;
    // A new screen or option, the only change: the tree gains its node in place, and the structure is
    // rebuilt only where the new item can show in it.
    TAssistBase* added = nullptr;
    // A screen or option taken out of the assistant (still alive while the change is announced), the
    // only change: its nodes leave the views in place, and the structure is rebuilt only where it
    // showed a branch of it.
    TAssistBase* removed = nullptr;
    // A screen or option moved within its list (or an option dragged to another screen's list), the
    // only change: its tree node moves in place, and the structure is rebuilt only where the order it
    // follows changed (where it shows either screen, for an option that moved to another screen).
    TAssistBase* moved = nullptr;
    // Undo or redo moved through the history, or texts changed in many places: the panel shows the
    // model's values again, and the typing history of the focused box stays.
    bool showAgain = false;
};
Q_DECLARE_METATYPE(DocumentChange)

class TDocumentEdits;

// One change of the assistant, as an undoable command. Subclasses say how to apply and take back the
// change; the base announces every application through the edit layer.
class DocumentEdit : public QUndoCommand {
public:
    void redo() final;
    void undo() final;

    virtual void Apply(TAssistRoot& root) = 0;
    virtual void Revert(TAssistRoot& root) = 0;
    // The views to rebuild after applying or reverting.
    virtual ViewRebuild Rebuild() const = 0;
    // What the change is called in the Undo and Redo captions ("Delete screen S3"); read right after
    // the first Apply, while the names it uses are those the user saw.
    virtual std::string Caption() const { return "Change"; }
    // Whether the change adds, removes or moves a screen or an option.
    virtual bool Structural() const { return false; }
    // Whether the change is a new ID of its subject and nothing else.
    virtual bool Renames() const { return false; }
    // A new screen or option, or one taken out, that is the whole change when it applies (taking the
    // change back swaps them): the views take or drop its nodes in place rather than being rebuilt.
    virtual TAssistBase* Added() const { return nullptr; }
    virtual TAssistBase* Removed() const { return nullptr; }
    // A screen or option moved within its list, the whole change either way.
    virtual TAssistBase* Moved() const { return nullptr; }
    // The item to select after applying (`applied`) or reverting the change, as the change itself
    // selected it; nullptr selects the assistant.
    virtual TAssistBase* Subject(bool /*applied*/) const { return nullptr; }

private:
    friend class TDocumentEdits;
    void Announce(bool applied);
    TDocumentEdits* m_edits = nullptr;
    bool m_done = false; // applied once already: later applications are redos
};

class QUndoStack;

class TDocumentEdits : public QObject {
    Q_OBJECT
public:
    explicit TDocumentEdits(TAssistRoot& root, QObject* parent = nullptr) : QObject(parent), m_root(&root) {}

    // The assistant that edits go to; the window points it at each new assistant.
    void SetRoot(TAssistRoot& root) { m_root = &root; }
    TAssistRoot& Root() const { return *m_root; }
    // Where applied edits go (not owned). Without a stack an edit is applied, announced and dropped
    // (and what it removed from the assistant is destroyed with it).
    void SetUndoStack(QUndoStack* stack) { m_stack = stack; }
    QUndoStack* UndoStack() const { return m_stack; }

    // Stores a text field when the value differs exactly (with case) from the model's, or always when
    // `storeAlways`. Returns whether anything was stored. A field the item does not have stores nothing.
    bool SetField(TAssistBase& item, TextField field, const std::string& value, bool storeAlways = false);
    // Stores the description lines when they differ from the model's list.
    bool SetDescription(TAssistBase& item, const std::vector<std::string>& lines);
    // Stores the action kind when it differs; the structure view is then out of date.
    bool SetAction(TAssistOption& option, TActionKind action);

    // Appends a new screen (generated ID and caption); with `id` given, the screen gets that ID.
    TAssistScreen* CreateScreen(const std::string* id = nullptr);
    // Removes the screen with its options and notes.
    void DeleteScreen(TAssistScreen& screen);
    // Appends a new option with a generated ID to the screen.
    TAssistOption* CreateOption(TAssistScreen& screen);
    // Removes the option with its notes.
    void DeleteOption(TAssistOption& option);
    // Moves a screen, or an option within its screen, from its position to `to`. False, changing
    // nothing, when `to` is outside the list or is where the item already is.
    bool MoveScreen(TAssistScreen& screen, int to);
    bool MoveOption(TAssistOption& option, int to);
    // Replaces the notes of an option by copies of `notes`.
    void ChangeNotes(TAssistOption& option, const std::vector<TNote>& notes);

    // Takes an edit through the funnel: pushes it onto the undo stack (which applies it) or applies it.
    void Run(std::unique_ptr<DocumentEdit> edit);
    // Announces a change made by a command of its own (edits over many places, outside this class).
    void Announce(const DocumentChange& change) { Q_EMIT DocumentChanged(change); }

Q_SIGNALS:
    // After every change of the assistant, applied or taken back: what it made out of date.
    void DocumentChanged(const DocumentChange& change);

private:
    TAssistRoot* m_root;
    QUndoStack* m_stack = nullptr;
};
