#pragma once
// Edits that change several places of an assistant at once: renaming a screen together with the
// references to it, and duplicating a screen or an option. Each is prepared as data and applied
// forward or backward, so the editor can undo it in one step.
#include "model/assistroot.h"
#include "model/assistscreen.h"

#include <memory>
#include <string>
#include <vector>

// Renaming a screen: its ID, the go-to commands (go-to and go-to button options) that name it, and
// the assistant's first screen when it names it. A reference names the screen when the IDs are equal
// with letters A to Z compared without regard to case and the screen is the first one with that ID
// (a later screen with the same ID is never reached, so its references are not its own).
struct TScreenRename {
    TAssistScreen* Screen = nullptr;
    std::string OldID;
    std::string NewID;
    std::vector<TAssistOption*> Commands; // options whose command is changed
    std::vector<std::string> OldCommands; // their commands before the rename
    bool FirstScreen = false;             // the assistant's first screen is changed
    std::string OldFirstScreen;

    // How many references the rename changes (commands and the first screen).
    int References() const { return static_cast<int>(Commands.size()) + (FirstScreen ? 1 : 0); }
};

// Finds what renaming `screen` to `newID` changes; nothing is stored.
TScreenRename PlanScreenRename(TAssistRoot& root, TAssistScreen& screen, const std::string& newID);
// Stores the new texts (or the old ones, `undo`) and marks the assistant changed.
void ApplyScreenRename(TAssistRoot& root, const TScreenRename& rename, bool undo);

// Inserts a copy of the screen at `index` (caption, text, image, options with their notes) right
// after it, with a fresh screen ID and option IDs made from it; marks the assistant changed and
// returns the copy. nullptr when the position is outside the list.
TAssistScreen* DuplicateScreen(TAssistRoot& root, int index);
// Inserts a copy of the option at `index` of `screen` (with its notes) right after it, with a fresh
// option ID; marks the assistant changed and returns the copy. nullptr outside the list.
TAssistOption* DuplicateOption(TAssistScreen& screen, int index);
