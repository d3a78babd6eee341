// amftool run as a separate process: exit statuses and exact outputs of every command.
#include "minijson.h"
#include "runtool.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>

using clitest::DataFile;
using clitest::ExpectRun;
using clitest::OutputCase;
using clitest::ReadFile;
using clitest::RunTool;
using clitest::TempDir;
using clitest::ToolResult;
using clitest::WriteFile;

namespace {
const std::string kAnn = "{1F0C2B7E-0000-4000-8000-00000000000A} Ann Lee";
const std::string kBob = "{5D3A9C01-1234-4ABC-9DEF-00000000000B} Bob Ray";
const std::string kAnonymous = "{00000000-0000-0000-0000-000000000000} Anonymous";

const std::string kCleanCheck = "Warning(s): 0, error(s): 0.\n";
const std::string kWarningsCheck = "Warning: No copyright set at top level.\n"
                                   "Warning: No explanation for assistant at top level.\n"
                                   "Warning(s): 2, error(s): 0.\n";
const std::string kErrorsCheck = "Warning: No copyright set at top level.\n"
                                 "Warning: No explanation for assistant at top level.\n"
                                 "Error: Screen Missing target for G\xC3\xB6 \"on\" not found.\n"
                                 "Warning: Option ID Old is using a deprecated action type.\n"
                                 "Warning: Screen Lonely not linked to main structure.\n"
                                 "Warning(s): 4, error(s): 1.\n";
const std::string kBadRootMessage = "[AS022] Unexpected tag \"FOO\" in assistant stream.\n";
const std::string kNotXmlMessage = "[AS021] Assistant stream does not contain valid XML.\n";

// Two screens leading to each other, a go-to-button with a command in other letter case, and one
// option of every kind that shows in the structure (the note option shows nothing).
const std::string kTourStructure = "A Tour \xC2\xBB S S1\n"
                                   "  O O1 \xC2\xBB S S2\n"
                                   "    O B \xC2\xBB S S1 (repeated)\n"
                                   "    O X \xC2\xBB EXEC notepad.exe\n"
                                   "  O O2 \xC2\xBB S S2 (repeated)\n"
                                   "  O O3 \xC2\xBB INTERNET https://example.com/caf\xC3\xA9\n"
                                   "  O O4 \xC2\xBB SCRIPT\n"
                                   "  O O6 \xC2\xBB GOTO other.amf\n";

// The tour file has neither AUTHOR nor MODIFIER.
const std::string kNoAuthorNotices = "There is no author ID recorded for this Assistant.\n"
                                     "If you save the assistant, you will be recorded as the author.\n"
                                     "\n"
                                     "There is no modifier ID recorded for this Assistant.\n"
                                     "If you save the assistant, you will be recorded as the modifier.\n";
// The errors file names Ann as author and modifier with codes that do not match its texts.
const std::string kHandEditedNotices = "Warning: this assistant has been modified by Ann Lee\n"
                                       "after begin authored by Ann Lee\n";

std::string Text(const std::string& fixture) {
    return ReadFile(DataFile(fixture));
}

TEST(AmfToolCheck, PrintsFindingsAndCountsWithMatchingExitStatus) {
    const std::string clean = DataFile("tool_clean.amf"), errors = DataFile("tool_errors.amf"),
                      badRoot = DataFile("tool_badroot.amf"), missing = DataFile("no_such_file.amf");
    // One byte over the 512 MiB the editor reads, without data blocks: refused by its size alone.
    TempDir dir;
    const std::string huge = (dir / "huge.amf").string();
    WriteFile(huge, "");
    std::filesystem::resize_file(huge, 512ull * 1024 * 1024 + 1);
    const OutputCase cases[] = {
        {"no findings", {"check", clean}, "", 0, kCleanCheck, ""},
        {"warnings only still succeed", {"check", DataFile("tool_warnings.amf")}, "", 0, kWarningsCheck, ""},
        {"errors give 1", {"check", errors}, "", 1, kErrorsCheck, ""},
        {"unreadable file", {"check", badRoot}, "", 2, "", kBadRootMessage},
        {"missing file",
         {"check", missing},
         "",
         2,
         "",
         "Cannot open file \"" + missing + "\": No such file or directory.\n"},
        {"a folder is no file",
         {"check", std::string(AMF_TEST_DATA)},
         "",
         2,
         "",
         "Cannot open file \"" + std::string(AMF_TEST_DATA) + "\": Is a directory.\n"},
        {"a file over the size limit",
         {"check", huge},
         "",
         2,
         "",
         "The file \"" + huge +
             "\" is too large to be an assistant (536870913 bytes; the limit is 536870912 bytes).\n"},
        {"several files get headers",
         {"check", clean, errors},
         "",
         1,
         clean + ":\n" + kCleanCheck + errors + ":\n" + kErrorsCheck,
         ""},
        {"an unreadable file among others: the rest is checked, status 2",
         {"check", errors, badRoot, clean},
         "",
         2,
         errors + ":\n" + kErrorsCheck + badRoot + ":\n" + clean + ":\n" + kCleanCheck,
         kBadRootMessage},
        {"standard input", {"check", "-"}, Text("tool_errors.amf"), 1, kErrorsCheck, ""},
        {"standard input among files",
         {"check", "-", clean},
         Text("tool_warnings.amf"),
         0,
         "(standard input):\n" + kWarningsCheck + clean + ":\n" + kCleanCheck,
         ""},
        {"standard input that is not XML", {"check", "-"}, "just text", 2, "", kNotXmlMessage},
        {"empty standard input", {"check", "-"}, "", 2, "", kNotXmlMessage},
    };
    for (const OutputCase& c : cases)
        ExpectRun(c);
}

TEST(AmfToolCheck, StandardInputThatIsAFolderIsReportedAsSuch) {
    const ToolResult r =
        clitest::RunToolRedirected({"check", "-"}, "", {.Input = AMF_TEST_DATA, .Output = {}}, {});
    EXPECT_EQ(r.Status, 2);
    EXPECT_EQ(r.Out, "");
    EXPECT_EQ(r.Err, "Cannot read standard input: Is a directory.\n");
}

TEST(AmfToolCheck, JsonListsEveryFindingWithFileSeverityAndItem) {
    const std::string errors = DataFile("tool_errors.amf"), clean = DataFile("tool_clean.amf");
    const ToolResult r = RunTool({"check", "--json", clean, errors});
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Err, "");
    // Non-ASCII text is passed through as UTF-8, quotes are escaped.
    EXPECT_NE(r.Out.find("G\xC3\xB6 \\\"on\\\""), std::string::npos) << r.Out;

