// The rename dialog, driven by typing: which new IDs it refuses and why, how many references it says
// will change, and the rename it leads to as one undoable step with its status-bar report.
#include "editor/assistantcommands.h"
#include "editor/renamescreendialog.h"

#include "../core/assistantbuilder.h"
#include "model/assistoption.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
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

// S1 is the first screen; two go-to options and a go-to button name it (one as "s1"), an exec option
// runs a program called S1; S2 exists, and S1b is a second screen with the ID S1 further down.
struct RenameFixture : ::testing::Test {
    TAssistRoot root{User};
    TAssistScreen* s1 = nullptr;
    TAssistScreen* s2 = nullptr;
    TAssistScreen* s1b = nullptr;
    void SetUp() override {
        s1 = &Screen(root, "S1");
        s2 = &Screen(root, "S2");
        Option(*s2, "S2.1", akGoto, "S1");
        Option(*s2, "S2.2", akGotoButton, "s1");
        Option(*s2, "S2.3", akExec, "S1");
        Option(*s1, "S1.1", akGoto, "S1");
        s1b = &Screen(root, "S1");
        root.FirstScreen = "S1";
    }
};

TEST_F(RenameFixture, ShowsTheCurrentIdAndChecksTheNewOne) {
    struct Case {
        const char* typed;
        bool ok;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"", false, "The new ID must not be empty."},
        {"S1", false, "The new ID is the same as the current one."},
        {"s2", false, "Another screen already has the ID S2."},
        {"S2", false, "Another screen already has the ID S2."},
        {"Start", true, "4 references (go-to commands and the first screen) will change."},
        {"s1", false, "Another screen already has the ID S1."}, // the later screen S1
    };
    RenameScreenDialog dialog(root, *s1);
    auto* current = dialog.findChild<QLabel*>(QStringLiteral("lCurrentID"));
    auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("eNewID"));
    auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("bOk"));
    ASSERT_TRUE(current && edit && ok);
    EXPECT_EQ(current->text(), QStringLiteral("S1"));
    EXPECT_EQ(edit->text(), QStringLiteral("S1"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        edit->clear();
        QTest::keyClicks(edit, QString::fromUtf8(c.typed));
        EXPECT_EQ(ok->isEnabled(), c.ok);
        EXPECT_EQ(dialog.Message().toStdString(), c.message);
        EXPECT_EQ(dialog.Problem().isEmpty(), c.ok);
    }
}

TEST_F(RenameFixture, ALaterScreenWithTheSameIdHasNoReferencesOfItsOwn) {
    RenameScreenDialog dialog(root, *s1b);
    auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("eNewID"));
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("S9"));
    EXPECT_EQ(dialog.References(), 0);
    EXPECT_EQ(dialog.Message().toStdString(),
              "0 references (go-to commands and the first screen) will change.");
    // Its new ID may not be that of the first S1 either.
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("S1"));
    EXPECT_EQ(dialog.Message().toStdString(), "The new ID is the same as the current one.");
}

TEST_F(RenameFixture, ChangingOnlyTheCaseOfAnIdIsARename) {
    RenameScreenDialog dialog(root, *s2);
    auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("eNewID"));
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("s2"));
    EXPECT_TRUE(dialog.Problem().isEmpty()) << dialog.Problem().toStdString();
    EXPECT_EQ(dialog.Message().toStdString(),
              "0 references (go-to commands and the first screen) will change.");
}

TEST_F(RenameFixture, EnterAcceptsOnlyAUsableIdAndTheRenameIsOneUndoableStep) {
    RenameScreenDialog dialog(root, *s1);
    dialog.show();
    auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("eNewID"));
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("S2"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible()); // refused: OK is disabled
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("Start"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    ASSERT_EQ(dialog.result(), QDialog::Accepted);

    QUndoStack stack;
    NoView view;
    auto* command = new RenameScreenCommand(root, *s1, dialog.NewID(), view);
    const int references = command->References();
    stack.push(command);
    EXPECT_EQ(s1->ID, "Start");
    EXPECT_EQ(root.FirstScreen, "Start");
    EXPECT_EQ(s2->Options.Item(1)->Command, "Start");
    EXPECT_EQ(s2->Options.Item(2)->Command, "S1"); // an exec command is no reference
    EXPECT_EQ(s1b->ID, "S1");
    EXPECT_EQ(ScreenRenameReport("S1", dialog.NewID(), references).toStdString(),
              "Renamed screen S1 to Start; 4 references changed.");
    stack.undo();
    EXPECT_EQ(s1->ID, "S1");
    EXPECT_EQ(root.FirstScreen, "S1");
    EXPECT_EQ(s2->Options.Item(1)->Command, "s1");
}

TEST(ScreenRenameReport, CountsReferences) {
    EXPECT_EQ(ScreenRenameReport("a", "b", 1).toStdString(), "Renamed screen a to b; 1 reference changed.");
    EXPECT_EQ(ScreenRenameReport("a", "b", 0).toStdString(), "Renamed screen a to b; 0 references changed.");
}

TEST_F(RenameFixture, AskScreenRenameGivesTheIdOrNothing) {
    // The dialog runs modally; a timer answers it as the user would.
    auto answer = [](bool accept) {
        QTimer::singleShot(0, [accept] {
            auto* dialog = qobject_cast<RenameScreenDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("eNewID"));
            edit->setText(QStringLiteral("Next"));
            if (accept)
                dialog->findChild<QPushButton*>(QStringLiteral("bOk"))->click();
            else
                dialog->reject();
        });
    };
    answer(true);
    EXPECT_EQ(AskScreenRename(nullptr, root, *s1), std::optional<std::string>("Next"));
    answer(false);
    EXPECT_EQ(AskScreenRename(nullptr, root, *s1), std::nullopt);
    EXPECT_EQ(s1->ID, "S1"); // asking changes nothing
}

} // namespace
