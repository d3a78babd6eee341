#pragma once
// Small text routines shared by the editor's widgets: hints of the form "short text|long text" (the tool tip
// shows the short text, the status bar the long one) and conversion of CR / CR LF line breaks for display.
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

// UTF-8 text with CR LF, lone CR or LF line breaks, as a QString with LF only.
QString ToDisplayText(const std::string& text);
QString ToDisplayText(const QString& text);
