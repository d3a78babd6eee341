// The Map page on its own: clicks and double clicks give the right screen and option, panning and
// zooming, a new snapshot laid out in the background while the old picture and the view stay, the
// faster layout named, and the exports.
#include "editor/mappage.h"
#include "editor/mapview.h"
#include "model/assistroot.h"
#include "scriptedprompter.h"

#include <QFile>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kUser = "{1F0C2B7E-0000-4000-8000-00000000000A} Ann Lee";

TAssistScreen& AddScreen(TAssistRoot& root, const std::string& id, const std::string& caption) {
    TAssistRoot::LoadingScope loading(root);
    TAssistScreen& screen = *TAssistScreen::Create(root);
    screen.ID = id;
    screen.Caption = caption;
    return screen;
}

void AddOption(TAssistScreen& screen, TActionKind action, const std::string& command,
               const std::string& caption) {
    TAssistRoot::LoadingScope loading(*screen.Root);
    TAssistOption& option = *TAssistOption::Create(screen);
    option.ID = screen.ID + "." + std::to_string(screen.Options.Count());
    option.Action = action;
    option.Command = command;
    option.Caption = caption;
}

// Start -> Connect -> Finish, Start -> Trouble (which also opens a web page), Trouble -> Start;
// Orphan leads to Start but nothing reaches it.
void MakeTour(TAssistRoot& root) {
    root.ID = "Tour";
    root.FirstScreen = "Start";
    TAssistScreen& start = AddScreen(root, "Start", "Welcome");
    AddOption(start, akGoto, "Connect", "Connect a printer");
    AddOption(start, akGotoButton, "Trouble", "Something is wrong");
    TAssistScreen& connect = AddScreen(root, "Connect", "Connect the printer");
    AddOption(connect, akGoto, "Finish", "Connected");
    TAssistScreen& trouble = AddScreen(root, "Trouble", "Solve a problem");
    AddOption(trouble, akInternet, "https://example.org/help", "Help site");
    AddOption(trouble, akGoto, "Start", "Back");
    AddScreen(root, "Finish", "All done");
    TAssistScreen& orphan = AddScreen(root, "Orphan", "Never shown");
    AddOption(orphan, akGoto, "Start", "Home");
}

class MapPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        MakeTour(root);
        page.resize(900, 700);
        page.show();
        ASSERT_TRUE(LaidOut([this] { page.setAssistant(root); }));
    }

    // Runs `change` and waits for the picture it leads to.
    template <typename Change> bool LaidOut(Change change) {
        QSignalSpy finished(&page, &MapPage::layoutFinished);
        change();
        return finished.wait(60000);
    }

    QPoint ViewPoint(QPointF scenePoint) const { return page.view()->mapFromScene(scenePoint); }
    QWidget* Viewport() const { return page.view()->viewport(); }

    // The scene item whose tool tip is `tip`.
    QGraphicsItem* ItemWithTip(const QString& tip) const {
        for (QGraphicsItem* item : page.view()->scene()->items())
            if (item->toolTip() == tip)
                return item;
        return nullptr;
    }

    TAssistRoot root{kUser};
    MapPage page;
};

TEST_F(MapPageTest, ClickingABoxSignalsItsScreenAndFramesIt) {
    ASSERT_EQ(page.shownMap().Boxes.size(), 5u);
    for (int screen = 0; screen < 5; ++screen) {
        SCOPED_TRACE(screen);
        QSignalSpy clicked(&page, &MapPage::screenClicked);
        QSignalSpy options(&page, &MapPage::optionClicked);
        page.view()->centerOn(page.boxCenter(screen));
        QTest::mouseClick(Viewport(), Qt::LeftButton, {}, ViewPoint(page.boxCenter(screen)));
        ASSERT_EQ(clicked.count(), 1);
        EXPECT_EQ(clicked.at(0).at(0).toInt(), screen);
        EXPECT_EQ(options.count(), 0);
        EXPECT_EQ(page.selectedScreen(), screen);
    }
}

