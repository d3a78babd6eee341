// The main window's commands: one table with a row per command, from which the actions, their keys and
// hints, the menus, the tool bar and every enabled state are made. Adding a command is adding a row here
// and writing its handler.
#include "editor/assistantpage.h"
#include "editor/generalpanel.h"
#include "editor/mainwindow.h"
#include "editor/optionpanel.h"
#include "editor/screenpanel.h"
#include "editor/uitext.h"
#include "model/assistroot.h"

#include <QAbstractButton>
#include <QAction>
#include <QIcon>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeView>
#include <QUndoStack>

#include <map>

// What the rows' predicates look at.
struct MainWindow::CommandState {
    bool anyItem = false;                  // the assistant, a screen or an option is current
    const TAssistScreen* screen = nullptr; // the current screen
    const TAssistOption* option = nullptr; // the current option
    bool canMoveUp = false;                // the current screen or option has one before it
    bool canMoveDown = false;              // ... or one after it
    bool canUndo = false;
    bool canRedo = false;
    bool boxFocused = false; // a text box of the Assistant page has the focus
    QString undoText;        // the step Undo takes back, empty for none
    QString redoText;
};

// Where a command's keys work.
enum class KeyScope {
    Window, // wherever the focus is in the window
    Tree,   // only while the assistant tree has the focus
};

struct MainWindow::CommandRow {
    QAction* TActionList::*field; // its field in Actions(), or nullptr
    const char* name;             // object name
    const char* caption;
    QKeySequence::StandardKey standardKey; // QKeySequence::UnknownKey for none
    const char* keys; // our keys (portable text, "; " between several), first; the platform's other
                      // bindings of the standard key follow; empty for none
    KeyScope scope;
    const char* hint;     // "short|long", empty for none
    const char* icon;     // name in the desktop's icon theme (a copy ships in the resources); empty for none
    bool toolBar;         // also on the tool bar (in table order)
    const char* menu;     // object name of its menu; "" stands in the menu bar itself; nullptr: in none
    bool separatorBefore; // a separator before it in its menu
    bool (*enabled)(const CommandState&);        // nullptr: always enabled
    QString (*liveCaption)(const CommandState&); // a caption that follows the state; nullptr: fixed
    void (MainWindow::*handler)();
    bool commitsItself; // the handler stores the focused box itself (Undo, Redo), not before it starts
};

namespace {

// The menus of the menu bar, by object name, in no particular order: a menu is added to the bar when the
// first row that goes in it is met.
const std::map<std::string, const char*>& MenuTitles() {
    static const std::map<std::string, const char*> titles = {
        {"File1", "&File"},       {"Edit1", "&Edit"}, {"Screen1", "&Screen"},
        {"Options1", "&Options"}, {"Help1", "&Help"},
    };
    return titles;
}

// The icon of a command: the desktop theme's, else the copy in the resources.
QIcon ThemeIcon(const char* name) {
    const QString icon = QString::fromLatin1(name);
    return QIcon::fromTheme(icon, QIcon(QStringLiteral(":/amf/icons/") + icon + ".svg"));
}

} // namespace

// The resources live in the static GUI library; they are registered before the first icon is read.
static void LoadGuiResources() {
    Q_INIT_RESOURCE(gui_resources);
}

