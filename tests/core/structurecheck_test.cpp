#include "model/structurecheck.h"

#include "assistantbuilder.h"
#include "model/assistroot.h"
#include "support/textroutines.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

using testbuild::Option;
using testbuild::Place;
using testbuild::Screen;

namespace {

// A finding as the tests state it: the place of the item it is attached to and the full line.
using Line = std::pair<std::string, std::string>;

std::vector<Line> Lines(const TAssistRoot& root, const StructureCheckResult& result) {
    std::vector<Line> lines;
    for (const StructureFinding& finding : result.Findings)
        lines.emplace_back(Place(root, finding.Item), finding.Line());
    return lines;
}

// An assistant with nothing to report: every top-level field set and the first screen "Start"
// (captioned, no options). The cases add the faults.
void MakeClean(TAssistRoot& root) {
    root.ID = "A1";
    root.Caption = "Assistant";
    root.AuthorName = "Ann Lee";
    root.Copyright = "(c) Ann Lee";
    root.Description = {"What it is for."};
    root.FirstScreen = "Start";
    Screen(root, "Start", "Welcome");
}

TAssistScreen& Start(TAssistRoot& root) {
    return *root.Screens.Item(0);
}

// A second, unremarkable option on the screen, so that its first option is not the only one.
void AddSecondOption(TAssistScreen& screen) {
    Option(screen, screen.ID + ".2");
}

struct Case {
    const char* name;
    std::function<void(TAssistRoot&)> build;
    std::vector<Line> expected;
};

void RunCases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TAssistRoot root(testbuild::User);
        MakeClean(root);
        c.build(root);
        const StructureCheckResult result = CheckStructure(root);
        EXPECT_EQ(Lines(root, result), c.expected);
        int errors = 0, warnings = 0;
        for (const Line& line : c.expected)
            (line.second.starts_with("Error: ") ? errors : warnings)++;
        EXPECT_EQ(result.Errors, errors);
        EXPECT_EQ(result.Warnings, warnings);
    }
}

} // namespace

TEST(StructureCheck, EmptyAssistantGivesSixLines) {
    TAssistRoot root(testbuild::User);
    root.ID.clear();
    root.Caption.clear();
    root.AuthorName.clear();
    root.Copyright.clear();
    root.Description.clear();
    root.FirstScreen.clear();

    const StructureCheckResult result = CheckStructure(root);

    const std::vector<Line> expected = {
        {"root", "Error: No first screen defined at top level."},
        {"root", "Warning: No author set at top level."},
        {"root", "Warning: No copyright set at top level."},
        {"root", "Error: No caption for assistant at top level."},
        {"root", "Error: No ID for assistant at top level."},
        {"root", "Warning: No explanation for assistant at top level."},
    };
    EXPECT_EQ(Lines(root, result), expected);
    EXPECT_EQ(result.Errors, 3);
    EXPECT_EQ(result.Warnings, 3);
    EXPECT_EQ(result.Caption(), "&Warning(s): 3, error(s): 3.");
    EXPECT_EQ(result.Findings[0].Severity, FindingSeverity::Error);
    EXPECT_EQ(result.Findings[0].Message, "No first screen defined at top level.");
    EXPECT_EQ(result.Findings[1].Severity, FindingSeverity::Warning);
    EXPECT_EQ(result.Findings[1].Message, "No author set at top level.");
}

TEST(StructureCheck, CleanAssistantHasNoFindings) {
    TAssistRoot root(testbuild::User);
    MakeClean(root);
    const StructureCheckResult result = CheckStructure(root);
    EXPECT_TRUE(result.Findings.empty());
    EXPECT_EQ(result.Errors, 0);
    EXPECT_EQ(result.Warnings, 0);
    EXPECT_EQ(result.Caption(), "&Warning(s): 0, error(s): 0.");
}

TEST(StructureCheck, CaptionPutsWarningsFirst) {
    EXPECT_EQ(WarningsCaption(12, 0), "&Warning(s): 12, error(s): 0.");
    EXPECT_EQ(WarningsCaption(0, 105), "&Warning(s): 0, error(s): 105.");
}

