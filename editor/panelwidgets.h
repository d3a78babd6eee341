#pragma once
// Helpers that build the labelled boxes of the editor's panels and dialogs the same way everywhere:
// plain-text labels (texts shown by the editor are never interpreted as markup) with their box as buddy,
// so "&" in a caption gives the box a keyboard mnemonic.
#include <QString>

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