const std::vector<MainWindow::CommandRow>& MainWindow::CommandRows() {
    using W = MainWindow;
    using L = TActionList;
    using S = CommandState;
    constexpr auto none = QKeySequence::UnknownKey;
    constexpr KeyScope window = KeyScope::Window;
    // In menu order; the menus follow in the order their first rows come.
    static const std::vector<CommandRow> rows = {
        // ---- File
        {&L::aNew, "aNew", "&New", QKeySequence::New, "Ctrl+N", window,
         "Start new assistant|Clear the current data and initialise a new assistant.", "document-new", true,
         "File1", false, nullptr, nullptr, &W::aNewExecute, false},
        {&L::aOpen, "aOpen", "&Open file...", QKeySequence::Open, "Ctrl+O", window,
         "Open file|Open an existing assistant data file.", "document-open", true, "File1", false, nullptr,
         nullptr, &W::aOpenExecute, false},
        // (the Reopen menu follows Open)
        {&L::aSave, "aSave", "&Save", QKeySequence::Save, "Ctrl+S", window,
         "Save to file|Save the current assistant data to the file it was loaded from.", "document-save",
         true, "File1", true, nullptr, nullptr, &W::aSaveExecute, false},
        {&L::aSaveAs, "aSaveAs", "Save &as...", QKeySequence::SaveAs, "Ctrl+Shift+S", window,
         "Save as new file|Save the current assistant data to a new file.", "", false, "File1", false,
         nullptr, nullptr, &W::aSaveAsExecute, false},
        {&L::aReport, "aReport", "R&eport...", none, "Ctrl+R", window, "", "", false, "File1", true, nullptr,
         nullptr, &W::aReportExecute, false},
        {&L::aPublish, "aPublish", "&Publish as web page...", none, "", window,
         "Publish as web page|Write the assistant as one web page that runs in any browser.", "", false,
         "File1", false, nullptr, nullptr, &W::aPublishExecute, false},
        {&L::aRun, "aRun", "&Run from file...", none, "Ctrl+F5", window,
         "Load and run|Start assistant viewer with data from file.", "", false, "File1", true, nullptr,
         nullptr, &W::aRunExecute, false},
        {&L::aExit, "aExit", "E&xit", QKeySequence::Quit, "Ctrl+Q", window,
         "Exit program|Close down the program.", "", false, "File1", true, nullptr, nullptr, &W::aExitExecute,
         false},
        // ---- Edit
        {&L::aUndo, "aUndo", "&Undo", QKeySequence::Undo, "Ctrl+Z", window,
         "Undo|Take back the last change to the assistant.", "edit-undo", true, "Edit1", false,
         [](const S& s) { return s.canUndo || s.boxFocused; },
         [](const S& s) {
             return s.undoText.isEmpty() ? QStringLiteral("&Undo") : "&Undo " + EscapeMnemonics(s.undoText);
         },
         &W::aUndoExecute, true},
        {&L::aRedo, "aRedo", "&Redo", QKeySequence::Redo, "Ctrl+Shift+Z; Ctrl+Y", window,
         "Redo|Put back the last change taken back.", "edit-redo", true, "Edit1", false,
         [](const S& s) { return s.canRedo || s.boxFocused; },
         [](const S& s) {
             return s.redoText.isEmpty() ? QStringLiteral("&Redo") : "&Redo " + EscapeMnemonics(s.redoText);
         },
         &W::aRedoExecute, true},
        {&L::aCopy, "aCopy", "&Copy", QKeySequence::Copy, "Ctrl+C", window,
         "Copy text|Copy the selected text to the clipboard.", "", false, "Edit1", true, nullptr, nullptr,
         &W::aCopyExecute, false},
        {&L::aCut, "aCut", "Cu&t", QKeySequence::Cut, "Ctrl+X", window,
         "Cut text|Copy the selected text to the clipboard and then delete it from the entry.", "", false,
         "Edit1", false, nullptr, nullptr, &W::aCutExecute, false},
        {&L::aPaste, "aPaste", "Pa&ste", QKeySequence::Paste, "Ctrl+V", window,
         "Paste text|Past the contents of the clipboard.", "", false, "Edit1", false, nullptr, nullptr,
         &W::aPasteExecute, false},
        {&L::aNote, "aNote", "&Notes", none, "", window, "", "", false, "Edit1", true,
         [](const S& s) { return s.option != nullptr; }, nullptr, &W::aNoteExecute, false},
        {&L::aUp, "aUp", "U&p", none, "Alt+Up", KeyScope::Tree,
         "Move up|Move the selected item up the structure.", "", false, "Edit1", true,
         [](const S& s) { return s.canMoveUp; }, nullptr, &W::aUpExecute, false},
        {&L::aDown, "aDown", "&Down", none, "Alt+Down", KeyScope::Tree,
         "Move down|Move the selected item down the structure.", "", false, "Edit1", false,
         [](const S& s) { return s.canMoveDown; }, nullptr, &W::aDownExecute, false},
        {&L::aFind, "aFind", "&Find...", QKeySequence::Find, "Ctrl+F", window,
         "Find and replace|Find text in the assistant's IDs, captions, texts, commands, scripts and notes, "
         "and replace it.",
         "", false, "Edit1", true, nullptr, nullptr, &W::aFindExecute, false},
        // (the find panel's Find next and Find previous follow Find)
        {&L::aGoTo, "aGoTo", "&Go to...", none, "Ctrl+P", window,
         "Go to anything|Go to a screen or option by a few letters of its ID or caption.", "", false, "Edit1",
         false, nullptr, nullptr, &W::aGoToExecute, false},
        {&L::aRenameScreen, "aRenameScreen", "R&ename screen...", none, "", window,
         "Rename screen|Change the current screen's ID and every reference to it.", "", false, "Edit1", true,
         nullptr, nullptr, &W::aRenameScreenExecute, false},
        {&L::aDuplicate, "aDuplicate", "Dupl&icate", none, "Ctrl+D", window,
         "Duplicate|Copy the current screen or option right after the original, with a new ID.", "", false,
         "Edit1", false, nullptr, nullptr, &W::aDuplicateExecute, false},
        {&L::aOptions, "aOptions", "&Options...", none, "", window,
         "Options|Choose the spelling language and turn spell checking on or off.", "", false, "Edit1", true,
         nullptr, nullptr, &W::aOptionsExecute, false},
        // Keys without a menu entry.
        {nullptr, "aDeleteItem", "&Delete", QKeySequence::Delete, "Del", KeyScope::Tree,
         "Delete|Delete the current screen or option.", "", false, nullptr, false,
         [](const S& s) { return s.screen != nullptr || s.option != nullptr; }, nullptr,
         &W::aDeleteItemExecute, false},
        {nullptr, "aEditID", "Edit the &ID", none, "F2", window,
         "Edit the ID|Put the cursor in the ID box of the current item.", "", false, nullptr, false, nullptr,
         nullptr, &W::aEditIDExecute, false},
        // ---- Screen
        {&L::aNewScreen, "aNewScreen", "&New screen", none, "Ctrl+Shift+N", window,
         "Add new screen|Create a new screen object.", "screen-new", true, "Screen1", false,
         [](const S& s) { return s.anyItem; }, nullptr, &W::aNewScreenExecute, false},
        {&L::aDelScreen, "aDelScreen", "&Delete screen", none, "", window,
         "Delete existing screen|Delete the current screen and any associated options from the assistant.",
         "", false, "Screen1", false, [](const S& s) { return s.screen != nullptr; }, nullptr,
         &W::aDelScreenExecute, false},
        // ---- Options
        {&L::aNewOption, "aNewOption", "&New option", none, "Ctrl+Shift+O", window,
         "Create new option|Create a new option for the current screen.", "option-new", true, "Options1",
         false, [](const S& s) { return s.anyItem; }, nullptr, &W::aNewOptionExecute, false},
        {&L::aDelOption, "aDelOption", "&Delete option", none, "", window,
         "Delete current option|Delete the currently selected option.", "", false, "Options1", false,
         [](const S& s) { return s.option != nullptr; }, nullptr, &W::aDelOptionExecute, false},
        // ---- Test! stands in the menu bar
        {&L::aTest, "aTest", "&Test!", none, "F5", window,
         "Test assistant|Click to start assistant viewer with current data", "media-playback-start", true, "",
         false, nullptr, nullptr, &W::aTestExecute, false},
        // ---- Help
        {&L::aHelpContents, "aHelpContents", "Help &contents", none, "", window, "", "", false, "Help1",
         false, nullptr, nullptr, &W::aHelpContentsExecute, false},
        {&L::aHelpIndex, "aHelpIndex", "Help &index", none, "", window, "", "", false, "Help1", false,
         nullptr, nullptr, &W::aHelpIndexExecute, false},
        {nullptr, "aHelpContext", "Help on this &page", QKeySequence::HelpContents, "F1", window,
         "Help on this page|Open the manual at the page about the panel or page you are working in.", "",
         false, "Help1", false, nullptr, nullptr, &W::aHelpContextExecute, false},
        {&L::aHelpHelp, "aHelpHelp", "Help on &help", none, "", window, "", "", false, "Help1", false,
         nullptr, nullptr, &W::aHelpHelpExecute, false},
        {&L::aAbout, "aAbout", "&About", none, "", window,
         "About this program|Display information about this program.", "", false, "Help1", true, nullptr,
         nullptr, &W::aAboutExecute, false},
    };
    return rows;
}

