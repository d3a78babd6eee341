// The main window shell: commands, menu, pages, caption, committing the focused box before a command.
#include "editor/assistantpage.h"
#include "editor/dropdowncombobox.h"
#include "editor/exithandlers.h"
#include "editor/generalpanel.h"
#include "editor/mainwindow.h"
#include "editor/mappage.h"
#include "editor/optionpanel.h"
#include "editor/screenpanel.h"
#include "guitesthelpers.h"
#include "model/assistroot.h"
#include "scriptedprompter.h"
#include "support/error.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// Whether the icon paints any visible pixel at tool-bar size. A null check is not enough: an icon read
// from a file is never null, yet draws nothing when no image reader for its format is installed.
bool DrawsSomething(const QIcon& icon) {
    const QImage image = icon.pixmap(24, 24).toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                return true;
    return false;
}

// A window that notes each command as it starts (its test-only observer), and whose close query can be
// refused.
class RecordingForm : public MainWindow {
public:
    explicit RecordingForm(Prompter* prompter) : MainWindow(prompter) {
        SetCommandObserver([this](const QString& name) { log.push_back(name.toStdString()); });
    }

    std::vector<std::string> log;
    bool allowClose = true;

    void FormCloseQuery(bool& canClose) override {
        log.push_back("FormCloseQuery");
        canClose = allowClose;
    }
    void FormClose() override { log.push_back("FormClose"); }
};

class MainFormTest : public ::testing::Test {
protected:
    ScriptedPrompter prompter;
    RecordingForm form{&prompter};

    // A test that changed the assistant leaves no recovery file for the next test's window to offer.
    void TearDown() override {
        form.Assistant().Changed = false;
        form.AutoSave();
    }

    // Records each run of the exit handler of the box as "exit:<object name>".
    void RecordExit(QWidget* box) {
        auto handler = [this](QWidget* sender) {
            form.log.push_back("exit:" + sender->objectName().toStdString());
        };
        if (auto* edit = qobject_cast<QLineEdit*>(box))
            form.ExitHandlers().Register(edit, handler);
        else if (auto* combo = qobject_cast<QComboBox*>(box))
            form.ExitHandlers().Register(combo, handler, true);
        else if (auto* memo = qobject_cast<QPlainTextEdit*>(box))
            form.ExitHandlers().Register(memo, handler);
    }
};

} // namespace

TEST_F(MainFormTest, WindowHasItsNameCaptionAndDesignSize) {
    EXPECT_EQ(form.objectName(), QStringLiteral("PathovaMainForm"));
    // The title is the caption with Qt's placeholder for the modified mark, which shows nothing here.
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Assistant Editor[*]"));
    EXPECT_FALSE(form.isWindowModified());
    EXPECT_EQ(form.Caption(), QStringLiteral("Assistant Editor"));
    EXPECT_EQ(form.size(), QSize(717, 560));
}

