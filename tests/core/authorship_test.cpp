#include "model/assistroot.h"
#include "model/authorship.h"
#include "support/clock.h"

#include <gtest/gtest.h>

#include <memory>

namespace {
const std::string Ann = "{1F0C2B7E-0000-4000-8000-00000000000A} Ann Lee";
const std::string AnnUpper = "{1F0C2B7E-0000-4000-8000-00000000000A} ANN LEE";
const std::string Bob = "{7D2E9A41-0000-4000-8000-00000000000B} Bob Ray";
const std::string Cid = "{0C3D5E6F-0000-4000-8000-00000000000C} Cid Moor";

void SetDay(unsigned day) {
    SetTodaySource([day] {
        return std::chrono::year_month_day{std::chrono::year{2005}, std::chrono::month{1},
                                           std::chrono::day{day}};
    });
}

// Saving signs the assistant and clears the changed flag, as the file writer does.
void Save(TAssistRoot& root) {
    root.UpdateSignatures();
    root.Changed = false;
}

// Opening a saved assistant as `user`: a fresh assistant for that user that takes over every top-level
// field an assistant file stores (the user ID and the file name are not in the file).
std::unique_ptr<TAssistRoot> Open(const TAssistRoot& saved, const std::string& user) {
    auto root = std::make_unique<TAssistRoot>(user);
    root->ID = saved.ID;
    root->Caption = saved.Caption;
    root->Description = saved.Description;
    root->FirstScreen = saved.FirstScreen;
    root->AuthorName = saved.AuthorName;
    root->AuthorID = saved.AuthorID;
    root->AuthorCode = saved.AuthorCode;
    root->ModifierID = saved.ModifierID;
    root->ModifierCode = saved.ModifierCode;
    root->BuildDate = saved.BuildDate;
    root->Version = saved.Version;
    root->Copyright = saved.Copyright;
    root->Changed = false;
    return root;
}

class Authorship : public ::testing::Test {
protected:
    void SetUp() override { SetDay(1); }
    void TearDown() override { SetTodaySource({}); }
};
} // namespace

