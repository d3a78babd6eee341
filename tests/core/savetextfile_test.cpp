#include "support/error.h"
#include "support/savetextfile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {
class SaveTextFileTest : public ::testing::Test {
protected:
    fs::path dir;
    void SetUp() override {
        dir = fs::temp_directory_path() / ("amf-savetext-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override {
        SetSaveTextWriteHook({});
        SetSaveTextUnnamedTemporary(true);
        fs::remove_all(dir);
    }
    static std::string Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir))
            names.insert(entry.path().filename().string());
        return names;
    }
    size_t FileCount() const { return static_cast<size_t>(std::distance(fs::directory_iterator(dir), {})); }
};
} // namespace

TEST_F(SaveTextFileTest, WritesBytesUnchangedAndReplacesLongerFile) {
    const fs::path file = dir / "a.amf";
    std::ofstream(file) << std::string(1000, 'x');
    const std::string text = "line1\r\nline2\n\xC3\xA9";
    SaveTextToFile(text, file.string());
    EXPECT_EQ(Read(file), text);
    EXPECT_EQ(FileCount(), 1u) << "no temporary file may be left behind";
}

TEST_F(SaveTextFileTest, FailedWriteLeavesOldFileIntactAndNamesTheFile) {
    const fs::path file = dir / "keep.amf";
    std::ofstream(file) << "old contents";
    SetSaveTextWriteHook([](size_t written) { return written < (1u << 20); });
    const std::string big(3u << 20, 'n');
    try {
        SaveTextToFile(big, file.string());
        FAIL() << "expected a failure";
    } catch (const AppError& e) {
        EXPECT_NE(std::string(e.what()).find(file.string()), std::string::npos) << e.what();
    }
    EXPECT_EQ(Read(file), "old contents");
    EXPECT_EQ(FileCount(), 1u);
}

TEST_F(SaveTextFileTest, KeepsPermissionsAndFollowsSymlinks) {
    const fs::path file = dir / "perm.amf";
    std::ofstream(file) << "old";
    ::chmod(file.c_str(), 0640);
    const fs::path link = dir / "link.amf";
    fs::create_symlink(file, link);
    SaveTextToFile("new", link.string());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Read(file), "new");
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(SaveTextFileTest, MissingFolderOrDirectoryTargetFails) {
    EXPECT_THROW(SaveTextToFile("x", (dir / "no" / "such.amf").string()), AppError);
    EXPECT_THROW(SaveTextToFile("x", dir.string()), AppError);
    EXPECT_TRUE(fs::is_directory(dir));
}

