// The viewer as the assistant runtime: loading by file (asking for one when no name is given) and by
// text, the initial screen, and Run showing a window over its owner that outlives the runtime.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sstream>

#include "components/qt/qtcomponentfactory.h"
#include "support/error.h"
#include "tests/gui/viewertesthelpers.h"
#include "viewer/assistantruntime.h"
#include "viewer/assistantviewer.h"

namespace {
std::unique_ptr<TAssistRoot> TwoScreens() {
    auto root = NewAssistant("Two", "S1");
    AddOption(AddScreen(*root, "S1", "One"), "Next", akGoto, "S2");
    AddScreen(*root, "S2", "Two");
    return root;
}

class ViewerRuntime : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_temp.isValid());
        QFile file(m_temp.filePath(QStringLiteral("two.amf")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        m_setup.Desktop = m_desktop;
        m_setup.Finder = FixedFinder(m_temp.path().toStdString());
        m_setup.Loader = [this](const QString& path) {
            m_loaded.push_back(path);
            return TwoScreens();
        };
    }
    void TearDown() override {
        if (m_runtime && m_runtime->Window())
            delete m_runtime->Window();
        FlushDeletes();
    }
    AssistantRuntime& Runtime() {
        m_runtime = std::make_unique<AssistantRuntime>(m_setup);
        return *m_runtime;
    }

    QTemporaryDir m_temp;
    std::shared_ptr<RecordingDesktop> m_desktop = std::make_shared<RecordingDesktop>();
    ViewerSetup m_setup;
    std::vector<QString> m_loaded;
    std::unique_ptr<AssistantRuntime> m_runtime;
};

TEST_F(ViewerRuntime, RunWithoutAnAssistantFails) {
    const ComponentStatus status = Runtime().Run(nullptr, kRunShowOwned);
    EXPECT_FALSE(status.Ok);
    EXPECT_EQ(status.Message, "No assistant is loaded.");
    EXPECT_EQ(m_runtime->Window(), nullptr);
}

TEST_F(ViewerRuntime, AnEmptyFileNameAsksForAFile) {
    AssistantRuntime& runtime = Runtime();
    std::string result = "stale";
    ComponentStatus status = runtime.LoadAssistantFile("", result);
    EXPECT_FALSE(status.Ok);
    EXPECT_EQ(status.Message, "No file chosen.");
    EXPECT_EQ(result, "");
    EXPECT_EQ(m_desktop->OpenFileCaptions.size(), 1u);
    EXPECT_TRUE(m_loaded.empty());

    m_desktop->OpenFileAnswer = m_temp.filePath(QStringLiteral("two.amf"));
    status = runtime.LoadAssistantFile("", result);
    EXPECT_TRUE(status.Ok) << status.Message;
    EXPECT_EQ(m_desktop->OpenFileCaptions.size(), 2u);
    ASSERT_EQ(m_loaded.size(), 1u);
    EXPECT_EQ(m_loaded[0], m_desktop->OpenFileAnswer);
    EXPECT_EQ(result, m_desktop->OpenFileAnswer.toStdString());
    EXPECT_TRUE(runtime.Run(nullptr, kRunShowOwned).Ok);
    ASSERT_NE(runtime.Window(), nullptr);
    EXPECT_EQ(runtime.Window()->CurrentScreen()->ID, "S1");
}

