// The Map page in the editor window: it shows the assistant opened, a click on a box or a badge selects
// that screen or option in the tree and shows its panel, a double click goes to the Assistant page, the
// map's frame follows the tree, and stored changes and New reach the map.
#include "editor/documentprompter.h"
#include "editor/mappage.h"
#include "editor/mapview.h"
#include "editorfixture.h"

#include <QAction>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

#include <functional>
#include <string>
#include <vector>

namespace {

class MapWindowTest : public EditorFixture {
protected:
    QTemporaryDir dir;

    // The map follows the assistant while its page is shown; the tests look at it there.
    void SetUp() override {
        Start();
        ASSERT_TRUE(LaidOut([&] { form->Pages()->setCurrentWidget(form->tsMap()); }));
    }

    MapPage& Map() const { return *form->Map(); }

    // Writes Start -> Help (which also opens a web page) -> Start, Start -> End (a dead end) and opens
    // it through the Open command; waits for the map of it.
    void OpenTour() {
        const std::string path = dir.filePath("tour.amf").toStdString();
        {
            TAssistRoot source(form->UserID());
            source.FirstScreen = "Start";
            const struct {
                const char* id;
                const char* caption;
                std::vector<OptionEntry> options;
            } screens[] = {
                {"Start", "Welcome", {{"Start.1", akGoto, "Help"}, {"Start.2", akGoto, "End"}}},
                {"Help",
                 "Help desk",
                 {{"Help.1", akInternet, "https://example.org/help"}, {"Help.2", akGoto, "Start"}}},
                {"End", "All done", {}},
            };
            for (const auto& entry : screens) {
                TAssistRoot::LoadingScope loading(source);
                TAssistScreen* screen = TAssistScreen::Create(source);
                screen->ID = entry.id;
                screen->Caption = entry.caption;
                for (const OptionEntry& o : entry.options) {
                    TAssistOption* option = TAssistOption::Create(*screen);
                    option->ID = o.id;
                    option->Action = o.action;
                    option->Command = o.command;
                }
            }
            source.FileName = path;
            ScriptedPrompter silent;
            TDocumentPrompter prompts(silent);
            ASSERT_TRUE(source.SaveToFile(false, prompts));
        }
        // Open shows the Assistant page; the map is laid out when its page is shown again.
        ASSERT_TRUE(LaidOut([&] {
            prompter.ExpectOpenFile(path);
            form->FindAction(QStringLiteral("aOpen"))->trigger();
            form->Pages()->setCurrentWidget(form->tsMap());
        }));
        ASSERT_EQ(prompter.Pending(), 0u);
        ASSERT_EQ(MapIDs(), (std::vector<std::string>{"Start", "Help", "End"}));
    }

    // Runs `change` and waits for the map's next picture.
    bool LaidOut(const std::function<void()>& change) {
        QSignalSpy finished(&Map(), &MapPage::layoutFinished);
        change();
        return finished.count() > 0 || finished.wait(60000);
    }

    std::vector<std::string> MapIDs() const {
        std::vector<std::string> ids;
        for (const MapBox& box : Map().shownMap().Boxes)
            ids.push_back(box.ID);
        return ids;
    }

    void ShowMapPage() {
        form->Pages()->setCurrentWidget(form->tsMap());
        QApplication::processEvents();
        Map().fitToWindow();
    }

    QPoint ViewPoint(QPointF scenePoint) const {
        Map().view()->centerOn(scenePoint);
        return Map().view()->mapFromScene(scenePoint);
    }

    QPointF BadgeCenter(const QString& toolTipPart) const {
        for (QGraphicsItem* item : Map().view()->scene()->items())
            if (item->toolTip().contains(toolTipPart) && item->parentItem() != nullptr)
                return item->sceneBoundingRect().center();
        ADD_FAILURE() << "no badge with " << toolTipPart.toStdString();
        return {};
    }

