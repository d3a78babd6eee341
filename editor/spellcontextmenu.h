#pragma once
// Spelling entries in a text box's context menu. When the word at the given cursor position is
// misspelt, the box's standard context menu gets, at its top, up to five suggestions (choosing one
// replaces the word as one undo step of the box), "Add to dictionary" (the personal word list) and
// "Ignore" (until the program ends), then a separator. Otherwise it is the standard menu unchanged.
#include <QString>
#include <functional>
#include <string>

class Prompter;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QTextEdit;
class SpellService;

// The menus; the caller owns (and usually shows and deletes) them. `position` is a cursor position in
// the box's text (for the multi-line boxes, in the whole document). `prompter`, when given, shows the
// error when the personal word list cannot be written.
QMenu* SpellContextMenu(QLineEdit& box, int position, SpellService& service, Prompter* prompter = nullptr);
QMenu* SpellContextMenu(QPlainTextEdit& box, int position, SpellService& service,
                        Prompter* prompter = nullptr);
QMenu* SpellContextMenu(QTextEdit& box, int position, SpellService& service, Prompter* prompter = nullptr);

// Puts the entries for the misspelt UTF-8 `word` at the top of `menu`; `replace` puts a suggestion in
// place of the word.
void AddSpellingEntries(QMenu& menu, SpellService& service, const std::string& word,
                        std::function<void(const QString&)> replace, Prompter* prompter);