    const minijson::Value json = minijson::Parse(r.Out);
    ASSERT_EQ(json.Type, minijson::Value::Kind::Array);
    struct Expected {
        std::string Severity, Message, Kind, Id, Screen;
    };
    const std::vector<Expected> expected = {
        {"warning", "No copyright set at top level.", "assistant", "Broken", ""},
        {"warning", "No explanation for assistant at top level.", "assistant", "Broken", ""},
        {"error", "Screen Missing target for G\xC3\xB6 \"on\" not found.", "option", "G\xC3\xB6 \"on\"",
         "Start"},
        {"warning", "Option ID Old is using a deprecated action type.", "option", "Old", "Start"},
        {"warning", "Screen Lonely not linked to main structure.", "screen", "Lonely", ""},
    };
    ASSERT_EQ(json.Items.size(), expected.size()) << r.Out;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        const minijson::Value& finding = json.Items[i];
        EXPECT_EQ(finding["file"].Text, errors);
        EXPECT_EQ(finding["severity"].Text, expected[i].Severity);
        EXPECT_EQ(finding["message"].Text, expected[i].Message);
        EXPECT_EQ(finding["itemKind"].Text, expected[i].Kind);
        EXPECT_EQ(finding["itemId"].Text, expected[i].Id);
        if (expected[i].Screen.empty())
            EXPECT_EQ(finding.Members.count("screenId"), 0u);
        else
            EXPECT_EQ(finding["screenId"].Text, expected[i].Screen);
    }
}

TEST(AmfToolCheck, JsonStaysValidWithoutFindingsAndWithUnreadableFiles) {
    const ToolResult clean = RunTool({"check", "--json", DataFile("tool_clean.amf")});
    EXPECT_EQ(clean.Status, 0);
    EXPECT_EQ(minijson::Parse(clean.Out).Type, minijson::Value::Kind::Array);
    EXPECT_TRUE(minijson::Parse(clean.Out).Items.empty());

    const ToolResult mixed =
        RunTool({"check", "--json", DataFile("tool_badroot.amf"), "-"}, Text("tool_warnings.amf"));
    EXPECT_EQ(mixed.Status, 2);
    EXPECT_EQ(mixed.Err, kBadRootMessage);
    const minijson::Value json = minijson::Parse(mixed.Out);
    ASSERT_EQ(json.Items.size(), 2u) << mixed.Out;
    EXPECT_EQ(json.Items[0]["file"].Text, "-");
    EXPECT_EQ(json.Items[1]["message"].Text, "No explanation for assistant at top level.");
}

// IDs and commands read from a file may hold line breaks, tabs and DEL (written here as character
// references; references to the other control characters are refused as not XML). The option "Go" has an ID
// that, printed raw, would add a fake finding line.
const std::string kControlCharsFile =
    "<?xml version=\"1.0\"?>\n"
    "<ASSISTANT NAME=\"A\"><COPYRIGHT>c</COPYRIGHT><FIRST>Start</FIRST><CAPTION>x</CAPTION>\n"
    "<SCREEN NAME=\"Start\"><CAPTION>s</CAPTION>\n"
    "<OPTION NAME=\"Go&#10;Error: faked\"><CAPTION>c</CAPTION>"
    "<ACTION TYPE=\"GOTO\" COMMAND=\"No&#13;where\"/></OPTION>\n"
    "<OPTION NAME=\"Run\"><CAPTION>c</CAPTION>"
    "<ACTION TYPE=\"EXEC\" COMMAND=\"C:\\tools\\x.exe&#9;-a&#10;  O b\"/></OPTION>\n"
    "<OPTION NAME=\"Next\"><CAPTION>c</CAPTION><ACTION TYPE=\"GOTO\" COMMAND=\"Lone\\ly&#127;\"/></OPTION>\n"
    "</SCREEN>\n"
    "<SCREEN NAME=\"Lone\\ly&#127;\"><CAPTION>l</CAPTION></SCREEN>\n"
    "<SCREEN NAME=\"Un&#13;&#10;linked&#127;\"><CAPTION>u</CAPTION></SCREEN>\n"
    "</ASSISTANT>\n";