std::vector<QList<QKeySequence>> MainWindow::CommandKeys(const KeyBindings& bindings) {
    std::vector<CommandKeyRow> keyRows;
    for (const CommandRow& row : CommandRows())
        keyRows.push_back({row.standardKey, row.keys});
    return AssignCommandKeys(keyRows, bindings);
}

std::vector<QString> MainWindow::CommandNames() {
    std::vector<QString> names;
    for (const CommandRow& row : CommandRows())
        names.push_back(QString::fromLatin1(row.name));
    return names;
}

void MainWindow::BuildActions() {
    LoadGuiResources();
    const std::vector<QList<QKeySequence>> keys = CommandKeys(&QKeySequence::keyBindings);
    std::size_t index = 0;
    for (const CommandRow& row : CommandRows()) {
        auto* action = new QAction(QString::fromUtf8(row.caption), this);
        action->setObjectName(QString::fromLatin1(row.name));
        const QList<QKeySequence>& assigned = keys[index++];
        action->setShortcuts(assigned);
        if (row.hint[0] != '\0')
            ApplyHint(action, QString::fromUtf8(row.hint));
        // The tool tip names the keys: "Save to file (Ctrl+S)".
        const QString keyNames = CommandKeyNames({row.standardKey, row.keys}, assigned);
        if (!keyNames.isEmpty())
            action->setToolTip(action->toolTip() + QStringLiteral(" (") + keyNames + QLatin1Char(')'));
        // A command standing in the menu bar keeps no icon there: a menu bar shows an item's icon in place
        // of its text (its tool bar button gets the icon).
        if (row.icon[0] != '\0' && row.menu != nullptr && row.menu[0] != '\0')
            action->setIcon(ThemeIcon(row.icon));
        if (row.scope == KeyScope::Window) {
            // The window's keys work wherever the focus is inside the window.
            action->setShortcutContext(Qt::WindowShortcut);
            addAction(action);
        } else {
            // Added to the tree in ConnectActions; elsewhere (a text box) the keys keep their usual meaning.
            action->setShortcutContext(Qt::WidgetShortcut);
        }
        connect(action, &QAction::triggered, this, [this, &row] { RunRow(row); });
        if (row.field != nullptr)
            m_actions.*(row.field) = action;
        m_commandActions.push_back(action);
    }
}

