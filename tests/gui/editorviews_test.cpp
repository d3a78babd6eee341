// The editor window's views and panels: the tree and the navigation structure rebuilt from the model,
// the current item and its panel, storing the boxes, the first-screen rule, the structure commands and
// the Warnings page.
#include "editor/flattreeview.h"
#include "editorfixture.h"

#include <QAction>
#include <QApplication>
#include <QMimeData>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

#include <algorithm>
#include <functional>

namespace {

class EditorViewsTest : public EditorFixture {
protected:
    void SetUp() override { Start(); }
    TAssistOption* OptionAt(int screen, int option) const { return ScreenAt(screen)->Options.Item(option); }
};

const std::string kArrow = "\u00bb";

} // namespace

TEST_F(EditorViewsTest, TreeShowsRootScreensAndOptionsByID) {
    Fill({{"S1", {{"S1.1"}, {"S1.2"}}}, {"S2"}, {"S1", {{"dup"}}}}, "S1");
    EXPECT_EQ(NodeTexts(TreeModel()),
              (std::vector<std::string>{"A1", " S1", "  S1.1", "  S1.2", " S2", " S1", "  dup"}))
        << "screens with the same ID are both listed";

    struct Case {
        const char* id;
        const char* text;
    };
    const Case cases[] = {
        {"Plain", "Plain"}, {"C:\\dir\\Name", "Name"}, {"x:y\\z", "z"}, {"a\\b:c", "c"}, {"end\\", ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        Root().ID = c.id;
        form->RebuildTree();
        EXPECT_EQ(TreeModel().TextAt(0).toStdString(), c.text);
    }
}

TEST_F(EditorViewsTest, StructureShowsRepeatedScreensAndOptionKinds) {
    Fill({{"S1",
           {{"o1", akGoto, "S2"},
            {"o2", akGotoButton, "s2"},
            {"web", akInternet, "http://x"},
            {"sc", akScript, ""},
            {"n", akNote, ""},
            {"ex", akExec, "prog"},
            {"miss", akGoto, "S9"}}},
          {"S2", {{"back", akGoto, "S1"}, {"as", akAssistant, "b.amf"}}}},
         "S1");
    EXPECT_EQ(NodeTexts(StructureModel()), (std::vector<std::string>{
                                               "A A1 " + kArrow + " S S1",
                                               " O o1 " + kArrow + " S S2",
                                               "  O back " + kArrow + " S S1 (repeated)",
                                               "  O as " + kArrow + " GOTO b.amf",
                                               " O o2 " + kArrow + " S S2 (repeated)",
                                               " O web " + kArrow + " INTERNET http://x",
                                               " O sc " + kArrow + " SCRIPT",
                                               " O ex " + kArrow + " EXEC prog",
                                           }));
    // The whole structure is expanded (every node a row), and a click takes the user to the item on the
    // Assistant page.
    EXPECT_TRUE(StructureModel().IsExpanded(1));
    EXPECT_EQ(StructureModel().rowCount(), 8);
    form->Pages()->setCurrentWidget(form->tsStructure());
    form->Structure()->setCurrentIndex(StructureModel().IndexOfNode(5));
    Q_EMIT form->Structure()->clicked(StructureModel().IndexOfNode(5));
    EXPECT_EQ(form->Pages()->currentWidget(), form->tsAssistant());
    EXPECT_EQ(form->CurrentItem(), OptionAt(0, 2));
    EXPECT_EQ(form->AssistantView()->CurrentPanelName(), QStringLiteral("Option"));
}

TEST_F(EditorViewsTest, StructureNodesExpandAndCollapseOnThePageAndAClickOnATextGoesToTheItem) {
    Fill({{"S1", {{"o1", akGoto, "S2"}}}, {"S2", {{"a", akGoto, "S3"}}}, {"S3", {{"x", akScript}}}}, "S1");
    ASSERT_EQ(NodeTexts(StructureModel()), (std::vector<std::string>{
                                               "A A1 " + kArrow + " S S1",
                                               " O o1 " + kArrow + " S S2",
                                               "  O a " + kArrow + " S S3",
                                               "   O x " + kArrow + " SCRIPT",
                                           }));
    ClickTreeNode(ScreenAt(1));
    form->RebuildStructure();
    form->Pages()->setCurrentWidget(form->tsStructure());
    QApplication::processEvents();
    auto* view = qobject_cast<FlatTreeView*>(form->Structure());
    ASSERT_NE(view, nullptr);
    ItemTreeModel& model = StructureModel();
    EXPECT_EQ(model.NodeOf(view->currentIndex()), 1) << "the current item's node is selected";

    // The indicator collapses and expands without taking the user anywhere.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->IndicatorRect(model.IndexOfNode(1)).center());
    EXPECT_FALSE(model.IsExpanded(1));
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(form->Pages()->currentWidget(), form->tsStructure());
    EXPECT_EQ(form->CurrentItem(), ScreenAt(1));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->IndicatorRect(model.IndexOfNode(1)).center());
    EXPECT_TRUE(model.IsExpanded(1));
    EXPECT_EQ(model.rowCount(), 4);

    // Keys: Left collapses, Right expands, '*' expands a whole branch.
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Left);
    EXPECT_FALSE(model.IsExpanded(1));
    QTest::keyClick(view, Qt::Key_Right);
    EXPECT_TRUE(model.IsExpanded(1));
    model.SetExpanded(2, false);
    model.SetExpanded(0, false);
    ASSERT_EQ(model.rowCount(), 1);
    view->setCurrentIndex(model.IndexOfNode(0));
    QTest::keyClick(view, Qt::Key_Asterisk);
    EXPECT_EQ(model.rowCount(), 4);
    EXPECT_EQ(form->Pages()->currentWidget(), form->tsStructure());

    // A click on a node's text goes to its item on the Assistant page.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(model.IndexOfNode(3)).center());
    EXPECT_EQ(form->Pages()->currentWidget(), form->tsAssistant());
    EXPECT_EQ(form->CurrentItem(), ScreenAt(2)->Options.Item(0));
    EXPECT_EQ(TreeModel().ItemOf(form->Tree()->currentIndex()), ScreenAt(2)->Options.Item(0));
}

