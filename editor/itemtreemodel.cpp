#include "editor/itemtreemodel.h"

#include "editor/idcaptiondelegate.h"

#include "model/assistoption.h"
#include "model/assistroot.h"
#include "model/assistscreen.h"

#include <QMimeData>

#include <algorithm>

ItemTreeModel::ItemTreeModel(QObject* parent, Shape shape) : QAbstractItemModel(parent), m_shape(shape) {}

void ItemTreeModel::BeginBuild() {
    beginResetModel();
    m_nodes.clear();
    m_texts.clear();
    m_children.clear();
    m_top.clear();
    m_rows.clear();
    m_rowOf.clear();
}

int ItemTreeModel::AddNode(int parent, TAssistBase* item, std::string text) {
    const int number = NodeCount();
    Node node;
    node.item = item;
    node.parent = parent;
    if (parent >= 0) {
        Node& above = m_nodes[Size(parent)];
        node.depth = above.depth + 1;
        ++above.liveChildren;
    }
    if (!IsFlat()) {
        std::vector<int>& siblings = parent < 0 ? m_top : m_children[Size(parent)];
        node.row = static_cast<int>(siblings.size());
        siblings.push_back(number);
        m_children.emplace_back();
    }
    m_nodes.push_back(node);
    m_texts.push_back(std::move(text));
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
    if (IsFlat())
        SetRows(VisibleNodes());
    endResetModel();
}

void ItemTreeModel::Clear() {
    BeginBuild();
    EndBuild();
}

int ItemTreeModel::InsertNode(int parent, int position, TAssistBase* item, std::string text) {
    if (IsFlat() || !IsLive(parent) || position < 0 || Size(position) > m_children[Size(parent)].size())
        return -1;
    const int number = NodeCount();
    beginInsertRows(NestedIndexOf(parent), position, position);
    Node node;
    node.item = item;
    node.parent = parent;
    node.depth = m_nodes[Size(parent)].depth + 1;
    node.row = position;
    node.end = number + 1;
    m_nodes.push_back(node);
    m_texts.push_back(std::move(text));
    m_children.emplace_back();
    ++m_nodes[Size(parent)].liveChildren;
    std::vector<int>& siblings = m_children[Size(parent)];
    siblings.insert(siblings.begin() + position, number);
    for (std::size_t i = Size(position) + 1; i < siblings.size(); ++i)
        m_nodes[Size(siblings[i])].row = static_cast<int>(i);
    endInsertRows();
    return number;
}

int ItemTreeModel::InsertLeaf(int parent, int position, TAssistBase* item, std::string text) {
    if (!IsFlat() || !IsLive(parent) || position < 0)
        return -1;
    const std::vector<int> siblings = ChildNodes(parent);
    if (Size(position) > siblings.size())
        return -1;
    // The new node takes the number of the sibling it goes before, or the one after its parent's
    // subtree; from there on every node moves up by one.
    const int at = Size(position) < siblings.size() ? siblings[Size(position)] : m_nodes[Size(parent)].end;
    // It gets a row when its parent shows its children: right before that sibling's row, or after the
    // parent's last visible row.
    int row = -1;
    if (RowOf(parent) >= 0 && m_nodes[Size(parent)].expanded)
        row = Size(position) < siblings.size() ? RowOf(at) : RowOf(parent) + 1 + VisibleDescendants(parent);
    if (row >= 0)
        beginInsertRows(QModelIndex(), row, row);

    std::vector<char> ancestor(m_nodes.size(), 0);
    for (int above = parent; above >= 0; above = m_nodes[Size(above)].parent)
        ancestor[Size(above)] = 1;
    for (std::size_t i = 0; i < m_nodes.size(); ++i) {
        Node& node = m_nodes[i];
        if (node.parent >= at)
            ++node.parent;
        if (i >= Size(at) || ancestor[i] != 0)
            ++node.end;
    }
    Node node;
    node.item = item;
    node.parent = parent;
    node.depth = m_nodes[Size(parent)].depth + 1;
    node.end = at + 1;
    m_nodes.insert(m_nodes.begin() + at, node);
    m_texts.insert(m_texts.begin() + at, std::move(text));
    ++m_nodes[Size(parent)].liveChildren;
    SetRows(VisibleNodes());
    if (row >= 0) {
        // Qt moves the indexes of the later rows down a row and asks index() for them, which gives the
        // new numbers.
        endInsertRows();
    } else {
        // No row was added, but the views' indexes carry node numbers: those of the nodes that moved
        // up follow them.
        const QModelIndexList from = persistentIndexList();
        QModelIndexList to;
        to.reserve(from.size());
        for (const QModelIndex& index : from) {
            const auto old = static_cast<int>(index.internalId());
            const int moved = old >= at ? old + 1 : old;
            to.push_back(RowOf(moved) < 0 ? QModelIndex()
                                          : createIndex(RowOf(moved), 0, static_cast<quintptr>(moved)));
        }
        changePersistentIndexList(from, to);
    }
    // A parent that had no children gains its expand/collapse indicator.
    if (RowOf(parent) >= 0) {
        const QModelIndex changed = createIndex(RowOf(parent), 0, static_cast<quintptr>(parent));
        Q_EMIT dataChanged(changed, changed);
    }
    return at;
}

