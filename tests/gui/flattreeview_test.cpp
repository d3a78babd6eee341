// The flat tree view: rows drawn behind their level's indentation with the style's branch indicators
// and lines, as high and as far in as a nested tree view would put them; the mouse and keyboard
// gestures of a tree view expand and collapse the model's nodes.
#include "editor/flattreeview.h"
#include "editor/itemtreemodel.h"
#include "guitesthelpers.h"
#include "model/assistroot.h"

#include <QProxyStyle>
#include <QSignalSpy>
#include <QStyleOptionViewItem>
#include <QTest>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

// The application's style, recording what it is asked to draw; the hint for arrow keys moving between
// parent and children is the test's to choose.
class RecordingStyle final : public QProxyStyle {
public:
    struct Drawn {
        QRect rect;
        QStyle::State state;
        QString text;
    };
    mutable std::vector<Drawn> branches;
    mutable std::vector<Drawn> items;
    bool arrowsMoveBetweenLevels = true;

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element == PE_IndicatorBranch)
            branches.push_back({option->rect, option->state, {}});
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        if (element == CE_ItemViewItem)
            if (const auto* item = qstyleoption_cast<const QStyleOptionViewItem*>(option))
                items.push_back({item->rect, item->state, item->text});
        QProxyStyle::drawControl(element, option, painter, widget);
    }
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_ItemView_ArrowKeysNavigateIntoChildren)
            return arrowsMoveBetweenLevels ? 1 : 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

struct NodeEntry {
    int depth;
    const char* text;
};

// A
//  B
//   C
//    D
//   E
//  F
//   G
// H
//  I
const std::vector<NodeEntry> kSample = {{0, "A"}, {1, "B"}, {2, "C"}, {3, "D"}, {2, "E"},
                                        {1, "F"}, {2, "G"}, {0, "H"}, {1, "I"}};

void Build(ItemTreeModel& model, TAssistBase* item, const std::vector<NodeEntry>& nodes) {
    model.BeginBuild();
    std::vector<int> parents;
    for (const NodeEntry& entry : nodes) {
        const int parent = entry.depth == 0 ? -1 : parents[static_cast<std::size_t>(entry.depth - 1)];
        parents.resize(static_cast<std::size_t>(entry.depth));
        parents.push_back(model.AddNode(parent, item, entry.text));
    }
    model.EndBuild();
}

class FlatTreeViewTest : public ::testing::Test {
protected:
    static constexpr int kIndent = 19;
    TAssistRoot root{"{TEST} tester"};
    ItemTreeModel model{nullptr, ItemTreeModel::Shape::Flat};
    std::unique_ptr<RecordingStyle> style = std::make_unique<RecordingStyle>();
    FlatTreeView view;

    void SetUp() override {
        Build(model, TAssistScreen::Create(root), kSample);
        view.setStyle(style.get());
        view.setHeaderHidden(true);
        view.setIndentation(kIndent);
        view.setUniformRowHeights(true);
        view.setModel(&model);
        view.resize(300, 400);
        ASSERT_TRUE(ShowActive(&view));
        view.setFocus();
    }

    int Node(const char* text) const {
        for (int node = 0; node < model.NodeCount(); ++node)
            if (model.IsLive(node) && model.TextAt(node) == QString::fromLatin1(text))
                return node;
        return -1;
    }
    QModelIndex Index(const char* text) { return model.IndexOfNode(Node(text)); }
    std::string CurrentText() const { return view.currentIndex().data().toString().toStdString(); }
    std::vector<std::string> RowTexts() const {
        std::vector<std::string> rows;
        for (int row = 0; row < model.rowCount(); ++row)
            rows.push_back(model.index(row, 0).data().toString().toStdString());
        return rows;
    }