void MainWindow::RunRow(const CommandRow& row) {
    if (row.commitsItself) {
        if (m_commandObserver)
            m_commandObserver(QString::fromLatin1(row.name));
        (this->*row.handler)();
        return;
    }
    try {
        CommitFocusedBox();
        if (m_commandObserver)
            m_commandObserver(QString::fromLatin1(row.name));
        (this->*row.handler)();
    } catch (const std::exception& error) {
        ShowError(error);
    }
}

void MainWindow::BuildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    std::map<std::string, QMenu*> menus;
    const std::vector<CommandRow>& rows = CommandRows();
    for (size_t i = 0; i < rows.size(); ++i) {
        const CommandRow& row = rows[i];
        QAction* action = m_commandActions[i];
        if (row.menu == nullptr)
            continue;
        if (row.menu[0] == '\0') {
            bar->addAction(action);
            continue;
        }
        QMenu*& menu = menus[row.menu];
        if (menu == nullptr) {
            menu = bar->addMenu(QString::fromUtf8(MenuTitles().at(row.menu)));
            menu->setObjectName(QString::fromLatin1(row.menu));
        }
        if (row.separatorBefore && !menu->isEmpty())
            menu->addSeparator();
        menu->addAction(action);
        if (action == m_actions.aOpen) {
            // The recent files follow Open.
            m_mReOpen = menu->addMenu(QStringLiteral("Reopen"));
            m_mReOpen->setObjectName(QStringLiteral("mReOpen"));
            m_mReOpen->menuAction()->setObjectName(QStringLiteral("mReOpen"));
        }
    }
    // The find panel's Find next and Find previous follow Find (BuildFind).
    m_editMenu = menus.at("Edit1");
}

void MainWindow::BuildToolBar() {
    // The common commands, from the rows marked for it.
    QToolBar* bar = addToolBar(QStringLiteral("Commands"));
    bar->setObjectName(QStringLiteral("ToolBar"));
    bar->setMovable(false);
    const std::vector<CommandRow>& rows = CommandRows();
    for (size_t i = 0; i < rows.size(); ++i) {
        const CommandRow& row = rows[i];
        if (!row.toolBar)
            continue;
        QAction* action = m_commandActions[i];
        if (row.menu == nullptr || row.menu[0] != '\0') {
            bar->addAction(action);
            continue;
        }
        // The button of a menu-bar command is a copy with the icon that runs the command and follows its
        // state and hints.
        auto* button = new QAction(ThemeIcon(row.icon), action->text(), bar);
        button->setObjectName(action->objectName() + QStringLiteral("Button"));
        const auto follow = [button, action] {
            button->setEnabled(action->isEnabled());
            button->setToolTip(action->toolTip());
            button->setStatusTip(action->statusTip());
        };
        follow();
        connect(action, &QAction::changed, button, follow);
        connect(button, &QAction::triggered, action, &QAction::trigger);
        bar->addAction(button);
    }
}

