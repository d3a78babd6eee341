#pragma once
// A read-only tree of text nodes for the editor's two views (the assistant tree and the navigation
// structure). Each node carries a non-owning pointer to a model item (the assistant, a screen or an
// option); the views never own items and never edit them.
//
// The tree is built as a whole (BeginBuild, AddNode..., EndBuild inside one model reset), so a rebuild
// of any size costs one pass and no per-node widgets; afterwards nodes can be renamed or removed in
// place, the nested shape can take a new node (InsertNode) or move one among its siblings (MoveNode), and
// the flat shape a new leaf (InsertLeaf). Built nodes are kept flat in index order (depth first, a parent
// before its children), so walking "all nodes in index order" is a loop over a vector, and a node's
// subtree is one contiguous range of it. The flat shape keeps that order when a leaf comes in (later
// nodes are numbered one higher). A node inserted into the nested shape is numbered after every other,
// outside its parent's range: that shape therefore walks a branch through its children lists, never
// through the range. Texts are kept as UTF-8 and turned into QString only when a view asks
// for them (the rows it paints).
//
// The model hands its nodes to a view in one of two shapes:
// - Nested: the usual parent and child indexes; a QTreeView lays out the tree and keeps the expansion.
// - Flat: one top-level row per visible node (a live node whose ancestors are all expanded, in index
//   order) and no child indexes; the expansion is kept here, and a FlatTreeView draws the indentation
//   and the expand/collapse indicators. A QTreeView lays out a nested tree by walking up the ancestors
//   of every expanded node and keeps a persistent index per expanded node, which for a deep structure
//   (a chain of screens thousands of levels deep) costs far more than the rebuild itself; a flat list
//   costs it one pass, whatever the depth.
#include <QAbstractItemModel>
#include <QString>

#include <string>
#include <vector>

class TAssistBase;

class ItemTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    enum class Shape { Nested, Flat };
    explicit ItemTreeModel(QObject* parent = nullptr, Shape shape = Shape::Nested);

    Shape ViewShape() const { return m_shape; }
    bool IsFlat() const { return m_shape == Shape::Flat; }

    // ---- Building: replaces every node. Nodes are added in index order; parent is the index returned
    // by an earlier AddNode, or -1 for a top-level node. Every new node is expanded.
    void BeginBuild();
    int AddNode(int parent, TAssistBase* item, std::string text);
    void EndBuild();
    // Removes every node (a build that adds none).
    void Clear();
    // Nested shape only: adds a node for the item as the child at `position` (0 to the number of live
    // children) of the live node `parent`, with its rows inserted into the views; returns its number,
    // or -1 (adding nothing) for a flat model, a parent that is not live or a position out of range.
    int InsertNode(int parent, int position, TAssistBase* item, std::string text);
    // Flat shape only: adds a node without children for the item as the child at `position` (0 to the
    // number of live children) of the live node `parent`, keeping the nodes in index order (later nodes
    // are numbered one higher; the views' indexes follow their nodes). Returns its number, or -1 (adding
    // nothing) for a nested model, a parent that is not live or a position out of range.
    int InsertLeaf(int parent, int position, TAssistBase* item, std::string text);
    // Nested shape only: moves a live node with its branch to `position` among its siblings (counted
    // as after the move), with the rows moved in the views. False, moving nothing, for a flat model,
    // a node that is not live or a position out of range or where the node already is.
    bool MoveNode(int node, int position);

    // ---- Nodes in index order. Removed nodes keep their number but are skipped by these functions.
    int NodeCount() const { return static_cast<int>(m_nodes.size()); }
    bool IsLive(int node) const { return node >= 0 && node < NodeCount() && !m_nodes[Size(node)].removed; }
    TAssistBase* ItemAt(int node) const { return IsLive(node) ? m_nodes[Size(node)].item : nullptr; }
    QString TextAt(int node) const;
    // The text of a live node as it was given; empty for no live node.
    const std::string& NodeText(int node) const;
    // Gives one live node a new text and refreshes its row.
    void SetNodeText(int node, std::string text);
    // The live children of a live node, in display order.
    std::vector<int> ChildNodes(int node) const;
    // Whether the node has live children.
    bool HasChildren(int node) const { return IsLive(node) && m_nodes[Size(node)].liveChildren > 0; }
    // The level of a live node: 0 for a top-level node, its parent's plus one below; -1 for no live node.
    int DepthOf(int node) const { return IsLive(node) ? m_nodes[Size(node)].depth : -1; }
    // The parent of a live node; -1 for a top-level node or no live node.
    int ParentOf(int node) const { return IsLive(node) ? m_nodes[Size(node)].parent : -1; }
    // The view index of a live node; invalid for no live node. In the flat shape a node inside a
    // collapsed branch gets a row first: its ancestors are expanded.
    QModelIndex IndexOfNode(int node);
    int NodeOf(const QModelIndex& index) const;
    // The item of a view index; nullptr for an invalid index or a node without item.
    TAssistBase* ItemOf(const QModelIndex& index) const { return ItemAt(NodeOf(index)); }
    // The first (or last) live node in index order that carries the item; -1 when none does.
    int FirstNodeOf(const TAssistBase* item) const;
    int LastNodeOf(const TAssistBase* item) const;

    // The items of a live node and of every node below it; empty for no live node.
    std::vector<const TAssistBase*> ItemsInBranch(int node) const;
    // Tells the views that the rows of every node carrying the item show something new (dataChanged);
    // the nodes stay as they are.
    void RefreshItem(const TAssistBase* item);
    // Gives every node that carries the item the new text and refreshes their rows; the nodes keep
    // their places. Returns whether any node carries the item.
    bool RenameItem(const TAssistBase* item, const std::string& text);
    // Deletes the first node that carries the item, with the nodes below it (rows removed, so a view's
    // selection moves to a neighbour). Returns whether a node was removed.
    bool RemoveFirstNodeOf(const TAssistBase* item);

    // ---- Expansion. In the flat shape it decides which nodes are rows; in the nested shape the view
    // keeps its own and these flags are not shown.
    bool IsExpanded(int node) const { return IsLive(node) && m_nodes[Size(node)].expanded; }
    // Expands or collapses one node; its descendants keep their own state (shown again as they were
    // when the node is expanded again).
    void SetExpanded(int node, bool expanded);
    // Expands the node and every node below it.
    void ExpandBranch(int node);
    void ExpandAll();
    // Flat shape: the row of a node, -1 while it is inside a collapsed branch (or not live).
    int RowOf(int node) const;
    // Flat shape: whether a live node has a later live sibling (a tree line continues below it).
    bool HasLaterSibling(int node) const;

    // ---- Captions: every node offers its item's caption in kCaptionRole (editor/idcaptiondelegate.h),
    // read from the item when asked; node texts stay as built. Qt::AccessibleTextRole is the row as a
    // reader sees it, "ID — Caption" (IdCaptionText). After captions changed without a rebuild,
    // RefreshCaptions tells the views to draw the rows again.
    void RefreshCaptions();

    // ---- QAbstractItemModel
    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // ---- Drag and drop (nested shape, off until enabled): screens are reordered under the assistant,
    // options within their screen or onto another screen. A drop changes nothing here; it emits
    // MoveRequested and the window rebuilds the tree after moving the item.
    void SetDragDropEnabled(bool enabled) { m_dragDrop = enabled; }
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

