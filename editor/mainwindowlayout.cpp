// Layout of the main window: its commands with captions, short-cuts and hints, the menu, and the pages.
// Behaviour is in mainwindow.cpp.
#include "editor/assistantpage.h"
#include "editor/flattreeview.h"
#include "editor/mainwindow.h"
#include "editor/mappage.h"
#include "editor/panelwidgets.h"
#include "editor/uitext.h"

#include <QAction>
#include <QIcon>
#include <QKeySequence>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

struct ActionDefinition {
    QAction* MainWindow::TActionList::*field;
    const char* name;
    const char* caption;
    const char* shortcut; // portable text form, empty for none
    const char* hint;     // "short|long", empty for none
    const char* icon;     // name in the desktop's icon theme (a copy ships in the resources); empty for none
    bool toolBar;         // also on the tool bar (in table order)
};

// In menu order.
const ActionDefinition ActionDefinitions[] = {
    {&MainWindow::TActionList::aNew, "aNew", "&New", "Ctrl+N",
     "Start new assistant|Clear the current data and initialise a new assistant.", "document-new", true},
    {&MainWindow::TActionList::aOpen, "aOpen", "&Open file...", "Ctrl+O",
     "Open file|Open an existing assistant data file.", "document-open", true},
    {&MainWindow::TActionList::aSave, "aSave", "&Save", "Ctrl+S",
     "Save to file|Save the current assistant data to the file it was loaded from.", "document-save", true},
    {&MainWindow::TActionList::aSaveAs, "aSaveAs", "&Save as...", "",
     "Save as new file|Save the current assistant data to a new file.", "", false},
    {&MainWindow::TActionList::aReport, "aReport", "R&eport...", "", "", "", false},
    {&MainWindow::TActionList::aPublish, "aPublish", "&Publish as web page...", "",
     "Publish as web page|Write the assistant as one web page that runs in any browser.", "", false},
    {&MainWindow::TActionList::aRun, "aRun", "&Run from file...", "",
     "Load and run|Start assistant viewer with data from file.", "", false},
    {&MainWindow::TActionList::aExit, "aExit", "E&xit", "", "Exit program|Close down the program.", "",
     false},
    {&MainWindow::TActionList::aUndo, "aUndo", "&Undo", "Ctrl+Z",
     "Undo|Take back the last change to the assistant.", "edit-undo", true},
    {&MainWindow::TActionList::aRedo, "aRedo", "&Redo", "Ctrl+Shift+Z",
     "Redo|Put back the last change taken back.", "edit-redo", true},
    {&MainWindow::TActionList::aCopy, "aCopy", "&Copy", "Ctrl+C",
     "Copy text|Copy the selected text to the clipboard.", "", false},
    {&MainWindow::TActionList::aCut, "aCut", "Cu&t", "Ctrl+X",
     "Cut text|Copy the selected text to the clipboard and then delete it from the entry.", "", false},
    {&MainWindow::TActionList::aPaste, "aPaste", "&Paste", "Ctrl+V",
     "Paste text|Past the contents of the clipboard.", "", false},
    {&MainWindow::TActionList::aNote, "aNote", "&Notes", "", "", "", false},
    {&MainWindow::TActionList::aUp, "aUp", "&Up", "", "Move up|Move the selected item up the structure.", "",
     false},
    {&MainWindow::TActionList::aDown, "aDown", "&Down", "",
     "Move down|Move the selected item down the structure.", "", false},
    {&MainWindow::TActionList::aFind, "aFind", "&Find...", "Ctrl+F",
     "Find and replace|Find text in the assistant's IDs, captions, texts, commands, scripts and notes, and "
     "replace it.",
     "", false},
    {&MainWindow::TActionList::aGoTo, "aGoTo", "&Go to...", "Ctrl+P",
     "Go to anything|Go to a screen or option by a few letters of its ID or caption.", "", false},
    {&MainWindow::TActionList::aRenameScreen, "aRenameScreen", "R&ename screen...", "",
     "Rename screen|Change the current screen's ID and every reference to it.", "", false},
    {&MainWindow::TActionList::aDuplicate, "aDuplicate", "Dupl&icate", "Ctrl+D",
     "Duplicate|Copy the current screen or option right after the original, with a new ID.", "", false},
    {&MainWindow::TActionList::aNewScreen, "aNewScreen", "&New screen", "",
     "Add new screen|Create a new screen object.", "screen-new", true},
    {&MainWindow::TActionList::aDelScreen, "aDelScreen", "&Delete screen", "",
     "Delete existing screen|Delete the current screen and any associated options from the assistant.", "",
     false},
    {&MainWindow::TActionList::aNewOption, "aNewOption", "&New option", "",
     "Create new option|Create a new option for the current screen.", "option-new", true},
    {&MainWindow::TActionList::aDelOption, "aDelOption", "&Delete option", "",
     "Delete current option|Delete the currently selected option.", "", false},
    {&MainWindow::TActionList::aTest, "aTest", "&Test!", "",
     "Test assistant|Click to start assistant viewer with current data", "media-playback-start", true},
    {&MainWindow::TActionList::aHelpContents, "aHelpContents", "Help &contents", "", "", "", false},
    {&MainWindow::TActionList::aHelpIndex, "aHelpIndex", "Help &index", "", "", "", false},
    {&MainWindow::TActionList::aHelpHelp, "aHelpHelp", "Help on &help", "", "", "", false},
    {&MainWindow::TActionList::aAbout, "aAbout", "&About", "",
     "About this program|Display information about this program.", "", false},
    // Stands at the end of the Edit menu (BuildMenus), not in table order.
    {&MainWindow::TActionList::aOptions, "aOptions", "&Options...", "",
     "Options|Choose the spelling language and turn spell checking on or off.", "", false},
};

