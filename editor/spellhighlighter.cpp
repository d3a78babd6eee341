#include "editor/spellhighlighter.h"

#include "editor/spellservice.h"
#include "editor/spelltext.h"

SpellHighlighter::SpellHighlighter(QTextDocument* document, SpellService& service)
    : QSyntaxHighlighter(document), service_(&service), format_(MisspeltFormat()) {
    connect(&service, &SpellService::Changed, this, &QSyntaxHighlighter::rehighlight);
}

QTextCharFormat SpellHighlighter::MisspeltFormat() {
    QTextCharFormat format;
    format.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    format.setUnderlineColor(Qt::red);
    return format;
}

void SpellHighlighter::highlightBlock(const QString& text) {
    if (!service_)
        return;
    for (const SpellRange& range : MisspeltRanges(text, *service_))
        setFormat(range.Start, range.Length, format_);
}
