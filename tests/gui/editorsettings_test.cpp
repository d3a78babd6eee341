// The editor's settings when they cannot be read or stored (a read-only or missing settings folder, a
// sandbox), and several windows storing their recent files in one store.
//
// The tests may run as root, whom file mode bits do not stop, so an unusable store is made in ways
// that stop root as well: a store whose folder would have to be inside a regular file (cannot be
// written), and a folder where the store's file should be (cannot be read or written).
#include "editor/filelistmenu.h"
#include "editor/settingsfailures.h"
#include "editorfixture.h"

#include <QAction>
#include <QDir>
#include <QRegularExpression>

namespace {

const QRegularExpression
    kUserID(QStringLiteral("^\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\} (.*)$"));

class EditorSettingsTest : public EditorFixture {
protected:
    // A per-user store that cannot be created: its folder would be the regular file "blocker".
    std::shared_ptr<TRegWrap> UnwritableStore() {
        TempSettings::WriteRaw(temp.dir.filePath("blocker"), "a file, not a folder");
        return std::make_shared<TRegWrap>(TRegRoot::CurrentUser, TempSettings::KeyPath,
                                          temp.dir.filePath("blocker/Pathova.ini"), temp.systemFile);
    }
    // A per-user store that exists but is a folder: reading it fails, and so does writing.
    std::shared_ptr<TRegWrap> UnreadableStore() {
        QDir().mkpath(temp.dir.filePath("folder/Pathova.ini"));
        return std::make_shared<TRegWrap>(TRegRoot::CurrentUser, TempSettings::KeyPath,
                                          temp.dir.filePath("folder/Pathova.ini"), temp.systemFile);
    }
    // Turns the (working) per-user store into one that cannot be written: its folder becomes a file.
    void BreakStore() {
        ASSERT_TRUE(QDir(temp.dir.filePath("user")).removeRecursively());
        TempSettings::WriteRaw(temp.dir.filePath("user"), "a file, not a folder");
    }
    std::vector<std::string> MessagesAsked() const {
        std::vector<std::string> texts;
        for (const ScriptedPrompter::Asked& asked : prompter.AskedPrompts())
            texts.push_back(asked.text);
        return texts;
    }
};

} // namespace

