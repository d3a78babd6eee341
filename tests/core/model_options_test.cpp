#include "model/assistroot.h"
#include "support/clock.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {
const std::string Ann = "{1F0C2B7E-0000-4000-8000-00000000000A} Ann Lee";

std::vector<std::string> OptionIds(const TAssistScreen& screen) {
    std::vector<std::string> ids;
    for (const TAssistOption& option : screen.Options)
        ids.push_back(option.ID);
    return ids;
}

// A screen that the assistant holds without being marked changed, as after reading a file.
TAssistScreen* ReadScreen(TAssistRoot& root, const std::string& id,
                          const std::vector<std::string>& optionIds) {
    TAssistRoot::LoadingScope loading(root);
    TAssistScreen* screen = TAssistScreen::Create(root);
    screen->ID = id;
    for (const auto& optionId : optionIds)
        TAssistOption::Create(*screen)->ID = optionId;
    return screen;
}
} // namespace

TEST(Options, NewOptionDefaults) {
    TAssistRoot root(Ann);
    TAssistScreen* screen = TAssistScreen::Create(root);
    TAssistOption* option = TAssistOption::Create(*screen);
    EXPECT_EQ(option->ID, "S1.1");
    EXPECT_EQ(option->Caption, "");
    EXPECT_TRUE(option->Description.empty());
    EXPECT_EQ(option->Action, akGoto);
    EXPECT_EQ(option->Command, "");
    EXPECT_EQ(option->Script, "");
    EXPECT_EQ(option->Owner, screen);
    EXPECT_EQ(option->Root, &root);
    EXPECT_EQ(option->Notes.Count(), 0);
    EXPECT_TRUE(option->Expanded);
    EXPECT_EQ(screen->Options.Item(0), option);
}