Q_SIGNALS:
    // Move the screen at fromScreen (fromOption -1) to position toScreen, or the option at fromOption of
    // screen fromScreen to position toOption of screen toScreen; positions are those after the move.
    void MoveRequested(int fromScreen, int fromOption, int toScreen, int toOption);

private:
    // What the passes over all nodes read (laying out rows, subtree ends, finding an item's nodes), kept
    // small so that they stream through little memory; the texts and the nested children are apart.
    struct Node {
        TAssistBase* item = nullptr;
        int parent = -1;
        int depth = 0;
        int row = 0; // nested: position among the parent's live children
        int end = 0; // one past the last node of the subtree
        int liveChildren = 0;
        bool expanded = true;
        bool removed = false;
    };
    static std::size_t Size(int node) { return static_cast<std::size_t>(node); }
    // A live node and every live node below it: the node's range in the flat shape, a walk through the
    // children lists in the nested one (inserted nodes lie outside their parent's range).
    std::vector<int> BranchNodes(int node) const;
    // The view index of a live node, in either shape; invalid when the flat shape gives it no row.
    QModelIndex ShownIndexOf(int node) const;
    const std::vector<int>& ChildrenOf(const QModelIndex& parent) const;
    QModelIndex NestedIndexOf(int node) const;

    // Flat shape: the visible nodes in index order, one pass that steps over each collapsed branch.
    std::vector<int> VisibleNodes() const;
    // Flat shape: makes `rows` the visible nodes (and updates the row of every node).
    void SetRows(std::vector<int> rows);
    // Flat shape: the number of rows that show nodes below a visible node.
    int VisibleDescendants(int node) const;
    // Flat shape: takes the rows after the current expansion flags changed in ways that only added rows,
    // keeping the view's persistent indexes (selection, current) on their nodes.
    void RelayOutGrown();

    struct MoveTarget {
        int fromScreen = -1, fromOption = -1, toScreen = -1, toOption = -1;
    };
    // The move a drop asks for; false when it is not a valid move.
    bool DropTarget(const QMimeData* data, int row, const QModelIndex& parent, MoveTarget& move) const;

    bool m_dragDrop = false;
    Shape m_shape;
    std::vector<Node> m_nodes;
    std::vector<std::string> m_texts;         // by node
    std::vector<std::vector<int>> m_children; // nested, by node: live children in display order
    std::vector<int> m_top;                   // nested: top-level nodes in display order
    std::vector<int> m_rows;                  // flat: node of each row
    std::vector<int> m_rowOf;                 // flat: row of each node, -1 when it has none
};
