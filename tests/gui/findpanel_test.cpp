// The find and replace panel, driven through its boxes, buttons and keys: which matches it lists, how
// F3 and Shift+F3 step through them, what Replace and Replace all ask the window to store, and how the
// panel copes with an assistant that changed under its list.
#include "editor/assistantcommands.h"
#include "editor/findpanel.h"
#include "editor/findresultsmodel.h"
#include "editor/highlightdelegate.h"
#include "guitesthelpers.h"

#include "../core/assistantbuilder.h"
#include "model/assistoption.h"

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>
#include <QUndoStack>
#include <gtest/gtest.h>

using namespace testbuild;

namespace {

struct NoView : IAssistantView {
    void RebuildTree(TAssistBase*) override {}
    void ItemAdded(TAssistBase*) override {}
    void ItemRemoved(TAssistBase*, TAssistBase*) override {}
    void ItemMoved(TAssistBase*) override {}
    void RefreshItem() override {}
};

// An assistant with "router" in every kind of field, once in a word ("routerx", "routers") and once
// after a non-ASCII letter.
struct FindFixture : ::testing::Test {
    TAssistRoot root{User};
    TAssistScreen* intro = nullptr;
    TAssistScreen* setup = nullptr;
    std::unique_ptr<FindPanel> panel;

    void SetUp() override {
        root.ID = "A1";
        root.Caption = "Router help";
        root.Description = {"Welcome to the router guide."};
        intro = &Screen(root, "Intro", "The router");
        intro->Description = {"Plug in the router.", "Then wait: router, ROUTER."};
        TAssistOption& next = Option(*intro, "Intro.1", akGoto, "Setup", "Next");
        next.Description = {"Go on"};
        next.Notes.Add()->Text = "Check the router lights.";
        TAssistOption& run = Option(*intro, "Intro.2", akExec, "router.exe", "Run");
        run.Script = "Sub Main\rrouterx = 1\rEnd Sub";
        setup = &Screen(root, "Setup", "Setup \xC3\xA9 routers");
        panel = std::make_unique<FindPanel>(root);
        panel->resize(900, 500);
    }

