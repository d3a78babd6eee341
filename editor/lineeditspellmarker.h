#pragma once
// The spell-check underline on a one-line box (QLineEdit), which has no QTextDocument and so no
// QSyntaxHighlighter. An event filter on the box lets the box paint itself first and then draws a red
// wavy line under each misspelt word, in the same look as SpellHighlighter. Positions come from public
// QLineEdit API only: the on-screen x of the text cursor (its input-method cursor rectangle) and the distance
// of each word from the cursor in a QTextLayout of the same text and font, so scrolled, aligned and framed
// boxes are all handled alike. Boxes that hide their text (password echo) are never marked.
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <vector>

#include "editor/spelltext.h"

class QLineEdit;
class SpellService;

class LineEditSpellMarker : public QObject {
    Q_OBJECT
public:
    // Installs itself on the box, which owns it.
    LineEditSpellMarker(QLineEdit* box, SpellService& service);

    // The misspelt words of the box's current text (none for a hidden text).
    std::vector<SpellRange> Marked() const;
    // Where a word of the box's text is drawn, in the box's coordinates: left and right edge of its
    // letters, top and bottom of the text line.
    static QRect WordRect(const QLineEdit& box, const SpellRange& range);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Paint();

    QLineEdit* m_box;
    QPointer<SpellService> m_service;
    // The last text worked out and its marks: a repaint without a change asks nothing of the service.
    mutable QString m_text;
    mutable std::vector<SpellRange> m_marks;
    mutable bool m_valid = false;
};
