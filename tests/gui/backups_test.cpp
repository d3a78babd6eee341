// Saving over a file keeps its earlier versions as NAME~, NAME~2, ... as many as the "Backups" setting
// says; 0 turns it off.
#include "editor/backupfiles.h"
#include "editorfixture.h"

#include <QAction>
#include <QTemporaryDir>

#include <fstream>
#include <sstream>

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

    // Saves the assistant with the author's name set to `mark`, so each version can be told apart.
    std::string SaveVersion(const std::string& mark) {
        Root().AuthorName = mark;
        Root().FileName = file;
        form->ActionList1().aSave->trigger();
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

TEST_F(BackupsTest, SaveAsOverAnExistingFileKeepsItAndANewFileHasNoBackup) {
    Start();
    const std::string first = SaveVersion("v1");
    EXPECT_EQ(ReadFile(BackupName(file, 1)), "<missing>") << "nothing was there to keep";
    Root().AuthorName = "v2";
    prompter.ExpectSaveFile(file);
    form->ActionList1().aSaveAs->trigger();
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
    form->ActionList1().aSave->trigger();
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
        form->ActionList1().aSaveAs->trigger();
        ASSERT_EQ(prompter.Pending(), 0u);
        EXPECT_EQ(prompter.AskedPrompts().back().text,
                  "Saving writes the assistant to the file " + file +
                      ", which already exists.\r\rDo you want to replace it?");
        EXPECT_EQ(ReadFile(file).find("v2 agreed") != std::string::npos, c.replaced);
        EXPECT_EQ(Root().FileName, c.replaced ? other : mine);
    }
    EXPECT_EQ(ReadFile(BackupName(file, 1)), first) << "the replaced version is kept";
}

TEST(BackupNames, CountFromTheNewest) {
    EXPECT_EQ(BackupName("a.amf", 1), "a.amf~");
    EXPECT_EQ(BackupName("a.amf", 2), "a.amf~2");
    EXPECT_EQ(BackupName("a.amf", 10), "a.amf~10");
}
