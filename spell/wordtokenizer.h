#pragma once
// Splits UTF-8 prose into the words a spelling dictionary should see.
#include <cstddef>
#include <string_view>
#include <vector>

struct WordSpan {
    std::size_t Offset; // byte offset in the text
    std::size_t Length; // byte length
};

// The words of `text`: runs of letters (ASCII letters and any non-ASCII letter), with an apostrophe
// (' or U+2019) kept when it stands between two letters ("don't"). Hyphens, dashes, quotes and other
// punctuation separate words. Skipped entirely: runs holding a digit ("2026", "3rd", "mp3"), and any
// blank-separated chunk that is a web address ("https://...", "www....") or an e-mail address
// (holds '@' with text on both sides).
std::vector<WordSpan> SplitWords(std::string_view text);
