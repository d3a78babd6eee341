// Where the file dialogs start: the pure rules, and the window's Open, Save, Save as, Publish and Run
// from file commands asking the prompter with them, and the report window's Save and Export; the folder
// of a chosen file is kept in the settings.
#include "components/qt/qtcomponentfactory.h"
#include "components/qt/reportwindow.h"
#include "editor/dialogfolders.h"
#include "editor/viewerbinding.h"
#include "editorfixture.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

TEST(DialogFolders, StartFolderPrefersCurrentFileThenExistingLastFolderThenDocuments) {
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QString last = temp.path();
    const QString gone = QDir(temp.path()).filePath(QStringLiteral("gone"));
    const QString docs = QStringLiteral("/home/user/Documents");
    struct Case {
        const char* name;
        QString currentFile, lastFolder, expected;
    };
    const Case cases[] = {
        {"current file wins", QStringLiteral("/data/tours/tour.amf"), last, QStringLiteral("/data/tours")},
        {"no file: last folder", QString(), last, last},
        {"no file, no last folder: documents", QString(), QString(), docs},
        {"last folder removed since: documents", QString(), gone, docs},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DialogStartFolder(c.currentFile, c.lastFolder, docs), c.expected) << c.name;
}

TEST(DialogFolders, SaveSuggestsTheIdAsFileName) {
    EXPECT_EQ(SuggestedSavePath(QStringLiteral("/data"), QStringLiteral("Tour")),
              QStringLiteral("/data/Tour.amf"));
    EXPECT_EQ(SuggestedSavePath(QStringLiteral("/data"), QString()), QStringLiteral("/data"));
}

class DialogFoldersWindowTest : public EditorFixture {
protected:
    QTemporaryDir files;
    QString FolderOf(const char* name) {
        const QString folder = QDir(files.path()).filePath(QString::fromUtf8(name));
        EXPECT_TRUE(QDir().mkpath(folder));
        return folder;
    }
    static QString Documents() { return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation); }
};

// Sets HOME while it lives (the documents folder is found below it); the previous value comes back after.
class ScopedHome {
public:
    explicit ScopedHome(const QString& home)
        : m_old(qgetenv("HOME")), m_oldConfig(qgetenv("XDG_CONFIG_HOME")) {
        qputenv("HOME", home.toUtf8());
        qputenv("XDG_CONFIG_HOME", (home + "/.config").toUtf8()); // no user-dirs.dirs: Documents under HOME
    }
    ~ScopedHome() {
        qputenv("HOME", m_old);
        qputenv("XDG_CONFIG_HOME", m_oldConfig);
    }
    ScopedHome(const ScopedHome&) = delete;
    ScopedHome& operator=(const ScopedHome&) = delete;

private:
    QByteArray m_old;
    QByteArray m_oldConfig;
};

TEST_F(DialogFoldersWindowTest, WithNothingElseTheDocumentsFolderElseHome) {
    const QString home = FolderOf("home");
    const ScopedHome scoped(home);
    Start();
    ASSERT_EQ(Documents(), QDir(home).filePath("Documents"));
    struct Case {
        const char* name;
        bool documentsExists;
        QString expected;
    };
    const Case cases[] = {
        {"no documents folder: home", false, home},
        {"documents folder", true, QDir(home).filePath("Documents")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.documentsExists) {
            ASSERT_TRUE(QDir(home).mkpath("Documents"));
        }
        prompter.ExpectOpenFile(std::nullopt);
        form->Actions().aOpen->trigger();
        EXPECT_EQ(QString::fromStdString(prompter.LastFileRequest().initialFolder), c.expected);
    }
}

TEST_F(DialogFoldersWindowTest, OpenStartsInTheCurrentFilesFolderElseTheLastFolderElseDocuments) {
    const QString current = FolderOf("current");
    const QString last = FolderOf("last");
    const QString home = FolderOf("home");
    const ScopedHome scoped(home);
    ASSERT_TRUE(QDir(home).mkpath("Documents"));
    struct Case {
        const char* name;
        QString fileName;   // the assistant's file in the window; empty for a new one
        QString lastFolder; // as stored in the settings; empty for none
        QString expected;
    };
    const Case cases[] = {
        {"a file is open: its folder", QDir(current).filePath("tour.amf"), last, current},
        {"new document: the last folder used", QString(), last, last},
        {"new document, last folder gone: documents", QString(), QDir(last).filePath("gone"), Documents()},
        {"nothing stored: documents", QString(), QString(), Documents()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings->WriteValue(kLastFolderValue, c.lastFolder.toStdString());
        settings->CloseKey();
        Start();
        Root().FileName = c.fileName.toStdString();
        prompter.ExpectOpenFile(std::nullopt);
        form->Actions().aOpen->trigger();
        EXPECT_EQ(prompter.Pending(), 0u);
        EXPECT_EQ(QString::fromStdString(prompter.LastFileRequest().initialFolder), c.expected);
        EXPECT_EQ(settings->ReadValue(kLastFolderValue, ""), c.lastFolder.toStdString())
            << "a cancelled dialog keeps no folder";
    }
}

TEST_F(DialogFoldersWindowTest, EveryFileCommandStartsInTheLastFolderForANewDocument) {
    const QString last = FolderOf("last");
    struct Case {
        const char* command;
        std::function<void(MainWindow&, ScriptedPrompter&)> run; // answers the dialog with a cancel
    };
    const Case cases[] = {
        {"Save as",
         [](MainWindow& w, ScriptedPrompter& p) {
             p.ExpectSaveFileCancelled();
             w.Actions().aSaveAs->trigger();
         }},
        {"Publish",
         [](MainWindow& w, ScriptedPrompter& p) {
             p.ExpectSaveFileCancelled();
             w.Actions().aPublish->trigger();
         }},
        {"Run from file",
         [](MainWindow& w, ScriptedPrompter& p) {
             p.ExpectOpenFile(std::nullopt);
             w.Actions().aRun->trigger();
         }},
    };
    settings->WriteValue(kLastFolderValue, last.toStdString());
    settings->CloseKey();
    Start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        c.run(*form, prompter);
        EXPECT_EQ(prompter.Pending(), 0u);
        EXPECT_EQ(QString::fromStdString(prompter.LastFileRequest().initialFolder), last);
    }
}

