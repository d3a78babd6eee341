// The editor's Test and Run from file commands: what the assistant runtime is given, where the run
// starts, the Changed flag on every path, nothing written to disk; and Test with the real viewer,
// whose "Edit this screen" selects the shown screen in the editor.
#include "components/qt/qtcomponentfactory.h"
#include "editor/filelistmenu.h"
#include "editor/helpaccess.h"
#include "editor/helpwindow.h"
#include "editor/screenpanel.h"
#include "editor/testviewers.h"
#include "editor/viewerbinding.h"
#include "editorfixture.h"
#include "viewer/assistantviewer.h"
#include "viewer/viewersetup.h"
#include "viewertesthelpers.h"
#include "viewerwindowfixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QUrl>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// What the scripted runtimes of one test were asked, in order ("SetInitialScreen(S2)", "Run(2)",
// "released"), the text they were given and the owner of the run. A call named in FailAt fails.
struct RuntimeScript {
    std::vector<std::string> Calls;
    std::string LoadedText;
    QWidget* Owner = nullptr;
    std::string FailAt; // "Create", "LoadAssistantText", "SetInitialScreen", "LoadAssistantFile", "Run"
};

class ScriptedRuntime final : public IAssistant {
public:
    explicit ScriptedRuntime(RuntimeScript& script) : m_script(script) {}
    ~ScriptedRuntime() override { m_script.Calls.push_back("released"); }

    ComponentStatus SetInitialScreen(const std::string& id) override {
        return Record("SetInitialScreen", id);
    }
    ComponentStatus LoadAssistantFile(const std::string& name, std::string& result) override {
        result = "/somewhere/chosen.amf";
        return Record("LoadAssistantFile", name);
    }
    ComponentStatus LoadAssistantText(const std::string& text) override {
        m_script.LoadedText = text;
        return Record("LoadAssistantText", "");
    }
    ComponentStatus Run(QWidget* owner, int mode) override {
        m_script.Owner = owner;
        return Record("Run", std::to_string(mode));
    }

private:
    ComponentStatus Record(const std::string& call, const std::string& argument) {
        m_script.Calls.push_back(call + "(" + argument + ")");
        if (m_script.FailAt == call)
            return ComponentStatus::Failure(call + " failed in the runtime.");
        return ComponentStatus::Success();
    }
    RuntimeScript& m_script;
};

// The fixture's recording components, with the scripted runtime in place of the recording one.
class RuntimeComponents final : public IComponentFactory {
public:
    RuntimeComponents(std::shared_ptr<IComponentFactory> others, RuntimeScript& script)
        : m_others(std::move(others)), m_script(script) {}

    std::unique_ptr<IHTMLReport> CreateHTMLReport() override { return m_others->CreateHTMLReport(); }
    std::unique_ptr<IReportSupport> CreateReportSupport() override { return m_others->CreateReportSupport(); }
    std::unique_ptr<IReportViewer> CreateReportViewer() override { return m_others->CreateReportViewer(); }
    std::unique_ptr<IFindFile> CreateFindFile() override { return m_others->CreateFindFile(); }
    std::unique_ptr<ICDSupport> CreateCDSupport() override { return m_others->CreateCDSupport(); }
    std::unique_ptr<IAssistant> CreateAssistant() override {
        m_script.Calls.push_back("create");
        if (m_script.FailAt == "Create")
            throw AppError("The assistant runtime is not installed.");
        return std::make_unique<ScriptedRuntime>(m_script);
    }

private:
    std::shared_ptr<IComponentFactory> m_others;
    RuntimeScript& m_script;
};

class TestAndRunTest : public EditorFixture {
protected:
    RuntimeScript script;
    QTemporaryDir folder;

    void StartWithRuntime() {
        TEditorServices services = Services();
        services.Components = std::make_shared<RuntimeComponents>(components, script);
        form = std::make_unique<MainWindow>(std::move(services), &prompter);
        ASSERT_TRUE(ShowActive(form.get()));
        Fill({ScreenEntry("S1", {OptionEntry("to2", akGoto, "S2")}), ScreenEntry("S2"),
              ScreenEntry("S3", {OptionEntry("a"), OptionEntry("b", akNote)})},
             "S1");
    }
    void Test() { form->Actions().aTest->trigger(); }
    void RunFromFile() { form->Actions().aRun->trigger(); }

    // The files below a folder, as relative paths.
    static std::vector<std::string> FilesIn(const QString& dir) {
        std::vector<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(dir.toStdString()))
            names.push_back(fs::relative(entry.path(), dir.toStdString()).string());
        std::sort(names.begin(), names.end());
        return names;
    }
    static std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

} // namespace

