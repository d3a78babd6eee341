// Writing an assistant and reading the text back gives the same assistant, apart from the documented
// normalisations (trimmed description lines and note texts, dropped empty script lines).
#include "filetesthelpers.h"

#include <gtest/gtest.h>

using namespace filetest;

namespace {
class FileRoundTrip : public FileTest {
protected:
    // Saves `root`, reads the text into a new assistant of the same user and returns it.
    static std::unique_ptr<TAssistRoot> RoundTrip(TAssistRoot& root) {
        auto back = std::make_unique<TAssistRoot>(root.UserID);
        LoadText(*back, root.SaveToText());
        return back;
    }
};

// Every field set, every action kind used, and texts with markup characters, non-ASCII characters,
// quotes, tabs and line breaks.
void Fill(TAssistRoot& root) {
    root.ID = "Main \"assistant\" <1>";
    root.Caption = "R&D \xC3\xA9tude \xE2\x80\x94 caf\xC3\xA9 \xF0\x9F\x98\x80";
    root.Description = {"first & <second>", "'quoted' \"double\""};
    root.FirstScreen = "S2";
    root.AuthorName = "Ann O'Lee";
    root.AuthorID = Bob;
    root.AuthorCode = 4294967295u;
    root.BuildDate = "20040229";
    root.Version = "3.14";
    root.Copyright = "\xC2\xA9 2005 A & B";
    for (int s = 0; s < 3; ++s) {
        TAssistScreen* screen = TAssistScreen::Create(root);
        screen->Caption = "Screen <" + std::to_string(s) + ">";
        screen->Image = s == 1 ? "" : "img\\pic " + std::to_string(s) + ".png";
        screen->Description = {"line a", "line b"};
        for (int i = 0; i < ActionKindCount; ++i) {
            TAssistOption* option = TAssistOption::Create(*screen);
            option->Action = static_cast<TActionKind>(i);
            option->Caption = "Go \"" + std::string(ActionKeywords[i]) + "\"";
            option->Command = "cmd\t" + std::to_string(i) + " & 'x' \"y\"";
            option->Description = {"d1", "\xD0\x9F\xD1\x80\xD0\xB8"};
        }
        TAssistOption* scripted = screen->Options.Item(akScript);
        scripted->Script = "if a < b then\rc = \"&\"\rend";
        TAssistOption* noted = screen->Options.Item(akNote);
        for (int n = 0; n < 2; ++n) {
            TNote* note = noted->Notes.Add();
            note->Name = "Note " + std::to_string(n) + " <&>";
            note->Type = n == 0 ? "Safety" : "Environmental/Regulations";
            note->ID = "{id-" + std::to_string(n) + "}";
            note->Text = "First line\r\nSecond & <third>\r\n\r\n\xE2\x82\xAC 5";
        }
    }
    root.Screens.Item(1)->ID.clear(); // a screen without an ID is written without NAME
}
} // namespace

TEST_F(FileRoundTrip, EveryFieldComesBack) {
    TAssistRoot root(Ann);
    Fill(root);
    std::unique_ptr<TAssistRoot> back = RoundTrip(root);
    // The original now carries the codes of its save; the copy must equal it field by field.
    EXPECT_EQ(Dump(*back), Dump(root));
    EXPECT_EQ(back->AuthorCode, 4294967295u);
    EXPECT_EQ(back->ModifierID, Ann);
    EXPECT_EQ(back->Screens.Item(1)->ID, "");
    EXPECT_EQ(back->Screens.Item(0)->Options.Item(akScript)->Script, "if a < b then\rc = \"&\"\rend");
    EXPECT_EQ(back->Screens.Item(0)->Options.Item(akNote)->Notes.Item(1)->Text,
              "First line\r\nSecond & <third>\r\n\r\n\xE2\x82\xAC 5");
    EXPECT_FALSE(back->Changed);
}

TEST_F(FileRoundTrip, SavingWhatWasReadGivesTheSameText) {
    TAssistRoot root(Ann);
    Fill(root);
    const std::string first = root.SaveToText();
    TAssistRoot back(Ann);
    LoadText(back, first);
    EXPECT_EQ(back.SaveToText(), first);
}

TEST_F(FileRoundTrip, TextsAreNormalisedAsDocumented) {
    struct Case {
        std::string name;
        std::vector<std::string> description;
        std::string script;
        std::string note;
        std::string expected; // description, script and note text after the round trip
    };
    const std::vector<Case> cases = {
        {"blank lines and surrounding blanks",
         {"  one  ", "", "   ", "\ttwo"},
         "  a  \r\r  b  ",
         "  n  ",
         "[<one><two>] a\\rb n"},
        {"only blanks", {" "}, " \r ", " \r\n ", "[] (none) "},
        {"line breaks kept inside notes",
         {"x"},
         "a\rb\rc",
         "a\r\nb\nc\rd",
         "[<x>] a\\rb\\rc a\\r\\nb\\nc\\rd"},
        {"markup characters", {"<&>\"'"}, "<&>\"'", "<&>\"'", "[<<&>\"'>] <&>\"' <&>\"'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TAssistRoot root(Ann);
        TAssistOption* option = TAssistOption::Create(*TAssistScreen::Create(root));
        option->Description = c.description;
        option->Script = c.script;
        option->Notes.Add()->Text = c.note;
        std::unique_ptr<TAssistRoot> back = RoundTrip(root);
        const TAssistOption& read = *back->Screens.Item(0)->Options.Item(0);
        const std::string script = read.Script.empty() ? "(none)" : Visible(read.Script);
        EXPECT_EQ(DescriptionDump(read.Description) + " " + script + " " + Visible(read.Notes.Item(0)->Text),
                  c.expected);
    }
}
