// Undo and redo in the editor window: every kind of change restores the model, both views and the
// selection; the clean state; the history's life; the captions; the boxes' own undo.
#include "editor/assistantcommands.h"
#include "editor/assistanttext.h"
#include "editorfixture.h"
#include <QSignalSpy>
#include <QUndoStack>

#include <QAction>
#include <QTest>

#include <functional>

namespace {

// Everything undo has to restore: the model as a file would hold it, both views and the current item.
struct EditorState {
    std::string text;
    std::vector<std::string> tree;
    std::vector<std::string> structure;
    std::string current;
    bool operator==(const EditorState&) const = default;
};

} // namespace

class UndoTest : public EditorFixture {
protected:
    void SetUp() override {
        Start();
        Fill({ScreenEntry("S1", {OptionEntry("O1", akGoto, "S2"), OptionEntry("O2", akScript)}),
              ScreenEntry("S2", {OptionEntry("O3", akGoto, "S3")}), ScreenEntry("S3")},
             "S1");
        TNote* note = Root().Screens.Item(1)->Options.Item(0)->Notes.Add();
        note->Name = "Gloves";
        note->ID = "N1";
        note->Type = "Safety";
        note->Text = "Wear gloves.";
        Root().Screens.Item(0)->Image = "pic.png";
        Root().Changed = false;
        form->ClearHistory();
        ClickTreeNode(&Root());
    }

    EditorState State() {
        EditorState state;
        state.text = AssistantTextKeepingState(Root());
        state.tree = NodeTexts(TreeModel());
        state.structure = NodeTexts(StructureModel());
        state.current = form->CurrentItem() != nullptr ? form->CurrentItem()->ID : "<none>";
        return state;
    }

    TAssistBase* Find(const std::string& id) {
        if (Root().ID == id)
            return &Root();
        for (TAssistScreen& screen : Root().Screens) {
            if (screen.ID == id)
                return &screen;
            for (TAssistOption& option : screen.Options)
                if (option.ID == id)
                    return &option;
        }
        return nullptr;
    }
    void Select(const std::string& id) { ClickTreeNode(Find(id)); }
    void Trigger(QAction* action) {
        action->trigger();
        QApplication::processEvents();
    }
    void Undo() { Trigger(form->Actions().aUndo); }
    void Redo() { Trigger(form->Actions().aRedo); }
    // Puts text into a memo as typing would and stores it.
    void TypeMemo(QPlainTextEdit* memo, const QString& text) {
        FocusByMouse(memo);
        memo->selectAll();
        memo->insertPlainText(text);
        form->CommitFocusedBox();
    }
    void TypeAndStore(QLineEdit* box, const QString& text) {
        Type(box, text);
        form->CommitFocusedBox();
    }
    void SetCombo(QComboBox* box, const QString& text) {
        FocusByMouse(box);
        box->setCurrentText(text);
        form->CommitFocusedBox();
    }
    std::string Caption(QAction* action) { return action->text().toStdString(); }
};

