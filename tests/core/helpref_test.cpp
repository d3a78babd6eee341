#include "support/helpref.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A fresh folder per test, in which the cases create the program and help files they need.
class HelpFilesTest : public ::testing::Test {
protected:
    fs::path dir;
    void SetUp() override {
        dir = fs::temp_directory_path() / ("amf-help-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string Touch(const fs::path& relative) const {
        const fs::path path = dir / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "x";
        return path.string();
    }
    std::string PathOf(const fs::path& relative) const { return (dir / relative).string(); }
};

} // namespace

TEST_F(HelpFilesTest, DefaultHelpFilePrefersHlpAndUsesLowerCaseExtensions) {
    struct Case {
        const char* name;
        std::string program;
        std::vector<std::string> existing;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"both exist: .hlp wins", "bin/editor.exe", {"bin/editor.hlp", "bin/editor.chm"}, "bin/editor.hlp"},
        {"only .chm", "bin/editor.exe", {"bin/editor.chm"}, "bin/editor.chm"},
        {"neither: .chm named anyway", "bin/editor.exe", {}, "bin/editor.chm"},
        {"upper-case program extension", "bin/EDITOR.EXE", {"bin/EDITOR.hlp"}, "bin/EDITOR.hlp"},
        {"upper-case extension, upper-case help file only",
         "bin/EDITOR.EXE",
         {"bin/EDITOR.HLP"},
         "bin/EDITOR.chm"},
        {"no extension: added",
         "bin/assistant-editor",
         {"bin/assistant-editor.hlp"},
         "bin/assistant-editor.hlp"},
        {"no extension, nothing there", "bin/assistant-editor", {}, "bin/assistant-editor.chm"},
        {"dot in a folder name is not an extension",
         "my.tools/assistant-editor",
         {},
         "my.tools/assistant-editor.chm"},
        {"a folder named like the help file does not count",
         "bin/editor",
         {"bin/editor.hlp/inside"},
         "bin/editor.chm"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(dir);
        fs::create_directories(dir);
        for (const std::string& file : c.existing)
            Touch(file);
        EXPECT_EQ(DefaultHelpFile(PathOf(c.program)), PathOf(c.expected));
    }
}

TEST(HelpFormat, ChosenByExtensionIgnoringCase) {
    struct Case {
        const char* file;
        HelpFormat format;
    };
    const std::vector<Case> cases = {
        {"/x/a.hlp", HelpFormat::WinHelp},  {"/x/a.HLP", HelpFormat::WinHelp},
        {"/x/a.Hlp", HelpFormat::WinHelp},  {"/x/a.chm", HelpFormat::HtmlHelp},
        {"/x/a.CHM", HelpFormat::HtmlHelp}, {"/x/a.txt", HelpFormat::Unknown},
        {"/x/a", HelpFormat::Unknown},      {"/x/a.hlp.bak", HelpFormat::Unknown},
        {"/x/hlp", HelpFormat::Unknown},    {"/x.chm/a", HelpFormat::Unknown},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(HelpFormatOf(c.file), c.format);
    }
}

