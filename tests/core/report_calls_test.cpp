// The calls that the assistant, its screens, options and notes send to the report writer, recorded
// one line per call.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "model/assistroot.h"
#include "support/error.h"
#include "tests/core/recordingreport.h"
#include "tests/core/reportfixture.h"

using namespace reportfixture;

namespace {
using Lines = std::vector<std::string>;

Lines Cat(std::initializer_list<Lines> parts) {
    Lines all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Lines Row(const std::string& label, const std::string& value) {
    return {"BeginRow()", "AddLabelCell(" + label + ", 0)", "AddCell(" + value + ")", "EndRow()"};
}

// The four fixed rows of the assistant made by MakeAssistant.
Lines TopRows() {
    return Cat({Row("Author", "Ann Lee"), Row("Build date", "20260102"), Row("Version", "1.2"),
                Row("Copyright", "Copyright (c) 2026")});
}

Lines NotSpecifiedFirstScreen() {
    return {"BeginRow()", "AddLabelCell(First screen, 0)", "AddCell(Not specified.)", "EndRow()"};
}

// An option's table around the content of its Action cell, without further rows.
Lines OptionTable(const std::string& idAndCaption, const Lines& action) {
    return Cat({{"BeginTable(0, -1)"},
                Row("Option", idAndCaption),
                {"BeginRow()", "AddLabelCell(Action, 0)", "BeginCell()"},
                action,
                {"EndCell()", "EndRow()", "EndTable()"}});
}

// The calls between the BeginCell that follows the label cell and the matching EndCell.
Lines CellContent(const Lines& calls, const std::string& label) {
    const auto labelAt = std::find(calls.begin(), calls.end(), "AddLabelCell(" + label + ", 0)");
    if (labelAt == calls.end() || labelAt + 1 == calls.end() || *(labelAt + 1) != "BeginCell()") {
        ADD_FAILURE() << "no cell labelled " << label;
        return {};
    }
    const auto end = std::find(labelAt + 2, calls.end(), "EndCell()");
    return Lines(labelAt + 2, end);
}

Lines Record(const std::function<void(IHTMLReport&)>& write) {
    RecordingReport report;
    write(report);
    return report.Calls();
}
} // namespace

TEST(ReportCalls, AssistantSectionCases) {
    struct Case {
        const char* name;
        std::function<void(TAssistRoot&)> setUp;
        Lines expected;
    };
    const std::vector<Case> cases = {
        {"no screens: one section with the assistant's table only", [](TAssistRoot&) {},
         Cat({{"BeginSection(Report on Assistant: A1: Printer help)", "AddTag(A name=\"A1\")",
               "BeginTable(0, -1)"},
              TopRows(),
              NotSpecifiedFirstScreen(),
              {"EndTable()", "EndSection()"}})},
        {"empty ID: title keeps both separators, anchor with an empty name",
         [](TAssistRoot& r) { r.ID = ""; },
         Cat({{"BeginSection(Report on Assistant: : Printer help)", "AddTag(A name=\"\")",
               "BeginTable(0, -1)"},
              TopRows(),
              NotSpecifiedFirstScreen(),
              {"EndTable()", "EndSection()"}})},
        {"empty values are empty cells",
         [](TAssistRoot& r) {
             r.AuthorName.clear();
             r.BuildDate.clear();
             r.Version.clear();
             r.Copyright.clear();
         },
         Cat({{"BeginSection(Report on Assistant: A1: Printer help)", "AddTag(A name=\"A1\")",
               "BeginTable(0, -1)"},
              Row("Author", ""),
              Row("Build date", ""),
              Row("Version", ""),
              Row("Copyright", ""),
              NotSpecifiedFirstScreen(),
              {"EndTable()", "EndSection()"}})},
        {"first screen that names no screen",
         [](TAssistRoot& r) {
             r.FirstScreen = "S9";
             AddScreen(r, "S1", "Start");
         },
         Cat({{"BeginSection(Report on Assistant: A1: Printer help)", "AddTag(A name=\"A1\")",
               "BeginTable(0, -1)"},
              TopRows(),
              NotSpecifiedFirstScreen(),
              {"EndTable()", "BeginSection(Screen: S1: Start)", "AddTag(A name=\"S1\")", "BeginTable(0, -1)",
               "EndTable()", "EndSection()", "EndSection()"}})},
        {"empty first screen is not specified even when a screen has an empty ID",
         [](TAssistRoot& r) { AddScreen(r, "", "Nameless"); },
         Cat({{"BeginSection(Report on Assistant: A1: Printer help)", "AddTag(A name=\"A1\")",
               "BeginTable(0, -1)"},
              TopRows(),
              NotSpecifiedFirstScreen(),
              {"EndTable()", "BeginSection(Screen: : Nameless)", "AddTag(A name=\"\")", "BeginTable(0, -1)",
               "EndTable()", "EndSection()", "EndSection()"}})},
        {"first screen found: a link written with the first screen as stored",
         [](TAssistRoot& r) {
             r.FirstScreen = "s2";
             AddScreen(r, "S1", "Start");
             AddScreen(r, "S2", "Second");
         },
         Cat({{"BeginSection(Report on Assistant: A1: Printer help)", "AddTag(A name=\"A1\")",
               "BeginTable(0, -1)"},
              TopRows(),
              {"BeginRow()", "AddLabelCell(First screen, 0)", "BeginCell()", "AddTag(a href=\"#s2\")",
               "AddText(s2: Second)", "AddTag(/a)", "EndCell()", "EndRow()"},
              {"EndTable()", "BeginSection(Screen: S1: Start)", "AddTag(A name=\"S1\")", "BeginTable(0, -1)",
               "EndTable()", "EndSection()", "BeginSection(Screen: S2: Second)", "AddTag(A name=\"S2\")",
               "BeginTable(0, -1)", "EndTable()", "EndSection()", "EndSection()"}})},
        {"description gives the explanation row after the first screen",
         [](TAssistRoot& r) { r.Description = {"Hi"}; },
         Cat({{"BeginSection(Report on Assistant: A1: Printer help)", "AddTag(A name=\"A1\")",
               "BeginTable(0, -1)"},
              TopRows(),
              NotSpecifiedFirstScreen(),
              {"BeginRow()", "AddLabelCell(Explanation, 0)", "BeginCell()", "AddText(H)", "AddText(i)",
               "AddTag(BR)", "EndCell()", "EndRow()"},
              {"EndTable()", "EndSection()"}})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto root = MakeAssistant();
        c.setUp(*root);
        EXPECT_EQ(Record([&](IHTMLReport& r) { root->WriteReport(r); }), c.expected);
    }
}

TEST(ReportCalls, ScreenSectionCases) {
    struct Case {
        const char* name;
        std::function<void(TAssistScreen&)> setUp;
        Lines expected;
    };
    const Lines head = {"BeginSection(Screen: S1: Start)", "AddTag(A name=\"S1\")", "BeginTable(0, -1)"};
    const std::vector<Case> cases = {
        {"no options: the section holds the screen's table only", [](TAssistScreen&) {},
         Cat({head, {"EndTable()", "EndSection()"}})},
        {"image row", [](TAssistScreen& s) { s.Image = "{$EXE}\\pic.png"; },
         Cat({head, Row("Image file", "{$EXE}\\pic.png"), {"EndTable()", "EndSection()"}})},
        {"image row before the explanation",
         [](TAssistScreen& s) {
             s.Image = "p.png";
             s.Description = {"x"};
         },
         Cat({head,
              Row("Image file", "p.png"),
              {"BeginRow()", "AddLabelCell(Explanation, 0)", "BeginCell()", "AddText(x)", "AddTag(BR)",
               "EndCell()", "EndRow()"},
              {"EndTable()", "EndSection()"}})},
        {"option tables follow the screen's table inside its section, in list order",
         [](TAssistScreen& s) {
             AddOption(s, "S1.1", "One", akExec, "a.exe");
             AddOption(s, "S1.2", "Two", akNote, "");
         },
         Cat({head,
              {"EndTable()"},
              OptionTable("S1.1: One", {"AddText(EXEC )", "AddText(a.exe)"}),
              OptionTable("S1.2: Two", {"AddText(NOTE )", "AddText()"}),
              {"EndSection()"}})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto root = MakeAssistant();
        TAssistScreen* screen = AddScreen(*root, "S1", "Start");
        c.setUp(*screen);
        EXPECT_EQ(Record([&](IHTMLReport& r) { screen->WriteReport(r); }), c.expected);
    }
}

TEST(ReportCalls, OptionActionCell) {
    struct Case {
        const char* name;
        TActionKind action;
        std::string command;
        std::string script;
        Lines action_lines;
    };
    const std::vector<Case> cases = {
        {"goto a screen",
         akGoto,
         "S2",
         "",
         {"AddText(Goto )", "AddTag(A href=\"#S2\")", "AddText(S2: Second)", "AddTag(/A)"}},
        {"goto keeps the command as stored when its case differs",
         akGoto,
         "s2",
         "",
         {"AddText(Goto )", "AddTag(A href=\"#s2\")", "AddText(s2: Second)", "AddTag(/A)"}},
        {"goto a screen that does not exist",
         akGoto,
         "S9",
         "",
         {"AddText(Goto )", "AddText(S9 (not found).)"}},
        {"goto without command", akGoto, "", "", {"AddText(Goto )", "AddText(Not specified.)"}},
        {"button to a screen",
         akGotoButton,
         "S1",
         "",
         {"AddText(Goto (button) )", "AddTag(A href=\"#S1\")", "AddText(S1: Start)", "AddTag(/A)"}},
        {"button to a missing screen",
         akGotoButton,
         "X",
         "",
         {"AddText(Goto (button) )", "AddText(X (not found).)"}},
        {"button without command",
         akGotoButton,
         "",
         "",
         {"AddText(Goto (button) )", "AddText(Not specified.)"}},
        {"note only with an empty command", akNote, "", "", {"AddText(NOTE )", "AddText()"}},
        {"execute", akExec, "{$EXE}\\tool.exe", "", {"AddText(EXEC )", "AddText({$EXE}\\tool.exe)"}},
        {"other assistant", akAssistant, "b.amf", "", {"AddText(ASSISTANT )", "AddText(b.amf)"}},
        {"run", akRun, "t", "", {"AddText(RUN )", "AddText(t)"}},
        {"browse", akBrowse, "doc#3", "", {"AddText(BROWSE )", "AddText(doc#3)"}},
        {"web page", akInternet, "http://x/", "", {"AddText(INTERNET )", "AddText(http://x/)"}},
        {"a screen ID as command of a non-goto kind is plain text",
         akExec,
         "S2",
         "",
         {"AddText(EXEC )", "AddText(S2)"}},
        {"script as text with line breaks, command ignored",
         akScript,
         "ignored",
         "a\rb",
         {"AddText(a)", "AddTag(BR)", "AddText(b)"}},
        {"empty script writes nothing in the cell", akScript, "", "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto root = MakeAssistant();
        TAssistScreen* s1 = AddScreen(*root, "S1", "Start");
        AddScreen(*root, "S2", "Second");
        TAssistOption* option = AddOption(*s1, "S1.1", "Next", c.action, c.command);
        option->Script = c.script;
        EXPECT_EQ(Record([&](IHTMLReport& r) { option->WriteReport(r); }),
                  OptionTable("S1.1: Next", c.action_lines));
    }
}

TEST(ReportCalls, OptionRowsInOrderWithExplanationAndNotes) {
    auto root = MakeAssistant();
    TAssistScreen* s1 = AddScreen(*root, "S1", "Start");
    TAssistOption* option = AddOption(*s1, "S1.1", "Next", akNote, "c");
    option->Description = {"d"};
    AddNote(option->Notes, "Tip", "Hint", "N1", "Read it");

    EXPECT_EQ(Record([&](IHTMLReport& r) { option->WriteReport(r); }),
              Cat({{"BeginTable(0, -1)"},
                   Row("Option", "S1.1: Next"),
                   {"BeginRow()", "AddLabelCell(Action, 0)", "BeginCell()", "AddText(NOTE )", "AddText(c)",
                    "EndCell()", "EndRow()"},
                   {"BeginRow()", "AddLabelCell(Explanation, 0)", "BeginCell()", "AddText(d)", "AddTag(BR)",
                    "EndCell()", "EndRow()"},
                   {"BeginRow()", "AddLabelCell(Notes, 0)", "BeginCell()", "AddText(Tip)", "AddTag(i)",
                    "AddText(  (Hint, N1))", "AddTag(/i)", "AddText(: Read it)", "EndCell()", "EndRow()"},
                   {"EndTable()"}}));
}

TEST(ReportCalls, NoteListWritesParagraphTagsBetweenNotesOnly) {
    const auto note = [](const std::string& n) {
        return Lines{"AddText(" + n + ")", "AddTag(i)", "AddText(  (T" + n + ", I" + n + "))", "AddTag(/i)",
                     "AddText(: X" + n + ")"};
    };
    struct Case {
        int count;
        Lines expected;
    };
    const std::vector<Case> cases = {
        {0, {}},
        {1, note("1")},
        {2, Cat({note("1"), {"AddTag(P)"}, note("2")})},
        {3, Cat({note("1"), {"AddTag(P)"}, note("2"), {"AddTag(P)"}, note("3")})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        TNotes notes;
        for (int i = 1; i <= c.count; ++i) {
            const std::string n = std::to_string(i);
            AddNote(notes, n, "T" + n, "I" + n, "X" + n);
        }
        EXPECT_EQ(Record([&](IHTMLReport& r) { notes.WriteReport(r); }), c.expected);
    }
}

TEST(ReportCalls, NoteFieldsAreWrittenAsGivenEvenWhenEmptyOrMultiLine) {
    TNote note;
    note.Text = "one\r\ntwo";
    EXPECT_EQ(Record([&](IHTMLReport& r) { note.WriteReport(r); }),
              (Lines{"AddText()", "AddTag(i)", "AddText(  (, ))", "AddTag(/i)", "AddText(: one\r\ntwo)"}));
}

TEST(ReportCalls, LineBreakRuleForDescriptionsAndScripts) {
    struct Case {
        const char* name;
        std::vector<std::string> description; // used when script is empty
        std::string script;
        Lines expected;
    };
    const std::vector<Case> cases = {
        {"two lines with an empty line between: one BR between, one at the end",
         {"ab", "", "cd"},
         "",
         {"AddText(a)", "AddText(b)", "AddTag(BR)", "AddText(c)", "AddText(d)", "AddTag(BR)"}},
        {"one empty line gives one BR", {""}, "", {"AddTag(BR)"}},
        {"CR LF runs inside a line collapse",
         {"a\r\n\r\n\nb"},
         "",
         {"AddText(a)", "AddTag(BR)", "AddText(b)", "AddTag(BR)"}},
        {"a line ending in LF joins the CR LF after it",
         {"a\n", "b"},
         "",
         {"AddText(a)", "AddTag(BR)", "AddText(b)", "AddTag(BR)"}},
        {"blanks are characters",
         {" ", "a "},
         "",
         {"AddText( )", "AddTag(BR)", "AddText(a)", "AddText( )", "AddTag(BR)"}},
        {"script lines separated by CR",
         {},
         "x\ry\rz",
         {"AddText(x)", "AddTag(BR)", "AddText(y)", "AddTag(BR)", "AddText(z)"}},
        {"script CR run and trailing CR",
         {},
         "a\r\r\rb\r",
         {"AddText(a)", "AddTag(BR)", "AddText(b)", "AddTag(BR)"}},
        {"script starting with a CR", {}, "\rx", {"AddTag(BR)", "AddText(x)"}},
        {"LF CR counts as one run", {}, "a\n\rb", {"AddText(a)", "AddTag(BR)", "AddText(b)"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto root = MakeAssistant();
        TAssistScreen* s1 = AddScreen(*root, "S1", "Start");
        TAssistOption* option = AddOption(*s1, "S1.1", "Next", c.script.empty() ? akNote : akScript);
        const Lines calls = Record([&](IHTMLReport& r) {
            if (c.script.empty()) {
                option->Description = c.description;
                option->WriteReport(r);
            } else {
                option->Script = c.script;
                option->WriteReport(r);
            }
        });
        EXPECT_EQ(CellContent(calls, c.script.empty() ? "Explanation" : "Action"), c.expected);
    }
}

TEST(ReportCalls, EachCharacterIsOneTextRunAndMultiByteCharactersStayWhole) {
    struct Case {
        const char* name;
        std::string line;
        Lines expected; // the Explanation cell without its final BR
    };
    const std::vector<Case> cases = {
        {"two-, three- and four-byte characters",
         "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z",
         {"AddText(\xC3\xA9)", "AddText(\xE2\x82\xAC)", "AddText(\xF0\x9F\x98\x80)", "AddText(z)"}},
        {"a combining mark is a character of its own", "e\xCC\x81", {"AddText(e)", "AddText(\xCC\x81)"}},
        {"a stray continuation byte goes alone",
         "\x80"
         "a",
         {"AddText(\x80)", "AddText(a)"}},
        {"a cut sequence ends at the next character",
         "\xE2\x82"
         "a",
         {"AddText(\xE2\x82)", "AddText(a)"}},
        {"a lead byte before a plain character", "\xC3(", {"AddText(\xC3)", "AddText(()"}},
        {"a lead byte before a line end", "\xC3", {"AddText(\xC3)"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto root = MakeAssistant();
        root->Description = {c.line};
        Lines expected = c.expected;
        expected.push_back("AddTag(BR)");
        EXPECT_EQ(CellContent(Record([&](IHTMLReport& r) { root->WriteReport(r); }), "Explanation"),
                  expected);
    }
}

namespace {
// An assistant whose report uses every writer operation.
std::unique_ptr<TAssistRoot> FullAssistant() {
    auto root = MakeAssistant();
    root->FirstScreen = "S1";
    root->Description = {"About"};
    TAssistScreen* s1 = AddScreen(*root, "S1", "Start");
    s1->Image = "p.png";
    TAssistOption* option = AddOption(*s1, "S1.1", "Next", akGoto, "S1");
    option->Description = {"d"};
    AddNote(option->Notes, "a", "b", "c", "d");
    AddNote(option->Notes, "e", "f", "g", "h");
    return root;
}
} // namespace

TEST(ReportCalls, AFailingWriterCallStopsTheReportWithTheWritersMessage) {
    const Lines complete = Record([](IHTMLReport& r) { FullAssistant()->WriteReport(r); });
    for (const std::string operation :
         {"BeginSection", "AddTag", "BeginTable", "BeginRow", "AddLabelCell", "AddCell", "BeginCell",
          "AddText", "EndCell", "EndRow", "EndTable", "EndSection"}) {
        SCOPED_TRACE(operation);
        const auto firstCall = std::find_if(complete.begin(), complete.end(), [&](const std::string& line) {
            return line.rfind(operation + "(", 0) == 0;
        });
        ASSERT_NE(firstCall, complete.end()) << "the full report never calls it";

        auto root = FullAssistant();
        RecordingReport report;
        report.Log().FailOn(operation, "Writer broke in " + operation);
        try {
            root->WriteReport(report);
            ADD_FAILURE() << "no error raised";
        } catch (const AppError& e) {
            EXPECT_EQ(std::string(e.what()), "Writer broke in " + operation);
        }
        // Everything up to the failing call was sent, nothing after it.
        EXPECT_EQ(report.Calls(), Lines(complete.begin(), firstCall + 1));
    }
}

TEST(ReportCalls, AFailureInsideANestedItemStopsAtOnce) {
    struct Case {
        const char* name;
        std::string operation;
        Lines expected;
    };
    // The failing call is the first of its kind inside the note list.
    const std::vector<Case> cases = {
        {"italic tag of the first note", "AddTag", {"AddText(a)", "AddTag(i)"}},
        {"first text of the first note", "AddText", {"AddText(a)"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto root = FullAssistant();
        RecordingReport report;
        report.Log().FailOn(c.operation, "no");
        EXPECT_THROW(root->Screens.Item(0)->Options.Item(0)->Notes.WriteReport(report), AppError);
        EXPECT_EQ(report.Calls(), c.expected);
    }
}