TEST_F(MainFormTest, EveryActionHasItsCaptionShortCutAndHint) {
    struct Case {
        const char* name;
        const char* caption;
        const char* shortcut; // the first of its keys, empty for none
        const char* toolTip;  // the short hint (or the caption) and the keys
        const char* statusTip;
    };
    const Case cases[] = {
        {"aNew", "&New", "Ctrl+N", "Start new assistant (Ctrl+N)",
         "Clear the current data and initialise a new assistant."},
        {"aOpen", "&Open file...", "Ctrl+O", "Open file (Ctrl+O)", "Open an existing assistant data file."},
        {"aSave", "&Save", "Ctrl+S", "Save to file (Ctrl+S)",
         "Save the current assistant data to the file it was loaded from."},
        {"aSaveAs", "Save &as...", "Ctrl+Shift+S", "Save as new file (Ctrl+Shift+S)",
         "Save the current assistant data to a new file."},
        {"aReport", "R&eport...", "Ctrl+R", "Report (Ctrl+R)", ""},
        {"aPublish", "&Publish as web page...", "", "Publish as web page",
         "Write the assistant as one web page that runs in any browser."},
        {"aRun", "&Run from file...", "Ctrl+F5", "Load and run (Ctrl+F5)",
         "Start assistant viewer with data from file."},
        {"aExit", "E&xit", "Ctrl+Q", "Exit program (Ctrl+Q)", "Close down the program."},
        {"aUndo", "&Undo", "Ctrl+Z", "Undo (Ctrl+Z)", "Take back the last change to the assistant."},
        {"aRedo", "&Redo", "Ctrl+Shift+Z", "Redo (Ctrl+Shift+Z, Ctrl+Y)",
         "Put back the last change taken back."},
        {"aCopy", "&Copy", "Ctrl+C", "Copy text (Ctrl+C)", "Copy the selected text to the clipboard."},
        {"aCut", "Cu&t", "Ctrl+X", "Cut text (Ctrl+X)",
         "Copy the selected text to the clipboard and then delete it from the entry."},
        {"aPaste", "Pa&ste", "Ctrl+V", "Paste text (Ctrl+V)", "Past the contents of the clipboard."},
        {"aNote", "&Notes", "", "Notes", ""},
        {"aUp", "U&p", "Alt+Up", "Move up (Alt+Up)", "Move the selected item up the structure."},
        {"aDown", "&Down", "Alt+Down", "Move down (Alt+Down)", "Move the selected item down the structure."},
        {"aFind", "&Find...", "Ctrl+F", "Find and replace (Ctrl+F)",
         "Find text in the assistant's IDs, captions, texts, commands, scripts and notes, and replace it."},
        {"aGoTo", "&Go to...", "Ctrl+P", "Go to anything (Ctrl+P)",
         "Go to a screen or option by a few letters of its ID or caption."},
        {"aRenameScreen", "R&ename screen...", "", "Rename screen",
         "Change the current screen's ID and every reference to it."},
        {"aDuplicate", "Dupl&icate", "Ctrl+D", "Duplicate (Ctrl+D)",
         "Copy the current screen or option right after the original, with a new ID."},
        {"aOptions", "&Options...", "", "Options",
         "Choose the spelling language and turn spell checking on or off."},
        {"aDeleteItem", "&Delete", "Del", "Delete (Del)", "Delete the current screen or option."},
        {"aEditID", "Edit the &ID", "F2", "Edit the ID (F2)",
         "Put the cursor in the ID box of the current item."},
        {"aNewScreen", "&New screen", "Ctrl+Shift+N", "Add new screen (Ctrl+Shift+N)",
         "Create a new screen object."},
        {"aDelScreen", "&Delete screen", "", "Delete existing screen",
         "Delete the current screen and any associated options from the assistant."},
        {"aNewOption", "&New option", "Ctrl+Shift+O", "Create new option (Ctrl+Shift+O)",
         "Create a new option for the current screen."},
        {"aDelOption", "&Delete option", "", "Delete current option",
         "Delete the currently selected option."},
        {"aTest", "&Test!", "F5", "Test assistant (F5)", "Click to start assistant viewer with current data"},
        {"aHelpContents", "Help &contents", "", "Help contents", ""},
        {"aHelpIndex", "Help &index", "", "Help index", ""},
        {"aHelpContext", "Help on this &page", "F1", "Help on this page (F1)",
         "Open the manual at the page about the panel or page you are working in."},
        {"aHelpHelp", "Help on &help", "", "Help on help", ""},
        {"aAbout", "&About", "", "About this program", "Display information about this program."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QAction* action = form.FindAction(QString::fromLatin1(c.name));
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->text(), QString::fromUtf8(c.caption));
        EXPECT_EQ(action->shortcut(), QKeySequence(QString::fromLatin1(c.shortcut)));
        EXPECT_EQ(action->statusTip(), QString::fromUtf8(c.statusTip));
        EXPECT_EQ(action->toolTip(), QString::fromUtf8(c.toolTip));
    }
    std::vector<std::string> commands;
    for (QAction* action : form.CommandActions())
        commands.push_back(action->objectName().toStdString());
    std::vector<std::string> names;
    for (const Case& c : cases)
        names.push_back(c.name);
    EXPECT_EQ(commands, names) << "the window has no other commands";

    const MainWindow::TActionList& list = form.Actions();
    const std::pair<QAction*, const char*> fields[] = {
        {list.aNew, "aNew"},         {list.aSave, "aSave"},         {list.aExit, "aExit"},
        {list.aCut, "aCut"},         {list.aNote, "aNote"},         {list.aDelOption, "aDelOption"},
        {list.aTest, "aTest"},       {list.aHelpHelp, "aHelpHelp"}, {list.aAbout, "aAbout"},
        {list.aOptions, "aOptions"},
    };
    for (const auto& [action, name] : fields) {
        SCOPED_TRACE(name);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->objectName(), QString::fromLatin1(name));
    }
}

