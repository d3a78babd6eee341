#pragma once
// Texts of amftool's line-oriented output (check, structure), one item a line.
#include <string>
#include <string_view>

// The text with its control characters written visibly, so that it fills exactly one output line and
// a reader can tell every character apart: a backslash becomes \\, CR \r, LF \n, TAB \t, and the other
// bytes 0x00-0x1F and DEL (0x7F) \xHH with two lower-case hex digits, and the C1 control characters
// U+0080-U+009F \u00hh. Every other character, and any byte that is not part of valid UTF-8, is passed
// through unchanged.
std::string OneLineText(std::string_view text);
