#pragma once
// A read-only tree of text nodes for the editor's two views (the assistant tree and the navigation
// structure). Each node carries a non-owning pointer to a model item (the assistant, a screen or an
// option); the views never own items and never edit them.
//
// The tree is rebuilt as a whole (BeginBuild, AddNode..., EndBuild inside one model reset) rather than
// edited, so a rebuild of any size costs one pass and no per-node widgets. Nodes are kept flat in
// index order (depth first, a parent before its children), so walking "all nodes in index order" is a
// loop over a vector, and a node's subtree is one contiguous range of it.
#include <QAbstractItemModel>
#include <QString>

#include <vector>

class TAssistBase;

class ItemTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit ItemTreeModel(QObject* parent = nullptr);

    // ---- Building: replaces every node. Nodes are added in index order; parent is the index returned
    // by an earlier AddNode, or -1 for a top-level node.
    void BeginBuild();
    int AddNode(int parent, TAssistBase* item, QString text);
    void EndBuild();
    // Removes every node (a build that adds none).
    void Clear();

    // ---- Nodes in index order. Removed nodes keep their number but are skipped by these functions.
    int NodeCount() const { return static_cast<int>(m_nodes.size()); }
    bool IsLive(int node) const { return node >= 0 && node < NodeCount() && !m_nodes[Size(node)].removed; }
    TAssistBase* ItemAt(int node) const { return IsLive(node) ? m_nodes[Size(node)].item : nullptr; }
    QString TextAt(int node) const { return IsLive(node) ? m_nodes[Size(node)].text : QString(); }
    bool HasChildren(int node) const { return IsLive(node) && !m_nodes[Size(node)].children.empty(); }
    QModelIndex IndexOfNode(int node) const;
    int NodeOf(const QModelIndex& index) const;
    // The item of a view index; nullptr for an invalid index or a node without item.
    TAssistBase* ItemOf(const QModelIndex& index) const { return ItemAt(NodeOf(index)); }
    // The first (or last) live node in index order that carries the item; -1 when none does.
    int FirstNodeOf(const TAssistBase* item) const;
    int LastNodeOf(const TAssistBase* item) const;

    // Deletes the first node that carries the item, with the nodes below it (rows removed, so a view's
    // selection moves to a neighbour). Returns whether a node was removed.
    bool RemoveFirstNodeOf(const TAssistBase* item);
    // Clears the item pointer of every node that carries one of the given items, so nothing refers to
    // items that are about to be destroyed. The nodes themselves stay.
    void ForgetItems(const std::vector<const TAssistBase*>& items);

    // ---- QAbstractItemModel
    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;

private:
    struct Node {
        TAssistBase* item = nullptr;
        QString text;
        int parent = -1;
        int row = 0;               // position among the parent's live children
        int end = 0;               // one past the last node of the subtree
        std::vector<int> children; // live children in display order
        bool removed = false;
    };
    static std::size_t Size(int node) { return static_cast<std::size_t>(node); }
    const std::vector<int>& ChildrenOf(const QModelIndex& parent) const;

    std::vector<Node> m_nodes;
    std::vector<int> m_top; // top-level nodes in display order
    bool m_building = false;
};