TEST_F(EditorSettingsTest, WindowOpensAndWorksWhenTheSettingsCannotBeUsed) {
    struct Case {
        const char* name;
        std::function<std::shared_ptr<TRegWrap>()> store;
        const char* failure;
    };
    const Case cases[] = {
        {"store cannot be written", [this] { return UnwritableStore(); }, "Failed to set data for 'UserID'"},
        {"store cannot be read", [this] { return UnreadableStore(); }, "Failed to get data for 'UserID'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings = c.store();
        // Said once, when the window opens; closing says nothing more and is not refused.
        prompter.ExpectMessage(Prompter::MessageKind::WarningOk, Prompter::Answer::Ok);
        ASSERT_NO_THROW(Create());
        ASSERT_TRUE(ShowActive(form.get()));
        EXPECT_EQ(MessagesAsked(), std::vector<std::string>{SettingsFailures::MessageFor(c.failure)});
        EXPECT_EQ(prompter.AskedPrompts().at(0).messageKind, Prompter::MessageKind::WarningOk);

        // The window works on with a user ID of its own.
        const QRegularExpressionMatch match = kUserID.match(QString::fromStdString(form->UserID()));
        ASSERT_TRUE(match.hasMatch()) << form->UserID();
        EXPECT_EQ(match.captured(1), QStringLiteral("ann"));
        EXPECT_EQ(Root().UserID, form->UserID());
        EXPECT_EQ(NodeTexts(TreeModel()), std::vector<std::string>{"A1"});
        form->RecentFiles().AddFile("/data/one.amf");

        form->Actions().aExit->trigger();
        EXPECT_FALSE(form->isVisible()) << "the window did not close";
        EXPECT_EQ(prompter.AskedPrompts().size(), 1u);
        form.reset();
        prompter = ScriptedPrompter();
    }
}

TEST_F(EditorSettingsTest, SettingsThatCannotBeStoredAtCloseAreReportedOnceAndTheWindowCloses) {
    struct Case {
        const char* name;
        bool changed; // the assistant has unsaved changes, given up with No
        std::function<void(MainWindow&)> close;
    };
    const Case cases[] = {
        {"File > Exit", false, [](MainWindow& f) { f.Actions().aExit->trigger(); }},
        {"the close box", false, [](MainWindow& f) { f.close(); }},
        {"unsaved changes given up", true, [](MainWindow& f) { f.close(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempSettings fresh;
        settings = fresh.Make();
        Start();
        ASSERT_TRUE(prompter.AskedPrompts().empty()) << "the store works at start";
        form->RecentFiles().AddFile("/data/one.amf");
        ASSERT_TRUE(QDir(fresh.dir.filePath("user")).removeRecursively());
        TempSettings::WriteRaw(fresh.dir.filePath("user"), "a file, not a folder");
        if (c.changed) {
            Root().Caption = "edited";
            Root().MarkChanged();
            prompter.ExpectMessage(Prompter::MessageKind::WarningYesNoCancel, Prompter::Answer::No);
        }
        prompter.ExpectMessage(Prompter::MessageKind::WarningOk, Prompter::Answer::Ok);
        c.close(*form);
        EXPECT_FALSE(form->isVisible()) << "the window did not close";
        ASSERT_FALSE(prompter.AskedPrompts().empty());
        EXPECT_EQ(prompter.AskedPrompts().back().text,
                  SettingsFailures::MessageFor("Failed to set data for 'Files'"));
        EXPECT_EQ(prompter.AskedPrompts().size(), c.changed ? 2u : 1u);
        if (form)
            form->Assistant().Changed = false;
        form.reset();
        prompter = ScriptedPrompter();
    }
}

TEST_F(EditorSettingsTest, WindowsAddTheirRecentFilesToWhatIsStoredWhenTheyClose) {
    // Files opened from the command line open in windows of their own; each window stores the recent
    // list when it closes. No window may lose the files another one added.
    struct Case {
        const char* name;
        bool sharedStore; // the windows of one program share the store; two programs have one each
        bool firstClosesFirst;
        std::string stored;
    };
    const Case cases[] = {
        {"one program, first window closed first", true, true, "/d/b2.amf,/d/b1.amf,/d/a.amf,/d/old.amf"},
        {"one program, second window closed first", true, false, "/d/a.amf,/d/b2.amf,/d/b1.amf,/d/old.amf"},
        {"two programs, first window closed first", false, true, "/d/b2.amf,/d/b1.amf,/d/a.amf,/d/old.amf"},
        {"two programs, second window closed first", false, false, "/d/a.amf,/d/b2.amf,/d/b1.amf,/d/old.amf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempSettings fresh;
        TempSettings::WriteRaw(fresh.userFile, "[General]\nFiles=/d/old.amf\n");
        settings = fresh.Make();
        Start();
        TEditorServices services = Services();
        services.OfferRecovery = false;
        if (!c.sharedStore)
            services.Settings = fresh.Make();
        auto second = std::make_unique<MainWindow>(std::move(services), &prompter);
        ASSERT_TRUE(ShowActive(second.get()));
        EXPECT_EQ(second->RecentFiles().GetList(), std::vector<std::string>{"/d/old.amf"});

        form->RecentFiles().AddFile("/d/a.amf");
        second->RecentFiles().AddFile("/d/b1.amf");
        second->RecentFiles().AddFile("/d/b2.amf");
        MainWindow* order[] = {form.get(), second.get()};
        if (!c.firstClosesFirst)
            std::swap(order[0], order[1]);
        EXPECT_TRUE(order[0]->close());
        EXPECT_TRUE(order[1]->close());
        EXPECT_EQ(fresh.Make()->ReadValue("Files"), c.stored);
        EXPECT_TRUE(prompter.AskedPrompts().empty());
        second.reset();
        form.reset();
    }
}

TEST_F(EditorSettingsTest, AHandWrittenRecentListIsShownAndKeptOnClose) {
    // Written by hand, without the quotes the program writes: QSettings reads it as a list of texts.
    TempSettings::WriteRaw(temp.userFile, "[General]\nFiles=/d/a.amf,/d/Report (old).amf\n");
    settings = temp.Make();
    Start();
    EXPECT_EQ(form->RecentFiles().GetList(), (std::vector<std::string>{"/d/a.amf", "/d/Report (old).amf"}));
    EXPECT_TRUE(form->close());
    EXPECT_EQ(temp.Make()->ReadValue("Files"), "/d/a.amf,\"/d/Report (old).amf\"");
}