TEST_F(UndoTest, EveryKindOfChangeIsUndoneAndRedoneWithViewsAndSelection) {
    using Yes = Prompter::Answer;
    struct Case {
        const char* name;
        std::function<void()> perform;
        int steps;               // history entries the change makes
        const char* undoCurrent; // ID of the item selected after undoing
        const char* redoCurrent; // ... and after redoing
    };
    const Case cases[] = {
        {"assistant ID", [this] { TypeAndStore(form->General()->eProjectID(), "B7"); }, 1, "A1", "B7"},
        {"screen ID renames links",
         [this] {
             Select("S2");
             TypeAndStore(form->Screen()->eScreenID(), "S9");
         },
         1, "S2", "S9"},
        {"option caption",
         [this] {
             Select("O2");
             TypeAndStore(form->Option()->eOptionCaption(), "Second");
         },
         1, "O2", "O2"},
        {"screen description",
         [this] {
             Select("S3");
             TypeMemo(form->Screen()->mScreenExp(), "one\ntwo");
         },
         1, "S3", "S3"},
        {"first screen", [this] { SetCombo(form->General()->cbInitScreen(), "S3"); }, 1, "A1", "A1"},
        {"action",
         [this] {
             Select("O1");
             FocusByMouse(form->Option()->cbAction());
             form->Option()->cbAction()->setCurrentIndex(static_cast<int>(akNote));
             form->CommitFocusedBox();
         },
         1, "O1", "O1"},
        {"command",
         [this] {
             Select("O1");
             SetCombo(form->Option()->cbCommand(), "S3");
         },
         1, "O1", "O1"},
        {"script",
         [this] {
             Select("O2");
             TypeMemo(form->Option()->mOptionScript(), "run\nstop");
         },
         1, "O2", "O2"},
        {"author", [this] { TypeAndStore(form->General()->eAuthor(), "Bea"); }, 1, "A1", "A1"},
        {"version", [this] { TypeAndStore(form->General()->eVersion(), "2.1"); }, 1, "A1", "A1"},
        {"copyright", [this] { TypeAndStore(form->General()->eCopyright(), "(c) me"); }, 1, "A1", "A1"},
        {"image",
         [this] {
             Select("S1");
             TypeAndStore(form->Screen()->eScreenImage(), "");
         },
         1, "S1", "S1"},
        {"new screen", [this] { Trigger(form->Actions().aNewScreen); }, 1, "A1", "S4"},
        {"delete screen with options and notes",
         [this] {
             Select("S2");
             prompter.ExpectMessage(Prompter::MessageKind::ConfirmYesNo, Yes::Yes);
             Trigger(form->Actions().aDelScreen);
         },
         1, "S2", "A1"},
        {"new option",
         [this] {
             Select("S3");
             Trigger(form->Actions().aNewOption);
         },
         1, "S3", "S3.1"},
        {"delete option",
         [this] {
             Select("O1");
             prompter.ExpectMessage(Prompter::MessageKind::ConfirmYesNo, Yes::Yes);
             Trigger(form->Actions().aDelOption);
         },
         1, "O1", "S1"},
        {"screen up",
         [this] {
             Select("S3");
             Trigger(form->Actions().aUp);
         },
         1, "S3", "S3"},
        {"option down",
         [this] {
             Select("O1");
             Trigger(form->Actions().aDown);
         },
         1, "O1", "O1"},
        {"screen created from the first-screen prompt",
         [this] {
             prompter.ExpectMessage(Prompter::MessageKind::ConfirmYesNo, Yes::Yes);
             SetCombo(form->General()->cbInitScreen(), "S7");
         },
         2, "A1", "S7"},
        {"notes",
         [this] {
             TAssistOption* option = dynamic_cast<TAssistOption*>(Find("O3"));
             Select("O3");
             TNote added;
             added.Name = "Goggles";
             added.ID = "N2";
             std::vector<TNote> notes{*option->Notes.Item(0), added};
             form->Edits().ChangeNotes(*option, notes); // the Option panel follows by itself
         },
         1, "O3", "O3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp(); // a fresh window and assistant for each change
        const EditorState before = State();
        c.perform();
        ExpectViewsMatchModel();
        const EditorState after = State();
        ASSERT_NE(after.text, before.text) << "the change changed nothing";
        ASSERT_EQ(form->UndoStack()->count(), c.steps);
        ASSERT_TRUE(Root().Changed);

        for (int i = 0; i < c.steps; ++i)
            Undo();
        ExpectViewsMatchModel();
        EditorState undone = State();
        EXPECT_EQ(undone.text, before.text);
        EXPECT_EQ(undone.tree, before.tree);
        EXPECT_EQ(undone.structure, before.structure);
        EXPECT_EQ(undone.current, c.undoCurrent);
        EXPECT_FALSE(Root().Changed) << "back at the state last saved";

        for (int i = 0; i < c.steps; ++i)
            Redo();
        ExpectViewsMatchModel();
        EditorState redone = State();
        EXPECT_EQ(redone.text, after.text);
        EXPECT_EQ(redone.tree, after.tree);
        EXPECT_EQ(redone.structure, after.structure);
        EXPECT_EQ(redone.current, c.redoCurrent);
        EXPECT_TRUE(Root().Changed);
    }
}

TEST_F(UndoTest, UndoneDeletionBringsBackTheSameScreenWithItsOptionsAndNotes) {
    TAssistScreen* screen = ScreenAt(1);
    TAssistOption* option = screen->Options.Item(0);
    Select("S2");
    prompter.ExpectMessage(Prompter::MessageKind::ConfirmYesNo, Prompter::Answer::Yes);
    Trigger(form->Actions().aDelScreen);
    ASSERT_EQ(Root().Screens.Count(), 2);
    Undo();
    ASSERT_EQ(Root().Screens.Count(), 3);
    EXPECT_EQ(ScreenAt(1), screen) << "the very object comes back at its place";
    ASSERT_EQ(screen->Options.Count(), 1);
    EXPECT_EQ(screen->Options.Item(0), option);
    ASSERT_EQ(option->Notes.Count(), 1);
    EXPECT_EQ(option->Notes.Item(0)->Name, "Gloves");
    EXPECT_EQ(form->Screen()->eScreenID()->text(), "S2") << "the panel shows the restored screen";
}

TEST_F(UndoTest, UndoBackToTheSavedStateRestoresTheBuildDateAndSavingMovesTheCleanState) {
    Root().BuildDate = "19990101";
    form->ClearHistory();
    TypeAndStore(form->General()->eAuthor(), "Bea");
    EXPECT_NE(Root().BuildDate, "19990101") << "a change stamps the date";
    TypeAndStore(form->General()->eVersion(), "3");
    Undo();
    EXPECT_TRUE(Root().Changed) << "one change is still not saved";
    Undo();
    EXPECT_FALSE(Root().Changed);
    EXPECT_EQ(Root().BuildDate, "19990101");

    // After a save the saved position is the clean one; undoing past it is a change again.
    QTemporaryDir dir;
    Root().FileName = dir.filePath("a.amf").toStdString();
    Redo();
    Trigger(form->Actions().aSave);
    EXPECT_FALSE(Root().Changed);
    Undo();
    EXPECT_TRUE(Root().Changed);
    Redo();
    EXPECT_FALSE(Root().Changed);

    // A new change after undoing past the saved state makes that state unreachable.
    Undo();
    TypeAndStore(form->General()->eCopyright(), "x");
    Undo();
    EXPECT_TRUE(Root().Changed);
}

TEST_F(UndoTest, MenuCaptionsNameTheChange) {
    QAction* undo = form->Actions().aUndo;
    QAction* redo = form->Actions().aRedo;
    form->Tree()->setFocus(); // no box with the focus: the actions follow the history alone
    QApplication::processEvents();
    EXPECT_EQ(Caption(undo), "&Undo");
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());

    Select("S3");
    prompter.ExpectMessage(Prompter::MessageKind::ConfirmYesNo, Prompter::Answer::Yes);
    Trigger(form->Actions().aDelScreen);
    EXPECT_EQ(Caption(undo), "&Undo Delete screen S3");
    Undo();
    EXPECT_EQ(Caption(redo), "&Redo Delete screen S3");
    EXPECT_EQ(Caption(undo), "&Undo");

    Select("S1");
    TypeAndStore(form->Screen()->eScreenID(), "S&1");
    EXPECT_EQ(Caption(undo), "&Undo Change ID of S1");
    EXPECT_EQ(Caption(redo), "&Redo") << "a new change drops what was undone";
    TypeAndStore(form->Screen()->eScreenCaption(), "Start");
    EXPECT_EQ(Caption(undo), "&Undo Change caption of S&&1") << "an ampersand shows as itself";
    Trigger(form->Actions().aNewScreen);
    EXPECT_EQ(undo->text(), "&Undo New screen S4");
}

