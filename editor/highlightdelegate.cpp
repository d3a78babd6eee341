#include "editor/highlightdelegate.h"

#include <QApplication>
#include <QPainter>
#include <QPoint>

#include <algorithm>

HighlightDelegate::HighlightDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

void HighlightDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    const QVariant marks = index.data(HighlightRole);
    if (!marks.isValid() || marks.toList().isEmpty()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    // Background, selection and focus frame as usual, without the text.
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect area =
        style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget).adjusted(margin, 0, -margin, 0);
    const bool selected = opt.state & QStyle::State_Selected;
    const QColor textColour =
        opt.palette.color(opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled,
                          selected ? QPalette::HighlightedText : QPalette::Text);
    QFont bold = opt.font;
    bold.setBold(true);

    // Pieces of the text in order: [from, to) and whether the piece is marked.
    struct Piece {
        qsizetype from, to;
        bool marked;
    };
    std::vector<Piece> pieces;
    qsizetype at = 0;
    for (const QVariant& v : marks.toList()) {
        const QPoint range = v.toPoint();
        const qsizetype start = std::clamp<qsizetype>(range.x(), at, text.size());
        const qsizetype end = std::clamp<qsizetype>(start + range.y(), start, text.size());
        if (start > at)
            pieces.push_back({at, start, false});
        if (end > start)
            pieces.push_back({start, end, true});
        at = end;
    }
    if (at < text.size())
        pieces.push_back({at, text.size(), false});

    painter->save();
    painter->setClipRect(area);
    int x = area.left();
    for (const Piece& piece : pieces) {
        if (x > area.right())
            break;
        const QString part = text.mid(piece.from, piece.to - piece.from);
        const QFont& font = piece.marked ? bold : opt.font;
        const int width = QFontMetrics(font).horizontalAdvance(part);
        const QRect box(x, area.top(), width, area.height());
        painter->setFont(font);
        if (piece.marked) {
            painter->fillRect(box, MarkColour());
            painter->setPen(Qt::black);
        } else {
            painter->setPen(textColour);
        }
        painter->drawText(box, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, part);
        x += width;
    }
    painter->restore();
}

QVariantList HighlightDelegate::RangesFromBytePositions(const std::string& utf8,
                                                        const std::vector<std::size_t>& positions) {
    QVariantList ranges;
    int lastEnd = -1;
    for (const std::size_t byte : positions) {
        if (byte >= utf8.size())
            continue;
        const int start =
            static_cast<int>(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(byte)).size());
        // The character at `byte`: one UTF-8 sequence, one or two UTF-16 units.
        std::size_t end = byte + 1;
        while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80)
            ++end;
        const int length = static_cast<int>(
            QString::fromUtf8(utf8.data() + byte, static_cast<qsizetype>(end - byte)).size());
        if (start == lastEnd && !ranges.isEmpty()) {
            QPoint last = ranges.back().toPoint();
            last.setY(last.y() + length);
            ranges.back() = last;
        } else {
            ranges.push_back(QPoint(start, length));
        }
        lastEnd = start + length;
    }
    return ranges;
}
