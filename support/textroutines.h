#pragma once
// Small text routines shared by the model, the file format, the report, the recent-files list and the
// settings: comma lists with quoting, cutting a text at a character, key-path trimming, ASCII-only
// case-insensitive comparison and locale-independent number conversion. None of them knows about
// assistants. Texts are UTF-8; "blank and control characters" are the bytes 0..32.
#include <cstdint>
#include <string>
#include <string_view>

// Quotes a list item when it would not survive NextListItem as it is: texts with tab, comma, brackets,
// braces, a character of `extra`, or a leading/trailing space are wrapped in double quotes; a text with
// only apostrophes is wrapped in double quotes; one with only double quotes in apostrophes. A text with
// both characters: see the implementation note (a conservative extension keeps both intact).
std::string QuoteIfNeeded(const std::string& text, std::string_view extra = {});

// Takes the next item off a comma list, removing it and its separating comma from `text`.
std::string NextListItem(std::string& text);

// Head of `text` before the first `c`; `text` becomes what follows it. When `c` is '\0' or does not
// occur, the head is the whole text and `text` becomes empty.
std::string SplitAt(std::string& text, char c);

// Text before the first `c`; the whole text when `c` is '\0' or does not occur.
std::string TextBefore(const std::string& text, char c);

// Every `oldChar` replaced by `newChar`.
std::string ReplaceChar(std::string text, char oldChar, char newChar);

// Adds one backslash when the path does not end with one ("" gives "\").
std::string WithTrailingBackslash(const std::string& path);
// Removes one final backslash when present.
std::string WithoutTrailingBackslash(const std::string& path);
// The part before the last backslash found at 1-based position 2 or later; "\" for a name that starts
// with one and has no later backslash; empty when there is none. A backslash right after a drive colon
// stays ("C:\x" gives "C:\").
std::string KeyPathOf(const std::string& name);

// True when `text` begins with `prefix`, ASCII letters compared without regard to case.
bool StartsWithText(std::string_view text, std::string_view prefix);
// The ASCII lower case of a byte (other bytes unchanged).
inline char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
// Whole texts equal, ASCII letters compared without regard to case (other bytes exactly). Defined here:
// the file reader compares every attribute name it looks up with it.
inline bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}
// ASCII lower case of a text (other bytes unchanged).
std::string AsciiLower(std::string_view text);

// Removes leading and trailing blanks and control characters (bytes 0..32).
std::string Trim(std::string_view text);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);

// year * 10000 + month * 100 + day.
int DateToNumber(int year, unsigned month, unsigned day);

// Locale-independent conversions. The parse functions accept an optional sign followed by decimal
// digits and nothing else; anything else (empty, blanks, out of range) gives `fallback`.
std::int32_t StrToIntDef(std::string_view text, std::int32_t fallback);
std::int64_t StrToInt64Def(std::string_view text, std::int64_t fallback);
std::string IntToStr(std::int64_t value);
std::string UIntToStr(std::uint64_t value);

// Fixes the process's number formatting (C and C++ global locales) to the classic one: full stop as
// decimal separator, no grouping, whatever the user's regional settings say. Called once at start.
void FixNumberFormat();
