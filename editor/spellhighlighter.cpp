#include "editor/spellhighlighter.h"

#include "editor/spellservice.h"
#include "editor/spelltext.h"

SpellHighlighter::SpellHighlighter(QTextDocument* document, SpellService& service)
    : QSyntaxHighlighter(document), m_service(&service), m_format(MisspeltFormat()) {
    connect(&service, &SpellService::Changed, this, &QSyntaxHighlighter::rehighlight);
}

QTextCharFormat SpellHighlighter::MisspeltFormat() {
    QTextCharFormat format;
    format.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    format.setUnderlineColor(Qt::red);
    return format;
}

void SpellHighlighter::highlightBlock(const QString& text) {
    if (!m_service)
        return;
    for (const SpellRange& range : MisspeltRanges(text, *m_service))
        setFormat(range.Start, range.Length, m_format);
}
