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
    TextPositions(const QString& text, const QFont& font) : m_layout(text, font) {
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        m_layout.setTextOption(option);
        m_layout.beginLayout();
        m_line = m_layout.createLine();
        m_layout.endLayout();
    }
    qreal X(int position) const { return m_line.isValid() ? m_line.cursorToX(position) : 0; }

private:
    QTextLayout m_layout;
    QTextLine m_line;
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
    : QObject(box), m_box(box), m_service(&service) {
    box->installEventFilter(this);
    connect(&service, &SpellService::Changed, this, [this] {
        m_valid = false;
        m_box->update();
    });
}

std::vector<SpellRange> LineEditSpellMarker::Marked() const {
    if (!m_service || m_box->echoMode() != QLineEdit::Normal)
        return {};
    const QString text = m_box->text();
    if (!m_valid || text != m_text) {
        m_marks = MisspeltRanges(text, *m_service);
        m_text = text;
        m_valid = true;
    }
    return m_marks;
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
    QPainter painter(m_box);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(m_box->contentsRect().marginsRemoved(m_box->textMargins()));
    painter.setPen(QPen(Qt::red, 1));
    const QFontMetrics metrics(m_box->font());
    for (const SpellRange& range : marks) {
        const QRect word = WordRect(*m_box, range);
        // Just under the baseline, inside the line's descent.
        const qreal y = word.top() + metrics.ascent() + std::max(1.5, metrics.descent() / 2.0);
        DrawWave(painter, word.left(), word.right() + 1, y);
    }
}

bool LineEditSpellMarker::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_box && event->type() == QEvent::Paint) {
        // Let the box draw itself, then draw the marks on top. (QObject::event is public; the call
        // reaches QLineEdit's own handling of the paint event.)
        static_cast<QObject*>(m_box)->event(event);
        Paint();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
