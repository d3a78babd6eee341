#pragma once
// Checks the spelling of the texts an assistant shows its users: the captions of the assistant, its
// screens and options, the screens' texts, the options' descriptions and the notes' texts. IDs,
// commands and scripts are never looked at.
#include <string>
#include <vector>

class TAssistRoot;
class SpellChecker;

struct SpellFinding {
    std::string ItemID;                   // the assistant's, screen's or option's ID (an option's for a note)
    std::string Field;                    // "caption", "text", "description" or "note"
    std::string Word;                     // the misspelt word, UTF-8
    std::vector<std::string> Suggestions; // at most five, best first
};

// The misspelt words in document order: the assistant, then each screen followed by its options.
std::vector<SpellFinding> CheckAssistantSpelling(const TAssistRoot& root, const SpellChecker& checker);