const std::string kControlCharsCheck = "Warning: No author set at top level.\n"
                                       "Warning: No explanation for assistant at top level.\n"
                                       "Error: Screen No\\rwhere target for Go\\nError: faked not found.\n"
                                       "Warning: Screen Un\\r\\nlinked\\x7f not linked to main structure.\n"
                                       "Warning(s): 3, error(s): 1.\n";

TEST(AmfToolTextOutput, ControlCharactersInTextsArePrintedEscapedOnOneLine) {
    TempDir dir;
    // A file name is printed in the header lines of check, so it is escaped as well.
    const std::string twoLines = (dir / "two\nlines.amf").string(), clean = DataFile("tool_clean.amf");
    WriteFile(twoLines, kControlCharsFile);
    const OutputCase cases[] = {
        {"check", {"check", "-"}, kControlCharsFile, 1, kControlCharsCheck, ""},
        {"check with a file name holding a line feed",
         {"check", twoLines, clean},
         "",
         1,
         (dir / "two\\nlines.amf:\n").string() + kControlCharsCheck + clean + ":\n" + kCleanCheck,
         ""},
        {"structure",
         {"structure", "-"},
         kControlCharsFile,
         0,
         "A A \xC2\xBB S Start\n"
         "  O Run \xC2\xBB EXEC C:\\\\tools\\\\x.exe\\t-a\\n  O b\n"
         "  O Next \xC2\xBB S Lone\\\\ly\\x7f\n",
         ""},
    };
    for (const OutputCase& c : cases)
        ExpectRun(c);

    // The JSON form keeps the texts as read: one text line per finding plus the counts.
    const ToolResult json = RunTool({"check", "--json", "-"}, kControlCharsFile);
    const minijson::Value findings = minijson::Parse(json.Out);
    ASSERT_EQ(findings.Items.size(), 4u) << json.Out;
    EXPECT_EQ(findings.Items[2]["itemId"].Text, "Go\nError: faked");
    EXPECT_EQ(findings.Items[3]["itemId"].Text, "Un\r\nlinked\x7f");
    const ToolResult text = RunTool({"check", "-"}, kControlCharsFile);
    EXPECT_EQ(text.Out.find('\r'), std::string::npos) << text.Out;
    EXPECT_EQ(static_cast<std::size_t>(std::count(text.Out.begin(), text.Out.end(), '\n')),
              findings.Items.size() + 1)
        << text.Out;
}

