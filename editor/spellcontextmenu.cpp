#include "editor/spellcontextmenu.h"

#include "editor/prompter.h"
#include "editor/spellservice.h"
#include "editor/spelltext.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

void AddSpellingEntries(QMenu& menu, SpellService& service, const std::string& word,
                        std::function<void(const QString&)> replace, Prompter* prompter) {
    QAction* first = menu.actions().isEmpty() ? nullptr : menu.actions().first();
    const auto add = [&](const QString& text) {
        auto* action = new QAction(text, &menu);
        menu.insertAction(first, action);
        return action;
    };

    const std::vector<std::string> suggestions = service.Suggestions(word);
    for (const std::string& suggestion : suggestions) {
        const QString text = QString::fromStdString(suggestion);
        QAction* action = add(text);
        action->setObjectName(QStringLiteral("aSpellSuggestion"));
        QObject::connect(action, &QAction::triggered, &menu, [replace, text] { replace(text); });
    }
    if (suggestions.empty()) {
        QAction* none = add(QStringLiteral("(no suggestions)"));
        none->setObjectName(QStringLiteral("aSpellNoSuggestions"));
        none->setEnabled(false);
    }
    menu.insertSeparator(first);

    QPointer<SpellService> target(&service);
    QAction* addWord = add(QStringLiteral("Add to dictionary"));
    addWord->setObjectName(QStringLiteral("aSpellAdd"));
    QObject::connect(addWord, &QAction::triggered, &menu, [target, word, prompter] {
        if (target && !target->AddToDictionary(word) && prompter)
            prompter->Message(Prompter::MessageKind::ErrorOk, target->ErrorText().toStdString());
    });
    QAction* ignore = add(QStringLiteral("Ignore"));
    ignore->setObjectName(QStringLiteral("aSpellIgnore"));
    QObject::connect(ignore, &QAction::triggered, &menu, [target, word] {
        if (target)
            target->Ignore(word);
    });
    if (first)
        menu.insertSeparator(first);
}

QMenu* SpellContextMenu(QLineEdit& box, int position, SpellService& service, Prompter* prompter) {
    QMenu* menu = box.createStandardContextMenu();
    const QString text = box.text();
    if (box.echoMode() != QLineEdit::Normal || box.isReadOnly())
        return menu;
    const std::optional<SpellRange> word = MisspeltWordAt(text, position, service);
    if (!word)
        return menu;
    QPointer<QLineEdit> target(&box);
    const SpellRange range = *word;
    AddSpellingEntries(
        *menu, service, WordText(text, range),
        [target, range, text](const QString& replacement) {
            // Only while the box still holds the text the menu was made for.
            if (!target || target->text() != text)
                return;
            // One insert over the selected word: a single undo step of the box.
            target->setSelection(range.Start, range.Length);
            target->insert(replacement);
        },
        prompter);
    return menu;
}

namespace {
// The entries for a QTextDocument box: the word is found in the block holding `position`.
void AddDocumentEntries(QMenu& menu, QTextDocument& document, bool readOnly, int position,
                        SpellService& service, Prompter* prompter,
                        std::function<void(const QTextCursor&)> placeCursor) {
    if (readOnly)
        return;
    const QTextBlock block = document.findBlock(position);
    if (!block.isValid())
        return;
    const QString text = block.text();
    const std::optional<SpellRange> word = MisspeltWordAt(text, position - block.position(), service);
    if (!word)
        return;
    QPointer<QTextDocument> target(&document);
    const int start = block.position() + word->Start;
    const int length = word->Length;
    const QString original = text.mid(word->Start, word->Length);
    AddSpellingEntries(
        menu, service, original.toStdString(),
        [target, start, length, original, placeCursor](const QString& replacement) {
            if (!target)
                return;
            QTextCursor cursor(target);
            cursor.setPosition(start);
            cursor.setPosition(start + length, QTextCursor::KeepAnchor);
            // Only while the word is still where the menu found it.
            if (cursor.selectedText() != original)
                return;
            cursor.beginEditBlock();
            cursor.insertText(replacement);
            cursor.endEditBlock();
            placeCursor(cursor);
        },
        prompter);
}
} // namespace

QMenu* SpellContextMenu(QPlainTextEdit& box, int position, SpellService& service, Prompter* prompter) {
    QMenu* menu = box.createStandardContextMenu();
    QPointer<QPlainTextEdit> target(&box);
    AddDocumentEntries(*menu, *box.document(), box.isReadOnly(), position, service, prompter,
                       [target](const QTextCursor& cursor) {
                           if (target)
                               target->setTextCursor(cursor);
                       });
    return menu;
}

QMenu* SpellContextMenu(QTextEdit& box, int position, SpellService& service, Prompter* prompter) {
    QMenu* menu = box.createStandardContextMenu();
    QPointer<QTextEdit> target(&box);
    AddDocumentEntries(*menu, *box.document(), box.isReadOnly(), position, service, prompter,
                       [target](const QTextCursor& cursor) {
                           if (target)
                               target->setTextCursor(cursor);
                       });
    return menu;
}
