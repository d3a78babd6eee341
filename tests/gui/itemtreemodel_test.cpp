// The item tree model in its flat shape: the rows a view gets are the nodes whose ancestors are all
// expanded, in index order; expanding, collapsing, selecting a hidden node and removing nodes change
// exactly the rows they should, with the signals a view needs (checked by Qt's model tester and a real
// view with a selection).
#include "editor/flattreeview.h"
#include "editor/itemtreemodel.h"
#include "model/assistroot.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QItemSelectionModel>
#include <QLoggingCategory>
#include <QSignalSpy>
#include <QTreeView>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

// Collects the complaints of Qt's model tester (it reports through warnings of its own category).
class ModelComplaints {
public:
    ModelComplaints() {
        Messages().clear();
        m_previous = qInstallMessageHandler(&Record);
    }
    ~ModelComplaints() { qInstallMessageHandler(m_previous); }
    static std::vector<std::string>& Messages() {
        static std::vector<std::string> messages;
        return messages;
    }

private:
    static void Record(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (type != QtDebugMsg && context.category != nullptr &&
            QByteArray(context.category).startsWith("qt.modeltest"))
            Messages().push_back(text.toStdString());
    }
    QtMessageHandler m_previous = nullptr;
};

// One node of a test tree: its depth and its text; nodes with the same text carry the same item (as
// a repeated screen does in the structure).
struct NodeEntry {
    int depth;
    std::string text;
};

class FlatModelTest : public ::testing::Test {
protected:
    TAssistRoot root{"{TEST} tester"};
    std::map<std::string, TAssistBase*> items;
    ItemTreeModel model{nullptr, ItemTreeModel::Shape::Flat};
    ModelComplaints complaints;
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::Warning};

    // A
    //  B
    //   C
    //    D
    //   E
    //  F
    //   G
    // H
    //  C (the item of C again)
    static std::vector<NodeEntry> Sample() {
        return {{0, "A"}, {1, "B"}, {2, "C"}, {3, "D"}, {2, "E"}, {1, "F"}, {2, "G"}, {0, "H"}, {1, "C"}};
    }

    void Build(const std::vector<NodeEntry>& nodes) { BuildInto(model, nodes); }
    void BuildInto(ItemTreeModel& into, const std::vector<NodeEntry>& nodes) {
        into.BeginBuild();
        std::vector<int> parents; // parents[d]: the last node added at depth d
        for (const NodeEntry& entry : nodes) {
            TAssistBase*& item = items[entry.text];
            if (item == nullptr)
                item = TAssistScreen::Create(root);
            const int parent = entry.depth == 0 ? -1 : parents[static_cast<std::size_t>(entry.depth - 1)];
            parents.resize(static_cast<std::size_t>(entry.depth));
            parents.push_back(into.AddNode(parent, item, entry.text));
        }
        into.EndBuild();
    }

    int Node(const std::string& text, int occurrence = 0) const {
        for (int node = 0; node < model.NodeCount(); ++node)
            if (model.IsLive(node) && model.TextAt(node).toStdString() == text && occurrence-- == 0)
                return node;
        return -1;
    }

    // The rows as a view sees them, each indented by one blank per level.
    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        for (int row = 0; row < model.rowCount(); ++row) {
            const QModelIndex index = model.index(row, 0);
            const int node = model.NodeOf(index);
            EXPECT_EQ(model.RowOf(node), row) << "row " << row;
            EXPECT_EQ(model.rowCount(index), 0) << "a flat row has no child rows";
            rows.push_back(std::string(static_cast<std::size_t>(model.DepthOf(node)), ' ') +
                           index.data().toString().toStdString());
        }
        return rows;
    }

    void ExpectModelSound() { EXPECT_EQ(ModelComplaints::Messages(), std::vector<std::string>{}); }
};

std::vector<std::string> Lines(std::initializer_list<const char*> lines) {
    return std::vector<std::string>(lines.begin(), lines.end());
}

