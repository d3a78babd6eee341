#include "editor/uitext.h"

#include <QAction>
#include <QWidget>

HintParts SplitHint(const QString& hint) {
    const qsizetype bar = hint.indexOf(u'|');
    if (bar < 0)
        return {hint, hint};
    return {hint.left(bar), hint.mid(bar + 1)};
}

void ApplyHint(QWidget* widget, const QString& hint) {
    const HintParts parts = SplitHint(hint);
    widget->setToolTip(parts.shortText);
    widget->setStatusTip(parts.longText);
}

void ApplyHint(QAction* action, const QString& hint) {
    const HintParts parts = SplitHint(hint);
    action->setToolTip(parts.shortText);
    action->setStatusTip(parts.longText);
}

QString EscapeMnemonics(const QString& text) {
    QString escaped = text;
    escaped.replace(u'&', QStringLiteral("&&"));
    return escaped;
}

QString StripMnemonics(const QString& text) {
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&') {
            if (i + 1 < text.size() && text[i + 1] == u'&')
                ++i;
            else
                continue;
        }
        plain += text[i];
    }
    return plain;
}

QString ToDisplayText(const QString& text) {
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r') {
            result += u'\n';
            if (i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i; // CR LF is one break
        } else {
            result += c;
        }
    }
    return result;
}

QString ToDisplayText(const std::string& text) {
    return ToDisplayText(QString::fromStdString(text));
}