TEST(StructureCheck, AssistantFields) {
    RunCases({
        {"first screen empty",
         [](TAssistRoot& r) { r.FirstScreen.clear(); },
         {{"root", "Error: No first screen defined at top level."},
          {"screen 1", "Warning: Screen Start not linked to main structure."}}},
        {"first screen names no screen",
         [](TAssistRoot& r) { r.FirstScreen = "Nowhere"; },
         {{"root", "Error: First screen defined at top level not found."},
          {"screen 1", "Warning: Screen Start not linked to main structure."}}},
        {"first screen differs from the screen ID only in letter case",
         [](TAssistRoot& r) { r.FirstScreen = "sTART"; },
         {}},
        {"empty first screen is reported even when a screen has an empty ID, which it links",
         [](TAssistRoot& r) {
             r.FirstScreen.clear();
             Screen(r, "");
         },
         {{"root", "Error: No first screen defined at top level."},
          {"screen 1", "Warning: Screen Start not linked to main structure."},
          {"screen 2", "Error: No ID for screen 2."}}},
        {"no author",
         [](TAssistRoot& r) { r.AuthorName.clear(); },
         {{"root", "Warning: No author set at top level."}}},
        {"no copyright",
         [](TAssistRoot& r) { r.Copyright.clear(); },
         {{"root", "Warning: No copyright set at top level."}}},
        {"no caption",
         [](TAssistRoot& r) { r.Caption.clear(); },
         {{"root", "Error: No caption for assistant at top level."}}},
        {"no ID",
         [](TAssistRoot& r) { r.ID.clear(); },
         {{"root", "Error: No ID for assistant at top level."}}},
        {"no description",
         [](TAssistRoot& r) { r.Description.clear(); },
         {{"root", "Warning: No explanation for assistant at top level."}}},
        {"nothing is trimmed: a blank caption and an empty description line count as present",
         [](TAssistRoot& r) {
             r.Caption = " ";
             r.ID = " ";
             r.Description = {""};
         },
         {}},
    });
}

TEST(StructureCheck, ScreenFields) {
    RunCases({
        {"screen without ID",
         [](TAssistRoot& r) { Screen(r, ""); },
         {{"screen 2", "Error: No ID for screen 2."},
          {"screen 2", "Warning: Screen  not linked to main structure."}}},
        {"screen without caption",
         [](TAssistRoot& r) { Screen(r, "S2", ""); },
         {{"screen 2", "Error: No caption for screen S2."},
          {"screen 2", "Warning: Screen S2 not linked to main structure."}}},
        {"three screens with one ID: one error on the second, two on the third",
         [](TAssistRoot& r) {
             Screen(r, "Dup");
             Screen(r, "DUP");
             Screen(r, "dup");
         },
         {{"screen 2", "Warning: Screen Dup not linked to main structure."},
          {"screen 3", "Error: Screen ID DUP duplicated."},
          {"screen 3", "Warning: Screen DUP not linked to main structure."},
          {"screen 4", "Error: Screen ID dup duplicated."},
          {"screen 4", "Error: Screen ID dup duplicated."},
          {"screen 4", "Warning: Screen dup not linked to main structure."}}},
        {"Start and START are duplicates; both equal the first screen",
         [](TAssistRoot& r) { Screen(r, "START"); },
         {{"screen 2", "Error: Screen ID START duplicated."}}},
        {"only A-Z fold: accented capitals are other IDs",
         [](TAssistRoot& r) {
             Screen(r, "\xC3\xA9t\xC3\xA9");
             Screen(r, "\xC3\x89T\xC3\x89");
         },
         {{"screen 2", "Warning: Screen \xC3\xA9t\xC3\xA9 not linked to main structure."},
          {"screen 3", "Warning: Screen \xC3\x89T\xC3\x89 not linked to main structure."}}},
        {"two screens with empty IDs",
         [](TAssistRoot& r) {
             Screen(r, "");
             Screen(r, "");
         },
         {{"screen 2", "Error: No ID for screen 2."},
          {"screen 2", "Warning: Screen  not linked to main structure."},
          {"screen 3", "Error: No ID for screen 3."},
          {"screen 3", "Error: Screen ID  duplicated."},
          {"screen 3", "Warning: Screen  not linked to main structure."}}},
        {"single option with a caption",
         [](TAssistRoot& r) { Option(Start(r), "Start.1"); },
         {{"screen 1", "Warning: Screen Start has only 1 non-blank option."}}},
        {"single option with a one-blank caption",
         [](TAssistRoot& r) { Option(Start(r), "Start.1", akExec, "run.exe", " "); },
         {{"screen 1", "Warning: Screen Start has only 1 non-blank option."}}},
        {"single option with only a description (even an empty line)",
         [](TAssistRoot& r) { Option(Start(r), "Start.1", akExec, "run.exe", "").Description = {""}; },
         {{"screen 1", "Warning: Screen Start has only 1 non-blank option."}}},
        {"single blank option: no single-option warning and no caption error",
         [](TAssistRoot& r) { Option(Start(r), "Start.1", akExec, "run.exe", ""); },
         {}},
        {"screen checks in order, before the options and the link",
         [](TAssistRoot& r) {
             Screen(r, "x");
             TAssistScreen& s = Screen(r, "X", "");
             Option(s, "", akExec, "run.exe", "");
             Option(s, "X.2");
             TAssistScreen& t = Screen(r, "", "");
             Option(t, "T.1");
         },
         {{"screen 2", "Warning: Screen x not linked to main structure."},
          {"screen 3", "Error: No caption for screen X."},
          {"screen 3", "Error: Screen ID X duplicated."},
          {"option 3.1", "Error: No ID for option 1 of screen X."},
          {"option 3.1", "Error: No caption for option ."},
          {"screen 3", "Warning: Screen X not linked to main structure."},
          {"screen 4", "Error: No ID for screen 4."},
          {"screen 4", "Error: No caption for screen ."},
          {"screen 4", "Warning: Screen  has only 1 non-blank option."},
          {"screen 4", "Warning: Screen  not linked to main structure."}}},
    });
}

