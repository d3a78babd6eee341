// The Help menu's entry point: an existing .hlp/.chm file goes to the desktop's handler (recorded
// here), otherwise the manual opens in the owner's help window at the page and pane asked for.
#include "editor/helpaccess.h"
#include "editor/helpwindow.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QUrl>
#include <QWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

class HelpAccessTest : public ::testing::Test {
protected:
    fs::path dir;
    std::unique_ptr<QWidget> owner;
    std::vector<QUrl> opened;
    std::vector<QString> unavailable;
    HelpEnvironment env;

    void SetUp() override {
        dir = fs::temp_directory_path() / ("amf-helpgui-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir / "bin");
        owner = std::make_unique<QWidget>();
        env.ProgramFile = (dir / "bin" / "assistant-editor").string();
        env.ManualFolder = std::string(AMF_SOURCE_DIR) + "/docs/manual";
        env.OpenUrl = [this](const QUrl& url) {
            opened.push_back(url);
            return true;
        };
        env.ShowUnavailable = [this](QWidget*, const QString& message) { unavailable.push_back(message); };
    }
    void TearDown() override {
        owner.reset();
        fs::remove_all(dir);
    }
    std::string Touch(const std::string& name) const {
        const fs::path path = dir / "bin" / name;
        std::ofstream(path) << "x";
        return path.string();
    }
    static QString PageOf(const HelpWindow* window) { return window->Browser()->source().fileName(); }
};

} // namespace

TEST_F(HelpAccessTest, ContentsOpensTheManualAtItsContentsInAnOwnedNonModalWindow) {
    EXPECT_EQ(ShowHelpTopic(owner.get(), HelpTopic::Contents, env), HelpShown::HelpWindow);
    HelpWindow* window = FindHelpWindow(owner.get());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->parentWidget(), owner.get());
    EXPECT_TRUE(window->isWindow());
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(PageOf(window), "contents.html");
    EXPECT_TRUE(window->ContentsPaneSelected());
    EXPECT_FALSE(window->Browser()->toPlainText().isEmpty());
    EXPECT_TRUE(opened.empty());
}

TEST_F(HelpAccessTest, IndexSelectsTheKeywordPaneReadyForTyping) {
    EXPECT_EQ(ShowHelpTopic(owner.get(), HelpTopic::Index, env), HelpShown::HelpWindow);
    HelpWindow* window = FindHelpWindow(owner.get());
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->IndexPaneSelected());
    EXPECT_FALSE(window->ContentsPaneSelected());
    EXPECT_EQ(PageOf(window), "contents.html") << "a page is shown beside the index";
    EXPECT_GT(window->IndexList()->count(), 0);
    EXPECT_TRUE(opened.empty());
}

