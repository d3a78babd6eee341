#pragma once
// Searching and replacing over the texts of an assistant: the caller chooses the fields and supplies
// the matcher; results and replacements are plain data, so the editor can show them and undo them.
#include "model/assistroot.h"
#include "model/textmatcher.h"

#include <string>
#include <vector>

// Fields that can be searched; combine with |.
enum TSearchField : unsigned {
    sfID = 1,
    sfCaption = 2,
    sfText = 4,              // the text (description) of the assistant and of screens
    sfOptionDescription = 8, // the description of options
    sfCommand = 16,
    sfScript = 32,
    sfNotes = 64, // note texts
    sfAll = 127,
};

// One match. Multi-line fields are searched as one text with lines joined by "\n" (descriptions) or
// kept as stored (scripts, note texts); Offset counts bytes in that text.
struct TSearchHit {
    TAssistBase* Item = nullptr;
    TSearchField Field = sfID;
    int NoteIndex = -1; // the note, for sfNotes
    std::size_t Offset = 0;
    std::size_t Length = 0;
    std::string Line;           // the line of the text holding the match
    std::size_t LineOffset = 0; // the match's offset within Line
};

// A field's text before and after a replacement.
struct TFieldChange {
    TAssistBase* Item = nullptr;
    TSearchField Field = sfID;
    int NoteIndex = -1;
    std::string OldText;
    std::string NewText;
};

// The text of one field as searched (descriptions joined by "\n"); empty for a field the item lacks.
std::string FieldText(const TAssistBase& item, TSearchField field, int noteIndex = -1);
// Stores a text in one field (descriptions split at "\n" into lines).
void SetFieldText(TAssistBase& item, TSearchField field, int noteIndex, const std::string& text);

// Every match in the chosen fields, in tree order: the assistant, then each screen followed by its
// options; within an item in the order ID, caption, text, command, script, notes.
std::vector<TSearchHit> FindInAssistant(TAssistRoot& root, unsigned fields, const ITextMatcher& matcher);

// The change that replaces the one match `hit` by `replaceWith`. Nothing is stored.
TFieldChange ReplaceOne(const TSearchHit& hit, const ITextMatcher& matcher, const std::string& replaceWith);
// One change per field that holds at least one match, replacing every match. Nothing is stored.
std::vector<TFieldChange> ReplaceAll(TAssistRoot& root, unsigned fields, const ITextMatcher& matcher,
                                     const std::string& replaceWith);
// Stores the new texts of the changes (or the old ones, `undo`, in reverse order) and marks the
// assistant changed when there was at least one.
void ApplyChanges(const std::vector<TFieldChange>& changes, bool undo);
