#pragma once
// A tree view over an ItemTreeModel in the flat shape: the model hands over only the visible nodes, one
// top-level row each, and keeps the expansion; this view draws each row indented by its node's depth with
// the style's branch indicator and lines, and turns the usual tree gestures into the model's expansion
// changes: a click on the indicator, a double click on a node with children, Left/Right (collapse or go
// to the parent, expand or go to the first child), '+', '-' and '*'. QTreeView's indentation setting is
// the width of a level, so the view looks like a nested tree view without root decoration: the top level
// has no indicator (QTreeView's own root decoration stays off, as every row is a top-level row for it).
#include <QTreeView>

class ItemTreeModel;

class FlatTreeView : public QTreeView {
    Q_OBJECT
public:
    explicit FlatTreeView(QWidget* parent = nullptr);

    // Takes an ItemTreeModel in the flat shape (other models are shown as plain lists).
    void setModel(QAbstractItemModel* model) override;

    // The area of a row's expand/collapse indicator in viewport coordinates; empty for a row whose node
    // has no children or stands at a level without indicator.
    QRect IndicatorRect(const QModelIndex& index) const;
    // Expands or collapses the row's node. A collapse that hides the current row makes the collapsed
    // node current instead, so the selection stays on a row the user can see.
    void SetRowExpanded(const QModelIndex& index, bool expanded);
    // The horizontal space in front of a row's text: the indentation of its level.
    int RowIndentation(const QModelIndex& index) const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;

private:
    friend class FlatTreeDelegate;
    // Draws the branch indicators of a row's level and the tree lines of its ancestors' levels into the
    // indentation area `rect`, as QTreeView does for a nested row.
    void DrawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index,
                      const QStyleOptionViewItem& rowOption) const;
    QModelIndex IndicatorAt(const QPoint& position) const;
    bool CanExpand() const;

    ItemTreeModel* m_nodes = nullptr;
    bool m_pressedIndicator = false; // the press toggled a node: its release is no click
};
