// The find panel's matcher: plain and regular-expression matching, offsets in UTF-8 bytes.
#include "editor/regexmatcher.h"

#include <gtest/gtest.h>

namespace {

struct RegexCase {
    const char* name;
    std::string text;
    const char* pattern;
    bool matchCase, wholeWords, regex;
    std::vector<TTextMatch> expected;
};

class RegexMatcherTest : public ::testing::TestWithParam<RegexCase> {};

TEST_P(RegexMatcherTest, FindsTheExpectedMatches) {
    const RegexCase& c = GetParam();
    TRegexMatcher matcher(QString::fromUtf8(c.pattern), c.matchCase, c.wholeWords, c.regex);
    ASSERT_TRUE(matcher.IsValid()) << matcher.Error().toStdString();
    EXPECT_EQ(matcher.FindAll(c.text), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegexMatcherTest,
    ::testing::Values(
        RegexCase{"PlainIgnoresCase", "Router router", "ROUTER", false, false, false, {{0, 6}, {7, 6}}},
        RegexCase{"PlainMatchCase", "Router router", "router", true, false, false, {{7, 6}}},
        RegexCase{"PlainIsNotARegex", "a.b axb", "a.b", false, false, false, {{0, 3}}},
        RegexCase{"WholeWords", "routers router", "router", false, true, false, {{8, 6}}},
        RegexCase{"Regex", "S1 S22 X3", "S\\d+", true, false, true, {{0, 2}, {3, 3}}},
        RegexCase{"RegexWholeWords", "S1 XS2", "S\\d", true, true, true, {{0, 2}}},
        RegexCase{"Utf8Offsets", "\xc3\xa9t\xc3\xa9 router", "router", false, false, false, {{6, 6}}},
        RegexCase{"AcrossLines", "one\ntwo", "e\\nt", true, false, true, {{2, 3}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RegexMatcher, InvalidRegexGivesAClearMessageAndNoMatches) {
    TRegexMatcher matcher(QStringLiteral("a(b"), false, false, true);
    EXPECT_FALSE(matcher.IsValid());
    EXPECT_TRUE(matcher.Error().startsWith(QStringLiteral("Invalid regular expression at position ")))
        << matcher.Error().toStdString();
    EXPECT_TRUE(matcher.FindAll("a(b").empty());
    // The same text as plain text is valid.
    EXPECT_TRUE(TRegexMatcher(QStringLiteral("a(b"), false, false, false).IsValid());
    // The position counts in the typed text, also when whole words wrap it into a larger expression.
    for (bool wholeWords : {false, true})
        EXPECT_EQ(TRegexMatcher(QStringLiteral("a(b"), false, wholeWords, true).Error().toStdString(),
                  "Invalid regular expression at position 3: missing closing parenthesis")
            << wholeWords;
}

TEST(RegexMatcher, ReplacementExpandsGroupsOnlyForRegex) {
    const std::string text = "id S12 end";
    TRegexMatcher regex(QStringLiteral("S(\\d+)"), true, false, true);
    const auto matches = regex.FindAll(text);
    ASSERT_EQ(matches.size(), 1u);
    EXPECT_EQ(regex.Replacement(text, matches[0], "Screen\\1"), "Screen12");
    TRegexMatcher plain(QStringLiteral("S12"), true, false, false);
    EXPECT_EQ(plain.Replacement(text, plain.FindAll(text).at(0), "x\\1"), "x\\1");
}

} // namespace
