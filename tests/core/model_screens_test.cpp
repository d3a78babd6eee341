#include "model/assistroot.h"
#include "support/clock.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {
const std::string Ann = "{1F0C2B7E-0000-4000-8000-00000000000A} Ann Lee";

class Screens : public ::testing::Test {
protected:
    void SetUp() override {
        SetTodaySource([] {
            return std::chrono::year_month_day{std::chrono::year{2005}, std::chrono::month{1},
                                               std::chrono::day{1}};
        });
    }
    void TearDown() override { SetTodaySource({}); }

    // Screens with the given IDs, added as a file reader would (nothing marked).
    void AddRead(const std::vector<std::string>& ids) {
        TAssistRoot::LoadingScope loading(root);
        for (const auto& id : ids)
            TAssistScreen::Create(root)->ID = id;
    }
    std::vector<std::string> Ids() const {
        std::vector<std::string> ids;
        for (const TAssistScreen& screen : root.Screens)
            ids.push_back(screen.ID);
        return ids;
    }

    TAssistRoot root{Ann};
};
} // namespace

TEST_F(Screens, NewScreenIDFollowsTheHighestSNumber) {
    struct Case {
        const char* name;
        std::vector<std::string> existing;
        std::string id, caption;
    };
    const Case cases[] = {
        {"first screen", {}, "S1", "Screen 1"},
        {"either case of S, other IDs ignored", {"S1", "s7", "Intro"}, "S8", "Screen 4"},
        {"gaps are not filled", {"s10", "Intro2", "S3"}, "S11", "Screen 4"},
        {"empty ID among them", {"", "S2"}, "S3", "Screen 3"},
        {"only 10 characters after the S are read", {"S12345678901"}, "S1234567891", "Screen 2"},
        {"beyond a 32-bit integer counts as 0", {"S2147483648", "S99999999999"}, "S1", "Screen 3"},
        {"largest 32-bit number", {"S2147483647"}, "S2147483648", "Screen 2"},
        {"invalid numbers count as 0", {"S3x", "S", "S-4", "S1.5"}, "S1", "Screen 5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TAssistRoot fresh(Ann);
        {
            TAssistRoot::LoadingScope loading(fresh);
            for (const auto& id : c.existing)
                TAssistScreen::Create(fresh)->ID = id;
        }
        ASSERT_FALSE(fresh.Changed);
        TAssistScreen* screen = TAssistScreen::Create(fresh);
        EXPECT_EQ(screen->ID, c.id);
        EXPECT_EQ(screen->Caption, c.caption);
        EXPECT_EQ(fresh.Screens.Item(fresh.Screens.Count() - 1), screen);
        EXPECT_EQ(screen->Root, &fresh);
        EXPECT_EQ(screen->Owner, &fresh);
        EXPECT_TRUE(fresh.Changed);
        EXPECT_EQ(fresh.BuildDate, "20050101");
    }
}

TEST_F(Screens, NumbersAndCaptionsAfterADeletion) {
    TAssistScreen* s1 = TAssistScreen::Create(root);
    TAssistScreen::Create(root);
    ASSERT_TRUE(root.DeleteScreen(s1));
    TAssistScreen* added = TAssistScreen::Create(root);
    EXPECT_EQ(added->ID, "S3");
    EXPECT_EQ(added->Caption, "Screen 2");
    EXPECT_EQ(Ids(), (std::vector<std::string>{"S2", "S3"}));
}

TEST_F(Screens, FindScreenIgnoresLetterCase) {
    AddRead({"Intro", "S1", "", "s1", "Ende", ""});
    struct Case {
        std::string id;
        int index; // -1: none
    };
    const Case cases[] = {
        {"s1", 1}, {"S1", 1}, {"INTRO", 0}, {"", 2}, {"ende", 4}, {"S2", -1}, {"S1 ", -1}, {"Intro2", -1},
    };
    const TAssistRoot& constRoot = root;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(root.Screens.FindScreen(c.id), root.Screens.Item(c.index));
        EXPECT_EQ(constRoot.Screens.FindScreen(c.id), constRoot.Screens.Item(c.index));
    }
    TAssistRoot empty(Ann);
    EXPECT_EQ(empty.Screens.FindScreen(""), nullptr);
}

TEST_F(Screens, LookUpsOutsideTheListGiveNothing) {
    AddRead({"S1", "S2"});
    EXPECT_EQ(root.Screens.Item(-1), nullptr);
    EXPECT_EQ(root.Screens.Item(2), nullptr);
    EXPECT_EQ(root.Screens.Item(1)->ID, "S2");
    EXPECT_EQ(root.Screens.IndexOf(root.Screens.Item(1)), 1);
    EXPECT_EQ(root.Screens.IndexOf(nullptr), -1);

    TAssistRoot other(Ann);
    TAssistScreen* foreign = TAssistScreen::Create(other);
    EXPECT_EQ(root.Screens.IndexOf(foreign), -1);
    EXPECT_FALSE(root.DeleteScreen(foreign));
    EXPECT_FALSE(root.Screens.Delete(2));
    EXPECT_FALSE(root.Screens.Delete(-1));
    EXPECT_EQ(root.Screens.Detach(5), nullptr);
    EXPECT_EQ(root.Screens.Count(), 2);
    EXPECT_FALSE(root.Changed);
    EXPECT_EQ(other.Screens.Count(), 1);
}