TEST(Options, NewOptionIDFollowsTheHighestNumberAfterTheScreenPrefix) {
    struct Case {
        const char* name;
        std::string screenId;
        std::vector<std::string> existing;
        std::string id;
    };
    const Case cases[] = {
        {"invalid suffix counts as 0", "S2", {"S2.1", "S2.5", "S2.x"}, "S2.6"},
        {"prefix compared ignoring case", "S2", {"s2.4", "S2.2"}, "S2.5"},
        {"other prefixes ignored", "S2", {"S21.9", "S3.7", "S2"}, "S2.1"},
        {"screen without ID", "", {}, ".1"},
        {"screen without ID, second option", "", {".1"}, ".2"},
        {"only 10 characters after the prefix are read", "S1", {"S1.12345678901"}, "S1.1234567891"},
        {"beyond a 32-bit integer counts as 0", "S1", {"S1.2147483648"}, "S1.1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TAssistRoot root(Ann);
        TAssistScreen* screen = ReadScreen(root, c.screenId, c.existing);
        TAssistOption* option = TAssistOption::Create(*screen);
        EXPECT_EQ(option->ID, c.id);
        EXPECT_EQ(screen->Options.Item(screen->Options.Count() - 1), option);
        EXPECT_FALSE(root.Changed);
    }
}

TEST(Options, CreatingDeletingAndMovingOptionsDoesNotMark) {
    TAssistRoot root(Ann);
    TAssistScreen* screen = ReadScreen(root, "S1", {});
    TAssistOption* first = TAssistOption::Create(*screen);
    TAssistOption::Create(*screen);
    TAssistOption::Create(*screen)->Notes.Add();
    EXPECT_TRUE(screen->Options.Move(2, 0));
    EXPECT_EQ(OptionIds(*screen), (std::vector<std::string>{"S1.3", "S1.1", "S1.2"}));
    EXPECT_TRUE(screen->DeleteOption(first));
    EXPECT_TRUE(screen->Options.Delete(0));
    EXPECT_EQ(OptionIds(*screen), (std::vector<std::string>{"S1.2"}));
    EXPECT_FALSE(screen->DeleteOption(first)); // already gone
    EXPECT_FALSE(screen->Options.Delete(1));
    screen->Options.Clear();
    EXPECT_EQ(screen->Options.Count(), 0);
    EXPECT_FALSE(root.Changed);
    EXPECT_EQ(root.BuildDate, "");
}

TEST(Options, LookUpsOutsideTheListGiveNothing) {
    TAssistRoot root(Ann);
    TAssistScreen* screen = ReadScreen(root, "S1", {"S1.1"});
    EXPECT_EQ(screen->Options.Item(-1), nullptr);
    EXPECT_EQ(screen->Options.Item(1), nullptr);
    EXPECT_EQ(screen->Options.Detach(1), nullptr);
    TAssistOption* option = screen->Options.Item(0);
    option->Notes.Add();
    EXPECT_EQ(option->Notes.Item(-1), nullptr);
    EXPECT_EQ(option->Notes.Item(1), nullptr);
    EXPECT_NE(option->Notes.Item(0), nullptr);
}

TEST(Options, DetachedOptionGoesBackWithItsNotes) {
    TAssistRoot root(Ann);
    TAssistScreen* s1 = ReadScreen(root, "S1", {"S1.1", "S1.2", "S1.3"});
    TAssistOption* middle = s1->Options.Item(1);
    middle->Notes.Add()->Text = "keep me";

    std::unique_ptr<TAssistOption> held = s1->Options.Detach(1);
    ASSERT_EQ(held.get(), middle);
    EXPECT_EQ(OptionIds(*s1), (std::vector<std::string>{"S1.1", "S1.3"}));
    EXPECT_EQ(s1->Options.Insert(1, std::move(held)), middle);
    EXPECT_EQ(OptionIds(*s1), (std::vector<std::string>{"S1.1", "S1.2", "S1.3"}));
    EXPECT_EQ(middle->Notes.Item(0)->Text, "keep me");

    // Put on another screen, the option's owner follows.
    TAssistScreen* s2 = ReadScreen(root, "S2", {});
    s2->Options.Insert(0, s1->Options.Detach(1));
    EXPECT_EQ(middle->Owner, s2);
    EXPECT_EQ(middle->Root, &root);
    EXPECT_FALSE(root.Changed);
    EXPECT_THROW(s2->Options.Insert(5, s1->Options.Detach(0)), std::out_of_range);
}

TEST(Notes, AddInsertMoveDetachAndDelete) {
    TNotes notes;
    for (const char* name : {"a", "b", "c"})
        notes.Add()->Name = name;
    auto names = [&notes] {
        std::string out;
        for (const TNote& note : notes)
            out += note.Name;
        return out;
    };
    EXPECT_EQ(names(), "abc");
    EXPECT_TRUE(notes.Move(0, 2));
    EXPECT_EQ(names(), "bca");
    std::unique_ptr<TNote> c = notes.Detach(1);
    EXPECT_EQ(c->Name, "c");
    EXPECT_EQ(names(), "ba");
    notes.Insert(0, std::move(c));
    EXPECT_EQ(names(), "cba");
    EXPECT_TRUE(notes.Delete(1));
    EXPECT_FALSE(notes.Delete(2));
    EXPECT_EQ(names(), "ca");
    notes.Clear();
    EXPECT_EQ(notes.Count(), 0);
    EXPECT_TRUE(notes.Empty());

    TNote* fresh = notes.Add();
    EXPECT_EQ(fresh->Name + fresh->Type + fresh->Text + fresh->ID, "");
}

TEST(Options, ReaderCreatesOptionsWithoutGeneratedIDs) {
    TAssistRoot root(Ann);
    TAssistScreen* screen = ReadScreen(root, "S1", {});
    {
        TAssistRoot::LoadingScope loading(root);
        for (int i = 0; i < 20000; ++i) {
            TAssistOption* option = TAssistOption::Create(*screen);
            EXPECT_EQ(option->ID, "");
            option->ID = "S1." + std::to_string(i + 1);
        }
    }
    EXPECT_EQ(TAssistOption::Create(*screen)->ID, "S1.20001");
}
