#pragma once
// Spell checking on the editor's text boxes: one call per box gives it the marks (SpellHighlighter
// on a multi-line box, LineEditSpellMarker on a one-line box) and the spelling entries in its context
// menu (SpellContextMenu, at the word under the mouse, or at the text cursor when the menu comes from
// the keyboard). Only prose boxes get it: captions, texts, descriptions and note texts, never IDs,
// commands or scripts. The service must outlive the boxes.
class Prompter;
class QLineEdit;
class QPlainTextEdit;
class QTextEdit;
class SpellService;

void AttachSpellChecking(QLineEdit* box, SpellService& service, Prompter* prompter = nullptr);
void AttachSpellChecking(QPlainTextEdit* box, SpellService& service, Prompter* prompter = nullptr);
void AttachSpellChecking(QTextEdit* box, SpellService& service, Prompter* prompter = nullptr);