bool ItemTreeModel::MoveNode(int node, int position) {
    if (IsFlat() || !IsLive(node))
        return false;
    const int parent = m_nodes[Size(node)].parent;
    std::vector<int>& siblings = parent < 0 ? m_top : m_children[Size(parent)];
    const int from = m_nodes[Size(node)].row;
    if (position < 0 || Size(position) >= siblings.size() || position == from)
        return false;
    // The views are told the row before which it goes, counted before the move.
    const QModelIndex parentIndex = NestedIndexOf(parent);
    if (!beginMoveRows(parentIndex, from, from, parentIndex, position > from ? position + 1 : position))
        return false;
    siblings.erase(siblings.begin() + from);
    siblings.insert(siblings.begin() + position, node);
    for (int row = std::min(from, position); row <= std::max(from, position); ++row)
        m_nodes[Size(siblings[Size(row)])].row = row;
    endMoveRows();
    return true;
}

QString ItemTreeModel::TextAt(int node) const {
    return IsLive(node) ? QString::fromStdString(m_texts[Size(node)]) : QString();
}

const std::string& ItemTreeModel::NodeText(int node) const {
    static const std::string none;
    return IsLive(node) ? m_texts[Size(node)] : none;
}

void ItemTreeModel::SetNodeText(int node, std::string text) {
    if (!IsLive(node))
        return;
    m_texts[Size(node)] = std::move(text);
    const QModelIndex index = ShownIndexOf(node);
    if (index.isValid())
        Q_EMIT dataChanged(index, index);
}

std::vector<int> ItemTreeModel::ChildNodes(int node) const {
    std::vector<int> children;
    if (!IsLive(node))
        return children;
    if (!IsFlat())
        return m_children[Size(node)];
    // In index order a child's subtree ends where the next child begins; removed ones are stepped over
    // a subtree at a time.
    for (int child = node + 1; child < m_nodes[Size(node)].end; child = m_nodes[Size(child)].end)
        if (!m_nodes[Size(child)].removed)
            children.push_back(child);
    return children;
}

