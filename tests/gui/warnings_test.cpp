// The Warnings page follows every stored change (at once for IDs, links and items, after a short delay
// for texts), each line leads to the box at fault, and its context menu goes to the item or copies the
// line. Also: a new ID renames the tree's nodes in place and rebuilds the structure only where it must.
#include "editorfixture.h"
#include "model/structurecheck.h"

#include <QAction>
#include <QClipboard>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

class WarningsTest : public EditorFixture {
protected:
    void SetUp() override { Start(); }

    TAssistOption* OptionAt(int screen, int option) const { return ScreenAt(screen)->Options.Item(option); }

    QString TabCaption() const { return form->Pages()->tabText(form->Pages()->indexOf(form->tsErrors())); }

    QStringList Lines() const {
        QStringList lines;
        for (int i = 0; i < form->lbErrors()->count(); ++i)
            lines << form->lbErrors()->item(i)->text();
        return lines;
    }

    int RowOf(const QString& text) const { return Lines().indexOf(text); }

    // Lets the delay after the last change pass, so that its check has run.
    void WaitForCheck() { QTRY_VERIFY_WITH_TIMEOUT(!form->WarningsTimer()->isActive(), 3000); }

    // An assistant without any finding: two screens leading to each other, every field filled in.
    void FillClean() {
        Fill({{"S1", {{"o1", akGoto, "S2"}, {"o2", akGoto, "S2"}}},
              {"S2", {{"back", akGoto, "S1"}, {"home", akGoto, "S1"}}}},
             "S1");
        Root().ID = "Tour";
        Root().Caption = "A tour";
        Root().AuthorName = "Ann";
        Root().Copyright = "Ann 2026";
        Root().Description = {"What the tour shows"};
        for (TAssistScreen& screen : Root().Screens)
            for (TAssistOption& option : screen.Options)
                option.Caption = "Go " + option.ID;
        form->RebuildTree();
        form->RebuildStructure();
        Root().Changed = false;
    }

    // Stores a box as leaving it would: the focused box's exit handler, as every command runs first.
    void Store(QLineEdit* box, const QString& text) {
        FocusByMouse(box);
        box->selectAll();
        box->insert(text);
        form->CommitFocusedBox();
    }
    void Store(QComboBox* box, const QString& text) {
        FocusByMouse(box);
        box->setEditText(text);
        form->CommitFocusedBox();
    }

    // Clicks the listed line (which must be there) on the Warnings page.
    void ClickLine(const QString& text) {
        const int row = RowOf(text);
        ASSERT_GE(row, 0) << text.toStdString() << " in\n" << Lines().join('\n').toStdString();
        form->Pages()->setCurrentWidget(form->tsErrors());
        FocusByMouse(form->lbErrors());
        form->lbErrors()->setCurrentRow(row);
        Q_EMIT form->lbErrors()->itemClicked(form->lbErrors()->item(row));
        QApplication::processEvents();
    }

    QAction* ListAction(const char* name) const {
        for (QAction* action : form->lbErrors()->actions())
            if (action->objectName() == QLatin1String(name))
                return action;
        return nullptr;
    }
};

TEST_F(WarningsTest, AnOptionFilledInWithoutVisitingThePageLeavesTheCountRight) {
    FillClean();
    ASSERT_EQ(TabCaption(), QStringLiteral("&Warning(s): 0, error(s): 0."));
    form->Pages()->setCurrentWidget(form->tsAssistant());

    ClickTreeNode(ScreenAt(1));
    form->Actions().aNewOption->trigger();
    TAssistOption* added = OptionAt(1, 2);
    ASSERT_EQ(form->CurrentItem(), added);
    // A new option is checked at once: it has no caption and no command yet.
    EXPECT_TRUE(RowOf("Error: No caption for option " + QString::fromStdString(added->ID) + ".") >= 0)
        << Lines().join('\n').toStdString();
    EXPECT_NE(TabCaption(), QStringLiteral("&Warning(s): 0, error(s): 0."));

    Store(form->Option()->eOptionCaption(), QStringLiteral("Back again"));
    // Storing a text never waits for the check: it runs once typing pauses.
    EXPECT_TRUE(form->WarningsTimer()->isActive());
    Store(form->Option()->cbCommand(), QStringLiteral("S1"));
    ASSERT_EQ(added->Caption, "Back again");
    ASSERT_EQ(added->Command, "S1");

    WaitForCheck();
    EXPECT_EQ(form->Pages()->currentWidget(), form->tsAssistant()) << "the page was never visited";
    EXPECT_EQ(TabCaption(), QStringLiteral("&Warning(s): 0, error(s): 0."));
    EXPECT_EQ(form->lbErrors()->count(), 0) << Lines().join('\n').toStdString();
}

