// Find and replace, Go to, Rename screen, Duplicate and drag and drop as the editor window runs them:
// the short-cuts reach the panel, every change is one step of the window's undo, and the find panel's
// list follows the assistant.
#include "editor/findpanel.h"
#include "editor/gotoanything.h"
#include "editor/renamescreendialog.h"
#include "editor/screenpanel.h"
#include "editorfixture.h"

#include <QAction>
#include <QDockWidget>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <set>

class FindWindowTest : public EditorFixture {
protected:
    void SetUp() override {
        Start();
        Fill({ScreenEntry("S1", {OptionEntry("O1", akGoto, "S2"), OptionEntry("O2", akGoto, "s2")}),
              ScreenEntry("S2", {OptionEntry("O3", akGoto, "S3")}), ScreenEntry("S3", {OptionEntry("O4")})},
             "S2");
        form->ClearHistory();
        ClickTreeNode(&Root());
    }

    FindPanel* Panel() const { return form->Find(); }
    QLineEdit* PanelBox(const char* name) const {
        return Panel()->findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    void Trigger(QAction* action) {
        action->trigger();
        QApplication::processEvents();
    }
    void Undo() { Trigger(form->Actions().aUndo); }
    void Redo() { Trigger(form->Actions().aRedo); }
    std::vector<std::string> Captions() const {
        std::vector<std::string> captions;
        for (TAssistScreen& screen : Root().Screens)
            captions.push_back(screen.Caption);
        return captions;
    }
    std::vector<std::string> ScreenIDs() const {
        std::vector<std::string> ids;
        for (TAssistScreen& screen : Root().Screens)
            ids.push_back(screen.ID);
        return ids;
    }
    // Answers the modal dialog the next command opens: `answer` runs on it once it is up.
    void AnswerModal(std::function<void(QDialog*)> answer) {
        // Each poll is a copy carrying its count, so no object refers to itself and nothing is left behind.
        struct Poll {
            std::function<void(QDialog*)> answer;
            int tries = 0;
            void operator()() const {
                if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                    answer(dialog);
                    return;
                }
                if (tries + 1 < 200)
                    QTimer::singleShot(10, Poll{answer, tries + 1});
                else
                    ADD_FAILURE() << "no dialog opened";
            }
        };
        QTimer::singleShot(0, Poll{answer, 0});
    }
};

TEST_F(FindWindowTest, CtrlFShowsThePanelAndF3PutsTheCursorOnTheMatch) {
    ScreenAt(1)->Caption = "Reset the router";
    form->RebuildTree();
    ASSERT_FALSE(form->FindDock()->isVisible());

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
    QApplication::processEvents();
    ASSERT_TRUE(form->FindDock()->isVisible());
    EXPECT_TRUE(PanelBox("eFind")->hasFocus());

    QTest::keyClicks(PanelBox("eFind"), QStringLiteral("router"));
    QTest::keyClick(PanelBox("eFind"), Qt::Key_F3);
    QApplication::processEvents();
    EXPECT_EQ(Panel()->MatchCount(), 1);
    ASSERT_EQ(form->CurrentItem(), ScreenAt(1));
    QLineEdit* caption = form->Screen()->eScreenCaption();
    EXPECT_TRUE(caption->hasFocus());
    EXPECT_EQ(caption->selectedText(), QStringLiteral("router"));
    EXPECT_EQ(caption->selectionStart(), 10);

    // Escape in the panel closes it and gives the keyboard back to the tree.
    PanelBox("eFind")->setFocus();
    QTest::keyClick(PanelBox("eFind"), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_FALSE(form->FindDock()->isVisible());
    EXPECT_TRUE(form->Tree()->hasFocus());
}

// Each match shows its item in the panel and makes it the tree's current row, the assistant's own
// fields included, so that the tree never points at another item than the panel shows.
TEST_F(FindWindowTest, EveryMatchMakesItsItemTheTreesCurrentRow) {
    Root().Caption = "Router guide";
    ScreenAt(1)->Caption = "Reset the router";
    ScreenAt(1)->Options.Item(0)->Caption = "router lights";
    form->RebuildTree();
    ClickTreeNode(ScreenAt(2)->Options.Item(0));
    Trigger(form->Actions().aFind);
    QTest::keyClicks(PanelBox("eFind"), QStringLiteral("router"));
    std::set<const TAssistBase*> shown;
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        QTest::keyClick(PanelBox("eFind"), Qt::Key_F3);
        QApplication::processEvents();
        ASSERT_NE(form->CurrentItem(), nullptr);
        EXPECT_EQ(TreeModel().ItemOf(form->Tree()->currentIndex()), form->CurrentItem());
        shown.insert(form->CurrentItem());
        PanelBox("eFind")->setFocus();
    }
    EXPECT_EQ(Panel()->MatchCount(), 3);
    EXPECT_EQ(shown, (std::set<const TAssistBase*>{&Root(), ScreenAt(1), ScreenAt(1)->Options.Item(0)}));
}

