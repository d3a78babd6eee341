#include "editor/itemtreemodel.h"

#include <algorithm>
#include <unordered_set>

ItemTreeModel::ItemTreeModel(QObject* parent) : QAbstractItemModel(parent) {}

void ItemTreeModel::BeginBuild() {
    beginResetModel();
    m_building = true;
    m_nodes.clear();
    m_top.clear();
}

int ItemTreeModel::AddNode(int parent, TAssistBase* item, QString text) {
    const int number = NodeCount();
    Node node;
    node.item = item;
    node.text = std::move(text);
    node.parent = parent;
    std::vector<int>& siblings = parent < 0 ? m_top : m_nodes[Size(parent)].children;
    node.row = static_cast<int>(siblings.size());
    siblings.push_back(number);
    m_nodes.push_back(std::move(node));
    return number;
}

void ItemTreeModel::EndBuild() {
    // Subtree ends: nodes are in index order, so a backward pass hands each node's end to its parent.
    for (int i = NodeCount() - 1; i >= 0; --i) {
        Node& node = m_nodes[Size(i)];
        node.end = std::max(node.end, i + 1);
        if (node.parent >= 0)
            m_nodes[Size(node.parent)].end = std::max(m_nodes[Size(node.parent)].end, node.end);
    }
    m_building = false;
    endResetModel();
}

void ItemTreeModel::Clear() {
    BeginBuild();
    EndBuild();
}

QModelIndex ItemTreeModel::IndexOfNode(int node) const {
    if (!IsLive(node))
        return {};
    return createIndex(m_nodes[Size(node)].row, 0, static_cast<quintptr>(node));
}

int ItemTreeModel::NodeOf(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this)
        return -1;
    const int node = static_cast<int>(index.internalId());
    return IsLive(node) ? node : -1;
}

int ItemTreeModel::FirstNodeOf(const TAssistBase* item) const {
    for (int i = 0; i < NodeCount(); ++i)
        if (!m_nodes[Size(i)].removed && m_nodes[Size(i)].item == item)
            return i;
    return -1;
}

int ItemTreeModel::LastNodeOf(const TAssistBase* item) const {
    for (int i = NodeCount() - 1; i >= 0; --i)
        if (!m_nodes[Size(i)].removed && m_nodes[Size(i)].item == item)
            return i;
    return -1;
}

bool ItemTreeModel::RemoveFirstNodeOf(const TAssistBase* item) {
    const int node = item == nullptr ? -1 : FirstNodeOf(item);
    if (node < 0)
        return false;
    Node& removed = m_nodes[Size(node)];
    const QModelIndex parentIndex = IndexOfNode(removed.parent);
    const int row = removed.row;
    beginRemoveRows(parentIndex, row, row);
    std::vector<int>& siblings = removed.parent < 0 ? m_top : m_nodes[Size(removed.parent)].children;
    siblings.erase(siblings.begin() + row);
    for (std::size_t i = static_cast<std::size_t>(row); i < siblings.size(); ++i)
        m_nodes[Size(siblings[i])].row = static_cast<int>(i);
    for (int i = node; i < removed.end; ++i) {
        m_nodes[Size(i)].removed = true;
        m_nodes[Size(i)].item = nullptr;
    }
    endRemoveRows();
    return true;
}

void ItemTreeModel::ForgetItems(const std::vector<const TAssistBase*>& items) {
    const std::unordered_set<const TAssistBase*> gone(items.begin(), items.end());
    for (Node& node : m_nodes)
        if (node.item != nullptr && gone.count(node.item) > 0)
            node.item = nullptr;
}

const std::vector<int>& ItemTreeModel::ChildrenOf(const QModelIndex& parent) const {
    if (!parent.isValid())
        return m_top;
    const int node = NodeOf(parent);
    static const std::vector<int> none;
    return node < 0 ? none : m_nodes[Size(node)].children;
}

QModelIndex ItemTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0)
        return {};
    const std::vector<int>& children = ChildrenOf(parent);
    if (static_cast<std::size_t>(row) >= children.size())
        return {};
    return createIndex(row, 0, static_cast<quintptr>(children[static_cast<std::size_t>(row)]));
}

QModelIndex ItemTreeModel::parent(const QModelIndex& child) const {
    const int node = NodeOf(child);
    return node < 0 ? QModelIndex() : IndexOfNode(m_nodes[Size(node)].parent);
}

int ItemTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() && parent.column() != 0)
        return 0;
    return static_cast<int>(ChildrenOf(parent).size());
}

int ItemTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

bool ItemTreeModel::hasChildren(const QModelIndex& parent) const {
    return !ChildrenOf(parent).empty();
}

QVariant ItemTreeModel::data(const QModelIndex& index, int role) const {
    const int node = NodeOf(index);
    if (node < 0 || role != Qt::DisplayRole)
        return {};
    return m_nodes[Size(node)].text;
}