TEST_F(MainFormTest, MenusHoldTheActionsInOrderWithSeparators) {
    // Each menu as its entries' object names; "-" is a separator.
    const std::vector<std::pair<QString, std::vector<std::string>>> expected = {
        {"&File",
         {"aNew", "aOpen", "mReOpen", "-", "aSave", "aSaveAs", "-", "aReport", "aPublish", "-", "aRun", "-",
          "aExit"}},
        {"&Edit", {"aUndo",         "aRedo", "-",   "aCopy",         "aCut",       "aPaste", "-",
                   "aNote",         "-",     "aUp", "aDown",         "-",          "aFind",  "aFindNext",
                   "aFindPrevious", "aGoTo", "-",   "aRenameScreen", "aDuplicate", "-",      "aOptions"}},
        {"&Screen", {"aNewScreen", "aDelScreen"}},
        {"&Options", {"aNewOption", "aDelOption"}},
        {"&Test!", {}},
        {"&Help", {"aHelpContents", "aHelpIndex", "aHelpContext", "aHelpHelp", "-", "aAbout"}},
    };
    const QList<QAction*> top = form.menuBar()->actions();
    ASSERT_EQ(top.size(), qsizetype(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].first.toStdString());
        QAction* entry = top[qsizetype(i)];
        EXPECT_EQ(entry->text(), expected[i].first);
        std::vector<std::string> items;
        if (entry->menu() != nullptr)
            for (QAction* item : entry->menu()->actions())
                items.push_back(item->isSeparator() ? "-" : item->objectName().toStdString());
        EXPECT_EQ(items, expected[i].second);
    }
    EXPECT_EQ(top[4], form.Actions().aTest) << "Test! is a command of the menu bar itself";
    ASSERT_NE(form.mReOpen(), nullptr);
    EXPECT_EQ(form.mReOpen()->title(), QStringLiteral("Reopen"));
    EXPECT_EQ(form.mReOpen()->objectName(), QStringLiteral("mReOpen"));
}

TEST_F(MainFormTest, PagesHaveTheirCaptionsAndHints) {
    struct Case {
        const char* name;
        const char* caption;
        const char* toolTip;
        const char* statusTip;
    };
    const Case cases[] = {
        {"tsAssistant", "&Assistant", "Assistant data", "Displays the contents of the current assistant."},
        {"tsStructure", "St&ructure of Assistant", "Assistant navigation structure",
         "Displays how the assistant screens and options are linked when used."},
        {"tsMap", "&Map", "Map of the assistant",
         "Shows every screen as a box and every link as an arrow, and which screens no user can reach."},
        {"tsErrors", "&Warnings and errors", "Current warning(s) and error(s)",
         "Lists information about the current assistant. Click on an item to go to the definition."},
    };
    QTabWidget* pages = form.Pages();
    EXPECT_EQ(pages->objectName(), QStringLiteral("Pages"));
    ASSERT_EQ(pages->count(), 4);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(cases[i].name);
        EXPECT_EQ(pages->widget(i)->objectName(), QString::fromLatin1(cases[i].name));
        EXPECT_EQ(pages->tabText(i), QString::fromUtf8(cases[i].caption));
        EXPECT_EQ(pages->tabToolTip(i), QString::fromUtf8(cases[i].toolTip));
        EXPECT_EQ(pages->widget(i)->statusTip(), QString::fromUtf8(cases[i].statusTip));
    }
    EXPECT_TRUE(form.tsAssistant()->isAncestorOf(form.Tree()));
    EXPECT_TRUE(form.tsStructure()->isAncestorOf(form.Structure()));
    EXPECT_TRUE(form.tsErrors()->isAncestorOf(form.lbErrors()));
    EXPECT_TRUE(form.tsMap()->isAncestorOf(form.Map()));
    EXPECT_EQ(form.lbErrors()->objectName(), QStringLiteral("lbErrors"));
}