QWidget* MakePage(const char* objectName, QWidget* parent) {
    auto* page = new QWidget(parent);
    page->setObjectName(QString::fromLatin1(objectName));
    return page;
}

void AddPage(QTabWidget* pages, QWidget* page, const QString& caption, const QString& hint) {
    const int index = pages->addTab(page, caption);
    const HintParts parts = SplitHint(hint);
    pages->setTabToolTip(index, parts.shortText);
    page->setStatusTip(parts.longText);
}

// The icon of a command: the desktop theme's, else the copy in the resources.
QIcon ThemeIcon(const char* name) {
    const QString icon = QString::fromLatin1(name);
    return QIcon::fromTheme(icon, QIcon(QStringLiteral(":/amf/icons/") + icon + ".svg"));
}

// Commands that stand in the menu bar itself keep no icon there: a menu bar shows an item's icon in place
// of its text.
bool IsMenuBarCommand(QAction* MainWindow::TActionList::*field) {
    return field == &MainWindow::TActionList::aTest;
}

} // namespace

// The resources live in the static GUI library; they are registered before the first icon is read.
static void LoadGuiResources() {
    Q_INIT_RESOURCE(gui_resources);
}

void MainWindow::BuildActions() {
    LoadGuiResources();
    for (const ActionDefinition& definition : ActionDefinitions) {
        auto* action = new QAction(QString::fromUtf8(definition.caption), this);
        action->setObjectName(QString::fromLatin1(definition.name));
        if (definition.shortcut[0] != '\0')
            action->setShortcut(
                QKeySequence(QString::fromLatin1(definition.shortcut), QKeySequence::PortableText));
        if (definition.hint[0] != '\0')
            ApplyHint(action, QString::fromUtf8(definition.hint));
        if (definition.icon[0] != '\0' && !IsMenuBarCommand(definition.field))
            action->setIcon(ThemeIcon(definition.icon));
        // The window's short-cuts work wherever the focus is inside the window.
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        m_actions.*(definition.field) = action;
    }
    // Redo also answers to the other usual key.
    m_actions.aRedo->setShortcuts({m_actions.aRedo->shortcut(), QKeySequence(QStringLiteral("Ctrl+Y"))});
}

void MainWindow::BuildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    const TActionList& a = m_actions;

    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File1"));
    file->addAction(a.aNew);
    file->addAction(a.aOpen);
    m_mReOpen = file->addMenu(QStringLiteral("Reopen"));
    m_mReOpen->setObjectName(QStringLiteral("mReOpen"));
    m_mReOpen->menuAction()->setObjectName(QStringLiteral("mReOpen"));
    file->addSeparator();
    file->addAction(a.aSave);
    file->addAction(a.aSaveAs);
    file->addSeparator();
    file->addAction(a.aReport);
    file->addAction(a.aPublish);
    file->addSeparator();
    file->addAction(a.aRun);
    file->addSeparator();
    file->addAction(a.aExit);

    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("Edit1"));
    edit->addAction(a.aUndo);
    edit->addAction(a.aRedo);
    edit->addSeparator();
    edit->addAction(a.aCopy);
    edit->addAction(a.aCut);
    edit->addAction(a.aPaste);
    edit->addSeparator();
    edit->addAction(a.aNote);
    edit->addSeparator();
    edit->addAction(a.aUp);
    edit->addAction(a.aDown);
    edit->addSeparator();
    edit->addAction(a.aFind);
    m_editMenu = edit; // the find panel's Find next and Find previous follow Find (BuildFind)
    edit->addAction(a.aGoTo);
    edit->addSeparator();
    edit->addAction(a.aRenameScreen);
    edit->addAction(a.aDuplicate);
    edit->addSeparator();
    edit->addAction(a.aOptions);

    QMenu* screen = bar->addMenu(QStringLiteral("&Screen"));
    screen->setObjectName(QStringLiteral("Screen1"));
    screen->addAction(a.aNewScreen);
    screen->addAction(a.aDelScreen);

    QMenu* options = bar->addMenu(QStringLiteral("&Options"));
    options->setObjectName(QStringLiteral("Options1"));
    options->addAction(a.aNewOption);
    options->addAction(a.aDelOption);

    bar->addAction(a.aTest);

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    help->addAction(a.aHelpContents);
    help->addAction(a.aHelpIndex);
    help->addAction(a.aHelpHelp);
    help->addSeparator();
    help->addAction(a.aAbout);
}

