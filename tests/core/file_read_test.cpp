// Reading documents into assistants: the error messages, the tolerance rules, the conversions of
// scripts, notes, codes and action keywords, and that nothing in a file is passed over silently.
#include "filetesthelpers.h"
#include "model/fileformat.h"
#include "tagfile/xmltagfilein.h"

#include <gtest/gtest.h>

using namespace filetest;

namespace {
class FileRead : public FileTest {};

// The assistant read from `content` placed inside the ASSISTANT root.
struct Loaded {
    TAssistRoot root{Ann};
    explicit Loaded(const std::string& content) { LoadText(root, Doc(content)); }
    TAssistOption& Option(int screen = 0, int option = 0) {
        return *root.Screens.Item(screen)->Options.Item(option);
    }
};
} // namespace

TEST_F(FileRead, EveryErrorHasItsExactMessage) {
    struct Case {
        std::string name;
        std::string text;
        std::string message;
    };
    const std::string invalid = "[AS021] Assistant stream does not contain valid XML.";
    const std::vector<Case> cases = {
        {"empty file", "", invalid},
        {"plain text", "this is not an assistant", invalid},
        {"only a declaration", Declaration, invalid},
        {"truncated after some screens",
         Declaration + "<ASSISTANT NAME=\"A1\"><SCREEN NAME=\"S1\"></SCREEN><SCREEN NAME=\"S2\">", invalid},
        {"root FOO", Declaration + "<FOO/>", "[AS022] Unexpected tag \"FOO\" in assistant stream."},
        {"root in lower case", "<assistant/>", "[AS022] Unexpected tag \"assistant\" in assistant stream."},
        {"FOO inside ASSISTANT", Doc("<FOO/>"), "[AS022] Unexpected tag \"FOO\" in assistant stream."},
        {"FOO inside SCREEN", Doc("<SCREEN NAME=\"S1\"><CAPTION>c</CAPTION><FOO>x</FOO></SCREEN>"),
         "[AS022] Unexpected tag \"FOO\" in assistant stream."},
        {"FOO inside OPTION", Doc("<SCREEN><OPTION NAME=\"o\"><FOO/></OPTION></SCREEN>"),
         "[AS022] Unexpected tag \"FOO\" in assistant stream."},
        {"element names are case-sensitive", Doc("<Caption>x</Caption>"),
         "[AS022] Unexpected tag \"Caption\" in assistant stream."},
        {"SCREEN inside SCREEN", Doc("<SCREEN><SCREEN/></SCREEN>"),
         "[AS022] Unexpected tag \"SCREEN\" in assistant stream."},
        {"element inside a text", Doc("<CAPTION>a<B>b</B></CAPTION>"),
         "[AS022] Unexpected tag \"B\" in assistant stream."},
        {"text directly in OPTION", Doc("<SCREEN><OPTION NAME=\"o\">loose words</OPTION></SCREEN>"),
         "[AS023] Unexpected element \"loose words\" in assistant stream."},
        {"text directly in SCREEN", Doc("<SCREEN>stray</SCREEN>"),
         "[AS023] Unexpected element \"stray\" in assistant stream."},
        {"text directly in ASSISTANT", Doc("<![CDATA[raw]]>"),
         "[AS023] Unexpected element \"raw\" in assistant stream."},
        {"VERSION -1", Declaration + "<ASSISTANT NAME=\"A1\" VERSION=\"-1\" BACKWARDS=\"0\"/>",
         "[AS025] Incompatible file version; file is \"-1\", program is \"1\", only backward compatible to "
         "\"0\"."},
        {"BACKWARDS 2", Declaration + "<ASSISTANT NAME=\"A1\" VERSION=\"2\" BACKWARDS=\"2\"/>",
         "[AS026] Incompatible file version; file is backward compatible with \"2\", but program is only "
         "version \"1\"."},
        {"element inside NOTES", Doc("<SCREEN><OPTION><NOTES NAME=\"n\">a<B>x</B></NOTES></OPTION></SCREEN>"),
         "[AS022] Unexpected tag \"B\" in assistant stream."},
        {"P with text inside", Doc("<SCREEN><OPTION><SCRIPT>a<P>x</P>b</SCRIPT></OPTION></SCREEN>"),
         "[AS022] Unexpected tag \"P\" in assistant stream."},
        {"P with an element inside", Doc("<CAPTION>a<P><B/></P></CAPTION>"),
         "[AS022] Unexpected tag \"B\" in assistant stream."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ReadError(c.text), c.message);
    }
}

