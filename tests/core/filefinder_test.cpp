#include "components/filefinder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
// A temporary tree standing in for the program folder, the home folder, the data and documents
// folders, a temporary folder and the current folder, each with a file of its own.
class FileFinderTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_root = fs::temp_directory_path() / ("amf-filefinder-" + std::to_string(getpid()));
        fs::remove_all(m_root);
        for (const char* file :
             {"exe/e.amf", "exe/sub/b.amf", "exe/both.amf", "home/h.amf",
              "home/.local/share/assistant-editor/d.amf", "home/Documents/doc.amf", "home/MyDocs/mine.amf",
              "xdgdata/assistant-editor/x.amf", "docs/doc.amf", "tmp/t.amf", "cwd/c.amf", "cwd/both.amf",
              "cwd/sub/s.amf", "cwd/my file.amf"}) {
            fs::create_directories((m_root / file).parent_path());
            std::ofstream(m_root / file) << "x";
        }
    }
    void TearDown() override { fs::remove_all(m_root); }

    std::string P(const std::string& relative) const { return (m_root / relative).string(); }

    FileFinder Finder(std::map<std::string, std::string> env) const {
        FileFinder::Setup setup;
        setup.ProgramFolder = P("exe");
        setup.CurrentFolder = P("cwd");
        setup.Env = [env](const std::string& name) {
            const auto it = env.find(name);
            return it == env.end() ? std::string() : it->second;
        };
        return FileFinder(setup);
    }
    std::map<std::string, std::string> BaseEnv() const { return {{"HOME", P("home")}, {"TMPDIR", P("tmp")}}; }

    fs::path m_root;
};
} // namespace

TEST_F(FileFinderTest, LocatesNamesWithCodesAndRelativeNames) {
    auto xdg = BaseEnv();
    xdg["XDG_DATA_HOME"] = P("xdgdata");
    xdg["XDG_DOCUMENTS_DIR"] = P("docs");
    auto userDirs = BaseEnv();
    userDirs["XDG_DOCUMENTS_DIR"] = "$HOME/MyDocs";
    auto relativeXdg = BaseEnv();
    relativeXdg["XDG_DATA_HOME"] = "relative/data";
    struct Case {
        std::string name;
        int flags;
        std::map<std::string, std::string> env;
        std::string expected; // relative to the temporary root; "" for not found
    };
    const std::vector<Case> cases = {
        {"{$EXE}/e.amf", kFindDefault, BaseEnv(), "exe/e.amf"},
        {"{$exe}e.amf", kFindDefault, BaseEnv(), "exe/e.amf"}, // any case, no separator
        {"{$Exe}\\sub\\b.amf", kFindDefault, BaseEnv(), "exe/sub/b.amf"},
        {"{$EXE}//sub/b.amf", 0, BaseEnv(), "exe/sub/b.amf"}, // codes ignore the flags
        {"{$HOME}/h.amf", kFindDefault, BaseEnv(), "home/h.amf"},
        {"{$DATA}/d.amf", kFindDefault, BaseEnv(), "home/.local/share/assistant-editor/d.amf"},
        {"{$DATA}/x.amf", kFindDefault, xdg, "xdgdata/assistant-editor/x.amf"},
        {"{$DATA}/d.amf", kFindDefault, relativeXdg, "home/.local/share/assistant-editor/d.amf"},
        {"{$DOCS}/doc.amf", kFindDefault, BaseEnv(), "home/Documents/doc.amf"},
        {"{$DOCS}/doc.amf", kFindDefault, xdg, "docs/doc.amf"},
        {"{$docs}/mine.amf", kFindDefault, userDirs, "home/MyDocs/mine.amf"},
        {"{$TEMP}/t.amf", kFindDefault, BaseEnv(), "tmp/t.amf"},
        {"{$EXE}/missing.amf", kFindDefault, BaseEnv(), ""},
        {"{$EXE}", kFindDefault, BaseEnv(), ""}, // a folder is not a file
        {"{$EXE}/sub", kFindDefault, BaseEnv(), ""},
        {"{$NOPE}/e.amf", kFindDefault, BaseEnv(), ""},
        {"{$}/e.amf", kFindDefault, BaseEnv(), ""},
        {"{$EXE/e.amf", kFindDefault, BaseEnv(), ""},
        {"{$HOME}/h.amf", kFindDefault, {}, ""}, // no home folder known
        {"c.amf", kFindDefault, BaseEnv(), "cwd/c.amf"},
        {"c.amf", kFindInProgramFolder, BaseEnv(), ""},
        {"e.amf", kFindDefault, BaseEnv(), "exe/e.amf"},
        {"e.amf", kFindInCurrentFolder, BaseEnv(), ""},
        {"both.amf", kFindDefault, BaseEnv(), "cwd/both.amf"}, // the current folder comes first
        {"both.amf", kFindInProgramFolder, BaseEnv(), "exe/both.amf"},
        {"sub/s.amf", kFindDefault, BaseEnv(), "cwd/sub/s.amf"},
        {"sub/../c.amf", kFindDefault, BaseEnv(), "cwd/c.amf"},
        {"my file.amf", kFindDefault, BaseEnv(), "cwd/my file.amf"},
        {"sub", kFindDefault, BaseEnv(), ""},
        {"none.amf", kFindDefault, BaseEnv(), ""},
        {"", kFindDefault, BaseEnv(), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name + " flags " + std::to_string(c.flags));
        FileFinder finder = Finder(c.env);
        std::string path = "stale";
        ASSERT_TRUE(finder.LocateFile(c.name, c.flags, path).Ok);
        EXPECT_EQ(path, c.expected.empty() ? std::string() : P(c.expected));
    }
}

