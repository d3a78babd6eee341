// The spelling entries of the boxes' context menus: suggestions on top (replacing the word as one undo
// step), "Add to dictionary" and "Ignore", then the standard entries; nothing for a correct word.
#include "editor/lineeditspellmarker.h"
#include "editor/spellboxes.h"
#include "editor/spellcontextmenu.h"
#include "scriptedprompter.h"
#include "spelltesthelpers.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>
#include <memory>

namespace {
// The menu's entries as texts, separators as "--".
QStringList Entries(const QMenu& menu) {
    QStringList texts;
    for (const QAction* action : menu.actions())
        texts << (action->isSeparator() ? QStringLiteral("--") : action->text());
    return texts;
}

QAction* Find(const QMenu& menu, const QString& text) {
    for (QAction* action : menu.actions())
        if (action->text() == text)
            return action;
    return nullptr;
}

bool HasSpellingEntries(const QMenu& menu) {
    const QList<QAction*> actions = menu.actions();
    return std::any_of(actions.begin(), actions.end(),
                       [](const QAction* a) { return a->objectName().startsWith(QStringLiteral("aSpell")); });
}

// The standard menu's entries, for comparison.
template <typename Box> QStringList StandardEntries(Box& box) {
    std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
    return Entries(*menu);
}
} // namespace

TEST_F(SpellTest, LineEditMenuOffersSuggestionsAddAndIgnoreOnTop) {
    const auto service = MakeService();
    QLineEdit box(QStringLiteral("Helo world"));
    const QStringList standard = StandardEntries(box);
    std::unique_ptr<QMenu> menu(SpellContextMenu(box, 2, *service));

    const QStringList entries = Entries(*menu);
    const std::vector<std::string> suggestions = service->Suggestions("Helo");
    ASSERT_FALSE(suggestions.empty());
    ASSERT_LE(suggestions.size(), 5u);
    const int n = static_cast<int>(suggestions.size());
    QStringList expected;
    for (const std::string& s : suggestions)
        expected << QString::fromStdString(s);
    expected << "--"
             << "Add to dictionary"
             << "Ignore"
             << "--";
    EXPECT_EQ(entries.mid(0, n + 4), expected);
    EXPECT_EQ(entries.mid(n + 4), standard) << "the standard entries follow, unchanged";
    EXPECT_TRUE(expected.contains(QStringLiteral("Hello")));

    // Choosing a suggestion replaces the word; one undo brings the old text back.
    Find(*menu, QStringLiteral("Hello"))->trigger();
    EXPECT_EQ(box.text(), QStringLiteral("Hello world"));
    box.undo();
    EXPECT_EQ(box.text(), QStringLiteral("Helo world"));
    EXPECT_FALSE(box.isUndoAvailable()) << "the replacement was one undo step";
}

TEST_F(SpellTest, LineEditMenuFindsTheWordAtTheCursorPosition) {
    const auto service = MakeService();
    QLineEdit box(QStringLiteral("Helo world, wrld"));
    struct Case {
        int position;
        bool spelling;
    };
    // Before, inside and right after a misspelt word; on a correct word; between words.
    const Case cases[] = {{0, true},  {2, true},   {4, true},  {5, false},
                          {8, false}, {11, false}, {12, true}, {16, true}};
    for (const Case& c : cases) {
        std::unique_ptr<QMenu> menu(SpellContextMenu(box, c.position, *service));
        EXPECT_EQ(HasSpellingEntries(*menu), c.spelling) << "position " << c.position;
    }
    // No entries while checking is off, in a read-only box or a password box.
    service->SetEnabled(false);
    EXPECT_FALSE(HasSpellingEntries(*std::unique_ptr<QMenu>(SpellContextMenu(box, 2, *service))));
    service->SetEnabled(true);
    box.setReadOnly(true);
    EXPECT_FALSE(HasSpellingEntries(*std::unique_ptr<QMenu>(SpellContextMenu(box, 2, *service))));
    box.setReadOnly(false);
    box.setEchoMode(QLineEdit::Password);
    EXPECT_FALSE(HasSpellingEntries(*std::unique_ptr<QMenu>(SpellContextMenu(box, 2, *service))));
}

TEST_F(SpellTest, PlainTextMenuReplacesTheWordInItsLineAsOneUndoStep) {
    const auto service = MakeService();
    QPlainTextEdit box;
    box.setPlainText(QStringLiteral("hello\nsee the wrld here"));
    box.document()->clearUndoRedoStacks();
    const int position = 6 + 9; // inside "wrld" on the second line
    std::unique_ptr<QMenu> menu(SpellContextMenu(box, position, *service));
    QAction* world = Find(*menu, QStringLiteral("world"));
    ASSERT_NE(world, nullptr) << Entries(*menu).join('|').toStdString();
    world->trigger();
    EXPECT_EQ(box.toPlainText(), QStringLiteral("hello\nsee the world here"));
    EXPECT_EQ(box.textCursor().position(), 6 + 8 + 5) << "the cursor ends after the new word";
    box.undo();
    EXPECT_EQ(box.toPlainText(), QStringLiteral("hello\nsee the wrld here"));
    EXPECT_FALSE(box.document()->isUndoAvailable()) << "the replacement was one undo step";

    // A correct word: the standard menu only.
    std::unique_ptr<QMenu> plain(SpellContextMenu(box, 2, *service));
    EXPECT_EQ(Entries(*plain), StandardEntries(box));
}

