// The title shows unsaved changes the desktop way (Qt's window-modified marker) while the caption stays
// the text it is: the marker follows the assistant's unsaved-changes flag through edits, undo, redo,
// save, New and a recovered assistant.
#include "editor/recoveryfile.h"
#include "editorfixture.h"

#include <QAction>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QWindow>

namespace {

class TitleMarkerTest : public EditorFixture {
protected:
    QTemporaryDir files;
    // The title as the platform shows it: the placeholder replaced by the marker or removed.
    QString ShownTitle() const { return form->windowHandle()->title(); }
};

TEST_F(TitleMarkerTest, MarkerFollowsUnsavedChangesAndTheCaptionStaysAsItIs) {
    Start();
    Fill({ScreenEntry("S1")}, "S1");
    const std::string file = files.filePath("tour.amf").toStdString();
    Root().FileName = file;
    form->Actions().aSave->trigger();
    const QString caption = QString::fromStdString("Assistant Editor - " + file);
    ASSERT_EQ(form->Caption(), caption);
    EXPECT_FALSE(form->isWindowModified());
    EXPECT_EQ(ShownTitle(), caption);

    struct Step {
        const char* name;
        std::function<void()> act;
        bool modified;
    };
    const Step steps[] = {
        {"an edit",
         [this] { ASSERT_TRUE(form->Edits().SetField(*ScreenAt(0), TextField::Caption, "Changed")); }, true},
        {"undo back to the saved state", [this] { form->Actions().aUndo->trigger(); }, false},
        {"redo", [this] { form->Actions().aRedo->trigger(); }, true},
        {"save", [this] { form->Actions().aSave->trigger(); }, false},
        {"typing stored when its box is left",
         [this] {
             ClickTreeNode(ScreenAt(0));
             Type(form->Screen()->eScreenCaption(), QStringLiteral("Typed"));
             FocusByMouse(form->Tree());
         },
         true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.act();
        EXPECT_EQ(form->isWindowModified(), step.modified);
        EXPECT_EQ(form->isWindowModified(), !form->UndoStack()->isClean());
        EXPECT_EQ(form->Caption(), caption) << "the caption never carries the marker";
        EXPECT_EQ(ShownTitle(), step.modified ? caption + "*" : caption);
    }

    // New without saving: a fresh assistant, nothing unsaved.
    prompter.ExpectMessage(Prompter::MessageKind::WarningYesNoCancel, Prompter::Answer::No);
    form->Actions().aNew->trigger();
    EXPECT_FALSE(form->isWindowModified());
    EXPECT_EQ(ShownTitle(), QStringLiteral("Assistant Editor - [New Assistant]"));
}

TEST_F(TitleMarkerTest, ACaptionHoldingThePlaceholderIsShownAsWritten) {
    Start();
    form->SetCaption(QStringLiteral("Odd [*] name"));
    EXPECT_EQ(form->Caption(), QStringLiteral("Odd [*] name"));
    EXPECT_EQ(ShownTitle(), QStringLiteral("Odd [*] name"));
    ASSERT_TRUE(form->Edits().SetField(Root(), TextField::Caption, "Changed"));
    EXPECT_EQ(ShownTitle(), QStringLiteral("Odd [*] name*"));
}

TEST_F(TitleMarkerTest, ARecoveredAssistantShowsTheMarker) {
    Start();
    ASSERT_TRUE(form->Edits().SetField(Root(), TextField::Caption, "Unsaved work"));
    form->Actions().aNewScreen->trigger(); // structural: kept for recovery at once
    form.reset();                          // ends without closing, as a crash would
    prompter.ExpectMessage(Prompter::MessageKind::RecoverDiscardLater, Prompter::Answer::Recover);
    Start();
    ASSERT_EQ(prompter.Pending(), 0u);
    ASSERT_EQ(Root().Caption, "Unsaved work");
    EXPECT_TRUE(form->isWindowModified());
    EXPECT_TRUE(ShownTitle().endsWith(u'*')) << ShownTitle().toStdString();
}

} // namespace
