#pragma once
// Draws list lines whose columns are separated by tab characters at fixed tab stops (as list boxes with
// tab stops do), on one line: line breaks inside an entry are drawn as a return symbol.
#include <QStyledItemDelegate>

class TabStopDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    // tabStopDialogUnits: distance between tab stops in dialog units (a quarter of the average character
    // width of the view's font).
    explicit TabStopDelegate(int tabStopDialogUnits, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The text as drawn: line breaks replaced by a return symbol, tabs kept.
    static QString OneLine(const QString& text);
    qreal TabStopPixels(const QFontMetrics& metrics) const;

private:
    int m_tabStopDialogUnits;
};
