// The editor window's document handling: start-up and the user ID, first display, New, Open, a recent
// file, Save, closing, the caption, command-line files, report and About.
#include "editor/documentprompter.h"
#include "editor/filelistmenu.h"
#include "editorfixture.h"
#include "support/busy.h"
#include "support/error.h"
#include "support/textroutines.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>

namespace {

const QRegularExpression
    kUserID(QStringLiteral("^\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\} (.*)$"));

class EditorDocumentTest : public EditorFixture {
protected:
    // Marks the assistant changed as an edit would.
    void Change() {
        Root().Caption = "edited";
        Root().MarkChanged();
    }
    // Writes an assistant with one screen, saved by this window's user (so opening it shows no notice).
    void WriteAssistantFile(const std::string& path, const std::string& screenID) {
        TAssistRoot source(form->UserID());
        TAssistScreen::Create(source)->ID = screenID;
        source.FileName = path;
        ScriptedPrompter silent;
        TDocumentPrompter prompts(silent);
        ASSERT_TRUE(source.SaveToFile(false, prompts));
    }
    // The caption of the assistant read back from a file.
    std::string CaptionInFile(const std::string& path) {
        TAssistRoot reread(form->UserID());
        reread.FileName = path;
        ScriptedPrompter silent;
        TDocumentPrompter prompts(silent);
        if (!reread.LoadFromFile(false, prompts))
            return "<not read>";
        return reread.Caption;
    }
};

// The commands that replace or close the assistant after asking whether to save it.
struct ReplacingCommand {
    const char* name;
    std::function<void(MainWindow&)> run;
};
const ReplacingCommand kReplacingCommands[] = {
    {"New", [](MainWindow& f) { f.Actions().aNew->trigger(); }},
    {"Open", [](MainWindow& f) { f.Actions().aOpen->trigger(); }},
    {"recent file", [](MainWindow& f) { f.RecentFiles().Entries().front()->trigger(); }},
    {"Exit", [](MainWindow& f) { f.Actions().aExit->trigger(); }},
};

} // namespace

// ---- User ID

TEST_F(EditorDocumentTest, FirstStartMakesAndStoresAUserIDFromTheLoginName) {
    Create();
    const QRegularExpressionMatch match = kUserID.match(QString::fromStdString(form->UserID()));
    ASSERT_TRUE(match.hasMatch()) << form->UserID();
    EXPECT_EQ(match.captured(1), QStringLiteral("ann"));
    EXPECT_EQ(settings->ReadValue("UserID"), form->UserID());
    EXPECT_EQ(Root().UserID, form->UserID());
    EXPECT_EQ(Root().AuthorName, "ann") << "a new assistant's author is the user";
    EXPECT_TRUE(prompter.AskedPrompts().empty());

    // A later start reads the stored ID unchanged, whoever is logged in.
    const std::string first = form->UserID();
    form.reset();
    login = "somebody else";
    Create();
    EXPECT_EQ(form->UserID(), first);
}

