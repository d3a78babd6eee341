#pragma once
// The editor's main window: menu, commands, the four pages (assistant tree and edit panels, navigation
// structure, map, warnings and errors), the window caption and the committing of the focused box before every
// command.
//
// The window owns exactly one assistant at a time and a non-owning reference to the current item (the
// assistant, a screen, an option or none), whose edit panel is shown. Both views are models rebuilt from
// the assistant (RebuildTree, RebuildStructure); the boxes store their values when the focus leaves them,
// and every change of the assistant goes through one edit layer (Edits()). The commands are rows of one
// table (mainwindowcommands.cpp): the actions, menus, tool bar, keys and enabled states are made from it.
// The life-cycle hooks (FormShow, FormCloseQuery, FormClose) are protected virtual functions, so tests can
// replace the close question. Every question to the user goes through Prompter().
//
// The member functions are spread over several files: mainwindow.cpp (window, caption, command
// plumbing), mainwindowdocument.cpp (start, New/Open/Save/close, user ID, command line, report, About),
// mainwindowviews.cpp (tree and structure views, current item, panels, structure commands),
// mainwindowmap.cpp (the Map page), mainwindowhistory.cpp (undo and redo), mainwindowrecovery.cpp (autosave
// and the recovery of unsaved changes after a crash), mainwindowtest.cpp (Test, Run from file, Help) and
// mainwindowoptions.cpp (Options).
#include "editor/commandkeys.h"
#include "editor/documentedits.h"
#include "editor/editorservices.h"
#include "editor/prompter.h"
#include "editor/settingsfailures.h"

