#include "editor/flattreeview.h"

#include "editor/idcaptiondelegate.h"
#include "editor/itemtreemodel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>

// Paints a row's text (with its caption, when the model offers one) behind the indentation of its level
// and the branch indicators into that indentation. The view itself gives every row the full width: for
// it they are all top-level rows.
class FlatTreeDelegate final : public IdCaptionDelegate {
public:
    explicit FlatTreeDelegate(FlatTreeView* view) : IdCaptionDelegate(view), m_view(view) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const int indentation = m_view->RowIndentation(index);
        if (indentation <= 0) {
            IdCaptionDelegate::paint(painter, option, index);
            return;
        }
        const bool reverse = option.direction == Qt::RightToLeft;
        QStyleOptionViewItem branches = option;
        if (reverse)
            branches.rect.setLeft(option.rect.right() + 1 - indentation);
        else
            branches.rect.setWidth(indentation);
        // A style that shows a selected row's decoration selected gets the selection colour under the
        // indentation too, as a nested tree view draws it.
        QStyle* style = m_view->style();
        if (style->styleHint(QStyle::SH_ItemView_ShowDecorationSelected, &branches, m_view))
            style->drawPrimitive(QStyle::PE_PanelItemViewRow, &branches, painter, m_view);
        m_view->DrawBranches(painter, branches.rect, index, option);

        QStyleOptionViewItem item = option;
        if (reverse)
            item.rect.setRight(option.rect.right() - indentation);
        else
            item.rect.setLeft(option.rect.left() + indentation);
        if (item.rect.width() > 0)
            IdCaptionDelegate::paint(painter, item, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = IdCaptionDelegate::sizeHint(option, index);
        size.rwidth() += m_view->RowIndentation(index);
        return size;
    }

private:
    FlatTreeView* m_view;
};

FlatTreeView::FlatTreeView(QWidget* parent) : QTreeView(parent) {
    // Every row is a top-level row for QTreeView: its own root decoration would put an empty branch in
    // front of each. The top level of the tree is drawn without indicator, as in a view without root
    // decoration.
    setRootIsDecorated(false);
    setItemDelegate(new FlatTreeDelegate(this));
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        const int node = m_nodes != nullptr ? m_nodes->NodeOf(index) : -1;
        if (node >= 0 && CanExpand() && expandsOnDoubleClick() && m_nodes->HasChildren(node))
            SetRowExpanded(index, !m_nodes->IsExpanded(node));
    });
}

void FlatTreeView::setModel(QAbstractItemModel* model) {
    QTreeView::setModel(model);
    auto* nodes = qobject_cast<ItemTreeModel*>(model);
    m_nodes = nodes != nullptr && nodes->IsFlat() ? nodes : nullptr;
}

int FlatTreeView::RowIndentation(const QModelIndex& index) const {
    const int depth = m_nodes != nullptr ? m_nodes->DepthOf(m_nodes->NodeOf(index)) : -1;
    return depth > 0 ? depth * indentation() : 0;
}

bool FlatTreeView::CanExpand() const {
    return m_nodes != nullptr && itemsExpandable();
}

QRect FlatTreeView::IndicatorRect(const QModelIndex& index) const {
    const int node = m_nodes != nullptr ? m_nodes->NodeOf(index) : -1;
    // The top level has no indicator (no root decoration).
    if (node < 0 || m_nodes->DepthOf(node) == 0 || !m_nodes->HasChildren(node))
        return {};
    const int indent = RowIndentation(index);
    const QRect cell = visualRect(index);
    QStyleOption option;
    option.initFrom(this);
    if (isRightToLeft())
        option.rect = QRect(cell.right() + 1 - indent, cell.top(), indentation(), cell.height());
    else
        option.rect = QRect(cell.left() + indent - indentation(), cell.top(), indentation(), cell.height());
    return style()->subElementRect(QStyle::SE_TreeViewDisclosureItem, &option, this);
}

QModelIndex FlatTreeView::IndicatorAt(const QPoint& position) const {
    const QModelIndex index = indexAt(position);
    return index.isValid() && IndicatorRect(index).contains(position) ? index : QModelIndex();
}

void FlatTreeView::SetRowExpanded(const QModelIndex& index, bool expanded) {
    const int node = m_nodes != nullptr ? m_nodes->NodeOf(index) : -1;
    if (node < 0)
        return;
    if (!expanded) {
        for (int above = m_nodes->ParentOf(m_nodes->NodeOf(currentIndex())); above >= 0;
             above = m_nodes->ParentOf(above)) {
            if (above == node) {
                setCurrentIndex(index);
                break;
            }
        }
    }
    m_nodes->SetExpanded(node, expanded);
}