TEST_F(TestAndRunTest, TestStartsAtTheScreenOfTheCurrentItem) {
    StartWithRuntime();
    struct Case {
        const char* name;
        std::function<TAssistBase*()> current;
        std::vector<std::string> calls;
    };
    const std::vector<Case> cases = {
        {"a screen",
         [this] { return ScreenAt(1); },
         {"create", "LoadAssistantText()", "SetInitialScreen(S2)", "Run(2)", "released"}},
        {"an option: its screen",
         [this] { return ScreenAt(2)->Options.Item(1); },
         {"create", "LoadAssistantText()", "SetInitialScreen(S3)", "Run(2)", "released"}},
        {"the assistant: no start screen",
         [this] { return &Root(); },
         {"create", "LoadAssistantText()", "Run(2)", "released"}},
        {"nothing current: no start screen",
         [] { return nullptr; },
         {"create", "LoadAssistantText()", "Run(2)", "released"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        script = {};
        TAssistBase* item = c.current();
        if (item != nullptr)
            ClickTreeNode(item);
        else
            form->SetCurrentItem(nullptr);
        ASSERT_EQ(form->CurrentItem(), item);
        Test();
        EXPECT_EQ(script.Calls, c.calls);
        EXPECT_EQ(script.Owner, form.get()) << "the editor window owns the run";
        EXPECT_EQ(form->CurrentItem(), item) << "the current item stays";
    }
    EXPECT_TRUE(prompter.AskedPrompts().empty());
}

TEST_F(TestAndRunTest, TheRuntimeGetsExactlyTheTextSaveWouldWrite) {
    StartWithRuntime();
    Root().Caption = "Printer help";
    ScreenAt(1)->Description = {"First line", "Second line"};
    Root().Changed = true;
    Test();
    ASSERT_FALSE(script.LoadedText.empty());
    // Writing again from the unchanged model gives the same text, so the runtime had the whole of it.
    EXPECT_EQ(script.LoadedText, Root().SaveToText());
    const std::unique_ptr<TAssistRoot> read = ReadAssistantText(script.LoadedText);
    EXPECT_EQ(read->Caption, "Printer help");
    ASSERT_EQ(read->Screens.Count(), 3);
    EXPECT_EQ(read->Screens.Item(1)->Description, (std::vector<std::string>{"First line", "Second line"}));
    EXPECT_EQ(read->Screens.Item(2)->Options.Count(), 2);
}

TEST_F(TestAndRunTest, TheChangedFlagIsPutBackOnEveryPath) {
    StartWithRuntime();
    ClickTreeNode(ScreenAt(0));
    struct Case {
        std::string failAt; // empty: the run succeeds
        std::vector<std::string> calls;
    };
    const std::vector<Case> cases = {
        {"", {"create", "LoadAssistantText()", "SetInitialScreen(S1)", "Run(2)", "released"}},
        {"Create", {"create"}},
        {"LoadAssistantText", {"create", "LoadAssistantText()", "released"}},
        {"SetInitialScreen", {"create", "LoadAssistantText()", "SetInitialScreen(S1)", "released"}},
        {"Run", {"create", "LoadAssistantText()", "SetInitialScreen(S1)", "Run(2)", "released"}},
    };
    for (const Case& c : cases) {
        for (const bool changed : {true, false}) {
            SCOPED_TRACE("fails at '" + c.failAt + "', changed " + (changed ? "yes" : "no"));
            script = {};
            script.FailAt = c.failAt;
            Root().Changed = changed;
            const std::size_t promptsBefore = prompter.AskedPrompts().size();
            if (!c.failAt.empty())
                prompter.ExpectMessage(Prompter::MessageKind::ErrorOk, Prompter::Answer::Ok);
            Test();
            EXPECT_EQ(Root().Changed, changed);
            EXPECT_EQ(script.Calls, c.calls) << "a failure stops the command; the runtime is released";
            const auto& asked = prompter.AskedPrompts();
            if (c.failAt.empty()) {
                EXPECT_EQ(asked.size(), promptsBefore);
            } else {
                ASSERT_EQ(asked.size(), promptsBefore + 1);
                const std::string expected = c.failAt == "Create" ? "The assistant runtime is not installed."
                                                                  : c.failAt + " failed in the runtime.";
                EXPECT_EQ(asked.back().text, expected);
            }
        }
    }
}

TEST_F(TestAndRunTest, AValueStillBeingTypedIsPartOfTheTestedAssistant) {
    StartWithRuntime();
    ClickTreeNode(ScreenAt(1));
    Type(form->Screen()->eScreenCaption(), QStringLiteral("Typed, not yet left"));
    ASSERT_EQ(ScreenAt(1)->Caption, "Caption of S2") << "the box has not stored its value yet";
    Test(); // the focus is still in the box
    const std::unique_ptr<TAssistRoot> read = ReadAssistantText(script.LoadedText);
    ASSERT_NE(read->Screens.Item(1), nullptr);
    EXPECT_EQ(read->Screens.Item(1)->Caption, "Typed, not yet left");
    EXPECT_TRUE(Root().Changed) << "the typed value is an unsaved change";
}

TEST_F(TestAndRunTest, TestWritesNoFile) {
    ASSERT_TRUE(folder.isValid());
    StartWithRuntime();
    struct Case {
        const char* name;
        std::string fileName;
    };
    const std::string existing = folder.filePath(QStringLiteral("guide.amf")).toStdString();
    std::ofstream(existing, std::ios::binary) << "the saved version";
    const std::vector<Case> cases = {
        {"never saved", ""},
        {"saved before", existing},
        {"named but not on disk", folder.filePath(QStringLiteral("gone.amf")).toStdString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Root().FileName = c.fileName;
        Root().Changed = true;
        Test();
        EXPECT_FALSE(script.LoadedText.empty());
        EXPECT_EQ(Root().FileName, c.fileName);
        EXPECT_EQ(FilesIn(folder.path()), std::vector<std::string>{"guide.amf"});
        EXPECT_EQ(ReadFile(existing), "the saved version");
        EXPECT_TRUE(form->RecentFiles().GetList().empty());
    }
    EXPECT_TRUE(prompter.AskedPrompts().empty()) << "no save dialog, no question";
}

TEST_F(TestAndRunTest, RunFromFileLeavesTheEditorAlone) {
    StartWithRuntime();
    const std::string fileName = folder.filePath(QStringLiteral("open.amf")).toStdString();
    Root().FileName = fileName;
    form->RecentFiles().SetText("/a/one.amf,/b/two.amf");
    const std::string recentBefore = form->RecentFiles().GetText();
    ClickTreeNode(ScreenAt(2));
    for (const bool changed : {true, false}) {
        SCOPED_TRACE(changed ? "changed" : "unchanged");
        script = {};
        Root().Changed = changed;
        const TAssistRoot* assistantBefore = &Root();
        const std::string textBefore = [&] {
            const bool flag = Root().Changed;
            std::string text = Root().SaveToText();
            Root().Changed = flag;
            return text;
        }();
        prompter.ExpectOpenFile(std::string("/elsewhere/run.amf"));
        RunFromFile();
        EXPECT_EQ(script.Calls, (std::vector<std::string>{"create", "LoadAssistantFile(/elsewhere/run.amf)",
                                                          "Run(2)", "released"}));
        EXPECT_EQ(script.Owner, form.get());
        EXPECT_EQ(&Root(), assistantBefore);
        EXPECT_EQ(Root().Changed, changed);
        EXPECT_EQ(Root().FileName, fileName);
        EXPECT_EQ(form->RecentFiles().GetText(), recentBefore);
        EXPECT_EQ(form->CurrentItem(), ScreenAt(2));
        const bool flag = Root().Changed;
        EXPECT_EQ(Root().SaveToText(), textBefore);
        Root().Changed = flag;
    }
    // Only the file was asked for, through the window's own prompter.
    ASSERT_EQ(prompter.AskedPrompts().size(), 2u);
    for (const ScriptedPrompter::Asked& asked : prompter.AskedPrompts()) {
        EXPECT_EQ(asked.kind, ScriptedPrompter::Kind::OpenFile);
        EXPECT_EQ(asked.title, "Run from file");
    }
    EXPECT_EQ(prompter.LastFileRequest().filters,
              (std::vector<std::string>{"Assistant files (*.amf)", "All files (*.*)"}));
}

TEST_F(TestAndRunTest, CancellingTheFileOfRunFromFileEndsItQuietly) {
    StartWithRuntime();
    const std::string textBefore = Root().SaveToText();
    Root().Changed = false;
    prompter.ExpectOpenFile(std::nullopt);
    RunFromFile();
    // No error box (the prompter fails the test on any unexpected message), no runtime.
    EXPECT_EQ(prompter.AskedPrompts().size(), 1u);
    EXPECT_TRUE(script.Calls.empty());
    EXPECT_FALSE(Root().Changed);
    EXPECT_EQ(Root().SaveToText(), textBefore);
}

TEST_F(TestAndRunTest, RunFromFileStopsWhenNoAssistantIsLoaded) {
    StartWithRuntime();
    script.FailAt = "LoadAssistantFile";
    prompter.ExpectOpenFile(std::string("/elsewhere/broken.amf"));
    prompter.ExpectMessage(Prompter::MessageKind::ErrorOk, Prompter::Answer::Ok);
    RunFromFile();
    EXPECT_EQ(script.Calls,
              (std::vector<std::string>{"create", "LoadAssistantFile(/elsewhere/broken.amf)", "released"}));
    ASSERT_FALSE(prompter.AskedPrompts().empty());
    EXPECT_EQ(prompter.AskedPrompts().back().text, "LoadAssistantFile failed in the runtime.");
    EXPECT_FALSE(Root().Changed);
}

// ---- With the real viewer

using TestWithViewerTest = ViewerWindowFixture;

TEST_F(TestWithViewerTest, TestShowsTheCurrentScreenAndEditThisScreenSelectsItInTheTree) {
    StartWithViewer();
    Root().FileName = "/projects/help/guide.amf";
    Root().Changed = true;
    ClickTreeNode(ScreenAt(1));
    form->Actions().aTest->trigger();
    EXPECT_TRUE(prompter.AskedPrompts().empty());
    EXPECT_TRUE(Root().Changed);

    const std::vector<AssistantViewer*> viewers = Viewers();
    ASSERT_EQ(viewers.size(), 1u);
    AssistantViewer* viewer = viewers[0];
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_TRUE(viewer->isWindow());
    ASSERT_NE(viewer->CurrentScreen(), nullptr);
    EXPECT_EQ(viewer->CurrentScreen()->ID, "S2");
    EXPECT_EQ(viewer->CurrentScreen()->Caption, "Caption of S2");
    ASSERT_NE(viewer->CurrentAssistant(), nullptr);
    EXPECT_EQ(viewer->CurrentAssistant()->Folder, QStringLiteral("/projects/help"))
        << "relative names are looked for beside the open file";

    // Elsewhere in the editor meanwhile: another item current, another page shown.
    ClickTreeNode(&Root());
    form->Pages()->setCurrentWidget(form->tsStructure());

    viewer->EditItem(-1);
    EXPECT_EQ(form->Pages()->currentWidget(), form->tsAssistant());
    EXPECT_EQ(form->CurrentItem(), ScreenAt(1));
    EXPECT_EQ(TreeModel().ItemOf(form->Tree()->currentIndex()), ScreenAt(1));

    viewer->EditItem(1); // an option's Edit button
    EXPECT_EQ(form->CurrentItem(), ScreenAt(1)->Options.Item(1));
    EXPECT_EQ(TreeModel().ItemOf(form->Tree()->currentIndex()), ScreenAt(1)->Options.Item(1));
    viewer->close();
}

TEST_F(TestWithViewerTest, EditThisScreenFindsAScreenThatMovedSinceTheTestByItsID) {
    StartWithViewer();
    ClickTreeNode(ScreenAt(1));
    form->Actions().aTest->trigger();
    ASSERT_EQ(Viewers().size(), 1u);
    AssistantViewer* viewer = Viewers()[0];
    ASSERT_EQ(viewer->CurrentScreen()->ID, "S2");

    // The first screen is removed in the editor: S2 is now at position 0, S3 at position 1.
    ClickTreeNode(ScreenAt(0));
    prompter.ExpectMessage(Prompter::MessageKind::ConfirmYesNo, Prompter::Answer::Yes);
    form->Actions().aDelScreen->trigger();
    ASSERT_EQ(ScreenAt(0)->ID, "S2");
    ClickTreeNode(ScreenAt(1));

    viewer->EditItem(-1);
    EXPECT_EQ(form->CurrentItem(), ScreenAt(0));
    viewer->close();
}

TEST_F(TestWithViewerTest, EditFromAViewerOfAReplacedAssistantOrForAGoneScreenSelectsNothingAndSaysWhy) {
    StartWithViewer();
    // Another file with the same screens as the assistant open now: an Edit that went by position or
    // ID alone would find a screen in it.
    const QString otherFile = files.filePath(QStringLiteral("other.amf"));
    std::ofstream(otherFile.toStdString(), std::ios::binary) << Root().SaveToText();
    Root().Changed = false;

    const std::string replaced =
        "This viewer shows an assistant that is no longer open in the editor; nothing was selected.";
    const std::string gone = "The screen \"S2\" is no longer in the assistant; nothing was selected.";
    struct Case {
        const char* name;
        std::function<void()> change; // what the author does in the editor after the Test
        std::string notice;
    };
    const std::vector<Case> cases = {
        {"after New",
         [&] {
             form->Actions().aNew->trigger();
             Fill({ScreenEntry("S1"),
                   ScreenEntry("S2", {OptionEntry("back", akGoto, "S1"), OptionEntry("more", akNote)}),
                   ScreenEntry("S3")},
                  "S1");
         },
         replaced},
        {"after Open of another file",
         [&] {
             prompter.ExpectOpenFile(otherFile.toStdString());
             form->Actions().aOpen->trigger();
             ASSERT_EQ(Root().FileName, otherFile.toStdString());
         },
         replaced},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fill({ScreenEntry("S1", {OptionEntry("to2", akGoto, "S2")}),
              ScreenEntry("S2", {OptionEntry("back", akGoto, "S1"), OptionEntry("more", akNote)}),
              ScreenEntry("S3")},
             "S1");
        ClickTreeNode(ScreenAt(1));
        form->Actions().aTest->trigger();
        ASSERT_EQ(Viewers().size(), 1u);
        std::unique_ptr<AssistantViewer> stale(Viewers()[0]);
        ASSERT_EQ(stale->CurrentScreen()->ID, "S2");

        c.change();
        ASSERT_EQ(prompter.Pending(), 0u);
        ASSERT_NE(ScreenAt(1), nullptr);
        ClickTreeNode(ScreenAt(0));
        form->Pages()->setCurrentWidget(form->tsStructure());
        for (int optionIndex : {-1, 1}) { // "Edit this screen", and the Edit button of option "more"
            SCOPED_TRACE(optionIndex);
            const std::size_t asked = prompter.AskedPrompts().size();
            prompter.ExpectMessage(Prompter::MessageKind::WarningOk, Prompter::Answer::Ok);
            stale->EditItem(optionIndex);
            EXPECT_EQ(form->CurrentItem(), ScreenAt(0)) << "nothing is selected";
            EXPECT_EQ(form->Pages()->currentWidget(), form->tsStructure());
            ASSERT_EQ(prompter.AskedPrompts().size(), asked + 1);
            EXPECT_EQ(prompter.AskedPrompts().back().messageKind, Prompter::MessageKind::WarningOk);
            EXPECT_EQ(prompter.AskedPrompts().back().text, c.notice);
        }

        // A Test of the assistant open now gives a viewer whose Edit works as before.
        ClickTreeNode(ScreenAt(1));
        form->Actions().aTest->trigger();
        std::vector<AssistantViewer*> viewers = Viewers();
        viewers.erase(std::remove(viewers.begin(), viewers.end(), stale.get()), viewers.end());
        ASSERT_EQ(viewers.size(), 1u);
        std::unique_ptr<AssistantViewer> current(viewers[0]);
        ClickTreeNode(ScreenAt(0));
        const std::size_t asked = prompter.AskedPrompts().size();
        current->EditItem(-1);
        EXPECT_EQ(form->CurrentItem(), ScreenAt(1));
        EXPECT_EQ(prompter.AskedPrompts().size(), asked);
    }

    // The screen a viewer shows deleted in the editor: the viewer follows (it shows the start screen),
    // so its Edit selects what it shows and asks nothing.
    Fill({ScreenEntry("S1", {OptionEntry("to2", akGoto, "S2")}),
          ScreenEntry("S2", {OptionEntry("back", akGoto, "S1"), OptionEntry("more", akNote)}),
          ScreenEntry("S3")},
         "S1");
    ClickTreeNode(ScreenAt(1));
    form->Actions().aTest->trigger();
    std::vector<AssistantViewer*> open = Viewers();
    ASSERT_FALSE(open.empty());
    std::unique_ptr<AssistantViewer> following(open.back());
    ASSERT_EQ(following->CurrentScreen()->ID, "S2");
    prompter.ExpectMessage(Prompter::MessageKind::ConfirmYesNo, Prompter::Answer::Yes);
    form->Actions().aDelScreen->trigger();
    ASSERT_EQ(ScreenAt(1)->ID, "S3");
    EXPECT_EQ(following->CurrentScreen()->ID, "S1");
    ClickTreeNode(ScreenAt(1));
    std::size_t asked = prompter.AskedPrompts().size();
    following->EditItem(-1);
    EXPECT_EQ(form->CurrentItem(), ScreenAt(0));
    EXPECT_EQ(prompter.AskedPrompts().size(), asked);

    // An Edit that still names the gone screen (a viewer that could not be given the changed assistant
    // keeps showing it) selects nothing and says why, for the screen and for its option alike.
    ClickTreeNode(ScreenAt(0));
    form->Pages()->setCurrentWidget(form->tsStructure());
    for (const ViewerEditTarget& target :
         {ViewerEditTarget{1, "S2", -1, ""}, ViewerEditTarget{1, "S2", 1, "more"}}) {
        SCOPED_TRACE(target.OptionIndex);
        asked = prompter.AskedPrompts().size();
        prompter.ExpectMessage(Prompter::MessageKind::WarningOk, Prompter::Answer::Ok);
        EditViewerTarget(*form, target, form->DocumentGeneration());
        EXPECT_EQ(form->CurrentItem(), ScreenAt(0)) << "nothing is selected";
        EXPECT_EQ(form->Pages()->currentWidget(), form->tsStructure());
        ASSERT_EQ(prompter.AskedPrompts().size(), asked + 1);
        EXPECT_EQ(prompter.AskedPrompts().back().messageKind, Prompter::MessageKind::WarningOk);
        EXPECT_EQ(prompter.AskedPrompts().back().text, gone);
    }
}

TEST_F(TestWithViewerTest, AViewerOfTestFollowsTheStoredChangesOfItsDocument) {
    StartWithViewer();
    const QString guide = files.filePath(QStringLiteral("guide.amf"));
    Root().FileName = guide.toStdString();
    Root().ModifierID = "{11111111-1111-1111-1111-111111111111} Someone else";
    ClickTreeNode(&Root());
    form->Actions().aTest->trigger();
    ASSERT_EQ(Viewers().size(), 1u);
    AssistantViewer* viewer = Viewers()[0];
    viewer->ChooseOption(0); // S1 -> S2
    ASSERT_EQ(viewer->CurrentScreen()->ID, "S2");
    ASSERT_TRUE(ShowActive(form.get())); // the author goes back to the editor

    // A caption typed and stored in the editor: the window hands the assistant over by itself, and the
    // viewer shows S2 again, as it is now, and keeps its history. The editor's assistant is left as it
    // was: handing it over is no save.
    const std::string modifier = Root().ModifierID;
    const std::uint32_t modifierCode = Root().ModifierCode, authorCode = Root().AuthorCode;
    const ViewedAssistant* before = viewer->CurrentAssistant();
    ClickTreeNode(ScreenAt(1));
    Type(form->Screen()->eScreenCaption(), QStringLiteral("Second, renamed"));
    ASSERT_EQ(viewer->CurrentAssistant(), before) << "typing alone stores nothing";
    ClickTreeNode(ScreenAt(0)); // leaving the box stores the caption
    ASSERT_EQ(ScreenAt(1)->Caption, "Second, renamed");
    ASSERT_TRUE(Root().Changed);
    EXPECT_NE(viewer->CurrentAssistant(), before);
    ASSERT_NE(viewer->CurrentScreen(), nullptr);
    EXPECT_EQ(viewer->CurrentScreen()->Caption, "Second, renamed");
    EXPECT_EQ(viewer->HistoryCount(), 2);
    EXPECT_EQ(viewer->HistoryIndex(), 1);
    EXPECT_TRUE(viewer->CurrentAssistant()->FromEditor);
    EXPECT_EQ(viewer->CurrentAssistant()->FilePath, QDir::cleanPath(guide));
    EXPECT_EQ(viewer->CurrentAssistant()->Folder, QDir::cleanPath(files.path()));
    EXPECT_TRUE(Root().Changed);
    EXPECT_EQ(Root().ModifierID, modifier);
    EXPECT_EQ(Root().ModifierCode, modifierCode);
    EXPECT_EQ(Root().AuthorCode, authorCode);

    // The shown screen deleted in the editor: the start screen, with a notice; Edit still reaches
    // the editor's items.
    ClickTreeNode(ScreenAt(1));
    prompter.ExpectMessage(Prompter::MessageKind::ConfirmYesNo, Prompter::Answer::Yes);
    form->Actions().aDelScreen->trigger();
    EXPECT_EQ(viewer->CurrentScreen()->ID, "S1");
    EXPECT_EQ(viewer->HistoryCount(), 1);
    EXPECT_EQ(viewer->Notice(),
              QStringLiteral("The screen \"S2\" is no longer in the assistant; its start screen is shown."));
    ClickTreeNode(ScreenAt(1));
    viewer->EditItem(-1);
    EXPECT_EQ(form->CurrentItem(), ScreenAt(0));

    // A viewer of Run from file shows a file, not the editor's assistant: it never follows.
    const QString other = files.filePath(QStringLiteral("other.amf"));
    auto saved = NewAssistant("Saved", "X1");
    AddScreen(*saved, "X1", "Saved screen");
    std::ofstream(other.toStdString(), std::ios::binary) << saved->SaveToText();
    prompter.ExpectOpenFile(other.toStdString());
    form->Actions().aRun->trigger();
    ASSERT_EQ(Viewers().size(), 2u);
    ASSERT_NE(TestViewers::Find(*form), nullptr);
    EXPECT_EQ(TestViewers::Find(*form)->Following(), std::vector<AssistantViewer*>{viewer});
    for (AssistantViewer* shown : Viewers())
        if (shown != viewer)
            shown->close();

    // After New the window holds another document: the viewer keeps what it shows.
    Root().Changed = false;
    const std::uint64_t generation = form->DocumentGeneration();
    form->Actions().aNew->trigger();
    ASSERT_NE(form->DocumentGeneration(), generation);
    Fill({ScreenEntry("S1"), ScreenEntry("S2")}, "S1");
    const ViewedAssistant* followed = viewer->EditorAssistant();
    UpdateTestViewers(*form);
    EXPECT_EQ(viewer->EditorAssistant(), followed);
    EXPECT_TRUE(TestViewers::Find(*form)->Following().empty());

    // A viewer closed by the user drops out.
    form->Actions().aTest->trigger();
    ASSERT_EQ(TestViewers::Find(*form)->Following().size(), 1u);
    TestViewers::Find(*form)->Following()[0]->close();
    FlushDeletes();
    EXPECT_TRUE(TestViewers::Find(*form)->Following().empty());
    UpdateTestViewers(*form);
    viewer->close();
}

TEST_F(TestWithViewerTest, AStoredChangeAloneUpdatesTheOpenTestViewer) {
    StartWithViewer();
    ClickTreeNode(&Root());
    form->Actions().aTest->trigger();
    ASSERT_EQ(Viewers().size(), 1u);
    AssistantViewer* viewer = Viewers()[0];
    viewer->ChooseOption(0); // S1 -> S2
    ASSERT_EQ(viewer->CurrentScreen()->ID, "S2");
    ASSERT_TRUE(ShowActive(form.get()));

    // Storing the caption is all the window is told: the viewer shows S2 as it is now, history kept.
    ClickTreeNode(ScreenAt(1));
    Type(form->Screen()->eScreenCaption(), QStringLiteral("Second, renamed"));
    ClickTreeNode(ScreenAt(0));
    ASSERT_EQ(ScreenAt(1)->Caption, "Second, renamed");
    ASSERT_NE(viewer->CurrentScreen(), nullptr);
    EXPECT_EQ(viewer->CurrentScreen()->ID, "S2");
    EXPECT_EQ(viewer->CurrentScreen()->Caption, "Second, renamed");
    EXPECT_EQ(viewer->HistoryCount(), 2);
    EXPECT_EQ(viewer->HistoryIndex(), 1);

    // Undo is a stored change as well: the old caption is back in the viewer.
    form->Actions().aUndo->trigger();
    ASSERT_EQ(ScreenAt(1)->Caption, "Caption of S2");
    EXPECT_EQ(viewer->CurrentScreen()->Caption, "Caption of S2");
    viewer->close();
}

TEST_F(TestWithViewerTest, TestWithANeverSavedAssistantHasNoBaseFolderAndStartsAtTheFirstScreen) {
    StartWithViewer();
    Root().FileName.clear();
    ClickTreeNode(&Root());
    form->Actions().aTest->trigger();
    ASSERT_EQ(Viewers().size(), 1u);
    AssistantViewer* viewer = Viewers()[0];
    ASSERT_NE(viewer->CurrentScreen(), nullptr);
    EXPECT_EQ(viewer->CurrentScreen()->ID, "S1");
    EXPECT_TRUE(viewer->CurrentAssistant()->Folder.isEmpty());
    viewer->close();
}

TEST_F(TestWithViewerTest, AnOptionNamingTheEditorsFileComesBackToTheTestedAssistant) {
    QTemporaryDir& dir = files;
    ASSERT_TRUE(dir.isValid());
    const QString helpFile = dir.filePath(QStringLiteral("help.amf"));
    const auto write = [](const QString& path, TAssistRoot& root) {
        std::ofstream(path.toStdString(), std::ios::binary) << root.SaveToText();
    };
    // Another assistant beside the editor's file that leads back to it.
    auto sub = NewAssistant("Sub", "T1");
    AddOption(AddScreen(*sub, "T1", "Sub start"), "Back", akAssistant, "help.amf,S2");
    write(dir.filePath(QStringLiteral("sub.amf")), *sub);

    struct Case {
        const char* name;
        bool savedCopyOnDisk; // an older version of the editor's assistant in its file
        std::string command;  // of the one option on S1 in the editor
        int choices;          // how often the first option of the shown screen is chosen
        std::string caption;  // of the screen shown at the end
    };
    const std::vector<Case> cases = {
        {"back from another assistant", true, "sub.amf", 2, "Caption of S2"},
        {"back from another assistant, file gone from disk", false, "sub.amf", 2, "Caption of S2"},
        {"the assistant naming its own file", true, "help.amf,S3", 1, "Caption of S3"},
        {"its own file by a folder code", true, "{$TEMP}/help.amf,S3", 1, "Caption of S3"},
    };
    StartWithViewer();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(helpFile);
        if (c.savedCopyOnDisk) {
            auto saved = NewAssistant("Saved", "S1");
            for (const char* id : {"S1", "S2", "S3"})
                AddScreen(*saved, id, std::string("Saved ") + id);
            write(helpFile, *saved);
        }
        Fill({ScreenEntry("S1", {OptionEntry("o", akAssistant, c.command)}), ScreenEntry("S2"),
              ScreenEntry("S3")},
             "S1");
        Root().FileName = helpFile.toStdString();
        ClickTreeNode(&Root());
        form->Actions().aTest->trigger();
        ASSERT_EQ(Viewers().size(), 1u);
        AssistantViewer* viewer = Viewers()[0];
        const ViewedAssistant* tested = viewer->CurrentAssistant();
        for (int i = 0; i < c.choices; ++i)
            viewer->ChooseOption(0);
        EXPECT_EQ(viewer->Notice(), QString());
        ASSERT_NE(viewer->CurrentScreen(), nullptr);
        EXPECT_EQ(viewer->CurrentScreen()->Caption, c.caption) << "the editor's version, not the saved one";
        EXPECT_EQ(viewer->CurrentAssistant(), tested);
        EXPECT_TRUE(viewer->CurrentAssistant()->FromEditor) << "its screens can still be edited";
        delete viewer;
    }
}

// ---- Help

class EditorHelpTest : public EditorFixture {
protected:
    QTemporaryDir folder;
    HelpEnvironment saved;
    std::vector<QUrl> opened;
    std::vector<QString> unavailable;

    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("bin")));
        saved = DefaultHelpEnvironment();
        HelpEnvironment& env = DefaultHelpEnvironment();
        env.ProgramFile = folder.filePath(QStringLiteral("bin/assistant-editor")).toStdString();
        env.ManualFolder = std::string(AMF_SOURCE_DIR) + "/docs/manual";
        env.OpenUrl = [this](const QUrl& url) {
            opened.push_back(url);
            return true;
        };
        env.ShowUnavailable = [this](QWidget*, const QString& message) { unavailable.push_back(message); };
        Start();
    }
    void TearDown() override {
        EditorFixture::TearDown();
        DefaultHelpEnvironment() = saved;
    }
};

