// The window's commands as a user reaches them: every command runs its own handler, each key reaches one
// command, the Alt letters of a menu, of the menu bar with the page tabs and of the Assistant page's
// buttons are each unique, Delete and F2 work on the current item, F1 opens the manual where the user is,
// and every tool tip names its keys.
#include "editor/commandkeys.h"
#include "editor/findpanel.h"
#include "editor/gotoanything.h"
#include "editor/helpaccess.h"
#include "editor/helpwindow.h"
#include "editor/mappage.h"
#include "editorfixture.h"

#include <QAction>
#include <QDockWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

// The letter after the '&' of a caption ('&&' is a plain '&'), lower case; null for none.
QChar Mnemonic(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) != u'&')
            continue;
        if (text.at(i + 1) == u'&') {
            ++i;
            continue;
        }
        return text.at(i + 1).toLower();
    }
    return {};
}

class KeysTest : public EditorFixture {
protected:
    HelpEnvironment savedHelp;
    std::vector<std::string> commands; // what the command observer saw

    void SetUp() override {
        // The manual of the source tree, and no help file beside a program of our own.
        savedHelp = DefaultHelpEnvironment();
        HelpEnvironment& help = DefaultHelpEnvironment();
        help.ProgramFile = recoveryDir.filePath(QStringLiteral("bin/assistant-editor")).toStdString();
        help.ManualFolder = std::string(AMF_SOURCE_DIR) + "/docs/manual";
        help.OpenUrl = [](const QUrl&) { return true; };
        help.ShowUnavailable = [](QWidget*, const QString&) {};
        Start();
        form->SetCommandObserver([this](const QString& name) { commands.push_back(name.toStdString()); });
        Fill({ScreenEntry("S1", {OptionEntry("O1", akGoto, "S2"), OptionEntry("O2")}), ScreenEntry("S2")},
             "S1");
    }
    void TearDown() override {
        EditorFixture::TearDown();
        DefaultHelpEnvironment() = savedHelp;
    }

    TAssistOption* OptionAt(int screen, int option) const { return ScreenAt(screen)->Options.Item(option); }
    // The page the help window shows, with its anchor ("panels.html#screen"); empty without a window.
    QString HelpPage() const {
        HelpWindow* window = FindHelpWindow(form.get());
        if (window == nullptr)
            return {};
        const QUrl source = window->Browser()->source();
        return source.fileName() + (source.hasFragment() ? "#" + source.fragment() : QString());
    }
    // Closes the help window a command opened and makes the editor the active window again.
    void CloseHelp() {
        delete FindHelpWindow(form.get());
        ASSERT_TRUE(ShowActive(form.get()));
    }
    // Presses a key in the widget with the focus, as the user would.
    static void Press(const QKeySequence& key) {
        QWidget* focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        QTest::keySequence(focused, key);
        QApplication::processEvents();
    }
};

} // namespace