TEST(StructureCheck, OptionFields) {
    RunCases({
        {"option without ID",
         [](TAssistRoot& r) {
             Option(Start(r), "");
             AddSecondOption(Start(r));
         },
         {{"option 1.1", "Error: No ID for option 1 of screen Start."}}},
        {"blank option beside another gets the caption error",
         [](TAssistRoot& r) {
             Option(Start(r), "Start.1", akExec, "run.exe", "");
             AddSecondOption(Start(r));
         },
         {{"option 1.1", "Error: No caption for option Start.1."}}},
        {"three options with one ID",
         [](TAssistRoot& r) {
             Option(Start(r), "O");
             Option(Start(r), "o");
             Option(Start(r), "O");
         },
         {{"option 1.2", "Error: Option ID o duplicated."},
          {"option 1.3", "Error: Option ID O duplicated."},
          {"option 1.3", "Error: Option ID O duplicated."}}},
        {"many options on a screen: duplicates counted the same way",
         [](TAssistRoot& r) {
             for (int i = 1; i <= 16; ++i)
                 Option(Start(r), "O" + IntToStr(i));
             Option(Start(r), "o3");
             Option(Start(r), "O3");
         },
         {{"option 1.17", "Error: Option ID o3 duplicated."},
          {"option 1.18", "Error: Option ID O3 duplicated."},
          {"option 1.18", "Error: Option ID O3 duplicated."}}},
        {"equal option IDs on different screens are no duplicates",
         [](TAssistRoot& r) {
             Option(Start(r), "Same", akGoto, "S2");
             AddSecondOption(Start(r));
             TAssistScreen& s2 = Screen(r, "S2");
             Option(s2, "same");
             AddSecondOption(s2);
         },
         {}},
        {"go-to with empty command",
         [](TAssistRoot& r) {
             Option(Start(r), "X", akGoto, "");
             AddSecondOption(Start(r));
         },
         {{"option 1.1", "Error: Command not specified for option X."},
          {"option 1.1", "Error: Screen  target for X not found."}}},
        {"go-to with empty command finds a screen with an empty ID and links it",
         [](TAssistRoot& r) {
             Option(Start(r), "X", akGoto, "");
             AddSecondOption(Start(r));
             Screen(r, "");
         },
         {{"option 1.1", "Error: Command not specified for option X."},
          {"screen 2", "Error: No ID for screen 2."}}},
        {"go-to button to a missing screen",
         [](TAssistRoot& r) {
             Option(Start(r), "Start.1", akGotoButton, "Nowhere");
             AddSecondOption(Start(r));
         },
         {{"option 1.1", "Error: Screen Nowhere target for Start.1 not found."}}},
        {"go-to target found ignoring letter case",
         [](TAssistRoot& r) {
             Option(Start(r), "Start.1", akGoto, "s2");
             AddSecondOption(Start(r));
             Screen(r, "S2");
         },
         {}},
        {"other kinds need a command",
         [](TAssistRoot& r) {
             for (TActionKind kind : {akAssistant, akBrowse, akInternet, akExec})
                 Option(Start(r), std::string(ActionKeyword(kind)), kind, "");
         },
         {{"option 1.1", "Error: Command not specified for option ASSISTANT."},
          {"option 1.2", "Error: Command not specified for option BROWSE."},
          {"option 1.3", "Error: Command not specified for option INTERNET."},
          {"option 1.4", "Error: Command not specified for option EXEC."}}},
        {"run without command is also deprecated",
         [](TAssistRoot& r) {
             Option(Start(r), "R", akRun, "");
             AddSecondOption(Start(r));
         },
         {{"option 1.1", "Error: Command not specified for option R."},
          {"option 1.1", "Warning: Option ID R is using a deprecated action type."}}},
        {"run with a command is only deprecated",
         [](TAssistRoot& r) {
             Option(Start(r), "R", akRun, "tool");
             AddSecondOption(Start(r));
         },
         {{"option 1.1", "Warning: Option ID R is using a deprecated action type."}}},
        {"script and note need no command",
         [](TAssistRoot& r) {
             Option(Start(r), "Sc", akScript, "").Script = "Sub Main\rEnd Sub";
             Option(Start(r), "No", akNote, "").Notes.Add()->Name = "Hint";
         },
         {}},
        {"script action without script is an error",
         [](TAssistRoot& r) {
             Option(Start(r), "Sc", akScript, "");
             AddSecondOption(Start(r));
         },
         {{"option 1.1", "Error: Option ID Sc script empty."}}},
        {"note action without notes is a warning",
         [](TAssistRoot& r) {
             Option(Start(r), "No", akNote, "");
             AddSecondOption(Start(r));
         },
         {{"option 1.1", "Warning: Option ID No has no notes."}}},
        {"script without Sub Main on a script action",
         [](TAssistRoot& r) {
             Option(Start(r), "Sc", akScript, "").Script = "MsgBox 1";
             AddSecondOption(Start(r));
         },
         {{"option 1.1", "Warning: Option ID Sc script does not appear to have a Sub Main."}}},
        {"script on another action is tested too",
         [](TAssistRoot& r) {
             Option(Start(r), "Ex", akExec, "run.exe").Script = "MsgBox 1";
             Option(Start(r), "Ok", akExec, "run.exe").Script = "Sub Main";
         },
         {{"option 1.1", "Warning: Option ID Ex script does not appear to have a Sub Main."}}},
        {"option checks in order",
         [](TAssistRoot& r) {
             Option(Start(r), "", akGoto, "", "").Script = "x";
             Option(Start(r), "", akRun, "", "");
             Option(Start(r), "N", akNote, "").Script = "y";
         },
         {{"option 1.1", "Error: No ID for option 1 of screen Start."},
          {"option 1.1", "Error: No caption for option ."},
          {"option 1.1", "Error: Command not specified for option ."},
          {"option 1.1", "Error: Screen  target for  not found."},
          {"option 1.1", "Warning: Option ID  script does not appear to have a Sub Main."},
          {"option 1.2", "Error: No ID for option 2 of screen Start."},
          {"option 1.2", "Error: No caption for option ."},
          {"option 1.2", "Error: Option ID  duplicated."},
          {"option 1.2", "Error: Command not specified for option ."},
          {"option 1.2", "Warning: Option ID  is using a deprecated action type."},
          {"option 1.3", "Warning: Option ID N has no notes."},
          {"option 1.3", "Warning: Option ID N script does not appear to have a Sub Main."}}},
    });
}

