// The viewer window on the offscreen platform: navigation and history, what is shown and how (plain
// text only), start screens of incomplete assistants, the actions of options, images and the editor's
// Edit call-back. Prompts and outside effects are answered and recorded by RecordingDesktop.
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>

#include "support/error.h"
#include "tests/gui/guitesthelpers.h"
#include "tests/gui/viewertesthelpers.h"
#include "viewer/assistantviewer.h"

namespace {
// Tour: S1 Start -> S2 Middle -> S3 End -> S1, plus options with broken targets.
std::unique_ptr<TAssistRoot> Tour() {
    auto root = NewAssistant("Tour", "S1");
    root->Description = {"Welcome to the tour."};
    TAssistScreen& s1 = AddScreen(*root, "S1", "Start", {"First line", "Second line"});
    AddOption(s1, "Next", akGoto, "S2", {"Go on to the middle."});
    AddOption(s1, "Jump", akGotoButton, "s3");
    AddOption(s1, "Broken", akGoto, "S9");
    AddOption(s1, "Nowhere", akGoto, "");
    AddOption(s1, "Stay", akGoto, "S1");
    TAssistScreen& s2 = AddScreen(*root, "S2", "Middle");
    AddOption(s2, "Back to start", akGoto, "S1");
    AddOption(s2, "On", akGoto, "S3");
    TAssistScreen& s3 = AddScreen(*root, "S3", "End");
    AddOption(s3, "Again", akGoto, "S1");
    return root;
}

// The visits of the history, the shown one in brackets: "S1 S2 [S3]". Visits of an assistant other than
// the editor's carry its caption ("Other:T1"). Walks the history and comes back to the shown visit.
std::string History(AssistantViewer& viewer) {
    const int shown = viewer.HistoryIndex();
    while (viewer.HistoryIndex() > 0)
        viewer.GoBack();
    std::string text;
    for (int i = 0; i < viewer.HistoryCount(); ++i) {
        if (i > 0) {
            viewer.GoForward();
            text += ' ';
        }
        const ViewedAssistant* assistant = viewer.CurrentAssistant();
        std::string visit = viewer.CurrentScreen() ? viewer.CurrentScreen()->ID : "<none>";
        if (!assistant->FromEditor)
            visit = assistant->Root->Caption + ":" + visit;
        text += i == shown ? "[" + visit + "]" : visit;
    }
    while (viewer.HistoryIndex() > shown)
        viewer.GoBack();
    return text;
}

class ViewerWindow : public ::testing::Test {
protected:
    void TearDown() override {
        m_window.reset();
        FlushDeletes();
    }

    AssistantViewer& Open(std::unique_ptr<TAssistRoot> root, const std::string& initial = {},
                          const QString& folder = {}, bool fromEditor = false) {
        m_setup.Desktop = m_desktop;
        if (!m_setup.Finder)
            m_setup.Finder = FixedFinder(m_temp.path().toStdString());
        auto assistant = std::make_shared<ViewedAssistant>(
            std::move(root), QString(), folder.isEmpty() ? m_temp.path() : folder, fromEditor);
        m_window = std::make_unique<AssistantViewer>(nullptr, m_setup, assistant, initial);
        return *m_window;
    }

    template <typename W = QLabel> W* Find(const QString& name) { return m_window->findChild<W*>(name); }
    QString Text(const QString& name) {
        QLabel* label = Find(name);
        return label && !label->isHidden() ? label->text() : QStringLiteral("<hidden>");
    }
    void Click(const QString& name) {
        auto* button = m_window->findChild<QAbstractButton*>(name);
        ASSERT_NE(button, nullptr) << name.toStdString();
        button->click();
    }
    std::string Shown() const {
        const TAssistScreen* screen = m_window->CurrentScreen();
        return screen ? screen->ID : "<none>";
    }

