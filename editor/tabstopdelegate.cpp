#include "editor/tabstopdelegate.h"

#include <QApplication>
#include <QPainter>

TabStopDelegate::TabStopDelegate(int tabStopDialogUnits, QObject* parent)
    : QStyledItemDelegate(parent), m_tabStopDialogUnits(tabStopDialogUnits) {}

QString TabStopDelegate::OneLine(const QString& text) {
    QString result = text;
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\u21B5"));
    result.replace(u'\r', QChar(0x21B5));
    result.replace(u'\n', QChar(0x21B5));
    return result;
}

qreal TabStopDelegate::TabStopPixels(const QFontMetrics& metrics) const {
    return metrics.averageCharWidth() * m_tabStopDialogUnits / 4.0;
}

void TabStopDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = OneLine(opt.text);
    opt.text.clear();
    const QWidget* widget = opt.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
    painter->save();
    painter->setFont(opt.font);
    const bool selected = (opt.state & QStyle::State_Selected) != 0;
    painter->setPen(
        opt.palette.color(opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled,
                          selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setClipRect(textRect);
    // Each column starts at the next tab stop after the end of the previous one.
    const qreal stop = TabStopPixels(opt.fontMetrics);
    const int baseline =
        textRect.top() + (textRect.height() - opt.fontMetrics.height()) / 2 + opt.fontMetrics.ascent();
    qreal x = textRect.left();
    const QStringList columns = text.split(u'\t');
    for (qsizetype i = 0; i < columns.size(); ++i) {
        if (i > 0 && stop > 0)
            x = textRect.left() + (static_cast<int>((x - textRect.left()) / stop) + 1) * stop;
        painter->drawText(QPointF(x, baseline), columns.at(i));
        x += opt.fontMetrics.horizontalAdvance(columns.at(i));
    }
    painter->restore();
}

QSize TabStopDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const qreal stop = TabStopPixels(opt.fontMetrics);
    qreal x = 0;
    const QStringList columns = OneLine(opt.text).split(u'\t');
    for (qsizetype i = 0; i < columns.size(); ++i) {
        if (i > 0 && stop > 0)
            x = (static_cast<int>(x / stop) + 1) * stop;
        x += opt.fontMetrics.horizontalAdvance(columns.at(i));
    }
    return QSize(static_cast<int>(x) + 8, opt.fontMetrics.height() + 4);
}