void MainWindow::BuildToolBar() {
    // The common commands, from the rows of the table marked for it.
    QToolBar* bar = addToolBar(QStringLiteral("Commands"));
    bar->setObjectName(QStringLiteral("ToolBar"));
    bar->setMovable(false);
    for (const ActionDefinition& definition : ActionDefinitions) {
        if (!definition.toolBar)
            continue;
        QAction* action = m_actions.*(definition.field);
        if (!IsMenuBarCommand(definition.field)) {
            bar->addAction(action);
            continue;
        }
        // The button of a menu-bar command is a copy with the icon that runs the command and follows its
        // state and hints.
        auto* button = new QAction(ThemeIcon(definition.icon), action->text(), bar);
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

void MainWindow::BuildPages() {
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("Pages"));
    m_pages->setDocumentMode(true);

    m_tsAssistant = MakePage("tsAssistant", m_pages);
    m_assistantPage = new AssistantPage(m_tsAssistant);
    auto* assistantLayout = new QVBoxLayout(m_tsAssistant);
    assistantLayout->setContentsMargins(0, 0, 0, 0);
    assistantLayout->addWidget(m_assistantPage);

    m_tsStructure = MakePage("tsStructure", m_pages);
    // The structure can be thousands of levels deep: a flat view of the visible nodes lays it out in one
    // pass (see ItemTreeModel).
    m_structure = new FlatTreeView(m_tsStructure);
    m_structure->setObjectName(QStringLiteral("Structure"));
    m_structure->setHeaderHidden(true);
    m_structure->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_structure->setSelectionMode(QAbstractItemView::SingleSelection);
    m_structure->setRootIsDecorated(false);
    m_structure->setIndentation(19);
    m_structure->setUniformRowHeights(true);
    ShowSelectionWithoutFocus(m_structure);
    auto* structureLayout = new QVBoxLayout(m_tsStructure);
    structureLayout->addWidget(m_structure);

    m_tsMap = MakePage("tsMap", m_pages);
    m_mapPage = new MapPage(m_tsMap);
    m_mapPage->setObjectName(QStringLiteral("MapPage"));
    m_mapPage->setPrompter(m_prompter);
    auto* mapLayout = new QVBoxLayout(m_tsMap);
    mapLayout->addWidget(m_mapPage);

    m_tsErrors = MakePage("tsErrors", m_pages);
    m_lbErrors = new QListWidget(m_tsErrors);
    m_lbErrors->setObjectName(QStringLiteral("lbErrors"));
    m_lbErrors->setUniformItemSizes(true);
    m_lbErrors->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* errorsLayout = new QVBoxLayout(m_tsErrors);
    errorsLayout->addWidget(m_lbErrors);

    AddPage(m_pages, m_tsAssistant, QStringLiteral("&Assistant"),
            QStringLiteral("Assistant data|Displays the contents of the current assistant."));
    AddPage(m_pages, m_tsStructure, QStringLiteral("S&tructure of Assistant"),
            QStringLiteral("Assistant navigation structure|Displays how the assistant screens and options "
                           "are linked when used."));
    AddPage(m_pages, m_tsMap, QStringLiteral("&Map"),
            QStringLiteral("Map of the assistant|Shows every screen as a box and every link as an arrow, and "
                           "which screens no user can reach."));
    AddPage(m_pages, m_tsErrors, QStringLiteral("&Warnings and errors"),
            QStringLiteral("Current warning(s) and error(s)|Lists information about the current assistant. "
                           "Click on an item to go to the definition."));
    setCentralWidget(m_pages);
}