    QTemporaryDir m_temp;
    std::shared_ptr<RecordingDesktop> m_desktop = std::make_shared<RecordingDesktop>();
    ViewerSetup m_setup;
    std::unique_ptr<AssistantViewer> m_window;
};

TEST_F(ViewerWindow, ShowsTheStartScreenWithItsTextOptionsAndTheAssistantDescription) {
    AssistantViewer& viewer = Open(Tour());
    EXPECT_EQ(viewer.windowTitle(), QStringLiteral("Tour"));
    EXPECT_EQ(Text("lScreenCaption"), QStringLiteral("Start"));
    EXPECT_EQ(Text("lAssistantCaption"), QStringLiteral("Tour"));
    EXPECT_EQ(Text("lAssistantDescription"), QStringLiteral("Welcome to the tour."));
    EXPECT_EQ(Text("lScreenText"), QStringLiteral("First line\nSecond line"));
    EXPECT_EQ(Text("lOptionCaption1"), QStringLiteral("Next"));
    EXPECT_EQ(Text("lOptionDescription1"), QStringLiteral("Go on to the middle."));
    EXPECT_EQ(Text("lOptionCaption5"), QStringLiteral("Stay"));
    EXPECT_EQ(Find<QPushButton>("bOption1")->text(), QStringLiteral("Go"));
    EXPECT_EQ(Find<QPushButton>("bOption6"), nullptr);
    EXPECT_EQ(viewer.Notice(), QString());
    EXPECT_FALSE(Find<QPushButton>("bBack")->isEnabled());
    EXPECT_FALSE(Find<QPushButton>("bForward")->isEnabled());
    // Without an editor there is nothing to edit.
    EXPECT_TRUE(Find<QPushButton>("bEditScreen")->isHidden());
    EXPECT_EQ(Find<QToolButton>("bEditOption1"), nullptr);

    Click("bOption1");
    EXPECT_EQ(Shown(), "S2");
    EXPECT_EQ(Text("lScreenCaption"), QStringLiteral("Middle"));
    EXPECT_EQ(Text("lAssistantDescription"), QStringLiteral("<hidden>"));
    EXPECT_EQ(Text("lScreenText"), QStringLiteral("<hidden>"));
    EXPECT_EQ(Text("lOptionCaption1"), QStringLiteral("Back to start"));
    EXPECT_EQ(Find("lOptionCaption3"), nullptr);
}

TEST_F(ViewerWindow, BackForwardAndHomeWalkTheHistory) {
    AssistantViewer& viewer = Open(Tour());
    Click("bOption1"); // S2
    Click("bOption2"); // S3
    EXPECT_EQ(Shown(), "S3");
    Click("bBack");
    EXPECT_EQ(Shown(), "S2");
    Click("bBack");
    EXPECT_EQ(Shown(), "S1");
    EXPECT_FALSE(Find<QPushButton>("bBack")->isEnabled());
    Click("bForward");
    EXPECT_EQ(Shown(), "S2");
    EXPECT_TRUE(Find<QPushButton>("bForward")->isEnabled());

    // A new choice drops what was ahead.
    Click("bBack");
    Click("bOption2"); // Jump (button kind, lower-case target) to S3
    EXPECT_EQ(Shown(), "S3");
    EXPECT_FALSE(Find<QPushButton>("bForward")->isEnabled());
    EXPECT_EQ(viewer.HistoryCount(), 2);

    Click("bHome");
    EXPECT_EQ(Shown(), "S1");
    EXPECT_EQ(viewer.HistoryCount(), 3);
    Click("bBack");
    EXPECT_EQ(Shown(), "S3");
    // Back, Forward and Home at the ends of the history change nothing.
    viewer.GoForward();
    viewer.GoForward();
    EXPECT_EQ(Shown(), "S1");
}

TEST_F(ViewerWindow, BackForwardAndHomeHaveKeysListedInTheirTooltips) {
    AssistantViewer& viewer = Open(Tour());
    ASSERT_TRUE(ShowActive(&viewer));
    const auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &viewer;
        QTest::keyClick(target, key, modifiers);
    };
    // Each row starts from the history S1 S2 [S3], the shown screen in brackets.
    struct Case {
        const char* name;
        std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys;
        std::string shown;
    };
    const std::vector<Case> cases = {
        {"Alt+Left", {{Qt::Key_Left, Qt::AltModifier}}, "S2"},
        {"Alt+Left twice", {{Qt::Key_Left, Qt::AltModifier}, {Qt::Key_Left, Qt::AltModifier}}, "S1"},
        {"Backspace", {{Qt::Key_Backspace, Qt::NoModifier}}, "S2"},
        {"Alt+Left, then Alt+Right",
         {{Qt::Key_Left, Qt::AltModifier}, {Qt::Key_Right, Qt::AltModifier}},
         "S3"},
        {"Alt+Right at the end of the history", {{Qt::Key_Right, Qt::AltModifier}}, "S3"},
        {"Alt+Home", {{Qt::Key_Home, Qt::AltModifier}}, "S1"},
        {"Left without Alt", {{Qt::Key_Left, Qt::NoModifier}}, "S3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        viewer.GoHome();
        Click("bOption1"); // S2
        Click("bOption2"); // S3
        viewer.GoBack();
        viewer.GoForward();
        ASSERT_EQ(Shown(), "S3");
        Find<QPushButton>("bBack")->setFocus();
        for (const auto& [key, modifiers] : c.keys)
            press(key, modifiers);
        EXPECT_EQ(Shown(), c.shown);
    }

    // With a text box focused (the read-only detail box of a note), Backspace stays in the box; Alt+Left
    // still goes back.
    auto notes = NewAssistant("Notes", "N1");
    AddOption(AddScreen(*notes, "N1", "First"), "Next", akGoto, "N2");
    TAssistOption& note = AddOption(AddScreen(*notes, "N2", "Second"), "Read", akNote, "");
    TNote& text = *note.Notes.Add();
    text.Name = "A note";
    text.Text = "Some text";
    AssistantViewer& second = Open(std::move(notes));
    ASSERT_TRUE(ShowActive(&second));
    Click("bOption1");
    Click("bOption1"); // shows the note in the detail box
    auto* detail = Find<QPlainTextEdit>("mDetail");
    ASSERT_TRUE(detail->isVisible());
    detail->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), detail);
    press(Qt::Key_Backspace, Qt::NoModifier);
    EXPECT_EQ(Shown(), "N2");
    press(Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(Shown(), "N1");

    EXPECT_EQ(Find<QPushButton>("bBack")->toolTip(),
              QStringLiteral("Back to the screen shown before (Alt+Left, Backspace)"));
    EXPECT_EQ(Find<QPushButton>("bForward")->toolTip(),
              QStringLiteral("Forward to the screen shown after (Alt+Right)"));
    EXPECT_EQ(Find<QPushButton>("bHome")->toolTip(),
              QStringLiteral("The assistant's first screen (Alt+Home)"));
}