TEST(AmfToolTextOutput, C1ControlCharactersArePrintedEscaped) {
    // U+009B (which some terminals take for the start of an escape sequence) and U+0085 in an option
    // ID, a missing target and a screen ID; U+00A0 is no control character and stays as it is.
    const std::string file = "<?xml version=\"1.0\"?>\n"
                             "<ASSISTANT NAME=\"A\"><FIRST>S</FIRST>\n"
                             "<SCREEN NAME=\"S\"><OPTION NAME=\"O\xC2\x9B"
                             "31m\"><ACTION TYPE=\"GOTO\" COMMAND=\"T\xC2\x85\xC2\xA0\"/></OPTION>\n"
                             "<OPTION NAME=\"W\"><ACTION TYPE=\"INTERNET\" COMMAND=\"x\xC2\x9By\"/></OPTION>"
                             "</SCREEN>\n"
                             "<SCREEN NAME=\"U\xC2\x9B\"/>\n"
                             "</ASSISTANT>\n";
    struct Case {
        std::vector<std::string> Args;
        int Status;
        std::vector<std::string> Lines; // lines the output must hold
    };
    const Case cases[] = {
        {{"check", "-"},
         1,
         {"Error: Screen T\\u0085\xC2\xA0 target for O\\u009b31m not found.",
          "Warning: Screen U\\u009b not linked to main structure."}},
        {{"structure", "-"}, 0, {"A A \xC2\xBB S S", "  O W \xC2\xBB INTERNET x\\u009by"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Args.front());
        const ToolResult r = RunTool(c.Args, file);
        EXPECT_EQ(r.Status, c.Status) << r.Err;
        for (const std::string& line : c.Lines)
            EXPECT_NE(("\n" + r.Out).find("\n" + line + "\n"), std::string::npos) << line << "\n" << r.Out;
        EXPECT_EQ(r.Out.find("\xC2\x9B"), std::string::npos) << r.Out;
        EXPECT_EQ(r.Out.find("\xC2\x85"), std::string::npos) << r.Out;
    }
    // The JSON forms keep the characters.
    EXPECT_NE(RunTool({"check", "--json", "-"}, file).Out.find("U\xC2\x9B"), std::string::npos);
    EXPECT_NE(RunTool({"structure", "--json", "-"}, file).Out.find("x\xC2\x9By"), std::string::npos);
}

// A chain of screens, each leading to the next: S1 -> S2 -> ... -> Sn.
std::string ChainFile(int screens) {
    std::string text = "<?xml version=\"1.0\"?>\n<ASSISTANT NAME=\"Deep\"><FIRST>S1</FIRST>\n";
    for (int i = 1; i <= screens; ++i) {
        text += "<SCREEN NAME=\"S" + std::to_string(i) + "\">";
        if (i < screens)
            text += "<OPTION NAME=\"O" + std::to_string(i) + "\"><ACTION TYPE=\"GOTO\" COMMAND=\"S" +
                    std::to_string(i + 1) + "\"/></OPTION>";
        text += "</SCREEN>\n";
    }
    return text + "</ASSISTANT>\n";
}

TEST(AmfToolStructure, DeepNodesStopIndentingAndCarryTheirDepth) {
    // Depth d is indented 2*d blanks down to depth 32; deeper nodes are indented 64 blanks and start
    // with "[d] ".
    const int screens = 40;
    std::string expected = "A Deep \xC2\xBB S S1\n";
    for (int depth = 1; depth < screens; ++depth) {
        const std::string text =
            "O O" + std::to_string(depth) + " \xC2\xBB S S" + std::to_string(depth + 1) + "\n";
        if (depth <= 32)
            expected += std::string(static_cast<std::size_t>(depth) * 2, ' ') + text;
        else
            expected += std::string(64, ' ') + "[" + std::to_string(depth) + "] " + text;
    }
    const ToolResult r = RunTool({"structure", "-"}, ChainFile(screens));
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, expected);

    // A long chain prints in size linear to it (two blanks a level would need 2 * 3000^2 / 2 = 9 MB
    // of blanks alone here); each line holds at most 64 blanks, the depth and the node's text.
    const int chain = 3000;
    const ToolResult deep = RunTool({"structure", "-"}, ChainFile(chain));
    EXPECT_EQ(deep.Status, 0) << deep.Err;
    EXPECT_EQ(static_cast<int>(std::count(deep.Out.begin(), deep.Out.end(), '\n')), chain);
    EXPECT_LT(deep.Out.size(), static_cast<std::size_t>(chain) * (64 + 8 + 24));
    EXPECT_NE(deep.Out.find("\n" + std::string(64, ' ') + "[2999] O O2999 \xC2\xBB S S3000\n"),
              std::string::npos);
}

TEST(AmfToolStructure, JsonGivesEveryNodeWithItsDepthAndItem) {
    const ToolResult r = RunTool({"structure", "--json", DataFile("tool_tour.amf")});
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Err, "");
    const minijson::Value json = minijson::Parse(r.Out);
    ASSERT_EQ(json.Type, minijson::Value::Kind::Array);
    struct Expected {
        int Depth;
        std::string Text, Kind, Id, Screen;
    };
    // The same nodes as the text form (kTourStructure), in the same order. A node that leads to a
    // screen carries that screen (a click on the Structure page selects it); the others their option.
    const std::vector<Expected> expected = {
        {0, "A Tour \xC2\xBB S S1", "screen", "S1", ""},
        {1, "O O1 \xC2\xBB S S2", "screen", "S2", ""},
        {2, "O B \xC2\xBB S S1 (repeated)", "screen", "S1", ""},
        {2, "O X \xC2\xBB EXEC notepad.exe", "option", "X", "S2"},
        {1, "O O2 \xC2\xBB S S2 (repeated)", "screen", "S2", ""},
        {1, "O O3 \xC2\xBB INTERNET https://example.com/caf\xC3\xA9", "option", "O3", "S1"},
        {1, "O O4 \xC2\xBB SCRIPT", "option", "O4", "S1"},
        {1, "O O6 \xC2\xBB GOTO other.amf", "option", "O6", "S1"},
    };
    ASSERT_EQ(json.Items.size(), expected.size()) << r.Out;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        const minijson::Value& node = json.Items[i];
        EXPECT_EQ(node["depth"].Text, std::to_string(expected[i].Depth));
        EXPECT_EQ(node["text"].Text, expected[i].Text);
        EXPECT_EQ(node["itemKind"].Text, expected[i].Kind);
        EXPECT_EQ(node["itemId"].Text, expected[i].Id);
        if (expected[i].Screen.empty())
            EXPECT_EQ(node.Members.count("screenId"), 0u);
        else
            EXPECT_EQ(node["screenId"].Text, expected[i].Screen);
    }
    // One node a line, and the depth is not capped as the text form's indent is.
    EXPECT_EQ(static_cast<std::size_t>(std::count(r.Out.begin(), r.Out.end(), '\n')), expected.size() + 2);
    const minijson::Value deep = minijson::Parse(RunTool({"structure", "--json", "-"}, ChainFile(60)).Out);
    ASSERT_EQ(deep.Items.size(), 60u);
    EXPECT_EQ(deep.Items[59]["depth"].Text, "59");
    EXPECT_EQ(deep.Items[59]["text"].Text, "O O59 \xC2\xBB S S60");

    // An empty structure is an empty array.
    const ToolResult empty =
        RunTool({"structure", "--json", "-"},
                "<?xml version=\"1.0\"?><ASSISTANT NAME=\"A\"><SCREEN NAME=\"S\"/></ASSISTANT>");
    EXPECT_EQ(empty.Status, 0);
    EXPECT_EQ(empty.Out, "[]\n");
}

