#include "model/assistantmap.h"

#include "assistantbuilder.h"
#include "model/assistroot.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

using testbuild::Option;
using testbuild::Screen;

namespace {

// Builds an assistant from a short description: screens separated by " | ", each "ID>" followed by
// its options separated by ","; a screen written without ">" has no options. An option is the command
// of a "Go to another screen" option; "^CMD" is a "Button to another screen" option, "!CMD" a program
// to execute (which links nothing). "ID>" with nothing after it is a screen with one blank go-to option.
void Build(TAssistRoot& root, const std::string& first, const std::string& screens) {
    root.FirstScreen = first;
    if (screens.empty())
        return;
    std::size_t from = 0;
    while (true) {
        const std::size_t bar = screens.find(" | ", from);
        const std::string part =
            screens.substr(from, bar == std::string::npos ? std::string::npos : bar - from);
        const std::size_t arrow = part.find('>');
        TAssistScreen& screen = Screen(root, part.substr(0, arrow));
        if (arrow != std::string::npos) {
            std::stringstream options(part.substr(arrow + 1));
            std::string command;
            int k = 0;
            do {
                command.clear();
                std::getline(options, command, ',');
                TActionKind action = akGoto;
                if (!command.empty() && (command[0] == '^' || command[0] == '!')) {
                    action = command[0] == '^' ? akGotoButton : akExec;
                    command.erase(0, 1);
                }
                Option(screen, screen.ID + "." + std::to_string(++k), action, command);
            } while (options);
        }
        if (bar == std::string::npos)
            break;
        from = bar + 3;
    }
}

struct ReachCase {
    const char* Name;
    std::string First;
    std::string Screens;
    int Start;
    std::vector<int> Unreachable;
    std::vector<int> DeadEnds;
};

class ReachabilityTest : public ::testing::TestWithParam<ReachCase> {};

TEST_P(ReachabilityTest, FindsStartUnreachableScreensAndDeadEnds) {
    const ReachCase& c = GetParam();
    TAssistRoot root(testbuild::User);
    Build(root, c.First, c.Screens);
    const ScreenReachability reach = FindReachability(root);
    EXPECT_EQ(reach.Start, c.Start);
    EXPECT_EQ(reach.Unreachable, c.Unreachable);
    EXPECT_EQ(reach.DeadEnds, c.DeadEnds);
    ASSERT_EQ(reach.Reachable.size(), static_cast<std::size_t>(root.Screens.Count()));
    for (std::size_t i = 0; i < reach.Reachable.size(); ++i) {
        bool listed = false;
        for (int u : c.Unreachable)
            listed = listed || u == static_cast<int>(i);
        EXPECT_EQ(reach.Reachable[i], !listed) << "screen " << i;
    }
}

const ReachCase kReachCases[] = {
    {"NoScreens", "S1", "", -1, {}, {}},
    {"Chain", "S1", "S1>S2 | S2>S3 | S3", 0, {}, {2}},
    {"ChainInReverseListOrder", "S3", "S1 | S2>S1 | S3>S2", 2, {}, {0}},
    {"CycleWithNoWayIn", "S1", "S1>S2 | S2 | S3>S4 | S4>S3", 0, {2, 3}, {1}},
    {"OnlyFromUnreachableScreens", "S1", "S1 | S2>S3 | S3", 0, {1, 2}, {0, 2}},
    {"SelfLoopIsNoDeadEnd", "S1", "S1>S1", 0, {}, {}},
    {"ButtonLinks", "S1", "S1>^S2 | S2>S1", 0, {}, {}},
    {"ProgramDoesNotLink", "S1", "S1>!S2 | S2>S1", 0, {1}, {}},
    {"MissingTargetLeadsNowhere", "S1", "S1>S9 | S2>S1", 0, {1}, {}},
    {"FirstScreenNamesNoScreen", "X", "S1>S2 | S2>S1", -1, {0, 1}, {}},
    {"EmptyFirstScreenWithoutEmptyId", "", "S1>S2 | S2", -1, {0, 1}, {1}},
    {"EmptyFirstScreenStartsAtEmptyId", "", "S1>S2 | >S1 | S2 | S3", 1, {3}, {2, 3}},
    {"BlankGotoReachesEmptyId", "S1", "S1> | >S2 | S2", 0, {}, {2}},
    {"DuplicateIdOnlyFirstIsReached", "S1", "S1>S2 | S2>S3 | S2>S4 | S3 | S4", 0, {2, 4}, {3, 4}},
    {"LetterCaseOfFirstScreenAndCommands", "s1", "S1>s2,START | S2 | Start", 0, {}, {1, 2}},
    {"LetterCaseOnlyForAToZ", "S1", "S1>\xC3\x89 | \xC3\xA9", 0, {1}, {1}},
    {"DuplicateIdsDifferingInCase", "S1", "S1>a | A | a", 0, {2}, {1, 2}},
};

INSTANTIATE_TEST_SUITE_P(Cases, ReachabilityTest, ::testing::ValuesIn(kReachCases),
                         [](const ::testing::TestParamInfo<ReachCase>& info) { return info.param.Name; });

TEST(ReachabilityTest, LongChainNeedsNoDeepRecursion) {
    TAssistRoot root(testbuild::User);
    root.FirstScreen = "S0";
    const int count = 100000;
    for (int i = 0; i < count; ++i) {
        TAssistScreen& screen = Screen(root, "S" + std::to_string(i));
        if (i + 1 < count)
            Option(screen, "o", akGoto, "S" + std::to_string(i + 1));
    }
    const ScreenReachability reach = FindReachability(root);
    EXPECT_TRUE(reach.Unreachable.empty());
    EXPECT_EQ(reach.DeadEnds, std::vector<int>{count - 1});
}

// A small assistant with every kind of option: S1 (start) goes to S2 and, by button, to S3; S2 has one
// option of every other kind and a go-to option to a screen that does not exist; S3 leads back to S1;
// S4 goes to S1 but nothing reaches it; S5 has no options and is not reached either.
class MapContentTest : public ::testing::Test {
protected:
    void SetUp() override {
        root.ID = "Tour";
        root.FirstScreen = "s1";
        TAssistScreen& s1 = Screen(root, "S1", "Welcome");
        Option(s1, "S1.1", akGoto, "S2", "Set up");
        Option(s1, "S1.2", akGotoButton, "s3", "Help");
        TAssistScreen& s2 = Screen(root, "S2", "Set-up");
        Option(s2, "S2.1", akInternet, "https://example.org/", "Site");
        Option(s2, "S2.2", akExec, "setup.exe /q", "Install");
        TAssistOption& script = Option(s2, "S2.3", akScript, "", "Check");
        script.Script = "Sub Main\r  MsgBox 1\rEnd Sub";
        TAssistOption& note = Option(s2, "S2.4", akNote, "", "Read");
        TNote& n1 = *note.Notes.Add();
        n1.Name = "Safety";
        TNote& n2 = *note.Notes.Add();
        n2.Name = "Waste";
        Option(s2, "S2.5", akAssistant, "Other.amf,S3", "Other");
        Option(s2, "S2.6", akRun, "tool.exe", "Tool");
        Option(s2, "S2.7", akBrowse, "CR_1", "Manual");
        Option(s2, "S2.8", akGoto, "Nowhere", "Lost");
        TAssistScreen& s3 = Screen(root, "S3", "Help");
        Option(s3, "S3.1", akGoto, "S1", "Back");
        TAssistScreen& s4 = Screen(root, "S4", "Orphan");
        Option(s4, "S4.1", akGoto, "S1", "Home");
        Screen(root, "S5", "Alone");
    }
    TAssistRoot root{testbuild::User};
};

TEST_F(MapContentTest, BoxesCarryIdsCaptionsAndMarks) {
    const AssistantMap map = BuildAssistantMap(root);
    EXPECT_EQ(map.AssistantID, "Tour");
    EXPECT_EQ(map.Start, 0);
    EXPECT_EQ(map.UnreachableCount, 2);
    EXPECT_EQ(map.DeadEndCount, 1);
    struct Expected {
        const char* ID;
        const char* Caption;
        bool Start, Unreachable, DeadEnd;
    };
    const Expected expected[] = {
        {"S1", "Welcome", true, false, false}, {"S2", "Set-up", false, false, false},
        {"S3", "Help", false, false, false},   {"S4", "Orphan", false, true, false},
        {"S5", "Alone", false, true, true},
    };
    ASSERT_EQ(map.Boxes.size(), std::size(expected));
    for (std::size_t i = 0; i < map.Boxes.size(); ++i) {
        SCOPED_TRACE(expected[i].ID);
        const MapBox& box = map.Boxes[i];
        EXPECT_EQ(box.Screen, static_cast<int>(i));
        EXPECT_EQ(box.ID, expected[i].ID);
        EXPECT_EQ(box.Caption, expected[i].Caption);
        EXPECT_EQ(box.Start, expected[i].Start);
        EXPECT_EQ(box.Unreachable, expected[i].Unreachable);
        EXPECT_EQ(box.DeadEnd, expected[i].DeadEnd);
    }
}

TEST_F(MapContentTest, GotoOptionsBecomeLabelledArrowsToTheFoundScreen) {
    const AssistantMap map = BuildAssistantMap(root);
    struct Expected {
        int From, Option, To;
        const char* Label;
    };
    const Expected expected[] = {
        {0, 0, 1, "Set up"}, {0, 1, 2, "Help"}, {2, 0, 0, "Back"}, {3, 0, 0, "Home"}};
    ASSERT_EQ(map.Arrows.size(), std::size(expected));
    for (std::size_t i = 0; i < map.Arrows.size(); ++i) {
        SCOPED_TRACE(expected[i].Label);
        EXPECT_EQ(map.Arrows[i].From, expected[i].From);
        EXPECT_EQ(map.Arrows[i].Option, expected[i].Option);
        EXPECT_EQ(map.Arrows[i].To, expected[i].To);
        EXPECT_EQ(map.Arrows[i].Label, expected[i].Label);
    }
}

TEST_F(MapContentTest, OtherOptionsBecomeBadgesWithTheirCommandAsTooltip) {
    const AssistantMap map = BuildAssistantMap(root);
    struct Expected {
        int Option;
        TActionKind Action;
        bool Broken;
        const char* Label;
        const char* Tooltip;
    };
    const Expected expected[] = {
        {0, akInternet, false, "web", "Go to a web page: https://example.org/"},
        {1, akExec, false, "program", "Execute program/file: setup.exe /q"},
        {2, akScript, false, "script", "Run script: Sub Main"},
        {3, akNote, false, "notes", "Note only: Safety, Waste"},
        {4, akAssistant, false, "assistant", "Go to another assistant: Other.amf,S3"},
        {5, akRun, false, "tool", "Run a Brakko tool: tool.exe"},
        {6, akBrowse, false, "document", "Browse a document: CR_1"},
        {7, akGoto, true, "missing", "No screen \"Nowhere\" to go to"},
    };
    const std::vector<MapBadge>& badges = map.Boxes[1].Badges;
    ASSERT_EQ(badges.size(), std::size(expected));
    for (std::size_t i = 0; i < badges.size(); ++i) {
        SCOPED_TRACE(expected[i].Label);
        EXPECT_EQ(badges[i].Option, expected[i].Option);
        EXPECT_EQ(badges[i].Action, expected[i].Action);
        EXPECT_EQ(badges[i].Broken, expected[i].Broken);
        EXPECT_EQ(badges[i].Label, expected[i].Label);
        EXPECT_EQ(badges[i].Tooltip, expected[i].Tooltip);
    }
    for (std::size_t i : {0u, 2u, 3u, 4u})
        EXPECT_TRUE(map.Boxes[i].Badges.empty()) << "box " << i;
}

TEST_F(MapContentTest, NoStartMarksEveryScreenUnreachable) {
    root.FirstScreen = "Missing";
    const AssistantMap map = BuildAssistantMap(root);
    EXPECT_EQ(map.Start, -1);
    EXPECT_EQ(map.UnreachableCount, 5);
    for (const MapBox& box : map.Boxes) {
        EXPECT_FALSE(box.Start);
        EXPECT_TRUE(box.Unreachable);
    }
    // The arrows do not depend on where the walk starts.
    EXPECT_EQ(map.Arrows.size(), 4u);
}

} // namespace