TEST_F(DialogFoldersWindowTest, SaveSuggestsTheIdAndKeepsTheFolderChosen) {
    const QString last = FolderOf("last");
    const QString chosenFolder = FolderOf("chosen");
    settings->WriteValue(kLastFolderValue, last.toStdString());
    settings->CloseKey();
    Start();
    Root().ID = "Tour";
    Root().Changed = true;
    const QString target = QDir(chosenFolder).filePath("Tour.amf");
    prompter.ExpectSaveFile(target.toStdString());
    form->Actions().aSave->trigger();
    EXPECT_EQ(prompter.Pending(), 0u);
    EXPECT_EQ(QString::fromStdString(prompter.LastFileRequest().initialFolder), last);
    EXPECT_EQ(QString::fromStdString(prompter.LastFileRequest().proposedName),
              QDir(last).filePath("Tour.amf"));
    EXPECT_TRUE(QFileInfo::exists(target));
    EXPECT_EQ(QString::fromStdString(settings->ReadValue(kLastFolderValue, "")), chosenFolder);

    // Save as of a saved assistant proposes its own file, in its folder.
    prompter.ExpectSaveFileCancelled();
    form->Actions().aSaveAs->trigger();
    EXPECT_EQ(QString::fromStdString(prompter.LastFileRequest().initialFolder), chosenFolder);
    EXPECT_EQ(QString::fromStdString(prompter.LastFileRequest().proposedName), target);

    // A new window with a new assistant starts where the last file was chosen.
    Start();
    prompter.ExpectOpenFile(std::nullopt);
    form->Actions().aOpen->trigger();
    EXPECT_EQ(QString::fromStdString(prompter.LastFileRequest().initialFolder), chosenFolder);
}

// Answers the report window's file question with a set name and records where it started.
class AnsweringDialogs final : public UserDialogs {
public:
    QString Answer; // empty: cancel
    QString Suggested;
    QString AskSaveFileName(QWidget*, const QString&, const QString& suggested, const QString&) override {
        Suggested = suggested;
        return Answer;
    }
    bool AskPrinter(QWidget*, QPrinter&) override { return false; }
    void ShowError(QWidget*, const QString&, const QString& message) override { Errors.push_back(message); }
    int RunDialog(QDialog&) override { return QDialog::Rejected; }
    bool OpenUrl(const QUrl&) override { return false; }
    std::vector<QString> Errors;
};

TEST_F(DialogFoldersWindowTest, ReportSaveStartsWhereTheWindowsDialogsStartAndKeepsTheFolderChosen) {
    const QString current = FolderOf("current");
    const QString last = FolderOf("last");
    const QString chosen = FolderOf("chosen");
    settings->WriteValue(kLastFolderValue, last.toStdString());
    settings->CloseKey();
    Start();
    auto dialogs = std::make_shared<AnsweringDialogs>();
    const std::shared_ptr<QtComponentFactory> components = WindowComponents(*form);
    components->SetDialogs(dialogs);
    auto showReport = [&] {
        Check(components->CreateReportViewer()->ShowReport(form.get(), "Tour", "<html><body>R</body></html>",
                                                           0));
        const QList<ReportWindow*> windows = form->findChildren<ReportWindow*>();
        return windows.isEmpty() ? nullptr : windows.back();
    };
    struct Case {
        const char* name;
        QString fileName;  // the window's file; empty for a new assistant
        QString answer;    // the file chosen in the dialog; empty: cancelled
        QString startsIn;  // the folder of the suggested name
        QString lastAfter; // the last folder kept afterwards
    };
    const Case cases[] = {
        {"new assistant, cancelled: the last folder, kept", QString(), QString(), last, last},
        {"file open: its folder", QDir(current).filePath("tour.amf"), QString(), current, last},
        {"saved elsewhere: that folder is kept", QString(), QDir(chosen).filePath("tour.html"), last, chosen},
        {"next time: the folder chosen last", QString(), QString(), chosen, chosen},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Root().FileName = c.fileName.toStdString();
        ReportWindow* report = showReport();
        ASSERT_NE(report, nullptr);
        dialogs->Answer = c.answer;
        EXPECT_EQ(report->SaveAsHtml(), !c.answer.isEmpty());
        EXPECT_EQ(QFileInfo(dialogs->Suggested).absolutePath(), c.startsIn);
        EXPECT_EQ(QFileInfo(dialogs->Suggested).fileName(), QStringLiteral("Tour.html"));
        settings->CloseKey();
        EXPECT_EQ(QString::fromStdString(settings->ReadValue(kLastFolderValue, "")), c.lastAfter);
        delete report;
    }
    EXPECT_TRUE(QFileInfo::exists(QDir(chosen).filePath("tour.html")));
    EXPECT_TRUE(dialogs->Errors.empty());
}

} // namespace