    // What each row's indentation shows, by row text: one character per outer level ('|' a line going
    // on to a later sibling, '.' none), then the row's own indicator: '-' for a leaf, else C (children),
    // O (open), each followed by S when a later sibling follows.
    std::map<std::string, std::string> PaintedBranches() {
        style->branches.clear();
        style->items.clear();
        view.viewport()->grab();
        std::map<std::string, std::map<int, QStyle::State>> slots;
        for (const RecordingStyle::Drawn& branch : style->branches) {
            const QModelIndex index =
                view.indexAt(QPoint(view.viewport()->width() - 1, branch.rect.center().y()));
            EXPECT_EQ(branch.rect.width(), kIndent);
            slots[index.data().toString().toStdString()][branch.rect.left() / kIndent] = branch.state;
        }
        std::map<std::string, std::string> painted;
        for (const auto& [text, states] : slots) {
            std::string shown;
            for (const auto& [slot, state] : states) {
                if (!state.testFlag(QStyle::State_Item)) {
                    shown += state.testFlag(QStyle::State_Sibling) ? '|' : '.';
                    continue;
                }
                std::string own;
                if (state.testFlag(QStyle::State_Children))
                    own += 'C';
                if (state.testFlag(QStyle::State_Open))
                    own += 'O';
                if (state.testFlag(QStyle::State_Sibling))
                    own += 'S';
                shown += own.empty() ? "-" : own;
            }
            painted[text] = shown;
        }
        return painted;
    }

    void Click(const QPoint& point) {
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, point);
        QApplication::processEvents();
    }
    // Press, release, double click, release, as the window system delivers them.
    void DoubleClick(const QPoint& point) {
        QTest::mouseDClick(view.window()->windowHandle(), Qt::LeftButton, {},
                           view.viewport()->mapTo(view.window(), point));
        QApplication::processEvents();
    }
};

TEST_F(FlatTreeViewTest, RowsAreDrawnBehindTheirLevelsIndentationWithTheirIndicators) {
    EXPECT_EQ(
        PaintedBranches(),
        (std::map<std::string, std::string>{
            {"B", "COS"}, {"C", "|COS"}, {"D", "||-"}, {"E", "|-"}, {"F", "CO"}, {"G", ".-"}, {"I", "-"}}))
        << "top-level rows have no indicator";
    ASSERT_EQ(style->items.size(), kSample.size());
    for (const RecordingStyle::Drawn& item : style->items) {
        SCOPED_TRACE(item.text.toStdString());
        const int node = Node(item.text.toLatin1().constData());
        EXPECT_EQ(item.rect.left(), model.DepthOf(node) * kIndent);
        EXPECT_EQ(item.rect.right(), view.viewport()->width() - 1);
    }

    model.SetExpanded(Node("B"), false);
    EXPECT_EQ(PaintedBranches(),
              (std::map<std::string, std::string>{{"B", "CS"}, {"F", "CO"}, {"G", ".-"}, {"I", "-"}}));
}

TEST_F(FlatTreeViewTest, RowsAreAsHighAndTextsAsFarInAsInANestedTreeView) {
    ItemTreeModel nestedModel;
    Build(nestedModel, TAssistScreen::Create(root), kSample);
    QTreeView nested;
    nested.setStyle(style.get());
    nested.setHeaderHidden(true);
    nested.setIndentation(kIndent);
    nested.setUniformRowHeights(true);
    nested.setRootIsDecorated(false);
    nested.setModel(&nestedModel);
    nested.expandAll();
    nested.resize(view.size());
    nested.show();
    QApplication::processEvents();
    for (int node = 0; node < model.NodeCount(); ++node) {
        SCOPED_TRACE(node);
        const QRect flatRow = view.visualRect(model.IndexOfNode(node));
        const QRect nestedRow = nested.visualRect(nestedModel.IndexOfNode(node));
        EXPECT_EQ(flatRow.top(), nestedRow.top());
        EXPECT_EQ(flatRow.height(), nestedRow.height());
        EXPECT_EQ(view.RowIndentation(model.IndexOfNode(node)), nestedRow.left());
    }
}

TEST_F(FlatTreeViewTest, AClickOnTheIndicatorTogglesWithoutSelectingOrClicking) {
    QSignalSpy clicked(&view, &QAbstractItemView::clicked);
    view.setCurrentIndex(Index("A"));
    EXPECT_TRUE(view.IndicatorRect(Index("A")).isEmpty()) << "the top level has none";
    EXPECT_TRUE(view.IndicatorRect(Index("G")).isEmpty()) << "a leaf has none";
    const QRect indicator = view.IndicatorRect(Index("B"));
    ASSERT_FALSE(indicator.isEmpty());
    EXPECT_GE(indicator.left(), 0);
    EXPECT_LE(indicator.right(), 2 * kIndent);

    Click(indicator.center());
    EXPECT_FALSE(model.IsExpanded(Node("B")));
    EXPECT_EQ(RowTexts(), (std::vector<std::string>{"A", "B", "F", "G", "H", "I"}));
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_EQ(CurrentText(), "A");

    Click(view.IndicatorRect(Index("B")).center());
    EXPECT_TRUE(model.IsExpanded(Node("B")));
    EXPECT_EQ(model.rowCount(), static_cast<int>(kSample.size()));
    EXPECT_EQ(clicked.count(), 0);

    // The text is an ordinary click.
    Click(view.visualRect(Index("E")).center());
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(CurrentText(), "E");
    EXPECT_TRUE(view.selectionModel()->isSelected(Index("E")));
}