TEST_F(FlatModelTest, RowsAreTheNodesWhoseAncestorsAreAllExpanded) {
    struct Step {
        const char* node;
        bool expanded;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        std::vector<std::string> rows;
    };
    const std::vector<std::string> all = Lines({"A", " B", "  C", "   D", "  E", " F", "  G", "H", " C"});
    const Case cases[] = {
        {"built: all expanded", {}, all},
        {"collapse a middle node", {{"B", false}}, Lines({"A", " B", " F", "  G", "H", " C"})},
        {"collapse a deeper node", {{"C", false}}, Lines({"A", " B", "  C", "  E", " F", "  G", "H", " C"})},
        {"collapse the top", {{"A", false}}, Lines({"A", "H", " C"})},
        {"collapse the last", {{"H", false}}, Lines({"A", " B", "  C", "   D", "  E", " F", "  G", "H"})},
        {"collapse a leaf changes nothing", {{"D", false}}, all},
        {"collapse and expand again", {{"B", false}, {"B", true}}, all},
        {"an inner collapse survives the outer one",
         {{"C", false}, {"B", false}, {"B", true}},
         Lines({"A", " B", "  C", "  E", " F", "  G", "H", " C"})},
        {"expanding a hidden node shows nothing yet",
         {{"B", false}, {"C", false}, {"C", true}},
         Lines({"A", " B", " F", "  G", "H", " C"})},
        {"the hidden node's state shows with its parent",
         {{"A", false}, {"C", false}, {"A", true}},
         Lines({"A", " B", "  C", "  E", " F", "  G", "H", " C"})},
        {"several branches", {{"B", false}, {"F", false}}, Lines({"A", " B", " F", "H", " C"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Build(Sample());
        for (const Step& step : c.steps)
            model.SetExpanded(Node(step.node), step.expanded);
        EXPECT_EQ(Rows(), c.rows);
        std::map<std::string, bool> last;
        for (const Step& step : c.steps)
            last[step.node] = step.expanded;
        for (const auto& [text, expanded] : last)
            EXPECT_EQ(model.IsExpanded(Node(text)), expanded) << text;
    }
    ExpectModelSound();
}

TEST_F(FlatModelTest, NodesKnowTheirDepthChildrenAndLaterSiblings) {
    Build(Sample());
    struct Case {
        const char* text;
        int occurrence;
        int depth;
        bool children;
        bool laterSibling;
    };
    const Case cases[] = {
        {"A", 0, 0, true, true},   {"B", 0, 1, true, true},   {"C", 0, 2, true, true},
        {"D", 0, 3, false, false}, {"E", 0, 2, false, false}, {"F", 0, 1, true, false},
        {"G", 0, 2, false, false}, {"H", 0, 0, true, false},  {"C", 1, 1, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + std::to_string(c.occurrence));
        const int node = Node(c.text, c.occurrence);
        ASSERT_GE(node, 0);
        EXPECT_EQ(model.DepthOf(node), c.depth);
        EXPECT_EQ(model.HasChildren(node), c.children);
        EXPECT_EQ(model.HasLaterSibling(node), c.laterSibling);
    }
    EXPECT_EQ(model.DepthOf(-1), -1);
    EXPECT_EQ(model.DepthOf(model.NodeCount()), -1);
    EXPECT_EQ(model.ParentOf(Node("D")), Node("C"));
    EXPECT_EQ(model.ParentOf(Node("A")), -1);
    ExpectModelSound();
}

TEST_F(FlatModelTest, RowsTellAssistiveTechnologyTheirLevelAndWhetherTheirBranchIsOpen) {
    Build(Sample());
    model.SetExpanded(Node("B"), false);
    std::vector<std::string> described;
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex index = model.index(row, 0);
        described.push_back(index.data().toString().toStdString() + ": " +
                            index.data(Qt::AccessibleDescriptionRole).toString().toStdString());
    }
    EXPECT_EQ(described, Lines({"A: Level 1, expanded", "B: Level 2, collapsed", "F: Level 2, expanded",
                                "G: Level 3", "H: Level 1, expanded", "C: Level 2"}));

    // The nested shape leaves the levels to its view.
    ItemTreeModel nested;
    nested.BeginBuild();
    nested.AddNode(nested.AddNode(-1, items["A"], "A"), items["B"], "B");
    nested.EndBuild();
    const QModelIndex top = nested.index(0, 0);
    EXPECT_FALSE(top.data(Qt::AccessibleDescriptionRole).isValid());
    EXPECT_EQ(nested.index(0, 0, top).data().toString(), QStringLiteral("B"));
    ExpectModelSound();
}

TEST_F(FlatModelTest, IndexOfAHiddenNodeExpandsItsAncestorsAndKeepsTheSelection) {
    Build(Sample());
    FlatTreeView view;
    view.setModel(&model);
    view.setCurrentIndex(model.IndexOfNode(Node("H")));
    model.SetExpanded(Node("C"), false);
    model.SetExpanded(Node("B"), false);
    ASSERT_EQ(Rows(), Lines({"A", " B", " F", "  G", "H", " C"}));

    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    const QModelIndex visible = model.IndexOfNode(Node("F"));
    EXPECT_EQ(visible.row(), 2);
    EXPECT_EQ(inserted.count(), 0) << "a visible node's index changes nothing";

    const QModelIndex d = model.IndexOfNode(Node("D"));
    ASSERT_TRUE(d.isValid());
    EXPECT_EQ(d.row(), 3);
    EXPECT_EQ(d.data().toString(), QStringLiteral("D"));
    EXPECT_TRUE(model.IsExpanded(Node("B")));
    EXPECT_TRUE(model.IsExpanded(Node("C")));
    EXPECT_EQ(Rows(), Lines({"A", " B", "  C", "   D", "  E", " F", "  G", "H", " C"}));
    // One block of rows right after the outermost collapsed ancestor.
    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted[0][1].toInt(), 2);
    EXPECT_EQ(inserted[0][2].toInt(), 4);
    EXPECT_EQ(removed.count(), 0);
    EXPECT_EQ(model.NodeOf(view.currentIndex()), Node("H"));
    EXPECT_TRUE(view.selectionModel()->isSelected(model.IndexOfNode(Node("H"))));

    EXPECT_FALSE(model.IndexOfNode(-1).isValid());
    EXPECT_FALSE(model.IndexOfNode(model.NodeCount()).isValid());
    ExpectModelSound();
}

TEST_F(FlatModelTest, ExpandingABranchOrEverythingKeepsTheCurrentRowsNode) {
    Build(Sample());
    FlatTreeView view;
    view.setModel(&model);
    model.SetExpanded(Node("C"), false);
    model.SetExpanded(Node("F"), false);
    view.setCurrentIndex(model.IndexOfNode(Node("E")));

    model.ExpandBranch(Node("B"));
    EXPECT_EQ(Rows(), Lines({"A", " B", "  C", "   D", "  E", " F", "H", " C"})) << "F is outside B";
    EXPECT_EQ(model.NodeOf(view.currentIndex()), Node("E"));
    EXPECT_EQ(view.currentIndex().row(), 4);

    model.ExpandAll();
    EXPECT_EQ(Rows(), Lines({"A", " B", "  C", "   D", "  E", " F", "  G", "H", " C"}));
    EXPECT_EQ(model.NodeOf(view.currentIndex()), Node("E"));
    EXPECT_TRUE(view.selectionModel()->isSelected(view.currentIndex()));

    // A branch inside a collapsed one is expanded, but shows only with its ancestors.
    model.SetExpanded(Node("C"), false);
    model.SetExpanded(Node("A"), false);
    model.ExpandBranch(Node("B"));
    EXPECT_EQ(Rows(), Lines({"A", "H", " C"}));
    model.SetExpanded(Node("A"), true);
    EXPECT_EQ(Rows(), Lines({"A", " B", "  C", "   D", "  E", " F", "  G", "H", " C"}));
    ExpectModelSound();
}

TEST_F(FlatModelTest, RemovingTheFirstNodeOfAnItemTakesItsRowsAndBranch) {
    struct Case {
        const char* name;
        std::vector<const char*> collapsed;
        const char* removed;
        bool found;
        std::vector<std::string> rows;
        std::vector<std::string> rowsExpanded; // after expanding everything again
        bool fHasChildren;
    };
    const Case cases[] = {
        {"a visible branch",
         {},
         "C",
         true,
         Lines({"A", " B", "  E", " F", "  G", "H", " C"}),
         Lines({"A", " B", "  E", " F", "  G", "H", " C"}),
         true},
        {"inside a collapsed branch",
         {"B"},
         "C",
         true,
         Lines({"A", " B", " F", "  G", "H", " C"}),
         Lines({"A", " B", "  E", " F", "  G", "H", " C"}),
         true},
        {"a top-level node", {}, "A", true, Lines({"H", " C"}), Lines({"H", " C"}), false},
        {"the only child",
         {},
         "G",
         true,
         Lines({"A", " B", "  C", "   D", "  E", " F", "H", " C"}),
         Lines({"A", " B", "  C", "   D", "  E", " F", "H", " C"}),
         false},
        {"no node of the item",
         {},
         "none",
         false,
         Lines({"A", " B", "  C", "   D", "  E", " F", "  G", "H", " C"}),
         Lines({"A", " B", "  C", "   D", "  E", " F", "  G", "H", " C"}),
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Build(Sample());
        FlatTreeView view;
        view.setModel(&model);
        view.setCurrentIndex(model.IndexOfNode(Node("D")));
        for (const char* text : c.collapsed)
            model.SetExpanded(Node(text), false);
        TAssistBase* item = items.count(c.removed) > 0 ? items[c.removed] : TAssistScreen::Create(root);
        EXPECT_EQ(model.RemoveFirstNodeOf(item), c.found);
        EXPECT_EQ(Rows(), c.rows);
        // The view's current row moves to a live node when its own goes.
        if (view.currentIndex().isValid()) {
            EXPECT_TRUE(model.IsLive(model.NodeOf(view.currentIndex())));
        }
        model.ExpandAll();
        EXPECT_EQ(Rows(), c.rowsExpanded);
        // F loses its children with its only child (and goes with A).
        EXPECT_EQ(model.HasChildren(model.LastNodeOf(items["F"])), c.fHasChildren);
    }
    ExpectModelSound();
}

// A leaf inserted after the build leaves the model as a build with the leaf in its place would: node
// numbers, parents, subtree ends (seen through children and later siblings), rows; the current row keeps
// its node.
TEST_F(FlatModelTest, AnInsertedLeafEqualsABuildWithIt) {
    struct Case {
        const char* name;
        const char* parent;
        int position;
        const char* collapsed; // "" for none
        int inserted;          // the new node's number, where a build puts it; -1: nothing added
        int depth;             // the new node's level
    };
    const Case cases[] = {
        {"between children", "B", 1, "", 4, 2},
        {"after the last child", "B", 2, "", 5, 2},
        {"first child", "A", 0, "", 1, 1},
        {"under a leaf", "G", 0, "", 7, 3},
        {"at the very end", "H", 1, "", 9, 1},
        {"inside a collapsed branch", "C", 0, "B", 3, 3},
        {"a position out of range", "B", 3, "", -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<NodeEntry> built = Sample();
        if (c.inserted >= 0)
            built.insert(built.begin() + c.inserted, NodeEntry{c.depth, "X"});
        ItemTreeModel expected{nullptr, ItemTreeModel::Shape::Flat};
        BuildInto(expected, built);
        Build(Sample());
        FlatTreeView view;
        view.setModel(&model);
        view.setCurrentIndex(model.IndexOfNode(Node("H")));
        if (*c.collapsed != '\0') {
            model.SetExpanded(Node(c.collapsed), false);
            expected.SetExpanded(expected.FirstNodeOf(items[c.collapsed]), false);
        }
        if (items["X"] == nullptr)
            items["X"] = TAssistScreen::Create(root);
        EXPECT_EQ(model.InsertLeaf(Node(c.parent), c.position, items["X"], "X"), c.inserted);
        ASSERT_EQ(model.NodeCount(), expected.NodeCount());
        for (int node = 0; node < model.NodeCount(); ++node) {
            SCOPED_TRACE(node);
            EXPECT_EQ(model.TextAt(node), expected.TextAt(node));
            EXPECT_EQ(model.ItemAt(node), expected.ItemAt(node));
            EXPECT_EQ(model.ParentOf(node), expected.ParentOf(node));
            EXPECT_EQ(model.DepthOf(node), expected.DepthOf(node));
            EXPECT_EQ(model.ChildNodes(node), expected.ChildNodes(node));
            EXPECT_EQ(model.HasLaterSibling(node), expected.HasLaterSibling(node));
            EXPECT_EQ(model.RowOf(node), expected.RowOf(node));
        }
        EXPECT_EQ(model.ItemOf(view.currentIndex()), items["H"]) << "the current row keeps its node";
        model.ExpandAll();
        expected.ExpandAll();
        EXPECT_EQ(model.rowCount(), expected.rowCount());
    }
    EXPECT_EQ(model.InsertLeaf(-1, 0, items["X"], "X"), -1);
    ItemTreeModel nested;
    nested.BeginBuild();
    nested.AddNode(-1, &root, "A");
    nested.EndBuild();
    EXPECT_EQ(nested.InsertLeaf(0, 0, items["X"], "X"), -1) << "a nested model inserts with InsertNode";
    ExpectModelSound();
}

TEST_F(FlatModelTest, AChainTenThousandLevelsDeepBuildsCollapsesAndShows) {
    constexpr int depth = 10000;
    TAssistScreen* screen = TAssistScreen::Create(root);
    model.BeginBuild();
    for (int node = 0; node < depth; ++node)
        model.AddNode(node - 1, screen, "S" + std::to_string(node + 1));
    model.EndBuild();
    FlatTreeView view;
    view.setIndentation(19);
    view.setModel(&model);
    view.resize(400, 300);
    view.show();
    QApplication::processEvents();
    EXPECT_EQ(model.rowCount(), depth);
    EXPECT_EQ(model.DepthOf(depth - 1), depth - 1);

    // Painting the deepest rows walks all their ancestors for the tree lines.
    view.scrollToBottom();
    EXPECT_FALSE(view.viewport()->grab().isNull());

    model.SetExpanded(0, false);
    EXPECT_EQ(model.rowCount(), 1);
    for (int node = 1; node < depth; node += 100)
        model.SetExpanded(node, false);
    const QModelIndex last = model.IndexOfNode(depth - 1);
    EXPECT_EQ(last.row(), depth - 1);
    EXPECT_EQ(model.rowCount(), depth);
    for (int node = 1; node < depth; node += 100)
        model.SetExpanded(node, false);
    model.SetExpanded(0, true);
    EXPECT_EQ(model.rowCount(), 2);
    model.ExpandAll();
    EXPECT_EQ(model.rowCount(), depth);
    EXPECT_EQ(model.RowOf(depth - 1), depth - 1);
    view.setCurrentIndex(model.IndexOfNode(depth - 1));
    EXPECT_FALSE(view.viewport()->grab().isNull());
    ExpectModelSound();
}

// The nested shape (the assistant tree) takes a node after the build: rows inserted at its place under
// its parent, found, renamed and removed with its parent's branch like a built node.
TEST(NestedModelTest, AnInsertedNodeStandsAtItsPlaceAndGoesWithItsBranch) {
    TAssistRoot root{"{TEST} tester"};
    ItemTreeModel model;
    ModelComplaints complaints;
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::Warning};
    TAssistScreen* s1 = TAssistScreen::Create(root);
    TAssistScreen* s2 = TAssistScreen::Create(root);
    TAssistOption* a = TAssistOption::Create(*s1);
    TAssistOption* b = TAssistOption::Create(*s1);
    TAssistOption* c = TAssistOption::Create(*s2);
    model.BeginBuild();
    const int top = model.AddNode(-1, &root, "A");
    const int n1 = model.AddNode(top, s1, "S1");
    model.AddNode(n1, a, "a");
    const int nb = model.AddNode(n1, b, "b");
    const int n2 = model.AddNode(top, s2, "S2");
    model.AddNode(n2, c, "c");
    model.EndBuild();
    QTreeView view;
    view.setModel(&model);
    view.expandAll();
    view.setCurrentIndex(model.IndexOfNode(nb));
    const auto children = [&](int node) {
        std::vector<std::string> texts;
        for (int child : model.ChildNodes(node))
            texts.push_back(model.NodeText(child));
        return texts;
    };

    struct Case {
        int position;
        int inserted; // the node number InsertNode returns; -1 for nothing added
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {1, model.NodeCount(), {"a", "new", "b"}},
        {0, model.NodeCount() + 1, {"new", "a", "new", "b"}},
        {4, model.NodeCount() + 2, {"new", "a", "new", "b", "new"}},
        {6, -1, {"new", "a", "new", "b", "new"}},
        {-1, -1, {"new", "a", "new", "b", "new"}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.position);
        TAssistOption* option = TAssistOption::Create(*s1);
        EXPECT_EQ(model.InsertNode(n1, test.position, option, "new"), test.inserted);
        EXPECT_EQ(children(n1), test.rows);
        std::vector<std::string> rows;
        for (int row = 0; row < model.rowCount(model.IndexOfNode(n1)); ++row)
            rows.push_back(model.index(row, 0, model.IndexOfNode(n1)).data().toString().toStdString());
        EXPECT_EQ(rows, test.rows) << "the view's rows follow the children";
        if (test.inserted >= 0) {
            EXPECT_EQ(model.DepthOf(test.inserted), 2);
            EXPECT_EQ(model.ParentOf(test.inserted), n1);
            EXPECT_EQ(model.FirstNodeOf(option), test.inserted);
            EXPECT_EQ(model.IndexOfNode(test.inserted).row(), test.position);
        }
    }
    EXPECT_EQ(model.ItemOf(view.currentIndex()), b) << "the current row keeps its node";
    EXPECT_EQ(model.InsertNode(top + 100, 0, a, "no parent"), -1);
    ItemTreeModel flat{nullptr, ItemTreeModel::Shape::Flat};
    flat.BeginBuild();
    flat.AddNode(-1, &root, "A");
    flat.EndBuild();
    EXPECT_EQ(flat.InsertNode(0, 0, a, "flat"), -1) << "a flat model is only ever built";

    // Moving among siblings, positions counted as after the move; the current row keeps its node.
    struct Move {
        int position;
        bool moved;
        std::vector<std::string> rows;
        int row; // where the moving node stands afterwards
    };
    const Move moves[] = {
        {4, true, {"a", "new", "b", "new", "new"}, 4},
        {0, true, {"new", "a", "new", "b", "new"}, 0},
        {0, false, {"new", "a", "new", "b", "new"}, 0},
        {5, false, {"new", "a", "new", "b", "new"}, 0},
    };
    const int moving = model.ChildNodes(n1)[0];
    for (const Move& move : moves) {
        SCOPED_TRACE(move.position);
        EXPECT_EQ(model.MoveNode(moving, move.position), move.moved);
        EXPECT_EQ(children(n1), move.rows);
        EXPECT_EQ(model.IndexOfNode(moving).row(), move.row);
        EXPECT_EQ(model.ItemOf(view.currentIndex()), b);
    }
    EXPECT_FALSE(flat.MoveNode(0, 0));

    model.SetNodeText(model.FirstNodeOf(a), "renamed");
    EXPECT_EQ(model.index(1, 0, model.IndexOfNode(n1)).data().toString(), QStringLiteral("renamed"));
    EXPECT_EQ(model.ItemsInBranch(n1).size(), 6u) << "the screen and its five options";
    ASSERT_TRUE(model.RemoveFirstNodeOf(s1));
    for (int node = 0; node < model.NodeCount(); ++node)
        if (model.IsLive(node)) {
            EXPECT_NE(model.TextAt(node), QStringLiteral("new")) << "the inserted nodes went with S1";
        }
    EXPECT_EQ(children(top), std::vector<std::string>({"S2"}));
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.rowCount(model.index(0, 0)), 1);
    EXPECT_EQ(ModelComplaints::Messages(), std::vector<std::string>{});
}

} // namespace