// Each command's action runs that command: what the command does is seen (or the question it asks).
TEST_F(KeysTest, EveryCommandRunsItsOwnHandler) {
    struct Case {
        const char* name;
        std::function<void()> script; // the questions it will ask, answered
        std::function<void()> check;  // what it did
    };
    const auto asked = [this](ScriptedPrompter::Kind kind) {
        ASSERT_FALSE(prompter.AskedPrompts().empty());
        EXPECT_EQ(prompter.AskedPrompts().back().kind, kind);
    };
    const auto logged = [this](const std::string& line) {
        const std::vector<std::string>& log = components->Fake.Log->Lines();
        EXPECT_NE(std::find(log.begin(), log.end(), line), log.end()) << line;
    };
    const auto none = [] {};
    const std::vector<Case> cases = {
        {"aOpen", [this] { prompter.ExpectOpenFile(std::nullopt); },
         [&] { asked(ScriptedPrompter::Kind::OpenFile); }},
        {"aSave", [this] { prompter.ExpectSaveFileCancelled(); },
         [&] { asked(ScriptedPrompter::Kind::SaveFile); }},
        {"aSaveAs", [this] { prompter.ExpectSaveFileCancelled(); },
         [&] { asked(ScriptedPrompter::Kind::SaveFile); }},
        {"aReport", none, [&] { logged("CreateHTMLReport"); }},
        {"aPublish", [this] { prompter.ExpectSaveFileCancelled(); },
         [&] { asked(ScriptedPrompter::Kind::SaveFile); }},
        {"aRun", [this] { prompter.ExpectOpenFile(std::nullopt); },
         [&] { asked(ScriptedPrompter::Kind::OpenFile); }},
        {"aFind", none, [this] { EXPECT_TRUE(form->FindDock()->isVisible()); }},
        {"aGoTo", none, [this] { EXPECT_TRUE(form->GoTo()->isVisible()); }},
        {"aDuplicate", none, [this] { EXPECT_EQ(ScreenAt(1)->Options.Count(), 3); }},
        {"aNewScreen", none, [this] { EXPECT_EQ(Root().Screens.Count(), 3); }},
        {"aNewOption", none, [this] { EXPECT_EQ(ScreenAt(1)->Options.Count(), 3); }},
        {"aDelOption",
         [this] { prompter.ExpectMessage(Prompter::MessageKind::ConfirmYesNo, Prompter::Answer::Yes); },
         [this] { EXPECT_EQ(ScreenAt(0)->Options.Count(), 1); }},
        {"aDelScreen",
         [this] {
             ClickTreeNode(ScreenAt(1));
             prompter.ExpectMessage(Prompter::MessageKind::ConfirmYesNo, Prompter::Answer::Yes);
         },
         [this] { EXPECT_EQ(Root().Screens.Count(), 1); }},
        {"aUp", none, [this] { EXPECT_EQ(OptionAt(0, 0)->ID, "O2"); }},
        {"aTest", none, [&] { logged("CreateAssistant"); }},
        {"aHelpContents", none, [this] { EXPECT_EQ(HelpPage(), "contents.html"); }},
        {"aHelpIndex", none,
         [this] {
             EXPECT_EQ(HelpPage(), "contents.html");
             EXPECT_TRUE(FindHelpWindow(form.get())->IndexPaneSelected());
         }},
        {"aHelpHelp", none, [this] { EXPECT_EQ(HelpPage(), "usinghelp.html"); }},
        {"aHelpContext", none, [this] { EXPECT_EQ(HelpPage(), "panels.html#tree"); }},
        {"aAbout", none, [&] { logged("ShowAbout(owner, , 0)"); }},
        {"aNew", none, [this] { EXPECT_EQ(Root().Screens.Count(), 0); }},
        {"aExit", none, [this] { EXPECT_FALSE(form->isVisible()); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        form->ClearHistory(); // no step of the last case refers to the items replaced here
        // The second option of the first screen is current (aDuplicate, aNewOption and aDelOption work on
        // it, aUp moves it up); aDelScreen selects the second screen itself.
        Fill({ScreenEntry("S1", {OptionEntry("O1"), OptionEntry("O2")}),
              ScreenEntry("S2", {OptionEntry("P1"), OptionEntry("P2")})},
             "S1");
        ClickTreeNode(c.name == std::string("aDuplicate") || c.name == std::string("aNewOption")
                          ? OptionAt(1, 0)
                          : OptionAt(0, 1));
        c.script();
        commands.clear();
        QAction* action = form->FindAction(QString::fromLatin1(c.name));
        ASSERT_NE(action, nullptr);
        ASSERT_TRUE(action->isEnabled());
        action->trigger();
        QApplication::processEvents();
        EXPECT_EQ(commands, std::vector<std::string>{c.name});
        c.check();
        CloseHelp();
        form->GoTo()->hide();
        Root().Changed = false;
    }
}

// A key press reaches exactly one command, the one it is listed for.
TEST_F(KeysTest, EachKeyRunsItsCommand) {
    struct Case {
        QKeySequence key;
        const char* command;
        QWidget* focus; // where the key is pressed
        std::function<void()> script;
    };
    const auto none = [] {};
    const auto cancelSave = [this] { prompter.ExpectSaveFileCancelled(); };
    const auto cancelOpen = [this] { prompter.ExpectOpenFile(std::nullopt); };
    const auto keepItem = [this] {
        prompter.ExpectMessage(Prompter::MessageKind::ConfirmYesNo, Prompter::Answer::No);
    };
    QWidget* tree = form->Tree();
    QWidget* caption = form->Screen()->eScreenCaption();
    const std::vector<Case> cases = {
        {QKeySequence(QStringLiteral("Ctrl+N")), "aNew", tree, none},
        {QKeySequence(QStringLiteral("Ctrl+O")), "aOpen", tree, cancelOpen},
        {QKeySequence(QStringLiteral("Ctrl+S")), "aSave", caption, cancelSave},
        {QKeySequence(QStringLiteral("Ctrl+Shift+S")), "aSaveAs", tree, cancelSave},
        {QKeySequence(QStringLiteral("Ctrl+R")), "aReport", tree, none},
        {QKeySequence(QStringLiteral("Ctrl+F5")), "aRun", tree, cancelOpen},
        {QKeySequence(QStringLiteral("Ctrl+F")), "aFind", caption, none},
        {QKeySequence(QStringLiteral("Ctrl+P")), "aGoTo", tree, none},
        {QKeySequence(QStringLiteral("Ctrl+D")), "aDuplicate", tree, none},
        {QKeySequence(QStringLiteral("Ctrl+Shift+N")), "aNewScreen", tree, none},
        {QKeySequence(QStringLiteral("Ctrl+Shift+O")), "aNewOption", caption, none},
        {QKeySequence(QStringLiteral("F5")), "aTest", caption, none},
        {QKeySequence(QStringLiteral("F2")), "aEditID", tree, none},
        {QKeySequence(QStringLiteral("F1")), "aHelpContext", caption, none},
        {QKeySequence(QStringLiteral("Del")), "aDeleteItem", tree, keepItem},
        {QKeySequence(QStringLiteral("Alt+Down")), "aDown", tree, none},
        {QKeySequence(QStringLiteral("Alt+Up")), "aUp", tree, none},
        // The menu bar's Test! and the Structure page no longer share Alt+T.
        {QKeySequence(QStringLiteral("Alt+T")), "aTest", tree, none},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key.toString().toStdString());
        form->ClearHistory();
        Fill({ScreenEntry("S1"), ScreenEntry("S2"), ScreenEntry("S3")}, "S1");
        ClickTreeNode(ScreenAt(1));
        FocusByMouse(c.focus);
        c.script();
        commands.clear();
        Press(c.key);
        EXPECT_EQ(commands, std::vector<std::string>{c.command});
        CloseHelp();
        form->GoTo()->hide();
        form->FindDock()->hide();
        Root().Changed = false;
    }
}

// In a text box Delete, Alt+Up and Alt+Down keep their meaning in the box: no item is deleted or moved.
// A platform binding of a standard key never takes a key that a command names as its own, nor one that
// an earlier command was given: a key bound to two actions triggers neither.
TEST(CommandKeys, OwnKeysWinOverThePlatformsBindings) {
    const KeyBindings bindings = [](QKeySequence::StandardKey key) -> QList<QKeySequence> {
        switch (key) {
        case QKeySequence::Delete: // as the X11 scheme binds it
            return {QKeySequence(Qt::Key_Delete), QKeySequence(QStringLiteral("Ctrl+D"))};
        case QKeySequence::Copy:
            return {QKeySequence(QStringLiteral("Ctrl+C")), QKeySequence(QStringLiteral("Ctrl+Ins"))};
        case QKeySequence::Cut: // a made-up clash between two standard keys
            return {QKeySequence(QStringLiteral("Ctrl+X")), QKeySequence(QStringLiteral("Ctrl+Ins"))};
        default:
            return {};
        }
    };
    struct Case {
        const char* name;
        CommandKeyRow command;
        QList<QKeySequence> expected;
    };
    const Case cases[] = {
        {"Delete keeps Del but not Duplicate's Ctrl+D",
         {QKeySequence::Delete, "Del"},
         {QKeySequence(Qt::Key_Delete)}},
        {"Duplicate", {QKeySequence::UnknownKey, "Ctrl+D"}, {QKeySequence(QStringLiteral("Ctrl+D"))}},
        {"Copy gets the platform's other binding",
         {QKeySequence::Copy, "Ctrl+C"},
         {QKeySequence(QStringLiteral("Ctrl+C")), QKeySequence(QStringLiteral("Ctrl+Ins"))}},
        {"Cut does not get the binding Copy was given first",
         {QKeySequence::Cut, "Ctrl+X"},
         {QKeySequence(QStringLiteral("Ctrl+X"))}},
        {"several own keys, no standard key",
         {QKeySequence::UnknownKey, "Ctrl+Shift+Z; Ctrl+Y"},
         {QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("Ctrl+Y"))}},
        {"no keys", {QKeySequence::UnknownKey, ""}, {}},
    };
    std::vector<CommandKeyRow> keyRows;
    for (const Case& c : cases)
        keyRows.push_back(c.command);
    const std::vector<QList<QKeySequence>> keys = AssignCommandKeys(keyRows, bindings);
    ASSERT_EQ(keys.size(), std::size(cases));
    for (std::size_t i = 0; i < keys.size(); ++i)
        EXPECT_EQ(keys[i], cases[i].expected) << cases[i].name;
    const CommandKeyRow withoutOwnKeys{QKeySequence::Delete, ""};
    EXPECT_EQ(CommandKeyNames(withoutOwnKeys, AssignCommandKeys({withoutOwnKeys}, bindings).front()),
              QKeySequence(Qt::Key_Delete).toString(QKeySequence::NativeText))
        << "without keys of its own a tool tip names the first binding";
}

