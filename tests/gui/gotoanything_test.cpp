// The go-to box, driven by typing and keys: the list narrows and ranks as the query grows, Up and Down
// move in it, Enter and a click choose, Esc closes without choosing.
#include "editor/gotoanything.h"
#include "editor/highlightdelegate.h"
#include "guitesthelpers.h"

#include "../core/assistantbuilder.h"
#include "model/assistoption.h"

#include <QLineEdit>
#include <QListView>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace testbuild;

namespace {

struct GoToFixture : ::testing::Test {
    TAssistRoot root{User};
    TAssistScreen* intro = nullptr;
    TAssistScreen* router = nullptr;
    TAssistOption* toRouter = nullptr;
    GoToAnything box;

    void SetUp() override {
        intro = &Screen(root, "Intro", "Welcome");
        toRouter = &Option(*intro, "Intro.1", akGoto, "Router", "Set up the router");
        Option(*intro, "Intro.2", akExec, "run.exe", "Printer");
        router = &Screen(root, "Router", "Your modem");
        Screen(root, "S3", "Printers and routers");
    }
    QLineEdit* Query() { return box.findChild<QLineEdit*>(QStringLiteral("eQuery")); }
    std::vector<std::string> Shown() {
        std::vector<std::string> rows;
        for (int r = 0; r < box.RowCount(); ++r)
            rows.push_back(box.TextAt(r).toStdString());
        return rows;
    }
};

TEST_F(GoToFixture, ListsEveryScreenAndOptionInTreeOrderAtFirst) {
    box.Open(root);
    EXPECT_TRUE(box.isVisible());
    EXPECT_EQ(Shown(),
              (std::vector<std::string>{"Intro  \xC2\xB7  Welcome", "Intro.1  \xC2\xB7  Set up the router",
                                        "Intro.2  \xC2\xB7  Printer", "Router  \xC2\xB7  Your modem",
                                        "S3  \xC2\xB7  Printers and routers"}));
    EXPECT_EQ(box.CurrentRow(), 0);
    EXPECT_EQ(box.ItemAt(1), toRouter);
}

TEST_F(GoToFixture, TypingNarrowsAndRanksByIdAndCaption) {
    struct Case {
        const char* query;
        std::vector<std::string> firstIds; // the IDs of the rows, best first
    };
    const std::vector<Case> cases = {
        {"rout", {"Router", "Intro.1", "S3"}}, // ID prefix, then captions with the word "router(s)"
        {"print", {"Intro.2", "S3"}},          // caption prefix; the shorter caption first
        {"i2", {"Intro.2"}},                   // letters and the digit of the ID
        {"modem", {"Router"}},                 // through the caption only
        {"xyz", {}},
    };
    box.Open(root);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.query);
        Query()->clear();
        QTest::keyClicks(Query(), QString::fromUtf8(c.query));
        std::vector<std::string> ids;
        for (int r = 0; r < box.RowCount(); ++r)
            ids.push_back(box.ItemAt(r)->ID);
        EXPECT_EQ(ids, c.firstIds);
        EXPECT_EQ(box.CurrentRow(), c.firstIds.empty() ? -1 : 0);
    }
}

TEST_F(GoToFixture, MatchedLettersAreMarkedInTheirText) {
    box.Open(root);
    QTest::keyClicks(Query(), QStringLiteral("modem"));
    ASSERT_EQ(box.RowCount(), 1);
    auto* list = box.findChild<QListView*>(QStringLiteral("lbItems"));
    ASSERT_NE(list, nullptr);
    // "Router  ·  Your modem": the caption starts after ID and separator (6 + 5 characters), "modem" at 5.
    const QVariantList ranges = list->model()->index(0, 0).data(HighlightDelegate::HighlightRole).toList();
    ASSERT_EQ(ranges.size(), 1);
    EXPECT_EQ(ranges[0].toPoint(), QPoint(16, 5));
}

TEST_F(GoToFixture, EnterChoosesTheCurrentRowAndDownMovesIt) {
    ASSERT_TRUE(ShowActive(&box));
    box.Open(root);
    QSignalSpy chosen(&box, &GoToAnything::itemChosen);
    QTest::keyClicks(Query(), QStringLiteral("rout"));
    QTest::keyClick(Query(), Qt::Key_Down);
    EXPECT_EQ(box.CurrentRow(), 1);
    QTest::keyClick(Query(), Qt::Key_Down);
    QTest::keyClick(Query(), Qt::Key_Up);
    QTest::keyClick(Query(), Qt::Key_Return);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).value<TAssistBase*>(), toRouter);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Accepted);
}

TEST_F(GoToFixture, EnterWithNothingListedAndEscChooseNothing) {
    ASSERT_TRUE(ShowActive(&box));
    box.Open(root);
    QSignalSpy chosen(&box, &GoToAnything::itemChosen);
    QTest::keyClicks(Query(), QStringLiteral("xyz"));
    QTest::keyClick(Query(), Qt::Key_Return);
    EXPECT_EQ(chosen.count(), 0);
    EXPECT_TRUE(box.isVisible());
    QTest::keyClick(Query(), Qt::Key_Escape);
    EXPECT_EQ(chosen.count(), 0);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Rejected);

    // Opened again, it starts afresh.
    box.Open(root);
    EXPECT_TRUE(Query()->text().isEmpty());
    EXPECT_EQ(box.RowCount(), 5);
}

TEST_F(GoToFixture, ClickingARowChoosesIt) {
    ASSERT_TRUE(ShowActive(&box));
    box.Open(root);
    QSignalSpy chosen(&box, &GoToAnything::itemChosen);
    auto* list = box.findChild<QListView*>(QStringLiteral("lbItems"));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(3, 0)).center());
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).value<TAssistBase*>(), router);
}

} // namespace
