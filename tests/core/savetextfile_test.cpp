#include "support/error.h"
#include "support/savetextfile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
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
        fs::remove_all(dir);
    }
    static std::string Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
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