TEST(AmfToolStructureAndNotices, PrintExactlyWhatTheEditorShows) {
    const std::string tour = DataFile("tool_tour.amf"), errors = DataFile("tool_errors.amf"),
                      badRoot = DataFile("tool_badroot.amf");
    const OutputCase cases[] = {
        {"structure with repeated screens", {"structure", tour}, "", 0, kTourStructure, ""},
        {"structure from standard input", {"structure", "-"}, Text("tool_tour.amf"), 0, kTourStructure, ""},
        {"structure of an unreadable file", {"structure", badRoot}, "", 2, "", kBadRootMessage},
        {"no first screen: empty structure",
         {"structure", "-"},
         "<?xml version=\"1.0\"?><ASSISTANT NAME=\"A\"><SCREEN NAME=\"S\"/></ASSISTANT>",
         0,
         "",
         ""},
        {"notices without author and modifier",
         {"notices", tour, "--user", kAnn},
         "",
         0,
         kNoAuthorNotices,
         ""},
        {"notices of a hand-edited file, by its author",
         {"notices", errors, "--user", kAnn},
         "",
         0,
         kHandEditedNotices,
         ""},
        {"notices of a hand-edited file, by someone else",
         {"notices", "--user=" + kBob, errors},
         "",
         0,
         "If you save the assistant, you will be recorded as the modifier.\n\n" + kHandEditedNotices,
         ""},
        {"notices from standard input",
         {"notices", "-", "--user", kAnn},
         Text("tool_tour.amf"),
         0,
         kNoAuthorNotices,
         ""},
        {"notices of an unreadable file", {"notices", badRoot, "--user", kAnn}, "", 2, "", kBadRootMessage},
    };
    for (const OutputCase& c : cases)
        ExpectRun(c);
}

TEST(AmfToolNewAndResave, ResavingANewFileAsItsAuthorGivesTheSameText) {
    TempDir dir;
    const std::string created = (dir / "created.amf").string(), resaved = (dir / "resaved.amf").string();
    const ToolResult made = RunTool({"new", "--user", kAnn, "-o", created});
    ASSERT_EQ(made.Status, 0) << made.Err;
    EXPECT_EQ(made.Out, "");
    const std::string text = ReadFile(created);
    EXPECT_NE(text.find("<ASSISTANT NAME=\"A1\""), std::string::npos) << text;
    EXPECT_NE(text.find(kAnn), std::string::npos) << text;

    // Standard output and -o give the same text; -o - is standard output, not a file named "-".
    const ToolResult printed = RunTool({"new", "--user", kAnn});
    EXPECT_EQ(printed.Status, 0);
    EXPECT_EQ(printed.Out, text);
    ASSERT_FALSE(std::filesystem::exists("-"));
    const ToolResult dashed = RunTool({"new", "--user", kAnn, "-o", "-"});
    EXPECT_EQ(dashed.Status, 0) << dashed.Err;
    EXPECT_EQ(dashed.Out, text);
    EXPECT_FALSE(std::filesystem::exists("-"));

    const ToolResult again = RunTool({"resave", created, "--user", kAnn, "-o", resaved});
    ASSERT_EQ(again.Status, 0) << again.Err;
    EXPECT_EQ(ReadFile(resaved), text);
    const ToolResult viaStdin = RunTool({"resave", "-", "--user", kAnn}, text);
    EXPECT_EQ(viaStdin.Status, 0);
    EXPECT_EQ(viaStdin.Out, text);

    // Its author opening it is told nothing; anybody else is told they become the modifier.
    const OutputCase cases[] = {
        {"author opens", {"notices", created, "--user", kAnn}, "", 0, "", ""},
        {"someone else opens",
         {"notices", created, "--user", kBob},
         "",
         0,
         "If you save the assistant, you will be recorded as the modifier.\n",
         ""},
    };
    for (const OutputCase& c : cases)
        ExpectRun(c);
}

TEST(AmfToolNewAndResave, ResaveRecordsTheUserAsMissingAuthorAndAsModifier) {
    TempDir dir;
    const std::string resaved = (dir / "tour.amf").string();
    const ToolResult r = RunTool({"resave", DataFile("tool_tour.amf"), "--user", kAnn, "-o", resaved});
    ASSERT_EQ(r.Status, 0) << r.Err;
    // Opening filled in the missing author, saving the modifier: the user who saved is told nothing.
    ExpectRun({"resaver opens", {"notices", resaved, "--user", kAnn}, "", 0, "", ""});
    ExpectRun({"structure kept", {"structure", resaved}, "", 0, kTourStructure, ""});

    // Bob resaving Ann's file becomes the modifier; Ann then learns about it.
    const std::string byBob = (dir / "bob.amf").string();
    ASSERT_EQ(RunTool({"resave", resaved, "--user", kBob, "-o", byBob}).Status, 0);
    ExpectRun({"author opens after Bob",
               {"notices", byBob, "--user", kAnn},
               "",
               0,
               "This assistant was created by Ann Lee\nbut has been modified by Bob Ray.\n\n"
               "If you save the assistant, you will be recorded as the modifier.\n\n"
               "Warning: this assistant has been modified by Bob Ray\nafter begin authored by Ann Lee\n",
               ""});
}