TEST(UserIDName, IsTheTextAfterTheFirstBlank) {
    struct Case {
        std::string id, name;
    };
    const Case cases[] = {
        {Ann, "Ann Lee"}, {"{GUID}", ""}, {"", ""}, {"{GUID} ", ""}, {"{GUID}  two blanks", " two blanks"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(UserIDName(c.id), c.name);
    }
}

TEST_F(Authorship, LifeOfAnAssistantPassedBetweenTwoUsers) {
    // Ann creates and saves; opening it again tells her nothing, also on a later day.
    TAssistRoot created(Ann);
    TAssistScreen::Create(created)->Caption = "Welcome";
    created.Caption = "Pump maintenance";
    Save(created);
    SetDay(9);
    auto annAgain = Open(created, Ann);
    EXPECT_EQ(AuthorshipNotices(*annAgain), "");
    EXPECT_EQ(annAgain->BuildDate, "20050101");

    // Bob opens it: saving will record him as the modifier.
    auto bobs = Open(created, Bob);
    EXPECT_EQ(AuthorshipNotices(*bobs), "If you save the assistant, you will be recorded as the modifier.");
    bobs->Caption = "Pump maintenance, revised";
    bobs->MarkChanged();
    Save(*bobs);
    EXPECT_EQ(bobs->AuthorID, Ann);
    EXPECT_EQ(bobs->ModifierID, Bob);

    // Ann opens Bob's version: created by her, modified by Bob, and her own code no longer matches.
    // Bob's code matches, so there is no signature-mismatch warning.
    auto annLater = Open(*bobs, Ann);
    EXPECT_EQ(AuthorshipNotices(*annLater),
              "This assistant was created by Ann Lee\r"
              "but has been modified by Bob Ray.\r"
              "\r"
              "If you save the assistant, you will be recorded as the modifier.\r"
              "\r"
              "Warning: this assistant has been modified by Bob Ray\r"
              "after begin authored by Ann Lee");
    EXPECT_FALSE(annLater->Changed);
}

TEST_F(Authorship, NoticesForTheRecordedIdentitiesAndCodes) {
    struct Case {
        const char* name;
        std::string authorID, modifierID, userID;
        bool authorCodeMatches, modifierCodeMatches;
        std::string notices;
    };
    const std::string noAuthor = "There is no author ID recorded for this Assistant.\r"
                                 "If you save the assistant, you will be recorded as the author.";
    const std::string noModifier = "There is no modifier ID recorded for this Assistant.\r"
                                   "If you save the assistant, you will be recorded as the modifier.";
    const std::string willBeModifier = "If you save the assistant, you will be recorded as the modifier.";
    const std::string mismatch = "Warning: this assistant signature does not match.\r"
                                 "The assistant has been modified since last edited.\r"
                                 "If you save the file, the signature will be reset.";
    const Case cases[] = {
        {"unchanged, opened by its author", Ann, Ann, Ann, true, true, ""},
        {"user IDs differ only in letter case", Ann, AnnUpper, Ann, true, true, ""},
        // Both IDs empty are equal, so there is no created-by notice.
        {"no author and no modifier", "", "", Cid, false, false, noAuthor + "\r\r" + noModifier},
        // The modifier's name is empty: the point follows the text directly.
        {"author but no modifier", Ann, "", Ann, true, false,
         noModifier + "\r\rThis assistant was created by Ann Lee\rbut has been modified by ."},
        {"no author but a modifier", "", Bob, Bob, false, true,
         noAuthor + "\r\rThis assistant was created by \rbut has been modified by Bob Ray."},
        {"same author and modifier, edited by hand", Ann, Ann, Ann, false, false,
         "Warning: this assistant has been modified by Ann Lee\rafter begin authored by Ann Lee"},
        {"opened by someone else", Ann, Ann, Bob, true, true, willBeModifier},
        {"modified by someone else, both codes stale, opened by a third", Ann, Bob, Cid, false, false,
         "This assistant was created by Ann Lee\rbut has been modified by Bob Ray.\r\r" + willBeModifier +
             "\r\r" + mismatch +
             "\r\rWarning: this assistant has been modified by Bob Ray\rafter begin authored by Ann Lee"},
        {"modifier's code stale, opened by the modifier", Ann, Bob, Bob, true, false,
         "This assistant was created by Ann Lee\rbut has been modified by Bob Ray.\r\r" + mismatch},
        {"IDs without a name", "{A}", "{B}", "{B}", true, true,
         "This assistant was created by \rbut has been modified by ."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TAssistRoot root(c.userID);
        root.AuthorID = c.authorID;
        root.ModifierID = c.modifierID;
        const std::uint32_t s = root.Signature();
        root.AuthorCode = c.authorCodeMatches ? s : s ^ 1u;
        root.ModifierCode = c.modifierCodeMatches ? s : s ^ 1u;
        root.Changed = true; // must survive untouched

        EXPECT_EQ(AuthorshipNotices(root), c.notices);
        EXPECT_EQ(root.AuthorID, c.authorID.empty() ? c.userID : c.authorID);
        EXPECT_EQ(root.ModifierID, c.modifierID.empty() ? c.userID : c.modifierID);
        EXPECT_EQ(root.AuthorCode, c.authorCodeMatches ? s : s ^ 1u);
        EXPECT_TRUE(root.Changed);
    }
}

TEST_F(Authorship, OutsideEditsOfTheCaptionAreFoundOnlyWhenLettersOrDigitsChange) {
    struct Case {
        std::string caption;
        bool noticed;
    };
    const Case cases[] = {
        {"Pump maintenance 2", false}, {"PUMP MAINTENANCE 2", false}, {"Pump-maintenance, 2!", false},
        {"Pump maintenance 3", true},  {"Pump maintenances 2", true},
    };
    TAssistRoot saved(Ann);
    saved.Caption = "Pump maintenance 2";
    Save(saved);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        auto opened = Open(saved, Ann);
        opened->Caption = c.caption;
        EXPECT_EQ(AuthorshipNotices(*opened).empty(), !c.noticed);
    }
}