TEST(StructureCheck, LinkRule) {
    RunCases({
        {"linked from another screen",
         [](TAssistRoot& r) {
             Option(Start(r), "Start.1", akGoto, "S2");
             AddSecondOption(Start(r));
             Screen(r, "S2");
         },
         {}},
        {"a go-to button links too",
         [](TAssistRoot& r) {
             Option(Start(r), "Start.1", akGotoButton, "S2");
             AddSecondOption(Start(r));
             Screen(r, "S2");
         },
         {}},
        {"a screen's own options never link it, however many",
         [](TAssistRoot& r) {
             TAssistScreen& s2 = Screen(r, "S2");
             Option(s2, "S2.1", akGoto, "s2");
             Option(s2, "S2.2", akGotoButton, "S2");
         },
         {{"screen 2", "Warning: Screen S2 not linked to main structure."}}},
        {"two screens leading only to each other are both linked",
         [](TAssistRoot& r) {
             TAssistScreen& s2 = Screen(r, "S2");
             Option(s2, "S2.1", akGoto, "S3");
             AddSecondOption(s2);
             TAssistScreen& s3 = Screen(r, "S3");
             Option(s3, "S3.1", akGotoButton, "S2");
             AddSecondOption(s3);
         },
         {}},
        {"a link from an unlinked screen still counts",
         [](TAssistRoot& r) {
             TAssistScreen& s2 = Screen(r, "S2");
             Option(s2, "S2.1", akGoto, "S3");
             AddSecondOption(s2);
             Screen(r, "S3");
         },
         {{"screen 2", "Warning: Screen S2 not linked to main structure."}}},
        {"other action kinds naming the screen make no link",
         [](TAssistRoot& r) {
             for (TActionKind kind : {akAssistant, akRun, akBrowse, akInternet, akExec})
                 Option(Start(r), std::string(ActionKeyword(kind)), kind, "S2");
             Screen(r, "S2");
         },
         {{"option 1.2", "Warning: Option ID RUN is using a deprecated action type."},
          {"screen 2", "Warning: Screen S2 not linked to main structure."}}},
        {"the first screen is never warned, even when nothing leads to it",
         [](TAssistRoot& r) {
             Option(Start(r), "Start.1", akGoto, "Start");
             AddSecondOption(Start(r));
         },
         {}},
        {"a screen's go-to to its own ID links another screen with that ID",
         [](TAssistRoot& r) {
             TAssistScreen& x = Screen(r, "X");
             Option(x, "X.1", akGoto, "X");
             AddSecondOption(x);
             Screen(r, "x");
         },
         {{"screen 2", "Warning: Screen X not linked to main structure."},
          {"screen 3", "Error: Screen ID x duplicated."}}},
        {"two screens with one ID linking each other's ID are both linked",
         [](TAssistRoot& r) {
             for (const char* id : {"X", "x"}) {
                 TAssistScreen& s = Screen(r, id);
                 Option(s, "O.1", akGoto, "X");
                 AddSecondOption(s);
             }
         },
         {{"screen 3", "Error: Screen ID x duplicated."}}},
    });
}