TEST(AmfToolNewAndResave, ReadAndWriteFailuresGiveStatus2AndKeepTheTarget) {
    TempDir dir;
    const std::string target = (dir / "keep.amf").string();
    WriteFile(target, "old contents");
    ExpectRun({"unreadable source",
               {"resave", DataFile("tool_badroot.amf"), "--user", kAnn, "-o", target},
               "",
               2,
               "",
               kBadRootMessage});
    EXPECT_EQ(ReadFile(target), "old contents");

    const std::string noFolder = (dir / "missing" / "out.amf").string();
    const ToolResult r = RunTool({"new", "--user", kAnn, "-o", noFolder});
    EXPECT_EQ(r.Status, 2);
    EXPECT_EQ(r.Out, "");
    EXPECT_EQ(r.Err.rfind("Cannot write file \"" + noFolder + "\"", 0), 0u) << r.Err;
}

TEST(AmfToolNewAndResave, OutputToAPipeIsWrittenIntoThePipe) {
    TempDir dir;
    const std::string pipe = (dir / "pipe").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // A reader that is already there lets the tool open the pipe; the text stays in the pipe's buffer.
    const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const ToolResult r = RunTool({"new", "--user", kAnn, "-o", pipe});
    std::string received;
    char buffer[4096];
    for (ssize_t n; (n = ::read(reader, buffer, sizeof buffer)) > 0;)
        received.append(buffer, static_cast<std::size_t>(n));
    ::close(reader);
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(received, RunTool({"new", "--user", kAnn}).Out);
    EXPECT_TRUE(std::filesystem::is_fifo(pipe)) << "the pipe was replaced by a file";
}

TEST(AmfToolNewAndResave, OutputThroughALinkToAFileNotYetThere) {
    struct Case {
        std::string Name;
        std::string LinkTarget; // relative to the link's folder
        int Status;
        bool TargetWritten;
    };
    const Case cases[] = {
        {"target in an existing folder is created", "made.amf", 0, true},
        {"target in a missing folder is an error", "missing/made.amf", 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TempDir dir;
        const std::filesystem::path link = dir / "link.amf";
        std::filesystem::create_symlink(c.LinkTarget, link);
        const ToolResult r = RunTool({"new", "--user", kAnn, "-o", link.string()});
        EXPECT_EQ(r.Status, c.Status) << r.Err;
        EXPECT_TRUE(std::filesystem::is_symlink(link)) << "the link was replaced by a file";
        EXPECT_EQ(std::filesystem::exists(dir / c.LinkTarget), c.TargetWritten);
        if (c.TargetWritten)
            EXPECT_EQ(ReadFile(dir / c.LinkTarget), RunTool({"new", "--user", kAnn}).Out);
        else
            EXPECT_EQ(r.Err.rfind("Cannot write file \"" + link.string() + "\"", 0), 0u) << r.Err;
    }
}

TEST(AmfToolReport, WritesTheCompleteHtmlDocument) {
    TempDir dir;
    const std::string file = (dir / "report.html").string();
    const ToolResult toFile = RunTool({"report", DataFile("tool_clean.amf"), "-o", file});
    ASSERT_EQ(toFile.Status, 0) << toFile.Err;
    EXPECT_EQ(toFile.Out, "");
    const ToolResult toStdout = RunTool({"report", "-"}, Text("tool_clean.amf"));
    ASSERT_EQ(toStdout.Status, 0) << toStdout.Err;

    for (const std::string& html : {ReadFile(file), toStdout.Out}) {
        EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u) << html.substr(0, 100);
        EXPECT_NE(html.find("<title>Clean assistant</title>"), std::string::npos);
        EXPECT_NE(html.find("Report on Assistant: Clean: Clean assistant"), std::string::npos);
        EXPECT_NE(html.find("Screen: End: The end"), std::string::npos);
        EXPECT_NE(html.find("report-support"), std::string::npos) << "support text missing";
        const std::size_t footer = html.find("report-support"), end = html.rfind("</html>");
        ASSERT_NE(end, std::string::npos);
        EXPECT_LT(footer, end);
        EXPECT_EQ(html.find_first_not_of(" \n", end + 7), std::string::npos) << "text after </html>";
    }
    ExpectRun({"unreadable", {"report", DataFile("tool_badroot.amf")}, "", 2, "", kBadRootMessage});
}