TEST_F(HelpAccessTest, TheThreeCommandsReuseOneWindowAndKeepItsHistory) {
    ShowHelpTopic(owner.get(), HelpTopic::Contents, env);
    HelpWindow* window = FindHelpWindow(owner.get());
    ASSERT_NE(window, nullptr);
    window->close();
    EXPECT_FALSE(window->isVisible());

    ShowHelpTopic(owner.get(), HelpTopic::HelpOnHelp, env);
    EXPECT_EQ(FindHelpWindow(owner.get()), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(PageOf(window), "usinghelp.html");
    EXPECT_TRUE(window->Browser()->isBackwardAvailable());

    ShowHelpTopic(owner.get(), HelpTopic::Index, env);
    ShowHelpTopic(owner.get(), HelpTopic::Contents, env);
    EXPECT_EQ(owner->findChildren<HelpWindow*>().size(), 1);
    EXPECT_EQ(PageOf(window), "contents.html");
    EXPECT_TRUE(window->ContentsPaneSelected());
}

TEST_F(HelpAccessTest, AnExistingHelpFileGoesToTheDesktopHandler) {
    struct Case {
        const char* name;
        std::vector<std::string> files;
        HelpTopic topic;
        std::string expectedFile; // empty: the manual window opens instead
    };
    const std::vector<Case> cases = {
        {"chm, contents", {"assistant-editor.chm"}, HelpTopic::Contents, "assistant-editor.chm"},
        {"chm, index", {"assistant-editor.chm"}, HelpTopic::Index, "assistant-editor.chm"},
        {"hlp before chm",
         {"assistant-editor.hlp", "assistant-editor.chm"},
         HelpTopic::Contents,
         "assistant-editor.hlp"},
        {"help on help stays in the manual", {"assistant-editor.chm"}, HelpTopic::HelpOnHelp, ""},
        {"a help file of another program is ignored", {"other.chm"}, HelpTopic::Contents, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(dir / "bin");
        fs::create_directories(dir / "bin");
        owner = std::make_unique<QWidget>();
        opened.clear();
        for (const std::string& file : c.files)
            Touch(file);
        const HelpShown shown = ShowHelpTopic(owner.get(), c.topic, env);
        if (c.expectedFile.empty()) {
            EXPECT_EQ(shown, HelpShown::HelpWindow);
            EXPECT_TRUE(opened.empty());
            EXPECT_NE(FindHelpWindow(owner.get()), nullptr);
        } else {
            EXPECT_EQ(shown, HelpShown::HelpFile);
            ASSERT_EQ(opened.size(), 1u);
            EXPECT_EQ(opened[0],
                      QUrl::fromLocalFile(QString::fromStdString((dir / "bin" / c.expectedFile).string())));
            EXPECT_EQ(FindHelpWindow(owner.get()), nullptr);
        }
    }
}

TEST_F(HelpAccessTest, ShowHelpHandsOnOnlyValidReferencesToKnownFormats) {
    const std::string chm = Touch("x.CHM");
    const std::string txt = Touch("x.txt");
    struct Case {
        const char* name;
        std::string reference;
        bool handedOn;
    };
    const std::vector<Case> cases = {
        {"upper-case extension", chm + "|INDEX|Help index", true},
        {"unknown extension", txt + "|CONTENTS|Help contents", false},
        {"no topic", chm + "||Help contents", false},
        {"help on help has no file", HelpOnHelpReference(), false},
        {"file missing", (dir / "bin" / "none.chm").string() + "|CONTENTS|c", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        opened.clear();
        EXPECT_EQ(ShowHelp(owner.get(), c.reference, env.OpenUrl), c.handedOn);
        EXPECT_EQ(opened.size(), c.handedOn ? 1u : 0u);
    }
}

TEST_F(HelpAccessTest, WithoutHelpFileAndManualTheUserIsToldOnce) {
    env.ManualFolder.clear(); // the temporary program folder holds no manual
    EXPECT_EQ(ShowHelpTopic(owner.get(), HelpTopic::Contents, env), HelpShown::NotAvailable);
    ASSERT_EQ(unavailable.size(), 1u);
    EXPECT_EQ(unavailable[0], QString::fromUtf8(kHelpUnavailableMessage));
    EXPECT_EQ(FindHelpWindow(owner.get()), nullptr);
}

TEST_F(HelpAccessTest, ManualInstalledBesideTheProgramIsFound) {
    env.ManualFolder.clear();
    const fs::path manual = dir / "share" / "assistant-editor" / "manual";
    fs::create_directories(manual);
    std::ofstream(manual / "contents.html")
        << "<html><head><title>Installed</title></head><body>installed</body></html>";
    EXPECT_EQ(ShowHelpTopic(owner.get(), HelpTopic::Contents, env), HelpShown::HelpWindow);
    HelpWindow* window = FindHelpWindow(owner.get());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(fs::path(window->ManualFolder().toStdString()), manual);
    EXPECT_EQ(window->Browser()->toPlainText(), "installed");
}

TEST_F(HelpAccessTest, TypingInTheIndexSelectsAKeywordAndEnterShowsItsPage) {
    ShowHelpTopic(owner.get(), HelpTopic::Index, env);
    HelpWindow* window = FindHelpWindow(owner.get());
    ASSERT_NE(window, nullptr);
    window->IndexFilter()->setText("sub m");
    ASSERT_NE(window->IndexList()->currentItem(), nullptr);
    EXPECT_EQ(window->IndexList()->currentItem()->text(), "Sub Main");
    int shown = 0;
    for (int i = 0; i < window->IndexList()->count(); ++i)
        shown += window->IndexList()->item(i)->isHidden() ? 0 : 1;
    EXPECT_GE(shown, 1);
    EXPECT_LT(shown, window->IndexList()->count()) << "keywords without the typed text are hidden";

    Q_EMIT window->IndexFilter()->returnPressed();
    EXPECT_EQ(PageOf(window), "actions.html");
    EXPECT_EQ(window->Browser()->source().fragment(), "scripts");
}

TEST_F(HelpAccessTest, IndexIsSortedAndContentsTreeOpensItsEntries) {
    ShowHelpTopic(owner.get(), HelpTopic::Contents, env);
    HelpWindow* window = FindHelpWindow(owner.get());
    ASSERT_NE(window, nullptr);
    QListWidget* index = window->IndexList();
    for (int i = 1; i < index->count(); ++i)
        EXPECT_LE(QString::compare(index->item(i - 1)->text(), index->item(i)->text(), Qt::CaseInsensitive),
                  0)
            << index->item(i - 1)->text().toStdString() << " before " << index->item(i)->text().toStdString();

    QTreeWidget* tree = window->ContentsTree();
    ASSERT_GT(tree->topLevelItemCount(), 1);
    QTreeWidgetItem* chapter = nullptr;
    for (int i = 0; i < tree->topLevelItemCount() && !chapter; ++i)
        if (tree->topLevelItem(i)->text(0) == "Warnings and errors")
            chapter = tree->topLevelItem(i);
    ASSERT_NE(chapter, nullptr);
    ASSERT_GT(chapter->childCount(), 0) << "sections hang below their chapter";
    Q_EMIT tree->itemActivated(chapter->child(0), 0);
    EXPECT_EQ(PageOf(window), "checks.html");
    EXPECT_FALSE(window->Browser()->source().fragment().isEmpty());
}
