#pragma once
// The words of a box's text as the spell checker sees them, in the box's own (UTF-16) positions.
#include <QString>
#include <optional>
#include <string>
#include <vector>

class SpellService;

struct SpellRange {
    int Start = 0;  // UTF-16 position in the text
    int Length = 0; // UTF-16 length
    friend bool operator==(const SpellRange&, const SpellRange&) = default;
};

// Every word of the text (see SplitWords: numbers, web and e-mail addresses are no words).
std::vector<SpellRange> TextWords(const QString& text);
// The words the service does not accept; none while checking is not active.
std::vector<SpellRange> MisspeltRanges(const QString& text, const SpellService& service);
// The misspelt word at `position` (a cursor position: before, inside or right after the word).
std::optional<SpellRange> MisspeltWordAt(const QString& text, int position, const SpellService& service);
// The word's text in UTF-8.
std::string WordText(const QString& text, const SpellRange& range);