TEST_F(ViewerWindow, AChangedAssistantFromTheEditorReplacesItsVisitsWhereTheirScreensStillExist) {
    const std::string gone = "The screen \"S3\" is no longer in the assistant; its start screen is shown.";
    struct Case {
        const char* name;
        std::vector<int> steps; // options chosen on the way (0 = first), -1 Back
        std::function<void(TAssistRoot&)> change;
        std::string history; // after the change
        std::string notice;
    };
    const auto remove = [](const char* id) {
        return [id](TAssistRoot& root) { root.DeleteScreen(root.Screens.FindScreen(id)); };
    };
    const std::vector<Case> cases = {
        {"a caption changed",
         {0, 1},
         [](TAssistRoot& root) { root.Screens.Item(2)->Caption = "End, changed"; },
         "S1 S2 [S3]",
         ""},
        {"an earlier screen deleted", {0, 1}, remove("S2"), "S1 [S3]", ""},
        {"the shown screen deleted", {0, 1}, remove("S3"), "S1 S2 [S1]", gone},
        {"visits that meet are one", {0, 0}, remove("S2"), "[S1]", ""},
        {"screens reordered", {0, 1}, [](TAssistRoot& root) { root.Screens.Move(2, 0); }, "S1 S2 [S3]", ""},
        {"visits ahead kept", {0, 1, -1, -1}, remove("S2"), "[S1] S3", ""},
        {"ID changed only in case",
         {0, 1},
         [](TAssistRoot& root) { root.Screens.Item(2)->ID = "s3"; },
         "S1 S2 [s3]",
         ""},
        {"ID changed",
         {0, 1},
         [](TAssistRoot& root) { root.Screens.Item(2)->ID = "S7"; },
         "S1 S2 [S1]",
         gone},
        {"no screen left",
         {0, 1},
         [](TAssistRoot& root) {
             while (!root.Screens.Empty())
                 root.Screens.Delete(0);
         },
         "[<none>]",
         gone + " This assistant has no screens."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AssistantViewer& viewer = Open(Tour(), {}, {}, true);
        for (int step : c.steps)
            step < 0 ? viewer.GoBack() : viewer.ChooseOption(step);
        auto changed = Tour();
        c.change(*changed);
        auto replacement =
            std::make_shared<ViewedAssistant>(std::move(changed), QString(), m_temp.path(), true);
        viewer.ReplaceEditorAssistant(replacement);
        EXPECT_EQ(viewer.Notice().toStdString(), c.notice);
        EXPECT_EQ(History(viewer), c.history);
        EXPECT_EQ(viewer.CurrentAssistant(), replacement.get());
        EXPECT_EQ(viewer.EditorAssistant(), replacement.get());
        // What is shown is drawn from the replacement.
        const TAssistScreen* shown = viewer.CurrentScreen();
        EXPECT_EQ(Text("lScreenCaption"), shown ? QString::fromStdString(shown->Caption) : QString());
        if (shown != nullptr) {
            EXPECT_GE(replacement->Root->Screens.IndexOf(shown), 0);
        }
    }
}

TEST_F(ViewerWindow, ALoopOfScreensCanBeWalkedAroundAndBack) {
    AssistantViewer& viewer = Open(Tour());
    for (int round = 0; round < 30; ++round) {
        Click("bOption1"); // S1 -> S2
        Click("bOption2"); // S2 -> S3
        Click("bOption1"); // S3 -> S1
    }
    EXPECT_EQ(Shown(), "S1");
    EXPECT_EQ(viewer.HistoryCount(), 91);
    for (int i = 0; i < 200; ++i)
        viewer.GoBack();
    EXPECT_EQ(Shown(), "S1");
    EXPECT_EQ(viewer.HistoryIndex(), 0);
}

TEST_F(ViewerWindow, MissingOrEmptyTargetsShowANoticeAndStay) {
    AssistantViewer& viewer = Open(Tour());
    Click("bOption3"); // S9
    EXPECT_EQ(Shown(), "S1");
    EXPECT_TRUE(viewer.Notice().contains("\"S9\"")) << viewer.Notice().toStdString();
    EXPECT_TRUE(viewer.Notice().contains("does not exist"));
    EXPECT_EQ(viewer.HistoryCount(), 1);
    Click("bOption4"); // empty command
    EXPECT_EQ(viewer.Notice(), QStringLiteral("This option names no screen to go to."));
    // Going to the screen already shown adds nothing, and a notice goes away with the next choice.
    Click("bOption5");
    EXPECT_EQ(viewer.HistoryCount(), 1);
    EXPECT_EQ(viewer.Notice(), QString());
}

TEST_F(ViewerWindow, TextsWithMarkupAreShownAsTheyAre) {
    const std::string bold = "<b>x</b>";
    const std::string script = "<script>alert(1)</script>";
    const std::string link = "<a href=\"http://evil\">click</a> & [*]";
    auto root = NewAssistant(link, "S1");
    root->Description = {bold};
    TAssistScreen& screen = AddScreen(*root, "S1", script, {bold, "<img src=x onerror=alert(1)>"});
    AddOption(screen, bold, akGoto, "S1", {script});
    AssistantViewer& viewer = Open(std::move(root));

    EXPECT_EQ(Text("lAssistantCaption").toStdString(), link);
    EXPECT_EQ(Text("lAssistantDescription").toStdString(), bold);
    EXPECT_EQ(Text("lScreenCaption").toStdString(), script);
    EXPECT_EQ(Text("lScreenText").toStdString(), bold + "\n<img src=x onerror=alert(1)>");
    EXPECT_EQ(Text("lOptionCaption1").toStdString(), bold);
    EXPECT_EQ(Text("lOptionDescription1").toStdString(), script);
    for (const QLabel* label : viewer.findChildren<QLabel*>()) {
        SCOPED_TRACE(label->objectName().toStdString());
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
    }
    // The title bar shows the caption as written, "[*]" included.
    viewer.show();
    ASSERT_NE(viewer.windowHandle(), nullptr);
    EXPECT_EQ(viewer.windowHandle()->title().toStdString(), link);
}

TEST_F(ViewerWindow, IncompleteAssistantsStartWhereTheyCanAndSayWhatIsMissing) {
    struct Case {
        const char* name;
        bool screens;
        std::string firstScreen, initial;
        std::string shown;
        QString noticePart; // empty: no notice
    };
    const std::vector<Case> cases = {
        {"no screens", false, "S1", "", "<none>", "has no screens"},
        {"first screen named", true, "S2", "", "S2", ""},
        {"first screen in other case", true, "s2", "", "S2", ""},
        {"no first screen", true, "", "", "S1", "names no first screen"},
        {"missing first screen", true, "S7", "", "S1", "\"S7\""},
        {"initial screen", true, "S1", "s3", "S3", ""},
        {"missing initial screen", true, "S2", "S8", "S2", "\"S8\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto root = NewAssistant("Partial", c.firstScreen);
        if (c.screens) {
            AddScreen(*root, "S1", "One");
            AddScreen(*root, "S2", "Two");
            AddScreen(*root, "S3", "Three");
        }
        AssistantViewer& viewer = Open(std::move(root), c.initial);
        EXPECT_EQ(Shown(), c.shown);
        if (c.noticePart.isEmpty())
            EXPECT_EQ(viewer.Notice(), QString());
        else
            EXPECT_TRUE(viewer.Notice().contains(c.noticePart)) << viewer.Notice().toStdString();
        EXPECT_EQ(Find<QPushButton>("bHome")->isEnabled(), c.screens);
        viewer.GoHome();
        viewer.GoBack();
        m_window.reset();
    }
}

TEST_F(ViewerWindow, AnEmptyScreenSaysItHasNoOptions) {
    auto root = NewAssistant("", "S1");
    AddScreen(*root, "S1", "");
    Open(std::move(root));
    EXPECT_EQ(Shown(), "S1");
    EXPECT_EQ(Text("lNoOptions"), QStringLiteral("This screen has no options."));
    EXPECT_EQ(Text("lScreenCaption"), QString());
}

TEST_F(ViewerWindow, NoteScriptDocumentAndToolOptionsOnlyShowWhatTheyHold) {
    auto root = NewAssistant("Kinds", "S1");
    TAssistScreen& screen = AddScreen(*root, "S1", "One");
    TAssistOption& note = AddOption(screen, "Read me", akNote, "");
    TNote& n = *note.Notes.Add();
    n.Name = "Care";
    n.Text = "<i>hot</i>";
    AddOption(screen, "No notes", akNote, "");
    TAssistOption& script = AddOption(screen, "Script", akScript, "");
    script.Script = "MsgBox \"hi\"\rShell \"rm -rf /\"";
    AddOption(screen, "Manual", akBrowse, "MANULEX:chapter 4");
    AddOption(screen, "Old tool", akRun, "brakko.exe /x");
    AssistantViewer& viewer = Open(std::move(root));

    struct Case {
        int option;
        QString title, detail, noticePart;
    };
    const std::vector<Case> cases = {
        {0, "Notes", "Care\n<i>hot</i>", ""},
        {1, "", "", "no notes"},
        {2, "Script (read only)", "MsgBox \"hi\"\nShell \"rm -rf /\"", "not run"},
        {3, "Document command", "MANULEX:chapter 4", "not browsed"},
        {4, "Tool command", "brakko.exe /x", "obsolete"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option);
        viewer.ChooseOption(c.option);
        EXPECT_EQ(viewer.DetailTitle(), c.title);
        EXPECT_EQ(viewer.DetailText(), c.detail);
        if (c.noticePart.isEmpty())
            EXPECT_EQ(viewer.Notice(), QString());
        else
            EXPECT_TRUE(viewer.Notice().contains(c.noticePart)) << viewer.Notice().toStdString();
        EXPECT_EQ(Shown(), "S1");
    }
    EXPECT_TRUE(m_desktop->Started.empty());
    EXPECT_TRUE(m_desktop->OpenedUrls.empty());
    EXPECT_TRUE(m_desktop->Confirmations.empty());
}

std::unique_ptr<TAssistRoot> ProgramAssistant(const std::string& command) {
    auto root = NewAssistant("Programs", "S1");
    AddOption(AddScreen(*root, "S1", "One"), "Run it", akExec, command);
    return root;
}

TEST_F(ViewerWindow, AProgramStartsOnlyWhenTheUserAgrees) {
    const std::string command = "\"{$TEMP}/my tool\" --name \"Ann Lee\" {$DOCS}/out.txt";
    AssistantViewer& viewer = Open(ProgramAssistant(command));
    const QString program = m_temp.path() + QStringLiteral("/my tool");
    const QStringList arguments = {"--name", "Ann Lee", "/home/ann/Documents/out.txt"};

    m_desktop->ConfirmAnswer = false;
    Click("bOption1");
    ASSERT_EQ(m_desktop->Confirmations.size(), 1u);
    EXPECT_EQ(m_desktop->Confirmations[0].Program, program);
    EXPECT_EQ(m_desktop->Confirmations[0].Arguments, arguments);
    EXPECT_TRUE(m_desktop->Started.empty());
    EXPECT_EQ(viewer.Notice(), QStringLiteral("The program was not started."));

    m_desktop->ConfirmAnswer = true;
    Click("bOption1");
    ASSERT_EQ(m_desktop->Started.size(), 1u);
    EXPECT_EQ(m_desktop->Started[0].Program, program);
    EXPECT_EQ(m_desktop->Started[0].Arguments, arguments);
    EXPECT_EQ(m_desktop->Started[0].WorkingFolder, m_temp.path());
    EXPECT_EQ(viewer.Notice(), QString());
    // The user sees exactly what runs.
    EXPECT_EQ(viewer.DetailText(), DescribeLaunch(m_desktop->Started[0]));
    EXPECT_TRUE(viewer.DetailText().contains("Argument 2: Ann Lee"));

    m_desktop->StartSucceeds = false;
    Click("bOption1");
    EXPECT_TRUE(viewer.Notice().contains("could not be started"));
}

TEST_F(ViewerWindow, ProgramsAreNeverStartedWhenRunningThemIsOff) {
    m_setup.NeverRunPrograms = true;
    m_desktop->ConfirmAnswer = true;
    AssistantViewer& viewer = Open(ProgramAssistant("tool --x"));
    Click("bOption1");
    EXPECT_TRUE(m_desktop->Confirmations.empty());
    EXPECT_TRUE(m_desktop->Started.empty());
    EXPECT_TRUE(viewer.Notice().contains("turned off"));
    EXPECT_TRUE(viewer.DetailText().contains("Program: tool"));
}

TEST_F(ViewerWindow, ADocumentIsOpenedWithTheDesktopsProgramAfterAsking) {
    QFile document(m_temp.filePath(QStringLiteral("guide.txt")));
    ASSERT_TRUE(document.open(QIODevice::WriteOnly));
    document.close();
    m_desktop->ConfirmAnswer = true;
    Open(ProgramAssistant("guide.txt"));
    Click("bOption1");
    EXPECT_EQ(m_desktop->Confirmations.size(), 1u);
    EXPECT_TRUE(m_desktop->Started.empty());
    ASSERT_EQ(m_desktop->OpenedUrls.size(), 1u);
    EXPECT_EQ(m_desktop->OpenedUrls[0], QUrl::fromLocalFile(QFileInfo(document).absoluteFilePath()));
}

TEST_F(ViewerWindow, AnExecuteOptionWithNothingToRunSaysSo) {
    m_desktop->ConfirmAnswer = true;
    AssistantViewer& viewer = Open(ProgramAssistant("{$NOWHERE}/tool"));
    Click("bOption1");
    EXPECT_TRUE(m_desktop->Confirmations.empty());
    EXPECT_TRUE(viewer.Notice().contains("{$NOWHERE}/tool"));
}

TEST_F(ViewerWindow, WebPagesOpenOnlyForWebAndMailAddresses) {
    auto root = NewAssistant("Web", "S1");
    TAssistScreen& screen = AddScreen(*root, "S1", "One");
    for (const std::string address :
         {"https://example.com/help", "http://example.com", "mailto:help@example.com?attachment=/etc/passwd",
          "javascript:alert(1)", "file:///etc/passwd"})
        AddOption(screen, address, akInternet, address);
    AssistantViewer& viewer = Open(std::move(root));
    for (int i = 0; i < 5; ++i)
        viewer.ChooseOption(i);
    const std::vector<QUrl> expected = {QUrl("https://example.com/help"), QUrl("http://example.com"),
                                        QUrl("mailto:help@example.com")};
    EXPECT_EQ(m_desktop->OpenedUrls, expected);
    EXPECT_TRUE(viewer.Notice().contains("file:///etc/passwd")) << viewer.Notice().toStdString();

    m_desktop->OpenUrlSucceeds = false;
    viewer.ChooseOption(0);
    EXPECT_TRUE(viewer.Notice().contains("could not be opened"));
}

// A caller in the test folder pointing at other assistants; the loader builds them in code and records
// the paths it was asked for, so the tests do not depend on the file reader.
class ViewerOtherAssistants : public ViewerWindow {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir(m_temp.path()).mkpath(QStringLiteral("sub")));
        for (const char* name : {"sub/other.amf", "broken.amf"}) {
            QFile file(m_temp.filePath(QString::fromUtf8(name)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        m_setup.Loader = [this](const QString& path) -> std::unique_ptr<TAssistRoot> {
            m_loaded.push_back(path);
            if (path.endsWith(QStringLiteral("broken.amf")))
                throw AppError("[AS022] The file is not an assistant definition.");
            if (path.endsWith(QStringLiteral("caller.amf")))
                return Caller({"sub/other.amf"});
            auto other = NewAssistant("Other", "T1");
            AddOption(AddScreen(*other, "T1", "Other start"), "Back to the caller", akAssistant,
                      "../caller.amf,S2");
            AddScreen(*other, "T2", "Other second");
            return other;
        };
        QFile caller(m_temp.filePath(QStringLiteral("caller.amf")));
        ASSERT_TRUE(caller.open(QIODevice::WriteOnly));
    }

    std::unique_ptr<TAssistRoot> Caller(const std::vector<std::string>& commands) {
        auto root = NewAssistant("Caller", "S1");
        TAssistScreen& screen = AddScreen(*root, "S1", "Caller start");
        for (const std::string& command : commands)
            AddOption(screen, command, akAssistant, command);
        AddScreen(*root, "S2", "Caller second");
        return root;
    }

    std::vector<QString> m_loaded;
};

TEST_F(ViewerOtherAssistants, FileAndScreenAreTakenRelativeToTheCallingAssistant) {
    AssistantViewer& viewer = Open(Caller({"sub/other.amf,T2", "sub\\other.amf"}));
    Click("bOption1");
    ASSERT_EQ(m_loaded.size(), 1u);
    EXPECT_EQ(m_loaded[0], m_temp.filePath(QStringLiteral("sub/other.amf")));
    EXPECT_EQ(Shown(), "T2");
    EXPECT_EQ(viewer.windowTitle(), QStringLiteral("Other"));
    EXPECT_EQ(Text("lAssistantCaption"), QStringLiteral("Other"));
    EXPECT_EQ(viewer.Notice(), QString());

    // Home is the first screen of the assistant shown; Back crosses back to the caller.
    Click("bHome");
    EXPECT_EQ(Shown(), "T1");
    Click("bBack");
    Click("bBack");
    EXPECT_EQ(Shown(), "S1");
    EXPECT_EQ(viewer.windowTitle(), QStringLiteral("Caller"));

    // Without a screen the other assistant starts at its own first screen; it is not read again.
    Click("bOption2");
    EXPECT_EQ(Shown(), "T1");
    EXPECT_EQ(m_loaded.size(), 1u);

    // The other assistant's relative names are taken from its own folder.
    Click("bOption1"); // ../caller.amf,S2
    ASSERT_EQ(m_loaded.size(), 2u);
    EXPECT_EQ(m_loaded[1], m_temp.filePath(QStringLiteral("caller.amf")));
    EXPECT_EQ(Shown(), "S2");
}

TEST_F(ViewerOtherAssistants, UnusableFilesAndScreensGiveNotices) {
    struct Case {
        std::string command;
        std::string shown;
        QString noticePart;
    };
    const std::vector<Case> cases = {
        {"missing.amf", "S1", "\"missing.amf\" was not found"},
        {"broken.amf", "S1", "[AS022] The file is not an assistant definition."},
        {"{$NOPE}/x.amf", "S1", "not known"},
        {"", "S1", "names no assistant file"},
        {"sub/other.amf,T9", "T1", "\"T9\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        AssistantViewer& viewer = Open(Caller({c.command}));
        Click("bOption1");
        EXPECT_EQ(Shown(), c.shown);
        EXPECT_TRUE(viewer.Notice().contains(c.noticePart)) << viewer.Notice().toStdString();
        m_window.reset();
    }
}

TEST_F(ViewerOtherAssistants, FolderCodesNameOtherAssistants) {
    // {$TEMP} is the test folder in the fixed finder.
    Open(Caller({"{$TEMP}\\sub\\other.amf,T2"}));
    Click("bOption1");
    EXPECT_EQ(Shown(), "T2");
    ASSERT_EQ(m_loaded.size(), 1u);
    EXPECT_EQ(m_loaded[0], m_temp.filePath(QStringLiteral("sub/other.amf")));
}

TEST_F(ViewerOtherAssistants, AReplacedEditorAssistantLeavesTheVisitsOfOtherAssistantsAlone) {
    AssistantViewer& viewer = Open(Caller({"sub/other.amf"}), "S1", {}, true);
    Click("bOption1"); // the other assistant
    Click("bOption1"); // back to caller.amf: read from its file, so not the editor's
    ASSERT_EQ(History(viewer), "S1 Other:T1 [Caller:S2]");
    const ViewedAssistant* fromFile = viewer.CurrentAssistant();

    // The editor's assistant loses S1 (and so its one visit); the other visits stay as they are.
    auto changed = Caller({});
    changed->DeleteScreen(changed->Screens.FindScreen("S1"));
    viewer.ReplaceEditorAssistant(
        std::make_shared<ViewedAssistant>(std::move(changed), QString(), m_temp.path(), true));
    EXPECT_EQ(History(viewer), "Other:T1 [Caller:S2]");
    EXPECT_EQ(viewer.CurrentAssistant(), fromFile);
    EXPECT_EQ(viewer.Notice(), QString());

    // A viewer that never showed the editor's assistant takes no replacement.
    AssistantViewer& alone = Open(Caller({}), "S2", {}, false);
    alone.ReplaceEditorAssistant(
        std::make_shared<ViewedAssistant>(Caller({}), QString(), m_temp.path(), true));
    EXPECT_EQ(alone.EditorAssistant(), nullptr);
    EXPECT_EQ(History(alone), "[Caller:S2]");
}

TEST_F(ViewerOtherAssistants, EditThisScreenCallsBackWithTheShownItemOfTheEditorsAssistant) {
    std::vector<ViewerEditTarget> calls;
    m_setup.OnEdit = [&calls](const ViewerEditTarget& target) { calls.push_back(target); };
    auto root = Caller({"sub/other.amf"});
    TAssistScreen& second = *root->Screens.Item(1);
    AddOption(second, "First", akGoto, "S1").ID = "S2.1";
    AddOption(second, "Second", akGoto, "S1").ID = "S2.7";
    Open(std::move(root), "S2", {}, true);

    ASSERT_FALSE(Find<QPushButton>("bEditScreen")->isHidden());
    Click("bEditScreen");
    Click("bEditOption2");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].ScreenIndex, 1);
    EXPECT_EQ(calls[0].ScreenID, "S2");
    EXPECT_EQ(calls[0].OptionIndex, -1);
    EXPECT_EQ(calls[0].OptionID, "");
    EXPECT_EQ(calls[1].ScreenIndex, 1);
    EXPECT_EQ(calls[1].OptionIndex, 1);
    EXPECT_EQ(calls[1].OptionID, "S2.7");

    // Another assistant reached from it is not the editor's: nothing to edit there.
    Click("bOption1"); // S2.1 -> S1
    Click("bOption1"); // S1 -> other assistant
    EXPECT_EQ(Shown(), "T1");
    EXPECT_FALSE(Find<QPushButton>("bEditScreen")->isEnabled());
    EXPECT_EQ(Find<QToolButton>("bEditOption1"), nullptr);
    m_window->EditItem(-1);
    EXPECT_EQ(calls.size(), 2u);
}

class ViewerImages : public ViewerWindow {
protected:
    AssistantViewer& OpenWithImage(const std::string& image) {
        auto root = NewAssistant("Pictures", "S1");
        AddScreen(*root, "S1", "One", {"Look below."}).Image = image;
        return Open(std::move(root));
    }
    void WriteFile(const QString& name, const QByteArray& bytes) {
        QDir(m_temp.path()).mkpath(QFileInfo(m_temp.filePath(name)).path());
        QFile file(m_temp.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
};

TEST_F(ViewerImages, ImagesAreFoundBesideTheAssistantOrThroughACode) {
    QImage image(7, 5, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(QDir(m_temp.path()).mkpath(QStringLiteral("pics")));
    ASSERT_TRUE(image.save(m_temp.filePath(QStringLiteral("pics/red.png"))));
    for (const std::string name : {"pics/red.png", "pics\\red.png", "{$TEMP}/pics/red.png"}) {
        SCOPED_TRACE(name);
        OpenWithImage(name);
        QLabel* label = Find("lImage");
        ASSERT_FALSE(label->isHidden());
        EXPECT_EQ(label->pixmap().size(), QSize(7, 5));
        m_window.reset();
    }
}

TEST_F(ViewerImages, ImagesThatCannotBeShownLeaveAMessageInTheirPlace) {
    // A PPM header declaring 20000 x 20000 pixels: refused before anything is decoded.
    WriteFile(QStringLiteral("huge.ppm"), QByteArray("P6\n20000 20000\n255\n") + QByteArray(64, '\0'));
    WriteFile(QStringLiteral("garbage.png"), QByteArray("this is not an image"));
    struct Case {
        std::string image;
        QString messagePart;
    };
    const std::vector<Case> cases = {
        {"huge.ppm", "too large"},
        {"garbage.png", "could not be read"},
        {"missing.png", "\"missing.png\" was not found"},
        {"{$NOPE}/x.png", "not known"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.image);
        OpenWithImage(c.image);
        QLabel* label = Find("lImage");
        ASSERT_FALSE(label->isHidden());
        EXPECT_TRUE(label->pixmap().isNull());
        EXPECT_TRUE(label->text().contains(c.messagePart)) << label->text().toStdString();
        // The rest of the screen is still there.
        EXPECT_EQ(Text("lScreenText"), QStringLiteral("Look below."));
        m_window.reset();
    }
}

TEST_F(ViewerImages, AScreenWithoutAnImageShowsNoImageArea) {
    OpenWithImage("");
    EXPECT_TRUE(Find("lImage")->isHidden());
}
} // namespace