std::vector<int> ItemTreeModel::BranchNodes(int node) const {
    std::vector<int> branch;
    if (!IsLive(node))
        return branch;
    if (IsFlat()) {
        for (int i = node; i < m_nodes[Size(node)].end; ++i)
            if (!m_nodes[Size(i)].removed)
                branch.push_back(i);
        return branch;
    }
    std::vector<int> pending{node};
    while (!pending.empty()) {
        const int next = pending.back();
        pending.pop_back();
        branch.push_back(next);
        const std::vector<int>& children = m_children[Size(next)];
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    return branch;
}

QModelIndex ItemTreeModel::ShownIndexOf(int node) const {
    if (!IsFlat())
        return NestedIndexOf(node);
    // A node inside a collapsed branch of the flat shape has no row.
    const int row = RowOf(node);
    return row < 0 ? QModelIndex() : createIndex(row, 0, static_cast<quintptr>(node));
}

QModelIndex ItemTreeModel::IndexOfNode(int node) {
    if (!IsLive(node))
        return {};
    if (!IsFlat())
        return NestedIndexOf(node);
    if (RowOf(node) < 0) {
        // Inside a collapsed branch: every collapsed ancestor is expanded. The rows this adds all lie in
        // the branch of the outermost of them, which is itself a row (its ancestors are expanded) and
        // showed nothing below it so far: one block of rows right after it.
        int outermost = -1;
        for (int above = m_nodes[Size(node)].parent; above >= 0; above = m_nodes[Size(above)].parent)
            if (!m_nodes[Size(above)].expanded)
                outermost = above;
        if (outermost >= 0) {
            for (int above = m_nodes[Size(node)].parent; above >= 0; above = m_nodes[Size(above)].parent)
                m_nodes[Size(above)].expanded = true;
            std::vector<int> rows = VisibleNodes();
            const int first = RowOf(outermost) + 1;
            const int added = static_cast<int>(rows.size() - m_rows.size());
            beginInsertRows(QModelIndex(), first, first + added - 1);
            SetRows(std::move(rows));
            endInsertRows();
            const QModelIndex changed = createIndex(RowOf(outermost), 0, static_cast<quintptr>(outermost));
            Q_EMIT dataChanged(changed, changed);
        }
    }
    const int row = RowOf(node);
    return row < 0 ? QModelIndex() : createIndex(row, 0, static_cast<quintptr>(node));
}

void ItemTreeModel::RefreshCaptions() {
    const QList<int> roles{kCaptionRole};
    const auto refresh = [&](const QModelIndex& parent) {
        const int rows = rowCount(parent);
        if (rows > 0)
            Q_EMIT dataChanged(index(0, 0, parent), index(rows - 1, 0, parent), roles);
    };
    refresh({});
    if (IsFlat())
        return;
    for (int node = 0; node < NodeCount(); ++node)
        if (HasChildren(node))
            refresh(NestedIndexOf(node));
}

QModelIndex ItemTreeModel::NestedIndexOf(int node) const {
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

std::vector<const TAssistBase*> ItemTreeModel::ItemsInBranch(int node) const {
    std::vector<const TAssistBase*> items;
    for (int i : BranchNodes(node))
        if (m_nodes[Size(i)].item != nullptr)
            items.push_back(m_nodes[Size(i)].item);
    return items;
}

void ItemTreeModel::RefreshItem(const TAssistBase* item) {
    if (item == nullptr)
        return;
    for (int node = 0; node < NodeCount(); ++node) {
        if (m_nodes[Size(node)].removed || m_nodes[Size(node)].item != item)
            continue;
        const QModelIndex index = ShownIndexOf(node);
        if (index.isValid())
            Q_EMIT dataChanged(index, index);
    }
}

bool ItemTreeModel::RenameItem(const TAssistBase* item, const std::string& text) {
    if (item == nullptr)
        return false;
    bool any = false;
    for (int node = 0; node < NodeCount(); ++node) {
        if (m_nodes[Size(node)].removed || m_nodes[Size(node)].item != item)
            continue;
        m_texts[Size(node)] = text;
        any = true;
    }
    if (any)
        RefreshItem(item);
    return any;
}

bool ItemTreeModel::RemoveFirstNodeOf(const TAssistBase* item) {
    const int node = item == nullptr ? -1 : FirstNodeOf(item);
    if (node < 0)
        return false;
    Node& removed = m_nodes[Size(node)];
    const int parent = removed.parent;

    int firstRow = 0;
    int rowCountGone = 0;
    if (IsFlat()) {
        firstRow = RowOf(node);
        rowCountGone = firstRow < 0 ? 0 : 1 + VisibleDescendants(node);
        if (rowCountGone > 0)
            beginRemoveRows(QModelIndex(), firstRow, firstRow + rowCountGone - 1);
    } else {
        const int row = removed.row;
        beginRemoveRows(NestedIndexOf(parent), row, row);
        std::vector<int>& siblings = parent < 0 ? m_top : m_children[Size(parent)];
        siblings.erase(siblings.begin() + row);
        for (std::size_t i = static_cast<std::size_t>(row); i < siblings.size(); ++i)
            m_nodes[Size(siblings[i])].row = static_cast<int>(i);
    }

    for (int i : BranchNodes(node)) {
        m_nodes[Size(i)].removed = true;
        m_nodes[Size(i)].item = nullptr;
    }
    if (parent >= 0)
        --m_nodes[Size(parent)].liveChildren;

    if (!IsFlat()) {
        endRemoveRows();
        return true;
    }
    if (rowCountGone > 0) {
        SetRows(VisibleNodes());
        endRemoveRows();
    }
    // A parent left without children loses its expand/collapse indicator.
    if (parent >= 0 && m_nodes[Size(parent)].liveChildren == 0 && RowOf(parent) >= 0) {
        const QModelIndex changed = createIndex(RowOf(parent), 0, static_cast<quintptr>(parent));
        Q_EMIT dataChanged(changed, changed);
    }
    return true;
}

// ---- Expansion

void ItemTreeModel::SetExpanded(int node, bool expanded) {
    if (!IsLive(node) || m_nodes[Size(node)].expanded == expanded)
        return;
    const int row = RowOf(node);
    if (row < 0) {
        // Nested, or inside a collapsed branch: no row changes now.
        m_nodes[Size(node)].expanded = expanded;
        return;
    }
    const int first = row + 1;
    if (expanded) {
        m_nodes[Size(node)].expanded = true;
        std::vector<int> rows = VisibleNodes();
        const int added = static_cast<int>(rows.size() - m_rows.size());
        if (added > 0) {
            beginInsertRows(QModelIndex(), first, first + added - 1);
            SetRows(std::move(rows));
            endInsertRows();
        }
    } else {
        const int gone = VisibleDescendants(node);
        if (gone > 0)
            beginRemoveRows(QModelIndex(), first, first + gone - 1);
        m_nodes[Size(node)].expanded = false;
        if (gone > 0) {
            SetRows(VisibleNodes());
            endRemoveRows();
        }
    }
    // The node's own row shows its state (the indicator).
    const QModelIndex changed = createIndex(row, 0, static_cast<quintptr>(node));
    Q_EMIT dataChanged(changed, changed);
}

void ItemTreeModel::ExpandBranch(int node) {
    if (!IsLive(node))
        return;
    bool changed = false;
    for (int i : BranchNodes(node)) {
        Node& below = m_nodes[Size(i)];
        if (!below.expanded) {
            below.expanded = true;
            changed = true;
        }
    }
    if (changed && IsFlat() && RowOf(node) >= 0)
        RelayOutGrown();
}

void ItemTreeModel::ExpandAll() {
    bool changed = false;
    for (Node& node : m_nodes) {
        if (!node.removed && !node.expanded) {
            node.expanded = true;
            changed = true;
        }
    }
    if (changed && IsFlat())
        RelayOutGrown();
}

int ItemTreeModel::RowOf(int node) const {
    // Nodes get their rows when the build ends.
    return IsFlat() && IsLive(node) && Size(node) < m_rowOf.size() ? m_rowOf[Size(node)] : -1;
}

bool ItemTreeModel::HasLaterSibling(int node) const {
    if (!IsLive(node))
        return false;
    // The node after a subtree is the next sibling when it has the same parent; removed siblings are
    // stepped over a subtree at a time.
    const int parent = m_nodes[Size(node)].parent;
    int next = m_nodes[Size(node)].end;
    while (next < NodeCount() && m_nodes[Size(next)].parent == parent) {
        if (!m_nodes[Size(next)].removed)
            return true;
        next = m_nodes[Size(next)].end;
    }
    return false;
}

std::vector<int> ItemTreeModel::VisibleNodes() const {
    std::vector<int> rows;
    rows.reserve(m_nodes.size());
    for (int i = 0; i < NodeCount();) {
        const Node& node = m_nodes[Size(i)];
        if (node.removed) {
            i = node.end;
            continue;
        }
        rows.push_back(i);
        i = node.expanded ? i + 1 : node.end;
    }
    return rows;
}

void ItemTreeModel::SetRows(std::vector<int> rows) {
    m_rowOf.assign(m_nodes.size(), -1);
    for (std::size_t row = 0; row < rows.size(); ++row)
        m_rowOf[Size(rows[row])] = static_cast<int>(row);
    m_rows = std::move(rows);
}

int ItemTreeModel::VisibleDescendants(int node) const {
    const int row = m_rowOf[Size(node)];
    // Rows are in index order and the subtree is the range [node, end): its rows follow the node's.
    const auto first = m_rows.begin() + row + 1;
    return static_cast<int>(std::lower_bound(first, m_rows.end(), m_nodes[Size(node)].end) - first);
}

void ItemTreeModel::RelayOutGrown() {
    Q_EMIT layoutAboutToBeChanged();
    const QModelIndexList from = persistentIndexList();
    SetRows(VisibleNodes());
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& index : from) {
        const int node = static_cast<int>(index.internalId());
        const int row = RowOf(node);
        to.push_back(row < 0 ? QModelIndex() : createIndex(row, index.column(), index.internalId()));
    }
    changePersistentIndexList(from, to);
    Q_EMIT layoutChanged();
}

// ---- QAbstractItemModel

const std::vector<int>& ItemTreeModel::ChildrenOf(const QModelIndex& parent) const {
    if (!parent.isValid())
        return m_top;
    const int node = NodeOf(parent);
    static const std::vector<int> none;
    return node < 0 ? none : m_children[Size(node)];
}

QModelIndex ItemTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0)
        return {};
    if (IsFlat()) {
        if (parent.isValid() || static_cast<std::size_t>(row) >= m_rows.size())
            return {};
        return createIndex(row, 0, static_cast<quintptr>(m_rows[static_cast<std::size_t>(row)]));
    }
    const std::vector<int>& children = ChildrenOf(parent);
    if (static_cast<std::size_t>(row) >= children.size())
        return {};
    return createIndex(row, 0, static_cast<quintptr>(children[static_cast<std::size_t>(row)]));
}