void FlatTreeView::DrawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index,
                                const QStyleOptionViewItem& rowOption) const {
    int node = m_nodes != nullptr ? m_nodes->NodeOf(index) : -1;
    if (node < 0)
        return;
    const bool reverse = isRightToLeft();
    const int indent = indentation();
    const int depth = m_nodes->DepthOf(node);

    QStyleOptionViewItem option;
    initViewItemOption(&option);
    QStyle::State extra = QStyle::State_None;
    if (isEnabled())
        extra |= QStyle::State_Enabled;
    if (hasFocus())
        extra |= QStyle::State_HasFocus;
    if (window()->isActiveWindow())
        extra |= QStyle::State_Active;
    if (rowOption.state.testFlag(QStyle::State_Selected))
        extra |= QStyle::State_Selected;
    const bool hoverRow = selectionBehavior() == QAbstractItemView::SelectRows &&
                          option.showDecorationSelected && rowOption.state.testFlag(QStyle::State_MouseOver);
    if (alternatingRowColors())
        option.features.setFlag(QStyleOptionViewItem::Alternate, (index.row() & 1) != 0);
    const QPoint oldOrigin = painter->brushOrigin();
    if (verticalScrollMode() == QAbstractItemView::ScrollPerPixel)
        painter->setBrushOrigin(QPoint(0, verticalOffset()));

    // Level `level` (1 for the first level below the top) has the slot `level - 1` of the indentation,
    // counted from the row's start. The row's own level shows its indicator, each outer level a line when
    // the ancestor at that level has later siblings. A deep row walks all its ancestors for those lines
    // but draws only the slots inside the viewport.
    const int visibleLeft = 0;
    const int visibleRight = viewport()->width();
    for (int level = depth; level >= 1 && node >= 0; --level, node = m_nodes->ParentOf(node)) {
        const int offset = (level - 1) * indent;
        const QRect slot(reverse ? rect.right() + 1 - offset - indent : rect.left() + offset, rect.top(),
                         indent, rect.height());
        if (slot.right() < visibleLeft || slot.left() >= visibleRight)
            continue;
        option.rect = slot;
        option.state = extra;
        if (m_nodes->HasLaterSibling(node))
            option.state |= QStyle::State_Sibling;
        if (level == depth) {
            option.state |= QStyle::State_Item;
            if (m_nodes->HasChildren(node))
                option.state |= QStyle::State_Children;
            if (m_nodes->HasChildren(node) && m_nodes->IsExpanded(node))
                option.state |= QStyle::State_Open;
        }
        option.state.setFlag(QStyle::State_MouseOver, hoverRow);
        style()->drawPrimitive(QStyle::PE_IndicatorBranch, &option, painter, this);
    }
    painter->setBrushOrigin(oldOrigin);
}

void FlatTreeView::mousePressEvent(QMouseEvent* event) {
    const QModelIndex index = IndicatorAt(event->position().toPoint());
    m_pressedIndicator = index.isValid() && CanExpand();
    if (!m_pressedIndicator) {
        QTreeView::mousePressEvent(event);
        return;
    }
    // A press on the indicator expands or collapses (on the release, for styles that say so) and neither
    // selects nor clicks.
    if (style()->styleHint(QStyle::SH_ListViewExpand_SelectMouseType, nullptr, this) ==
        QEvent::MouseButtonPress)
        SetRowExpanded(index, !m_nodes->IsExpanded(m_nodes->NodeOf(index)));
    event->accept();
}

void FlatTreeView::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_pressedIndicator) {
        QTreeView::mouseReleaseEvent(event);
        return;
    }
    m_pressedIndicator = false;
    if (state() == QAbstractItemView::DragSelectingState || state() == QAbstractItemView::DraggingState)
        setState(QAbstractItemView::NoState);
    const QModelIndex index = IndicatorAt(event->position().toPoint());
    if (index.isValid() && style()->styleHint(QStyle::SH_ListViewExpand_SelectMouseType, nullptr, this) ==
                               QEvent::MouseButtonRelease)
        SetRowExpanded(index, !m_nodes->IsExpanded(m_nodes->NodeOf(index)));
    event->accept();
}

void FlatTreeView::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click on the indicator: the first one has toggled already.
    if (IndicatorAt(event->position().toPoint()).isValid() && CanExpand()) {
        m_pressedIndicator = true;
        event->accept();
        return;
    }
    QTreeView::mouseDoubleClickEvent(event);
}

void FlatTreeView::keyPressEvent(QKeyEvent* event) {
    const QModelIndex current = currentIndex();
    const int node = m_nodes != nullptr ? m_nodes->NodeOf(current) : -1;
    if (node >= 0 && CanExpand()) {
        switch (event->key()) {
        case Qt::Key_Asterisk:
            m_nodes->ExpandBranch(node);
            break;
        case Qt::Key_Plus:
            SetRowExpanded(current, true);
            break;
        case Qt::Key_Minus:
            SetRowExpanded(current, false);
            break;
        default:
            break;
        }
    }
    // QTreeView's own handling finds no children on a flat row; the rest (moving, searching) is its own.
    QTreeView::keyPressEvent(event);
}

QModelIndex FlatTreeView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
    const QModelIndex current = currentIndex();
    const int node = m_nodes != nullptr ? m_nodes->NodeOf(current) : -1;
    if (node < 0 || (cursorAction != MoveLeft && cursorAction != MoveRight))
        return QTreeView::moveCursor(cursorAction, modifiers);
    const bool children = m_nodes->HasChildren(node);
    const bool expanded = m_nodes->IsExpanded(node);
    const bool intoChildren =
        style()->styleHint(QStyle::SH_ItemView_ArrowKeysNavigateIntoChildren, nullptr, this);
    if (cursorAction == MoveLeft) {
        if (children && expanded && CanExpand()) {
            SetRowExpanded(current, false);
            return current;
        }
        const int parent = m_nodes->ParentOf(node);
        if (intoChildren && parent >= 0)
            return m_nodes->IndexOfNode(parent);
    } else {
        if (children && !expanded && CanExpand()) {
            SetRowExpanded(current, true);
            return current;
        }
        // The first child is the next row of an expanded node with children.
        if (intoChildren && children && expanded)
            return model()->index(current.row() + 1, 0);
    }
    // Otherwise the view scrolls sideways, as a tree view does.
    return QTreeView::moveCursor(cursorAction, modifiers);
}
