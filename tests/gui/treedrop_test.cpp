// Dropping tree rows: each valid drop asks for one move; invalid drops are refused.
#include "editor/itemtreemodel.h"

#include "../core/assistantbuilder.h"
#include "model/assistoption.h"

#include <QMimeData>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <memory>

using namespace testbuild;

namespace {

// Assistant A(A.1, A.2, A.3), B(B.1), C() in a nested tree under the assistant's node.
struct TreeDropFixture : ::testing::Test {
    TAssistRoot root{User};
    ItemTreeModel model;
    void SetUp() override {
        TAssistScreen& a = Screen(root, "A");
        Option(a, "A.1");
        Option(a, "A.2");
        Option(a, "A.3");
        Option(Screen(root, "B"), "B.1");
        Screen(root, "C");
        model.BeginBuild();
        const int rootNode = model.AddNode(-1, &root, "root");
        for (TAssistScreen& s : root.Screens) {
            const int sn = model.AddNode(rootNode, &s, s.ID);
            for (TAssistOption& o : s.Options)
                model.AddNode(sn, &o, o.ID);
        }
        model.EndBuild();
        model.SetDragDropEnabled(true);
    }
    QModelIndex IndexOf(const TAssistBase* item) { return model.IndexOfNode(model.FirstNodeOf(item)); }
    std::unique_ptr<QMimeData> Drag(const TAssistBase* item) {
        return std::unique_ptr<QMimeData>(model.mimeData({IndexOf(item)}));
    }
    TAssistScreen* S(int i) { return root.Screens.Item(i); }
    TAssistOption* O(int s, int o) { return S(s)->Options.Item(o); }
};

TEST_F(TreeDropFixture, ValidDropsRequestOneMove) {
    struct Row {
        const char* name;
        int dragScreen, dragOption;     // dragOption -1: the screen
        int targetScreen, targetOption; // target -1/-1: the assistant node
        int row;
        QList<QVariant> expected; // fromScreen, fromOption, toScreen, toOption
    };
    const std::vector<Row> rows = {
        {"ScreenBetweenScreens", 0, -1, -1, -1, 2, {0, -1, 1, -1}},
        {"ScreenToTop", 2, -1, -1, -1, 0, {2, -1, 0, -1}},
        {"ScreenOntoScreen", 0, -1, 2, -1, -1, {0, -1, 2, -1}},
        {"OptionDownInItsScreen", 0, 0, 0, -1, 3, {0, 0, 0, 2}},
        {"OptionUpInItsScreen", 0, 2, 0, -1, 0, {0, 2, 0, 0}},
        {"OptionOntoOption", 0, 0, 0, 2, -1, {0, 0, 0, 2}},
        {"OptionToOtherScreen", 0, 1, 1, -1, 0, {0, 1, 1, 0}},
        {"OptionOntoEmptyScreen", 0, 1, 2, -1, -1, {0, 1, 2, 0}},
        {"OptionOntoOtherScreensOption", 1, 0, 0, 1, -1, {1, 0, 0, 1}},
    };
    for (const Row& r : rows) {
        QSignalSpy spy(&model, &ItemTreeModel::MoveRequested);
        const TAssistBase* dragged =
            r.dragOption < 0 ? static_cast<TAssistBase*>(S(r.dragScreen)) : O(r.dragScreen, r.dragOption);
        const TAssistBase* target = r.targetScreen < 0   ? static_cast<TAssistBase*>(&root)
                                    : r.targetOption < 0 ? static_cast<TAssistBase*>(S(r.targetScreen))
                                                         : O(r.targetScreen, r.targetOption);
        auto data = Drag(dragged);
        ASSERT_NE(data, nullptr) << r.name;
        EXPECT_TRUE(model.canDropMimeData(data.get(), Qt::MoveAction, r.row, 0, IndexOf(target))) << r.name;
        EXPECT_TRUE(model.dropMimeData(data.get(), Qt::MoveAction, r.row, 0, IndexOf(target))) << r.name;
        ASSERT_EQ(spy.count(), 1) << r.name;
        QList<QVariant> got = spy.takeFirst();
        QList<QVariant> expected = r.expected;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(got[i].toInt(), expected[i].toInt()) << r.name << " argument " << i;
    }
}

TEST_F(TreeDropFixture, InvalidDropsAreRefused) {
    QSignalSpy spy(&model, &ItemTreeModel::MoveRequested);
    struct Row {
        const char* name;
        const TAssistBase* dragged;
        const TAssistBase* target;
        int row;
        Qt::DropAction action;
    };
    const std::vector<Row> rows = {
        {"ScreenOntoOption", S(0), O(1, 0), -1, Qt::MoveAction},
        {"ScreenOntoItself", S(1), S(1), -1, Qt::MoveAction},
        {"OptionOntoAssistant", O(0, 0), &root, 1, Qt::MoveAction},
        {"OptionOntoItself", O(0, 1), O(0, 1), -1, Qt::MoveAction},
        {"CopyAction", S(0), &root, 2, Qt::CopyAction},
    };
    for (const Row& r : rows) {
        auto data = Drag(r.dragged);
        EXPECT_FALSE(model.canDropMimeData(data.get(), r.action, r.row, 0, IndexOf(r.target))) << r.name;
        EXPECT_FALSE(model.dropMimeData(data.get(), r.action, r.row, 0, IndexOf(r.target))) << r.name;
    }
    QMimeData foreign;
    foreign.setText("A");
    EXPECT_FALSE(model.canDropMimeData(&foreign, Qt::MoveAction, 0, 0, IndexOf(&root)));
    model.SetDragDropEnabled(false);
    auto data = Drag(S(0));
    EXPECT_FALSE(model.canDropMimeData(data.get(), Qt::MoveAction, 2, 0, IndexOf(&root)));
    EXPECT_FALSE(model.flags(IndexOf(S(0))) & Qt::ItemIsDragEnabled);
    EXPECT_EQ(spy.count(), 0);
}

} // namespace
