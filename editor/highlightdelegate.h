#pragma once
// Draws a list cell's text with some character ranges marked (the match of a find result, the matched
// letters of a go-to entry): the marked pieces in bold on a fixed highlight colour, the rest as usual.
// The ranges come from the model under HighlightRole as a QVariantList of QPoint(start, length) in
// UTF-16 units of the display text; a cell without them is drawn as the base delegate draws it.
#include <QColor>
#include <QStyledItemDelegate>
#include <QVariantList>

#include <string>
#include <vector>

class HighlightDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int HighlightRole = Qt::UserRole + 40;

    explicit HighlightDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // The background of a marked piece.
    static QColor MarkColour() { return QColor(255, 214, 10); }
    // Turns sorted byte positions of single matched characters (as fuzzy matching gives) into ranges over
    // the UTF-16 text of `utf8`, joining neighbours.
    static QVariantList RangesFromBytePositions(const std::string& utf8,
                                                const std::vector<std::size_t>& positions);
};