TEST_F(MapPageTest, ClickingAnArrowOrABadgeSignalsItsOption) {
    // The arrow label "Something is wrong" belongs to option 1 of Start; it sits where the layout put it.
    const MapLayout& layout = page.shownLayout();
    const QPointF offset = page.boxCenter(0) - QPointF(layout.Boxes[0].Left + layout.Boxes[0].Width / 2,
                                                       layout.Boxes[0].Top + layout.Boxes[0].Height / 2);
    struct Case {
        const char* Name;
        QPointF Where;
        int Screen, Option;
    };
    QGraphicsItem* badge = ItemWithTip("Go to a web page: https://example.org/help");
    ASSERT_NE(badge, nullptr);
    const MapArrowPlace& toTrouble = layout.Arrows[1];
    ASSERT_TRUE(toTrouble.HasLabel);
    const Case cases[] = {
        {"arrow label", QPointF(toTrouble.LabelCenter.X, toTrouble.LabelCenter.Y) + offset, 0, 1},
        {"arrow line", QPointF(toTrouble.Curve[0].X, toTrouble.Curve[0].Y + 4) + offset, 0, 1},
        {"badge", badge->sceneBoundingRect().center(), 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        QSignalSpy options(&page, &MapPage::optionClicked);
        QSignalSpy screens(&page, &MapPage::screenClicked);
        page.view()->centerOn(c.Where);
        QTest::mouseClick(Viewport(), Qt::LeftButton, {}, ViewPoint(c.Where));
        ASSERT_EQ(options.count(), 1);
        EXPECT_EQ(options.at(0).at(0).toInt(), c.Screen);
        EXPECT_EQ(options.at(0).at(1).toInt(), c.Option);
        EXPECT_EQ(screens.count(), 0);
    }
}

TEST_F(MapPageTest, DoubleClickActivatesAndDragPansWithoutClicking) {
    QSignalSpy activated(&page, &MapPage::itemActivated);
    page.view()->centerOn(page.boxCenter(3));
    QTest::mouseDClick(Viewport(), Qt::LeftButton, {}, ViewPoint(page.boxCenter(3)));
    ASSERT_GE(activated.count(), 1);
    EXPECT_EQ(activated.last().at(0).toInt(), 3);
    EXPECT_EQ(activated.last().at(1).toInt(), -1);

    // A click on the background selects nothing.
    QSignalSpy clicked(&page, &MapPage::screenClicked);
    QTest::mouseClick(Viewport(), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(clicked.count(), 0);
}

TEST_F(MapPageTest, WheelAndKeysZoomAndFitShowsEverything) {
    MapView* view = page.view();
    page.fitToWindow();
    const double fitted = view->zoom();
    EXPECT_TRUE(
        view->mapToScene(Viewport()->rect()).boundingRect().contains(view->scene()->itemsBoundingRect()));
    page.setFocus();
    QTest::keyClick(&page, Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_NEAR(view->zoom(), fitted * 1.25, 1e-6);
    QTest::keyClick(&page, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_NEAR(view->zoom(), fitted, 1e-6);
    QWheelEvent wheel(QPointF(100, 100), view->mapToGlobal(QPointF(100, 100)), {}, QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Viewport(), &wheel);
    EXPECT_NEAR(view->zoom(), fitted * 1.2, 1e-6);
    // Zoom stays within its limits.
    for (int i = 0; i < 40; ++i)
        page.zoomIn();
    EXPECT_NEAR(view->zoom(), 8.0, 1e-6);
    QTest::keyClick(&page, Qt::Key_0, Qt::ControlModifier);
    EXPECT_LE(view->zoom(), 1.0);
}

TEST_F(MapPageTest, NewSnapshotKeepsOldPictureUntilReadyAndKeepsTheView) {
    page.view()->zoomBy(6);
    // Connect, on the middle row, so that the view is not held back by an edge of the picture.
    page.selectScreen(1);
    page.view()->centerOn(page.boxCenter(1) + QPointF(10, 5));
    const QPoint before = ViewPoint(page.boxCenter(1));

    // A new screen at the start of the list moves every box and shifts every position.
    TAssistRoot changed(kUser);
    MakeTour(changed);
    {
        TAssistRoot::LoadingScope loading(changed);
        changed.Screens.Move(4, 0); // Orphan first
    }
    AddOption(*changed.Screens.Item(3), akGoto, "Orphan", "Extra way");
    QSignalSpy finished(&page, &MapPage::layoutFinished);
    page.setAssistant(changed);
    EXPECT_TRUE(page.isLayingOut());
    EXPECT_TRUE(page.statusText().startsWith("Laying out 5 screens")) << page.statusText().toStdString();
    // Until the worker is done the old map is what the page shows.
    EXPECT_EQ(page.shownMap().Boxes[0].ID, "Start");
    ASSERT_TRUE(finished.wait(60000));
    EXPECT_EQ(page.shownMap().Boxes[0].ID, "Orphan");
    EXPECT_EQ(page.shownMap().UnreachableCount, 0);
    // The selection followed Connect to its new position, and Connect is where it was in the view.
    EXPECT_EQ(page.selectedScreen(), 2);
    const QPoint after = ViewPoint(page.boxCenter(2));
    // Within a scene point in each direction (centring goes through whole scroll-bar steps; at 6x one
    // point is 6 pixels).
    const double zoom = page.view()->zoom();
    EXPECT_LE((after - before).manhattanLength(), static_cast<int>(2 * zoom) + 2)
        << before.x() << "," << before.y() << " -> " << after.x() << "," << after.y();
    EXPECT_EQ(page.statusText(), "Screens: 5, unreachable: 0, dead ends: 1.");
}

TEST_F(MapPageTest, SnapshotsWhileLayingOutEndWithTheNewest) {
    TAssistRoot second(kUser);
    MakeTour(second);
    AddScreen(second, "Extra1", "One more");
    TAssistRoot third(kUser);
    MakeTour(third);
    AddScreen(third, "Extra1", "One more");
    AddScreen(third, "Extra2", "And another");
    QSignalSpy finished(&page, &MapPage::layoutFinished);
    page.setAssistant(second);
    page.setAssistant(third); // waits for the running layout
    ASSERT_TRUE(finished.wait(60000));
    EXPECT_EQ(page.shownMap().Boxes.size(), 7u);
    EXPECT_FALSE(page.isLayingOut());
    // The same assistant again is not laid out again.
    page.setAssistant(third);
    EXPECT_FALSE(page.isLayingOut());
    page.refresh();
    EXPECT_TRUE(page.isLayingOut());
    ASSERT_TRUE(finished.wait(60000));
}

TEST_F(MapPageTest, BoxesShowTheirMarksAndTheFasterLayoutIsNamed) {
    struct Case {
        int Screen;
        const char* Mark;
    };
    const Case cases[] = {{0, "The assistant starts here."},
                          {3, "Dead end: the screen has no options."},
                          {4, "No user can reach this screen from the start screen."}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Mark);
        QGraphicsItem* box = page.view()->itemAt(ViewPoint(page.boxCenter(c.Screen)));
        while (box != nullptr && box->parentItem() != nullptr)
            box = box->parentItem();
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(box->toolTip().contains(c.Mark)) << box->toolTip().toStdString();
    }
    EXPECT_EQ(page.statusText(), "Screens: 5, unreachable: 1, dead ends: 1.");
    page.setLayoutOptions(MapLayoutOptions{3});
    ASSERT_TRUE(LaidOut([this] { page.refresh(); }));
    EXPECT_TRUE(page.shownLayout().Fast);
    EXPECT_TRUE(page.statusText().contains("the faster layout is used")) << page.statusText().toStdString();
}

TEST_F(MapPageTest, ExportsSvgAndPngDirectlyAndThroughTheButtons) {
    QTemporaryDir dir;
    const QString svg = dir.filePath("tour.svg");
    const QString png = dir.filePath("tour.png");
    page.exportSvg(svg);
    page.exportPng(png);
    QFile svgFile(svg);
    ASSERT_TRUE(svgFile.open(QIODevice::ReadOnly));
    EXPECT_TRUE(svgFile.readAll().contains(">Never shown</text>"));
    QImage image(png);
    ASSERT_FALSE(image.isNull());
    EXPECT_GE(image.width(), static_cast<int>(page.shownLayout().Width));

    ScriptedPrompter prompter;
    page.setPrompter(&prompter);
    const QString viaButton = dir.filePath("button.png");
    prompter.ExpectSaveFile(viaButton.toStdString());
    QPushButton* button = nullptr;
    for (QPushButton* candidate : page.findChildren<QPushButton*>())
        if (candidate->text() == "Export P&NG...")
            button = candidate;
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isVisible());
    button->click();
    EXPECT_EQ(prompter.LastFileRequest().proposedName, "Tour-map.png");
    EXPECT_FALSE(QImage(viaButton).isNull());
    // A file that cannot be written is an error box, not a crash.
    prompter.ExpectSaveFile(dir.filePath("no/such/folder/x.png").toStdString());
    prompter.ExpectMessage(Prompter::MessageKind::ErrorOk, Prompter::Answer::Ok);
    button->click();
    EXPECT_EQ(prompter.Pending(), 0u);
}

} // namespace