TEST(StructureCheck, SubMainTest) {
    struct SubMainCase {
        const char* script;
        bool passes;
    };
    const SubMainCase cases[] = {
        {"Sub Main", true},
        {"sub MAIN", true},
        {"   Sub Main  ", true},
        {"\tSub Main\t", true},
        {"Sub Main' entry point", true},
        {"Sub Main'", true},
        {"Option Explicit\rDim x\r\rSub Main\r  x = 1\rEnd Sub", true},
        {"Dim x\r\nSub Main\r\nEnd Sub", true},
        {"\r\r Sub Main\r", true},
        {"Sub Main()", false},
        {"Sub  Main", false},
        {"Sub\tMain", false},
        {"Sub Main ' entry point", false},
        {"Public Sub Main", false},
        {"Dim x\nSub Main", false},
        {"Sub", false},
        {"Main", false},
        {"SubMain", false},
        {"Sub Mainly", false},
        {"' Sub Main", false},
        {"\r\r", false},
    };
    for (const SubMainCase& c : cases) {
        SCOPED_TRACE(c.script);
        EXPECT_EQ(ScriptHasSubMain(c.script), c.passes);

        TAssistRoot root(testbuild::User);
        MakeClean(root);
        Option(Start(root), "Sc", akScript, "").Script = c.script;
        AddSecondOption(Start(root));
        std::vector<Line> expected;
        if (!c.passes)
            expected.emplace_back("option 1.1",
                                  "Warning: Option ID Sc script does not appear to have a Sub Main.");
        EXPECT_EQ(Lines(root, CheckStructure(root)), expected);
    }
}

