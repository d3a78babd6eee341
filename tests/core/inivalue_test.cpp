// Reading the editor's user ID from its INI settings file without Qt: values as QSettings writes them.
#include "cli/inivalue.h"
#include "cli/userid.h"

#include <gtest/gtest.h>

#include <optional>

namespace {
TEST(IniValue, DecodesTextsAsQSettingsWritesThem) {
    struct Case {
        std::string Raw;
        std::optional<std::string> Expected;
    };
    const std::vector<Case> cases = {
        {"{A} Ann Lee", "{A} Ann Lee"},
        {"  padded  ", "padded"},                  // unquoted blanks at the ends are not part of the text
        {"\"  kept  \"", "  kept  "},              // quoted ones are
        {"\"{A} Lee, Ann\"", "{A} Lee, Ann"},      // a comma forces quotes
        {"\"a;b=c\"", "a;b=c"},                    // so do ';' and '='
        {"a\\\"b\\\\c", "a\"b\\c"},                // escaped quote and backslash
        {"tab\\there\\nnext", "tab\there\nnext"},  // control characters
        {"caf\\xe9", "caf\xC3\xA9"},               // \x gives a UTF-16 unit, stored as UTF-8
        {"\\xd83d\\xde00", "\xF0\x9F\x98\x80"},    // a surrogate pair is one character
        {"\\xd83d!", "\xEF\xBF\xBD!"},             // a lone surrogate cannot be kept
        {"nul\\0end", std::string("nul\0end", 7)}, // octal escape
        {"\\1012", "A2"},                          // at most three octal digits
        {"\\x00411", "A1"},                        // at most four hexadecimal digits
        {"\\a\\b\\f\\r\\v", "\a\b\f\r\v"},         // the other control characters
        {"\\q", "q"},                              // any other escaped character stands for itself
        {"caf\xC3\xA9", "caf\xC3\xA9"},            // UTF-8 passes through
        {"value ; comment", "value"},              // an unquoted ';' starts a comment
        {"@@at", "@at"},                           // a text starting with '@'
        {"@Invalid()", ""},
        {"", ""},
        {"a, b", std::nullopt},            // an unquoted comma makes a list, not a text
        {"@ByteArray(abc)", std::nullopt}, // a typed value
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Raw);
        EXPECT_EQ(DecodeIniText(c.Raw), c.Expected);
    }
}

TEST(IniValue, FindsTheKeyInItsSectionIgnoringKeyCase) {
    const std::string file = "; written by hand\n"
                             "TopLevel=1\n"
                             "[Window]\n"
                             "UserID=wrong group\n"
                             "[General]\r\n"
                             "Files=a.amf\r\n"
                             "userid = \"{A} Ann, Lee\"\r\n";
    EXPECT_EQ(ReadIniText(file, "General", "UserID"), std::optional<std::string>("{A} Ann, Lee"));
    EXPECT_EQ(ReadIniText(file, "General", "TopLevel"), std::optional<std::string>("1"));
    EXPECT_EQ(ReadIniText(file, "Window", "USERID"), std::optional<std::string>("wrong group"));
    EXPECT_EQ(ReadIniText(file, "General", "Missing"), std::nullopt);
    EXPECT_EQ(ReadIniText("[general]\nUserID=x\n", "General", "UserID"),
              std::nullopt); // group names are exact
    EXPECT_EQ(ReadIniText("[General]\nUserID=old\nUserID=new", "General", "UserID"),
              std::optional<std::string>("new"));
}

TEST(UserID, AcceptsOnlyABracedGuidABlankAndAName) {
    const std::vector<std::pair<std::string, bool>> cases = {
        {std::string(kAnonymousUserID), true},
        {"{1f0c2b7e-0000-4000-8000-00000000000a} ann", true},
        {"{1F0C2B7E-0000-4000-8000-00000000000A} Ann Lee", true},
        {"{1F0C2B7E-0000-4000-8000-00000000000A}", false},
        {"{1F0C2B7E-0000-4000-8000-00000000000A} ", false},
        {"{1F0C2B7E-0000-4000-8000-00000000000A}Ann", false},
        {"{1F0C2B7E-0000-4000-8000-00000000000A}  Ann", false},
        {"{1F0C2B7E-0000-4000-8000-00000000000A}  ", false},
        {"{1F0C2B7E-0000-4000-8000-00000000000A} \tAnn", false},
        {"{1F0C2B7E-0000-4000-8000-00000000000G} Ann", false},
        {"{1F0C2B7E0000-4000-8000-00000000000AB} Ann", false},
        {"1F0C2B7E-0000-4000-8000-00000000000A Ann", false},
        {"Ann Lee", false},
        {"", false},
    };
    for (const auto& [text, valid] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(IsUserID(text), valid);
    }
}
} // namespace