TEST_F(Screens, DeletingAScreenDestroysItsOptionsAndMarksTheAssistant) {
    // The options and notes of the deleted screen are released with it: the sanitizer build's leak
    // check fails this test if anything below the screen survives.
    AddRead({"S1", "S2", "S3"});
    TAssistScreen* s2 = root.Screens.Item(1);
    for (int i = 0; i < 3; ++i)
        TAssistOption::Create(*s2)->Notes.Add()->Text = "note";
    ASSERT_FALSE(root.Changed);

    ASSERT_TRUE(root.Screens.Delete(1));
    EXPECT_EQ(Ids(), (std::vector<std::string>{"S1", "S3"}));
    EXPECT_TRUE(root.Changed);
    EXPECT_EQ(root.BuildDate, "20050101");
}

TEST_F(Screens, ClearDestroysAllAndMarksOnlyWhenSomethingWasThere) {
    root.Screens.Clear();
    EXPECT_FALSE(root.Changed);
    AddRead({"S1", "S2"});
    TAssistOption::Create(*root.Screens.Item(0));
    root.Screens.Clear();
    EXPECT_EQ(root.Screens.Count(), 0);
    EXPECT_TRUE(root.Changed);
}

TEST_F(Screens, MoveReordersByPositionWithoutMarking) {
    struct Case {
        int from, to;
        bool moved;
        std::vector<std::string> order;
    };
    const Case cases[] = {
        {0, 3, true, {"S2", "S3", "S4", "S1"}},  {3, 0, true, {"S4", "S1", "S2", "S3"}},
        {1, 2, true, {"S1", "S3", "S2", "S4"}},  {2, 2, true, {"S1", "S2", "S3", "S4"}},
        {0, 4, false, {"S1", "S2", "S3", "S4"}}, {-1, 0, false, {"S1", "S2", "S3", "S4"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " -> " << c.to);
        root.Screens.Clear();
        AddRead({"S1", "S2", "S3", "S4"});
        root.Changed = false;
        TAssistScreen* moving = root.Screens.Item(c.from);
        EXPECT_EQ(root.Screens.Move(c.from, c.to), c.moved);
        EXPECT_EQ(Ids(), c.order);
        if (c.moved) {
            EXPECT_EQ(root.Screens.Item(c.to), moving); // the same object, not a copy
        }
        EXPECT_FALSE(root.Changed);
    }
}

TEST_F(Screens, DetachedScreenGoesBackWithItsOptionsNotesAndIDs) {
    AddRead({"S1", "S2", "S3"});
    TAssistScreen* s2 = root.Screens.Item(1);
    TAssistOption* option = TAssistOption::Create(*s2);
    option->Notes.Add()->Name = "Caution";

    std::unique_ptr<TAssistScreen> held = root.Screens.Detach(1);
    ASSERT_EQ(held.get(), s2);
    EXPECT_EQ(Ids(), (std::vector<std::string>{"S1", "S3"}));
    EXPECT_TRUE(root.Changed);
    EXPECT_EQ(root.Screens.FindScreen("S2"), nullptr);

    root.Changed = false;
    EXPECT_EQ(root.Screens.Insert(1, std::move(held)), s2);
    EXPECT_TRUE(root.Changed);
    EXPECT_EQ(Ids(), (std::vector<std::string>{"S1", "S2", "S3"}));
    EXPECT_EQ(s2->Options.Item(0), option);
    EXPECT_EQ(option->ID, "S2.1");
    EXPECT_EQ(option->Notes.Item(0)->Name, "Caution");
    EXPECT_EQ(s2->Owner, &root);
}

TEST_F(Screens, InsertingIntoAnotherAssistantRepointsTheBackReferences) {
    AddRead({"S1"});
    TAssistOption* option = TAssistOption::Create(*root.Screens.Item(0));
    TAssistRoot other(Ann);
    TAssistScreen* moved = other.Screens.Insert(0, root.Screens.Detach(0));
    EXPECT_EQ(moved->Root, &other);
    EXPECT_EQ(moved->Owner, &other);
    EXPECT_EQ(option->Root, &other);
    EXPECT_EQ(option->Owner, moved);
    EXPECT_TRUE(other.Changed);
}

TEST_F(Screens, InsertOutsideTheListIsRefused) {
    AddRead({"S1", "S2"});
    std::unique_ptr<TAssistScreen> held = root.Screens.Detach(0);
    EXPECT_THROW(root.Screens.Insert(2, std::move(held)), std::out_of_range);
    EXPECT_THROW(root.Screens.Insert(0, nullptr), std::invalid_argument);
    // A refused insert leaves the list as it was and the screen with the caller; the end position
    // appends.
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(held->ID, "S1");
    EXPECT_EQ(Ids(), (std::vector<std::string>{"S2"}));
    root.Screens.Insert(1, std::move(held));
    EXPECT_EQ(Ids(), (std::vector<std::string>{"S2", "S1"}));
}

TEST_F(Screens, ReaderCreatesScreensWithoutGeneratedIDs) {
    // The file reader gives every screen its ID from the file right after creating it, so creation
    // while loading skips the ID scan; the caption still counts the screens.
    constexpr int count = 20000;
    {
        TAssistRoot::LoadingScope loading(root);
        for (int i = 0; i < count; ++i) {
            TAssistScreen* screen = TAssistScreen::Create(root);
            EXPECT_EQ(screen->ID, "");
            screen->ID = "S" + std::to_string(i + 1);
        }
    }
    EXPECT_EQ(root.Screens.Count(), count);
    EXPECT_EQ(root.Screens.Item(count - 1)->Caption, "Screen 20000");
    EXPECT_FALSE(root.Changed);
    EXPECT_EQ(root.BuildDate, "");
    EXPECT_EQ(TAssistScreen::Create(root)->ID, "S20001");
}