void MainWindow::ConnectActions() {
    // Keys that work only in the tree (Delete, Alt+Up, Alt+Down).
    const std::vector<CommandRow>& rows = CommandRows();
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].scope == KeyScope::Tree)
            Tree()->addAction(m_commandActions[i]);

    // Buttons of the Assistant page and the Option panel run the actions of the same names and follow
    // their enabled state.
    const std::pair<QAbstractButton*, QAction*> buttons[] = {
        {m_assistantPage->bNewScreen(), m_actions.aNewScreen},
        {m_assistantPage->bDelScreen(), m_actions.aDelScreen},
        {m_assistantPage->bNewOption(), m_actions.aNewOption},
        {m_assistantPage->bDelOption(), m_actions.aDelOption},
        {m_assistantPage->bUp(), m_actions.aUp},
        {m_assistantPage->bDown(), m_actions.aDown},
        {Option()->bEditNotes(), m_actions.aNote},
    };
    for (const auto& [button, action] : buttons) {
        // The Notes button keeps its own hint: its action has none.
        if (!action->statusTip().isEmpty()) {
            button->setToolTip(action->toolTip());
            button->setStatusTip(action->statusTip());
        }
        button->setEnabled(action->isEnabled());
        connect(button, &QAbstractButton::clicked, action, &QAction::trigger);
        connect(action, &QAction::enabledChanged, button, &QWidget::setEnabled);
    }
    UpdateActions();
}

void MainWindow::UpdateActions() {
    // Called from the start of the window on, before every part exists.
    if (m_assistantPage == nullptr || m_assistant == nullptr || m_commandActions.empty())
        return;
    CommandState state;
    // Only the panel of the current item's kind holds an item.
    state.screen = Screen()->CurrentScreen();
    state.option = Option()->CurrentOption();
    state.anyItem = m_currentItem != nullptr;
    if (state.screen != nullptr) {
        const int index = m_assistant->Screens.IndexOf(state.screen);
        state.canMoveUp = index > 0;
        state.canMoveDown = index >= 0 && index < m_assistant->Screens.Count() - 1;
    } else if (state.option != nullptr && state.option->Owner != nullptr) {
        const int index = state.option->Owner->Options.IndexOf(state.option);
        state.canMoveUp = index > 0;
        state.canMoveDown = index >= 0 && index < state.option->Owner->Options.Count() - 1;
    }
    if (m_undoStack != nullptr) {
        state.canUndo = m_undoStack->canUndo();
        state.canRedo = m_undoStack->canRedo();
        state.undoText = m_undoStack->undoText();
        state.redoText = m_undoStack->redoText();
    }
    // A box with the focus may hold a change that Undo stores first and then takes back.
    state.boxFocused = m_assistantPage->isAncestorOf(focusWidget()) && FocusedTextBox() != nullptr;

    const std::vector<CommandRow>& rows = CommandRows();
    for (size_t i = 0; i < rows.size(); ++i) {
        QAction* action = m_commandActions[i];
        action->setEnabled(rows[i].enabled == nullptr || rows[i].enabled(state));
        if (rows[i].liveCaption != nullptr)
            action->setText(rows[i].liveCaption(state));
    }
}

// The older names of the update, kept for the places that changed either part of the state.
void MainWindow::UpdateStructureActions() {
    UpdateActions();
}

void MainWindow::UpdateUndoActions() {
    UpdateActions();
    // The title's modified marker shows unsaved changes.
    setWindowModified(m_assistant && m_assistant->Changed);
}

// ---- Handlers of the rows that have no other home

void MainWindow::aUndoExecute() {
    if (!BoxUndo(false))
        RunCommand(&MainWindow::UndoChange);
}

void MainWindow::aRedoExecute() {
    if (!BoxUndo(true))
        RunCommand(&MainWindow::RedoChange);
}

void MainWindow::aDeleteItemExecute() {
    if (Screen()->CurrentScreen() != nullptr)
        aDelScreenExecute();
    else if (Option()->CurrentOption() != nullptr)
        aDelOptionExecute();
}

void MainWindow::aEditIDExecute() {
    m_pages->setCurrentWidget(m_tsAssistant);
    QLineEdit* box = General()->eProjectID();
    if (Screen()->CurrentScreen() != nullptr)
        box = Screen()->eScreenID();
    else if (Option()->CurrentOption() != nullptr)
        box = Option()->eOptionID();
    box->setFocus(Qt::ShortcutFocusReason);
    box->selectAll();
}