TEST_F(EditorDocumentTest, WithoutALoginNameTheInputBoxAsksAndAnonymousIsTheFallback) {
    struct Case {
        const char* name;
        std::optional<std::string> answer;
        const char* expected;
    };
    const Case cases[] = {
        {"a name typed", std::string("Bea Example"), "Bea Example"},
        {"empty answer", std::string(), "Anonymous"},
        {"cancelled", std::nullopt, "Anonymous"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempSettings fresh;
        settings = fresh.Make();
        login.clear();
        prompter.ExpectInput(c.answer);
        Create();
        ASSERT_FALSE(prompter.AskedPrompts().empty());
        EXPECT_EQ(prompter.AskedPrompts().back().title, "Enter your name...");
        EXPECT_EQ(prompter.AskedPrompts().back().text, "Please enter your name:");
        const QRegularExpressionMatch match = kUserID.match(QString::fromStdString(form->UserID()));
        ASSERT_TRUE(match.hasMatch()) << form->UserID();
        EXPECT_EQ(match.captured(1).toStdString(), c.expected);
        EXPECT_EQ(settings->ReadValue("UserID"), form->UserID());
        form.reset();
    }
}

// ---- First display, New, caption

TEST_F(EditorDocumentTest, FirstDisplayShowsTheRootWithTheGeneralPanelAndRunsTheCheck) {
    TempSettings::WriteRaw(temp.userFile, "[General]\nFiles=/data/one.amf\n");
    settings = temp.Make();
    Start();
    EXPECT_EQ(NodeTexts(TreeModel()), std::vector<std::string>{"A1"});
    EXPECT_EQ(form->CurrentItem(), &Root());
    EXPECT_EQ(form->AssistantView()->CurrentPanelName(), QStringLiteral("General"));
    EXPECT_EQ(form->General()->eProjectID()->text(), QStringLiteral("A1"));
    EXPECT_EQ(form->Caption(), QStringLiteral("Assistant Editor"));
    EXPECT_EQ(form->RecentFiles().GetList(), std::vector<std::string>{"/data/one.amf"});
    EXPECT_TRUE(form->Pages()
                    ->tabText(form->Pages()->indexOf(form->tsErrors()))
                    .startsWith(QStringLiteral("&Warning(s): ")));
    EXPECT_GT(form->lbErrors()->count(), 0) << "a new assistant has no first screen";
}

TEST_F(EditorDocumentTest, NewOnAnUnchangedAssistantAsksNothing) {
    Start();
    Fill({{"S1", {{"S1.1"}}}}, "S1");
    const TAssistRoot* before = &Root();
    form->Actions().aNew->trigger();
    EXPECT_NE(&Root(), before);
    EXPECT_EQ(Root().Screens.Count(), 0);
    EXPECT_EQ(form->Caption(), QStringLiteral("Assistant Editor - [New Assistant]"));
    EXPECT_EQ(NodeTexts(TreeModel()), std::vector<std::string>{"A1"});
    EXPECT_TRUE(StructureModel().NodeCount() == 0);
    EXPECT_EQ(form->CurrentItem(), &Root());
    EXPECT_FALSE(Root().Changed);
}

TEST_F(EditorDocumentTest, NewOnAChangedAssistantAnsweredNoDiscardsIt) {
    Start();
    Change();
    prompter.ExpectMessage(Prompter::MessageKind::WarningYesNoCancel, Prompter::Answer::No);
    const TAssistRoot* before = &Root();
    form->Actions().aNew->trigger();
    EXPECT_NE(&Root(), before);
    EXPECT_EQ(prompter.AskedPrompts().at(0).text,
              "Assistant has been changed.\r\rDo you want to save this one before creating a new one?");
}

TEST_F(EditorDocumentTest, CancelInASavePromptChangesNothing) {
    struct Case {
        const char* name;
        std::function<void(MainWindow&)> command;
        const char* question;
    };
    const Case cases[] = {
        {"New", [](MainWindow& f) { f.Actions().aNew->trigger(); },
         "Assistant has been changed.\r\rDo you want to save this one before creating a new one?"},
        {"Open", [](MainWindow& f) { f.Actions().aOpen->trigger(); },
         "Assistant has been changed.\r\rDo you want to save this one before opening a new one?"},
        {"recent file", [](MainWindow& f) { f.RecentFiles().Entries().front()->trigger(); },
         "Assistant has been changed.\r\rDo you want to save this one before opening a new one?"},
        {"Exit", [](MainWindow& f) { f.Actions().aExit->trigger(); },
         "Assistant has been changed.\r\rDo you want to save this one before closing the program?"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Start();
        Fill({{"S1", {{"S1.1"}}}, {"S2"}}, "S1");
        form->RecentFiles().SetList({"/data/one.amf", "/data/two.amf"});
        form->SetDocumentCaption(QStringLiteral("/data/current.amf"));
        form->SelectItem(ScreenAt(1));
        Change();
        const TAssistRoot* before = &Root();
        const auto tree = NodeTexts(TreeModel());
        const auto structure = NodeTexts(StructureModel());

        const std::size_t asked = prompter.AskedPrompts().size();
        prompter.ExpectMessage(Prompter::MessageKind::WarningYesNoCancel, Prompter::Answer::Cancel);
        c.command(*form);
        ASSERT_EQ(prompter.AskedPrompts().size(), asked + 1);
        EXPECT_EQ(prompter.AskedPrompts().back().text, c.question);

        EXPECT_EQ(&Root(), before);
        EXPECT_TRUE(Root().Changed);
        EXPECT_EQ(NodeTexts(TreeModel()), tree);
        EXPECT_EQ(NodeTexts(StructureModel()), structure);
        EXPECT_EQ(form->Caption(), QStringLiteral("Assistant Editor - /data/current.amf"));
        EXPECT_EQ(form->RecentFiles().GetList(),
                  (std::vector<std::string>{"/data/one.amf", "/data/two.amf"}));
        EXPECT_EQ(form->CurrentItem(), ScreenAt(1)) << "the current item stays";
        EXPECT_TRUE(form->isVisible());
        EXPECT_TRUE(form->Actions().aDelScreen->isEnabled());
        TearDown();
    }
}

TEST_F(EditorDocumentTest, ARecentFileThatCannotBeReadKeepsTheOpenAssistantAndTheList) {
    QTemporaryDir dir;
    const QString broken = dir.filePath(QStringLiteral("broken.amf"));
    TempSettings::WriteRaw(broken, "<not an assistant");
    struct Case {
        const char* name;
        QString file;
        const char* message; // the start of the error shown
    };
    const Case cases[] = {
        {"no longer exists", dir.filePath(QStringLiteral("gone.amf")), "Cannot open"},
        {"not an assistant", broken, "[AS021]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Start();
        Fill({{"S1", {{"S1.1"}}}}, "S1");
        form->SetDocumentCaption(QStringLiteral("[New Assistant]"));
        const TAssistRoot* before = &Root();
        const auto tree = NodeTexts(TreeModel());
        const std::vector<std::string> recent = {c.file.toStdString(), "/data/other.amf"};
        form->RecentFiles().SetList(recent);

        prompter.ExpectMessage(Prompter::MessageKind::ErrorOk, Prompter::Answer::Ok);
        form->RecentFiles().Entries().front()->trigger();
        ASSERT_EQ(prompter.Pending(), 0u);
        EXPECT_EQ(prompter.AskedPrompts().back().text.rfind(c.message, 0), 0u)
            << prompter.AskedPrompts().back().text;

        EXPECT_EQ(&Root(), before);
        EXPECT_EQ(Root().Screens.Count(), 1);
        EXPECT_FALSE(Root().Changed);
        EXPECT_EQ(NodeTexts(TreeModel()), tree);
        EXPECT_EQ(form->CurrentItem(), &Root());
        EXPECT_EQ(form->Caption(), QStringLiteral("Assistant Editor - [New Assistant]"));
        EXPECT_EQ(form->RecentFiles().GetList(), recent) << "the entry stays where it was";
        TearDown();
    }
}

// ---- Closing

TEST_F(EditorDocumentTest, ClosingWritesTheRecentListAndThePlacement) {
    Start();
    form->RecentFiles().SetList({"/data/one.amf", "/data/two, three.amf"});
    EXPECT_TRUE(form->close());
    settings = temp.Make(); // a fresh reader, past any caching
    EXPECT_EQ(settings->ReadValue("Files"), form->RecentFiles().GetText());
    EXPECT_FALSE(settings->ReadValue("Files").empty());
    EXPECT_FALSE(settings->ReadValue("Window.MainWindow").empty());
}

TEST_F(EditorDocumentTest, ClosingAChangedAssistantAnsweredNoClosesWithoutSaving) {
    Start();
    Change();
    prompter.ExpectMessage(Prompter::MessageKind::WarningYesNoCancel, Prompter::Answer::No);
    EXPECT_TRUE(form->close());
    EXPECT_EQ(prompter.AskedPrompts().at(0).text,
              "Assistant has been changed.\r\rDo you want to save this one before closing the program?");
}

TEST_F(EditorDocumentTest, ClosingStoresThePendingEditOfTheFocusedBoxBeforeAsking) {
    Start();
    Type(form->General()->eProjectCaption(), QStringLiteral("Typed caption"));
    prompter.ExpectMessage(Prompter::MessageKind::WarningYesNoCancel, Prompter::Answer::Cancel);
    EXPECT_FALSE(form->close());
    EXPECT_EQ(Root().Caption, "Typed caption");
}

// ---- Files

TEST_F(EditorDocumentTest, CtrlSWhileTypingACaptionSavesTheTypedCaption) {
    Start();
    Fill({{"S1"}}, "S1");
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("saved.amf")).toStdString();
    ClickTreeNode(ScreenAt(0));
    Type(form->Screen()->eScreenCaption(), QStringLiteral("New caption"));
    prompter.ExpectSaveFile(path);
    form->Actions().aSave->trigger(); // the focus is still in the box
    EXPECT_EQ(ScreenAt(0)->Caption, "New caption");
    EXPECT_FALSE(Root().Changed);
    EXPECT_EQ(form->Caption(), QString::fromStdString("Assistant Editor - " + path));
    EXPECT_EQ(form->CurrentItem(), ScreenAt(0)) << "saving keeps the current item";
    EXPECT_EQ(form->RecentFiles().GetList(), std::vector<std::string>{path});

    TAssistRoot reread(form->UserID());
    reread.FileName = path;
    ScriptedPrompter silent;
    TDocumentPrompter prompts(silent);
    ASSERT_TRUE(reread.LoadFromFile(false, prompts));
    ASSERT_EQ(reread.Screens.Count(), 1);
    EXPECT_EQ(reread.Screens.Item(0)->Caption, "New caption");
}

TEST_F(EditorDocumentTest, CancellingTheSaveDialogChangesNeitherCaptionNorRecentList) {
    Start();
    form->SetDocumentCaption(QStringLiteral("[New Assistant]"));
    ClickTreeNode(&Root());
    Change();
    for (QAction* action : {form->Actions().aSave, form->Actions().aSaveAs}) {
        SCOPED_TRACE(action->objectName().toStdString());
        prompter.ExpectSaveFile(std::nullopt);
        action->trigger();
        EXPECT_EQ(form->Caption(), QStringLiteral("Assistant Editor - [New Assistant]"));
        EXPECT_TRUE(form->RecentFiles().GetList().empty());
        EXPECT_TRUE(Root().Changed);
        EXPECT_EQ(form->CurrentItem(), &Root());
    }
}

TEST_F(EditorDocumentTest, CancellingTheSaveDialogOfASavePromptCancelsTheCommand) {
    Start();
    Fill({{"S1"}}, "S1");
    Change();
    const TAssistRoot* before = &Root();
    prompter.ExpectMessage(Prompter::MessageKind::WarningYesNoCancel, Prompter::Answer::Yes);
    prompter.ExpectSaveFile(std::nullopt);
    form->Actions().aNew->trigger();
    EXPECT_EQ(&Root(), before);
    EXPECT_EQ(Root().Screens.Count(), 1);

    prompter.ExpectMessage(Prompter::MessageKind::WarningYesNoCancel, Prompter::Answer::Yes);
    prompter.ExpectSaveFile(std::nullopt);
    EXPECT_FALSE(form->close()) << "closing would lose the changes";
}

TEST_F(EditorDocumentTest, YesWithAFailingSaveKeepsTheWorkAndShowsTheError) {
    QTemporaryDir dir;
    // The folder does not exist, so the file cannot be written.
    const std::string unwritable = dir.filePath(QStringLiteral("no folder/work.amf")).toStdString();
    const std::string other = dir.filePath(QStringLiteral("other.amf")).toStdString();
    for (const ReplacingCommand& c : kReplacingCommands) {
        SCOPED_TRACE(c.name);
        Start();
        WriteAssistantFile(other, "Other");
        Fill({{"S1", {{"S1.1"}}}}, "S1");
        Root().FileName = unwritable;
        form->SetDocumentCaption(QString::fromStdString(unwritable));
        form->RecentFiles().SetList({other});
        Change();
        const TAssistRoot* before = &Root();

        prompter.ExpectMessage(Prompter::MessageKind::WarningYesNoCancel, Prompter::Answer::Yes);
        prompter.ExpectMessage(Prompter::MessageKind::ErrorOk, Prompter::Answer::Ok);
        c.run(*form);
        ASSERT_EQ(prompter.Pending(), 0u);
        EXPECT_NE(prompter.AskedPrompts().back().text.find("work.amf"), std::string::npos)
            << prompter.AskedPrompts().back().text;

        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(&Root(), before);
        EXPECT_EQ(Root().Caption, "edited");
        EXPECT_EQ(Root().Screens.Count(), 1);
        EXPECT_TRUE(Root().Changed);
        EXPECT_EQ(Root().FileName, unwritable);
        EXPECT_EQ(form->Caption().toStdString(), "Assistant Editor - " + unwritable);
        EXPECT_EQ(form->RecentFiles().GetList(), std::vector<std::string>{other});
        TearDown();
    }
}

TEST_F(EditorDocumentTest, YesSavesNamesTheSavedFileInTheRecentListAndGoesOn) {
    QTemporaryDir dir;
    const std::string other = dir.filePath(QStringLiteral("other.amf")).toStdString();
    const std::string saved = dir.filePath(QStringLiteral("saved.amf")).toStdString();
    struct Case {
        const ReplacingCommand& command;
        bool kept;           // the saved assistant stays in the window (its open dialog is cancelled)
        std::string caption; // the document text of the caption afterwards
        std::vector<std::string> recent;
    };
    const Case cases[] = {
        {kReplacingCommands[0], false, "[New Assistant]", {saved, other}},
        {kReplacingCommands[1], true, saved, {saved, other}},
        {kReplacingCommands[2], false, other, {other, saved}},
        {kReplacingCommands[3], true, saved, {saved, other}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command.name);
        QFile::remove(QString::fromStdString(saved));
        Start();
        WriteAssistantFile(other, "Other");
        Fill({{"S1"}}, "S1");
        form->SetDocumentCaption(QStringLiteral("[New Assistant]"));
        form->RecentFiles().SetList({other});
        Change();
        const TAssistRoot* before = &Root();

        prompter.ExpectMessage(Prompter::MessageKind::WarningYesNoCancel, Prompter::Answer::Yes);
        prompter.ExpectSaveFile(saved);
        if (std::string(c.command.name) == "Open")
            prompter.ExpectOpenFile(std::nullopt);
        c.command.run(*form);
        ASSERT_EQ(prompter.Pending(), 0u);

        EXPECT_EQ(CaptionInFile(saved), "edited");
        EXPECT_EQ(&Root() == before, c.kept);
        EXPECT_FALSE(Root().Changed);
        EXPECT_EQ(form->Caption().toStdString(), "Assistant Editor - " + c.caption);
        EXPECT_EQ(form->RecentFiles().GetList(), c.recent);
        EXPECT_EQ(form->isVisible(), std::string(c.command.name) != "Exit");
        TearDown();
    }
    settings = temp.Make(); // a fresh reader: the list the closed window stored
    EXPECT_EQ(settings->ReadValue("Files"), QuoteIfNeeded(saved) + "," + QuoteIfNeeded(other));
}

TEST_F(EditorDocumentTest, SavingUnderANameWithAnotherExtensionNamesTheFileWritten) {
    QTemporaryDir dir;
    struct Case {
        const char* name;
        QAction* MainWindow::TActionList::*action;
        std::string fileName; // the assistant's name before (Save) or the name chosen (Save As)
        std::string written;
    };
    const Case cases[] = {
        {"Save of an opened .xml file", &MainWindow::TActionList::aSave,
         dir.filePath(QStringLiteral("notes.xml")).toStdString(),
         dir.filePath(QStringLiteral("notes.amf")).toStdString()},
        {"Save as plan.v2", &MainWindow::TActionList::aSaveAs,
         dir.filePath(QStringLiteral("plan.v2")).toStdString(),
         dir.filePath(QStringLiteral("plan.amf")).toStdString()},
        {"Save as a name without extension", &MainWindow::TActionList::aSaveAs,
         dir.filePath(QStringLiteral("bare")).toStdString(),
         dir.filePath(QStringLiteral("bare.amf")).toStdString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Start();
        Fill({{"S1"}}, "S1");
        if (c.action == &MainWindow::TActionList::aSave)
            Root().FileName = c.fileName;
        else
            prompter.ExpectSaveFile(c.fileName);
        Change();
        (form->Actions().*c.action)->trigger();
        ASSERT_EQ(prompter.Pending(), 0u);
        EXPECT_EQ(CaptionInFile(c.written), "edited");
        EXPECT_FALSE(Root().Changed);
        EXPECT_EQ(form->Caption().toStdString(), "Assistant Editor - " + c.written);
        EXPECT_EQ(form->RecentFiles().GetList(), std::vector<std::string>{c.written})
            << "reopening the entry gives back what was saved";
        TearDown();
    }
}

TEST_F(EditorDocumentTest, OpenReadsTheChosenFileOrKeepsEverythingOnCancelAndFailure) {
    Start();
    QTemporaryDir dir;
    // A file to open, written by the model itself.
    const std::string good = dir.filePath(QStringLiteral("good.amf")).toStdString();
    {
        TAssistRoot source(form->UserID());
        TAssistScreen::Create(source)->ID = "Start";
        source.FirstScreen = "Start";
        source.FileName = good;
        ScriptedPrompter silent;
        TDocumentPrompter prompts(silent);
        ASSERT_TRUE(source.SaveToFile(false, prompts));
    }
    const QString broken = dir.filePath(QStringLiteral("broken.amf"));
    TempSettings::WriteRaw(broken, "<ASSISTANT><SCREEN NAME=\"half\">");

    Fill({{"S1", {{"S1.1"}}}}, "S1");
    form->SetDocumentCaption(QStringLiteral("[New Assistant]"));
    const TAssistRoot* before = &Root();
    const auto tree = NodeTexts(TreeModel());

    prompter.ExpectOpenFile(std::nullopt);
    form->Actions().aOpen->trigger();
    prompter.ExpectOpenFile(broken.toStdString());
    prompter.ExpectMessage(Prompter::MessageKind::ErrorOk, Prompter::Answer::Ok);
    form->Actions().aOpen->trigger();
    EXPECT_EQ(&Root(), before);
    EXPECT_EQ(NodeTexts(TreeModel()), tree);
    EXPECT_EQ(form->Caption(), QStringLiteral("Assistant Editor - [New Assistant]"));
    EXPECT_TRUE(form->RecentFiles().GetList().empty());

    prompter.ExpectOpenFile(good);
    form->Actions().aOpen->trigger();
    EXPECT_NE(&Root(), before);
    EXPECT_EQ(NodeTexts(TreeModel()), (std::vector<std::string>{"A1", " Start"}));
    EXPECT_EQ(NodeTexts(StructureModel()), std::vector<std::string>{"A A1 \u00bb S Start"});
    EXPECT_EQ(form->Caption(), QString::fromStdString("Assistant Editor - " + good));
    EXPECT_EQ(form->RecentFiles().GetList(), std::vector<std::string>{good});
    EXPECT_EQ(form->CurrentItem(), &Root());
}

TEST_F(EditorDocumentTest, CommandLineOpensTheFirstFileHereAndEachFurtherOneInAWindowOfItsOwn) {
    QTemporaryDir dir;
    // The files were last saved by this very user, so opening them shows no authorship notice.
    const std::string user = "{00000000-0000-0000-0000-000000000000} ann";
    settings->WriteValue("UserID", user);
    std::vector<std::string> paths;
    for (const char* name : {"one", "two"}) {
        const std::string path = dir.filePath(QString::fromLatin1(name) + ".amf").toStdString();
        TAssistRoot source(user);
        TAssistScreen::Create(source)->ID = name;
        source.FileName = path;
        ScriptedPrompter silent;
        TDocumentPrompter prompts(silent);
        ASSERT_TRUE(source.SaveToFile(false, prompts));
        paths.push_back(path);
    }
    arguments = {"first", "second"};
    components->FinderPaths = {{"first", paths[0]}, {"second", paths[1]}};
    const auto windowsBefore = QApplication::topLevelWidgets().size();
    Start();
    ASSERT_EQ(Root().Screens.Count(), 1) << "the second file is not merged into the first";
    EXPECT_EQ(ScreenAt(0)->ID, "one");
    EXPECT_EQ(form->Caption(), QString::fromStdString("Assistant Editor - " + paths[0]));
    EXPECT_TRUE(form->RecentFiles().GetList().empty()) << "command-line files are not added";

    MainWindow* other = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<MainWindow*>(widget); window && window != form.get())
            other = window;
    ASSERT_NE(other, nullptr);
    EXPECT_GT(QApplication::topLevelWidgets().size(), windowsBefore);
    ASSERT_EQ(other->Assistant().Screens.Count(), 1);
    EXPECT_EQ(other->Assistant().Screens.Item(0)->ID, "two");
    EXPECT_EQ(other->Caption(), QString::fromStdString("Assistant Editor - " + paths[1]));
    other->close();
    QApplication::processEvents();
}

// ---- Command line, report, About

TEST_F(EditorDocumentTest, OnlyArgumentsStartingWithADashAreSwitches) {
    arguments = {"-y", "", "/home/x.amf", "relative.amf", "--verbose"};
    Start();
    std::vector<std::string> located;
    for (const std::string& line : components->Fake.Log->Lines())
        if (line.rfind("LocateFile(", 0) == 0)
            located.push_back(line);
    EXPECT_EQ(located,
              (std::vector<std::string>{"LocateFile(/home/x.amf, 9)", "LocateFile(relative.amf, 9)"}));
    // Neither resolves: ignored without a message, the start-up assistant stays.
    EXPECT_EQ(form->Caption(), QStringLiteral("Assistant Editor"));
}

TEST_F(EditorDocumentTest, ReportWritesTheAssistantWithTheBusyCursorOnlyAroundTheWriting) {
    Start();
    Root().Caption = "My assistant";
    SetBusyHook([this](bool busy) { components->Fake.Log->Add(busy ? "busy" : "idle"); });
    form->Actions().aReport->trigger();
    SetBusyHook({});
    const std::vector<std::string>& log = components->Fake.Log->Lines();
    auto at = [&log](const std::string& prefix) {
        for (std::size_t i = 0; i < log.size(); ++i)
            if (log[i].rfind(prefix, 0) == 0)
                return static_cast<int>(i);
        return -1;
    };
    ASSERT_GE(at("busy"), 0);
    EXPECT_LT(at("CreateHTMLReport"), at("busy"));
    EXPECT_LT(at("busy"), at("BeginSection"));
    EXPECT_LT(at("idle"), at("CreateReportSupport"));
    ASSERT_GE(at("ShowReport"), 0);
    EXPECT_NE(log[static_cast<std::size_t>(at("ShowReport"))].find("owner, My assistant"), std::string::npos);
    EXPECT_EQ(BusyCount(), 0);
}

TEST_F(EditorDocumentTest, AboutShowsTheAboutBoxOverTheWindowAndReportsAFailure) {
    Start();
    form->Actions().aAbout->trigger();
    const std::vector<std::string>& log = components->Fake.Log->Lines();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2], "ShowAbout(owner, , 0)");
    EXPECT_EQ(log.back(), "~CDSupport") << "the component is released afterwards";

    components->Fake.FailCreate("CDSupport", "The About box is not available.");
    prompter.ExpectMessage(Prompter::MessageKind::ErrorOk, Prompter::Answer::Ok);
    form->Actions().aAbout->trigger();
    EXPECT_EQ(prompter.AskedPrompts().back().text, "The About box is not available.");
}
