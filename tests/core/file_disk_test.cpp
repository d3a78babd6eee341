// Saving to and opening files: the dialogs and questions asked, the .amf extension, failures of the
// file system, and the size limits of reading.
#include "filetesthelpers.h"
#include "model/fileformat.h"
#include "support/savetextfile.h"

#include <gtest/gtest.h>

#include <deque>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sys/resource.h>
#include <unistd.h>

using namespace filetest;
namespace fs = std::filesystem;

namespace {
class FileDisk : public FileTest {
protected:
    fs::path dir;
    FakePrompts prompts;
    TAssistFileLimits savedLimits = AssistFileLimits();

    void SetUp() override {
        FileTest::SetUp();
        dir = fs::temp_directory_path() / ("amf-filedisk-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override {
        SetSaveTextWriteHook({});
        SetAssistFileLimits(savedLimits);
        fs::remove_all(dir);
        FileTest::TearDown();
    }
    std::string Path(const std::string& name) const { return (dir / name).string(); }
    static std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void WriteFile(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    std::vector<std::string> FilesInDir() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    static std::string ErrorOf(const std::function<void()>& action) {
        try {
            action();
        } catch (const AppError& e) {
            return e.what();
        }
        return "(no error)";
    }
};
} // namespace

TEST_F(FileDisk, SaveWritesTheChosenNameWithTheAmfExtension) {
    struct Case {
        std::string chosen;
        std::string written;
    };
    const std::vector<Case> cases = {
        {"plain", "plain.amf"},           {"other.txt", "other.amf"},    {"kept.amf", "kept.amf"},
        {"two.dots.xml", "two.dots.amf"}, {"trailing.", "trailing.amf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen);
        fs::remove_all(dir);
        fs::create_directories(dir);
        TAssistRoot root(Ann);
        root.Changed = true;
        prompts.FileNames = {Path(c.chosen)};
        prompts.Requests.clear();
        ASSERT_TRUE(root.SaveToFile(false, prompts));
        EXPECT_EQ(root.FileName, Path(c.chosen));
        EXPECT_EQ(FilesInDir(), std::vector<std::string>{c.written});
        EXPECT_EQ(ReadFile(Path(c.written)), root.SaveToText());
        EXPECT_FALSE(root.Changed);
        ASSERT_EQ(prompts.Requests.size(), 1u);
        const TFileDialogRequest& request = prompts.Requests[0];
        EXPECT_TRUE(request.ForSave);
        EXPECT_EQ(request.Title, "Save assistant definition");
        EXPECT_EQ(request.InitialFolder, "/program/folder");
        EXPECT_EQ(request.ProposedName, "");
    }
}

TEST_F(FileDisk, SaveAsksOnlyWhenToldOrWithoutAName) {
    TAssistRoot root(Ann);
    root.FileName = Path("doc.amf");
    ASSERT_TRUE(root.SaveToFile(false, prompts));
    EXPECT_TRUE(prompts.Requests.empty());
    EXPECT_TRUE(fs::exists(Path("doc.amf")));

    prompts.FileNames = {Path("copy.amf")};
    ASSERT_TRUE(root.SaveToFile(true, prompts));
    ASSERT_EQ(prompts.Requests.size(), 1u);
    EXPECT_EQ(prompts.Requests[0].InitialFolder, dir.string());
    EXPECT_EQ(prompts.Requests[0].ProposedName, Path("doc.amf"));
    EXPECT_EQ(root.FileName, Path("copy.amf"));
    EXPECT_TRUE(fs::exists(Path("copy.amf")));
}

TEST_F(FileDisk, CancelledSaveDialogWritesNothingAndChangesNothing) {
    TAssistRoot root(Ann);
    root.FileName = Path("doc.amf");
    root.Changed = true;
    const std::string modifier = root.ModifierID = Bob;
    prompts.FileNames = {std::nullopt};
    EXPECT_FALSE(root.SaveToFile(true, prompts));
    EXPECT_TRUE(root.Changed);
    EXPECT_EQ(root.FileName, Path("doc.amf"));
    EXPECT_EQ(root.ModifierID, modifier);
    EXPECT_TRUE(FilesInDir().empty());
}

TEST_F(FileDisk, FailedWriteKeepsChangedAndTheOldFile) {
    const std::string file = Path("doc.amf");
    WriteFile(file, "old contents");
    for (const bool changed : {true, false}) {
        SCOPED_TRACE(changed);
        TAssistRoot root(Ann);
        root.FileName = file;
        root.Changed = changed;
        SetSaveTextWriteHook([](std::size_t) { return false; });
        const std::string error = ErrorOf([&] { root.SaveToFile(false, prompts); });
        SetSaveTextWriteHook({});
        EXPECT_NE(error.find("Cannot write file \"" + file + "\""), std::string::npos) << error;
        EXPECT_EQ(root.Changed, changed);
        EXPECT_EQ(ReadFile(file), "old contents");
        EXPECT_EQ(FilesInDir(), std::vector<std::string>{"doc.amf"});
    }
    TAssistRoot root(Ann);
    root.FileName = Path("missing-folder/doc.amf");
    root.Changed = true;
    EXPECT_NE(ErrorOf([&] { root.SaveToFile(false, prompts); }).find("missing-folder/doc.amf"),
              std::string::npos);
    EXPECT_TRUE(root.Changed);
}

TEST_F(FileDisk, FailedSaveAsKeepsTheNameTheAssistantHad) {
    // A name whose file was never written must not become the assistant's: the next Save would go
    // there instead of to the file the caption still shows.
    const std::string file = Path("doc.amf");
    WriteFile(file, "old contents");
    struct Case {
        const char* what;
        std::string chosen;
        bool diskFull;
    };
    const Case cases[] = {
        {"folder that does not exist", Path("missing-folder/other.amf"), false},
        {"disk full", Path("other.amf"), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TAssistRoot root(Ann);
        root.FileName = file;
        root.Changed = true;
        prompts.FileNames = {c.chosen};
        if (c.diskFull)
            SetSaveTextWriteHook([](std::size_t) { return false; });
        const std::string error = ErrorOf([&] { root.SaveToFile(true, prompts); });
        SetSaveTextWriteHook({});
        EXPECT_NE(error.find(c.chosen), std::string::npos) << error;
        EXPECT_EQ(root.FileName, file);
        EXPECT_TRUE(root.Changed);
        EXPECT_EQ(ReadFile(file), "old contents");
        EXPECT_EQ(FilesInDir(), std::vector<std::string>{"doc.amf"});
    }
}

TEST_F(FileDisk, AnAmfFileOtherThanTheNamedOneIsReplacedOnlyWhenThePersonAgrees) {
    // The file written is the name with the extension .amf. When that is another file than the one
    // named, the dialog's question about replacing covered the wrong file.
    struct Case {
        const char* what;
        std::string fileName;              // the assistant's name before saving
        std::optional<std::string> chosen; // the name chosen in Save As; none: plain Save
        bool amfExists;                    // plan.amf exists beforehand
        std::deque<bool> answers;          // to the replace question
        bool saved;
        std::string nameAfter;
    };
    const std::string v2 = Path("plan.v2"), amf = Path("plan.amf"), doc = Path("doc.amf");
    const Case cases[] = {
        {"Save As another extension, refused", doc, v2, true, {false}, false, doc},
        {"Save As another extension, agreed", doc, v2, true, {true}, true, v2},
        {"Save As another extension, nothing there", doc, v2, false, {}, true, v2},
        {"Save of a file opened under another extension, refused",
         v2,
         std::nullopt,
         true,
         {false},
         false,
         v2},
        {"Save As the .amf name itself: the dialog asked", doc, amf, true, {}, true, amf},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(amf);
        if (c.amfExists)
            WriteFile(amf, "someone else's work");
        prompts.Questions.clear();
        TAssistRoot root(Ann);
        root.FileName = c.fileName;
        root.Changed = true;
        if (c.chosen)
            prompts.FileNames = {*c.chosen};
        prompts.ReplaceAnswers = c.answers;
        EXPECT_EQ(root.SaveToFile(c.chosen.has_value(), prompts), c.saved);
        EXPECT_EQ(prompts.Questions.size(), c.answers.size());
        if (!c.answers.empty()) {
            EXPECT_EQ(prompts.Questions.front(), "Saving writes the assistant to the file " + amf +
                                                     ", which already exists.\r\rDo you want to replace it?");
        }
        EXPECT_EQ(root.FileName, c.nameAfter);
        EXPECT_EQ(root.Changed, !c.saved);
        if (c.saved) {
            EXPECT_NE(ReadFile(amf).find("<ASSISTANT"), std::string::npos);
        } else {
            EXPECT_EQ(ReadFile(amf), "someone else's work");
        }
    }

    // Once the assistant has saved to the file, later saves go there without asking; reading a file
    // starts over.
    TAssistRoot root(Ann);
    root.FileName = v2;
    prompts.Questions.clear();
    prompts.ReplaceAnswers = {true};
    ASSERT_TRUE(root.SaveToFile(false, prompts));
    root.Changed = true;
    ASSERT_TRUE(root.SaveToFile(false, prompts));
    EXPECT_EQ(prompts.Questions.size(), 1u);
    fs::copy_file(amf, v2, fs::copy_options::overwrite_existing);
    ASSERT_TRUE(root.LoadFromFile(false, prompts));
    prompts.ReplaceAnswers = {false};
    EXPECT_FALSE(root.SaveToFile(false, prompts));
    EXPECT_EQ(prompts.Questions.size(), 2u);
}

TEST_F(FileDisk, LoadReadsTheChosenFile) {
    TAssistRoot original(Ann);
    TAssistScreen::Create(original)->Caption = "on disk";
    original.FileName = Path("doc.amf");
    ASSERT_TRUE(original.SaveToFile(false, prompts));

    TAssistRoot root(Bob);
    prompts.FileNames = {Path("doc.amf")};
    ASSERT_TRUE(root.LoadFromFile(true, prompts));
    EXPECT_EQ(Dump(root), Dump(original));
    EXPECT_EQ(root.FileName, Path("doc.amf"));
    EXPECT_FALSE(root.Changed);
    EXPECT_TRUE(prompts.Questions.empty());
    ASSERT_EQ(prompts.Requests.size(), 1u);
    const TFileDialogRequest& request = prompts.Requests[0];
    EXPECT_FALSE(request.ForSave);
    EXPECT_EQ(request.Title, "Load assistant definition");
    EXPECT_EQ(request.DefaultExtension, "amf");
    EXPECT_EQ(request.InitialFolder, "/program/folder");
    EXPECT_EQ(request.ProposedName, "");

    // A known name is read without a dialog (recent files, command line).
    TAssistRoot again(Bob);
    again.FileName = Path("doc.amf");
    ASSERT_TRUE(again.LoadFromFile(false, prompts));
    EXPECT_EQ(prompts.Requests.size(), 1u);
    EXPECT_EQ(Dump(again), Dump(original));
}

TEST_F(FileDisk, LoadAsksToSaveUnsavedChangesFirst) {
    const std::string other = Path("other.amf");
    {
        TAssistRoot source(Ann);
        source.Caption = "other file";
        source.FileName = other;
        ASSERT_TRUE(source.SaveToFile(false, prompts));
    }
    struct Case {
        std::string name;
        bool hasFileName;
        TSaveFirstAnswer answer;
        std::deque<std::optional<std::string>> fileNames;
        bool loaded;
        bool savedFirst;
    };
    const std::vector<Case> cases = {
        {"cancel stops at once", true, TSaveFirstAnswer::Cancel, {}, false, false},
        {"no goes on without saving", true, TSaveFirstAnswer::No, {other}, true, false},
        {"yes saves without asking, then opens", true, TSaveFirstAnswer::Yes, {other}, true, true},
        {"cancelled open dialog", true, TSaveFirstAnswer::No, {std::nullopt}, false, false},
        {"yes without a name and the save dialog cancelled",
         false,
         TSaveFirstAnswer::Yes,
         {std::nullopt},
         false,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string mine = Path("mine.amf");
        fs::remove(mine);
        FakePrompts ask;
        ask.SaveFirstAnswers = {c.answer};
        ask.FileNames = c.fileNames;
        TAssistRoot root(Ann);
        root.Caption = "unsaved";
        root.Changed = true;
        if (c.hasFileName)
            root.FileName = mine;
        EXPECT_EQ(root.LoadFromFile(true, ask), c.loaded);
        EXPECT_EQ(ask.Questions, std::vector<std::string>{
                                     "Existing information not saved. Would you like to save it first?"});
        EXPECT_TRUE(ask.FileNames.empty()) << "every scripted dialog is used";
        EXPECT_EQ(fs::exists(mine), c.savedFirst);
        EXPECT_EQ(root.Caption, c.loaded ? "other file" : "unsaved");
        EXPECT_EQ(root.Changed, !c.loaded && !c.savedFirst);
    }
}

TEST_F(FileDisk, UnreadableFilesGiveTheSystemsMessageNamingTheFile) {
    TAssistRoot root(Ann);
    root.FileName = Path("absent.amf");
    EXPECT_EQ(ErrorOf([&] { root.LoadFromFile(false, prompts); }),
              "Cannot open file \"" + Path("absent.amf") + "\": No such file or directory.");
    EXPECT_EQ(root.FileName, Path("absent.amf"));

    fs::create_directories(Path("folder.amf"));
    root.FileName = Path("folder.amf");
    EXPECT_EQ(ErrorOf([&] { root.LoadFromFile(false, prompts); }),
              "Cannot open file \"" + Path("folder.amf") + "\": Is a directory.");
}

TEST_F(FileDisk, FilesOverTheSizeLimitAreRefusedBeforeReading) {
    SetAssistFileLimits({.MaxFileBytes = 200, .MaxItems = 1000});
    const std::string small = Doc("<CAPTION>fits</CAPTION>");
    ASSERT_LE(small.size(), 200u);
    WriteFile(Path("small.amf"), small);
    WriteFile(Path("big.amf"), Doc("<CAPTION>" + std::string(300, 'x') + "</CAPTION>"));
    const std::uintmax_t bigSize = fs::file_size(Path("big.amf"));

    TAssistRoot root(Ann);
    root.FileName = Path("small.amf");
    ASSERT_TRUE(root.LoadFromFile(false, prompts));
    EXPECT_EQ(root.Caption, "fits");
    root.FileName = Path("big.amf");
    EXPECT_EQ(ErrorOf([&] { root.LoadFromFile(false, prompts); }),
              "The file \"" + Path("big.amf") + "\" is too large to be an assistant (" + UIntToStr(bigSize) +
                  " bytes; the limit is 200 bytes).");
    EXPECT_EQ(root.Caption, "fits") << "nothing was read";

    // A stream has no size to look at first; it is refused once it has delivered more than the limit.
    std::istringstream big(std::string(1000, ' '));
    EXPECT_EQ(ErrorOf([&] { root.LoadFromStream(big); }),
              "The assistant stream is too large (more than 200 bytes; the limit is 200 bytes).");
    std::istringstream exact(small + std::string(200 - small.size(), '\n'));
    EXPECT_EQ(ErrorOf([&] { root.LoadFromStream(exact); }), "(no error)");
}

TEST_F(FileDisk, ReadingStopsBeyondTheItemLimit) {
    SetAssistFileLimits({.MaxFileBytes = 1 << 20, .MaxItems = 4});
    struct Case {
        std::string content;
        bool fits;
    };
    const std::vector<Case> cases = {
        {"<SCREEN><OPTION/><OPTION><NOTES/></OPTION></SCREEN>", true},
        {"<SCREEN/><SCREEN/><SCREEN/><SCREEN/><SCREEN/>", false},
        {"<SCREEN><OPTION/><OPTION/><OPTION/><OPTION/></SCREEN>", false},
        {"<SCREEN><OPTION><NOTES/><NOTES/><NOTES/></OPTION></SCREEN>", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content);
        EXPECT_EQ(ReadError(Doc(c.content)),
                  c.fits ? "(no error)"
                         : "Reading stopped: the assistant has more than 4 screens, options and notes.");
    }
    // The count starts again with every read.
    TAssistRoot root(Ann);
    LoadText(root, Doc(cases[0].content));
    LoadText(root, Doc(cases[0].content));
    EXPECT_EQ(root.Screens.Count(), 2);
}

TEST_F(FileDisk, GigabyteFileIsRefusedFromItsSizeWithoutBeingRead) {
    // A sparse file: 1 GiB long, no disk space used. The default limit applies.
    SetAssistFileLimits(TAssistFileLimits{});
    const std::uint64_t gib = 1ull << 30;
    const std::string path = Path("huge.amf");
    {
        const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(gib)), 0);
        ::close(fd);
    }
    struct rusage before {};
    ::getrusage(RUSAGE_SELF, &before);

    // The size in the message comes from the file system: reading would only know "more than" the limit.
    const std::string expected =
        "The file \"" + path +
        "\" is too large to be an assistant (1073741824 bytes; the limit is 536870912 bytes).";
    TAssistRoot root(Ann);
    root.FileName = path;
    EXPECT_EQ(ErrorOf([&] { root.LoadFromFile(false, prompts); }), expected);
    EXPECT_EQ(root.Caption, "Assistant A1") << "the assistant is untouched";

    // The same file as a stream that can seek is refused from its size as well.
    std::ifstream stream(path, std::ios::binary);
    EXPECT_EQ(ErrorOf([&] { root.LoadFromStream(stream); }),
              "The assistant stream is too large (more than 536870912 bytes; the limit is 536870912 bytes).");

    // Nothing near the file's size was taken into memory.
    struct rusage after {};
    ::getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 64 * 1024)
        << "peak memory grew by " << after.ru_maxrss - before.ru_maxrss << " KiB";
}
