// Writing assistants as document text: the exact elements, attributes and order, and the rules for
// descriptions, scripts and empty values.
#include "filetesthelpers.h"
#include "model/fileformat.h"
#include "tagfile/xmltagfileout.h"

#include <gtest/gtest.h>

using namespace filetest;

namespace {
class FileWrite : public FileTest {};

// The lines of the output that lie between the first line containing `from` and the next line
// containing `to`, both included, without their indentation.
std::string Section(const std::string& text, const std::string& from, const std::string& to) {
    const std::size_t start = text.rfind('\n', text.find(from)) + 1;
    const std::size_t end = text.find('\n', text.find(to, start));
    std::string out;
    std::istringstream lines(text.substr(start, end - start));
    for (std::string line; std::getline(lines, line);)
        out += Trim(line) + "\n";
    return out;
}
} // namespace

TEST_F(FileWrite, NewAssistantSavedAtOnceGivesTheDefaultElementsOnly) {
    TAssistRoot root(Ann);
    root.Changed = true;
    const std::string text = root.SaveToText();
    const std::string code = UIntToStr(root.AuthorCode);
    EXPECT_EQ(text, Declaration +
                        "\n"
                        "<ASSISTANT NAME=\"A1\" VERSION=\"1\" BACKWARDS=\"0\">\n"
                        "\t<AUTHOR NAME=\"" +
                        Ann + "\" CODE=\"" + code +
                        "\">Ann Lee</AUTHOR>\n"
                        "\t<MODIFIER NAME=\"" +
                        Ann + "\" CODE=\"" + code +
                        "\"/>\n"
                        "\t<COPYRIGHT>Copyright (c) 2005</COPYRIGHT>\n"
                        "\t<CAPTION>Assistant A1</CAPTION>\n"
                        "</ASSISTANT>\n");
    EXPECT_FALSE(root.Changed);
    EXPECT_EQ(root.AuthorCode, root.Signature());
}

TEST_F(FileWrite, EveryElementInItsOrder) {
    TAssistRoot root(Ann);
    root.BuildDate = "20050102";
    root.Version = "2.1";
    root.FirstScreen = "S1";
    root.Description = {"  first line  ", "", "   \t", "second"};
    TAssistScreen* screen = TAssistScreen::Create(root);
    screen->Image = "pic.png";
    screen->Description = {"screen text"};
    TAssistOption* option = TAssistOption::Create(*screen);
    option->Caption = "Go on";
    option->Description = {"why"};
    option->Script = "a\r\rb";
    option->Action = akInternet;
    option->Command = "http://x/?a=1&b=2";
    TNote* note = option->Notes.Add();
    note->Name = "N";
    note->Type = "Safety";
    note->ID = "7";
    note->Text = "careful";
    TAssistOption* bare = TAssistOption::Create(*screen);
    bare->ID.clear();
    TAssistScreen* noId = TAssistScreen::Create(root);
    noId->ID.clear();
    noId->Caption.clear();

    const std::string text = root.SaveToText();
    const std::string code = UIntToStr(root.AuthorCode);
    EXPECT_EQ(Section(text, "<ASSISTANT", "</ASSISTANT>"),
              "<ASSISTANT NAME=\"A1\" VERSION=\"1\" BACKWARDS=\"0\">\n"
              "<AUTHOR NAME=\"" +
                  Ann + "\" CODE=\"" + code +
                  "\">Ann Lee</AUTHOR>\n"
                  "<MODIFIER NAME=\"" +
                  Ann + "\" CODE=\"" + code +
                  "\"/>\n"
                  "<BUILDDATE>20050102</BUILDDATE>\n"
                  "<VERSION>2.1</VERSION>\n"
                  "<COPYRIGHT>Copyright (c) 2005</COPYRIGHT>\n"
                  "<FIRST>S1</FIRST>\n"
                  "<CAPTION>Assistant A1</CAPTION>\n"
                  "<DESCRIPTION>first line</DESCRIPTION>\n"
                  "<DESCRIPTION>second</DESCRIPTION>\n"
                  "<SCREEN NAME=\"S1\">\n"
                  "<CAPTION>Screen 1</CAPTION>\n"
                  "<IMAGE>pic.png</IMAGE>\n"
                  "<DESCRIPTION>screen text</DESCRIPTION>\n"
                  "<OPTION NAME=\"S1.1\">\n"
                  "<CAPTION>Go on</CAPTION>\n"
                  "<DESCRIPTION>why</DESCRIPTION>\n"
                  "<SCRIPT>a<P/>b</SCRIPT>\n"
                  "<ACTION TYPE=\"INTERNET\" COMMAND=\"http://x/?a=1&amp;b=2\"/>\n"
                  "<NOTES NAME=\"N\" TYPE=\"Safety\" ID=\"7\">careful</NOTES>\n"
                  "</OPTION>\n"
                  "<OPTION NAME=\"\">\n"
                  "<ACTION TYPE=\"GOTO\" COMMAND=\"\"/>\n"
                  "</OPTION>\n"
                  "</SCREEN>\n"
                  "<SCREEN/>\n"
                  "</ASSISTANT>\n");
}