// The window's table under the bindings of the X11 key scheme (where the standard Delete is also
// Ctrl+D, Cut also Shift+Del, Copy Ctrl+Ins, Paste Shift+Ins): no key belongs to two commands, and Ctrl+D
// stays Duplicate's.
TEST(CommandKeys, NoKeyOfTheWindowBelongsToTwoCommandsUnderX11Bindings) {
    // What the X11 scheme binds besides the keys of the platform the test runs on.
    const std::map<QKeySequence::StandardKey, const char*> x11Extra = {
        {QKeySequence::Delete, "Ctrl+D"},     {QKeySequence::Cut, "Shift+Del"},
        {QKeySequence::Copy, "Ctrl+Ins"},     {QKeySequence::Paste, "Shift+Ins"},
        {QKeySequence::Redo, "Ctrl+Shift+Z"},
    };
    const KeyBindings x11 = [&x11Extra](QKeySequence::StandardKey key) {
        QList<QKeySequence> keys = QKeySequence::keyBindings(key);
        if (const auto extra = x11Extra.find(key); extra != x11Extra.end())
            keys.append(QKeySequence(QString::fromLatin1(extra->second)));
        return keys;
    };
    const std::vector<QString> names = MainWindow::CommandNames();
    const std::vector<QList<QKeySequence>> keys = MainWindow::CommandKeys(x11);
    ASSERT_EQ(keys.size(), names.size());
    std::map<QString, QString> owner;
    for (std::size_t i = 0; i < keys.size(); ++i)
        for (const QKeySequence& key : keys[i]) {
            const auto [at, inserted] = owner.emplace(key.toString(QKeySequence::PortableText), names[i]);
            EXPECT_TRUE(inserted) << key.toString().toStdString() << ": " << at->second.toStdString()
                                  << " and " << names[i].toStdString();
        }
    EXPECT_EQ(owner[QStringLiteral("Ctrl+D")], QStringLiteral("aDuplicate"));
    EXPECT_EQ(owner[QStringLiteral("Del")], QStringLiteral("aDeleteItem"));
    EXPECT_EQ(owner[QStringLiteral("Ctrl+Ins")], QStringLiteral("aCopy"));
}

