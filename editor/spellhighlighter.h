#pragma once
// Underlines misspelt words in a multi-line box (QPlainTextEdit, QTextEdit) with the platform's
// spell-check underline in red, as the user types. Works the marks out again whenever the spell
// service changes (language, on/off, added or ignored words).
#include <QPointer>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

class SpellService;
class QTextDocument;

class SpellHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    SpellHighlighter(QTextDocument* document, SpellService& service);

    // The look of a misspelt word, shared with the one-line boxes.
    static QTextCharFormat MisspeltFormat();

protected:
    void highlightBlock(const QString& text) override;

private:
    QPointer<SpellService> m_service;
    QTextCharFormat m_format;
};