// ---------------------------------------------------------------------------------------------------
// The check written the plain way, one rule after the other: every screen compared with every earlier
// one, every link found by scanning all other screens, every target found with FindScreen. The
// indexed check must give exactly the same findings in the same order.

namespace {

void ReferenceCheck(const TAssistRoot& root, std::vector<StructureFinding>& out) {
    auto error = [&](std::string m, const TAssistBase* item) {
        out.push_back({FindingSeverity::Error, std::move(m), item});
    };
    auto warning = [&](std::string m, const TAssistBase* item) {
        out.push_back({FindingSeverity::Warning, std::move(m), item});
    };
    if (root.FirstScreen.empty())
        error("No first screen defined at top level.", &root);
    else if (root.Screens.FindScreen(root.FirstScreen) == nullptr)
        error("First screen defined at top level not found.", &root);
    if (root.AuthorName.empty())
        warning("No author set at top level.", &root);
    if (root.Copyright.empty())
        warning("No copyright set at top level.", &root);
    if (root.Caption.empty())
        error("No caption for assistant at top level.", &root);
    if (root.ID.empty())
        error("No ID for assistant at top level.", &root);
    if (root.Description.empty())
        warning("No explanation for assistant at top level.", &root);

    for (int n = 0; n < root.Screens.Count(); ++n) {
        const TAssistScreen& s = *root.Screens.Item(n);
        if (s.ID.empty())
            error("No ID for screen " + IntToStr(n + 1) + ".", &s);
        if (s.Caption.empty())
            error("No caption for screen " + s.ID + ".", &s);
        if (s.Options.Count() == 1 &&
            (!s.Options.Item(0)->Caption.empty() || !s.Options.Item(0)->Description.empty()))
            warning("Screen " + s.ID + " has only 1 non-blank option.", &s);
        for (int e = 0; e < n; ++e)
            if (SameText(root.Screens.Item(e)->ID, s.ID))
                error("Screen ID " + s.ID + " duplicated.", &s);
        for (int k = 0; k < s.Options.Count(); ++k) {
            const TAssistOption& o = *s.Options.Item(k);
            if (o.ID.empty())
                error("No ID for option " + IntToStr(k + 1) + " of screen " + s.ID + ".", &o);
            if (o.Caption.empty() && s.Options.Count() != 1)
                error("No caption for option " + o.ID + ".", &o);
            for (int e = 0; e < k; ++e)
                if (SameText(s.Options.Item(e)->ID, o.ID))
                    error("Option ID " + o.ID + " duplicated.", &o);
            if (o.Command.empty() && o.Action != akScript && o.Action != akNote)
                error("Command not specified for option " + o.ID + ".", &o);
            if ((o.Action == akGoto || o.Action == akGotoButton) &&
                root.Screens.FindScreen(o.Command) == nullptr)
                error("Screen " + o.Command + " target for " + o.ID + " not found.", &o);
            if (o.Action == akScript && o.Script.empty())
                error("Option ID " + o.ID + " script empty.", &o);
            if (o.Action == akNote && o.Notes.Count() == 0)
                warning("Option ID " + o.ID + " has no notes.", &o);
            if (!o.Script.empty() && !ScriptHasSubMain(o.Script))
                warning("Option ID " + o.ID + " script does not appear to have a Sub Main.", &o);
            if (o.Action == akRun)
                warning("Option ID " + o.ID + " is using a deprecated action type.", &o);
        }
        bool linked = SameText(s.ID, root.FirstScreen);
        for (int other = 0; !linked && other < root.Screens.Count(); ++other) {
            if (other == n)
                continue;
            for (const TAssistOption& o : root.Screens.Item(other)->Options)
                if ((o.Action == akGoto || o.Action == akGotoButton) && SameText(o.Command, s.ID)) {
                    linked = true;
                    break;
                }
        }
        if (!linked)
            warning("Screen " + s.ID + " not linked to main structure.", &s);
    }
}

std::vector<std::string> Describe(const TAssistRoot& root, const std::vector<StructureFinding>& findings) {
    std::vector<std::string> lines;
    for (const StructureFinding& f : findings)
        lines.push_back(Place(root, f.Item) + " | " + f.Line());
    return lines;
}

} // namespace

