// amftool paths and map run as separate processes: exact lines, JSON, written files, usage errors.
#include "minijson.h"
#include "runtool.h"

#include <filesystem>

#include <gtest/gtest.h>

using clitest::DataFile;
using clitest::ExpectRun;
using clitest::OutputCase;
using clitest::ReadFile;
using clitest::RunTool;
using clitest::TempDir;
using clitest::ToolResult;

namespace {

std::string Screen(const std::string& id, const std::string& options = "") {
    return "<SCREEN NAME=\"" + id + "\"><CAPTION>Cap " + id + "</CAPTION>" + options + "</SCREEN>";
}
std::string Go(const std::string& id, const std::string& target, const std::string& type = "GOTO") {
    return "<OPTION NAME=\"" + id + "\"><CAPTION>To " + target + "</CAPTION><ACTION TYPE=\"" + type +
           "\" COMMAND=\"" + target + "\"/></OPTION>";
}
std::string Assistant(const std::string& first, const std::string& screens) {
    return "<?xml version=\"1.0\"?><ASSISTANT NAME=\"A\" VERSION=\"1\" BACKWARDS=\"0\"><FIRST>" + first +
           "</FIRST>" + screens + "</ASSISTANT>";
}

// Start leads to Next (by a button, in other letter case); Loop1 and Loop2 lead only to each other;
// Web only opens a web page; "Dead&#10;end" (an ID with a line break) has no options; a second "next"
// repeats Next's ID and so is never reached.
const std::string kPathsFile =
    Assistant("start", Screen("Start", Go("O1", "NEXT", "GOTOBUTTON") + Go("O2", "Web")) + Screen("Next") +
                           Screen("Loop1", Go("L1", "Loop2")) + Screen("Loop2", Go("L2", "Loop1")) +
                           Screen("Web", Go("W", "https://example.org/", "INTERNET")) +
                           Screen("Dead&#10;end") + Screen("next", Go("N", "Start")));

TEST(AmfToolPaths, ListsUnreachableScreensThenDeadEndsThenCounts) {
    const OutputCase cases[] = {
        {"hints in list order, IDs escaped",
         {"paths", "-"},
         kPathsFile,
         0,
         "Unreachable: Loop1\n"
         "Unreachable: Loop2\n"
         "Unreachable: Dead\\nend\n"
         "Unreachable: next\n"
         "Dead end: Next\n"
         "Dead end: Dead\\nend\n"
         "Screens: 7, unreachable: 4, dead ends: 2.\n",
         ""},
        {"no start screen: every screen unreachable",
         {"paths", "-"},
         Assistant("Missing", Screen("S1", Go("O", "S2")) + Screen("S2")),
         0,
         "Unreachable: S1\nUnreachable: S2\nDead end: S2\nScreens: 2, unreachable: 2, dead ends: 1.\n",
         ""},
        {"empty first screen starts at the empty ID",
         {"paths", "-"},
         Assistant("", Screen("S1") + Screen("", Go("O", "s1"))),
         0,
         "Dead end: S1\nScreens: 2, unreachable: 0, dead ends: 1.\n",
         ""},
        {"two screens leading only to each other",
         {"paths", DataFile("sample-map.amf")},
         "",
         0,
         "Unreachable: OldDrivers\nUnreachable: OldHelp\nDead end: Finish\nScreens: 6, unreachable: 2, dead "
         "ends: 1.\n",
         ""},
        {"a clean file",
         {"paths", DataFile("tool_tour.amf")},
         "",
         0,
         "Screens: 2, unreachable: 0, dead ends: 0.\n",
         ""},
        {"an unreadable file",
         {"paths", DataFile("tool_badroot.amf")},
         "",
         2,
         "",
         "[AS022] Unexpected tag \"FOO\" in assistant stream.\n"},
    };
    for (const OutputCase& c : cases)
        ExpectRun(c);
}

TEST(AmfToolPaths, CheckStaysAsItIs) {
    // The check's one-step link rule counts the two screens as linked; paths is a separate hint.
    const ToolResult check = RunTool({"check", DataFile("sample-map.amf")});
    EXPECT_EQ(check.Out.find("not linked"), std::string::npos) << check.Out;
    EXPECT_NE(check.Out.find("Warning(s): 3, error(s): 1."), std::string::npos) << check.Out;
}

TEST(AmfToolPaths, JsonKeepsTheTextsAndGivesPositions) {
    const ToolResult r = RunTool({"paths", "--json", "-"}, kPathsFile);
    ASSERT_EQ(r.Status, 0) << r.Err;
    const minijson::Value result = minijson::Parse(r.Out);
    EXPECT_EQ(result["file"].Text, "-");
    EXPECT_EQ(result["screens"].Text, "7");
    EXPECT_EQ(result["start"]["id"].Text, "Start");
    EXPECT_EQ(result["start"]["position"].Text, "1");
    const minijson::Value& unreachable = result["unreachable"];
    ASSERT_EQ(unreachable.Items.size(), 4u) << r.Out;
    EXPECT_EQ(unreachable.Items[2]["id"].Text, "Dead\nend");
    EXPECT_EQ(unreachable.Items[3]["id"].Text, "next");
    EXPECT_EQ(unreachable.Items[3]["position"].Text, "7");
    const minijson::Value& deadEnds = result["deadEnds"];
    ASSERT_EQ(deadEnds.Items.size(), 2u);
    EXPECT_EQ(deadEnds.Items[0]["id"].Text, "Next");

    const ToolResult none = RunTool({"paths", "--json", "-"}, Assistant("X", Screen("S1")));
    EXPECT_EQ(minijson::Parse(none.Out)["start"].Type, minijson::Value::Kind::Null) << none.Out;
}

TEST(AmfToolMap, WritesTheFormatItsExtensionNames) {
    TempDir dir;
    const std::string input = DataFile("sample-tour.amf");
    struct Case {
        std::string Name;
        std::string Prefix; // the first bytes of the file
        std::string Contains;
    };
    const Case cases[] = {
        {"map.svg", "<?xml", "<svg"},
        {"map.SVG", "<?xml", ">Welcome</text>"},
        {"map.png", std::string("\x89PNG\r\n\x1A\n", 8), ""},
        {"map.dot", "digraph map {", "s0 -> s1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const ToolResult r = RunTool({"map", input, "-o", (dir / c.Name).string()});
        EXPECT_EQ(r.Status, 0) << r.Err;
        EXPECT_EQ(r.Out, "");
        const std::string bytes = ReadFile(dir / c.Name);
        EXPECT_EQ(bytes.substr(0, c.Prefix.size()), c.Prefix);
        EXPECT_NE(bytes.find(c.Contains), std::string::npos);
    }
}

TEST(AmfToolMap, RefusesOutputsItCannotWrite) {
    TempDir dir;
    const std::string input = DataFile("sample-tour.amf");
    const std::string usage =
        "Usage: amftool map FILE -o OUT.svg|OUT.png|OUT.dot\nTry 'amftool map --help'.\n";
    const OutputCase cases[] = {
        {"no -o", {"map", input}, "", 2, "", "amftool: map needs -o OUT.svg, OUT.png or OUT.dot\n" + usage},
        {"-o -",
         {"map", input, "-o", "-"},
         "",
         2,
         "",
         "amftool: map needs -o OUT.svg, OUT.png or OUT.dot\n" + usage},
        {"unknown extension",
         {"map", input, "-o", (dir / "map.txt").string()},
         "",
         2,
         "",
         "amftool: cannot tell the format of \"" + (dir / "map.txt").string() +
             "\": the file name must end in .svg, .png or .dot\n" + usage},
        {"a point only in a folder name",
         {"map", input, "-o", (dir / "a.svg" / "map").string()},
         "",
         2,
         "",
         "amftool: cannot tell the format of \"" + (dir / "a.svg" / "map").string() +
             "\": the file name must end in .svg, .png or .dot\n" + usage},
        {"unreadable file",
         {"map", DataFile("tool_badroot.amf"), "-o", (dir / "bad.svg").string()},
         "",
         2,
         "",
         "[AS022] Unexpected tag \"FOO\" in assistant stream.\n"},
    };
    for (const OutputCase& c : cases)
        ExpectRun(c);
    EXPECT_FALSE(std::filesystem::exists(dir / "bad.svg"));
    EXPECT_FALSE(std::filesystem::exists(dir / "map.txt"));
}

TEST(AmfToolMap, HelpNamesBothCommands) {
    const ToolResult help = RunTool({"--help"});
    for (const char* command : {"  paths ", "  map "})
        EXPECT_NE(help.Out.find(command), std::string::npos) << command;
    EXPECT_NE(RunTool({"paths", "--help"}).Out.find("Unreachable: ID"), std::string::npos);
    EXPECT_NE(RunTool({"map", "--help"}).Out.find(".dot is the graph"), std::string::npos);
}

} // namespace