TEST_F(FileRead, VersionsFromZeroOnAndBackwardsUpToOneAreAccepted) {
    for (const std::string attributes : {
             "VERSION=\"7\" BACKWARDS=\"1\"",
             "VERSION=\"0\" BACKWARDS=\"0\"",
             "",
             "VERSION=\"new\" BACKWARDS=\"old\"",
             "VERSION=\"99999999999\" BACKWARDS=\"99999999999\"",
             "version=\"1\" backwards=\"-4\"",
         }) {
        SCOPED_TRACE(attributes);
        EXPECT_EQ(ReadError("<ASSISTANT NAME=\"A9\" " + attributes + "><CAPTION>c</CAPTION></ASSISTANT>"),
                  "(no error)");
    }
}

TEST_F(FileRead, MissingFieldsStayEmptyAndDefaultsAreNotApplied) {
    Loaded f("<SCREEN><OPTION/></SCREEN>");
    EXPECT_EQ(Dump(f.root), "ID=A1\nCaption=\nDescription=[]\nFirstScreen=\nAuthorName=\nAuthorID=\n"
                            "AuthorCode=0\nModifierID=\nModifierCode=0\nBuildDate=\nVersion=\nCopyright=\n"
                            " Screen=\n  Caption=\n  Image=\n  Description=[]\n"
                            "  Option=\n   Caption=\n   Description=[]\n   Action=GOTO\n   Command=\n"
                            "   Script=\n");
    EXPECT_EQ(f.root.FileName, "");
    EXPECT_EQ(f.root.UserID, Ann);
}

TEST_F(FileRead, ToleranceOrderRepetitionUnknownAttributesAndAttributeCase) {
    Loaded f(
        "<SCREEN name=\"S9\" colour=\"red\">"
        "<OPTION Name=\"o1\"><ACTION command=\"S2\" type=\"GOTOBUTTON\" extra=\"1\"/><CAPTION>first</CAPTION>"
        "<CAPTION>second</CAPTION></OPTION>"
        "<IMAGE>a.png</IMAGE><CAPTION>late</CAPTION></SCREEN>"
        "<CAPTION>one</CAPTION><FIRST>S9</FIRST><CAPTION>two</CAPTION>"
        "<MODIFIER NAME=\"m\" CODE=\"5\">ignored text</MODIFIER><AUTHOR CODE=\"6\" NAME=\"a\">Al</AUTHOR>");
    EXPECT_EQ(f.root.Caption, "two");
    EXPECT_EQ(f.root.FirstScreen, "S9");
    EXPECT_EQ(f.root.ModifierID, "m");
    EXPECT_EQ(f.root.ModifierCode, 5u);
    EXPECT_EQ(f.root.AuthorID, "a");
    EXPECT_EQ(f.root.AuthorCode, 6u);
    EXPECT_EQ(f.root.AuthorName, "Al");
    const TAssistScreen& screen = *f.root.Screens.Item(0);
    EXPECT_EQ(screen.ID, "S9");
    EXPECT_EQ(screen.Caption, "late");
    EXPECT_EQ(screen.Image, "a.png");
    EXPECT_EQ(f.Option().ID, "o1");
    EXPECT_EQ(f.Option().Caption, "second");
    EXPECT_EQ(f.Option().Action, akGotoButton);
    EXPECT_EQ(f.Option().Command, "S2");
}

TEST_F(FileRead, ActionTypeIsMatchedExactly) {
    struct Case {
        std::string types; // TYPE of each ACTION element of the option, in order
        TActionKind expected;
    };
    std::vector<Case> cases;
    for (int i = 0; i < ActionKindCount; ++i)
        cases.push_back({std::string(ActionKeywords[i]), static_cast<TActionKind>(i)});
    cases.push_back({"goto", akGoto});
    cases.push_back({"Script", akGoto});
    cases.push_back({"SCRIPT ", akGoto});
    cases.push_back({"", akGoto});
    cases.push_back({"SCRIPT|bogus", akScript}); // an unknown keyword leaves the action as it was
    cases.push_back({"EXEC|NOTE", akNote});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.types);
        std::string actions;
        std::string rest = c.types;
        while (!rest.empty() || actions.empty()) {
            actions += "<ACTION TYPE=\"" + SplitAt(rest, '|') + "\" COMMAND=\"c\"/>";
        }
        Loaded f("<SCREEN><OPTION>" + actions + "</OPTION></SCREEN>");
        EXPECT_EQ(f.Option().Action, c.expected);
        EXPECT_EQ(f.Option().Command, "c");
    }
}