TEST(AmfToolPublish, WritesOnePageAndWarnsAboutImagesLeftOut) {
    TempDir dir;
    const std::string source = (dir / "pics.amf").string(), page = (dir / "pics.html").string();
    {
        std::ofstream(dir / "small.png", std::ios::binary) << std::string("\x89PNG\r\n\x1a\n", 8);
        std::ofstream(source) << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<ASSISTANT NAME=\"A1\" VERSION=\"1\" BACKWARDS=\"0\"><FIRST>S1</FIRST>"
                                 "<CAPTION>Pictures</CAPTION>"
                                 "<SCREEN NAME=\"S1\"><CAPTION>One</CAPTION><IMAGE>small.png</IMAGE></SCREEN>"
                                 "<SCREEN NAME=\"S2\"><CAPTION>Two</CAPTION><IMAGE>gone.png</IMAGE></SCREEN>"
                                 "</ASSISTANT>\n";
    }
    const ToolResult r = RunTool({"publish", source, "-o", page});
    EXPECT_EQ(r.Status, 0);
    EXPECT_EQ(r.Out, "");
    EXPECT_EQ(r.Err,
              "amftool: warning: Screen S2: image \"gone.png\" was not found; its name is shown instead\n");
    const std::string html = ReadFile(page);
    EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(html.find("<title>Pictures</title>"), std::string::npos);
    EXPECT_NE(html.find("\"data\":\"data:image/png;base64,iVBORw0KGgo=\""), std::string::npos);

    // Standard input: images are looked for in the current folder, the page goes to standard output.
    const ToolResult piped = RunTool({"publish", "-"}, Text("tool_tour.amf"));
    EXPECT_EQ(piped.Status, 0) << piped.Err;
    EXPECT_NE(piped.Out.find("\"caption\":\"Guided tour\""), std::string::npos);

    ExpectRun({"unreadable", {"publish", DataFile("tool_badroot.amf")}, "", 2, "", kBadRootMessage});
    const ToolResult unwritable = RunTool({"publish", source, "-o", (dir / "none" / "x.html").string()});
    EXPECT_EQ(unwritable.Status, 2);
    EXPECT_NE(unwritable.Err.find("Cannot write file"), std::string::npos) << unwritable.Err;
}

TEST(AmfToolUserID, FallsBackToTheEditorsStoredUserIDThenToAnonymous) {
    const std::string carol = "{0A1B2C3D-4E5F-4061-8293-A4B5C6D7E8F9} Carol";
    struct Case {
        std::string Name;
        std::string Settings;       // contents of the editor's per-user settings file; empty: no file
        std::string SystemSettings; // contents of the machine-wide settings file; empty: no file
        std::vector<std::string> ExtraArgs;
        std::string Expected;
    };
    const std::vector<Case> cases = {
        {"no settings file", "", "", {}, kAnonymous},
        {"stored plain", "[General]\nUserID=" + carol + " Jones\n", "", {}, carol + " Jones"},
        {"stored quoted, as written for a name with a comma",
         "[General]\nUserID=\"" + carol + ", Jones\"\n",
         "",
         {},
         carol + ", Jones"},
        {"key in other letter case, CR LF lines", "[General]\r\nuserid=" + carol + "\r\n", "", {}, carol},
        {"other groups are not the user ID",
         "[Window]\nUserID=" + carol + "\n[General]\nFiles=x\n",
         "",
         {},
         kAnonymous},
        {"--user wins over the stored one", "[General]\nUserID=" + carol + "\n", "", {"--user", kBob}, kBob},
        {"only the machine-wide file has one", "", "[General]\nUserID=" + carol + "\n", {}, carol},
        {"the per-user file lacks it",
         "[General]\nFiles=x\n",
         "[General]\nUserID=" + carol + "\n",
         {},
         carol},
        {"the per-user one wins",
         "[General]\nUserID=" + kBob + "\n",
         "[General]\nUserID=" + carol + "\n",
         {},
         kBob},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TempDir config, system;
        if (!c.Settings.empty())
            WriteFile(config / "Veltrane" / "Assistant Tools" / "2.0" / "Pathova.ini", c.Settings);
        if (!c.SystemSettings.empty())
            WriteFile(system / "Veltrane" / "Assistant Tools" / "2.0" / "Pathova.ini", c.SystemSettings);
        std::vector<std::string> args = {"new"};
        args.insert(args.end(), c.ExtraArgs.begin(), c.ExtraArgs.end());
        // The machine-wide folder is the first of XDG_CONFIG_DIRS; the second is never read.
        const ToolResult r = RunTool(args, "",
                                     {{"XDG_CONFIG_HOME", config.Path().string()},
                                      {"XDG_CONFIG_DIRS", system.Path().string() + ":/etc/xdg"}});
        ASSERT_EQ(r.Status, 0) << r.Err;
        // A new assistant records its user as author and modifier.
        EXPECT_NE(r.Out.find("<AUTHOR NAME=\"" + c.Expected + "\""), std::string::npos) << r.Out;
        EXPECT_NE(r.Out.find("<MODIFIER NAME=\"" + c.Expected + "\""), std::string::npos) << r.Out;
    }
}