TEST_F(FileFinderTest, AbsoluteNamesNeedOnlyExist) {
    FileFinder finder = Finder(BaseEnv());
    std::string path;
    Check(finder.LocateFile(P("home/h.amf"), 0, path));
    EXPECT_EQ(path, P("home/h.amf"));
    Check(finder.LocateFile(P("home/../home/h.amf"), kFindDefault, path));
    EXPECT_EQ(path, P("home/h.amf"));
    Check(finder.LocateFile(P("home/none.amf"), kFindDefault, path));
    EXPECT_EQ(path, "");
}

TEST_F(FileFinderTest, ExpandsCodesWithoutRequiringTheFile) {
    FileFinder finder = Finder(BaseEnv());
    struct Case {
        std::string name;
        std::optional<std::string> expanded;
    };
    const std::vector<Case> cases = {
        {"{$EXE}\\tools\\run.exe", P("exe") + "/tools/run.exe"},
        {"{$home}", P("home")},
        {"{$TEMP}/", P("tmp")},
        {"{$DATA}new.amf", P("home/.local/share/assistant-editor/new.amf")},
        {"plain/name.amf", "plain/name.amf"}, // no code: unchanged
        {"x{$EXE}", "x{$EXE}"},               // a code counts only at the start
        {"{$WHAT}/a", std::nullopt},
        {"{$EXE", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(finder.ExpandCodes(c.name), c.expanded);
    }
}

TEST_F(FileFinderTest, TempFallsBackToTmp) {
    FileFinder finder = Finder({{"HOME", P("home")}});
    EXPECT_EQ(finder.CodeFolder("TEMP"), std::optional<std::string>("/tmp"));
}

TEST(FileFinder, DefaultSetupUsesTheRunningProgramAndProcess) {
    const std::string exeFolder = FileFinder::RunningProgramFolder();
    ASSERT_FALSE(exeFolder.empty());
    FileFinder finder;
    std::string path;
    // The test program itself lies in the program folder.
    const std::string self = fs::read_symlink("/proc/self/exe").filename().string();
    Check(finder.LocateFile("{$EXE}/" + self, kFindDefault, path));
    EXPECT_EQ(path, (fs::path(exeFolder) / self).string());
    Check(finder.LocateFile(self, kFindInProgramFolder, path));
    EXPECT_EQ(path, (fs::path(exeFolder) / self).string());
}
