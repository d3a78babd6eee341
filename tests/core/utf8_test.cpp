#include "support/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Utf8, ReadsOneSequenceStrictly) {
    struct Case {
        const char* name;
        std::string bytes;
        std::size_t length; // 0: ill-formed
        char32_t codePoint; // when well-formed
        std::size_t bad;    // when ill-formed: the bytes one replacement stands for
    };
    const Case cases[] = {
        {"ASCII", "A", 1, U'A', 0},
        {"two bytes", "\xC3\xA9", 2, U'\u00E9', 0},
        {"three bytes", "\xE2\x82\xAC", 3, U'\u20AC', 0},
        {"four bytes", "\xF0\x9F\x98\x80", 4, U'\U0001F600', 0},
        {"highest code point", "\xF4\x8F\xBF\xBF", 4, U'\U0010FFFF', 0},
        {"only the first sequence counts", "\xC3\xA9xyz", 2, U'\u00E9', 0},
        {"lone continuation byte", "\x80", 0, 0, 1},
        {"overlong two-byte lead", "\xC0\xAF", 0, 0, 1},
        {"overlong three-byte form", "\xE0\x80\xAF", 0, 0, 1},
        {"overlong four-byte form", "\xF0\x80\x80\xAF", 0, 0, 1},
        {"surrogate", "\xED\xA0\x80", 0, 0, 1},
        {"above U+10FFFF", "\xF4\x90\x80\x80", 0, 0, 1},
        {"lead byte above F4", "\xF5\x80\x80\x80", 0, 0, 1},
        {"cut short after a valid start", "\xE2\x82", 0, 0, 2},
        {"bad third byte", "\xF0\x9F\x41\x80", 0, 0, 2},
        {"bad fourth byte", "\xF0\x9F\x98\x41", 0, 0, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto* p = reinterpret_cast<const unsigned char*>(c.bytes.data());
        char32_t cp = 0;
        std::size_t bad = 0;
        EXPECT_EQ(Utf8Sequence(p, p + c.bytes.size(), cp, bad), c.length);
        if (c.length > 0)
            EXPECT_EQ(cp, c.codePoint);
        else
            EXPECT_EQ(bad, c.bad);
        EXPECT_EQ(Utf8SequenceLength(c.bytes, 0), c.length);
        // The same bytes later in a text are read the same way.
        EXPECT_EQ(Utf8SequenceLength("ab" + c.bytes, 2), c.length);
    }
}

} // namespace
