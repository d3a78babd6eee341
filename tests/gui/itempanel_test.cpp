// The edit panels on their own, without a window: each shows the item it is given, stores its boxes into
// that item through the edit layer when they are left, and forgets its item when given another kind.
#include "editor/documentedits.h"
#include "editor/dropdowncombobox.h"
#include "editor/exithandlers.h"
#include "editor/generalpanel.h"
#include "editor/optionpanel.h"
#include "editor/screenpanel.h"
#include "model/assistroot.h"
#include "scriptedprompter.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

#include <vector>

namespace {

class ItemPanelTest : public ::testing::Test {
protected:
    TAssistRoot root{"{00000000-0000-0000-0000-000000000000} ann"};
    TDocumentEdits edits{root};
    ExitHandlerRegistry registry;
    ScriptedPrompter prompter;
    GeneralPanel general;
    ScreenPanel screenPanel;
    OptionPanel optionPanel;
    std::vector<DocumentChange> changes;
    TAssistScreen* screen = nullptr;
    TAssistOption* option = nullptr;

    void SetUp() override {
        screen = TAssistScreen::Create(root);
        screen->ID = "S1";
        option = TAssistOption::Create(*screen);
        option->ID = "O1";
        root.Changed = false;
        ItemPanel::Services services;
        services.edits = &edits;
        services.prompter = [this]() -> Prompter& { return prompter; };
        services.exitHandlers = &registry;
        for (ItemPanel* panel : {static_cast<ItemPanel*>(&general), static_cast<ItemPanel*>(&screenPanel),
                                 static_cast<ItemPanel*>(&optionPanel)})
            panel->Attach(services);
        QObject::connect(&edits, &TDocumentEdits::DocumentChanged,
                         [this](const DocumentChange& change) { changes.push_back(change); });
    }
    // Leaving the box, as the focus moving on would.
    void Leave(QWidget* box) { registry.RunFor(box); }
};

} // namespace

TEST_F(ItemPanelTest, EachPanelShowsOnlyItsKindAndStoresIntoItsOwnItem) {
    EXPECT_TRUE(screenPanel.ShowItem(screen));
    EXPECT_FALSE(screenPanel.ShowItem(option)) << "an option is not the Screen panel's";
    EXPECT_EQ(screenPanel.Item(), nullptr);
    screenPanel.eScreenCaption()->setText("Typed after the item changed");
    Leave(screenPanel.eScreenCaption());
    EXPECT_TRUE(changes.empty()) << "a panel without an item stores nothing";

    ASSERT_TRUE(screenPanel.ShowItem(screen));
    EXPECT_EQ(screenPanel.eScreenID()->text(), "S1");
    screenPanel.eScreenCaption()->setText("Welcome");
    Leave(screenPanel.eScreenCaption());
    EXPECT_EQ(screen->Caption, "Welcome");
    EXPECT_TRUE(root.Changed);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].views, ViewRebuild::None) << "a caption changes no view";
    EXPECT_EQ(changes[0].item, screen);

    Leave(screenPanel.eScreenCaption());
    EXPECT_EQ(changes.size(), 1u) << "an unchanged box stores nothing";

    screenPanel.eScreenID()->setText("S2");
    Leave(screenPanel.eScreenID());
    EXPECT_EQ(screen->ID, "S2");
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[1].views, ViewRebuild::Both) << "an ID renames a node and a link target";

    ASSERT_TRUE(general.ShowItem(&root));
    EXPECT_FALSE(general.ShowItem(screen));
    general.eAuthor()->setText("Bea");
    Leave(general.eAuthor());
    EXPECT_NE(root.AuthorName, "Bea");
}

TEST_F(ItemPanelTest, OptionPanelStoresActionCommandAndScriptWithTheirAnswers) {
    ASSERT_TRUE(optionPanel.ShowItem(option));
    optionPanel.cbAction()->setCurrentIndex(static_cast<int>(akNote));
    Leave(optionPanel.cbAction());
    EXPECT_EQ(option->Action, akNote);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].views, ViewRebuild::Structure) << "the action changes the navigation only";

    // A go-to command naming no screen offers to create it; Yes appends it (both views out of date).
    optionPanel.cbAction()->setCurrentIndex(static_cast<int>(akGoto));
    Leave(optionPanel.cbAction());
    optionPanel.cbCommand()->setEditText("S9");
    prompter.ExpectMessage(Prompter::MessageKind::ConfirmYesNo, Prompter::Answer::Yes);
    Leave(optionPanel.cbCommand());
    EXPECT_EQ(option->Command, "S9");
    ASSERT_EQ(root.Screens.Count(), 2);
    EXPECT_EQ(root.Screens.Item(1)->ID, "S9");
    EXPECT_EQ(changes.back().added, root.Screens.Item(1)) << "the new screen's node is added in place";
    EXPECT_EQ(changes.back().views, ViewRebuild::None);
    EXPECT_TRUE(changes.back().structural);

    optionPanel.mOptionScript()->setPlainText("Sub Main\n  x\nEnd Sub\n\n");
    Leave(optionPanel.mOptionScript());
    EXPECT_EQ(option->Script, "Sub Main\rx\rEnd Sub");
}

TEST_F(ItemPanelTest, NotesChangedElsewhereShowInTheOptionPanel) {
    ASSERT_TRUE(optionPanel.ShowItem(option));
    EXPECT_EQ(optionPanel.lbOptionNotes()->count(), 0);
    TNote note;
    note.Name = "Gloves";
    note.ID = "N1";
    note.Type = "Safety";
    edits.ChangeNotes(*option, {note});
    ASSERT_EQ(optionPanel.lbOptionNotes()->count(), 1);
    EXPECT_EQ(optionPanel.lbOptionNotes()->item(0)->text(), "Gloves\tN1\tSafety");
}

TEST_F(ItemPanelTest, FirstScreenNamingNoScreenKeepsTheTextWhenTheOfferIsDeclined) {
    ASSERT_TRUE(general.ShowItem(&root));
    general.cbInitScreen()->setEditText("s1");
    Leave(general.cbInitScreen());
    EXPECT_EQ(root.FirstScreen, "s1") << "a screen ID matches without regard to case: no question";
    general.cbInitScreen()->setEditText("Nowhere");
    prompter.ExpectMessage(Prompter::MessageKind::ConfirmYesNo, Prompter::Answer::No);
    Leave(general.cbInitScreen());
    EXPECT_EQ(root.FirstScreen, "Nowhere");
    EXPECT_EQ(root.Screens.Count(), 1);
    EXPECT_EQ(changes.back().views, ViewRebuild::Structure);
}
