#pragma once
// Finding a pattern in one text. The assistant search walks the fields and asks a matcher for the
// matches in each text; the editor supplies a regular-expression matcher, the core a plain one.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct TTextMatch {
    std::size_t Offset = 0; // byte offset in the text
    std::size_t Length = 0; // bytes
    friend bool operator==(const TTextMatch&, const TTextMatch&) = default;
};

class ITextMatcher {
public:
    virtual ~ITextMatcher() = default;
    // Every match in `text`, left to right, not overlapping.
    virtual std::vector<TTextMatch> FindAll(std::string_view text) const = 0;
    // True when a match may run over a line break; false lets the caller search the lines of a
    // multi-line field one by one without joining them.
    virtual bool SpansLines() const { return true; }
    // The replacement for one match (a regular-expression matcher may expand references to groups).
    virtual std::string Replacement(std::string_view text, const TTextMatch& match,
                                    std::string_view replaceWith) const {
        (void)text;
        (void)match;
        return std::string(replaceWith);
    }
};

// Plain text matching: letters A to Z with or without regard to case, optionally whole words only
// (a match may not touch a letter, digit or underscore on either side). An empty pattern finds
// nothing.
class TPlainMatcher : public ITextMatcher {
public:
    TPlainMatcher(std::string pattern, bool matchCase, bool wholeWords);
    std::vector<TTextMatch> FindAll(std::string_view text) const override;
    // True when `text` holds the pattern at least once (no list is built).
    bool Contains(std::string_view text) const;
    bool SpansLines() const override { return m_pattern.find('\n') != std::string::npos; }

private:
    bool MatchesAt(std::string_view text, std::size_t at) const;
    std::size_t Next(std::string_view text, std::size_t from) const;
    std::string m_pattern; // lower case already when case is ignored
    bool m_matchCase;
    bool m_wholeWords;
};

// True for the bytes that make up a word: ASCII letters and digits, underscore, and every byte of a
// UTF-8 multibyte character (so a word ends only at ASCII punctuation, blanks and control bytes).
bool IsWordByte(char c);