TEST_F(KeysTest, TreeKeysWorkOnlyInTheTree) {
    ClickTreeNode(ScreenAt(0));
    QLineEdit* caption = form->Screen()->eScreenCaption();
    FocusByMouse(caption);
    caption->setCursorPosition(0);
    commands.clear();
    for (const char* key : {"Del", "Alt+Up", "Alt+Down"})
        Press(QKeySequence(QString::fromLatin1(key)));
    EXPECT_TRUE(commands.empty());
    EXPECT_EQ(Root().Screens.Count(), 2);
    EXPECT_EQ(ScreenAt(0)->ID, "S1");
    const std::vector<QAction*> treeKeys = {form->FindAction(QStringLiteral("aDeleteItem")),
                                            form->Actions().aUp, form->Actions().aDown};
    for (QAction* action : treeKeys) {
        SCOPED_TRACE(action->objectName().toStdString());
        EXPECT_TRUE(form->Tree()->actions().contains(action));
        EXPECT_FALSE(form->actions().contains(action));
    }
}

// Delete in the tree asks the question of Delete screen or Delete option, and deletes on Yes only.
TEST_F(KeysTest, DeleteInTheTreeDeletesTheCurrentItemAfterTheQuestion) {
    struct Case {
        std::function<TAssistBase*()> item;
        Prompter::Answer answer;
        const char* question;
        int screens;
        int options; // of the first screen
    };
    const std::vector<Case> cases = {
        {[this] { return ScreenAt(1); }, Prompter::Answer::No, "Confirm delete screen S2?", 2, 2},
        {[this] { return ScreenAt(1); }, Prompter::Answer::Yes, "Confirm delete screen S2?", 1, 2},
        {[this] { return OptionAt(0, 1); }, Prompter::Answer::No, "Confirm delete option O2?", 2, 2},
        {[this] { return OptionAt(0, 1); }, Prompter::Answer::Yes, "Confirm delete option O2?", 2, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.question);
        form->ClearHistory();
        Fill({ScreenEntry("S1", {OptionEntry("O1"), OptionEntry("O2")}), ScreenEntry("S2")}, "S1");
        ClickTreeNode(c.item());
        prompter.ExpectMessage(Prompter::MessageKind::ConfirmYesNo, c.answer);
        Press(QKeySequence(Qt::Key_Delete));
        ASSERT_FALSE(prompter.AskedPrompts().empty());
        EXPECT_EQ(prompter.AskedPrompts().back().text, c.question);
        EXPECT_EQ(Root().Screens.Count(), c.screens);
        EXPECT_EQ(ScreenAt(0)->Options.Count(), c.options);
        Root().Changed = false;
    }
    // The assistant itself is not deleted: the key does nothing there.
    ClickTreeNode(&Root());
    const size_t before = prompter.AskedPrompts().size();
    Press(QKeySequence(Qt::Key_Delete));
    EXPECT_EQ(prompter.AskedPrompts().size(), before);
}

