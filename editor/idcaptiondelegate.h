#pragma once
// Items shown as "ID — Caption": the tree, the Structure page and the drop-downs of screen IDs keep the ID
// as their value and text (what is stored, exported and typed), and show the item's caption beside it,
// dimmed, so an author can tell "Scan.2" from "Start.1" by what the screens say.
//
// A model offers the caption in kCaptionRole; IdCaptionDelegate draws the display text (the ID) as usual
// and the caption after it in a dimmed colour. A row without caption is drawn as any other row.
#include <QStyledItemDelegate>

#include <string>

class QComboBox;
class TAssistRoot;

// The data role of the caption drawn beside an item's text.
inline constexpr int kCaptionRole = Qt::UserRole + 40;

// The text a reader sees: the ID, and when the caption holds more than blanks, " — " and the caption on
// one line (its line breaks and tabs as blanks, leading and trailing blanks removed).
QString IdCaptionText(const QString& id, const QString& caption);
// The caption part of IdCaptionText: " — " and the caption on one line; empty for a caption of blanks.
QString CaptionSuffix(const QString& caption);

class IdCaptionDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit IdCaptionDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The colour of the caption: the text colour of the row half-way to its background.
    static QColor CaptionColor(const QStyleOptionViewItem& option);
};

// Drop-downs of screen IDs (the initial screen, the command of a go-to option): their list draws the
// captions beside the IDs. The box's text and its items' texts stay the IDs.
void ShowIdCaptions(QComboBox& box);
// Gives every item of the box whose text is the ID of a screen of `root` that screen's caption (the
// first screen with that ID, letters A to Z compared without case, as a go-to finds it); other items
// (examples such as "<screen>") get none. Call after each refill of the list.
void SetScreenCaptions(QComboBox& box, const TAssistRoot& root);
