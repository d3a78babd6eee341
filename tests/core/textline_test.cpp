// One-line texts of amftool's check and structure output.
#include "cli/textline.h"

#include <gtest/gtest.h>

namespace {
TEST(OneLineText, WritesControlCharactersAndBackslashesVisibly) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", ""},
        {"plain text \"quoted\" 'x'", "plain text \"quoted\" 'x'"},
        {"a\nb\rc\td", "a\\nb\\rc\\td"},
        {"\r\n", "\\r\\n"},
        {"C:\\tools\\x.exe", "C:\\\\tools\\\\x.exe"},
        // A backslash before a letter stays apart from an escaped line feed.
        {"\\n", "\\\\n"},
        {std::string("nul\0x", 5), "nul\\x00x"},
        {"\x01\x08\x0b\x0c\x1b\x1f", "\\x01\\x08\\x0b\\x0c\\x1b\\x1f"},
        {"del\x7f", "del\\x7f"},
        {" ~", " ~"},
        // C1 control characters (UTF-8 C2 80 to C2 9F) are written as \u00hh; U+00A0 is not one.
        {"csi\xC2\x9B"
         "31m \xC2\x80\xC2\x9F\xC2\xA0",
         "csi\\u009b31m \\u0080\\u009f\xC2\xA0"},
        // A stray C2 or continuation byte 9B is no C1 character.
        {"\xC2"
         "A \x9B",
         "\xC2"
         "A \x9B"},
        // UTF-8 and stray bytes above 0x7F are passed through.
        {"caf\xC3\xA9 \xE2\x80\xA8 \xF0\x9F\x98\x80 \xFF", "caf\xC3\xA9 \xE2\x80\xA8 \xF0\x9F\x98\x80 \xFF"},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(expected);
        EXPECT_EQ(OneLineText(text), expected);
    }
}
} // namespace