TEST_F(SaveTextFileTest, FileNobodyMayWriteToIsRefusedAndLeftAsItWas) {
    // Renaming over a file needs only write permission on its folder, so the permission bits of the
    // file itself decide; any write bit lets the file be replaced.
    struct Case {
        const char* what;
        mode_t mode;
        bool throughLink;
        bool refused;
    };
    const Case cases[] = {
        {"read-only for everyone", 0444, false, true},
        {"readable by its owner only", 0400, false, true},
        {"no permission bits at all", 0000, false, true},
        {"read-only, named through a symbolic link", 0444, true, true},
        {"writable by its group only", 0464, false, false},
        {"writable by its owner only", 0644, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(dir);
        fs::create_directories(dir);
        const fs::path file = dir / "doc.amf";
        std::ofstream(file) << "old contents";
        ASSERT_EQ(::chmod(file.c_str(), c.mode), 0);
        fs::path target = file;
        if (c.throughLink) {
            target = dir / "link.amf";
            fs::create_symlink(file, target);
        }
        std::string error = "(no error)";
        try {
            SaveTextToFile("new contents", target.string());
        } catch (const AppError& e) {
            error = e.what();
        }
        struct stat st {};
        ASSERT_EQ(::stat(file.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, c.mode);
        ::chmod(file.c_str(), 0600); // so that a user other than root can read it back
        if (c.refused) {
            EXPECT_EQ(error, "Cannot write file \"" + target.string() + "\": Permission denied.");
            EXPECT_EQ(Read(file), "old contents");
        } else {
            EXPECT_EQ(error, "(no error)");
            EXPECT_EQ(Read(file), "new contents");
        }
        EXPECT_EQ(FileCount(), c.throughLink ? 2u : 1u) << "no temporary file may be left behind";
    }
}

TEST_F(SaveTextFileTest, UnnamedTemporaryFileIsInvisibleWhileTheTextIsWritten) {
    // What a crash in the middle of writing would leave: the folder's names during the write.
    const fs::path file = dir / "doc.amf";
    std::ofstream(file) << "old";
    for (const bool unnamed : {true, false}) {
        SCOPED_TRACE(unnamed ? "unnamed" : "named");
        SetSaveTextUnnamedTemporary(unnamed);
        std::set<std::string> during;
        SetSaveTextWriteHook([&](size_t) {
            during = Names();
            return true;
        });
        SaveTextToFile(std::string(100, 'n'), file.string());
        SetSaveTextWriteHook({});
        EXPECT_EQ(Read(file), std::string(100, 'n'));
        if (unnamed) {
            EXPECT_EQ(during, std::set<std::string>{"doc.amf"});
        } else {
            // The named way shows its temporary file beside the target while it writes.
            ASSERT_EQ(during.size(), 2u);
            EXPECT_EQ(during.count("doc.amf"), 1u);
            const std::string temporary = *std::find_if(during.begin(), during.end(),
                                                        [](const std::string& n) { return n != "doc.amf"; });
            EXPECT_EQ(temporary.rfind(".doc.amf.", 0), 0u) << temporary;
            EXPECT_EQ(temporary.size(), std::string(".doc.amf.").size() + 6) << temporary;
        }
        EXPECT_EQ(Names(), std::set<std::string>{"doc.amf"});
    }
}

TEST_F(SaveTextFileTest, SaveRemovesLeftoversOfTheSameTargetOnly) {
    // Temporary files of killed saves of doc.amf are removed by the next save of doc.amf; anything
    // else, and a temporary file that a save in progress holds, stays.
    const fs::path outside = dir / "outside.txt";
    for (const bool unnamed : {true, false}) {
        SCOPED_TRACE(unnamed ? "unnamed" : "named");
        fs::remove_all(dir);
        fs::create_directories(dir);
        SetSaveTextUnnamedTemporary(unnamed);
        std::ofstream(outside) << "keep";
        const std::vector<std::string> leftovers = {".doc.amf.a1B2c3", ".doc.amf.ZZZZZZ", ".doc.amf.000000"};
        const std::vector<std::string> others = {
            ".doc.amf.a1B2c",    // five characters
            ".doc.amf.a1B2c3d",  // seven
            ".doc.amf.a1-2c3",   // not a letter or digit
            ".other.amf.a1B2c3", // another target's
            ".Doc.amf.a1B2c3",   // another target's (letter case counts)
            "doc.amf~",          // a backup
            "outside.txt",
        };
        for (const std::string& name : leftovers)
            std::ofstream(dir / name) << std::string(4096, 'x');
        for (const std::string& name : others)
            if (name != "outside.txt")
                std::ofstream(dir / name) << "other";
        fs::create_directory(dir / ".doc.amf.Dir123");
        fs::create_symlink(outside, dir / ".doc.amf.Link12");
        // A save in progress in another process holds its temporary file locked.
        std::ofstream(dir / ".doc.amf.Busy12") << "in progress";
        const int busy = ::open((dir / ".doc.amf.Busy12").c_str(), O_RDONLY);
        ASSERT_GE(busy, 0);
        ASSERT_EQ(::flock(busy, LOCK_EX), 0);

        SaveTextToFile("new", (dir / "doc.amf").string());
        ::close(busy);

        std::set<std::string> expected(others.begin(), others.end());
        expected.insert({"doc.amf", ".doc.amf.Dir123", ".doc.amf.Link12", ".doc.amf.Busy12"});
        EXPECT_EQ(Names(), expected);
        EXPECT_EQ(Read(dir / "doc.amf"), "new");
        EXPECT_EQ(Read(outside), "keep");
        EXPECT_EQ(Read(dir / ".doc.amf.Busy12"), "in progress");
    }
}
