#pragma once
// Spell checking on the editor's text boxes: one call per box gives it the marks (SpellHighlighter
// on a multi-line box, LineEditSpellMarker on a one-line box) and the spelling entries in its context
// menu (SpellContextMenu, at the word under the mouse, or at the text cursor when the menu comes from
// the keyboard). Only prose boxes get it: captions, texts, descriptions and note texts, never IDs,
// commands or scripts. The service must outlive the boxes.
//
// `prompter` is asked for the prompter each time a menu is built (the window's prompter can be replaced
// after the boxes were attached); it, or what it gives, may be null: failures are then not shown.
#include <functional>

class Prompter;
class QLineEdit;
class QPlainTextEdit;
class QTextEdit;
class SpellService;

using PrompterSource = std::function<Prompter*()>;

void AttachSpellChecking(QLineEdit* box, SpellService& service, PrompterSource prompter = {});
void AttachSpellChecking(QPlainTextEdit* box, SpellService& service, PrompterSource prompter = {});
void AttachSpellChecking(QTextEdit* box, SpellService& service, PrompterSource prompter = {});