TEST_F(MainFormTest, ViewsAreReadOnlyTreesWithTheirIndentation) {
    QTreeView* tree = form.Tree();
    QTreeView* structure = form.Structure();
    EXPECT_EQ(tree->objectName(), QStringLiteral("Tree"));
    EXPECT_EQ(structure->objectName(), QStringLiteral("Structure"));
    for (QTreeView* view : {tree, structure}) {
        SCOPED_TRACE(view->objectName().toStdString());
        EXPECT_EQ(view->editTriggers(), QAbstractItemView::NoEditTriggers);
        EXPECT_EQ(view->indentation(), 19);
        EXPECT_TRUE(view->isHeaderHidden());
        EXPECT_EQ(view->palette().color(QPalette::Inactive, QPalette::Highlight),
                  view->palette().color(QPalette::Active, QPalette::Highlight))
            << "the selection stays visible without the focus";
    }
    EXPECT_TRUE(tree->rootIsDecorated());
    EXPECT_FALSE(structure->rootIsDecorated());
    EXPECT_EQ(tree->toolTip(), QStringLiteral("Assistant structure"));
    EXPECT_EQ(tree->statusTip(),
              QStringLiteral("Lists the screens and options in the current assistant data."));
}

TEST_F(MainFormTest, SetDocumentCaptionKeepsTheBaseUpToTheFirstDash) {
    struct Case {
        const char* current;
        const char* document;
        const char* expected;
    };
    const Case cases[] = {
        {"Assistant Editor", "[New Assistant]", "Assistant Editor - [New Assistant]"},
        {"Assistant Editor - [New Assistant]", "/home/ann/one.amf", "Assistant Editor - /home/ann/one.amf"},
        {"Assistant Editor - /home/ann/one.amf", "/data/two-three - four.amf",
         "Assistant Editor - /data/two-three - four.amf"},
        {"Assistant Editor - /data/two-three - four.amf", "[New Assistant]",
         "Assistant Editor - [New Assistant]"},
        {"Assistant Editor", "", "Assistant Editor - "},
        {"Assistant Editor - ", "x.amf", "Assistant Editor - x.amf"},
        {"  Assistant Editor\t ", "x.amf", "Assistant Editor - x.amf"},
        {"Assistant-Editor", "x.amf", "Assistant - x.amf"},
        {"- leading dash", "x.amf", " - x.amf"},
        {"", "x.amf", " - x.amf"},
        {"Assistant Editor", "odd [*] name.amf", "Assistant Editor - odd [*] name.amf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.current);
        SCOPED_TRACE(c.document);
        EXPECT_EQ(MainWindow::DocumentCaption(QString::fromUtf8(c.current), QString::fromUtf8(c.document)),
                  QString::fromUtf8(c.expected));
        form.SetCaption(QString::fromUtf8(c.current));
        form.SetDocumentCaption(QString::fromUtf8(c.document));
        EXPECT_EQ(form.Caption(), QString::fromUtf8(c.expected));
    }
    form.SetCaption(QStringLiteral("Assistant Editor"));
    form.SetDocumentCaption(QStringLiteral("[New Assistant]"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Assistant Editor - [New Assistant][*]"));
}

TEST_F(MainFormTest, ActionCommitsTheFocusedBoxFirstExactlyOnce) {
    ASSERT_TRUE(ShowActive(&form));
    struct Case {
        QWidget* box;
        QAction* action;
        const char* handler;
    };
    const Case cases[] = {
        {form.General()->eProjectCaption(), form.Actions().aSave, "aSave"},
        {form.General()->cbInitScreen(), form.Actions().aNew, "aNew"},
        {form.General()->mProjectExp(), form.Actions().aCopy, "aCopy"},
        {form.Option()->cbCommand(), form.Actions().aNote, "aNote"},
    };
    // The commands really run: Save asks for a name (cancelled here), Notes without an option does nothing.
    prompter.ExpectSaveFileCancelled();
    for (const Case& c : cases)
        RecordExit(c.box);
    for (const Case& c : cases) {
        const std::string name = c.box->objectName().toStdString();
        SCOPED_TRACE(name);
        form.ShowPanel(c.box->parentWidget()->objectName() == QStringLiteral("Option") ? "Option"
                                                                                       : "General");
        QApplication::processEvents();
        FocusByMouse(c.box);
        ASSERT_TRUE(c.box->hasFocus() || c.box->isAncestorOf(QApplication::focusWidget()));
        form.log.clear();
        c.action->setEnabled(true); // Notes is enabled only for a current option
        c.action->trigger();
        QApplication::processEvents();
        EXPECT_EQ(form.log, (std::vector<std::string>{"exit:" + name, c.handler}));
    }
}

TEST_F(MainFormTest, ActionWithoutAFocusedBoxRunsOnlyItsHandler) {
    ASSERT_TRUE(ShowActive(&form));
    RecordExit(form.General()->eProjectID());
    FocusByMouse(form.Tree());
    form.log.clear();
    prompter.ExpectSaveFileCancelled(); // a new assistant has no file name yet
    form.Actions().aSave->trigger();
    EXPECT_EQ(form.log, std::vector<std::string>{"aSave"});

    // A focused box without an exit handler: nothing to commit either.
    FocusByMouse(form.General()->eCopyright());
    form.log.clear();
    prompter.ExpectSaveFileCancelled();
    form.Actions().aSave->trigger();
    EXPECT_EQ(form.log, std::vector<std::string>{"aSave"});
}

TEST_F(MainFormTest, LeavingABoxRunsItsExitHandlerOnce) {
    ASSERT_TRUE(ShowActive(&form));
    RecordExit(form.General()->eProjectID());
    RecordExit(form.General()->cbInitScreen());
    FocusByMouse(form.General()->eProjectID());
    form.log.clear();
    FocusByMouse(form.General()->cbInitScreen());
    EXPECT_EQ(form.log, std::vector<std::string>{"exit:eProjectID"});
    form.log.clear();
    FocusByMouse(form.General()->eProjectCaption());
    EXPECT_EQ(form.log, std::vector<std::string>{"exit:cbInitScreen"});
}

TEST_F(MainFormTest, PopupsAndOtherWindowsDoNotCountAsLeavingTheBox) {
    ASSERT_TRUE(ShowActive(&form));
    RecordExit(form.General()->eProjectID());
    FocusByMouse(form.General()->eProjectID());
    form.log.clear();
    QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(form.General()->eProjectID(), &popup);
    QFocusEvent otherWindow(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(form.General()->eProjectID(), &otherWindow);
    EXPECT_TRUE(form.log.empty());
    QFocusEvent tab(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(form.General()->eProjectID(), &tab);
    EXPECT_EQ(form.log, std::vector<std::string>{"exit:eProjectID"});
}

TEST_F(MainFormTest, EnterInADropDownCommitsWhileTheFocusStays) {
    ASSERT_TRUE(ShowActive(&form));
    form.ShowPanel("Option");
    QApplication::processEvents();
    QComboBox* command = form.Option()->cbCommand();
    RecordExit(command); // registered with commit on Enter
    RecordExit(form.Option()->eOptionID());
    FocusByMouse(command);
    form.log.clear();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(QApplication::focusWidget(), &enter);
    EXPECT_EQ(form.log, std::vector<std::string>{"exit:cbCommand"});
    EXPECT_TRUE(command->hasFocus());

    // Enter in a single-line edit stores nothing by itself.
    FocusByMouse(form.Option()->eOptionID());
    form.log.clear();
    QKeyEvent enterInEdit(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(form.Option()->eOptionID(), &enterInEdit);
    EXPECT_TRUE(form.log.empty());
}

TEST_F(MainFormTest, AFailingCommandShowsItsMessageInAnErrorBox) {
    ASSERT_TRUE(ShowActive(&form));
    form.ExitHandlers().Register(form.General()->eVersion(),
                                 [](QWidget*) { throw AppError("[AS021] Cannot write the file."); });
    FocusByMouse(form.General()->eVersion());
    form.log.clear();
    prompter.ExpectMessage(Prompter::MessageKind::ErrorOk, Prompter::Answer::Ok);
    form.Actions().aSave->trigger();
    EXPECT_TRUE(form.log.empty()) << "the command stops where the error arose";
    ASSERT_EQ(prompter.AskedPrompts().size(), 1u);
    EXPECT_EQ(prompter.AskedPrompts()[0].text, "[AS021] Cannot write the file.");

    // The same failure on leaving the box is shown too, and the program goes on.
    prompter.ExpectMessage(Prompter::MessageKind::ErrorOk, Prompter::Answer::Ok);
    FocusByMouse(form.General()->eCopyright());
    EXPECT_EQ(prompter.AskedPrompts().size(), 2u);
}

TEST_F(MainFormTest, CloseCommitsTheFocusedBoxThenAsksTheCloseQuery) {
    ASSERT_TRUE(ShowActive(&form));
    RecordExit(form.General()->eAuthor());
    FocusByMouse(form.General()->eAuthor());
    form.log.clear();
    form.allowClose = false;
    form.Actions().aExit->trigger();
    // The command commits the box, and so does the close that it starts (the second run finds nothing new).
    EXPECT_EQ(form.log,
              (std::vector<std::string>{"exit:eAuthor", "aExit", "exit:eAuthor", "FormCloseQuery"}));
    EXPECT_TRUE(form.isVisible()) << "a refused close keeps the window open";

    form.log.clear();
    form.allowClose = true;
    EXPECT_TRUE(form.close());
    EXPECT_EQ(form.log, (std::vector<std::string>{"exit:eAuthor", "FormCloseQuery", "FormClose"}));
    EXPECT_FALSE(form.isVisible());
}

TEST_F(MainFormTest, FirstShowingShowsTheAssistantPageWithTheGeneralPanel) {
    form.Pages()->setCurrentIndex(2);
    form.ShowPanel("Option");
    ASSERT_TRUE(ShowActive(&form));
    EXPECT_EQ(form.Pages()->currentWidget(), form.tsAssistant());
    EXPECT_EQ(form.AssistantView()->CurrentPanelName(), QStringLiteral("General"));
}

TEST_F(MainFormTest, CopyCutAndPasteWorkOnTheFocusedTextBox) {
    ASSERT_TRUE(ShowActive(&form));
    QLineEdit* from = form.General()->eProjectCaption();
    QPlainTextEdit* to = form.General()->mProjectExp();
    from->setText(QStringLiteral("Caption text"));
    FocusByMouse(from);
    from->selectAll();
    form.Actions().aCut->trigger();
    EXPECT_EQ(from->text(), QString());
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Caption text"));

    FocusByMouse(to);
    form.Actions().aPaste->trigger();
    EXPECT_EQ(to->toPlainText(), QStringLiteral("Caption text"));

    QComboBox* first = form.General()->cbInitScreen();
    first->setEditText(QStringLiteral("S7"));
    FocusByMouse(first);
    first->lineEdit()->selectAll();
    // Copy, like every command, first stores the focused box: S7 names no screen, so the window offers
    // to create it.
    prompter.ExpectMessage(Prompter::MessageKind::ConfirmYesNo, Prompter::Answer::No);
    form.Actions().aCopy->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("S7"));
    EXPECT_EQ(first->currentText(), QStringLiteral("S7"));
}

TEST_F(MainFormTest, StructureButtonsRunTheirActionsAndFollowTheirEnabledState) {
    ASSERT_TRUE(ShowActive(&form));
    // Two screens, the first with two options.
    TAssistScreen* first = TAssistScreen::Create(form.Assistant());
    first->ID = "S1";
    TAssistScreen::Create(form.Assistant())->ID = "S2";
    TAssistOption* one = TAssistOption::Create(*first);
    one->ID = "O1";
    TAssistOption::Create(*first)->ID = "O2";
    form.RebuildTree();
    const auto optionIDs = [first] {
        std::vector<std::string> ids;
        for (int i = 0; i < first->Options.Count(); ++i)
            ids.push_back(first->Options.Item(i)->ID);
        return ids;
    };
    const auto select = [this](TAssistBase* item) {
        form.SelectItem(item);
        QApplication::processEvents();
    };
    AssistantPage* page = form.AssistantView();
    struct Case {
        QPushButton* button;
        QAction* action;
        const char* caption; // the buttons of the page each have a letter of their own
        std::function<void()> before;
        std::function<void()> check; // what the click did
    };
    const MainWindow::TActionList& a = form.Actions();
    const Case cases[] = {
        {page->bNewScreen(), a.aNewScreen, "&New screen", [&] { select(first); },
         [&] { EXPECT_EQ(form.Assistant().Screens.Count(), 3); }},
        {page->bDelScreen(), a.aDelScreen, "De&lete screen",
         [&] { prompter.ExpectMessage(Prompter::MessageKind::ConfirmYesNo, Prompter::Answer::Yes); },
         [&] {
             // The new screen was current: it goes, the two others stay.
             EXPECT_EQ(prompter.AskedPrompts().back().text.rfind("Confirm delete screen ", 0), 0u);
             EXPECT_EQ(form.Assistant().Screens.Item(1)->ID, "S2");
             EXPECT_EQ(form.Assistant().Screens.Count(), 2);
         }},
        {page->bNewOption(), a.aNewOption, "New o&ption", [&] { select(one); },
         [&] { EXPECT_EQ(first->Options.Count(), 3); }},
        {page->bDelOption(), a.aDelOption, "Delete opt&ion",
         [&] { prompter.ExpectMessage(Prompter::MessageKind::ConfirmYesNo, Prompter::Answer::Yes); },
         [&] {
             EXPECT_EQ(optionIDs(), (std::vector<std::string>{"O1", "O2"}));
         }},
        {page->bDown(), a.aDown, "&Down", [&] { select(one); },
         [&] {
             EXPECT_EQ(optionIDs(), (std::vector<std::string>{"O2", "O1"}));
         }},
        {page->bUp(), a.aUp, "&Up", [] {},
         [&] {
             EXPECT_EQ(optionIDs(), (std::vector<std::string>{"O1", "O2"}));
         }},
        {form.Option()->bEditNotes(), a.aNote, "&Notes",
         [&] {
             // The note editor is a modal dialog: note it and close it once it is up.
             QTimer::singleShot(0, [this] {
                 QWidget* dialog = QApplication::activeModalWidget();
                 form.log.push_back(dialog != nullptr ? "dialog:" + dialog->objectName().toStdString()
                                                      : "no dialog");
                 if (dialog != nullptr)
                     dialog->close();
             });
         },
         [&] {
             ASSERT_EQ(form.log.size(), 2u);
             EXPECT_NE(form.log[1], "no dialog");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.action->objectName().toStdString());
        EXPECT_EQ(c.button->text(), QString::fromUtf8(c.caption));
        c.before();
        form.log.clear();
        ASSERT_TRUE(c.button->isEnabled()) << "the window enables it for the item selected";
        c.button->click();
        QApplication::processEvents();
        ASSERT_FALSE(form.log.empty());
        EXPECT_EQ(form.log[0], c.action->objectName().toStdString());
        c.check();
        c.action->setEnabled(false);
        EXPECT_FALSE(c.button->isEnabled());
        c.action->setEnabled(true);
        EXPECT_TRUE(c.button->isEnabled());
    }
    EXPECT_EQ(page->bDelScreen()->toolTip(), QStringLiteral("Delete existing screen"));
    EXPECT_EQ(form.Option()->bEditNotes()->toolTip(), QStringLiteral("Click to edit associated notes."));
}

TEST_F(MainFormTest, DropDownsAreRefilledWithScreenIDsWhenTheyOpen) {
    ASSERT_TRUE(ShowActive(&form));
    for (const char* id : {"S1", "Intro", "S3"})
        TAssistScreen::Create(form.Assistant())->ID = id;
    DropDownComboBox* first = form.General()->cbInitScreen();
    first->setEditText(QStringLiteral("typed"));
    first->showPopup();
    first->hidePopup();
    ASSERT_EQ(first->count(), 3);
    EXPECT_EQ(first->itemText(1), QStringLiteral("Intro"));
    EXPECT_EQ(first->currentText(), QStringLiteral("typed")) << "opening the list keeps the typed text";

    form.ShowPanel("Option");
    form.Option()->cbAction()->setCurrentIndex(6); // run script: no examples
    form.Option()->cbCommand()->showPopup();
    form.Option()->cbCommand()->hidePopup();
    EXPECT_EQ(form.Option()->cbCommand()->count(), 0);
    form.Option()->cbAction()->setCurrentIndex(1); // button to another screen: the screen IDs
    form.Option()->cbCommand()->setEnabled(true);
    form.Option()->cbCommand()->showPopup();
    form.Option()->cbCommand()->hidePopup();
    EXPECT_EQ(form.Option()->cbCommand()->count(), 3);
}

TEST_F(MainFormTest, PanelsAreChosenByNameOnly) {
    struct Case {
        const char* name;
        const char* shown; // caption of the panel shown afterwards
        bool known;
    };
    const Case cases[] = {
        {"Screen", "Screen", true}, {"Option", "Option", true}, {"General", "General", true},
        {"Option", "Option", true}, {"Root", "General", true},  {"Nothing", "General", false},
    };
    QStackedWidget* panels = form.AssistantView()->Panels();
    EXPECT_EQ(panels->objectName(), QStringLiteral("Panels"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(form.ShowPanel(QString::fromLatin1(c.name)), c.known);
        EXPECT_EQ(form.AssistantView()->CurrentPanelName(), QString::fromLatin1(c.shown));
    }
    const char* pageNames[] = {"Root", "Screen", "Option"};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(panels->widget(i)->objectName(), QString::fromLatin1(pageNames[i]));
}

TEST_F(MainFormTest, ToolBarCarriesTheCommonCommandsWithIcons) {
    auto* bar = form.findChild<QToolBar*>(QStringLiteral("ToolBar"));
    ASSERT_NE(bar, nullptr);
    std::vector<std::string> names;
    QAction* testButton = nullptr;
    for (QAction* action : bar->actions()) {
        names.push_back(action->objectName().toStdString());
        EXPECT_TRUE(DrawsSomething(action->icon())) << action->objectName().toStdString();
        if (action->objectName() == QStringLiteral("aTestButton"))
            testButton = action;
        else
            EXPECT_EQ(form.FindAction(action->objectName()), action) << "the window's own action";
    }
    const std::vector<std::string> expected{"aNew",  "aOpen",      "aSave",      "aUndo",
                                            "aRedo", "aNewScreen", "aNewOption", "aTestButton"};
    EXPECT_EQ(names, expected);
    // Test! stands in the menu bar itself, which would show an icon in place of its text: it has none,
    // and its button runs it and follows its state.
    QAction* test = form.Actions().aTest;
    EXPECT_TRUE(test->icon().isNull());
    ASSERT_NE(testButton, nullptr);
    EXPECT_EQ(testButton->toolTip(), test->toolTip());
    QSignalSpy ran(test, &QAction::triggered);
    testButton->trigger();
    EXPECT_EQ(ran.count(), 1);
    for (const bool enabled : {false, true}) {
        test->setEnabled(enabled);
        EXPECT_EQ(testButton->isEnabled(), enabled);
    }
    // The fallback copies ship in the resources, for desktops without an icon theme, and draw.
    for (const char* icon : {"document-new", "document-open", "document-save", "edit-undo", "edit-redo",
                             "screen-new", "option-new", "media-playback-start"}) {
        const QString path = QStringLiteral(":/amf/icons/") + icon + ".svg";
        EXPECT_TRUE(QFile::exists(path)) << icon;
        EXPECT_TRUE(DrawsSomething(QIcon(path))) << icon;
    }
}