TEST_F(UndoTest, NewAndOpenClearTheHistory) {
    TypeAndStore(form->General()->eAuthor(), "Bea");
    prompter.ExpectMessage(Prompter::MessageKind::WarningYesNoCancel, Prompter::Answer::No);
    Trigger(form->Actions().aNew);
    EXPECT_EQ(form->UndoStack()->count(), 0);
    EXPECT_FALSE(form->Actions().aUndo->text().contains("Bea"));

    QTemporaryDir dir;
    const std::string file = dir.filePath("b.amf").toStdString();
    Root().FileName = file;
    Trigger(form->Actions().aSave);
    TypeAndStore(form->General()->eAuthor(), "Cid");
    ASSERT_EQ(form->UndoStack()->count(), 1);
    prompter.ExpectMessage(Prompter::MessageKind::WarningYesNoCancel, Prompter::Answer::No);
    prompter.ExpectOpenFile(file);
    Trigger(form->Actions().aOpen);
    EXPECT_EQ(form->UndoStack()->count(), 0);
    Undo(); // nothing to undo: the opened assistant stays as read
    EXPECT_FALSE(Root().Changed);
}

TEST_F(UndoTest, CtrlZGoesToTheFocusedBoxWhileItHasTypingToTakeBack) {
    TypeAndStore(form->General()->eAuthor(), "Bea"); // a change of the model to undo later
    QLineEdit* caption = form->General()->eProjectCaption();
    FocusByMouse(caption);
    caption->selectAll();
    QTest::keyClicks(caption, "Typed");
    ASSERT_EQ(caption->text(), "Typed");

    QTest::keyClick(caption, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NE(caption->text(), "Typed") << "the box took back its own typing";
    EXPECT_EQ(Root().AuthorName, "Bea") << "the model is untouched";
    while (caption->isUndoAvailable())
        QTest::keyClick(caption, Qt::Key_Z, Qt::ControlModifier);

    // Nothing left in the box: the key goes to the model's history.
    QTest::keyClick(caption, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NE(Root().AuthorName, "Bea");
    FocusByMouse(form->Tree());
    QTest::keyClick(form->Tree(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Root().AuthorName, "Bea") << "Ctrl+Y redoes";
    QTest::keyClick(form->Tree(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(form->Tree(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Root().AuthorName, "Bea") << "Ctrl+Shift+Z redoes";
}

TEST_F(UndoTest, UndoFirstStoresThePendingBoxAndTakesThatBack) {
    QLineEdit* author = form->General()->eAuthor();
    const std::string original = Root().AuthorName;
    Type(author, "Pending");
    // From the menu: the box has typing of its own, so the first Undo is the box's.
    Undo();
    EXPECT_EQ(form->UndoStack()->count(), 0);
    author->setText("Pending"); // set without typing: nothing for the box to undo
    Undo();
    EXPECT_EQ(form->UndoStack()->count(), 1) << "the pending value was stored first";
    EXPECT_EQ(Root().AuthorName, original) << "and then taken back";
    EXPECT_EQ(author->text().toStdString(), original);
    EXPECT_FALSE(Root().Changed);
}

TEST_F(UndoTest, AnEditWithoutANewIDOrLinkRefreshesRowsAndAnIDChangeRenamesTheNode) {
    QSignalSpy resets(form->TreeModel(), &QAbstractItemModel::modelReset);
    QSignalSpy rows(form->TreeModel(), &QAbstractItemModel::dataChanged);
    Select("S2");
    const int node = TreeModel().FirstNodeOf(Find("S2"));
    TypeAndStore(form->Screen()->eScreenCaption(), "Second screen");
    EXPECT_EQ(resets.count(), 0) << "a caption renames no node";
    ASSERT_GE(rows.count(), 1);
    EXPECT_EQ(TreeModel().NodeOf(rows.last().at(0).value<QModelIndex>()), node);

    // An ID is the node's text: the node keeps its place and is renamed (its row refreshed); the links
    // it is a target of are the structure's business.
    const int rowsBefore = static_cast<int>(rows.count());
    TypeAndStore(form->Screen()->eScreenID(), "S8");
    EXPECT_EQ(resets.count(), 0) << "a new ID moves no node";
    ASSERT_GT(rows.count(), rowsBefore);
    EXPECT_EQ(TreeModel().NodeOf(rows.last().at(0).value<QModelIndex>()), node);
    EXPECT_EQ(TreeModel().FirstNodeOf(Find("S8")), node);
    EXPECT_EQ(NodeTexts(TreeModel())[4], " S8");
}

TEST_F(UndoTest, StoringTheSameBoxAgainMergesIntoOneStep) {
    QLineEdit* caption = form->General()->eProjectCaption();
    const std::string original = Root().Caption;
    TypeAndStore(caption, "Fir");
    // The focus stays in the box: typing goes on and is stored again (as the autosave does).
    caption->end(false);
    caption->insert("st");
    form->CommitFocusedBox();
    EXPECT_EQ(Root().Caption, "First");
    EXPECT_EQ(form->UndoStack()->count(), 1);
    TypeAndStore(form->General()->eAuthor(), "Bea");
    EXPECT_EQ(form->UndoStack()->count(), 2) << "another box is another step";

    FocusByMouse(form->Tree());
    Undo();
    Undo();
    EXPECT_EQ(Root().Caption, original) << "one undo takes back all the typing of the box";
    EXPECT_FALSE(Root().Changed);
}

TEST_F(UndoTest, CommandsOverManyPlacesShareTheStackAndReachTheViews) {
    TAssistScreen& s2 = *static_cast<TAssistScreen*>(Find("S2"));
    form->UndoStack()->push(new RenameScreenCommand(Root(), s2, "Middle", form->DocumentView()));
    EXPECT_EQ(NodeTexts(TreeModel())[4], " Middle") << "the tree was rebuilt";
    EXPECT_EQ(Root().Screens.Item(0)->Options.Item(0)->Command, "Middle") << "the link follows";
    EXPECT_TRUE(Root().Changed);
    EXPECT_EQ(Caption(form->Actions().aUndo), "&Undo Rename screen");

    Undo();
    EXPECT_EQ(NodeTexts(TreeModel())[4], " S2");
    EXPECT_FALSE(Root().Changed) << "back at the clean state";
    EXPECT_EQ(form->CurrentItem(), &s2);
}