TEST_F(EditorViewsTest, StructureRebuildShowsEveryNodeAndSelectsTheCurrentItemsLastNode) {
    Fill({{"S1", {{"o1", akGoto, "S2"}, {"o2", akGoto, "S2"}}}, {"S2", {{"a", akScript}}}}, "S1");
    ItemTreeModel& model = StructureModel();
    model.SetExpanded(0, false);
    model.SetExpanded(1, false);
    ASSERT_EQ(model.rowCount(), 1);
    ClickTreeNode(ScreenAt(1));
    form->RebuildStructure();
    EXPECT_EQ(NodeTexts(model), (std::vector<std::string>{
                                    "A A1 " + kArrow + " S S1",
                                    " O o1 " + kArrow + " S S2",
                                    "  O a " + kArrow + " SCRIPT",
                                    " O o2 " + kArrow + " S S2 (repeated)",
                                }));
    EXPECT_EQ(model.rowCount(), 4);
    for (int node = 0; node < model.NodeCount(); ++node)
        EXPECT_TRUE(model.IsExpanded(node)) << node;
    EXPECT_EQ(model.NodeOf(form->Structure()->currentIndex()), 3);
    EXPECT_TRUE(form->Structure()->selectionModel()->isSelected(form->Structure()->currentIndex()));
    // The collapsed state reached the items before the rebuild (the tree shares their flags).
    EXPECT_FALSE(ScreenAt(1)->Expanded);
}

TEST_F(EditorViewsTest, RenamingTheFirstScreenEmptiesTheStructureView) {
    Fill({{"S1", {{"o1", akGoto, "S2"}}}, {"S2"}}, "S1");
    ClickTreeNode(ScreenAt(0));
    Type(form->Screen()->eScreenID(), QStringLiteral("S9"));
    ClickTreeNode(ScreenAt(1)); // leaving the box stores the ID first
    EXPECT_EQ(ScreenAt(0)->ID, "S9");
    EXPECT_EQ(Root().FirstScreen, "S1") << "a new ID is not carried over";
    EXPECT_EQ(NodeTexts(TreeModel())[1], " S9");
    EXPECT_EQ(StructureModel().NodeCount(), 0);
    EXPECT_EQ(form->CurrentItem(), ScreenAt(1)) << "the click still selects the node clicked";
    bool listed = false;
    for (int i = 0; i < form->lbErrors()->count(); ++i)
        listed |= form->lbErrors()->item(i)->text() ==
                  QStringLiteral("Error: First screen defined at top level not found.");
    EXPECT_TRUE(listed);
    EXPECT_TRUE(Root().Changed);
}

