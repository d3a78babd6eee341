#include "model/actionkind.h"
#include "model/assistroot.h"
#include "support/clock.h"

#include <gtest/gtest.h>

namespace {
const std::string Ann = "{1F0C2B7E-0000-4000-8000-00000000000A} Ann Lee";

class ModelRoot : public ::testing::Test {
protected:
    void SetUp() override { SetDate(2005, 1, 1); }
    void TearDown() override { SetTodaySource({}); }
    static void SetDate(int y, unsigned m, unsigned d) {
        SetTodaySource([=] {
            return std::chrono::year_month_day{std::chrono::year{y}, std::chrono::month{m},
                                               std::chrono::day{d}};
        });
    }
};
} // namespace

TEST_F(ModelRoot, NewAssistantDefaults) {
    TAssistRoot root(Ann);
    EXPECT_EQ(root.ID, "A1");
    EXPECT_EQ(root.Caption, "Assistant A1");
    EXPECT_TRUE(root.Description.empty());
    EXPECT_EQ(root.Root, &root);
    EXPECT_TRUE(root.Expanded);
    EXPECT_EQ(root.Screens.Count(), 0);
    EXPECT_EQ(root.FileName, "");
    EXPECT_EQ(root.FirstScreen, "");
    EXPECT_FALSE(root.Changed);
    EXPECT_EQ(root.AuthorName, "Ann Lee");
    EXPECT_EQ(root.Copyright, "Copyright (c) 2005");
    EXPECT_EQ(root.BuildDate, "");
    EXPECT_EQ(root.Version, "");
    EXPECT_EQ(root.AuthorID, Ann);
    EXPECT_EQ(root.ModifierID, Ann);
    EXPECT_EQ(root.UserID, Ann);
    EXPECT_EQ(root.ModifierCode, root.Signature());
    EXPECT_EQ(root.AuthorCode, root.ModifierCode);
    EXPECT_FALSE(root.IsLoading());
}

TEST_F(ModelRoot, AuthorNameIsTheUserIDAfterItsFirstBlank) {
    struct Case {
        std::string userID, authorName;
    };
    const Case cases[] = {
        {Ann, "Ann Lee"},
        {"{1F0C2B7E-0000-4000-8000-00000000000A}", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.userID);
        TAssistRoot root(c.userID);
        EXPECT_EQ(root.AuthorName, c.authorName);
        EXPECT_FALSE(root.Changed);
    }
}

TEST_F(ModelRoot, MarkChangedSetsChangedAndStampsTodaysDate) {
    TAssistRoot root(Ann);
    TAssistScreen* screen = nullptr;
    {
        TAssistRoot::LoadingScope loading(root);
        screen = TAssistScreen::Create(root);
    }
    TAssistOption* option = TAssistOption::Create(*screen);
    ASSERT_FALSE(root.Changed);

    struct Case {
        TAssistBase* item;
        int y;
        unsigned m, d;
        const char* stamp;
    };
    const Case cases[] = {
        {&root, 2005, 1, 1, "20050101"},
        {screen, 2024, 12, 31, "20241231"},
        {option, 1999, 7, 4, "19990704"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stamp);
        root.Changed = false;
        SetDate(c.y, c.m, c.d);
        c.item->MarkChanged();
        EXPECT_TRUE(root.Changed);
        EXPECT_EQ(root.BuildDate, c.stamp);
    }
}

TEST_F(ModelRoot, NothingIsMarkedOrStampedWhileLoading) {
    TAssistRoot root(Ann);
    root.BuildDate = "19991231"; // as read from a file
    {
        TAssistRoot::LoadingScope outer(root);
        {
            TAssistRoot::LoadingScope inner(root); // scopes nest
            TAssistScreen::Create(root);
        }
        EXPECT_TRUE(root.IsLoading());
        TAssistScreen* screen = TAssistScreen::Create(root);
        TAssistOption::Create(*screen);
        screen->MarkChanged();
        root.DeleteScreen(root.Screens.Item(0));
    }
    EXPECT_FALSE(root.IsLoading());
    EXPECT_FALSE(root.Changed);
    EXPECT_EQ(root.BuildDate, "19991231");
    EXPECT_EQ(root.Screens.Count(), 1);

    root.MarkChanged();
    EXPECT_TRUE(root.Changed);
    EXPECT_EQ(root.BuildDate, "20050101");
}

TEST(ActionKinds, KeywordsAndTextsFollowTheDropDownOrder) {
    struct Case {
        TActionKind kind;
        int index;
        const char* keyword;
        const char* text;
    };
    const Case cases[] = {
        {akGoto, 0, "GOTO", "Go to another screen"},
        {akGotoButton, 1, "GOTOBUTTON", "Button to another screen"},
        {akAssistant, 2, "ASSISTANT", "Go to another assistant"},
        {akRun, 3, "RUN", "Run a Brakko tool"},
        {akBrowse, 4, "BROWSE", "Browse a document"},
        {akInternet, 5, "INTERNET", "Go to a web page"},
        {akScript, 6, "SCRIPT", "Run script"},
        {akNote, 7, "NOTE", "Note only"},
        {akExec, 8, "EXEC", "Execute program/file"},
    };
    static_assert(sizeof(TActionKind) == 1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keyword);
        EXPECT_EQ(static_cast<int>(c.kind), c.index);
        EXPECT_EQ(ActionKeyword(c.kind), c.keyword);
        EXPECT_EQ(ActionText(c.kind), c.text);
        EXPECT_EQ(ActionKindFromKeyword(c.keyword), c.kind);
    }
    EXPECT_EQ(ActionKeyword(static_cast<TActionKind>(9)), "");
    EXPECT_EQ(ActionText(static_cast<TActionKind>(200)), "");
}

TEST(ActionKinds, KeywordLookUpIsExact) {
    for (const char* keyword : {"goto", "Goto", "GOTO ", "", "JUMP"}) {
        SCOPED_TRACE(keyword);
        EXPECT_FALSE(ActionKindFromKeyword(keyword).has_value());
    }
}
