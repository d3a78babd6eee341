#include "model/assistroot.h"
#include "model/signature.h"
#include "support/clock.h"

#include <gtest/gtest.h>

#include <functional>

namespace {
const std::string Ann = "{1F0C2B7E-0000-4000-8000-00000000000A} Ann Lee";
const std::string Bob = "{7D2E9A41-0000-4000-8000-00000000000B} Bob Ray";

struct FixedDate : ::testing::Test {
    void SetUp() override {
        SetTodaySource([] {
            return std::chrono::year_month_day{std::chrono::year{2005}, std::chrono::month{1},
                                               std::chrono::day{1}};
        });
    }
    void TearDown() override { SetTodaySource({}); }
};
} // namespace

TEST(SignatureAdd, KnownValues) {
    struct Case {
        std::uint32_t start;
        std::string text;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {0, "abc", 1650670983u},
        {0, "ABC", 1650670983u},
        {0, "a b-c", 1650670983u},
        {0, "\ta\r\nb{c}.", 1650670983u},
        {0,
         "a\xC3\xA9"
         "bc\xFF",
         1650670983u}, // bytes from 0x80 on are skipped
        // Digits are widened with 0xFFFFFF80 before folding, so they differ from any letter.
        {0, "0", 4289749661u},
        {0, "1", 4289815197u},
        {0, "S12", 4208226937u},
        {0, "s-1-2", 4208226937u},
        {5, "z", 7996672u},
        {0xFFFFFFFFu, "Zz9", 2890037222u},
        {12345, "", 12345u},
        {12345, " ,.;!?\r\n", 12345u},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(SignatureAdd(c.start, c.text), c.expected);
    }
}

TEST(SignatureAdd, PolynomialAlternationRestartsForEveryText) {
    // "a" then "bc" folds b with the first polynomial again, so it differs from "abc" in one text.
    EXPECT_EQ(SignatureAdd(SignatureAdd(0, "a"), "bc"), 1254540951u);
    EXPECT_NE(SignatureAdd(SignatureAdd(0, "a"), "bc"), SignatureAdd(0, "abc"));
}

using RootSignature = FixedDate;

TEST_F(RootSignature, FoldsTheTopLevelTextsInOrder) {
    TAssistRoot root(Ann);
    root.Description = {"first line", "second line"};
    root.Caption = "My assistant";
    root.ID = "A7";
    root.FirstScreen = "S1";
    root.AuthorName = "Ann";
    root.AuthorID = Ann;
    root.ModifierID = Bob;
    root.BuildDate = "20050101";
    root.Version = "1.2";
    root.Copyright = "(c) Ann";

    std::uint32_t expected = 0;
    for (const char* text : {"first line", "second line", "My assistant", "A7", "S1", "Ann", Ann.c_str(),
                             Bob.c_str(), "20050101", "1.2", "(c) Ann"})
        expected = SignatureAdd(expected, text);
    EXPECT_EQ(root.Signature(), expected);
}

TEST_F(RootSignature, EveryCoveredFieldChangesIt) {
    const std::pair<const char*, std::function<void(TAssistRoot&)>> edits[] = {
        {"Description", [](TAssistRoot& r) { r.Description.push_back("x"); }},
        {"Caption", [](TAssistRoot& r) { r.Caption += "x"; }},
        {"ID", [](TAssistRoot& r) { r.ID = "A2"; }},
        {"FirstScreen", [](TAssistRoot& r) { r.FirstScreen = "S1"; }},
        {"AuthorName", [](TAssistRoot& r) { r.AuthorName += "x"; }},
        {"AuthorID", [](TAssistRoot& r) { r.AuthorID = Bob; }},
        {"ModifierID", [](TAssistRoot& r) { r.ModifierID = Bob; }},
        {"BuildDate", [](TAssistRoot& r) { r.BuildDate = "20050102"; }},
        {"Version", [](TAssistRoot& r) { r.Version = "2"; }},
        {"Copyright", [](TAssistRoot& r) { r.Copyright += "x"; }},
    };
    for (const auto& [field, edit] : edits) {
        SCOPED_TRACE(field);
        TAssistRoot root(Ann);
        const std::uint32_t before = root.Signature();
        edit(root);
        EXPECT_NE(root.Signature(), before);
    }
}

TEST_F(RootSignature, DoesNotCoverScreensOptionsOrNotes) {
    TAssistRoot root(Ann);
    const std::uint32_t before = root.Signature();
    {
        TAssistRoot::LoadingScope loading(root); // keeps the build date as it is
        TAssistScreen* screen = TAssistScreen::Create(root);
        screen->ID = "S1";
        screen->Caption = "Welcome";
        TAssistOption* option = TAssistOption::Create(*screen);
        option->Caption = "Next";
        option->Notes.Add()->Text = "Careful";
    }
    EXPECT_EQ(root.Signature(), before);
    root.Screens.Item(0)->Caption = "Changed welcome";
    EXPECT_EQ(root.Signature(), before);
}

TEST_F(RootSignature, UpdateSignaturesRecordsTheCurrentUserAsModifier) {
    // The author saves: both codes are refreshed, also when the IDs differ only in letter case.
    TAssistRoot own(Ann);
    own.AuthorID = "{1f0c2b7e-0000-4000-8000-00000000000a} ann lee";
    own.Caption = "Edited";
    own.UpdateSignatures();
    EXPECT_EQ(own.ModifierID, Ann);
    EXPECT_EQ(own.ModifierCode, own.Signature());
    EXPECT_EQ(own.AuthorCode, own.ModifierCode);

    // Someone else saves: the author's ID and code stay.
    TAssistRoot other(Bob);
    other.AuthorID = Ann;
    other.AuthorCode = 42;
    other.ModifierID = Ann;
    other.UpdateSignatures();
    EXPECT_EQ(other.AuthorID, Ann);
    EXPECT_EQ(other.AuthorCode, 42u);
    EXPECT_EQ(other.ModifierID, Bob);
    EXPECT_EQ(other.ModifierCode, other.Signature());
    EXPECT_FALSE(other.ModifierSignatureChanged());
    EXPECT_TRUE(other.AuthorSignatureChanged());
}

TEST_F(RootSignature, ChangedChecks) {
    struct Case {
        const char* name;
        std::string authorID, modifierID;
        bool authorCodeMatches, modifierCodeMatches;
        bool authorChanged, modifierChanged;
    };
    const Case cases[] = {
        {"both match", Ann, Bob, true, true, false, false},
        {"author code stale", Ann, Bob, false, true, true, false},
        {"modifier code stale", Ann, Bob, true, false, false, true},
        {"no author, no modifier", "", "", false, false, false, false},
        {"no modifier", Ann, "", false, false, true, false},
        // The modifier's check is skipped when the modifier is the author (letter case ignored).
        {"modifier is author", Ann, Ann, false, false, true, false},
        {"modifier is author in other case", Ann, "{1F0C2B7E-0000-4000-8000-00000000000A} ANN LEE", true,
         false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TAssistRoot root(Ann);
        root.AuthorID = c.authorID;
        root.ModifierID = c.modifierID;
        const std::uint32_t s = root.Signature();
        root.AuthorCode = c.authorCodeMatches ? s : s + 1;
        root.ModifierCode = c.modifierCodeMatches ? s : s + 1;
        EXPECT_EQ(root.AuthorSignatureChanged(), c.authorChanged);
        EXPECT_EQ(root.ModifierSignatureChanged(), c.modifierChanged);
    }
}