TEST(AmfToolUserID, UsesHomeConfigWhenXdgConfigHomeIsUnset) {
    TempDir home;
    const std::string dave = "{0A1B2C3D-4E5F-4061-8293-A4B5C6D7E8F9} Dave";
    WriteFile(home / ".config" / "Veltrane" / "Assistant Tools" / "2.0" / "Pathova.ini",
              "[General]\nUserID=" + dave + "\n");
    const ToolResult r = RunTool({"new"}, "", {{"HOME", home.Path().string()}, {"XDG_CONFIG_HOME", ""}});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_NE(r.Out.find("<AUTHOR NAME=\"" + dave + "\""), std::string::npos) << r.Out;
}

TEST(AmfToolUsage, WrongCommandLinesGiveStatus2AndSayWhy) {
    const std::string clean = DataFile("tool_clean.amf");
    struct Case {
        std::vector<std::string> Args;
        std::string ErrPart;
    };
    const std::vector<Case> cases = {
        {{}, "no command given"},
        {{"lint", clean}, "unknown command \"lint\""},
        {{"--frobnicate"}, "unknown option \"--frobnicate\""},
        {{"check"}, "missing FILE"},
        {{"check", "--user", kAnn, clean}, "unknown option \"--user\" for check"},
        {{"check", "-x", clean}, "unknown option \"-x\""},
        {{"check", "-", "-"}, "standard input (\"-\") can be read only once"},
        {{"structure", clean, clean}, "structure takes one FILE"},
        {{"notices", "--json", clean}, "unknown option \"--json\" for notices"},
        {{"notices", clean, "--user"}, "option --user needs a value"},
        {{"notices", clean, "--user", "Ann Lee"}, "invalid user ID \"Ann Lee\""},
        {{"notices", clean, "--user", "{1F0C2B7E-0000-4000-8000-00000000000A}"}, "invalid user ID"},
        {{"report", clean, "-o"}, "option -o needs a value"},
        {{"report", clean, "--output="}, "option --output needs a file name"},
        {{"new", clean}, "unexpected argument"},
        {{"resave", "--user", kAnn}, "missing FILE"},
        {{"--help", "check", "extra"}, "unexpected argument \"extra\""},
        {{"new", "--user", "{1F0C2B7E-0000-4000-8000-00000000000A}  Ann"}, "invalid user ID"},
    };
    for (const Case& c : cases) {
        std::string joined;
        for (const std::string& a : c.Args)
            joined += "[" + a + "] ";
        SCOPED_TRACE(joined);
        const ToolResult r = RunTool(c.Args);
        EXPECT_EQ(r.Status, 2);
        EXPECT_EQ(r.Out, "");
        EXPECT_NE(r.Err.find(c.ErrPart), std::string::npos) << r.Err;
        EXPECT_NE(r.Err.find("Try 'amftool"), std::string::npos) << r.Err;
    }
}

TEST(AmfToolUsage, HelpAndVersion) {
    struct Case {
        std::vector<std::string> Args;
        std::string OutPart;
    };
    const std::vector<Case> cases = {
        {{"--help"}, "Usage: amftool COMMAND"},
        {{"--help", "check"}, "Usage: amftool check [--json] FILE..."},
        {{"report", "--help"}, "Usage: amftool report FILE [-o OUT]"},
        {{"publish", "--help"}, "Usage: amftool publish FILE [-o OUT.html]"},
        {{"resave", "-h"}, "Usage: amftool resave FILE [--user ID] [-o OUT]"},
        {{"check", "--help"}, "a backslash is written as \\\\,\nCR, LF and TAB as \\r, \\n and \\t"},
        {{"structure", "--help"}, "(\\\\ \\r \\n \\t \\xHH \\u00HH)"},
        {{"structure", "--help"}, "Usage: amftool structure [--json] FILE"},
        {{"structure", "--help"}, "deeper than 32 levels are indented as level 32"},
        {{"--version"}, "amftool 2.0 (build 23)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Args.front());
        const ToolResult r = RunTool(c.Args);
        EXPECT_EQ(r.Status, 0);
        EXPECT_EQ(r.Err, "");
        EXPECT_NE(r.Out.find(c.OutPart), std::string::npos) << r.Out;
    }
    // The general help names every command.
    const ToolResult help = RunTool({"--help"});
    for (const char* command : {"new", "resave", "check", "structure", "notices", "report", "publish"})
        EXPECT_NE(help.Out.find(std::string("  ") + command + " "), std::string::npos) << command;
}

TEST(AmfToolUsage, AFullStandardOutputIsAFailure) {
    const std::string tour = DataFile("tool_tour.amf");
    const std::vector<std::vector<std::string>> cases = {
        {"--help"},
        {"--help", "check"},
        {"check", "-h"},
        {"--version"},
        {"new"},
        {"resave", tour},
        {"check", tour},
        {"check", "--json", tour},
        {"structure", tour},
        {"notices", tour},
        {"report", tour},
        {"publish", tour},
    };
    for (const std::vector<std::string>& args : cases) {
        SCOPED_TRACE(args.front() + (args.size() > 1 ? " " + args[1] : std::string()));
        const ToolResult r = clitest::RunToolRedirected(args, "", {.Input = {}, .Output = "/dev/full"}, {});
        EXPECT_EQ(r.Status, 2);
        EXPECT_EQ(r.Err, "amftool: cannot write to standard output\n");
    }
}
} // namespace