#include <QMainWindow>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class AssistantPage;
class FindPanel;
class GoToAnything;
class QDockWidget;
class MapPage;
class IAssistantView;
class IFindFile;
class ItemTreeModel;
class QModelIndex;
class TAssistBase;
class TAssistOption;
class TAssistRoot;
class TDocumentPrompter;
class TFileListMenu;
class QUndoStack;
class DropDownComboBox;
class ExitHandlerRegistry;
class GeneralPanel;
class OptionPanel;
class QAction;
class QListWidget;
class QMenu;
class QTabWidget;
class QTreeView;
class QtPrompter;
class QTimer;
class RecoveryFile;
class ScreenPanel;
class DebouncedSaver;
class SpellService;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // The commands that code and tests name at compile time (the field name is the action's object name),
    // filled from the command table; every command, also one without a field here, is found with
    // FindAction.
    struct TActionList {
        QAction* aNew = nullptr;
        QAction* aOpen = nullptr;
        QAction* aSave = nullptr;
        QAction* aSaveAs = nullptr;
        QAction* aReport = nullptr;
        QAction* aPublish = nullptr;
        QAction* aRun = nullptr;
        QAction* aExit = nullptr;
        QAction* aUndo = nullptr;
        QAction* aRedo = nullptr;
        QAction* aCopy = nullptr;
        QAction* aCut = nullptr;
        QAction* aPaste = nullptr;
        QAction* aNote = nullptr;
        QAction* aUp = nullptr;
        QAction* aDown = nullptr;
        QAction* aFind = nullptr;
        QAction* aGoTo = nullptr;
        QAction* aRenameScreen = nullptr;
        QAction* aDuplicate = nullptr;
        QAction* aNewScreen = nullptr;
        QAction* aDelScreen = nullptr;
        QAction* aNewOption = nullptr;
        QAction* aDelOption = nullptr;
        QAction* aTest = nullptr;
        QAction* aHelpContents = nullptr;
        QAction* aHelpIndex = nullptr;
        QAction* aHelpHelp = nullptr;
        QAction* aAbout = nullptr;
        QAction* aOptions = nullptr;
    };

    // prompter: where every question to the user goes; not owned. Without one, Qt dialogs are used.
    // The first form uses the program's own settings and components and no command line.
    explicit MainWindow(Prompter* prompter = nullptr, QWidget* parent = nullptr);
    // Start-up of the window state: recent list, user ID (read, or made and stored), the first
    // assistant, the file finder.
    explicit MainWindow(TEditorServices services, Prompter* prompter = nullptr, QWidget* parent = nullptr);
    ~MainWindow() override;

    Prompter& GetPrompter() const { return *m_prompter; }
    // Replaces the prompter (not owned); nullptr returns to the Qt dialogs.
    void SetPrompter(Prompter* prompter);

    // ---- Widgets
    const TActionList& Actions() const { return m_actions; }
    // The action with the given object name (a command, or another action of the window), or nullptr.
    QAction* FindAction(const QString& objectName) const;
    // Every command's action, in the order of the command table.
    const std::vector<QAction*>& CommandActions() const { return m_commandActions; }
    // Test-only: told the object name of each command as it starts, after the focused box was stored.
    void SetCommandObserver(std::function<void(const QString& objectName)> observer) {
        m_commandObserver = std::move(observer);
    }
    QMenu* mReOpen() const { return m_mReOpen; }
    QTabWidget* Pages() const { return m_pages; }
    QWidget* tsAssistant() const { return m_tsAssistant; }
    QWidget* tsStructure() const { return m_tsStructure; }
    QWidget* tsErrors() const { return m_tsErrors; }
    QWidget* tsMap() const { return m_tsMap; }
    MapPage* Map() const { return m_mapPage; }
    AssistantPage* AssistantView() const { return m_assistantPage; }
    QTreeView* Tree() const;
    QTreeView* Structure() const { return m_structure; }
    QListWidget* lbErrors() const { return m_lbErrors; }
    GeneralPanel* General() const;
    ScreenPanel* Screen() const;
    OptionPanel* Option() const;
    ExitHandlerRegistry& ExitHandlers() const { return *m_exitHandlers; }
    // Find and replace (a dock under the pages, hidden until Find) and the Go to box (mainwindowfind.cpp).
    FindPanel* Find() const { return m_findPanel; }
    QDockWidget* FindDock() const { return m_findDock; }
    GoToAnything* GoTo() const { return m_goTo; }
    // The spell checker of the panels' prose boxes, made from the settings with the window; null when
    // the settings could not be read (the boxes are then not checked).
    SpellService* Spelling() const { return m_spelling; }

    // ---- Caption
    // The caption as set (Qt's window title escapes "[*]", so the raw text is kept here).
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& caption);
    // Caption := (current caption up to its first "-", trimmed) + " - " + document text.
    void SetDocumentCaption(const QString& documentText);
    static QString DocumentCaption(const QString& currentCaption, const QString& documentText);

    // ---- Commands
    // Runs before every command: the exit handler of the focused box (edit, drop-down or memo), once.
    void CommitFocusedBox();
    // Runs a command as the actions do: commit the focused box, then the handler. A failure is shown in an
    // error box and the program goes on.
    void RunCommand(void (MainWindow::*handler)());

    // Shows the edit panel with the given caption ("General", "Screen", "Option").
    bool ShowPanel(const QString& name);

    // ---- Document
    TAssistRoot& Assistant() const { return *m_assistant; }
    // Raised each time the assistant is replaced (New, Open, a recovered file), so that whatever was
    // handed the assistant earlier, such as a viewer opened by Test, can tell whether it still is the
    // one open here.
    std::uint64_t DocumentGeneration() const { return m_documentGeneration; }
    const std::string& UserID() const { return m_userID; }
    TDocumentEdits& Edits() const { return *m_edits; }
    // The undo history of the assistant's changes (mainwindowhistory.cpp): every edit of Edits() and every
    // command over many places pushed here.
    QUndoStack* UndoStack() const { return m_undoStack; }
    // What commands pushed onto UndoStack() from outside the edit layer (editor/assistantcommands.h)
    // report their changes to; the window then rebuilds as for any edit.
    IAssistantView& DocumentView() const { return *m_documentView; }
    // Forgets every change: the assistant as it is now counts as matching its file.
    void ClearHistory();
    TFileListMenu& RecentFiles() const { return *m_recentFiles; }
    const TEditorServices& Services() const { return m_services; }
    // Replaces the assistant by the named file (the recent list's call-back); asks to save a changed
    // assistant first. The open assistant stays when the prompt is cancelled or reading fails.
    void OpenFile(const std::string& fileName);
    // What follows the reading of a file: notices, both views, the caption.
    void AfterOpen();

    // ---- Views and the current item
    ItemTreeModel* TreeModel() const { return m_treeModel; }
    ItemTreeModel* StructureModel() const { return m_structureModel; }
    TAssistBase* CurrentItem() const { return m_currentItem; }
    void SetCurrentItem(TAssistBase* item);
    void ShowItem();
    void SelectItem(TAssistBase* item);
    void RebuildTree();
    void RebuildStructure();
    // Takes the item's node and the nodes below it out of the tree, moving the selection off them.
    void RemoveTreeNodes(TAssistBase* item);
    // Lists the findings of the structure check on the Warnings page and sets its tab caption.
    void CheckStructure();
    // Runs the check after a change that renames or links nothing (a caption, a text): once typing
    // pauses for WarningsDelay milliseconds, so that storing box after box never waits for it.
    static constexpr int WarningsDelay = 300;
    QTimer* WarningsTimer() const { return m_warningsTimer; }
    // The one place where a change of the assistant reaches the views: rebuilds what the change says
    // is out of date, refreshes the rows of an item changed in place, selects what it names.
    void OnDocumentChanged(const DocumentChange& change);
    // Hands the Map page a snapshot of the assistant to lay out (it lays out only what differs from
    // the picture shown); while the page is hidden, only notes that the map is out of date.
    void RebuildMap();

    // ---- Recovery of unsaved changes (mainwindowrecovery.cpp)
    // What the autosave timer runs: stores what is typed in the focused text box (as a command would),
    // then writes the changed assistant to this window's recovery file (unless the text is what the
    // file holds already), or removes the file when there is nothing unsaved.
    void AutoSave();
    QTimer* AutoSaveTimer() const { return m_autoSaveTimer; }
    // This window's recovery file; it exists only while unsaved changes are kept in it.
    QString RecoveryFileName() const;

    // ---- The command table's keys (mainwindowcommands.cpp), for tests that try other platforms' bindings
    // The object names of the commands and the shortcuts each gets with these platform bindings, in
    // the table's order.
    static std::vector<QString> CommandNames();
    static std::vector<QList<QKeySequence>> CommandKeys(const KeyBindings& bindings);

    // ---- File dialogs (mainwindowdocument.cpp); the report window's dialogs use them too
    // The folder a file dialog starts in: the current file's, else the last one used (kept in the
    // settings), else the documents folder.
    QString DialogFolder() const;
    // The folder of a file chosen in a dialog becomes the last folder used.
    void RememberDialogFile(const std::string& chosen);

