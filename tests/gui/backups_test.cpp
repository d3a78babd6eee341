// Saving over a file keeps its earlier versions as NAME~, NAME~2, ... as many as the "Backups" setting
// says; 0 turns it off.
#include "editor/backupfiles.h"
#include "editorfixture.h"
#include "support/savetextfile.h"

#include <QAction>
#include <QTemporaryDir>

#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <sys/stat.h>

namespace {

std::string ReadFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    if (!in)
        return "<missing>";
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

class BackupsTest : public EditorFixture {
protected:
    QTemporaryDir dir;
    std::string file = dir.filePath("work.amf").toStdString();

    void TearDown() override {
        SetSaveTextWriteHook({});
        EditorFixture::TearDown();
    }

    // Saves the assistant with the author's name set to `mark`, so each version can be told apart.
    std::string SaveVersion(const std::string& mark) {
        Root().AuthorName = mark;
        Root().FileName = file;
        form->Actions().aSave->trigger();
        return ReadFile(file);
    }
};

TEST_F(BackupsTest, SavingRotatesTheKeptVersions) {
    struct Case {
        const char* setting; // "" leaves the setting out
        int kept;
    };
    const Case cases[] = {{"", 3}, {"2", 2}, {"0", 0}, {"junk", 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setting);
        for (int generation = 1; generation <= 5; ++generation)
            std::remove(BackupName(file, generation).c_str());
        std::remove(file.c_str());
        if (c.setting[0] != '\0')
            settings->WriteValue("Backups", c.setting);
        Start();
        std::vector<std::string> versions; // oldest first
        for (const char* mark : {"v1", "v2", "v3", "v4", "v5"})
            versions.push_back(SaveVersion(mark));
        EXPECT_EQ(ReadFile(file), versions[4]);
        for (int generation = 1; generation <= 4; ++generation) {
            SCOPED_TRACE(generation);
            const std::string backup = ReadFile(BackupName(file, generation));
            if (generation <= c.kept)
                EXPECT_EQ(backup, versions[static_cast<std::size_t>(4 - generation)]);
            else
                EXPECT_EQ(backup, "<missing>");
        }
    }
}

TEST_F(BackupsTest, RepeatedFailedSavesKeepTheOlderVersions) {
    // Each save attempt backs the file up before writing. When the writing fails, the file stays as it
    // was, so the next attempt finds it equal to its newest backup: backing it up again would push an
    // older, different version out, and a few failed attempts would leave only copies of one version.
    struct Case {
        const char* what;
        std::function<void()> breakSaving;
        std::function<void()> repairSaving;
        const char* reason;
    };
    const Case cases[] = {
        {"disk full", [] { SetSaveTextWriteHook([](std::size_t) { return false; }); },
         [] { SetSaveTextWriteHook({}); }, "No space left on device"},
        // A plain Save writes no file that nobody may write to, though its folder would allow it.
        {"read-only file", [this] { ::chmod(file.c_str(), 0444); }, [this] { ::chmod(file.c_str(), 0644); },
         "Permission denied"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (int generation = 1; generation <= 4; ++generation)
            std::remove(BackupName(file, generation).c_str());
        std::remove(file.c_str());
        Start();
        std::vector<std::string> versions; // oldest first
        for (const char* mark : {"v1", "v2", "v3"})
            versions.push_back(SaveVersion(mark));
        ASSERT_EQ(ReadFile(BackupName(file, 2)), versions[0]);

        c.breakSaving();
        for (int attempt = 1; attempt <= 4; ++attempt) {
            SCOPED_TRACE(attempt);
            Root().Changed = true;
            prompter.ExpectMessage(Prompter::MessageKind::ErrorOk, Prompter::Answer::Ok);
            EXPECT_EQ(SaveVersion("v4"), versions[2]) << "the file is untouched";
            ASSERT_EQ(prompter.Pending(), 0u);
            EXPECT_EQ(prompter.AskedPrompts().back().text,
                      "Cannot write file \"" + file + "\": " + c.reason + ".");
            EXPECT_TRUE(Root().Changed);
            // The first attempt kept the file's version; later ones had nothing new to keep.
            EXPECT_EQ(ReadFile(BackupName(file, 1)), versions[2]);
            EXPECT_EQ(ReadFile(BackupName(file, 2)), versions[1]);
            EXPECT_EQ(ReadFile(BackupName(file, 3)), versions[0]);
            EXPECT_EQ(ReadFile(BackupName(file, 4)), "<missing>");
        }

        c.repairSaving();
        const std::string saved = SaveVersion("v4");
        EXPECT_NE(saved, versions[2]);
        EXPECT_FALSE(Root().Changed);
        // The version replaced is already the newest backup: it is kept once, the older ones stay.
        EXPECT_EQ(ReadFile(BackupName(file, 1)), versions[2]);
        EXPECT_EQ(ReadFile(BackupName(file, 2)), versions[1]);
        EXPECT_EQ(ReadFile(BackupName(file, 3)), versions[0]);
    }
}

TEST_F(BackupsTest, SaveAsOverAnExistingFileKeepsItAndANewFileHasNoBackup) {
    Start();
    const std::string first = SaveVersion("v1");
    EXPECT_EQ(ReadFile(BackupName(file, 1)), "<missing>") << "nothing was there to keep";
    Root().AuthorName = "v2";
    prompter.ExpectSaveFile(file);
    form->Actions().aSaveAs->trigger();
    EXPECT_EQ(ReadFile(BackupName(file, 1)), first);
}

TEST_F(BackupsTest, SaveAsUnderAnotherExtensionAsksBeforeReplacingTheAmfFile) {
    // Save As "work.v2" writes work.amf, which the dialog's own question did not cover. Here work.amf
    // is another assistant's file: this one was saved as mine.amf.
    Start();
    const std::string first = SaveVersion("v1");
    const std::string mine = dir.filePath("mine.amf").toStdString();
    const std::string other = dir.filePath("work.v2").toStdString();
    Root().FileName = mine;
    form->Actions().aSave->trigger();
    ASSERT_NE(ReadFile(mine), "<missing>");
    struct Case {
        const char* what;
        Prompter::Answer answer;
        bool replaced;
    };
    const Case cases[] = {{"refused", Prompter::Answer::No, false}, {"agreed", Prompter::Answer::Yes, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Root().FileName = mine;
        Root().AuthorName = std::string("v2 ") + c.what;
        prompter.ExpectSaveFile(other);
        prompter.ExpectMessage(Prompter::MessageKind::ConfirmYesNo, c.answer);
        form->Actions().aSaveAs->trigger();
        ASSERT_EQ(prompter.Pending(), 0u);
        EXPECT_EQ(prompter.AskedPrompts().back().text,
                  "Saving writes the assistant to the file " + file +
                      ", which already exists.\r\rDo you want to replace it?");
        EXPECT_EQ(ReadFile(file).find("v2 agreed") != std::string::npos, c.replaced);
        EXPECT_EQ(Root().FileName, c.replaced ? other : mine);
    }
    EXPECT_EQ(ReadFile(BackupName(file, 1)), first) << "the replaced version is kept";
}

TEST(KeepBackupsTest, AFileEqualToItsNewestBackupIsNotBackedUpAgain) {
    // Only equal bytes count as equal: a file of the same size that differs in its very last byte, far
    // past the start, is a new version to keep. The contents are long, so they are named by the test.
    const std::map<std::string, std::string> contents = {
        {"long", std::string(300000, 'a')},
        {"long, last byte changed", std::string(299999, 'a') + "b"},
        {"short", "a"},
        {"older", "older"},
    };
    const auto nameOf = [&](const std::string& text) {
        for (const auto& [name, content] : contents)
            if (content == text)
                return name;
        return text == "<missing>" ? text : std::string("unknown content");
    };
    struct Case {
        std::string newest; // "" leaves out the newest backup
        std::string file;
        std::vector<std::string> expected; // backups 1 to 3 afterwards
    };
    const Case cases[] = {
        {"long", "long", {"long", "older", "<missing>"}},
        {"long", "long, last byte changed", {"long, last byte changed", "long", "older"}},
        {"long", "short", {"short", "long", "older"}},
        {"", "long", {"long", "<missing>", "older"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("newest backup \"" + c.newest + "\", file \"" + c.file + "\"");
        QTemporaryDir dir;
        const std::string file = dir.filePath("work.amf").toStdString();
        std::ofstream(file, std::ios::binary) << contents.at(c.file);
        if (!c.newest.empty())
            std::ofstream(BackupName(file, 1), std::ios::binary) << contents.at(c.newest);
        std::ofstream(BackupName(file, 2), std::ios::binary) << contents.at("older");
        KeepBackups(file, 3);
        EXPECT_EQ(nameOf(ReadFile(file)), c.file);
        std::vector<std::string> backups;
        for (int generation = 1; generation <= 3; ++generation)
            backups.push_back(nameOf(ReadFile(BackupName(file, generation))));
        EXPECT_EQ(backups, c.expected);
    }
}

TEST(BackupNames, CountFromTheNewest) {
    EXPECT_EQ(BackupName("a.amf", 1), "a.amf~");
    EXPECT_EQ(BackupName("a.amf", 2), "a.amf~2");
    EXPECT_EQ(BackupName("a.amf", 10), "a.amf~10");
}
