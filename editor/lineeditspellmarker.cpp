#include "editor/lineeditspellmarker.h"

#include "editor/spellservice.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>
#include <algorithm>

namespace {
// x of each cursor position of the text, laid out on one line in the box's font.
class TextPositions {
public:
    TextPositions(const QString& text, const QFont& font) : layout_(text, font) {
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        layout_.setTextOption(option);
        layout_.beginLayout();
        line_ = layout_.createLine();
        layout_.endLayout();
    }
    qreal X(int position) const { return line_.isValid() ? line_.cursorToX(position) : 0; }

private:
    QTextLayout layout_;
    QTextLine line_;
};

// A wave along y from x1 to x2, the way word processors mark spelling.
void DrawWave(QPainter& painter, qreal x1, qreal x2, qreal y) {
    constexpr qreal kHalfPeriod = 2.0;
    constexpr qreal kAmplitude = 1.0;
    QPainterPath path;
    path.moveTo(x1, y);
    bool up = true;
    for (qreal x = x1 + kHalfPeriod; x < x2 + kHalfPeriod; x += kHalfPeriod) {
        path.lineTo(std::min(x, x2), y + (up ? -kAmplitude : kAmplitude));
        up = !up;
    }
    painter.drawPath(path);
}
} // namespace

LineEditSpellMarker::LineEditSpellMarker(QLineEdit* box, SpellService& service)
    : QObject(box), box_(box), service_(&service) {
    box->installEventFilter(this);
    connect(&service, &SpellService::Changed, this, [this] {
        valid_ = false;
        box_->update();
    });
}

std::vector<SpellRange> LineEditSpellMarker::Marked() const {
    if (!service_ || box_->echoMode() != QLineEdit::Normal)
        return {};
    const QString text = box_->text();
    if (!valid_ || text != text_) {
        marks_ = MisspeltRanges(text, *service_);
        text_ = text;
        valid_ = true;
    }
    return marks_;
}

QRect LineEditSpellMarker::WordRect(const QLineEdit& box, const SpellRange& range) {
    const TextPositions positions(box.text(), box.font());
    // The cursor rectangle (what input methods are told) is a few pixels wide around the cursor's line;
    // its centre is the cursor.
    const QRect cursor = box.inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const qreal origin = cursor.left() + cursor.width() / 2.0 - positions.X(box.cursorPosition());
    const qreal left = origin + positions.X(range.Start);
    const qreal right = origin + positions.X(range.Start + range.Length);
    return QRect(QPoint(qRound(std::min(left, right)), cursor.top()),
                 QPoint(qRound(std::max(left, right)) - 1, cursor.bottom()));
}

void LineEditSpellMarker::Paint() {
    const std::vector<SpellRange> marks = Marked();
    if (marks.empty())
        return;
    QPainter painter(box_);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(box_->contentsRect().marginsRemoved(box_->textMargins()));
    painter.setPen(QPen(Qt::red, 1));
    const QFontMetrics metrics(box_->font());
    for (const SpellRange& range : marks) {
        const QRect word = WordRect(*box_, range);
        // Just under the baseline, inside the line's descent.
        const qreal y = word.top() + metrics.ascent() + std::max(1.5, metrics.descent() / 2.0);
        DrawWave(painter, word.left(), word.right() + 1, y);
    }
}

bool LineEditSpellMarker::eventFilter(QObject* watched, QEvent* event) {
    if (watched == box_ && event->type() == QEvent::Paint) {
        // Let the box draw itself, then draw the marks on top. (QObject::event is public; the call
        // reaches QLineEdit's own handling of the paint event.)
        static_cast<QObject*>(box_)->event(event);
        Paint();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
