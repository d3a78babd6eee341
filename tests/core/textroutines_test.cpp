#include "support/busy.h"
#include "support/textroutines.h"

#include <gtest/gtest.h>

#include <locale>
#include <sstream>

TEST(TextRoutines, QuoteIfNeeded) {
    struct Case {
        std::string text, extra, quoted;
    };
    const Case cases[] = {
        {"", "", ""},
        {"plain", "", "plain"},
        {"a,b", "", "\"a,b\""},
        {"tab\there", "", "\"tab\there\""},
        {"(x)", "", "\"(x)\""},
        {"[x]", "", "\"[x]\""},
        {"{x}", "", "\"{x}\""},
        {" lead", "", "\" lead\""},
        {"trail ", "", "\"trail \""},
        {"in side", "", "in side"},
        {"it's", "", "\"it's\""},
        {"say \"hi\"", "", "'say \"hi\"'"},
        {"a;b", ";", "\"a;b\""},
        {"a;b", "", "a;b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(QuoteIfNeeded(c.text, c.extra), c.quoted);
    }
}

TEST(TextRoutines, QuotedItemsComeBackThroughNextListItem) {
    const std::string items[] = {"a,b",   "it's",   "say \"hi\"", " lead", "/home/x/it's \"the\" file.amf",
                                 "plain", "x\"\"y'"};
    std::string list;
    for (const auto& item : items)
        list += (list.empty() ? "" : ",") + QuoteIfNeeded(item);
    for (const auto& item : items) {
        SCOPED_TRACE(item);
        EXPECT_EQ(NextListItem(list), item);
    }
    EXPECT_EQ(list, "");
}

TEST(TextRoutines, NextListItem) {
    struct Case {
        std::string text, item, rest;
    };
    const Case cases[] = {
        {"", "", ""},
        {"   ", "", ""},
        {"a,b,c", "a", "b,c"},
        {"  a  , b", "a", " b"},
        {"\"a,b\",c", "a,b", "c"},
        {"'x\"y',z", "x\"y", "z"},
        {"\"never closed, at all", "never closed, at all", ""},
        {"\" spaced \" ,next", " spaced ", " ,next"},
        {"last", "last", ""},
        {"\tctl\n", "ctl", ""},
        {"\"classic'form\"", "classic'form", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::string text = c.text;
        EXPECT_EQ(NextListItem(text), c.item);
        EXPECT_EQ(text, c.rest);
    }
}

TEST(TextRoutines, SplitAtAndTextBefore) {
    struct Case {
        std::string text;
        char c;
        std::string head, rest;
    };
    const Case cases[] = {
        {"{GUID} Ann Lee", ' ', "{GUID}", "Ann Lee"},
        {"nochar", ' ', "nochar", ""},
        {"a b", '\0', "a b", ""},
        {"", ',', "", ""},
        {",x", ',', "", "x"},
        {"x,", ',', "x", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::string text = c.text;
        EXPECT_EQ(SplitAt(text, c.c), c.head);
        EXPECT_EQ(text, c.rest);
        EXPECT_EQ(TextBefore(c.text, c.c), c.head);
    }
}

TEST(TextRoutines, BackslashAndKeyPaths) {
    EXPECT_EQ(WithTrailingBackslash(""), "\\");
    EXPECT_EQ(WithTrailingBackslash("a"), "a\\");
    EXPECT_EQ(WithTrailingBackslash("a\\"), "a\\");
    EXPECT_EQ(WithoutTrailingBackslash("a\\"), "a");
    EXPECT_EQ(WithoutTrailingBackslash("a\\\\"), "a\\");
    EXPECT_EQ(WithoutTrailingBackslash("a"), "a");
    struct Case {
        std::string name, path;
    };
    const Case cases[] = {
        {"Value", ""}, {"\\Value", "\\"}, {"Sub\\Value", "Sub"}, {"A\\B\\Value", "A\\B"}, {"C:\\x", "C:\\"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(KeyPathOf(c.name), c.path);
    }
    EXPECT_EQ(ReplaceChar("a/b/c", '/', '\\'), "a\\b\\c");
}

TEST(TextRoutines, CaseInsensitiveComparisonIsAsciiOnly) {
    EXPECT_TRUE(StartsWithText("S12", "s"));
    EXPECT_TRUE(StartsWithText("s2.5", "S2."));
    EXPECT_FALSE(StartsWithText("S", "S1"));
    EXPECT_TRUE(SameText("screen1", "SCREEN1"));
    EXPECT_FALSE(SameText("\xC3\xA9", "\xC3\x89")); // é and É differ: only A-Z fold
    EXPECT_EQ(AsciiLower("AbC\xC3\x89"), "abc\xC3\x89");
}

TEST(TextRoutines, TrimRemovesBlanksAndControls) {
    EXPECT_EQ(Trim(" \t\r\n x y \r"), "x y");
    EXPECT_EQ(Trim(""), "");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(TrimLeft("  x "), "x ");
    EXPECT_EQ(TrimRight("  x \n"), "  x");
}

TEST(TextRoutines, NumbersAreDecimalAndStrict) {
    struct Case {
        std::string text;
        std::int64_t value;
    };
    const Case cases[] = {
        {"0", 0},
        {"42", 42},
        {"-7", -7},
        {"+7", 7},
        {"", -1},
        {" 1", -1},
        {"1 ", -1},
        {"1x", -1},
        {"0x10", -1},
        {"$10", -1},
        {"++1", -1},
        {"-", -1},
        {"2147483647", 2147483647},
        {"2147483648", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(StrToIntDef(c.text, -1), c.value);
    }
    EXPECT_EQ(StrToInt64Def("4294967295", 0), 4294967295LL);
    EXPECT_EQ(StrToInt64Def("99999999999999999999", 0), 0);
    EXPECT_EQ(IntToStr(-12), "-12");
    EXPECT_EQ(UIntToStr(4294967295u), "4294967295");
    EXPECT_EQ(DateToNumber(2005, 1, 1), 20050101);
}

namespace {
// A locale that groups thousands with '.' and uses ',' as decimal point, as German settings do.
struct GermanPunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};
} // namespace

TEST(TextRoutines, ConversionsIgnoreTheGlobalLocale) {
    const std::locale old = std::locale::global(std::locale(std::locale::classic(), new GermanPunct));
    std::ostringstream probe;
    probe << 1234567;
    const bool localeGroups = probe.str() != "1234567";
    EXPECT_EQ(IntToStr(1234567), "1234567");
    EXPECT_EQ(UIntToStr(4294967295u), "4294967295");
    EXPECT_EQ(StrToIntDef("1234567", 0), 1234567);
    FixNumberFormat();
    std::ostringstream fixed;
    fixed << 1234567;
    EXPECT_EQ(fixed.str(), "1234567");
    std::locale::global(old);
    EXPECT_TRUE(localeGroups) << "the probe locale should have grouped digits";
}

TEST(Busy, NestsAndTellsTheHookOnlyOnChanges) {
    std::vector<bool> seen;
    SetBusyHook([&](bool busy) { seen.push_back(busy); });
    const int before = BusyCount();
    SetBusy(true);
    SetBusy(true);
    EXPECT_EQ(BusyCount(), before + 2);
    SetBusy(false);
    SetBusy(false);
    try {
        TBusyGuard guard;
        EXPECT_EQ(BusyCount(), before + 1);
        throw 1;
    } catch (int) {
    }
    EXPECT_EQ(BusyCount(), before);
    SetBusyHook({});
    EXPECT_EQ(seen, (std::vector<bool>{true, false, true, false}));
}