TEST_F(ViewerRuntime, NamedFilesAreLoadedWithoutAskingOrReportedWhenUnusable) {
    struct Case {
        std::string name;
        bool ok;
        std::string messagePart;
    };
    const std::vector<Case> cases = {
        {m_temp.filePath(QStringLiteral("two.amf")).toStdString(), true, ""},
        {"{$TEMP}/two.amf", true, ""},
        {"{$TEMP}/absent.amf", false, "\"{$TEMP}/absent.amf\" was not found"},
        {"{$NOPE}/two.amf", false, "not known"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_loaded.clear();
        std::string result;
        const ComponentStatus status = Runtime().LoadAssistantFile(c.name, result);
        EXPECT_EQ(status.Ok, c.ok) << status.Message;
        EXPECT_NE(status.Message.find(c.messagePart), std::string::npos) << status.Message;
        EXPECT_EQ(m_loaded.size(), c.ok ? 1u : 0u);
        EXPECT_TRUE(m_desktop->OpenFileCaptions.empty());
    }
}

TEST_F(ViewerRuntime, AReadingFailureIsAFailedStatusWithTheReadersMessage) {
    m_setup.Loader = [](const QString&) -> std::unique_ptr<TAssistRoot> {
        throw AppError("[AS023] Unsupported file version.");
    };
    std::string result;
    const ComponentStatus status =
        Runtime().LoadAssistantFile(m_temp.filePath("two.amf").toStdString(), result);
    EXPECT_FALSE(status.Ok);
    EXPECT_EQ(status.Message, "[AS023] Unsupported file version.");
    EXPECT_FALSE(m_runtime->Run(nullptr, kRunShowOwned).Ok);
}

TEST_F(ViewerRuntime, TextThatDoesNotParseGivesTheParsersMessage) {
    const std::string text = "this is not an assistant";
    std::string expected;
    try {
        TAssistRoot root("");
        std::istringstream in(text);
        root.LoadFromStream(in);
    } catch (const AppError& error) {
        expected = error.what();
    }
    ASSERT_FALSE(expected.empty()) << "the reader accepted text that is not an assistant";
    const ComponentStatus status = Runtime().LoadAssistantText(text);
    EXPECT_FALSE(status.Ok);
    EXPECT_EQ(status.Message, expected);
    EXPECT_EQ(status.Message.rfind("[AS02", 0), 0u) << status.Message;
    EXPECT_FALSE(m_runtime->Run(nullptr, kRunShowOwned).Ok);
}

TEST_F(ViewerRuntime, RunShowsAWindowOverTheOwnerThatOutlivesTheRuntime) {
    QWidget owner;
    AssistantRuntime& runtime = Runtime();
    runtime.LoadAssistant(TwoScreens(), m_temp.path(), false);
    EXPECT_TRUE(runtime.SetInitialScreen("s2").Ok);
    ASSERT_TRUE(runtime.Run(&owner, kRunShowOwned).Ok);
    QPointer<AssistantViewer> window = runtime.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->parentWidget(), &owner);
    EXPECT_TRUE(window->isWindow());
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->CurrentScreen()->ID, "S2");

    // The editor releases the runtime as soon as Run returns; the window goes on working.
    m_runtime.reset();
    window->GoBack();
    window->GoHome();
    EXPECT_EQ(window->CurrentScreen()->ID, "S1");
    window->findChild<QPushButton*>(QStringLiteral("bOption1"))->click();
    EXPECT_EQ(window->CurrentScreen()->ID, "S2");

    window->close();
    FlushDeletes();
    EXPECT_EQ(window, nullptr);
}

TEST_F(ViewerRuntime, EachRunOpensItsOwnWindowAtTheChosenStart) {
    QWidget owner;
    AssistantRuntime& runtime = Runtime();
    runtime.LoadAssistant(TwoScreens(), m_temp.path(), false);
    ASSERT_TRUE(runtime.Run(&owner, kRunShowOwned).Ok);
    QPointer<AssistantViewer> first = runtime.Window();
    EXPECT_EQ(first->CurrentScreen()->ID, "S1");
    EXPECT_TRUE(runtime.SetInitialScreen("S9").Ok);
    ASSERT_TRUE(runtime.Run(&owner, kRunShowOwned).Ok);
    QPointer<AssistantViewer> second = runtime.Window();
    EXPECT_NE(first, second);
    EXPECT_EQ(second->CurrentScreen()->ID, "S1");
    EXPECT_TRUE(second->Notice().contains("\"S9\""));
    // Both belong to the owner and go with it.
    delete first;
}

TEST_F(ViewerRuntime, TheComponentFactoryCreatesViewerRuntimesWithTheEditorsFolder) {
    QtComponentFactory factory(std::make_shared<QtUserDialogs>(), "/opt/editor/assistant-editor");
    m_setup.NeverRunPrograms = true;
    QString folder = QStringLiteral("/work/first");
    factory.SetAssistantCreator(ViewerCreator(m_setup, [&folder] { return folder; }));
    std::unique_ptr<IAssistant> first = factory.CreateAssistant();
    folder = QStringLiteral("/work/second");
    std::unique_ptr<IAssistant> second = factory.CreateAssistant();
    auto* firstRuntime = dynamic_cast<AssistantRuntime*>(first.get());
    auto* secondRuntime = dynamic_cast<AssistantRuntime*>(second.get());
    ASSERT_NE(firstRuntime, nullptr);
    ASSERT_NE(secondRuntime, nullptr);
    EXPECT_EQ(firstRuntime->BaseFolder(), QStringLiteral("/work/first"));
    EXPECT_EQ(secondRuntime->BaseFolder(), QStringLiteral("/work/second"));
    EXPECT_TRUE(secondRuntime->Setup().NeverRunPrograms);
    EXPECT_EQ(secondRuntime->Setup().Desktop, m_desktop);
}

