#pragma once
// The one place through which the editor changes the assistant. Every kind of change is a small command
// object that can apply itself and take itself back (Apply / Revert), so an undo history can be built on
// top of this class without touching the window's handlers. Each operation:
//   - compares first where the change is a stored value (a value equal to the model's stores nothing),
//   - applies the change and records it as an edit of the assistant (MarkChanged: Changed flag and
//     build date),
//   - tells the caller which views have to be rebuilt.
// Items removed from the assistant (deleted screens and options) are kept alive by their command, not
// destroyed at once, so that taking the deletion back restores the very same objects.
#include "model/actionkind.h"

#include <functional>
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

// The text of a field of an item; empty for a field the item does not have.
std::string FieldText(const TAssistBase& item, TextField field);
// What changing the field makes out of date: an ID renames nodes and links (both views), the first
// screen and the action kind change the navigation (structure), the rest changes no view.
ViewRebuild RebuildFor(TextField field);

// One change of the assistant.
class DocumentEdit {
public:
    virtual ~DocumentEdit() = default;
    virtual void Apply(TAssistRoot& root) = 0;
    virtual void Revert(TAssistRoot& root) = 0;
    // The views to rebuild after applying or reverting.
    virtual ViewRebuild Rebuild() const = 0;
    // What the change is called in the Undo and Redo captions ("Delete screen S3"); read right after
    // the first Apply, while the names it uses are those the user saw.
    virtual std::string Caption() const { return "Change"; }
    // Whether the change adds, removes or moves a screen or an option (the changes worth keeping for
    // recovery at once rather than at the next minute).
    virtual bool Structural() const { return false; }
    // The item to select after applying (`applied`) or reverting the change, as the change itself
    // selected it; nullptr selects the assistant.
    virtual TAssistBase* Subject(bool /*applied*/) const { return nullptr; }
};

class TDocumentEdits {
public:
    // Receives every applied edit; an undo history keeps them. Without a recorder an applied edit is
    // dropped at once (and what it removed from the assistant is destroyed with it).
    using Recorder = std::function<void(std::unique_ptr<DocumentEdit>)>;

    explicit TDocumentEdits(TAssistRoot& root) : m_root(&root) {}

    // The assistant that edits go to; the window points it at each new assistant.
    void SetRoot(TAssistRoot& root) { m_root = &root; }
    TAssistRoot& Root() const { return *m_root; }
    void SetRecorder(Recorder recorder) { m_recorder = std::move(recorder); }

    // Stores a text field when the value differs exactly (with case) from the model's, or always when
    // `storeAlways`. Returns whether anything was stored; views to rebuild in `rebuild` (None when
    // nothing was stored). A field the item does not have stores nothing.
    bool SetField(TAssistBase& item, TextField field, const std::string& value,
                  ViewRebuild* rebuild = nullptr, bool storeAlways = false);
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

    // Takes an edit through the funnel: applies it, records it, returns the views to rebuild.
    ViewRebuild Run(std::unique_ptr<DocumentEdit> edit);

private:
    // Hands an applied edit to the recorder; returns the views it makes out of date.
    ViewRebuild Record(std::unique_ptr<DocumentEdit> applied);

    TAssistRoot* m_root;
    Recorder m_recorder;
};
