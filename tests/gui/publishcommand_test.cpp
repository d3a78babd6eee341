// The editor's publish command: the file it proposes, what a cancel, a missing image and a failed
// write show, and the page it writes.
#include "editor/publishcommand.h"
#include "model/assistroot.h"
#include "scriptedprompter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
const std::string kUser = "{1F0C2B7E-0000-4000-8000-00000000000A} Ann Lee";

std::string Path(const QTemporaryDir& dir, const char* name) {
    return QDir(dir.path()).filePath(QString::fromUtf8(name)).toStdString();
}

std::string ReadAll(const std::string& file) {
    QFile f(QString::fromStdString(file));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll().toStdString();
}

class PublishCommand : public ::testing::Test {
protected:
    PublishCommand() : root(kUser) {
        root.FileName = Path(dir, "printer.amf");
        root.Caption = "Printer help";
        TAssistScreen* screen = TAssistScreen::Create(root);
        screen->ID = "S1";
        screen->Caption = "Welcome <there>";
    }
    QTemporaryDir dir;
    TAssistRoot root;
};

TEST_F(PublishCommand, ProposesAPageBesideTheAssistantAndWritesIt) {
    ScriptedPrompter prompter;
    const std::string target = Path(dir, "out");
    prompter.ExpectSaveFile(target);
    const std::optional<std::string> written = PublishAsWebPage(root, prompter);
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(*written, target + ".html");
    EXPECT_EQ(prompter.LastFileRequest().proposedName, "printer.html");
    EXPECT_EQ(prompter.LastFileRequest().initialFolder, dir.path().toStdString());
    EXPECT_EQ(prompter.LastFileRequest().defaultExtension, "html");
    const std::string page = ReadAll(*written);
    EXPECT_NE(page.find("<title>Printer help</title>"), std::string::npos);
    EXPECT_NE(page.find("\"caption\":\"Welcome \\u003cthere\\u003e\""), std::string::npos);
    EXPECT_EQ(prompter.AskedPrompts().size(), 1u); // no message after a clean publish
}

TEST_F(PublishCommand, AnAssistantNeverSavedStartsInTheGivenFolderNamedAfterItsID) {
    struct Case {
        const char* name;
        std::string id;
        std::string proposed;
    };
    const Case cases[] = {
        {"with an ID", "Tour", "Tour.html"},
        {"without an ID", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        root.FileName.clear();
        root.ID = c.id;
        ScriptedPrompter prompter;
        prompter.ExpectSaveFileCancelled();
        EXPECT_FALSE(PublishAsWebPage(root, prompter, "/data/last").has_value());
        EXPECT_EQ(prompter.LastFileRequest().initialFolder, "/data/last");
        EXPECT_EQ(prompter.LastFileRequest().proposedName, c.proposed);
    }
}

TEST_F(PublishCommand, CancelWritesNothing) {
    ScriptedPrompter prompter;
    prompter.ExpectSaveFileCancelled();
    EXPECT_FALSE(PublishAsWebPage(root, prompter).has_value());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(PublishCommand, MissingImageIsReportedAfterWriting) {
    root.Screens.Item(0)->Image = "gone.png";
    ScriptedPrompter prompter;
    prompter.ExpectSaveFile(Path(dir, "page.html"));
    prompter.ExpectMessage(Prompter::MessageKind::WarningOk, Prompter::Answer::Ok);
    ASSERT_TRUE(PublishAsWebPage(root, prompter).has_value());
    const std::string& text = prompter.AskedPrompts().back().text;
    EXPECT_NE(text.find("Screen S1: image \"gone.png\" was not found"), std::string::npos) << text;
    EXPECT_NE(ReadAll(Path(dir, "page.html")).find("\"name\":\"gone.png\""), std::string::npos);
}

TEST_F(PublishCommand, FailedWriteIsShownAndReturnsNothing) {
    ScriptedPrompter prompter;
    prompter.ExpectSaveFile(Path(dir, "no-such-folder/page.html"));
    prompter.ExpectMessage(Prompter::MessageKind::ErrorOk, Prompter::Answer::Ok);
    EXPECT_FALSE(PublishAsWebPage(root, prompter).has_value());
    EXPECT_FALSE(prompter.AskedPrompts().back().text.empty());
}

} // namespace
