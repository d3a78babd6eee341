#include "editor/idcaptiondelegate.h"

#include "model/assistroot.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {

// Line breaks and tabs become blanks, so a caption is always drawn on one line.
QString OneLine(const QString& text) {
    QString line = text;
    for (QChar& c : line)
        if (c == u'\r' || c == u'\n' || c == u'\t' || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = u' ';
    return line.trimmed();
}

QStyle* StyleOf(const QStyleOptionViewItem& option) {
    return option.widget != nullptr ? option.widget->style() : QApplication::style();
}

} // namespace

QString CaptionSuffix(const QString& caption) {
    const QString line = OneLine(caption);
    return line.isEmpty() ? QString() : QStringLiteral(" \u2014 ") + line;
}

QString IdCaptionText(const QString& id, const QString& caption) {
    return id + CaptionSuffix(caption);
}

IdCaptionDelegate::IdCaptionDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

QColor IdCaptionDelegate::CaptionColor(const QStyleOptionViewItem& option) {
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    const QPalette::ColorGroup group =
        (option.state & QStyle::State_Enabled) != 0 ? QPalette::Normal : QPalette::Disabled;
    const QColor text = option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    const QColor back = option.palette.color(group, selected ? QPalette::Highlight : QPalette::Base);
    return QColor((text.red() + back.red()) / 2, (text.green() + back.green()) / 2,
                  (text.blue() + back.blue()) / 2);
}

void IdCaptionDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    const QString suffix = CaptionSuffix(index.data(kCaptionRole).toString());
    if (suffix.isEmpty()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    // The style draws the row as it draws any other (background, selection, focus, icon and the ID);
    // the caption goes into the room left behind the ID.
    QStyle* style = StyleOf(opt);
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);

    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, opt.widget) + 1;
    const QRect textRect =
        style->subElementRect(QStyle::SE_ItemViewItemText, &opt, opt.widget).adjusted(margin, 0, -margin, 0);
    const QFontMetrics& metrics = opt.fontMetrics;
    const int idWidth = metrics.horizontalAdvance(opt.text);
    if (idWidth >= textRect.width())
        return; // the ID alone fills the row (the style has shortened it)
    const QRect captionRect(textRect.left() + idWidth, textRect.top(), textRect.width() - idWidth,
                            textRect.height());
    const QString shownCaption =
        metrics.elidedText(suffix, Qt::ElideRight, captionRect.width(), Qt::TextSingleLine);
    if (shownCaption.isEmpty())
        return;
    painter->save();
    painter->setFont(opt.font);
    painter->setClipRect(textRect);
    painter->setPen(CaptionColor(opt));
    painter->drawText(QStyle::visualRect(opt.direction, textRect, captionRect),
                      Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shownCaption);
    painter->restore();
}

QSize IdCaptionDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    const QString suffix = CaptionSuffix(index.data(kCaptionRole).toString());
    if (!suffix.isEmpty())
        size.rwidth() += option.fontMetrics.horizontalAdvance(suffix);
    return size;
}

void ShowIdCaptions(QComboBox& box) {
    box.setItemDelegate(new IdCaptionDelegate(&box));
}

void SetScreenCaptions(QComboBox& box, const TAssistRoot& root) {
    for (int i = 0; i < box.count(); ++i) {
        const TAssistScreen* screen = root.Screens.FindScreen(box.itemText(i).toStdString());
        box.setItemData(i, screen != nullptr ? QVariant(QString::fromStdString(screen->Caption)) : QVariant(),
                        kCaptionRole);
    }
    // The list is as wide as its widest "ID — Caption" (up to twice the box), rather than cutting the
    // captions off at the width of the box.
    QAbstractItemView* view = box.view();
    const int wanted =
        view->sizeHintForColumn(0) + view->verticalScrollBar()->sizeHint().width() + 2 * view->frameWidth();
    view->setMinimumWidth(std::min(wanted, 2 * box.width()));
}