TEST_F(EditorViewsTest, BoxesStoreOnlyADifferenceIntoTheItemOfTheirPanel) {
    Fill({{"S1", {{"o1"}}}}, "S1");
    ClickTreeNode(ScreenAt(0));
    // Leaving boxes untouched, or with the same text typed back, changes nothing.
    Type(form->Screen()->eScreenCaption(), QStringLiteral("Caption of S1"));
    FocusByMouse(form->Screen()->eScreenImage());
    FocusByMouse(form->Screen()->mScreenExp());
    FocusByMouse(form->Screen()->eScreenID());
    ClickTreeNode(&Root());
    FocusByMouse(form->General()->eBuildDate());
    FocusByMouse(form->General()->eVersion());
    ClickTreeNode(&Root());
    EXPECT_FALSE(Root().Changed);

    struct Case {
        const char* name;
        TAssistBase* item;
        QLineEdit* box;
        std::function<std::string()> field;
    };
    const Case cases[] = {
        {"caption", ScreenAt(0), form->Screen()->eScreenCaption(), [this] { return ScreenAt(0)->Caption; }},
        {"image", ScreenAt(0), form->Screen()->eScreenImage(), [this] { return ScreenAt(0)->Image; }},
        {"author", &Root(), form->General()->eAuthor(), [this] { return Root().AuthorName; }},
        {"version", &Root(), form->General()->eVersion(), [this] { return Root().Version; }},
        {"copyright", &Root(), form->General()->eCopyright(), [this] { return Root().Copyright; }},
        {"option caption", OptionAt(0, 0), form->Option()->eOptionCaption(),
         [this] { return OptionAt(0, 0)->Caption; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Root().Changed = false;
        ClickTreeNode(c.item);
        Type(c.box, QStringLiteral("Value Typed"));
        ClickTreeNode(c.item == &Root() ? static_cast<TAssistBase*>(ScreenAt(0)) : &Root());
        EXPECT_EQ(c.field(), "Value Typed");
        EXPECT_TRUE(Root().Changed);
        EXPECT_EQ(Root().Caption, "Assistant A1") << "nothing reaches another item";
    }
}

TEST_F(EditorViewsTest, MemosShowTrimmedLinesAndStoreTheTextCutAtLineBreaks) {
    Fill({{"S1"}}, "S1");
    ScreenAt(0)->Description = {"  padded  ", "second"};
    ClickTreeNode(ScreenAt(0));
    EXPECT_EQ(form->Screen()->mScreenExp()->toPlainText(), QStringLiteral("padded\nsecond"));
    EXPECT_EQ(form->Screen()->mScreenExp()->textCursor().position(), 0);

    struct Case {
        const char* typed;
        std::vector<std::string> stored;
    };
    const Case cases[] = {
        {"one\n  indented\n\nlast", {"one", "indented", "", "last"}},
        {"ends with a break\n", {"ends with a break", ""}},
        {"", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        FocusByMouse(form->Screen()->mScreenExp());
        form->Screen()->mScreenExp()->setPlainText(QString::fromUtf8(c.typed));
        FocusByMouse(form->Screen()->eScreenCaption());
        EXPECT_EQ(ScreenAt(0)->Description, c.stored);
    }
    // What was stored shows again as it was typed, and leaving it unchanged stores nothing.
    ScreenAt(0)->Description = {"ends with a break", ""};
    ClickTreeNode(&Root());
    ClickTreeNode(ScreenAt(0));
    Root().Changed = false;
    FocusByMouse(form->Screen()->mScreenExp());
    FocusByMouse(form->Screen()->eScreenCaption());
    EXPECT_FALSE(Root().Changed);
}

TEST_F(EditorViewsTest, OptionPanelShowsActionCommandScriptAndNotes) {
    Fill({{"S1", {{"o1", akExec, "prog.exe"}}}}, "S1");
    TAssistOption* option = OptionAt(0, 0);
    option->Script = "Sub Main\r  x = 1\rEnd Sub";
    TNote* note = option->Notes.Add();
    note->Name = "N";
    note->ID = "id7";
    note->Type = "Hint";
    ClickTreeNode(option);
    EXPECT_EQ(form->Option()->cbAction()->currentIndex(), int(akExec));
    EXPECT_EQ(form->Option()->cbCommand()->currentText(), QStringLiteral("prog.exe"));
    EXPECT_EQ(form->Option()->mOptionScript()->toPlainText(), QStringLiteral("Sub Main\nx = 1\nEnd Sub"));
    ASSERT_EQ(form->Option()->lbOptionNotes()->count(), 1);
    EXPECT_EQ(form->Option()->lbOptionNotes()->item(0)->text(), QStringLiteral("N\tid7\tHint"));

    // Changing the action kind is stored on leaving the drop-down and rebuilds the structure.
    FocusByMouse(form->Option()->cbAction());
    form->Option()->cbAction()->setCurrentIndex(int(akScript));
    FocusByMouse(form->Option()->eOptionCaption());
    EXPECT_EQ(option->Action, akScript);
    EXPECT_EQ(NodeTexts(StructureModel()).back(), " O o1 " + kArrow + " SCRIPT");
}

TEST_F(EditorViewsTest, UpAndDownAreEnabledByThePositionOfTheCurrentItem) {
    Fill({{"S1", {{"a"}, {"b"}, {"c"}}}, {"S2", {{"only"}}}, {"S3"}}, "S1");
    struct Case {
        const char* name;
        TAssistBase* item;
        bool delScreen, delOption, up, down, note;
    };
    const Case cases[] = {
        {"root", &Root(), false, false, false, false, false},
        {"first screen", ScreenAt(0), true, false, false, true, false},
        {"middle screen", ScreenAt(1), true, false, true, true, false},
        {"last screen", ScreenAt(2), true, false, true, false, false},
        {"first option", OptionAt(0, 0), false, true, false, true, true},
        {"middle option", OptionAt(0, 1), false, true, true, true, true},
        {"last option", OptionAt(0, 2), false, true, true, false, true},
        {"only option", OptionAt(1, 0), false, true, false, false, true},
    };
    const auto& a = form->Actions();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClickTreeNode(c.item);
        EXPECT_TRUE(a.aNewScreen->isEnabled());
        EXPECT_TRUE(a.aNewOption->isEnabled());
        EXPECT_EQ(a.aDelScreen->isEnabled(), c.delScreen);
        EXPECT_EQ(a.aDelOption->isEnabled(), c.delOption);
        EXPECT_EQ(a.aUp->isEnabled(), c.up);
        EXPECT_EQ(a.aDown->isEnabled(), c.down);
        EXPECT_EQ(a.aNote->isEnabled(), c.note);
    }
    form->SetCurrentItem(nullptr);
    for (QAction* action : {a.aNewScreen, a.aDelScreen, a.aNewOption, a.aDelOption, a.aUp, a.aDown, a.aNote})
        EXPECT_FALSE(action->isEnabled()) << action->objectName().toStdString();
}

TEST_F(EditorViewsTest, UpAndDownMoveTheCurrentItemKeepItSelectedAndMarkTheChange) {
    Fill({{"S1", {{"a", akInternet, "http://a"}, {"b", akInternet, "http://b"}}}, {"S2"}}, "S1");
    TAssistScreen* s2 = ScreenAt(1);
    ClickTreeNode(s2);
    form->Actions().aUp->trigger();
    EXPECT_EQ(ScreenAt(0), s2);
    EXPECT_EQ(form->CurrentItem(), s2);
    EXPECT_EQ(TreeModel().ItemOf(form->Tree()->currentIndex()), s2);
    EXPECT_TRUE(Root().Changed);
    EXPECT_FALSE(form->Actions().aUp->isEnabled());

    Root().Changed = false;
    TAssistOption* a = ScreenAt(1)->Options.Item(0);
    ClickTreeNode(a);
    form->Actions().aDown->trigger();
    EXPECT_EQ(ScreenAt(1)->Options.Item(1), a);
    EXPECT_EQ(form->CurrentItem(), a);
    EXPECT_TRUE(Root().Changed);
    EXPECT_EQ(NodeTexts(TreeModel()), (std::vector<std::string>{"A1", " S2", " S1", "  b", "  a"}));
    // The structure lists a screen's options in their new order too.
    EXPECT_EQ(NodeTexts(StructureModel()),
              (std::vector<std::string>{"A A1 " + kArrow + " S S1", " O b " + kArrow + " INTERNET http://b",
                                        " O a " + kArrow + " INTERNET http://a"}));
}

TEST_F(EditorViewsTest, FirstScreenThatNamesNoScreenOffersToCreateIt) {
    Fill({{"S1"}}, "S1");
    QComboBox* first = form->General()->cbInitScreen();
    struct Case {
        const char* name;
        const char* typed;
        std::optional<Prompter::Answer> answer; // none: no prompt expected
        int screens;
        std::string structureTop; // empty: no structure
    };
    const Case cases[] = {
        {"other case finds S1", "s1", std::nullopt, 1, "A A1 " + kArrow + " S S1"},
        {"No keeps the text", "S7", Prompter::Answer::No, 1, ""},
        {"Yes appends the screen", "S9", Prompter::Answer::Yes, 2, "A A1 " + kArrow + " S S9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClickTreeNode(&Root());
        form->Tree()->collapse(TreeModel().IndexOfNode(0));
        if (c.answer)
            prompter.ExpectMessage(Prompter::MessageKind::ConfirmYesNo, *c.answer);
        FocusByMouse(first);
        first->setEditText(QString::fromUtf8(c.typed));
        FocusByMouse(form->General()->eProjectCaption());
        EXPECT_EQ(Root().FirstScreen, c.typed);
        if (c.answer) {
            EXPECT_EQ(prompter.AskedPrompts().back().text,
                      std::string("Can't find screen ") + c.typed + ".\r\rCreate a new one?");
        }
        EXPECT_EQ(Root().Screens.Count(), c.screens);
        const auto structure = NodeTexts(StructureModel());
        EXPECT_EQ(structure.empty() ? std::string() : structure.front(), c.structureTop);
    }
    EXPECT_EQ(ScreenAt(1)->ID, "S9");
    EXPECT_TRUE(form->Tree()->isExpanded(TreeModel().IndexOfNode(0)))
        << "the root is expanded after creating";
}

TEST_F(EditorViewsTest, NewScreenAndNewOptionAppendSelectAndMarkTheChange) {
    Fill({{"S1", {{"S1.1"}}}, {"S2"}}, "S1");
    ClickTreeNode(&Root());
    form->Actions().aNewOption->trigger();
    EXPECT_EQ(ScreenAt(0)->Options.Count(), 1) << "the assistant itself takes no options";
    EXPECT_FALSE(Root().Changed);

    form->Actions().aNewScreen->trigger();
    ASSERT_EQ(Root().Screens.Count(), 3);
    EXPECT_EQ(form->CurrentItem(), ScreenAt(2));
    EXPECT_EQ(form->AssistantView()->CurrentPanelName(), QStringLiteral("Screen"));
    EXPECT_EQ(form->Screen()->eScreenID()->text(), QString::fromStdString(ScreenAt(2)->ID));
    EXPECT_TRUE(Root().Changed);

    Root().Changed = false;
    ClickTreeNode(OptionAt(0, 0));
    form->Actions().aNewOption->trigger();
    ASSERT_EQ(ScreenAt(0)->Options.Count(), 2) << "an option's screen gets the new option";
    EXPECT_EQ(form->CurrentItem(), OptionAt(0, 1));
    EXPECT_TRUE(Root().Changed);
    EXPECT_EQ(TreeModel().ItemOf(form->Tree()->currentIndex()), OptionAt(0, 1));
}

// New and deleted screens and options and new option IDs patch the views in place instead of
// rebuilding them. Each case checks that the views then show what a rebuild from the model shows, and
// which views were reset.
TEST_F(EditorViewsTest, NewDeletedAndRenamedItemsPatchTheViewsAsARebuildWouldShowThem) {
    const OptionEntry toS2("toS2", akGoto, "S2");
    const OptionEntry web("web", akInternet, "https://example.org/");
    struct Case {
        const char* name;
        std::vector<ScreenEntry> screens;
        std::function<void()> edit;
        const char* treeShows;      // a node text the tree must show afterwards
        const char* structureShows; // one the structure must show ("" when none is asked for)
        int structureResets;        // 0: patched or left alone; 1: rebuilt
    };
    const auto newOptionOn = [this](int screen) {
        return [this, screen] {
            ClickTreeNode(ScreenAt(screen));
            form->Actions().aNewOption->trigger();
        };
    };
    const auto rename = [this](int screen, int option, const char* id) {
        return [this, screen, option, id] {
            ASSERT_TRUE(form->Edits().SetField(*OptionAt(screen, option), TextField::ID, id));
        };
    };
    const auto newScreen = [this] { form->Actions().aNewScreen->trigger(); };
    // The first screen's first option gets another action.
    const auto actionOfFirst = [this](TActionKind kind) {
        return [this, kind] { form->Edits().SetAction(*OptionAt(0, 0), kind); };
    };
    // Down on a screen (option -1) or an option.
    const auto moveDown = [this](int screen, int option) {
        return [this, screen, option] {
            ClickTreeNode(option < 0 ? static_cast<TAssistBase*>(ScreenAt(screen))
                                     : OptionAt(screen, option));
            form->Actions().aDown->trigger();
        };
    };
    const auto deleteOption = [this](int screen, int option) {
        return [this, screen, option] {
            ClickTreeNode(OptionAt(screen, option));
            prompter.ExpectMessage(Prompter::MessageKind::ConfirmYesNo, Prompter::Answer::Yes);
            form->Actions().aDelOption->trigger();
        };
    };
    // A drop in the tree as the user drags: the item onto a screen (an option, at `row` of its options)
    // or onto the assistant (a screen, at `row` of the screens); the move runs once the drop is over.
    // The dragged item is a screen (option -1) or one of its options.
    const auto drag = [this](int screen, int option, int targetScreen, int row) {
        return [this, screen, option, targetScreen, row] {
            ItemTreeModel& model = TreeModel();
            const TAssistBase* item =
                option < 0 ? static_cast<TAssistBase*>(ScreenAt(screen)) : OptionAt(screen, option);
            std::unique_ptr<QMimeData> data(model.mimeData({model.IndexOfNode(model.FirstNodeOf(item))}));
            ASSERT_NE(data, nullptr);
            const TAssistBase* onto =
                targetScreen < 0 ? static_cast<TAssistBase*>(&Root()) : ScreenAt(targetScreen);
            ASSERT_TRUE(model.dropMimeData(data.get(), Qt::MoveAction, row, 0,
                                           model.IndexOfNode(model.FirstNodeOf(onto))));
            QApplication::processEvents();
        };
    };
    const auto duplicate = [this](int screen, int option) {
        return [this, screen, option] {
            ClickTreeNode(option < 0 ? static_cast<TAssistBase*>(ScreenAt(screen))
                                     : OptionAt(screen, option));
            form->Actions().aDuplicate->trigger();
        };
    };
    const auto deleteScreen = [this](int screen) {
        return [this, screen] {
            ClickTreeNode(ScreenAt(screen));
            prompter.ExpectMessage(Prompter::MessageKind::ConfirmYesNo, Prompter::Answer::Yes);
            form->Actions().aDelScreen->trigger();
        };
    };
    const Case cases[] = {
        {"new option on a shown screen that is not the last",
         {{"S1", {toS2, web}}, {"S2", {web}}, {"S3"}},
         newOptionOn(0),
         "  S1.1",
         "",
         0},
        {"new option on a screen the structure does not show",
         {{"S1", {toS2}}, {"S2"}, {"S3", {web}}},
         newOptionOn(2),
         "  S3.1",
         "",
         0},
        {"new option leading to a screen with an empty ID",
         {{"S1", {toS2}}, {"S2"}, {""}},
         newOptionOn(0),
         "  S1.1",
         "O S1.1 » S ",
         1},
        {"a web-page option renamed",
         {{"S1", {toS2, web}}, {"S2"}},
         rename(0, 1, "site"),
         "  site",
         "O site » INTERNET https://example.org/",
         0},
        {"a go-to option renamed",
         {{"S1", {web, toS2}}, {"S2", {web}}},
         rename(0, 1, "next"),
         "  next",
         "O next » S S2",
         0},
        {"one of two options with the same ID renamed",
         {{"S1", {web, OptionEntry("web", akRun, "tool")}}},
         rename(0, 1, "runner"),
         "  runner",
         "O runner » RUN tool",
         1},
        {"an option leading nowhere, beside one whose ID begins the same",
         {{"S1", {OptionEntry("x", akNote), OptionEntry("x » y", akRun, "tool")}}},
         rename(0, 0, "z"),
         "  z",
         "O x » y » RUN tool",
         0},
        {"an option of a screen the structure does not show",
         {{"S1"}, {"S2", {web}}},
         rename(1, 0, "w2"),
         "  w2",
         "",
         0},
        {"new screen no link names", {{"S1", {web}}, {"S2"}}, newScreen, " S3", "", 0},
        {"new screen a go-to already named",
         {{"S1", {OptionEntry("later", akGoto, "S3")}}, {"S2"}},
         newScreen,
         " S3",
         "O later » S S3",
         1},
        {"a web-page option deleted", {{"S1", {toS2, web}}, {"S2"}}, deleteOption(0, 1), "  toS2", "", 0},
        {"a web-page option deleted and undone",
         {{"S1", {toS2, web, OptionEntry("n", akNote), OptionEntry("run", akRun, "x")}}, {"S2"}},
         [this, deleteOption] {
             deleteOption(0, 1)();
             form->Actions().aUndo->trigger();
         },
         "  web",
         "O web » INTERNET https://example.org/",
         0},
        {"a go-to option deleted", {{"S1", {toS2, web}}, {"S2", {web}}}, deleteOption(0, 0), "  web", "", 1},
        {"an option of a screen the structure does not show deleted",
         {{"S1", {web}}, {"S2", {web, toS2}}},
         deleteOption(1, 1),
         "  web",
         "",
         0},
        {"a shown screen deleted", {{"S1", {toS2}}, {"S2", {web}}, {"S3"}}, deleteScreen(1), " S3", "", 1},
        {"the assistant renamed",
         {{"S1", {web}}},
         [this] { form->Edits().SetField(Root(), TextField::ID, "Guide"); },
         "Guide",
         "A Guide » S S1",
         0},
        {"a web page's address changed",
         {{"S1", {web, toS2}}, {"S2"}},
         [this] { form->Edits().SetField(*OptionAt(0, 0), TextField::Command, "https://example.com/"); },
         "  web",
         "O web » INTERNET https://example.com/",
         0},
        {"a web page turned into a program",
         {{"S1", {web, toS2}}, {"S2"}},
         actionOfFirst(akRun),
         "  web",
         "O web » RUN https://example.org/",
         0},
        {"a web page turned into a note",
         {{"S1", {web, toS2}}, {"S2"}},
         actionOfFirst(akNote),
         "  web",
         "O toS2",
         0},
        {"a web page turned into a go-to",
         {{"S1", {OptionEntry("w", akInternet, "S2")}}, {"S2"}},
         actionOfFirst(akGoto),
         "  w",
         "O w » S S2",
         1},
        {"a go-to's target changed",
         {{"S1", {toS2}}, {"S2"}, {"S3"}},
         [this] { form->Edits().SetField(*OptionAt(0, 0), TextField::Command, "S3"); },
         "  toS2",
         "O toS2 » S S3",
         1},
        {"a command on a screen the structure does not show",
         {{"S1"}, {"S2", {web}}},
         [this] { form->Edits().SetField(*OptionAt(1, 0), TextField::Command, "elsewhere"); },
         "  web",
         "",
         0},
        {"a screen moved down", {{"S1", {toS2}}, {"S2", {web}}, {"S3"}}, moveDown(1, -1), " S2", "", 0},
        {"a screen moved above another with its ID",
         {{"S1", {OptionEntry("to", akGoto, "S2")}}, {"S2", {web}}, {"S2", {OptionEntry("run", akRun, "x")}}},
         moveDown(1, -1),
         " S2",
         "O run » RUN x",
         1},
        {"an option moved past one with a node",
         {{"S1", {web, toS2}}, {"S2"}},
         moveDown(0, 0),
         "  web",
         "",
         1},
        {"an option moved past a note",
         {{"S1", {web, OptionEntry("n", akNote)}}},
         moveDown(0, 0),
         "  web",
         "O web",
         0},
        {"an option of a screen the structure does not show moved",
         {{"S1"}, {"S2", {web, toS2}}},
         moveDown(1, 0),
         "  web",
         "",
         0},
        {"a screen the structure does not show deleted",
         {{"S1", {web}}, {"S2", {toS2}}, {"S3"}},
         deleteScreen(1),
         " S3",
         "O web » INTERNET",
         0},
        {"a web-page option dragged to another shown screen",
         {{"S1", {toS2, web}}, {"S2"}},
         drag(0, 1, 1, 0),
         "  web",
         "O web » INTERNET",
         0},
        {"a web-page option dragged from a screen the structure does not show to one it shows",
         {{"S1", {toS2}}, {"S2", {web}}, {"S3", {OptionEntry("site", akInternet, "https://example.net/")}}},
         drag(2, 0, 1, 1),
         "  site",
         "O site » INTERNET https://example.net/",
         0},
        {"a go-to dragged between shown screens",
         {{"S1", {toS2, OptionEntry("toS3", akGoto, "S3")}}, {"S2", {web}}, {"S3"}},
         drag(0, 1, 1, 0),
         "  toS3",
         "O toS3 » S S3",
         1},
        {"a note dragged between screens the structure does not show",
         {{"S1"}, {"S2", {OptionEntry("n", akNote)}}, {"S3", {web}}},
         drag(1, 0, 2, 1),
         "  n",
         "",
         0},
        {"a go-to dragged to a screen the structure does not show",
         {{"S1", {toS2}}, {"S2"}, {"S3"}},
         drag(0, 0, 2, 0),
         "  toS2",
         "",
         1},
        {"a go-to dragged within its screen past a note",
         {{"S1", {toS2, OptionEntry("n", akNote)}}, {"S2"}},
         drag(0, 0, 0, 2),
         "  toS2",
         "O toS2 » S S2",
         0},
        {"a screen dragged to the top",
         {{"S1", {toS2}}, {"S2"}, {"S3", {web}}},
         drag(2, -1, -1, 0),
         " S3",
         "",
         0},
        {"a web-page option duplicated", {{"S1", {web, toS2}}, {"S2"}}, duplicate(0, 0), "  web", "", 0},
        {"a screen duplicated and taken back",
         {{"S1", {toS2}}, {"S2", {web}}},
         [this, duplicate] {
             duplicate(1, -1)();
             form->Actions().aUndo->trigger();
         },
         " S2",
         "O web » INTERNET",
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fill(c.screens, "S1");
        QSignalSpy treeResets(&TreeModel(), &QAbstractItemModel::modelReset);
        QSignalSpy structureResets(&StructureModel(), &QAbstractItemModel::modelReset);
        c.edit();
        EXPECT_EQ(prompter.Pending(), 0u);
        const std::vector<std::string> tree = NodeTexts(TreeModel());
        const std::vector<std::string> structure = NodeTexts(StructureModel());
        EXPECT_EQ(treeResets.count(), 0) << "the tree is patched";
        EXPECT_EQ(structureResets.count(), c.structureResets);
        EXPECT_NE(std::find(tree.begin(), tree.end(), c.treeShows), tree.end());
        if (*c.structureShows != '\0') {
            const auto shows = [&](const std::string& text) {
                return text.find(c.structureShows) != std::string::npos;
            };
            EXPECT_TRUE(std::any_of(structure.begin(), structure.end(), shows));
        }
        form->RebuildTree();
        form->RebuildStructure();
        EXPECT_EQ(tree, NodeTexts(TreeModel()));
        EXPECT_EQ(structure, NodeTexts(StructureModel()));
        // Taking the change back patches the views back as faithfully.
        form->Actions().aUndo->trigger();
        const std::vector<std::string> treeUndone = NodeTexts(TreeModel());
        const std::vector<std::string> structureUndone = NodeTexts(StructureModel());
        form->RebuildTree();
        form->RebuildStructure();
        EXPECT_EQ(treeUndone, NodeTexts(TreeModel())) << "after undo";
        EXPECT_EQ(structureUndone, NodeTexts(StructureModel())) << "after undo";
    }
}

TEST_F(EditorViewsTest, DeletingAsksFirstAndRemovesTheItemWithItsNodes) {
    Fill({{"S1", {{"o1", akGoto, "S2"}, {"o2", akGoto, "S2"}}}, {"S2", {{"x", akScript}}}}, "S1");
    TAssistScreen* s2 = ScreenAt(1);
    ClickTreeNode(s2);
    prompter.ExpectMessage(Prompter::MessageKind::ConfirmYesNo, Prompter::Answer::No);
    form->Actions().aDelScreen->trigger();
    EXPECT_EQ(prompter.AskedPrompts().back().text, "Confirm delete screen S2?");
    EXPECT_EQ(Root().Screens.Count(), 2);
    EXPECT_FALSE(Root().Changed);

    // S2 stands twice in the structure (once repeated); both nodes go with the screen.
    prompter.ExpectMessage(Prompter::MessageKind::ConfirmYesNo, Prompter::Answer::Yes);
    form->Actions().aDelScreen->trigger();
    EXPECT_EQ(Root().Screens.Count(), 1);
    EXPECT_TRUE(Root().Changed);
    EXPECT_EQ(NodeTexts(TreeModel()), (std::vector<std::string>{"A1", " S1", "  o1", "  o2"}));
    EXPECT_EQ(NodeTexts(StructureModel()), std::vector<std::string>{"A A1 " + kArrow + " S S1"});
    EXPECT_EQ(ScreenAt(0)->Options.Item(0)->Command, "S2") << "go-to commands are left as they were";
    EXPECT_NE(form->CurrentItem(), nullptr);

    Root().Changed = false;
    TAssistOption* o2 = OptionAt(0, 1);
    ClickTreeNode(o2);
    prompter.ExpectMessage(Prompter::MessageKind::ConfirmYesNo, Prompter::Answer::Yes);
    form->Actions().aDelOption->trigger();
    EXPECT_EQ(prompter.AskedPrompts().back().text, "Confirm delete option o2?");
    EXPECT_EQ(ScreenAt(0)->Options.Count(), 1);
    EXPECT_TRUE(Root().Changed);
    EXPECT_EQ(form->CurrentItem(), OptionAt(0, 0)) << "the neighbouring node becomes current";

    // Deleting the only option of a screen selects the screen.
    prompter.ExpectMessage(Prompter::MessageKind::ConfirmYesNo, Prompter::Answer::Yes);
    form->Actions().aDelOption->trigger();
    EXPECT_EQ(form->CurrentItem(), ScreenAt(0));
}

TEST_F(EditorViewsTest, TreeKeepsCollapsedNodesAcrossRebuilds) {
    Fill({{"S1", {{"a"}}}, {"S2", {{"b"}}}}, "S1");
    TAssistScreen* s1 = ScreenAt(0);
    TAssistScreen* s2 = ScreenAt(1);
    const auto expanded = [this](const TAssistScreen* screen) {
        return form->Tree()->isExpanded(TreeModel().IndexOfNode(TreeModel().FirstNodeOf(screen)));
    };
    form->Tree()->collapse(TreeModel().IndexOfNode(TreeModel().FirstNodeOf(s1)));
    form->Actions().aNewScreen->trigger(); // adds a node in place
    EXPECT_FALSE(expanded(s1));
    EXPECT_TRUE(expanded(s2));
    ClickTreeNode(s2);
    form->Actions().aUp->trigger(); // moves a node in place
    ASSERT_EQ(ScreenAt(1), s1);
    EXPECT_FALSE(expanded(s1));
    EXPECT_TRUE(expanded(s2));
    form->RebuildTree();
    EXPECT_FALSE(expanded(s1));
    EXPECT_TRUE(expanded(s2));
    EXPECT_FALSE(s1->Expanded);
    EXPECT_TRUE(s2->Expanded);
}

TEST_F(EditorViewsTest, WarningsPageListsFindingsAndAClickSelectsTheItem) {
    Fill({{"S1", {{"o1", akGoto, ""}}}}, "S1");
    const QString caption = form->Pages()->tabText(form->Pages()->indexOf(form->tsErrors()));
    EXPECT_TRUE(caption.startsWith(QStringLiteral("&Warning(s): ")) &&
                caption.contains(QStringLiteral(", error(s): ")))
        << caption.toStdString();
    int line = -1;
    for (int i = 0; i < form->lbErrors()->count(); ++i)
        if (form->lbErrors()->item(i)->text() ==
            QStringLiteral("Error: Command not specified for option o1."))
            line = i;
    ASSERT_GE(line, 0);
    form->Pages()->setCurrentWidget(form->tsErrors());
    form->lbErrors()->setCurrentRow(line);
    Q_EMIT form->lbErrors()->itemClicked(form->lbErrors()->item(line));
    EXPECT_EQ(form->Pages()->currentWidget(), form->tsAssistant());
    EXPECT_EQ(form->CurrentItem(), OptionAt(0, 0));
    EXPECT_EQ(TreeModel().ItemOf(form->Tree()->currentIndex()), OptionAt(0, 0));
}