QModelIndex ItemTreeModel::parent(const QModelIndex& child) const {
    const int node = NodeOf(child);
    if (node < 0 || IsFlat())
        return {};
    return NestedIndexOf(m_nodes[Size(node)].parent);
}

int ItemTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() && parent.column() != 0)
        return 0;
    if (IsFlat())
        return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
    return static_cast<int>(ChildrenOf(parent).size());
}

int ItemTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

bool ItemTreeModel::hasChildren(const QModelIndex& parent) const {
    if (IsFlat())
        return !parent.isValid() && !m_rows.empty();
    return !ChildrenOf(parent).empty();
}

Qt::ItemFlags ItemTreeModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractItemModel::flags(index);
    // A flat row never has child rows; saying so spares the view from asking.
    if (IsFlat() && index.isValid())
        flags |= Qt::ItemNeverHasChildren;
    if (m_dragDrop && !IsFlat()) {
        // The tree that drags holds the assistant on top and screens and options below it. Views ask
        // for the flags of every row they lay out, so the level decides here rather than a type test;
        // a drop still checks what was dragged.
        const int node = NodeOf(index);
        if (DepthOf(node) > 0 && ItemAt(node) != nullptr)
            flags |= Qt::ItemIsDragEnabled;
        if (index.isValid())
            flags |= Qt::ItemIsDropEnabled;
    }
    return flags;
}