    TAssistBase* CurrentTreeItem() const { return TreeModel().ItemOf(form->Tree()->currentIndex()); }
};

TEST_F(MapWindowTest, ClicksOnTheMapSelectInTheTreeAndTheMapFollowsTheTree) {
    OpenTour();
    EXPECT_TRUE(form->Pages()->indexOf(form->tsMap()) == form->Pages()->indexOf(form->tsStructure()) + 1);
    ShowMapPage();

    struct Case {
        const char* name;
        std::function<QPointF()> where;
        std::function<TAssistBase*()> item;
        const char* panel;
        int mapScreen;
    };
    const Case cases[] = {
        {"box of Help", [&] { return Map().boxCenter(1); }, [&] { return ScreenAt(1); }, "Screen", 1},
        {"box of End", [&] { return Map().boxCenter(2); }, [&] { return ScreenAt(2); }, "Screen", 2},
        {"web badge of Help", [&] { return BadgeCenter("https://example.org/help"); },
         [&] { return ScreenAt(1)->Options.Item(0); }, "Option", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTest::mouseClick(Map().view()->viewport(), Qt::LeftButton, {}, ViewPoint(c.where()));
        EXPECT_EQ(form->CurrentItem(), c.item());
        EXPECT_EQ(CurrentTreeItem(), c.item());
        EXPECT_EQ(form->AssistantView()->CurrentPanelName(), QString::fromLatin1(c.panel));
        EXPECT_EQ(Map().selectedScreen(), c.mapScreen);
        // A single click leaves the map in view.
        EXPECT_EQ(form->Pages()->currentWidget(), form->tsMap());
    }
    EXPECT_EQ(form->Option()->CurrentOption(), ScreenAt(1)->Options.Item(0));

    // The map's frame follows the selection in the tree: a screen, and the screen of an option.
    form->SelectItem(ScreenAt(0));
    EXPECT_EQ(Map().selectedScreen(), 0);
    form->SelectItem(ScreenAt(2));
    EXPECT_EQ(Map().selectedScreen(), 2);
    form->SelectItem(ScreenAt(1)->Options.Item(1));
    EXPECT_EQ(Map().selectedScreen(), 1);
    form->SelectItem(&Root());
    EXPECT_EQ(Map().selectedScreen(), -1);

    // A double click goes to the Assistant page with the screen selected.
    QTest::mouseDClick(Map().view()->viewport(), Qt::LeftButton, {}, ViewPoint(Map().boxCenter(2)));
    EXPECT_EQ(form->Pages()->currentWidget(), form->tsAssistant());
    EXPECT_EQ(form->CurrentItem(), ScreenAt(2));
    EXPECT_EQ(CurrentTreeItem(), ScreenAt(2));
    EXPECT_EQ(form->Screen()->eScreenID()->text(), QStringLiteral("End"));
}

TEST_F(MapWindowTest, StoredChangesAndNewReachTheMap) {
    OpenTour();
    // A caption typed and stored: no tree rebuild, but the map shows it.
    form->SelectItem(ScreenAt(1));
    ASSERT_TRUE(LaidOut([&] {
        Type(form->Screen()->eScreenCaption(), QStringLiteral("Getting help"));
        form->CommitFocusedBox();
    }));
    EXPECT_EQ(Map().shownMap().Boxes[1].Caption, "Getting help");
    // The frame stays on the selected screen.
    EXPECT_EQ(Map().selectedScreen(), 1);

    // A new screen (a structural edit) appears as an unreachable box.
    ASSERT_TRUE(LaidOut([&] { form->FindAction(QStringLiteral("aNewScreen"))->trigger(); }));
    ASSERT_EQ(Map().shownMap().Boxes.size(), 4u);
    EXPECT_TRUE(Map().shownMap().Boxes[3].Unreachable);

    // New replaces the map with the empty assistant's.
    ASSERT_TRUE(LaidOut([&] {
        prompter.ExpectMessage(Prompter::MessageKind::WarningYesNoCancel, Prompter::Answer::No);
        form->FindAction(QStringLiteral("aNew"))->trigger();
        form->Pages()->setCurrentWidget(form->tsMap());
    }));
    EXPECT_EQ(prompter.Pending(), 0u);
    EXPECT_TRUE(Map().shownMap().Boxes.empty());
    EXPECT_EQ(Map().selectedScreen(), -1);
}

// A hidden map is not laid out after each change (an edit would pay for a snapshot of the whole
// assistant); it shows the changes made meanwhile as soon as its page is shown again.
TEST_F(MapWindowTest, AHiddenMapCatchesUpWhenItsPageIsShown) {
    OpenTour();
    form->Pages()->setCurrentWidget(form->tsAssistant());
    QSignalSpy finished(&Map(), &MapPage::layoutFinished);
    form->SelectItem(ScreenAt(1));
    Type(form->Screen()->eScreenCaption(), QStringLiteral("Getting help"));
    form->CommitFocusedBox();
    ASSERT_EQ(ScreenAt(1)->Caption, "Getting help");
    form->FindAction(QStringLiteral("aNewScreen"))->trigger();
    QTest::qWait(200);
    EXPECT_EQ(finished.count(), 0) << "no layout while the page is hidden";
    EXPECT_EQ(Map().shownMap().Boxes[1].Caption, "Help desk");

    ASSERT_TRUE(LaidOut([&] { form->Pages()->setCurrentWidget(form->tsMap()); }));
    ASSERT_EQ(Map().shownMap().Boxes.size(), 4u);
    EXPECT_EQ(Map().shownMap().Boxes[1].Caption, "Getting help");
    EXPECT_TRUE(Map().shownMap().Boxes[3].Unreachable);
}

} // namespace