// Assistants written by the file writer and read back by the viewer's own readers.
class ViewerRealFiles : public ViewerRuntime {
protected:
    void SetUp() override {
        ViewerRuntime::SetUp();
        m_setup.Loader = nullptr; // the file reader
    }
    static std::unique_ptr<TAssistRoot> Guide() {
        auto root = NewAssistant("Guide <i>1</i>", "S1");
        TAssistScreen& s1 = AddScreen(*root, "S1", "Welcome", {"Line one", "Line two"});
        AddOption(s1, "More", akAssistant, "sub\\other.amf,T2");
        AddScreen(*root, "S2", "Second");
        return root;
    }
    void Save(TAssistRoot& root, const QString& name) {
        ASSERT_TRUE(QDir(m_temp.path()).mkpath(QFileInfo(m_temp.filePath(name)).path()));
        QFile file(m_temp.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromStdString(root.SaveToText()));
    }
};

TEST_F(ViewerRealFiles, TheEditorsTextRunsAtTheChosenScreenAndCanBeEdited) {
    std::vector<ViewerEditTarget> edits;
    m_setup.OnEdit = [&edits](const ViewerEditTarget& target) { edits.push_back(target); };
    auto guide = Guide();
    const std::string text = guide->SaveToText();
    AssistantRuntime& runtime = Runtime();
    ASSERT_TRUE(runtime.LoadAssistantText(text).Ok);
    ASSERT_TRUE(runtime.SetInitialScreen("S2").Ok);
    QWidget owner;
    ASSERT_TRUE(runtime.Run(&owner, kRunShowOwned).Ok);
    AssistantViewer* window = runtime.Window();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Guide <i>1</i>"));
    EXPECT_EQ(window->CurrentScreen()->Caption, "Second");
    window->EditItem(-1);
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0].ScreenIndex, 1);
    EXPECT_EQ(edits[0].ScreenID, "S2");
}

TEST_F(ViewerRealFiles, AnotherAssistantIsReadFromItsFileBesideTheCaller) {
    auto other = NewAssistant("Other", "T1");
    AddScreen(*other, "T1", "Other start");
    AddScreen(*other, "T2", "Other second", {"Read from disk."});
    Save(*other, QStringLiteral("sub/other.amf"));
    auto guide = Guide();
    Save(*guide, QStringLiteral("guide.amf"));

    AssistantRuntime& runtime = Runtime();
    std::string result;
    ASSERT_TRUE(runtime.LoadAssistantFile("{$TEMP}/guide.amf", result).Ok);
    EXPECT_EQ(result, m_temp.filePath(QStringLiteral("guide.amf")).toStdString());
    ASSERT_TRUE(runtime.Run(nullptr, kRunShowOwned).Ok);
    AssistantViewer* window = runtime.Window();
    EXPECT_EQ(window->CurrentScreen()->ID, "S1");
    window->ChooseOption(0);
    EXPECT_EQ(window->Notice(), QString());
    ASSERT_NE(window->CurrentScreen(), nullptr);
    EXPECT_EQ(window->CurrentScreen()->ID, "T2");
    EXPECT_EQ(window->CurrentScreen()->Description, std::vector<std::string>{"Read from disk."});
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Other"));
}

TEST_F(ViewerRealFiles, AFileThatIsNotAnAssistantGivesTheReadersMessage) {
    QFile file(m_temp.filePath(QStringLiteral("two.amf")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<html><body>not an assistant</body></html>");
    file.close();
    std::string result;
    const ComponentStatus status =
        Runtime().LoadAssistantFile(m_temp.filePath("two.amf").toStdString(), result);
    EXPECT_FALSE(status.Ok);
    EXPECT_EQ(status.Message.rfind("[AS02", 0), 0u) << status.Message;
}
} // namespace
