// The multi-place edits as undo stack steps: each is undone and redone in one step.
#include "editor/assistantcommands.h"

#include "../core/assistantbuilder.h"
#include "model/assistoption.h"

#include <QUndoStack>
#include <gtest/gtest.h>

using namespace testbuild;

namespace {

// Records what the commands report: rebuilds and refreshes counted, the last single-item report as
// "added", "removed" or "moved" with its item.
struct RecordingView : IAssistantView {
    int rebuilds = 0, refreshes = 0;
    TAssistBase* selected = nullptr;
    std::string reported;
    TAssistBase* item = nullptr;
    void RebuildTree(TAssistBase* select) override {
        ++rebuilds;
        selected = select;
    }
    void ItemAdded(TAssistBase* added) override { Report("added", added, added); }
    void ItemRemoved(TAssistBase* removed, TAssistBase* select) override {
        Report("removed", removed, select);
    }
    void ItemMoved(TAssistBase* moved) override { Report("moved", moved, moved); }
    void RefreshItem() override { ++refreshes; }

private:
    void Report(const char* what, TAssistBase* subject, TAssistBase* select) {
        reported = what;
        item = subject;
        selected = select;
    }
};

// Two screens: A (options A.1 go to B, A.2 run) and B; the assistant starts at A.
struct CommandFixture : ::testing::Test {
    TAssistRoot root{User};
    TAssistScreen* a = nullptr;
    TAssistScreen* b = nullptr;
    RecordingView view;
    QUndoStack stack;
    void SetUp() override {
        a = &Screen(root, "A", "router A");
        Option(*a, "A.1", akGoto, "b", "to the router");
        Option(*a, "A.2", akExec, "run.exe", "Run");
        b = &Screen(root, "B", "Second");
        root.FirstScreen = "A";
    }
    std::string Order() const {
        std::string out;
        for (const TAssistScreen& s : root.Screens) {
            out += s.ID + "(";
            for (const TAssistOption& o : s.Options)
                out += o.ID + " ";
            out += ")";
        }
        return out;
    }
};

TEST_F(CommandFixture, ReplaceAllIsOneStep) {
    TPlainMatcher matcher("router", false, true);
    stack.push(new ReplaceAllCommand(ReplaceAll(root, sfCaption, matcher, "modem"), view));
    EXPECT_EQ(a->Caption, "modem A");
    EXPECT_EQ(a->Options.Item(0)->Caption, "to the modem");
    stack.undo();
    EXPECT_EQ(a->Caption, "router A");
    EXPECT_EQ(a->Options.Item(0)->Caption, "to the router");
    EXPECT_EQ(view.refreshes, 2);
}

TEST_F(CommandFixture, RenameIsOneStepAndCountsReferences) {
    auto* rename = new RenameScreenCommand(root, *b, "Done", view);
    EXPECT_EQ(rename->References(), 1);
    stack.push(rename);
    EXPECT_EQ(b->ID, "Done");
    EXPECT_EQ(a->Options.Item(0)->Command, "Done");
    EXPECT_EQ(view.selected, b);
    stack.undo();
    EXPECT_EQ(b->ID, "B");
    EXPECT_EQ(a->Options.Item(0)->Command, "b");
    EXPECT_EQ(root.FirstScreen, "A");
}

TEST_F(CommandFixture, DuplicateUndoRemovesTheCopyAndRedoRestoresIt) {
    auto* dup = new DuplicateCommand(root, 0, -1, view);
    stack.push(dup);
    ASSERT_EQ(root.Screens.Count(), 3);
    TAssistBase* copy = dup->Copy();
    EXPECT_EQ(root.Screens.Item(1), copy);
    EXPECT_EQ(view.reported, "added");
    EXPECT_EQ(view.item, copy);
    EXPECT_EQ(view.selected, copy);
    stack.undo();
    EXPECT_EQ(Order(), "A(A.1 A.2 )B()");
    EXPECT_EQ(view.reported, "removed");
    EXPECT_EQ(view.item, copy); // still alive, kept by the command for redo
    EXPECT_EQ(view.selected, a);
    stack.redo();
    EXPECT_EQ(root.Screens.Item(1), copy); // the same copy comes back, keeping its IDs
    EXPECT_EQ(root.Screens.Count(), 3);
    EXPECT_EQ(view.reported, "added");

    stack.push(new DuplicateCommand(root, 0, 1, view));
    EXPECT_EQ(a->Options.Count(), 3);
    EXPECT_EQ(a->Options.Item(2)->Command, "run.exe");
    EXPECT_EQ(view.reported, "added");
    EXPECT_EQ(view.item, a->Options.Item(2));
    stack.undo();
    EXPECT_EQ(a->Options.Count(), 2);
    EXPECT_EQ(view.reported, "removed");
    EXPECT_EQ(view.rebuilds, 0) << "one item in or out is patched into the views, not rebuilt";
}

TEST_F(CommandFixture, MovesAreOneStepEach) {
    struct Row {
        const char* name;
        int fromScreen, fromOption, toScreen, toOption;
        std::string after;
    };
    const std::vector<Row> rows = {
        {"ScreenDown", 0, -1, 1, -1, "B()A(A.1 A.2 )"},
        {"OptionWithinScreen", 0, 1, 0, 0, "A(A.2 A.1 )B()"},
        {"OptionToOtherScreen", 0, 0, 1, 0, "A(A.2 )B(A.1 )"},
    };
    for (const Row& row : rows) {
        const std::string before = Order();
        stack.push(
            new MoveItemCommand(root, row.fromScreen, row.fromOption, row.toScreen, row.toOption, view));
        EXPECT_EQ(Order(), row.after) << row.name;
        EXPECT_EQ(view.reported, "moved") << row.name;
        EXPECT_NE(view.item, nullptr) << row.name;
        EXPECT_EQ(view.selected, view.item) << row.name;
        TAssistBase* moved = view.item;
        view.item = nullptr;
        stack.undo();
        EXPECT_EQ(Order(), before) << row.name;
        EXPECT_EQ(view.item, moved) << row.name << ": the same item moves back";
    }
    EXPECT_EQ(view.rebuilds, 0);
    EXPECT_EQ(a->Options.Item(0)->Owner, a);
}

} // namespace
