#pragma once
// The note editor's rules that need no widgets: which buttons are enabled, the text of a list line, the
// offered note types.
#include <array>
#include <string>
#include <string_view>

class TNote;

struct NoteButtonStates {
    bool add = false;
    bool replace = false;
    bool del = false;
};

// Delete: a line is selected. Add: name, type and ID are all non-empty once blanks and control characters
// are removed at both ends (the text may be empty). Replace: both Add and Delete.
NoteButtonStates NoteButtonsFor(std::string_view name, std::string_view type, std::string_view id,
                                bool lineSelected);

// One line of the note list: Name, TAB, ID, TAB, Type, TAB, Text (the whole text, line breaks included).
std::string NoteListLine(const TNote& note);

// The types offered by the Type box, in order; the first is the default.
const std::array<std::string_view, 10>& NoteTypes();