// F2 puts the cursor in the ID box of the current item's panel, with the ID selected, from anywhere.
TEST_F(KeysTest, F2SelectsTheIDOfTheCurrentItem) {
    struct Case {
        std::function<TAssistBase*()> item;
        std::function<QLineEdit*()> box;
        const char* id; // nullptr: the assistant's
    };
    const std::vector<Case> cases = {
        {[this] { return &Root(); }, [this] { return form->General()->eProjectID(); }, nullptr},
        {[this] { return ScreenAt(1); }, [this] { return form->Screen()->eScreenID(); }, "S2"},
        {[this] { return OptionAt(0, 0); }, [this] { return form->Option()->eOptionID(); }, "O1"},
    };
    for (const Case& c : cases) {
        const std::string id = c.id != nullptr ? c.id : Root().ID;
        SCOPED_TRACE(id);
        ASSERT_FALSE(id.empty());
        ClickTreeNode(c.item());
        form->Pages()->setCurrentWidget(form->tsMap()); // F2 also comes back to the Assistant page
        FocusByMouse(form->Map());
        Press(QKeySequence(Qt::Key_F2));
        QLineEdit* box = c.box();
        EXPECT_EQ(form->Pages()->currentWidget(), form->tsAssistant());
        EXPECT_TRUE(box->hasFocus());
        EXPECT_EQ(box->selectedText(), QString::fromStdString(id));
    }
}

