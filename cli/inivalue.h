#pragma once
// A tiny reader for single text values of the INI files that the editor's settings store (QSettings in
// INI format) writes, so that amftool can find the editor's user ID without linking Qt.
//
// What it understands: "[Section]" lines, "key=value" lines, comment lines starting with ';' or '#',
// and QSettings' value encoding: a value may be written in double quotes (always when it contains ';',
// ',' or '=', or starts or ends with a blank), backslash escapes (\" \\ \n \r \t \a \b \f \v, \xHHHH
// for a UTF-16 code unit, \0 octal), unquoted blanks at either end dropped, and a leading "@@"
// standing for a text that starts with "@". Values that QSettings would read as something other than
// a text (a list, made by an unquoted comma, or an "@Type(...)" value) are not texts here either.
#include <optional>
#include <string>
#include <string_view>

// The text of `key` in `section` of the file contents. Keys are matched without regard to ASCII letter
// case, section names exactly; the section "General" also holds the keys written before any section
// line (QSettings' top-level values). Empty optional when the key is missing or its value is no text.
// The last of several lines with the same key wins.
std::optional<std::string> ReadIniText(std::string_view fileText, std::string_view section,
                                       std::string_view key);

// Decodes one raw value (everything after the '=' of its line) as QSettings reads a text value.
std::optional<std::string> DecodeIniText(std::string_view raw);
