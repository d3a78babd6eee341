// The context menu of the Assistant page's tree: a right click makes the row current, the entries are
// enabled as the window's commands are for that item, each runs its command, and "Test from here"
// opens the viewer at the clicked screen (or the clicked option's screen).
#include "editor/treecontextmenu.h"
#include "viewer/assistantviewer.h"
#include "viewerwindowfixture.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

class TreeContextMenuTest : public ViewerWindowFixture {
protected:
    void SetUp() override {
        StartWithViewer();
        form->Tree()->expandAll();
    }

    TreeContextMenu* Menus() const { return form->Tree()->findChild<TreeContextMenu*>(); }

    // Right-clicks the item's row (as the mouse does: the event goes to the tree's viewport) and returns
    // the menu that opened.
    QMenu* RightClick(const TAssistBase* item) {
        const QModelIndex index = TreeModel().IndexOfNode(TreeModel().FirstNodeOf(item));
        const QPoint at = form->Tree()->visualRect(index).center();
        QWidget* viewport = form->Tree()->viewport();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
        QApplication::sendEvent(viewport, &event);
        return Menus() != nullptr ? Menus()->Shown() : nullptr;
    }

    // Entry object name -> enabled, for the entries that stand for a command.
    static std::map<std::string, bool> Enabled(const QMenu* menu) {
        std::map<std::string, bool> enabled;
        for (const QAction* entry : menu->actions())
            if (!entry->isSeparator() && !entry->objectName().isEmpty())
                enabled[entry->objectName().toStdString()] = entry->isEnabled();
        return enabled;
    }
    static QAction* Entry(const QMenu* menu, const char* name) {
        return menu->findChild<QAction*>(QString::fromLatin1(name));
    }
};