TEST(StructureCheck, MatchesThePlainCheckOnRandomAssistants) {
    testbuild::Dice dice(20050101);
    int withDuplicates = 0, withUnlinked = 0;
    for (int round = 0; round < 500; ++round) {
        SCOPED_TRACE("round " + IntToStr(round));
        TAssistRoot root(testbuild::User);
        testbuild::FillRandomAssistant(root, dice);
        std::vector<StructureFinding> expected;
        ReferenceCheck(root, expected);
        const StructureCheckResult result = CheckStructure(root);
        ASSERT_EQ(Describe(root, result.Findings), Describe(root, expected));

        int errors = 0, warnings = 0;
        for (const StructureFinding& f : expected) {
            (f.Severity == FindingSeverity::Error ? errors : warnings)++;
            withDuplicates += f.Message.starts_with("Screen ID ");
            withUnlinked += f.Message.ends_with("not linked to main structure.");
        }
        EXPECT_EQ(result.Errors, errors);
        EXPECT_EQ(result.Warnings, warnings);
    }
    // The random assistants must exercise the indexed parts, not only the top-level fields.
    EXPECT_GT(withDuplicates, 100);
    EXPECT_GT(withUnlinked, 100);
}

// Screens that share one ID give one line per earlier equal screen: n screens give n(n-1)/2 lines.
// The list stops at a fixed number of lines so that such a file cannot exhaust memory; the counts
// still count every finding, exactly and beyond the range of a 32-bit integer.
TEST(StructureCheck, ManyScreensWithOneIdAreCountedButNotAllListed) {
    struct SizeCase {
        std::int64_t screens;
        std::int64_t expectedErrors; // (n(n-1)/2 duplicates)
    };
    const SizeCase cases[] = {
        {3000, 4498500}, {70000, 2449965000}, // more than a 32-bit counter holds
    };
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(c.screens);
        TAssistRoot root(testbuild::User);
        MakeClean(root);
        for (std::int64_t s = 1; s < c.screens; ++s)
            Screen(root, "start");

        const StructureCheckResult result = CheckStructure(root);

        EXPECT_EQ(result.Errors, c.expectedErrors);
        EXPECT_EQ(result.Warnings, 0);
        ASSERT_EQ(result.Findings.size(), std::size_t{100000});
        EXPECT_EQ(result.Findings.front().Line(), "Error: Screen ID start duplicated.");
        EXPECT_EQ(Place(root, result.Findings.front().Item), "screen 2");
        // Screen N lists N-1 lines: screens 2 to 447 list 99,681, screen 448 the rest.
        EXPECT_EQ(Place(root, result.Findings.back().Item), "screen 448");
        EXPECT_EQ(result.Caption(), "&Warning(s): 0, error(s): " + IntToStr(c.expectedErrors) + ".");
    }
}

TEST(StructureCheck, ListsTheFirstLinesUpToTheLimitAndCountsAll) {
    // Small limits on random assistants: the lines are the first ones of the plain check (link
    // warnings, which are placed afterwards, included), the counts those of all its lines.
    const std::size_t limits[] = {0, 1, 3, 8, 20};
    for (const std::size_t limit : limits) {
        testbuild::Dice dice(19990303);
        int cut = 0;
        for (int round = 0; round < 200; ++round) {
            SCOPED_TRACE("limit " + IntToStr(static_cast<std::int64_t>(limit)) + ", round " +
                         IntToStr(round));
            TAssistRoot root(testbuild::User);
            testbuild::FillRandomAssistant(root, dice);
            std::vector<StructureFinding> expected;
            ReferenceCheck(root, expected);
            std::int64_t errors = 0, warnings = 0;
            for (const StructureFinding& f : expected)
                (f.Severity == FindingSeverity::Error ? errors : warnings)++;
            cut += expected.size() > limit;
            if (expected.size() > limit)
                expected.resize(limit);

            const StructureCheckResult result = CheckStructure(root, limit);
            ASSERT_EQ(Describe(root, result.Findings), Describe(root, expected));
            EXPECT_EQ(result.Errors, errors);
            EXPECT_EQ(result.Warnings, warnings);
        }
        EXPECT_GT(cut, 50); // the limit must take effect in many rounds
    }
}