TEST_F(FlatTreeViewTest, CollapsingAnAncestorOfTheCurrentRowMakesTheCollapsedNodeCurrent) {
    view.setCurrentIndex(Index("D"));
    Click(view.IndicatorRect(Index("B")).center());
    EXPECT_EQ(CurrentText(), "B");
    EXPECT_TRUE(view.selectionModel()->isSelected(view.currentIndex()));
    // Collapsing elsewhere leaves the current row alone.
    Click(view.IndicatorRect(Index("F")).center());
    EXPECT_EQ(CurrentText(), "B");
}

TEST_F(FlatTreeViewTest, ADoubleClickTogglesANodeWithChildren) {
    DoubleClick(view.visualRect(Index("C")).center());
    EXPECT_FALSE(model.IsExpanded(Node("C")));
    EXPECT_EQ(RowTexts(), (std::vector<std::string>{"A", "B", "C", "E", "F", "G", "H", "I"}));
    DoubleClick(view.visualRect(Index("C")).center());
    EXPECT_TRUE(model.IsExpanded(Node("C")));
    DoubleClick(view.visualRect(Index("G")).center());
    EXPECT_EQ(model.rowCount(), static_cast<int>(kSample.size())) << "a leaf has nothing to toggle";
    EXPECT_EQ(CurrentText(), "G");
}

TEST_F(FlatTreeViewTest, KeysExpandCollapseAndMoveBetweenLevels) {
    struct Case {
        const char* name;
        std::vector<const char*> collapsed;
        const char* current;
        Qt::Key key;
        bool arrowsMoveBetweenLevels;
        const char* currentAfter;
        std::vector<std::string> rows;
    };
    const std::vector<std::string> all = {"A", "B", "C", "D", "E", "F", "G", "H", "I"};
    const Case cases[] = {
        {"Left collapses", {}, "B", Qt::Key_Left, true, "B", {"A", "B", "F", "G", "H", "I"}},
        {"Left on a collapsed node goes to the parent",
         {"B"},
         "B",
         Qt::Key_Left,
         true,
         "A",
         {"A", "B", "F", "G", "H", "I"}},
        {"Left on a leaf goes to the parent", {}, "D", Qt::Key_Left, true, "C", all},
        {"Left stays without that style hint", {}, "D", Qt::Key_Left, false, "D", all},
        {"Left on a collapsed top node stays", {"A"}, "A", Qt::Key_Left, true, "A", {"A", "H", "I"}},
        {"Right expands", {"B"}, "B", Qt::Key_Right, true, "B", all},
        {"Right on an expanded node goes to its first child", {}, "B", Qt::Key_Right, true, "C", all},
        {"Right stays without that style hint", {}, "B", Qt::Key_Right, false, "B", all},
        {"Right on a leaf stays", {}, "D", Qt::Key_Right, true, "D", all},
        {"Minus collapses", {}, "C", Qt::Key_Minus, true, "C", {"A", "B", "C", "E", "F", "G", "H", "I"}},
        {"Plus expands", {"C"}, "C", Qt::Key_Plus, true, "C", all},
        {"Star expands the whole branch", {"C", "B", "A"}, "A", Qt::Key_Asterisk, true, "A", all},
        {"Star leaves other branches",
         {"C", "F", "B"},
         "B",
         Qt::Key_Asterisk,
         true,
         "B",
         {"A", "B", "C", "D", "E", "F", "H", "I"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        model.ExpandAll();
        for (const char* text : c.collapsed)
            model.SetExpanded(Node(text), false);
        style->arrowsMoveBetweenLevels = c.arrowsMoveBetweenLevels;
        view.setCurrentIndex(Index(c.current));
        QTest::keyClick(&view, c.key);
        EXPECT_EQ(CurrentText(), c.currentAfter);
        EXPECT_EQ(RowTexts(), c.rows);
    }
}

} // namespace
