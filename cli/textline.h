#pragma once
// Texts of amftool's line-oriented output (check, structure), one item a line.
#include <string>
#include <string_view>

// The text with its control characters written visibly, so that it fills exactly one output line and
// a reader can tell every character apart: a backslash becomes \\, CR \r, LF \n, TAB \t, and the other
// bytes 0x00-0x1F and DEL (0x7F) \xHH with two lower-case hex digits. Every other byte, UTF-8 included,
// is passed through unchanged.
std::string OneLineText(std::string_view text);
