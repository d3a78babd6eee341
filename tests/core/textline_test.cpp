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
        // UTF-8 and stray bytes above 0x7F are passed through.
        {"caf\xC3\xA9 \xE2\x80\xA8 \xF0\x9F\x98\x80 \xFF", "caf\xC3\xA9 \xE2\x80\xA8 \xF0\x9F\x98\x80 \xFF"},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(expected);
        EXPECT_EQ(OneLineText(text), expected);
    }
}
} // namespace
