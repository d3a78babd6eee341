// Saving never damages the file being replaced: a process killed at any moment of a save, and a write
// that fails at any point, leave the target holding either the complete old text or the complete new
// one. A save that fails (and is not killed) also leaves no temporary file behind, and what a killed
// save left is gone after the next save, whether the temporary file is unnamed (O_TMPFILE) or named.
#include "support/error.h"
#include "support/savetextfile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <sys/mman.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
class CrashSafeSave : public ::testing::Test {
protected:
    fs::path dir;
    fs::path target;

    void SetUp() override {
        dir = fs::temp_directory_path() / ("amf-crashsafe-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        target = dir / "doc.amf";
    }
    void TearDown() override {
        SetSaveTextWriteHook({});
        SetSaveTextUnnamedTemporary(true);
        fs::remove_all(dir);
    }

    static std::string Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void Write(const fs::path& p, const std::string& text) {
        std::ofstream(p, std::ios::binary) << text;
    }

    // Files in the folder other than the target: temporary files of saves that did not finish.
    std::vector<fs::path> Leftovers() const {
        std::vector<fs::path> found;
        for (const auto& entry : fs::directory_iterator(dir))
            if (entry.path() != target)
                found.push_back(entry.path());
        return found;
    }

    // A text of `size` bytes in which every megabyte starts with its own marker, so that a file made of
    // parts of two texts, or cut short, never equals either of them.
    static std::string Text(char fill, std::size_t size) {
        std::string text(size, fill);
        for (std::size_t at = 0; at + 16 < size; at += 1 << 20)
            text.replace(at, 16, std::string(1, fill) + "-chunk-" + std::to_string(at >> 20) + "-");
        return text;
    }
};
} // namespace

TEST_F(CrashSafeSave, KilledSavingProcessLeavesOldOrNewTextAndNextSaveLeavesNoLeftovers) {
    const std::string oldText = Text('o', (6u << 20) + 123);
    const std::string newText = Text('n', (5u << 20) + 7);
    // A page shared with the saving child: 1 while the child is inside a save call, 0 between calls.
    void* shared = ::mmap(nullptr, sizeof(int), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(shared, MAP_FAILED);
    volatile int* inSave = static_cast<volatile int*>(shared);
    struct Mode {
        const char* name;
        bool unnamed;
    };
    for (const Mode mode : {Mode{"unnamed temporary file", true}, Mode{"named temporary file", false}}) {
        SCOPED_TRACE(mode.name);
        Write(target, oldText);
        std::mt19937 random(1700);
        int sawOld = 0, sawNew = 0, killedMidSave = 0, leftAfterKill = 0;
        for (int round = 0; round < 40; ++round) {
            SCOPED_TRACE("round " + std::to_string(round));
            *inSave = 0;
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                // Saves the two texts in turn until killed, so the kill can land anywhere in a save.
                SetSaveTextUnnamedTemporary(mode.unnamed);
                for (unsigned i = 0;; ++i) {
                    *inSave = 1;
                    try {
                        SaveTextToFile(i % 2 == 0 ? newText : oldText, target.string());
                    } catch (...) {
                        ::_exit(3);
                    }
                    *inSave = 0;
                }
            }
            const auto delay = std::uniform_int_distribution<int>(0, 40000)(random);
            std::this_thread::sleep_for(std::chrono::microseconds(delay));
            ASSERT_EQ(::kill(child, SIGKILL), 0);
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
                << "the saving process ended by itself";
            killedMidSave += *inSave;

            const std::string now = Read(target);
            if (now == oldText)
                ++sawOld;
            else if (now == newText)
                ++sawNew;
            else
                FAIL() << "the target holds neither text: " << now.size() << " bytes";
            leftAfterKill += static_cast<int>(Leftovers().size());
            // The next save (here the old text again) removes what the killed one left behind.
            SetSaveTextUnnamedTemporary(mode.unnamed);
            SaveTextToFile(oldText, target.string());
            EXPECT_EQ(Read(target), oldText);
            const std::vector<fs::path> left = Leftovers();
            EXPECT_TRUE(left.empty()) << left.front();
            for (const fs::path& p : left)
                fs::remove(p);
        }
        // The kills must have caught saves in progress, or the test proves nothing.
        EXPECT_GT(killedMidSave, 0);
        RecordProperty(std::string(mode.name) + ": kills during a save", killedMidSave);
        RecordProperty(std::string(mode.name) + ": files left right after the kills", leftAfterKill);
        RecordProperty(std::string(mode.name) + ": old text found", sawOld);
        RecordProperty(std::string(mode.name) + ": new text found", sawNew);
    }
    ::munmap(shared, sizeof(int));
}

TEST_F(CrashSafeSave, WriteFailureAtAnyPointKeepsOldTextAndLeavesNoTemporaryFile) {
    const std::string newText = Text('n', (4u << 20) + 99);
    std::mt19937 random(31337);
    struct Case {
        std::string name;
        bool oldFileExists;
    };
    const std::vector<Case> cases = {{"replacing a file", true}, {"creating a file", false}};
    for (const bool unnamed : {true, false})
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            SCOPED_TRACE(unnamed ? "unnamed temporary file" : "named temporary file");
            SetSaveTextUnnamedTemporary(unnamed);
            int failed = 0, succeeded = 0;
            for (int round = 0; round < 50; ++round) {
                SCOPED_TRACE("round " + std::to_string(round));
                fs::remove(target);
                const std::string oldText = Text('o', 1000 + static_cast<std::size_t>(round) * 77777);
                if (c.oldFileExists)
                    Write(target, oldText);
                // The disk fills up at byte failAt: the write of the chunk holding it fails. At or beyond the
                // text's size it never does.
                const std::size_t size = newText.size();
                const std::size_t failAt =
                    std::uniform_int_distribution<std::size_t>(0, size + size / 4)(random);
                SetSaveTextWriteHook([failAt, size](std::size_t written) {
                    const std::size_t chunkEnd = written + std::min<std::size_t>(size - written, 1 << 20);
                    return !(written <= failAt && failAt < chunkEnd);
                });
                bool threw = false;
                try {
                    SaveTextToFile(newText, target.string());
                } catch (const AppError& e) {
                    threw = true;
                    EXPECT_NE(std::string(e.what()).find(target.string()), std::string::npos) << e.what();
                    EXPECT_NE(std::string(e.what()).find("No space left on device"), std::string::npos)
                        << e.what();
                }
                SetSaveTextWriteHook({});
                if (threw) {
                    ++failed;
                    if (c.oldFileExists)
                        EXPECT_EQ(Read(target), oldText);
                    else
                        EXPECT_FALSE(fs::exists(target));
                } else {
                    ++succeeded;
                    EXPECT_EQ(Read(target), newText);
                }
                EXPECT_TRUE(Leftovers().empty()) << Leftovers().front();
            }
            EXPECT_GT(failed, 0);
            EXPECT_GT(succeeded, 0);
            RecordProperty(std::string(unnamed ? "unnamed, " : "named, ") + c.name + ": failed saves",
                           failed);
        }
}
