#pragma once
// Small text routines shared by the editor's widgets: mnemonic markers in captions, hints of the form "short
// text|long text" (the tool tip shows the short text, the status bar the long one) and conversion of CR / CR
// LF line breaks for display.
#include <QString>
#include <string>

class QAction;
class QWidget;

struct HintParts {
    QString shortText; // before the first bar, or the whole hint when it has no bar
    QString longText;  // after the first bar, or the whole hint when it has no bar
};

HintParts SplitHint(const QString& hint);

// Tool tip = short text, status tip = long text.
void ApplyHint(QWidget* widget, const QString& hint);
void ApplyHint(QAction* action, const QString& hint);

// Text shown in a menu or on a button as written: each '&' doubled, so Qt marks no mnemonic with it.
QString EscapeMnemonics(const QString& text);

// The inverse, for captions made elsewhere: "&&" gives '&', a single '&' marks a mnemonic and goes.
QString StripMnemonics(const QString& text);

// UTF-8 text with CR LF, lone CR or LF line breaks, as a QString with LF only.
QString ToDisplayText(const std::string& text);
QString ToDisplayText(const QString& text);