TEST_F(FindWindowTest, ReplaceAllIsOneStepOfTheWindowsUndo) {
    Trigger(form->Actions().aFind);
    PanelBox("eFind")->setText(QStringLiteral("Caption of"));
    PanelBox("eReplace")->setText(QStringLiteral("Title of"));
    Panel()->findChild<QPushButton*>(QStringLiteral("bReplaceAll"))->click();
    QApplication::processEvents();
    const std::vector<std::string> replaced = {"Title of S1", "Title of S2", "Title of S3"};
    const std::vector<std::string> original = {"Caption of S1", "Caption of S2", "Caption of S3"};
    EXPECT_EQ(Captions(), replaced);
    EXPECT_EQ(Panel()->MatchCount(), 0) << "the list is searched again after the change";
    EXPECT_EQ(form->UndoStack()->count(), 1);

    ClickTreeNode(&Root()); // the undo is the window's, not the box's
    Undo();
    EXPECT_EQ(Captions(), original);
    EXPECT_EQ(Panel()->MatchCount(), 3);
    Redo();
    EXPECT_EQ(Captions(), replaced);
}

TEST_F(FindWindowTest, RenameScreenChangesItsReferencesAndUndoesInOneStep) {
    ClickTreeNode(ScreenAt(1));
    AnswerModal([](QDialog* dialog) {
        dialog->findChild<QLineEdit*>(QStringLiteral("eNewID"))->setText(QStringLiteral("Finish"));
        dialog->accept();
    });
    Trigger(form->Actions().aRenameScreen);
    EXPECT_EQ(ScreenIDs(), (std::vector<std::string>{"S1", "Finish", "S3"}));
    // O1 and O2 (compared as the check compares IDs) and the first screen lead to it.
    EXPECT_EQ(ScreenAt(0)->Options.Item(0)->Command, "Finish");
    EXPECT_EQ(ScreenAt(0)->Options.Item(1)->Command, "Finish");
    EXPECT_EQ(Root().FirstScreen, "Finish");
    EXPECT_EQ(form->statusBar()->currentMessage(), ScreenRenameReport("S2", "Finish", 3));
    EXPECT_EQ(form->UndoStack()->count(), 1);

    Undo();
    EXPECT_EQ(ScreenIDs(), (std::vector<std::string>{"S1", "S2", "S3"}));
    EXPECT_EQ(ScreenAt(0)->Options.Item(0)->Command, "S2");
    EXPECT_EQ(ScreenAt(0)->Options.Item(1)->Command, "s2");
    EXPECT_EQ(Root().FirstScreen, "S2");

    // Cancelling changes nothing and adds no step.
    ClickTreeNode(ScreenAt(1));
    AnswerModal([](QDialog* dialog) { dialog->reject(); });
    Trigger(form->Actions().aRenameScreen);
    EXPECT_EQ(ScreenIDs(), (std::vector<std::string>{"S1", "S2", "S3"}));
    EXPECT_EQ(form->UndoStack()->index(), 0);
}

TEST_F(FindWindowTest, DuplicateAddsACopyWithAFreshIDRightAfterTheOriginal) {
    struct Case {
        const char* name;
        bool option; // the first option of S1, else S1 itself
    };
    const Case cases[] = {{"screen", false}, {"option", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TAssistBase* original =
            c.option ? static_cast<TAssistBase*>(ScreenAt(0)->Options.Item(0)) : ScreenAt(0);
        auto* screen = dynamic_cast<TAssistScreen*>(original);
        auto* option = dynamic_cast<TAssistOption*>(original);
        ClickTreeNode(original);
        const int stepsBefore = form->UndoStack()->index();

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_D, Qt::ControlModifier);
        QApplication::processEvents();
        EXPECT_EQ(form->UndoStack()->index(), stepsBefore + 1);
        TAssistBase* copy = nullptr;
        if (screen != nullptr) {
            ASSERT_EQ(Root().Screens.Count(), 4);
            EXPECT_EQ(Root().Screens.Item(0), screen);
            auto* copied = Root().Screens.Item(1);
            copy = copied;
            EXPECT_EQ(copied->Caption, screen->Caption);
            ASSERT_EQ(copied->Options.Count(), screen->Options.Count());
            std::set<std::string> ids;
            for (TAssistScreen& s : Root().Screens)
                ids.insert(s.ID);
            EXPECT_EQ(ids.size(), 4u) << "the copy's ID is fresh";
            for (int i = 0; i < copied->Options.Count(); ++i) {
                EXPECT_NE(copied->Options.Item(i)->ID, screen->Options.Item(i)->ID);
                EXPECT_EQ(copied->Options.Item(i)->Command, screen->Options.Item(i)->Command);
            }
        } else {
            TAssistScreen* owner = option->Owner;
            ASSERT_EQ(owner->Options.Count(), 3);
            EXPECT_EQ(owner->Options.Item(0), option);
            auto* copied = owner->Options.Item(1);
            copy = copied;
            EXPECT_EQ(copied->Command, option->Command);
            EXPECT_NE(copied->ID, option->ID);
            EXPECT_NE(copied->ID, owner->Options.Item(2)->ID);
        }
        EXPECT_EQ(form->CurrentItem(), copy) << "the copy is selected";

        Undo();
        EXPECT_EQ(form->UndoStack()->index(), stepsBefore);
        EXPECT_EQ(Root().Screens.Count(), 3);
        EXPECT_EQ(ScreenAt(0)->Options.Count(), 2);
        EXPECT_EQ(ScreenIDs(), (std::vector<std::string>{"S1", "S2", "S3"}));
    }
}