TEST_F(EditorHelpTest, EachHelpCommandOpensTheManualWhereItBelongsWithoutAHelpFile) {
    struct Case {
        const char* action;
        QString page;
        std::optional<bool> indexPane; // none: help on help leaves the pane as it was
    };
    const std::vector<Case> cases = {
        {"aHelpContents", QStringLiteral("contents.html"), false},
        {"aHelpIndex", QStringLiteral("contents.html"), true},
        {"aHelpHelp", QStringLiteral("usinghelp.html"), std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.action);
        QAction* action = form->FindAction(QString::fromLatin1(c.action));
        ASSERT_NE(action, nullptr);
        action->trigger();
        HelpWindow* window = FindHelpWindow(form.get());
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->Browser()->source().fileName(), c.page);
        if (c.indexPane) {
            EXPECT_EQ(window->IndexPaneSelected(), *c.indexPane);
        }
        window->close();
    }
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(unavailable.empty());
    EXPECT_TRUE(prompter.AskedPrompts().empty());
}

TEST_F(EditorHelpTest, AHelpFileBesideTheProgramGoesToTheDesktopHandler) {
    const QString chm = folder.filePath(QStringLiteral("bin/assistant-editor.chm"));
    {
        QFile file(chm);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("chm");
    }
    form->Actions().aHelpContents->trigger();
    form->Actions().aHelpIndex->trigger();
    EXPECT_EQ(opened, (std::vector<QUrl>{QUrl::fromLocalFile(chm), QUrl::fromLocalFile(chm)}));
    EXPECT_EQ(FindHelpWindow(form.get()), nullptr) << "the manual window is not needed";
}