namespace {
const QString TreeItemMime = QStringLiteral("application/x-amf-tree-node");
} // namespace

QStringList ItemTreeModel::mimeTypes() const {
    return {TreeItemMime};
}

QMimeData* ItemTreeModel::mimeData(const QModelIndexList& indexes) const {
    if (indexes.isEmpty() || NodeOf(indexes.first()) < 0)
        return nullptr;
    auto* data = new QMimeData;
    data->setData(TreeItemMime, QByteArray::number(NodeOf(indexes.first())));
    return data;
}

bool ItemTreeModel::DropTarget(const QMimeData* data, int row, const QModelIndex& parent,
                               MoveTarget& move) const {
    if (!m_dragDrop || IsFlat() || !data || !data->hasFormat(TreeItemMime))
        return false;
    bool ok = false;
    const int node = data->data(TreeItemMime).toInt(&ok);
    TAssistBase* dragged = ok ? ItemAt(node) : nullptr;
    TAssistBase* target = ItemOf(parent);
    if (auto* screen = dynamic_cast<TAssistScreen*>(dragged)) {
        TAssistRoot* root = screen->Root;
        const int from = root ? root->Screens.IndexOf(screen) : -1;
        int to = -1;
        if (target == root && row >= 0)
            to = row > from ? row - 1 : row; // between screens: before the screen at `row`
        else if (auto* onto = dynamic_cast<TAssistScreen*>(target); onto && onto->Root == root)
            to = root->Screens.IndexOf(onto); // onto a screen: takes its place
        if (from < 0 || to < 0 || to >= root->Screens.Count() || to == from)
            return false;
        move = {from, -1, to, -1};
        return true;
    }
    auto* option = dynamic_cast<TAssistOption*>(dragged);
    if (!option || !option->Owner || !option->Owner->Root)
        return false;
    TAssistRoot& root = *option->Owner->Root;
    TAssistScreen* toScreen = nullptr;
    int to = -1;
    if (auto* screen = dynamic_cast<TAssistScreen*>(target)) {
        toScreen = screen;
        to = row >= 0 ? row : screen->Options.Count(); // onto a screen: at its end
    } else if (auto* onto = dynamic_cast<TAssistOption*>(target)) {
        toScreen = onto->Owner; // onto an option: takes its place
        to = toScreen ? toScreen->Options.IndexOf(onto) : -1;
    }
    if (!toScreen || toScreen->Root != &root || to < 0)
        return false;
    const int from = option->Owner->Options.IndexOf(option);
    if (toScreen == option->Owner) {
        if (row >= 0 && dynamic_cast<TAssistScreen*>(target) && to > from)
            --to; // the option leaves its place before the gap it is dropped into
        to = std::min(to, toScreen->Options.Count() - 1);
        if (to == from)
            return false;
    }
    move = {root.Screens.IndexOf(option->Owner), from, root.Screens.IndexOf(toScreen), to};
    return true;
}