TEST_F(FileWrite, AssistantWithoutIdIsWrittenWithoutNameAndReadsBackWithEmptyId) {
    TAssistRoot root(Ann);
    root.ID.clear();
    const std::string text = root.SaveToText();
    EXPECT_NE(text.find("<ASSISTANT VERSION=\"1\" BACKWARDS=\"0\">"), std::string::npos) << text;
    TAssistRoot back(Ann);
    LoadText(back, text);
    EXPECT_EQ(back.ID, "");
    EXPECT_EQ(back.Caption, "Assistant A1");
}

TEST_F(FileWrite, ScriptLinesAreTrimmedAndSeparatedByEmptyP) {
    struct Case {
        std::string script;
        std::string element; // the SCRIPT element as written
    };
    const std::vector<Case> cases = {
        {"a", "<SCRIPT>a</SCRIPT>"},
        {"a\r\rb", "<SCRIPT>a<P/>b</SCRIPT>"},
        {"  a  \r   \r\t b \r\r", "<SCRIPT>a<P/>b</SCRIPT>"},
        {"\r\n x = 1\r\n y = 2\r\n", "<SCRIPT>x = 1<P/>y = 2</SCRIPT>"},
        {"if a < b && c > d then", "<SCRIPT>if a &lt; b &amp;&amp; c &gt; d then</SCRIPT>"},
        {"one\rtwo\rthree", "<SCRIPT>one<P/>two<P/>three</SCRIPT>"},
        {" \r \r ", "<SCRIPT/>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Visible(c.script));
        TAssistRoot root(Ann);
        TAssistOption* option = TAssistOption::Create(*TAssistScreen::Create(root));
        option->Script = c.script;
        const std::string text = root.SaveToText();
        EXPECT_EQ(Section(text, "<SCRIPT", "SCRIPT"), c.element + "\n");
    }
}

TEST_F(FileWrite, SavingRecordsTheCurrentUserAsModifier) {
    TAssistRoot root(Ann);
    root.AuthorID = Bob;
    root.AuthorCode = 4294967295u;
    root.ModifierID = Bob;
    const std::string text = root.SaveToText();
    EXPECT_NE(text.find("<AUTHOR NAME=\"" + Bob + "\" CODE=\"4294967295\">"), std::string::npos) << text;
    EXPECT_NE(text.find("<MODIFIER NAME=\"" + Ann + "\" CODE=\"" + UIntToStr(root.Signature()) + "\"/>"),
              std::string::npos)
        << text;
}

TEST_F(FileWrite, TextElementIsLeftOutWhenEmpty) {
    TXMLTagFileOut out;
    out.StartElement("R");
    WriteTextElement(out, "EMPTY", "");
    WriteTextElement(out, "FULL", "x & y");
    out.EndElement();
    EXPECT_EQ(out.Finish(), Declaration + "\n<R>\n\t<FULL>x &amp; y</FULL>\n</R>\n");
}