// F1 opens the manual at the page about where the user works: the panel, the tree, the page shown, the
// find panel.
TEST_F(KeysTest, F1OpensTheManualAtThePageOfTheFocusedPart) {
    struct Case {
        const char* where;
        std::function<void()> go;
        const char* page;
    };
    const std::vector<Case> cases = {
        {"General panel",
         [this] {
             ClickTreeNode(&Root());
             FocusByMouse(form->General()->eProjectCaption());
         },
         "panels.html#general"},
        {"Screen panel",
         [this] {
             ClickTreeNode(ScreenAt(0));
             FocusByMouse(form->Screen()->eScreenCaption());
         },
         "panels.html#screen"},
        {"Option panel",
         [this] {
             ClickTreeNode(OptionAt(0, 0));
             FocusByMouse(form->Option()->eOptionID());
         },
         "panels.html#option"},
        {"tree", [this] { ClickTreeNode(ScreenAt(0)); }, "panels.html#tree"},
        {"Structure page",
         [this] {
             form->Pages()->setCurrentWidget(form->tsStructure());
             FocusByMouse(form->Structure());
         },
         "window.html#structure-page"},
        {"Map page",
         [this] {
             form->Pages()->setCurrentWidget(form->tsMap());
             FocusByMouse(form->Map());
         },
         "map.html"},
        {"Warnings page",
         [this] {
             form->Pages()->setCurrentWidget(form->tsErrors());
             FocusByMouse(form->lbErrors());
         },
         "checks.html"},
        {"find panel",
         [this] {
             form->Actions().aFind->trigger();
             QApplication::processEvents();
         },
         "finding.html#find"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        form->Pages()->setCurrentWidget(form->tsAssistant());
        form->FindDock()->hide();
        c.go();
        commands.clear();
        Press(QKeySequence(Qt::Key_F1));
        EXPECT_EQ(commands, std::vector<std::string>{"aHelpContext"});
        EXPECT_EQ(HelpPage(), QString::fromLatin1(c.page));
        CloseHelp();
    }
}

// Within each menu, among the menu bar's titles and the page tabs, and among the Assistant page's
// buttons, no two entries share an Alt letter; the buttons' letters are not taken by the menu bar or tabs.
TEST_F(KeysTest, AltLettersAreUniqueWhereTheyWorkTogether) {
    const auto checkUnique = [](const std::vector<QString>& captions, std::map<QChar, QString>& seen) {
        for (const QString& caption : captions) {
            const QChar letter = Mnemonic(caption);
            if (letter.isNull())
                continue;
            const auto [at, inserted] = seen.emplace(letter, caption);
            EXPECT_TRUE(inserted) << caption.toStdString() << " and " << at->second.toStdString()
                                  << " share Alt+" << QString(letter).toStdString();
        }
    };
    std::vector<QString> barAndTabs;
    for (QAction* entry : form->menuBar()->actions()) {
        barAndTabs.push_back(entry->text());
        if (entry->menu() == nullptr)
            continue;
        SCOPED_TRACE(entry->text().toStdString());
        std::vector<QString> items;
        for (QAction* item : entry->menu()->actions())
            if (!item->isSeparator())
                items.push_back(item->text());
        std::map<QChar, QString> seen;
        checkUnique(items, seen);
    }
    for (int i = 0; i < form->Pages()->count(); ++i)
        barAndTabs.push_back(form->Pages()->tabText(i));
    std::map<QChar, QString> windowWide;
    checkUnique(barAndTabs, windowWide);

    AssistantPage* page = form->AssistantView();
    std::vector<QString> buttons;
    for (QPushButton* button : {page->bNewScreen(), page->bDelScreen(), page->bNewOption(),
                                page->bDelOption(), page->bUp(), page->bDown()})
        buttons.push_back(button->text());
    checkUnique(buttons, windowWide);
}

// The letters that used to clash now reach one thing each: Alt+R the Structure page, Alt+T Test!, the
// New, Delete, Up and Down buttons of the Assistant page each their own command.
TEST_F(KeysTest, FormerlySharedAltLettersReachOneThingEach) {
    ClickTreeNode(ScreenAt(0));
    commands.clear();
    Press(QKeySequence(QStringLiteral("Alt+R")));
    EXPECT_EQ(form->Pages()->currentWidget(), form->tsStructure());
    EXPECT_TRUE(commands.empty());
    form->Pages()->setCurrentWidget(form->tsAssistant());

    struct Case {
        const char* key;
        const char* command;
        std::function<void()> script;
    };
    const std::vector<Case> cases = {
        {"Alt+N", "aNewScreen", [] {}},
        {"Alt+P", "aNewOption", [] {}},
        {"Alt+L", "aDelScreen",
         [this] { prompter.ExpectMessage(Prompter::MessageKind::ConfirmYesNo, Prompter::Answer::No); }},
        {"Alt+U", "aUp", [] {}},
        {"Alt+D", "aDown", [] {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        form->ClearHistory();
        Fill({ScreenEntry("S1", {OptionEntry("O1")}), ScreenEntry("S2"), ScreenEntry("S3")}, "S1");
        ClickTreeNode(ScreenAt(1));
        c.script();
        commands.clear();
        Press(QKeySequence(QString::fromLatin1(c.key)));
        QTest::qWait(300); // a button's letter clicks it as the mouse would, after a short animation
        EXPECT_EQ(commands, std::vector<std::string>{c.command});
        Root().Changed = false;
    }
}

// Every command with keys names them in its tool tip, and so do Find next and Find previous.
TEST_F(KeysTest, EveryToolTipNamesItsKeys) {
    std::vector<QAction*> actions = form->CommandActions();
    actions.push_back(form->FindAction(QStringLiteral("aFindNext")));
    actions.push_back(form->FindAction(QStringLiteral("aFindPrevious")));
    int withKeys = 0;
    for (QAction* action : actions) {
        ASSERT_NE(action, nullptr);
        SCOPED_TRACE(action->objectName().toStdString());
        if (action->shortcut().isEmpty()) {
            EXPECT_FALSE(action->toolTip().endsWith(u')')) << action->toolTip().toStdString();
            continue;
        }
        ++withKeys;
        const QString key = action->shortcut().toString(QKeySequence::NativeText);
        EXPECT_TRUE(action->toolTip().endsWith(QStringLiteral(")"))) << action->toolTip().toStdString();
        EXPECT_TRUE(action->toolTip().contains(QStringLiteral("(") + key)) << action->toolTip().toStdString();
    }
    EXPECT_GT(withKeys, 0);
    EXPECT_EQ(form->FindAction(QStringLiteral("aFindNext"))->toolTip(), QStringLiteral("Find next (F3)"));
}