    template <typename T> T* Child(const char* name) {
        T* child = panel->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    QLineEdit* FindBox() { return Child<QLineEdit>("eFind"); }
    QLineEdit* ReplaceBox() { return Child<QLineEdit>("eReplace"); }
    void SetBox(const char* name, bool checked) {
        QCheckBox* box = Child<QCheckBox>(name);
        if (box->isChecked() != checked)
            box->click();
    }
    // Types the text into the find box and presses Enter (search and show the first match).
    void Find(const QString& text) {
        FindBox()->clear();
        QTest::keyClicks(FindBox(), text);
        QTest::keyClick(FindBox(), Qt::Key_Return);
    }
    // The rows of the result list as "item|field|matched text".
    std::vector<std::string> Rows() {
        QAbstractItemModel* model = Child<QTreeView>("lbResults")->model();
        std::vector<std::string> rows;
        for (int r = 0; r < model->rowCount(); ++r) {
            const QModelIndex line = model->index(r, FindResultsModel::LineColumn);
            const QPoint range = line.data(HighlightDelegate::HighlightRole).toList().value(0).toPoint();
            rows.push_back((model->index(r, 0).data().toString() + "|" +
                            model->index(r, 1).data().toString() + "|" +
                            line.data().toString().mid(range.x(), range.y()))
                               .toStdString());
        }
        return rows;
    }
};

TEST_F(FindFixture, ListsTheMatchesTheBoxesAskFor) {
    const char* fieldBoxes[] = {"chkIDs",      "chkCaptions", "chkTexts", "chkDescriptions",
                                "chkCommands", "chkScripts",  "chkNotes"};
    struct Case {
        const char* name;
        const char* find;
        bool matchCase, wholeWords, regex;
        unsigned fields; // bits in the order of fieldBoxes
        std::vector<std::string> rows;
    };
    const unsigned all = 127;
    const std::vector<Case> cases = {
        {"every field, any case, several in one text",
         "router",
         false,
         false,
         false,
         all,
         {"Assistant A1|Caption|Router", "Assistant A1|Text|router", "Screen Intro|Caption|router",
          "Screen Intro|Text|router", "Screen Intro|Text|router", "Screen Intro|Text|ROUTER",
          "Option Intro.1|Note 1|router", "Option Intro.2|Command|router", "Option Intro.2|Script|router",
          "Screen Setup|Caption|router"}},
        {"match case", "ROUTER", true, false, false, all, {"Screen Intro|Text|ROUTER"}},
        {"whole words leave out routerx and routers",
         "router",
         false,
         true,
         false,
         all,
         {"Assistant A1|Caption|Router", "Assistant A1|Text|router", "Screen Intro|Caption|router",
          "Screen Intro|Text|router", "Screen Intro|Text|router", "Screen Intro|Text|ROUTER",
          "Option Intro.1|Note 1|router", "Option Intro.2|Command|router"}},
        {"regular expression",
         "R\\w+",
         true,
         false,
         true,
         all,
         {"Assistant A1|Caption|Router", "Screen Intro|Text|ROUTER", "Option Intro.2|Caption|Run"}},
        {"a regular expression character is plain text without the box",
         "R\\w+",
         true,
         false,
         false,
         all,
         {}},
        {"commands and scripts only",
         "router",
         false,
         false,
         false,
         16 | 32,
         {"Option Intro.2|Command|router", "Option Intro.2|Script|router"}},
        {"IDs only",
         "intro",
         false,
         false,
         false,
         1,
         {"Screen Intro|ID|Intro", "Option Intro.1|ID|Intro", "Option Intro.2|ID|Intro"}},
        {"option descriptions only", "go", false, false, false, 8, {"Option Intro.1|Description|Go"}},
        {"texts only", "WELCOME", false, false, false, 4, {"Assistant A1|Text|Welcome"}},
        {"notes only", "lights", false, false, false, 64, {"Option Intro.1|Note 1|lights"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int i = 0; i < 7; ++i)
            SetBox(fieldBoxes[i], (c.fields >> i) & 1);
        EXPECT_EQ(panel->Fields(), c.fields == all ? unsigned(sfAll) : c.fields);
        SetBox("chkMatchCase", c.matchCase);
        SetBox("chkWholeWords", c.wholeWords);
        SetBox("chkRegex", c.regex);
        Find(QString::fromUtf8(c.find));
        EXPECT_EQ(Rows(), c.rows);
        EXPECT_EQ(panel->MatchCount(), static_cast<int>(c.rows.size()));
        if (c.rows.empty()) {
            EXPECT_EQ(panel->Message().toStdString(), "No matches.");
        } else {
            EXPECT_EQ(panel->Message().toStdString(), "Match 1 of " + std::to_string(c.rows.size()));
        }
    }
}

TEST_F(FindFixture, InvalidExpressionOrNoFieldSaysWhyInThePanelAndSearchesNothing) {
    QSignalSpy activated(panel.get(), &FindPanel::matchActivated);
    SetBox("chkRegex", true);
    Find(QStringLiteral("a(b"));
    EXPECT_TRUE(panel->Message().startsWith(QStringLiteral("Invalid regular expression at position ")))
        << panel->Message().toStdString();
    EXPECT_EQ(panel->MatchCount(), 0);
    EXPECT_FALSE(Child<QPushButton>("bReplace")->isEnabled());
    EXPECT_FALSE(Child<QPushButton>("bReplaceAll")->isEnabled());
    EXPECT_EQ(activated.count(), 0);

    // Mended, the same text searches again.
    SetBox("chkRegex", false);
    EXPECT_TRUE(panel->Message().isEmpty());
    EXPECT_TRUE(Child<QPushButton>("bReplaceAll")->isEnabled());

    for (const char* box :
         {"chkIDs", "chkCaptions", "chkTexts", "chkDescriptions", "chkCommands", "chkScripts", "chkNotes"})
        SetBox(box, false);
    Find(QStringLiteral("router"));
    EXPECT_EQ(panel->Message().toStdString(), "Choose at least one field to look in.");
    EXPECT_EQ(panel->MatchCount(), 0);
    EXPECT_EQ(activated.count(), 0);
}

TEST_F(FindFixture, TypingSearchesAfterAPauseWithoutJumping) {
    QSignalSpy activated(panel.get(), &FindPanel::matchActivated);
    QTest::keyClicks(FindBox(), QStringLiteral("router"));
    EXPECT_EQ(panel->MatchCount(), 0); // not yet: the list follows after a pause
    QElapsedTimer timer;
    timer.start();
    while (panel->MatchCount() == 0 && timer.elapsed() < 3000)
        QTest::qWait(20);
    EXPECT_EQ(panel->MatchCount(), 10);
    EXPECT_EQ(panel->Message().toStdString(), "10 matches");
    EXPECT_EQ(activated.count(), 0);
}

TEST_F(FindFixture, F3AndShiftF3StepThroughTheMatchesAndWrap) {
    ASSERT_TRUE(ShowActive(panel.get()));
    QSignalSpy activated(panel.get(), &FindPanel::matchActivated);
    Find(QStringLiteral("router"));
    auto last = [&] {
        const QList<QVariant> args = activated.takeLast();
        return std::make_tuple(args[0].value<TAssistBase*>(), args[1].value<TSearchField>(), args[2].toInt(),
                               args[3].toInt());
    };
    ASSERT_EQ(activated.count(), 1);
    EXPECT_EQ(last(), std::make_tuple(static_cast<TAssistBase*>(&root), sfCaption, 0, 6));
    QTest::keyClick(FindBox(), Qt::Key_F3);
    ASSERT_EQ(activated.count(), 1);
    EXPECT_EQ(last(), std::make_tuple(static_cast<TAssistBase*>(&root), sfText, 15, 6));
    QTest::keyClick(FindBox(), Qt::Key_F3, Qt::ShiftModifier);
    QTest::keyClick(FindBox(), Qt::Key_F3, Qt::ShiftModifier);
    ASSERT_EQ(activated.count(), 2);
    // Back before the first match: the last one, whose offset counts characters, not bytes (é is two).
    EXPECT_EQ(last(), std::make_tuple(static_cast<TAssistBase*>(setup), sfCaption, 8, 6));
    EXPECT_EQ(panel->CurrentMatch(), 9);
    EXPECT_EQ(panel->Message().toStdString(), "Match 10 of 10");
    QTest::keyClick(FindBox(), Qt::Key_F3);
    EXPECT_EQ(panel->CurrentMatch(), 0);
    // The buttons do the same.
    Child<QPushButton>("bFindNext")->click();
    EXPECT_EQ(panel->CurrentMatch(), 1);
    Child<QPushButton>("bFindPrevious")->click();
    EXPECT_EQ(panel->CurrentMatch(), 0);
}

TEST_F(FindFixture, ClickingARowShowsThatMatch) {
    ASSERT_TRUE(ShowActive(panel.get()));
    Find(QStringLiteral("router"));
    QSignalSpy activated(panel.get(), &FindPanel::matchActivated);
    auto* view = Child<QTreeView>("lbResults");
    const QRect row = view->visualRect(view->model()->index(4, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row.center());
    ASSERT_EQ(activated.count(), 1);
    const QList<QVariant> args = activated.takeFirst();
    EXPECT_EQ(args[0].value<TAssistBase*>(), intro);
    EXPECT_EQ(args[1].value<TSearchField>(), sfText);
    EXPECT_EQ(args[2].toInt(), 31); // "Plug in the router.\nThen wait: " is 31 characters
    EXPECT_EQ(args[3].toInt(), 6);
    EXPECT_EQ(panel->CurrentMatch(), 4);
    ASSERT_NE(panel->CurrentHit(), nullptr);
    EXPECT_EQ(panel->CurrentHit()->Item, intro);
}

TEST_F(FindFixture, TheMatchInTheLineIsDrawnMarked) {
    ASSERT_TRUE(ShowActive(panel.get()));
    auto* view = Child<QTreeView>("lbResults");
    auto markedPixels = [&] {
        const QImage image = view->viewport()->grab().toImage();
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += QColor(image.pixel(x, y)) == HighlightDelegate::MarkColour();
        return n;
    };
    Find(QStringLiteral("zzz"));
    EXPECT_EQ(markedPixels(), 0);
    Find(QStringLiteral("guide"));
    ASSERT_EQ(panel->MatchCount(), 1);
    const int marked = markedPixels();
    EXPECT_GT(marked, 0);
    // Only the match is marked, not the whole line: a longer match in the same line marks more.
    Find(QStringLiteral("router guide"));
    ASSERT_EQ(panel->MatchCount(), 1);
    EXPECT_GT(markedPixels(), marked);
}

TEST(FindResultsLine, CutsLongLinesAroundTheMatchAndFlattensBreaks) {
    struct Case {
        const char* name;
        std::string line;
        std::size_t offset, length;
        QString shown;
        int start, matchLength;
    };
    const std::string before(100, 'x'), after(300, 'y');
    const std::vector<Case> cases = {
        {"short line as it is", "the router here", 4, 6, QStringLiteral("the router here"), 4, 6},
        {"tabs and line breaks as blanks", "a\tb router\nc", 4, 8, QStringLiteral("a b router c"), 4, 8},
        {"offsets in characters", "\xC3\xA9 router", 3, 6, QStringLiteral("\u00e9 router"), 2, 6},
        {"long line cut on both sides", before + "router" + after, 100, 6,
         QStringLiteral("…") + QString(40, u'x') + QStringLiteral("router") + QString(160, u'y') +
             QStringLiteral("…"),
         41, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TSearchHit hit;
        hit.Line = c.line;
        hit.LineOffset = c.offset;
        hit.Length = c.length;
        int start = -1, length = -1;
        EXPECT_EQ(FindResultsModel::ShownLine(hit, start, length), c.shown);
        EXPECT_EQ(start, c.start);
        EXPECT_EQ(length, c.matchLength);
    }
}

TEST(FindPanelReplace, ReplaceShowsFirstThenReplacesOneAtATimeWithoutLoopingOnTheReplacement) {
    TAssistRoot root{User};
    TAssistScreen& s1 = Screen(root, "S1", "cat and cat");
    s1.Description = {"cat"};
    FindPanel panel(root);
    QObject::connect(&panel, &FindPanel::replaceOneRequested,
                     [](const TFieldChange& change) { ApplyChanges({change}, false); });
    QSignalSpy replaced(&panel, &FindPanel::replaceOneRequested);
    auto* find = panel.findChild<QLineEdit*>(QStringLiteral("eFind"));
    auto* with = panel.findChild<QLineEdit*>(QStringLiteral("eReplace"));
    auto* replace = panel.findChild<QPushButton*>(QStringLiteral("bReplace"));
    ASSERT_TRUE(find && with && replace);
    QTest::keyClicks(find, QStringLiteral("cat"));
    QTest::keyClicks(with, QStringLiteral("cats"));

    replace->click(); // nothing shown yet: shows the first match, replaces nothing
    EXPECT_EQ(replaced.count(), 0);
    EXPECT_EQ(panel.CurrentMatch(), 0);
    EXPECT_EQ(s1.Caption, "cat and cat");

    replace->click();
    EXPECT_EQ(s1.Caption, "cats and cat");
    ASSERT_NE(panel.CurrentHit(), nullptr);
    EXPECT_EQ(panel.CurrentHit()->Offset, 9u); // the second "cat", not the one inside "cats"
    QTest::keyClick(with, Qt::Key_Return);     // Enter in the replace box replaces too
    EXPECT_EQ(s1.Caption, "cats and cats");
    ASSERT_NE(panel.CurrentHit(), nullptr);
    EXPECT_EQ(panel.CurrentHit()->Field, sfText);
    replace->click();
    EXPECT_EQ(s1.Description, std::vector<std::string>{"cats"});
    EXPECT_EQ(replaced.count(), 3);
    const TFieldChange first = replaced.at(0).at(0).value<TFieldChange>();
    EXPECT_EQ(first.Item, &s1);
    EXPECT_EQ(first.OldText, "cat and cat");
    EXPECT_EQ(first.NewText, "cats and cat");
}

TEST_F(FindFixture, ReplaceAllIsOneUndoableStepAndSaysWhatItDid) {
    QUndoStack stack;
    NoView view;
    QObject::connect(
        panel.get(), &FindPanel::replaceAllRequested,
        [&](const std::vector<TFieldChange>& changes) { stack.push(new ReplaceAllCommand(changes, view)); });
    const std::string script = root.Screens.Item(0)->Options.Item(1)->Script;
    Find(QStringLiteral("router"));
    QTest::keyClicks(ReplaceBox(), QStringLiteral("modem"));
    Child<QPushButton>("bReplaceAll")->click();

    EXPECT_EQ(stack.count(), 1);
    EXPECT_EQ(root.Caption, "modem help");
    EXPECT_EQ(intro->Description,
              (std::vector<std::string>{"Plug in the modem.", "Then wait: modem, modem."}));
    EXPECT_EQ(intro->Options.Item(1)->Script, "Sub Main\rmodemx = 1\rEnd Sub");
    EXPECT_EQ(setup->Caption, "Setup \xC3\xA9 modems");
    EXPECT_EQ(panel->MatchCount(), 0);
    EXPECT_EQ(panel->Message().toStdString(), "Replaced 10 matches in 8 fields.");

    stack.undo();
    EXPECT_EQ(root.Caption, "Router help");
    EXPECT_EQ(intro->Description,
              (std::vector<std::string>{"Plug in the router.", "Then wait: router, ROUTER."}));
    EXPECT_EQ(intro->Options.Item(1)->Script, script);
    panel->refresh();
    EXPECT_EQ(panel->MatchCount(), 10);
}

TEST_F(FindFixture, AStaleListIsSearchedAgainBeforeAMatchIsShown) {
    ASSERT_TRUE(ShowActive(panel.get()));
    Find(QStringLiteral("router"));
    ASSERT_EQ(panel->MatchCount(), 10);
    // The window deletes the screen Intro (with its options) and has not refreshed the panel yet.
    ASSERT_TRUE(root.Screens.Delete(0));
    QSignalSpy activated(panel.get(), &FindPanel::matchActivated);
    auto* view = Child<QTreeView>("lbResults");
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(view->model()->index(2, 0)).center());
    ASSERT_EQ(activated.count(), 1);
    // Row 2 is now the caption of Setup; the deleted screen is never named.
    EXPECT_EQ(activated.at(0).at(0).value<TAssistBase*>(), setup);
    EXPECT_EQ(panel->MatchCount(), 3);

    // A new assistant: the list follows it.
    TAssistRoot other{User};
    Screen(other, "S1", "router");
    panel->SetAssistant(other);
    EXPECT_EQ(panel->MatchCount(), 1);
    EXPECT_EQ(panel->CurrentMatch(), -1);
}

} // namespace