protected:
    // First display: shows the Assistant page with the General panel.
    virtual void FormShow();
    // Close query, after the focused box was committed; set canClose to false to keep the window open.
    virtual void FormCloseQuery(bool& canClose);
    // The close goes on (store settings here).
    virtual void FormClose();

    // Shows a failure in the error box.
    void ShowError(const std::exception& error);

    void showEvent(QShowEvent* event) override;
    // Lets Undo and Redo short-cuts through to the window when the focused box has nothing of its own
    // to undo or redo.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    // View events.
    void TreeChange(const QModelIndex& current);
    void StructureClick();
    void cbErrorsClick();
    // The box of the edit panel that shows the finding's field of the item; nullptr when no box does.
    QWidget* FindingBox(const TAssistBase* item, int field) const;
    // Copies the text of the Warnings page's current line to the clipboard.
    void CopyFindingLine();

private:
    // The command table (mainwindowcommands.cpp): one row per command.
    struct CommandRow;
    // What the rows' enabled states and captions are computed from, gathered once per update.
    struct CommandState;
    static const std::vector<CommandRow>& CommandRows();
    // Sets every command's enabled state (and the captions that name the step to undo or redo) from the
    // window's state, in one place.
    void UpdateActions();
    // Runs a row's handler as a command: commit the focused box, tell the observer, then the handler.
    void RunRow(const CommandRow& row);
    // The manual's page about the panel or page the user works in (F1).
    QString ContextHelpPage() const;

    // Command handlers, named after their actions.
    void aNewExecute();
    void aOpenExecute();
    void aSaveExecute();
    void aSaveAsExecute();
    void aReportExecute();
    // Writes the assistant as one self-contained web page, in a file the user chooses.
    void aPublishExecute();
    void aRunExecute();
    void aExitExecute(); // closes the window
    // Undo and Redo go to the focused box first when it has typing of its own to take back.
    void aUndoExecute();
    void aRedoExecute();
    void aCopyExecute();
    void aCutExecute();
    void aPasteExecute();
    void aNoteExecute(); // the note editor for the current option
    void aUpExecute();
    void aDownExecute();
    // Find, Go to, Rename screen and Duplicate (mainwindowfind.cpp).
    void aFindExecute();
    void aGoToExecute();
    void aRenameScreenExecute();
    void aDuplicateExecute();
    void aNewScreenExecute();
    void aDelScreenExecute();
    void aNewOptionExecute();
    void aDelOptionExecute();
    // Delete in the tree: deletes the current screen or option, with the usual question.
    void aDeleteItemExecute();
    // F2: the cursor goes to the ID box of the current item's panel, its text selected.
    void aEditIDExecute();
    void aTestExecute();
    void aHelpContentsExecute();
    void aHelpIndexExecute();
    void aHelpHelpExecute();
    // F1: the manual at the page about the focused panel or the page shown.
    void aHelpContextExecute();
    void aAboutExecute();
    // The Options dialog: spelling language and switch (mainwindowoptions.cpp).
    void aOptionsExecute();

    // Start-up and model binding (mainwindowdocument.cpp, mainwindowviews.cpp).
    void FormCreate();
    void ConnectModel();
    // Hands the panels the edit layer, the prompter and the exit-handler registry.
    void AttachPanels();
    // The three commands that replace the assistant share this: the prompt to save a changed
    // assistant; false when the user cancelled (or the save dialog it opened was cancelled).
    bool AskSaveBeforeReplacing(const char* question);
    // Makes `assistant` the window's assistant: Assistant page shown, no current item, views emptied.
    void ReplaceAssistant(std::unique_ptr<TAssistRoot> assistant);
    // Reads a file into a new assistant (asking for the name when `askForName`); nullptr when the open
    // dialog was cancelled. Failures are raised; the window's assistant is untouched either way.
    std::unique_ptr<TAssistRoot> ReadAssistant(const std::string& fileName, bool askForName);
    // Saves the assistant; false when its save dialog was cancelled. After a save the caption and the
    // recent list name the file written.
    bool SaveAssistant(bool askForName);
    // The command-line files: the first opens here, each further one in a window of its own.
    void OpenCommandLineFiles();
    // Opens a file named on the command line (already resolved): no prompt, no recent-list entry.
    void OpenStartFile(const std::string& path);
    // Whether the settings hold a placement of this window (under its current or its former name).
    bool HasStoredPlacement() const;
    // The size of the first start: a good share of the screen's available area, the design size at least.
    void SizeForFirstStart();
    // Writes the recent list as "Files", merged with what other windows stored meanwhile.
    void StoreRecentFiles();
    TDocumentPrompter& DocumentPrompts();
    // Expansion of the views' nodes to and from the items' Expanded flags.
    void CopyExpansionToItems(QTreeView* view, ItemTreeModel* model);
    void RestoreExpansionFromItems(QTreeView* view, ItemTreeModel* model);
    void UpdateStructureActions();
    void SetViewCurrent(QTreeView* view, const QModelIndex& index);
    // The tree's top node text: the assistant's ID without anything up to its last "\" or ":".
    static std::string RootNodeText(const std::string& id);
    // ---- Views patched from an edit's answer (mainwindowpatches.cpp)
    // A new ID of `item` only: renames its tree nodes in place and rebuilds the structure when the old
    // or the new ID shows there or is linked to.
    void RenameInViews(TAssistBase* item);
    // A new ID of an option: gives its node in the structure the new ID. False when that node cannot
    // be told apart from another option's, so the structure must be rebuilt.
    bool RenameOptionInStructure(const TAssistOption& option, const std::string& oldId);
    // A new ID of the assistant: gives the structure's top node the new ID. False when the top node
    // carries no screen, so the structure must be rebuilt.
    bool RenameAssistantInStructure();
    // A new command or action of the option: patches its node when the structure shows it as a leaf
    // (and stays one, or becomes a note). False when only a rebuild shows the change.
    bool PatchOptionInStructure(const TAssistOption& option);
    // A new screen or option: adds its tree node in place; returns the views that still need a rebuild.
    ViewRebuild AddToViews(TAssistBase* item);
    // An option now in the assistant: its leaf joins the structure in place when its screen shows
    // there; returns Structure when only a rebuild shows it (a go-to).
    ViewRebuild AddToStructure(TAssistOption& option);
    // A screen or option taken out: drops its nodes in place; returns the views that still need a
    // rebuild.
    ViewRebuild RemoveFromViews(TAssistBase* item);
    // A screen or option moved within its list, or an option to another screen's list (dragged there):
    // moves its tree node in place; returns the views that still need a rebuild.
    ViewRebuild MoveInViews(TAssistBase* item);
    ViewRebuild MoveToOtherScreen(TAssistOption& option, const TAssistScreen& oldScreen);
    // The Map page (mainwindowmap.cpp): clicks select in the tree, the map's frame follows the current
    // item's screen.
    void ConnectMap();
    // The screen or option at the map's positions, or nullptr when the picture shown no longer
    // matches the assistant there (a layout of newer edits is still running).
    TAssistBase* MapItemAt(int screen, int option) const;
    void SelectOnMap();

    // Undo and redo (mainwindowhistory.cpp).
    void ConnectHistory();
    // The focused text box takes the Undo (or Redo) itself when it has typing of its own to take back.
    bool BoxUndo(bool redo);
    // Take back the latest change of the assistant, or put back the latest one taken back.
    void UndoChange();
    void RedoChange();
    // Undo (redo false) or Redo of the last change in the history; no item is current while it moves.
    void MoveThroughHistory(bool redo);
    // The history's clean state is now the assistant as saved.
    void MarkSaved();
    // The focused box's own typing history is forgotten: its value is now a change of the assistant.
    void ForgetBoxHistory();
    void UpdateUndoActions();

    // Recovery (mainwindowrecovery.cpp).
    void ConnectAutoSave();
    // Writes the assistant's text to the recovery file now; a failure only shows in the status bar.
    void WriteRecovery();
    // Stores the focused line edit or memo of the panels, for the autosave; drop-downs, whose storing
    // may ask a question, and any time a dialog is open are left alone.
    void StoreTypingForAutoSave();
    // Deletes the recovery file: the changes are saved, or given up by the user.
    void RemoveRecovery();
    // Offers each recovery file left behind by an editor that ended without closing, in turn.
    void OfferRecoveries();
    // Makes the claimed recovery file's assistant the window's assistant (after the prompt to save a
    // changed one), named like the file it came from and changed; the file becomes this window's own.
    void Recover(std::unique_ptr<RecoveryFile> claimed);
    QString RecoveryFolder() const;

    // The commands (mainwindowcommands.cpp): actions, menus and tool bar made from the command table.
    void BuildActions();
    void BuildMenus();
    void BuildToolBar();
    // Binds the buttons that run commands and the keys that work only in the tree.
    void ConnectActions();
    // Layout (mainwindowlayout.cpp).
    void BuildPages();
    // The find panel, the Go to box, drag and drop in the tree (mainwindowfind.cpp).
    void BuildFind();
    // Selects a match of the find panel and puts the cursor on it in its box.
    void ShowMatch(TAssistBase* item, unsigned field, int offset, int length);
    QWidget* FocusedTextBox() const;

    std::unique_ptr<QtPrompter> m_qtPrompter;
    Prompter* m_prompter = nullptr;
    ExitHandlerRegistry* m_exitHandlers = nullptr;
    TActionList m_actions;
    std::vector<QAction*> m_commandActions;
    std::function<void(const QString&)> m_commandObserver;
    QMenu* m_mReOpen = nullptr;
    QTabWidget* m_pages = nullptr;
    QWidget* m_tsAssistant = nullptr;
    QWidget* m_tsStructure = nullptr;
    QWidget* m_tsErrors = nullptr;
    QWidget* m_tsMap = nullptr;
    MapPage* m_mapPage = nullptr;
    // Stored changes, New or Open came while the Map page was hidden: it is laid out when shown.
    bool m_mapOutOfDate = true;
    AssistantPage* m_assistantPage = nullptr;
    QTreeView* m_structure = nullptr;
    QListWidget* m_lbErrors = nullptr;
    QString m_caption;
    bool m_shown = false;

    // Model binding.
    TEditorServices m_services;
    std::string m_userID;
    std::unique_ptr<TAssistRoot> m_assistant;
    std::uint64_t m_documentGeneration = 0;
    TAssistBase* m_currentItem = nullptr;
    std::unique_ptr<IFindFile> m_fileFinder;
    std::unique_ptr<TFileListMenu> m_recentFiles;
    // Settings that could not be read or stored: noted, and reported once (settingsfailures.h).
    SettingsFailures m_settingsFailures;
    std::unique_ptr<TDocumentEdits> m_edits;
    QUndoStack* m_undoStack = nullptr;
    std::unique_ptr<IAssistantView> m_documentView;
    // The build date the assistant had at the history's clean state.
    std::string m_cleanBuildDate;
    // The application-wide focus signal; cut in the destructor, before the widgets below go.
    QMetaObject::Connection m_focusConnection;
    std::unique_ptr<TDocumentPrompter> m_documentPrompts;
    std::unique_ptr<RecoveryFile> m_recovery;
    QTimer* m_autoSaveTimer = nullptr;
    // Writes the recovery file after stored changes, at most once per RecoveryWriteInterval.
    DebouncedSaver* m_recoveryWriter = nullptr;
    bool m_autoSaveFailed = false;  // the status bar shows the last failure
    bool m_writingRecovery = false; // the recovery writer is storing the focused box
    ItemTreeModel* m_treeModel = nullptr;
    ItemTreeModel* m_structureModel = nullptr;
    // Set while the window itself changes the tree's selection inside RebuildTree.
    bool m_settingSelection = false;
    FindPanel* m_findPanel = nullptr;
    QDockWidget* m_findDock = nullptr;
    GoToAnything* m_goTo = nullptr;
    QMenu* m_editMenu = nullptr;
    SpellService* m_spelling = nullptr;
    // Pending run of the structure check after changes that rename and link nothing.
    QTimer* m_warningsTimer = nullptr;
};
