#pragma once
// The context menu of the Assistant page's tree: New screen, New option, Delete, Up, Down, Test from
// here and Notes. A right click on a row first makes that row current, as a left click would; the
// entries then work on the current item, each by triggering the window's own command, and are enabled
// as those commands are. "Test from here" is the window's Test, which starts at the current screen (or
// the screen of the current option). The menu key opens the menu at the current row.
#include <QObject>
#include <QPointer>

class MainWindow;
class QMenu;
class QPoint;
class QTreeView;

class TreeContextMenu final : public QObject {
    Q_OBJECT
public:
    // Gives the window's tree its context menu; the object is a child of the tree.
    static TreeContextMenu* Attach(MainWindow& window);

    // The menu for the current item, not shown; the caller owns it.
    QMenu* Build(QWidget* parent) const;
    // The menu open now, or null.
    QMenu* Shown() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit TreeContextMenu(MainWindow& window);
    // Shows the menu at `viewportPosition` of the tree, for the row there when `pickRow`.
    void Open(const QPoint& viewportPosition, bool pickRow);

    MainWindow& m_window;
    QTreeView* m_tree;
    QPointer<QMenu> m_shown;
};