TEST_F(WarningsTest, TextsAreCheckedAfterTheDelayOnly) {
    FillClean();
    ClickTreeNode(OptionAt(0, 0));
    Store(form->Option()->eOptionCaption(), QString());
    ASSERT_EQ(OptionAt(0, 0)->Caption, "");
    EXPECT_EQ(TabCaption(), QStringLiteral("&Warning(s): 0, error(s): 0.")) << "not yet: typing goes on";
    WaitForCheck();
    EXPECT_EQ(TabCaption(), QStringLiteral("&Warning(s): 0, error(s): 1."));
    EXPECT_EQ(Lines(), QStringList{QStringLiteral("Error: No caption for option o1.")});
}

TEST_F(WarningsTest, FixingTheInitialScreenClearsItsError) {
    FillClean();
    Root().FirstScreen = "Nowhere";
    form->RebuildTree();
    const QString error = QStringLiteral("Error: First screen defined at top level not found.");
    ASSERT_GE(RowOf(error), 0);
    ASSERT_EQ(TabCaption(), QStringLiteral("&Warning(s): 0, error(s): 1."));

    ClickTreeNode(&Root());
    Store(form->General()->cbInitScreen(), QStringLiteral("S1"));
    ASSERT_EQ(Root().FirstScreen, "S1");
    // The first screen is a link: checked without waiting.
    EXPECT_EQ(RowOf(error), -1);
    EXPECT_EQ(TabCaption(), QStringLiteral("&Warning(s): 0, error(s): 0."));
}

TEST_F(WarningsTest, UndoAndRedoBringTheCountBackAtOnce) {
    FillClean();
    ClickTreeNode(ScreenAt(0));
    Store(form->Screen()->eScreenCaption(), QString());
    WaitForCheck();
    ASSERT_EQ(TabCaption(), QStringLiteral("&Warning(s): 0, error(s): 1."));

    form->Actions().aUndo->trigger();
    ASSERT_EQ(ScreenAt(0)->Caption, "Caption of S1");
    EXPECT_EQ(TabCaption(), QStringLiteral("&Warning(s): 0, error(s): 0."));
    EXPECT_FALSE(form->WarningsTimer()->isActive());
    form->Actions().aRedo->trigger();
    EXPECT_EQ(TabCaption(), QStringLiteral("&Warning(s): 0, error(s): 1."));
    EXPECT_EQ(Lines(), QStringList{QStringLiteral("Error: No caption for screen S1.")});
}

TEST_F(WarningsTest, NewAssistantGetsItsOwnFindingsAtOnce) {
    FillClean();
    ClickTreeNode(ScreenAt(0));
    Store(form->Screen()->eScreenCaption(), QStringLiteral("Changed"));
    ASSERT_TRUE(form->WarningsTimer()->isActive());
    prompter.ExpectMessage(Prompter::MessageKind::WarningYesNoCancel, Prompter::Answer::No);
    form->Actions().aNew->trigger();
    // The new assistant's findings (it has no screens yet), shown before any delay; the pending run is
    // void.
    EXPECT_EQ(Root().Screens.Count(), 0);
    const StructureCheckResult expected = ::CheckStructure(Root());
    ASSERT_GT(expected.Errors, 0);
    EXPECT_EQ(TabCaption(), QString::fromStdString(expected.Caption()));
    EXPECT_EQ(form->lbErrors()->count(), static_cast<int>(expected.Findings.size()));
    EXPECT_GE(RowOf(QStringLiteral("Error: No first screen defined at top level.")), 0);
    EXPECT_FALSE(form->WarningsTimer()->isActive());
}

