// JSON string literals of amftool's --json output.
#include "cli/jsontext.h"

#include <gtest/gtest.h>

namespace {
TEST(JsonString, EscapesWhatJsonRequiresAndPassesUtf8Through) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "\"\""},
        {"plain text", "\"plain text\""},
        {"say \"hi\" \\ bye", "\"say \\\"hi\\\" \\\\ bye\""},
        {"a\nb\rc\td\be\ff", "\"a\\nb\\rc\\td\\be\\ff\""},
        {std::string("nul\0x", 5), "\"nul\\u0000x\""},
        {"\x01\x1f\x7f", "\"\\u0001\\u001f\x7f\""}, // DEL needs no escape
        {"/", "\"/\""},
        {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", "\"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80\""},
        // Bytes that are not UTF-8 would make the document invalid: each becomes U+FFFD.
        {"bad\xFF", "\"bad\\ufffd\""},
        {"cut\xC3", "\"cut\\ufffd\""},
        {"\xC0\xAF", "\"\\ufffd\\ufffd\""},                       // overlong form of '/'
        {"\xED\xA0\x80", "\"\\ufffd\\ufffd\\ufffd\""},            // an encoded surrogate
        {"\xF4\x90\x80\x80", "\"\\ufffd\\ufffd\\ufffd\\ufffd\""}, // above U+10FFFF
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(expected);
        EXPECT_EQ(JsonString(text), expected);
    }
}
} // namespace
