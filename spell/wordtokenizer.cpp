#include "spell/wordtokenizer.h"

#include <cstdint>

namespace {
// Decodes the code point at `pos` and its byte length; an invalid byte counts as one byte U+FFFD.
char32_t Decode(std::string_view text, std::size_t pos, std::size_t& length) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    length = 1;
    if (lead < 0x80)
        return lead;
    std::size_t extra = 0;
    char32_t cp = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        cp = lead & 0x07;
    } else {
        return 0xFFFD;
    }
    if (pos + extra >= text.size())
        return 0xFFFD;
    for (std::size_t i = 1; i <= extra; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80)
            return 0xFFFD;
        cp = (cp << 6) | (byte(pos + i) & 0x3F);
    }
    length = extra + 1;
    return cp;
}

bool IsBlank(char32_t cp) {
    return cp == ' ' || cp == '\t' || cp == '\r' || cp == '\n' || cp == '\f' || cp == '\v' || cp == 0xA0 ||
           (cp >= 0x2000 && cp <= 0x200B) || cp == 0x202F || cp == 0x205F || cp == 0x3000;
}

bool IsApostrophe(char32_t cp) {
    return cp == '\'' || cp == 0x2019;
}

bool IsDigit(char32_t cp) {
    return cp >= '0' && cp <= '9';
}

// Letters: ASCII letters and non-ASCII code points outside the punctuation and symbol blocks that
// commonly appear in prose (Latin-1 signs, general punctuation, currency, arrows, maths, CJK marks).
bool IsLetter(char32_t cp) {
    if (cp < 0x80)
        return (cp >= 'a' && cp <= 'z') || (cp >= 'A' && cp <= 'Z');
    if (cp <= 0xBF || cp == 0xD7 || cp == 0xF7 || cp == 0xFFFD)
        return false;
    if (cp >= 0x2000 && cp <= 0x2BFF) // punctuation, currency, letterlike, arrows, maths, shapes
        return false;
    if (cp >= 0x3000 && cp <= 0x303F) // CJK punctuation
        return false;
    if (cp >= 0xFE30 && cp <= 0xFE4F)
        return false;
    if (cp >= 0x1F000) // emoji and pictographs
        return false;
    return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i])
            return false;
    }
    return true;
}

// A chunk (text between blanks) that is a web or e-mail address is not prose.
bool IsAddress(std::string_view chunk) {
    // Leading quotes and brackets do not hide an address: "(https://x)" or "<a@b.c>".
    std::size_t start = 0;
    while (start < chunk.size() && (chunk[start] == '(' || chunk[start] == '<' || chunk[start] == '[' ||
                                    chunk[start] == '"' || chunk[start] == '\''))
        ++start;
    chunk.remove_prefix(start);
    if (chunk.find("://") != std::string_view::npos || StartsWithNoCase(chunk, "www.") ||
        StartsWithNoCase(chunk, "mailto:"))
        return true;
    const std::size_t at = chunk.find('@');
    return at != std::string_view::npos && at > 0 && at + 1 < chunk.size();
}
} // namespace

std::vector<WordSpan> SplitWords(std::string_view text) {
    std::vector<WordSpan> words;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t length = 0;
        // Skip blanks, then take one chunk up to the next blank.
        if (IsBlank(Decode(text, pos, length))) {
            pos += length;
            continue;
        }
        const std::size_t chunkStart = pos;
        while (pos < text.size() && !IsBlank(Decode(text, pos, length)))
            pos += length;
        const std::string_view chunk = text.substr(chunkStart, pos - chunkStart);
        if (IsAddress(chunk))
            continue;

        // Inside the chunk: runs of letters, digits and apostrophes.
        std::size_t i = 0;
        while (i < chunk.size()) {
            char32_t cp = Decode(chunk, i, length);
            if (!IsLetter(cp) && !IsDigit(cp)) {
                i += length;
                continue;
            }
            const std::size_t runStart = i;
            std::size_t wordEnd = i; // end of the last letter or digit
            bool hasDigit = false;
            while (i < chunk.size()) {
                cp = Decode(chunk, i, length);
                if (IsLetter(cp) || IsDigit(cp)) {
                    hasDigit = hasDigit || IsDigit(cp);
                    i += length;
                    wordEnd = i;
                } else if (IsApostrophe(cp) && i + length < chunk.size()) {
                    // An apostrophe belongs to the word only with a letter right after it.
                    std::size_t nextLength = 0;
                    const char32_t next = Decode(chunk, i + length, nextLength);
                    if (!IsLetter(next) && !IsDigit(next))
                        break;
                    i += length;
                } else {
                    break;
                }
            }
            if (!hasDigit)
                words.push_back({chunkStart + runStart, wordEnd - runStart});
        }
    }
    return words;
}