// Each finding leads to the box that holds its fault, on the panel of its item.
TEST_F(WarningsTest, EachLineFocusesTheBoxAtFault) {
    Fill({{"S1",
           {{"o1", akGoto, "Nowhere"},
            {"o2", akInternet, "https://example.org"},
            {"", akInternet, "https://example.org"},
            {"o4", akRun, "calc"},
            {"o5", akNote},
            {"o6", akScript},
            {"o7", akScript}}},
          {"S1"},
          {"S3"}},
         "");
    OptionAt(0, 1)->Script = "Sub Other";
    OptionAt(0, 6)->Script = "Sub Main()";
    Root().AuthorName.clear();
    Root().Copyright.clear();
    Root().Caption.clear();
    Root().ID.clear();
    Root().Description.clear();
    ScreenAt(2)->Caption.clear();
    form->RebuildTree();

    struct Case {
        const char* line;
        std::function<TAssistBase*()> item;
        std::function<QWidget*()> box;
    };
    GeneralPanel* general = form->General();
    ScreenPanel* screen = form->Screen();
    OptionPanel* option = form->Option();
    const Case cases[] = {
        {"Error: No first screen defined at top level.", [&] { return &Root(); },
         [&] { return general->cbInitScreen(); }},
        {"Warning: No author set at top level.", [&] { return &Root(); }, [&] { return general->eAuthor(); }},
        {"Warning: No copyright set at top level.", [&] { return &Root(); },
         [&] { return general->eCopyright(); }},
        {"Error: No caption for assistant at top level.", [&] { return &Root(); },
         [&] { return general->eProjectCaption(); }},
        {"Error: No ID for assistant at top level.", [&] { return &Root(); },
         [&] { return general->eProjectID(); }},
        {"Warning: No explanation for assistant at top level.", [&] { return &Root(); },
         [&] { return general->mProjectExp(); }},
        {"Error: Screen ID S1 duplicated.", [&] { return ScreenAt(1); }, [&] { return screen->eScreenID(); }},
        {"Error: No caption for screen S3.", [&] { return ScreenAt(2); },
         [&] { return screen->eScreenCaption(); }},
        {"Warning: Screen S3 not linked to main structure.", [&] { return ScreenAt(2); },
         [&] { return screen->eScreenID(); }},
        {"Error: Screen Nowhere target for o1 not found.", [&] { return OptionAt(0, 0); },
         [&] { return option->cbCommand(); }},
        {"Error: No caption for option o1.", [&] { return OptionAt(0, 0); },
         [&] { return option->eOptionCaption(); }},
        // The script box is off for a web page: the action turns it on.
        {"Warning: Option ID o2 script does not appear to have a Sub Main.", [&] { return OptionAt(0, 1); },
         [&] { return option->cbAction(); }},
        {"Warning: Option ID o7 script does not appear to have a Sub Main.", [&] { return OptionAt(0, 6); },
         [&] { return option->mOptionScript(); }},
        {"Error: No ID for option 3 of screen S1.", [&] { return OptionAt(0, 2); },
         [&] { return option->eOptionID(); }},
        {"Warning: Option ID o4 is using a deprecated action type.", [&] { return OptionAt(0, 3); },
         [&] { return option->cbAction(); }},
        {"Warning: Option ID o5 has no notes.", [&] { return OptionAt(0, 4); },
         [&] { return option->bEditNotes(); }},
        {"Error: Option ID o6 script empty.", [&] { return OptionAt(0, 5); },
         [&] { return option->mOptionScript(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        ClickLine(QString::fromUtf8(c.line));
        EXPECT_EQ(form->Pages()->currentWidget(), form->tsAssistant());
        EXPECT_EQ(form->CurrentItem(), c.item());
        QWidget* box = c.box();
        EXPECT_TRUE(box->isVisible());
        EXPECT_TRUE(box->hasFocus()) << "focus on "
                                     << (QApplication::focusWidget() != nullptr
                                             ? QApplication::focusWidget()->objectName().toStdString()
                                             : std::string("nothing"));
    }
}

TEST_F(WarningsTest, ReturnOnALineLeadsToTheBoxAsAClickDoes) {
    FillClean();
    ScreenAt(1)->Caption.clear();
    form->RebuildTree();
    const int row = RowOf(QStringLiteral("Error: No caption for screen S2."));
    ASSERT_GE(row, 0);
    form->Pages()->setCurrentWidget(form->tsErrors());
    FocusByMouse(form->lbErrors());
    form->lbErrors()->setCurrentRow(row);
    QTest::keyClick(form->lbErrors(), Qt::Key_Return);
    EXPECT_EQ(form->Pages()->currentWidget(), form->tsAssistant());
    EXPECT_EQ(form->CurrentItem(), ScreenAt(1));
    EXPECT_TRUE(form->Screen()->eScreenCaption()->hasFocus());
}

TEST_F(WarningsTest, ContextMenuGoesToTheItemAndCopiesTheLine) {
    FillClean();
    OptionAt(0, 1)->Command = "Gone";
    form->RebuildTree();
    EXPECT_EQ(form->lbErrors()->contextMenuPolicy(), Qt::ActionsContextMenu);
    QAction* goTo = ListAction("aWarningGoTo");
    QAction* copy = ListAction("aWarningCopy");
    ASSERT_NE(goTo, nullptr);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(goTo->text(), QStringLiteral("&Go to item"));
    EXPECT_EQ(copy->text(), QStringLiteral("&Copy line"));

    const QString line = QStringLiteral("Error: Screen Gone target for o2 not found.");
    const int row = RowOf(line);
    ASSERT_GE(row, 0);
    form->Pages()->setCurrentWidget(form->tsErrors());
    form->lbErrors()->setCurrentRow(row);
    QApplication::clipboard()->setText(QStringLiteral("before"));
    copy->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), line);
    EXPECT_EQ(form->Pages()->currentWidget(), form->tsErrors()) << "copying goes nowhere";

    goTo->trigger();
    EXPECT_EQ(form->Pages()->currentWidget(), form->tsAssistant());
    EXPECT_EQ(form->CurrentItem(), OptionAt(0, 1));
    EXPECT_TRUE(form->Option()->cbCommand()->hasFocus());
}

// A new ID keeps the tree's nodes (no reset, expansion and selection stay) and renames them; the
// structure follows wherever the ID shows or a link names it.
TEST_F(WarningsTest, NewIdRenamesTreeNodesAndRebuildsTheStructureWhereNeeded) {
    FillClean();
    // A screen reached by nothing yet, and a link to an ID no screen has.
    TAssistScreen* loose = TAssistScreen::Create(Root());
    loose->ID = "Loose";
    loose->Caption = "Loose screen";
    OptionAt(0, 1)->Command = "Later";
    form->RebuildTree();
    form->RebuildStructure();
    const std::vector<std::string> structureBefore = NodeTexts(StructureModel());
    ASSERT_EQ(StructureModel().FirstNodeOf(loose), -1);

    QSignalSpy treeResets(form->TreeModel(), &QAbstractItemModel::modelAboutToBeReset);
    struct Case {
        const char* name;
        std::function<TAssistBase*()> item;
        std::function<QLineEdit*()> box;
        QString id;
        std::string treeText; // the item's node in the tree after the new ID
        bool carried;         // a node of the structure carries the item afterwards
        bool structureChanges;
    };
    const Case cases[] = {
        {"a screen nothing reaches, to another unreached ID", [&] { return loose; },
         [&] { return form->Screen()->eScreenID(); }, QStringLiteral("Elsewhere"), "Elsewhere", false, false},
        {"a screen nothing reaches, to the ID a link names", [&] { return loose; },
         [&] { return form->Screen()->eScreenID(); }, QStringLiteral("LATER"), "LATER", true, true},
        {"an option shown in the structure", [&] { return OptionAt(1, 0); },
         [&] { return form->Option()->eOptionID(); }, QStringLiteral("return"), "return", false, true},
        {"the assistant", [&] { return &Root(); }, [&] { return form->General()->eProjectID(); },
         QStringLiteral("dir\\Guide"), "Guide", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::string> before = NodeTexts(StructureModel());
        ClickTreeNode(c.item());
        Store(c.box(), c.id);
        ASSERT_EQ(c.item()->ID, c.id.toStdString());
        const int node = TreeModel().FirstNodeOf(c.item());
        ASSERT_GE(node, 0);
        EXPECT_EQ(TreeModel().TextAt(node).toStdString(), c.treeText);
        EXPECT_EQ(TreeModel().ItemOf(form->Tree()->currentIndex()), c.item()) << "the selection stays";
        EXPECT_EQ(StructureModel().FirstNodeOf(c.item()) >= 0, c.carried);
        EXPECT_EQ(NodeTexts(StructureModel()) != before, c.structureChanges);
        // The structure matches a rebuild from scratch.
        const std::vector<std::string> shown = NodeTexts(StructureModel());
        form->RebuildStructure();
        EXPECT_EQ(NodeTexts(StructureModel()), shown);
        // IDs are links: checked without waiting.
        EXPECT_FALSE(form->WarningsTimer()->isActive());
        EXPECT_EQ(TabCaption(), QString::fromStdString(::CheckStructure(Root()).Caption()));
    }
    EXPECT_EQ(treeResets.count(), 0);
    EXPECT_NE(NodeTexts(StructureModel()), structureBefore);
}

} // namespace