bool ItemTreeModel::canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int,
                                    const QModelIndex& parent) const {
    MoveTarget move;
    return action == Qt::MoveAction && DropTarget(data, row, parent, move);
}

bool ItemTreeModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int,
                                 const QModelIndex& parent) {
    MoveTarget move;
    if (action != Qt::MoveAction || !DropTarget(data, row, parent, move))
        return false;
    Q_EMIT MoveRequested(move.fromScreen, move.fromOption, move.toScreen, move.toOption);
    // The window moves the item and rebuilds the tree. The view's own removal of the dragged row after
    // a move does nothing here: the model has no removeRows.
    return true;
}

QVariant ItemTreeModel::data(const QModelIndex& index, int role) const {
    const int node = NodeOf(index);
    if (node < 0)
        return {};
    if (role == Qt::DisplayRole)
        return TextAt(node);
    if (role == kCaptionRole) {
        // Read from the item itself, so a caption changed without a rebuild is shown once the rows are
        // drawn again (RefreshCaptions).
        const TAssistBase* item = ItemAt(node);
        return item != nullptr ? QVariant(QString::fromStdString(item->Caption)) : QVariant();
    }
    if (role == Qt::AccessibleTextRole) {
        // Screen readers read the row as it is drawn: the ID and the caption beside it.
        const TAssistBase* item = ItemAt(node);
        return IdCaptionText(TextAt(node),
                             item != nullptr ? QString::fromStdString(item->Caption) : QString());
    }
    if (role == Qt::AccessibleDescriptionRole && IsFlat()) {
        // The flat rows carry no levels of their own, so screen readers are told where a row stands in
        // the tree and whether its branch is open (the nested shape's view tells them itself).
        QString description = QStringLiteral("Level %1").arg(DepthOf(node) + 1);
        if (HasChildren(node))
            description += IsExpanded(node) ? QStringLiteral(", expanded") : QStringLiteral(", collapsed");
        return description;
    }
    return {};
}