TEST_F(HelpFilesTest, ReferenceIsSplitAtBarsAndValidOnlyWithTopicAndExistingFile) {
    const std::string chm = Touch("help.chm");
    const std::string missing = PathOf("missing.chm");
    struct Case {
        const char* name;
        std::string reference;
        std::string file, topic, caption;
        bool valid;
    };
    const std::vector<Case> cases = {
        {"contents", chm + "|CONTENTS|Help contents", chm, "CONTENTS", "Help contents", true},
        {"index", chm + "|INDEX|Help index", chm, "INDEX", "Help index", true},
        {"caption missing", chm + "|INDEX", chm, "INDEX", "", true},
        {"text after a third bar is dropped", chm + "|INDEX|Cap|extra", chm, "INDEX", "Cap", true},
        {"topic empty", chm + "||Help contents", chm, "", "Help contents", false},
        {"topic missing", chm, chm, "", "", false},
        {"file missing on disk", missing + "|CONTENTS|Help contents", missing, "CONTENTS", "Help contents",
         false},
        {"help on help names no file", HelpOnHelpReference(), "", "HELP", "Help on Help", false},
        {"empty reference", "", "", "", "", false},
        {"a folder is not a help file", dir.string() + "|CONTENTS|x", dir.string(), "CONTENTS", "x", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        THelpRef ref;
        ref.Parse(c.reference);
        EXPECT_EQ(ref.Reference(), c.reference);
        EXPECT_EQ(ref.File(), c.file);
        EXPECT_EQ(ref.Topic(), c.topic);
        EXPECT_EQ(ref.Caption(), c.caption);
        EXPECT_EQ(ref.Valid(), c.valid);
    }
}

TEST_F(HelpFilesTest, ParsingAgainClearsThePreviousReference) {
    THelpRef ref;
    ref.Parse(Touch("a.hlp") + "|CONTENTS|Help contents");
    ASSERT_TRUE(ref.Valid());
    ref.Parse("|HELP|Help on Help");
    EXPECT_FALSE(ref.Valid());
    EXPECT_EQ(ref.File(), "");
    EXPECT_EQ(ref.Format(), HelpFormat::Unknown);
}

TEST(HelpReferences, BuiltForEachHelpCommand) {
    EXPECT_EQ(ContentsReference("/p/editor.chm"), "/p/editor.chm|CONTENTS|Help contents");
    EXPECT_EQ(IndexReference("/p/editor.chm"), "/p/editor.chm|INDEX|Help index");
    EXPECT_EQ(HelpOnHelpReference(), "|HELP|Help on Help");
    EXPECT_EQ(ContentsReference(""), "");
    EXPECT_EQ(IndexReference(""), "");
}

TEST(HelpReferences, TopicComparisonIgnoresCase) {
    THelpRef ref;
    ref.Parse("/p/x.chm|contents|c");
    EXPECT_TRUE(ref.IsTopic(kHelpTopicContents));
    EXPECT_FALSE(ref.IsTopic(kHelpTopicIndex));
}

TEST_F(HelpFilesTest, ManualFolderIsFoundBesideTheProgramThenInTheFallback) {
    const std::string program = PathOf("prefix/bin/assistant-editor");
    const std::string fallback = PathOf("source/docs/manual");
    struct Case {
        const char* name;
        std::vector<std::string> contentsPages;
        std::string expected; // relative to dir; empty: none found
    };
    const std::vector<Case> cases = {
        {"installed layout",
         {"prefix/share/assistant-editor/manual/contents.html", "source/docs/manual/contents.html"},
         "prefix/share/assistant-editor/manual"},
        {"folder beside the program",
         {"prefix/bin/manual/contents.html", "source/docs/manual/contents.html"},
         "prefix/bin/manual"},
        {"build tree: source fallback", {"source/docs/manual/contents.html"}, "source/docs/manual"},
        {"a folder without the contents page is skipped",
         {"prefix/share/assistant-editor/manual/other.html", "source/docs/manual/contents.html"},
         "source/docs/manual"},
        {"nothing anywhere", {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(dir);
        fs::create_directories(dir);
        for (const std::string& page : c.contentsPages)
            Touch(page);
        const std::string expected = c.expected.empty() ? std::string() : PathOf(c.expected);
        EXPECT_EQ(FindManualFolder(program, fallback), expected);
    }
}

TEST(ManualFolder, RunningTestFindsTheManualOfTheSourceTree) {
    // The tests run from the build tree, where only the compiled-in source fallback holds the manual.
    const std::string folder = FindManualFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(fs::is_regular_file(fs::path(folder) / kManualContentsPage));
    EXPECT_TRUE(fs::is_regular_file(fs::path(folder) / kManualHelpOnHelpPage));
}
