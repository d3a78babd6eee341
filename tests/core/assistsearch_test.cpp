// Finding and replacing over an assistant's fields with the plain matcher.
#include "model/assistsearch.h"

#include "assistantbuilder.h"
#include "model/assistoption.h"
#include "model/assistscreen.h"

#include <gtest/gtest.h>

using namespace testbuild;

namespace {

struct MatchCase {
    const char* name;
    std::string text;
    std::string pattern;
    bool matchCase;
    bool wholeWords;
    std::vector<TTextMatch> expected;
};

class PlainMatcherTest : public ::testing::TestWithParam<MatchCase> {};

TEST_P(PlainMatcherTest, FindsTheExpectedMatches) {
    const MatchCase& c = GetParam();
    TPlainMatcher matcher(c.pattern, c.matchCase, c.wholeWords);
    EXPECT_EQ(matcher.FindAll(c.text), c.expected);
    EXPECT_EQ(matcher.Contains(c.text), !c.expected.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlainMatcherTest,
    ::testing::Values(
        MatchCase{"IgnoreCase", "Router and ROUTER", "router", false, false, {{0, 6}, {11, 6}}},
        MatchCase{"MatchCase", "Router and router", "router", true, false, {{11, 6}}},
        MatchCase{"MatchCaseUpperPattern", "router Router", "Router", true, false, {{7, 6}}},
        MatchCase{"PartOfWord", "routers", "router", false, false, {{0, 6}}},
        MatchCase{"WholeWordRejectsPart", "routers router_x xrouter", "router", false, true, {}},
        MatchCase{"WholeWordAtPunctuation", "(router), router.", "router", false, true, {{1, 6}, {10, 6}}},
        MatchCase{"WholeWordNextToUtf8", "\xc3\xa9router router", "router", false, true, {{9, 6}}},
        MatchCase{"SeveralNotOverlapping", "aaaa", "aa", false, false, {{0, 2}, {2, 2}}},
        MatchCase{"FirstByteRepeats", "abab abc", "abc", false, false, {{5, 3}}},
        MatchCase{"AtTheEnd", "xx ab", "ab", false, false, {{3, 2}}},
        MatchCase{"EmptyPattern", "text", "", false, false, {}},
        MatchCase{"PatternLongerThanText", "ab", "abc", false, false, {}},
        MatchCase{"EmptyText", "", "a", false, false, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// An assistant with one searchable word in every kind of field.
struct SearchFixture : ::testing::Test {
    TAssistRoot root{User};
    TAssistScreen* s1 = nullptr;
    TAssistOption* o1 = nullptr;
    void SetUp() override {
        s1 = &Screen(root, "wifi", "Set up wifi");
        s1->Description = {"Plug in the router.", "Then wait for the wifi light."};
        o1 = &Option(*s1, "wifi.1", akGoto, "wifi", "Back");
        o1->Description = {"Goes on"};
        o1->Script = "echo wifi\recho done";
        TNote& note = *o1->Notes.Add();
        note.Text = "check the wifi";
        Screen(root, "wifi2", "Done");
    }
};

TEST_F(SearchFixture, EachFieldIsSearchedOnlyWhenChosen) {
    struct Row {
        unsigned fields;
        std::vector<std::pair<TSearchField, std::string>> expected; // field and item ID
    };
    const std::vector<Row> rows = {
        {sfID, {{sfID, "wifi"}, {sfID, "wifi.1"}}}, // whole words: not "wifi2"
        {sfCaption, {{sfCaption, "wifi"}}},
        {sfText, {{sfText, "wifi"}}},
        {sfOptionDescription, {}},
        {sfCommand, {{sfCommand, "wifi.1"}}},
        {sfScript, {{sfScript, "wifi.1"}}},
        {sfNotes, {{sfNotes, "wifi.1"}}},
        {sfCaption | sfNotes, {{sfCaption, "wifi"}, {sfNotes, "wifi.1"}}},
    };
    TPlainMatcher matcher("wifi", false, true);
    for (const Row& row : rows) {
        std::vector<std::pair<TSearchField, std::string>> got;
        for (const TSearchHit& hit : FindInAssistant(root, row.fields, matcher))
            got.emplace_back(hit.Field, hit.Item->ID);
        EXPECT_EQ(got, row.expected) << "fields " << row.fields;
    }
}

TEST_F(SearchFixture, AHitGivesItsLineAndTheOffsetInIt) {
    TPlainMatcher matcher("wifi", false, false);
    const auto hits = FindInAssistant(root, sfText | sfScript | sfNotes, matcher);
    ASSERT_EQ(hits.size(), 3u);
    EXPECT_EQ(hits[0].Line, "Then wait for the wifi light.");
    EXPECT_EQ(hits[0].LineOffset, 18u);
    EXPECT_EQ(hits[0].Offset, 20u + 18u); // after "Plug in the router.\n"
    EXPECT_EQ(hits[1].Line, "echo wifi");
    EXPECT_EQ(hits[1].LineOffset, 5u);
    EXPECT_EQ(hits[2].NoteIndex, 0);
    EXPECT_EQ(hits[2].Line, "check the wifi");
}

TEST_F(SearchFixture, ReplaceAllChangesEveryMatchAndUndoRestores) {
    TPlainMatcher matcher("wifi", false, true);
    const auto changes = ReplaceAll(root, sfCaption | sfText | sfScript | sfNotes, matcher, "WLAN");
    ASSERT_EQ(changes.size(), 4u);
    root.Changed = false;
    ApplyChanges(changes, false);
    EXPECT_TRUE(root.Changed);
    EXPECT_EQ(s1->Caption, "Set up WLAN");
    EXPECT_EQ(s1->Description,
              (std::vector<std::string>{"Plug in the router.", "Then wait for the WLAN light."}));
    EXPECT_EQ(o1->Script, "echo WLAN\recho done");
    EXPECT_EQ(o1->Notes.Item(0)->Text, "check the WLAN");
    EXPECT_EQ(s1->ID, "wifi"); // IDs were not chosen
    ApplyChanges(changes, true);
    EXPECT_EQ(s1->Caption, "Set up wifi");
    EXPECT_EQ(s1->Description,
              (std::vector<std::string>{"Plug in the router.", "Then wait for the wifi light."}));
    EXPECT_EQ(o1->Script, "echo wifi\recho done");
    EXPECT_EQ(o1->Notes.Item(0)->Text, "check the wifi");
}

TEST_F(SearchFixture, ReplaceOneChangesOnlyThatMatch) {
    s1->Caption = "wifi wifi wifi";
    TPlainMatcher matcher("wifi", false, false);
    const auto hits = FindInAssistant(root, sfCaption, matcher);
    ASSERT_EQ(hits.size(), 3u);
    const TFieldChange change = ReplaceOne(hits[1], matcher, "lan");
    EXPECT_EQ(change.OldText, "wifi wifi wifi");
    EXPECT_EQ(change.NewText, "wifi lan wifi");
    EXPECT_EQ(s1->Caption, "wifi wifi wifi"); // nothing stored yet
}

} // namespace