TEST_F(FileRead, CodesAreReadAs64BitAndCutTo32) {
    struct Case {
        std::string code;
        std::uint32_t expected;
    };
    const std::vector<Case> cases = {
        {"4294967295", 4294967295u},
        {"0", 0},
        {"123", 123},
        {"abc", 0},
        {"", 0},
        {"12x", 0},
        {" 5", 0},
        {"-1", 4294967295u},
        {"4294967296", 0},
        {"4294967297", 1},
        {"99999999999999999999", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        Loaded f("<AUTHOR NAME=\"a\" CODE=\"" + c.code + "\"/><MODIFIER NAME=\"m\" CODE=\"" + c.code +
                 "\"/>");
        EXPECT_EQ(f.root.AuthorCode, c.expected);
        EXPECT_EQ(f.root.ModifierCode, c.expected);
    }
}

TEST_F(FileRead, ScriptTextBecomesCrSeparatedTrimmedLines) {
    struct Case {
        std::string element; // content of SCRIPT
        std::string script;
    };
    const std::vector<Case> cases = {
        {"a<P/>b", "a\rb"},
        {"a<P/><P/>b", "a\r\rb"},
        {"  a  <P/>   b  <P/><P/>", "a\rb"},
        {"<P/><P/>a", "a"},
        {"line one\nline two\n  line three", "line one line two   line three"},
        {"a\r\nb", "a b"},
        {"a&#13;b", "a\rb"},
        {"<![CDATA[x < y]]><P/>z", "x < y\rz"},
        {"a<!-- note --><P/>b", "a\rb"},
        {"a<P><!-- empty --></P>b", "a\rb"},
        {"a<P>   </P>b", "a\rb"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.element);
        Loaded f("<SCREEN><OPTION><SCRIPT>" + c.element + "</SCRIPT></OPTION></SCREEN>");
        EXPECT_EQ(Visible(f.Option().Script), Visible(c.script));
    }
}

TEST_F(FileRead, NoteTextPiecesAreJoinedAndTrimmed) {
    struct Case {
        std::string content; // content of NOTES
        std::string text;
    };
    const std::vector<Case> cases = {
        {"  plain  ", "plain"},
        {"one&#13;&#10;two", "one\r\ntwo"},
        {"one\r\ntwo", "one\ntwo"},
        {"a <!-- c --> b ", "a  b"},
        {"a<!--c-->   <!--d--><![CDATA[  b  ]]>", "a   b"},
        {"<!--c--><![CDATA[   ]]><!--d--> x", "x"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content);
        Loaded f("<SCREEN><OPTION><NOTES NAME=\"n\" TYPE=\"t\" ID=\"i\">" + c.content +
                 "</NOTES></OPTION></SCREEN>");
        ASSERT_EQ(f.Option().Notes.Count(), 1);
        const TNote& note = *f.Option().Notes.Item(0);
        EXPECT_EQ(Visible(note.Text), Visible(c.text));
        EXPECT_EQ(note.Name + note.Type + note.ID, "nti");
    }
}

TEST_F(FileRead, DescriptionLinesAreTrimmedAndKeptInOrder) {
    Loaded f("<DESCRIPTION>  one </DESCRIPTION><DESCRIPTION/><DESCRIPTION>two<P/>three</DESCRIPTION>"
             "<DESCRIPTION>\tfour\n  five  </DESCRIPTION>");
    EXPECT_EQ(DescriptionDump(f.root.Description), "[<one><><two\\rthree><four   five>]");
}

TEST_F(FileRead, ReadingLeavesChangedFalseAndKeepsTheFilesBuildDate) {
    TAssistRoot root(Ann);
    TAssistScreen::Create(root); // marks changed and stamps today's date
    ASSERT_TRUE(root.Changed);
    LoadText(root, Doc("<BUILDDATE>19991231</BUILDDATE><SCREEN NAME=\"X\"><OPTION NAME=\"X.1\"/></SCREEN>"
                       "<SCREEN NAME=\"Y\"/>"));
    EXPECT_FALSE(root.Changed);
    EXPECT_EQ(root.BuildDate, "19991231");
}

TEST_F(FileRead, FileScreensAreAddedAfterExistingOnes) {
    TAssistRoot root(Ann);
    TAssistScreen::Create(root)->Caption = "mine";
    LoadText(root, Doc("<SCREEN NAME=\"F1\"><CAPTION>file one</CAPTION></SCREEN><SCREEN NAME=\"F2\"/>"));
    ASSERT_EQ(root.Screens.Count(), 3);
    EXPECT_EQ(root.Screens.Item(0)->ID, "S1");
    EXPECT_EQ(root.Screens.Item(0)->Caption, "mine");
    EXPECT_EQ(root.Screens.Item(1)->ID, "F1");
    EXPECT_EQ(root.Screens.Item(1)->Caption, "file one");
    EXPECT_EQ(root.Screens.Item(2)->ID, "F2");
    EXPECT_EQ(root.Screens.Item(2)->Caption, "");
    EXPECT_EQ(root.Screens.Item(2)->Owner, &root);
}

TEST_F(FileRead, WhatWasReadBeforeAnErrorStays) {
    TAssistRoot root(Ann);
    EXPECT_THROW(LoadText(root, Doc("<CAPTION>kept</CAPTION><SCREEN NAME=\"S1\"/><SCREEN><BAD/></SCREEN>"
                                    "<SCREEN NAME=\"never\"/>")),
                 AppError);
    EXPECT_EQ(root.Caption, "kept");
    ASSERT_EQ(root.Screens.Count(), 2);
    EXPECT_EQ(root.Screens.Item(0)->ID, "S1");
}

// An element that is not allowed inside a note or a line break is reported rather than passed over:
// passing over it would end the note or text at the wrong element and lose the rest of the file.
TEST_F(FileRead, NothingAfterAMisplacedElementIsLostSilently) {
    const std::string later = "<SCREEN NAME=\"S2\"/><SCREEN NAME=\"S3\"/>";
    EXPECT_EQ(ReadError(Doc("<SCREEN NAME=\"S1\"><OPTION><NOTES NAME=\"n\">text<B>x</B></NOTES></OPTION>"
                            "</SCREEN>" +
                            later)),
              "[AS022] Unexpected tag \"B\" in assistant stream.");
    EXPECT_EQ(
        ReadError(Doc("<SCREEN NAME=\"S1\"><OPTION><SCRIPT>a<P>x</P>b</SCRIPT></OPTION></SCREEN>" + later)),
        "[AS022] Unexpected tag \"P\" in assistant stream.");
}

TEST_F(FileRead, StepsLeftAfterTheAssistantAreReported) {
    // A reader that stands inside an outer element: the assistant's end is not the document's end.
    TXMLTagFileIn in("<OUTER><ASSISTANT NAME=\"A1\"><CAPTION>c</CAPTION></ASSISTANT><B/></OUTER>");
    std::string name;
    ASSERT_EQ(in.Next(name), tkStart);
    TAssistRoot root(Ann);
    try {
        root.ReadDocument(in);
        FAIL() << "expected an error";
    } catch (const AppError& e) {
        EXPECT_STREQ(e.what(), "[AS023] Unexpected element \"B\" in assistant stream.");
    }
    EXPECT_EQ(root.Caption, "c");
}

TEST_F(FileRead, WellFormedFilesReadAsBefore) {
    struct Case {
        std::string name;
        std::string content;  // inside ASSISTANT
        std::string expected; // Dump from the first screen line on
    };
    const std::string option = " Screen=S\n  Caption=\n  Image=\n  Description=[]\n  Option=O\n   Caption=\n"
                               "   Description=[]\n   Action=GOTO\n   Command=\n";
    const std::vector<Case> cases = {
        {"comments and processing instructions between elements",
         "<!-- c --><SCREEN NAME=\"S\"><?pi x?><OPTION NAME=\"O\"><!-- d --></OPTION></SCREEN>",
         option + "   Script=\n"},
        {"empty P elements written in full",
         "<SCREEN NAME=\"S\"><OPTION NAME=\"O\"><SCRIPT>a<P></P>b</SCRIPT></OPTION></SCREEN>",
         option + "   Script=a\\rb\n"},
        {"white space around elements",
         "\n  <SCREEN NAME=\"S\">\n\t<OPTION NAME=\"O\">\n  <SCRIPT>  x  </SCRIPT>\n </OPTION>\n</SCREEN>\n",
         option + "   Script=x\n"},
        {"a note without text and one in CDATA",
         "<SCREEN NAME=\"S\"><OPTION NAME=\"O\"><NOTES NAME=\"a\"/><NOTES ID=\"2\"><![CDATA[<b>]]></NOTES>"
         "</OPTION></SCREEN>",
         option + "   Script=\n   Note=a|||\n   Note=||2|<b>\n"},
        {"entities and character references",
         "<SCREEN NAME=\"&lt;S&gt;\"><CAPTION>&amp;&quot;&apos;&#233;&#x263A;</CAPTION></SCREEN>",
         " Screen=<S>\n  Caption=&\"'\xC3\xA9\xE2\x98\xBA\n  Image=\n  Description=[]\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Loaded f(c.content);
        const std::string dump = Dump(f.root);
        EXPECT_EQ(dump.substr(dump.find(" Screen=")), c.expected);
    }
}
