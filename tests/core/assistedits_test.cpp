// Renaming a screen with its references, and duplicating screens and options.
#include "model/assistedits.h"

#include "assistantbuilder.h"
#include "model/assistoption.h"

#include <gtest/gtest.h>

#include <set>

using namespace testbuild;

namespace {

TEST(ScreenRename, ChangesGotoCommandsAndFirstScreenNamingTheScreen) {
    struct Row {
        const char* name;
        std::string firstScreen;
        TActionKind action;
        std::string command;
        int references;
        std::string commandAfter;
    };
    const std::vector<Row> rows = {
        {"GotoSameCase", "start", akGoto, "target", 1, "Goal"},
        {"GotoOtherCase", "start", akGoto, "TARGET", 1, "Goal"},
        {"GotoButton", "start", akGotoButton, "Target", 1, "Goal"},
        {"FirstScreenToo", "TaRgEt", akGoto, "target", 2, "Goal"},
        {"ExecLeftAlone", "start", akExec, "target", 0, "target"},
        {"OtherScreenLeftAlone", "start", akGoto, "targets", 0, "targets"},
    };
    for (const Row& row : rows) {
        TAssistRoot root{User};
        TAssistScreen& start = Screen(root, "start");
        TAssistOption& option = Option(start, "start.1", row.action, row.command);
        TAssistScreen& target = Screen(root, "target");
        root.FirstScreen = row.firstScreen;

        const TScreenRename rename = PlanScreenRename(root, target, "Goal");
        EXPECT_EQ(rename.References(), row.references) << row.name;
        ApplyScreenRename(root, rename, false);
        EXPECT_EQ(target.ID, "Goal") << row.name;
        EXPECT_EQ(option.Command, row.commandAfter) << row.name;
        EXPECT_EQ(root.FirstScreen, row.references == 2 ? "Goal" : row.firstScreen) << row.name;

        ApplyScreenRename(root, rename, true);
        EXPECT_EQ(target.ID, "target") << row.name;
        EXPECT_EQ(option.Command, row.command) << row.name;
        EXPECT_EQ(root.FirstScreen, row.firstScreen) << row.name;
    }
}

TEST(ScreenRename, ALaterScreenWithTheSameIDOwnsNoReferences) {
    TAssistRoot root{User};
    TAssistScreen& first = Screen(root, "twin");
    Option(first, "twin.1", akGoto, "twin");
    TAssistScreen& second = Screen(root, "TWIN");
    root.FirstScreen = "twin";
    const TScreenRename later = PlanScreenRename(root, second, "other");
    EXPECT_EQ(later.References(), 0);
    EXPECT_EQ(PlanScreenRename(root, first, "other").References(), 2);
}

std::set<std::string> AllIDs(const TAssistRoot& root, int& count) {
    std::set<std::string> ids;
    count = 0;
    for (const TAssistScreen& s : root.Screens) {
        ids.insert(AsciiLower(s.ID));
        ++count;
        for (const TAssistOption& o : s.Options) {
            ids.insert(AsciiLower(o.ID));
            ++count;
        }
    }
    return ids;
}

TEST(Duplicate, ScreenCopyComesRightAfterWithFreshUniqueIDs) {
    TAssistRoot root{User};
    TAssistScreen& a = Screen(root, "S1", "First");
    a.Description = {"line"};
    a.Image = "a.png";
    TAssistOption& o = Option(a, "S1.1", akGoto, "S2", "Next");
    o.Notes.Add()->Text = "remember";
    Option(a, "S1.2");
    Screen(root, "S2", "Second");
    root.Changed = false;

    TAssistScreen* copy = DuplicateScreen(root, 0);
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(root.Changed);
    EXPECT_EQ(root.Screens.IndexOf(copy), 1);
    EXPECT_EQ(root.Screens.Item(2)->ID, "S2");
    EXPECT_EQ(copy->Caption, "First");
    EXPECT_EQ(copy->Description, a.Description);
    EXPECT_EQ(copy->Image, "a.png");
    ASSERT_EQ(copy->Options.Count(), 2);
    const TAssistOption& oc = *copy->Options.Item(0);
    EXPECT_EQ(oc.Command, "S2");
    EXPECT_EQ(oc.Caption, "Next");
    ASSERT_EQ(oc.Notes.Count(), 1);
    EXPECT_EQ(oc.Notes.Item(0)->Text, "remember");
    EXPECT_EQ(oc.Owner, copy);
    EXPECT_EQ(a.Options.Count(), 2); // the original keeps its options

    int count = 0;
    const auto ids = AllIDs(root, count);
    EXPECT_EQ(static_cast<int>(ids.size()), count) << "IDs must be unique";
    EXPECT_FALSE(copy->ID.empty());
    EXPECT_FALSE(oc.ID.empty());

    // A second copy of the same screen is fresh again.
    DuplicateScreen(root, 0);
    const auto ids2 = AllIDs(root, count);
    EXPECT_EQ(static_cast<int>(ids2.size()), count);
    EXPECT_EQ(DuplicateScreen(root, 9), nullptr);
}

TEST(Duplicate, OptionCopyComesRightAfterWithFreshID) {
    TAssistRoot root{User};
    TAssistScreen& s = Screen(root, "S1");
    TAssistOption& first = Option(s, "S1.1", akExec, "a.exe", "A");
    first.Script = "x";
    first.Notes.Add()->Name = "n";
    Option(s, "S1.2", akExec, "b.exe", "B");

    TAssistOption* copy = DuplicateOption(s, 0);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(s.Options.IndexOf(copy), 1);
    EXPECT_EQ(s.Options.Item(2)->ID, "S1.2");
    EXPECT_EQ(copy->Command, "a.exe");
    EXPECT_EQ(copy->Script, "x");
    ASSERT_EQ(copy->Notes.Count(), 1);
    EXPECT_EQ(copy->Notes.Item(0)->Name, "n");
    EXPECT_NE(copy->ID, "S1.1");
    EXPECT_NE(copy->ID, "S1.2");
    EXPECT_EQ(DuplicateOption(s, 3), nullptr);
}

} // namespace