TEST_F(TreeContextMenuTest, ARightClickSelectsTheRowAndEnablesTheEntriesForIt) {
    ASSERT_NE(Menus(), nullptr);
    struct Case {
        const char* name;
        const TAssistBase* item;
        const char* deleteText; // the Delete entry for this kind of item
        std::map<std::string, bool> enabled;
    };
    const TAssistScreen* s1 = ScreenAt(0);
    const TAssistScreen* s2 = ScreenAt(1);
    const TAssistScreen* s3 = ScreenAt(2);
    const std::vector<Case> cases = {
        {"assistant",
         &Root(),
         "&Delete",
         {{"cmNewScreen", true},
          {"cmNewOption", true},
          {"cmDelete", false},
          {"cmUp", false},
          {"cmDown", false},
          {"cmTestFromHere", true},
          {"cmNotes", false}}},
        {"first screen",
         s1,
         "&Delete screen",
         {{"cmNewScreen", true},
          {"cmNewOption", true},
          {"cmDelete", true},
          {"cmUp", false},
          {"cmDown", true},
          {"cmTestFromHere", true},
          {"cmNotes", false}}},
        {"last screen",
         s3,
         "&Delete screen",
         {{"cmNewScreen", true},
          {"cmNewOption", true},
          {"cmDelete", true},
          {"cmUp", true},
          {"cmDown", false},
          {"cmTestFromHere", true},
          {"cmNotes", false}}},
        {"first of two options",
         s2->Options.Item(0),
         "&Delete option",
         {{"cmNewScreen", true},
          {"cmNewOption", true},
          {"cmDelete", true},
          {"cmUp", false},
          {"cmDown", true},
          {"cmTestFromHere", true},
          {"cmNotes", true}}},
        {"only option",
         s1->Options.Item(0),
         "&Delete option",
         {{"cmNewScreen", true},
          {"cmNewOption", true},
          {"cmDelete", true},
          {"cmUp", false},
          {"cmDown", false},
          {"cmTestFromHere", true},
          {"cmNotes", true}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClickTreeNode(&Root() == c.item ? static_cast<const TAssistBase*>(s3) : &Root()); // somewhere else
        QMenu* menu = RightClick(c.item);
        ASSERT_NE(menu, nullptr);
        EXPECT_TRUE(menu->isVisible());
        EXPECT_EQ(form->CurrentItem(), c.item) << "the clicked row is current";
        EXPECT_EQ(Enabled(menu), c.enabled);
        ASSERT_NE(Entry(menu, "cmDelete"), nullptr);
        EXPECT_EQ(Entry(menu, "cmDelete")->text().section(u'\t', 0, 0), QString::fromLatin1(c.deleteText));
        menu->close();
    }
}

TEST_F(TreeContextMenuTest, EachEntryRunsTheWindowsCommandOnTheClickedItem) {
    // New option on a screen's row adds an option to that screen.
    QMenu* menu = RightClick(ScreenAt(2));
    ASSERT_NE(menu, nullptr);
    Entry(menu, "cmNewOption")->trigger();
    EXPECT_EQ(ScreenAt(2)->Options.Count(), 1);

    // Down on S1 moves it below S2.
    menu = RightClick(ScreenAt(0));
    ASSERT_NE(menu, nullptr);
    Entry(menu, "cmDown")->trigger();
    EXPECT_EQ(ScreenAt(0)->ID, "S2");
    EXPECT_EQ(ScreenAt(1)->ID, "S1");

    // Delete on an option asks as the command does and removes that option.
    const TAssistOption* more = ScreenAt(0)->Options.Item(1);
    ASSERT_EQ(more->ID, "more");
    menu = RightClick(more);
    ASSERT_NE(menu, nullptr);
    prompter.ExpectMessage(Prompter::MessageKind::ConfirmYesNo, Prompter::Answer::Yes);
    Entry(menu, "cmDelete")->trigger();
    EXPECT_EQ(prompter.Pending(), 0u);
    ASSERT_EQ(ScreenAt(0)->Options.Count(), 1);
    EXPECT_EQ(ScreenAt(0)->Options.Item(0)->ID, "back");

    // New screen adds a screen.
    menu = RightClick(&Root());
    ASSERT_NE(menu, nullptr);
    Entry(menu, "cmNewScreen")->trigger();
    EXPECT_EQ(Root().Screens.Count(), 4);
}

TEST_F(TreeContextMenuTest, TestFromHereOpensTheViewerAtTheClickedScreenOrTheOptionsScreen) {
    struct Case {
        const char* name;
        std::function<const TAssistBase*()> item;
        const char* shown;
    };
    const std::vector<Case> cases = {
        {"a screen", [this] { return ScreenAt(2); }, "S3"},
        {"an option", [this] { return ScreenAt(1)->Options.Item(1); }, "S2"},
        {"the assistant", [this] { return &Root(); }, "S1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClickTreeNode(ScreenAt(0)); // the current item before the right click is elsewhere
        QMenu* menu = RightClick(c.item());
        ASSERT_NE(menu, nullptr);
        const QList<AssistantViewer*> before = form->findChildren<AssistantViewer*>();
        Entry(menu, "cmTestFromHere")->trigger();
        QList<AssistantViewer*> viewers = form->findChildren<AssistantViewer*>();
        for (AssistantViewer* old : before)
            viewers.removeAll(old);
        ASSERT_EQ(viewers.size(), 1);
        ASSERT_NE(viewers[0]->CurrentScreen(), nullptr);
        EXPECT_EQ(viewers[0]->CurrentScreen()->ID, c.shown);
        viewers[0]->close();
    }
}

TEST_F(TreeContextMenuTest, TheMenuKeyOpensTheMenuForTheCurrentRow) {
    ClickTreeNode(ScreenAt(1));
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5),
                            form->Tree()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(form->Tree(), &event);
    ASSERT_NE(Menus()->Shown(), nullptr);
    EXPECT_EQ(form->CurrentItem(), ScreenAt(1)) << "the current row stays";
    EXPECT_TRUE(Entry(Menus()->Shown(), "cmUp")->isEnabled());
    EXPECT_TRUE(Entry(Menus()->Shown(), "cmDown")->isEnabled());
    Menus()->Shown()->close();
}

} // namespace