TEST_F(SpellTest, StaleMenuDoesNotReplaceChangedText) {
    const auto service = MakeService();
    QPlainTextEdit box;
    box.setPlainText(QStringLiteral("the wrld"));
    std::unique_ptr<QMenu> menu(SpellContextMenu(box, 5, *service));
    box.setPlainText(QStringLiteral("the note"));
    Find(*menu, QStringLiteral("world"))->trigger();
    EXPECT_EQ(box.toPlainText(), QStringLiteral("the note"));

    QLineEdit line(QStringLiteral("the wrld"));
    std::unique_ptr<QMenu> lineMenu(SpellContextMenu(line, 5, *service));
    line.setText(QStringLiteral("the wrld."));
    Find(*lineMenu, QStringLiteral("world"))->trigger();
    EXPECT_EQ(line.text(), QStringLiteral("the wrld."));
}

TEST_F(SpellTest, MenuAddAndIgnoreReachTheService) {
    const auto service = MakeService();
    QTextEdit box;
    box.setPlainText(QStringLiteral("zorb quux"));
    std::unique_ptr<QMenu> menu(SpellContextMenu(box, 1, *service));
    Find(*menu, QStringLiteral("Add to dictionary"))->trigger();
    EXPECT_TRUE(service->IsCorrect("zorb"));
    EXPECT_EQ(TempSettings::ReadRaw(WordsFile()), "zorb\n");

    menu.reset(SpellContextMenu(box, 7, *service));
    Find(*menu, QStringLiteral("Ignore"))->trigger();
    EXPECT_TRUE(service->IsCorrect("quux"));
    EXPECT_EQ(TempSettings::ReadRaw(WordsFile()), "zorb\n") << "an ignored word is not written";
    EXPECT_EQ(box.toPlainText(), QStringLiteral("zorb quux")) << "neither changes the text";

    // Nothing to suggest: a disabled entry says so.
    box.setPlainText(QStringLiteral("xqxqxqxqxq"));
    menu.reset(SpellContextMenu(box, 1, *service));
    ASSERT_FALSE(menu->actions().isEmpty());
    EXPECT_EQ(menu->actions().first()->text(), QStringLiteral("(no suggestions)"));
    EXPECT_FALSE(menu->actions().first()->isEnabled());
}

TEST_F(SpellTest, MenuShowsWhyTheWordListCannotBeWritten) {
    TempSettings::WriteRaw(settingsStore.dir.filePath("blocker"), "x");
    auto blocked = std::make_shared<TRegWrap>(TRegRoot::CurrentUser, TempSettings::KeyPath,
                                              settingsStore.dir.filePath("blocker/Pathova.ini"),
                                              settingsStore.systemFile);
    SpellService service(blocked, QStringLiteral("xx_TEST"));
    QLineEdit box(QStringLiteral("zorb"));
    ScriptedPrompter prompter;
    prompter.ExpectMessage(Prompter::MessageKind::ErrorOk, Prompter::Answer::Ok);
    std::unique_ptr<QMenu> menu(SpellContextMenu(box, 1, service, &prompter));
    Find(*menu, QStringLiteral("Add to dictionary"))->trigger();
    ASSERT_EQ(prompter.AskedPrompts().size(), 1u);
    EXPECT_NE(prompter.AskedPrompts()[0].text.find("words.txt"), std::string::npos);
}

namespace {
// Sends a context-menu event to `target` and returns the entries of the menu that comes up (closing
// it), or nothing when no menu appeared.
QStringList MenuShownFor(QWidget* target, const QPoint& pos, QContextMenuEvent::Reason reason) {
    QStringList seen;
    bool shown = false;
    QTimer::singleShot(0, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            shown = true;
            seen = Entries(*menu);
            menu->close();
        }
    });
    QContextMenuEvent event(reason, pos, target->mapToGlobal(pos));
    QApplication::sendEvent(target, &event);
    EXPECT_TRUE(shown) << "no menu came up";
    return seen;
}
} // namespace

TEST_F(SpellTest, AttachedBoxesShowTheSpellingMenuOnRightClickAndMenuKey) {
    const auto service = MakeService();
    QWidget window;
    window.resize(400, 200);
    auto* line = new QLineEdit(QStringLiteral("wrld"), &window);
    line->setGeometry(0, 0, 300, 30);
    auto* memo = new QPlainTextEdit(&window);
    memo->setGeometry(0, 40, 300, 150);
    memo->setPlainText(QStringLiteral("wrld"));
    AttachSpellChecking(line, *service);
    AttachSpellChecking(memo, *service);
    window.show();
    QApplication::processEvents();

    const QRect word = LineEditSpellMarker::WordRect(*line, {0, 4});
    QStringList entries = MenuShownFor(line, word.center(), QContextMenuEvent::Mouse);
    EXPECT_TRUE(entries.contains(QStringLiteral("Add to dictionary"))) << entries.join('|').toStdString();

    const QRect memoWord = memo->cursorRect(QTextCursor(memo->document()));
    entries = MenuShownFor(memo->viewport(), memoWord.center() + QPoint(8, 0), QContextMenuEvent::Mouse);
    EXPECT_TRUE(entries.contains(QStringLiteral("Ignore"))) << entries.join('|').toStdString();

    // The Menu key: the word at the text cursor, whatever the pointer is over.
    QTextCursor cursor = memo->textCursor();
    cursor.setPosition(2);
    memo->setTextCursor(cursor);
    entries = MenuShownFor(memo, QPoint(250, 100), QContextMenuEvent::Keyboard);
    EXPECT_TRUE(entries.contains(QStringLiteral("Ignore"))) << entries.join('|').toStdString();
    cursor.setPosition(4);
    memo->setTextCursor(cursor);
    memo->insertPlainText(QStringLiteral(" hello"));
    entries = MenuShownFor(memo, QPoint(5, 5), QContextMenuEvent::Keyboard);
    EXPECT_FALSE(entries.contains(QStringLiteral("Ignore"))) << "the cursor is after a correct word";
}