TEST_F(FindWindowTest, GoToSelectsTheChosenItem) {
    Trigger(form->Actions().aGoTo);
    GoToAnything* box = form->GoTo();
    ASSERT_TRUE(box->isVisible());
    QLineEdit* query = box->findChild<QLineEdit*>();
    ASSERT_NE(query, nullptr);
    QTest::keyClicks(query, QStringLiteral("O3"));
    ASSERT_GE(box->RowCount(), 1);
    EXPECT_EQ(box->ItemAt(box->CurrentRow()), ScreenAt(1)->Options.Item(0));
    QTest::keyClick(query, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(form->CurrentItem(), ScreenAt(1)->Options.Item(0));
}

TEST_F(FindWindowTest, DroppingAnOptionOnAnotherScreenMovesItInOneStep) {
    ItemTreeModel& model = TreeModel();
    TAssistOption* moved = ScreenAt(0)->Options.Item(0);
    const QModelIndex source = model.IndexOfNode(model.FirstNodeOf(moved));
    std::unique_ptr<QMimeData> data(model.mimeData({source}));
    ASSERT_NE(data, nullptr);
    const QModelIndex target = model.IndexOfNode(model.FirstNodeOf(ScreenAt(2)));
    ASSERT_TRUE(model.dropMimeData(data.get(), Qt::MoveAction, 0, 0, target));
    QApplication::processEvents();
    EXPECT_EQ(ScreenAt(2)->Options.Item(0), moved);
    EXPECT_EQ(ScreenAt(0)->Options.Count(), 1);
    EXPECT_EQ(form->UndoStack()->count(), 1);

    Undo();
    EXPECT_EQ(ScreenAt(0)->Options.Item(0), moved);
    EXPECT_EQ(ScreenAt(2)->Options.Count(), 1);
}

TEST_F(FindWindowTest, NewAssistantIsSearchedInsteadOfTheOldOne) {
    Trigger(form->Actions().aFind);
    PanelBox("eFind")->setText(QStringLiteral("Caption of"));
    Panel()->refresh();
    EXPECT_EQ(Panel()->MatchCount(), 3);
    Trigger(form->Actions().aNew);
    EXPECT_EQ(Panel()->MatchCount(), 0);
}

TEST_F(FindWindowTest, NewEditEntriesHaveAcceleratorsOfTheirOwn) {
    QMenu* edit = nullptr;
    for (QAction* entry : form->menuBar()->actions()) {
        if (entry->text() == QStringLiteral("&Edit"))
            edit = entry->menu();
    }
    ASSERT_NE(edit, nullptr);
    auto letter = [](const QString& text) {
        const qsizetype amp = text.indexOf(u'&');
        return amp >= 0 && amp + 1 < text.size() ? text.at(amp + 1).toLower() : QChar();
    };
    for (const char* name :
         {"aFind", "aFindNext", "aFindPrevious", "aGoTo", "aRenameScreen", "aDuplicate", "aOptions"}) {
        SCOPED_TRACE(name);
        QAction* entry = nullptr;
        for (QAction* a : edit->actions()) {
            if (a->objectName() == QString::fromLatin1(name))
                entry = a;
        }
        ASSERT_NE(entry, nullptr);
        const QChar own = letter(entry->text());
        ASSERT_FALSE(own.isNull());
        for (QAction* other : edit->actions()) {
            if (other != entry && !other->isSeparator()) {
                EXPECT_NE(letter(other->text()), own) << other->objectName().toStdString();
            }
        }
    }
}
