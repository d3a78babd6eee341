#pragma once
// Writing text into HTML: escaping of markup characters, clean-up of text that HTML cannot carry
// (broken UTF-8, control characters), and the anchor form of an assistant item's ID.
#include <string>
#include <string_view>

// Appends the text as HTML character data that is also safe inside a quoted attribute value:
// & < > " ' become references; invalid UTF-8 and control characters other than tab, line feed and
// carriage return become U+FFFD.
void AppendHtmlEscaped(std::string& out, std::string_view text);
std::string HtmlEscaped(std::string_view text);

// The anchor form of an ID, used for both the target (id and name) and the link fragment, so that the
// two always match: letters A to Z are folded to lower case (IDs are compared without regard to case),
// a-z 0-9 '-' and '.' are kept, and every other byte becomes '_' and two upper-case hex digits. The
// result holds no markup, quote, blank or percent sign, and is never empty (an empty ID gives "_").
std::string HtmlAnchorId(std::string_view id);
