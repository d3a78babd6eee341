#pragma once
// Helpers that build the labelled boxes of the editor's panels and dialogs the same way everywhere:
// plain-text labels (texts shown by the editor are never interpreted as markup) with their box as buddy,
// so "&" in a caption gives the box a keyboard mnemonic.
#include <QString>

#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

QLabel* MakeLabel(const QString& text, QWidget* buddy, QWidget* parent);
QLineEdit* MakeEdit(const QString& objectName, QWidget* parent);
// A memo: plain text, vertical scroll bar always shown, Tab moves the focus on.
QPlainTextEdit* MakeMemo(const QString& objectName, QWidget* parent);

class QAbstractItemView;
// Keeps the selection of a view drawn in the active colours when the view does not have the focus.
void ShowSelectionWithoutFocus(QAbstractItemView* view);

class QWidget;
// ---- Box texts and model values, as the panels show and store them.
// Shows lines in a memo, each trimmed of blanks and control characters, with the caret at the start.
void FillMemo(QPlainTextEdit* memo, const std::vector<std::string>& lines);
// The lines a memo's text stores: the text cut at each line break, each piece trimmed of blanks and
// control characters. A text ending with a line break gives a last empty line; an empty text none.
std::vector<std::string> MemoLines(const QPlainTextEdit* memo);
// An option's script as memo text: one line per CR-separated piece, each trimmed.
QString ScriptMemoText(const std::string& script);
// A memo's text as a script: trimmed lines joined by single CRs, without empty lines or blanks at the end.
std::string ScriptOf(const QPlainTextEdit* memo);
// The text of a line edit or a drop-down; empty for any other widget.
std::string BoxText(const QWidget* box);
