#pragma once
// The editor's main window: menu, commands, the three pages (assistant tree and edit panels, navigation
// structure, warnings and errors), the window caption and the committing of the focused box before every
// command.
//
// Binding to the assistant model: the command handlers (aNewExecute ... aAboutExecute) and the life-cycle
// hooks (FormShow, FormCloseQuery, FormClose, ScreenIDs) are protected virtual functions. Here they do
// nothing beyond plain window behaviour (Exit closes, Copy/Cut/Paste work on the focused box, close is
// allowed); the model-bound window overrides them. Exit handlers of the boxes are registered with
// ExitHandlers(). Every question to the user goes through Prompter().
#include "editor/prompter.h"

#include <QMainWindow>

#include <memory>
#include <string>
#include <vector>

class AssistantPage;
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
class ScreenPanel;

class TPathovaMainForm : public QMainWindow {
    Q_OBJECT
public:
    // The window's commands, one field per action (the field name is the action's object name).
    struct TActionList {
        QAction* aNew = nullptr;
        QAction* aOpen = nullptr;
        QAction* aSave = nullptr;
        QAction* aSaveAs = nullptr;
        QAction* aReport = nullptr;
        QAction* aRun = nullptr;
        QAction* aExit = nullptr;
        QAction* EditCopy1 = nullptr;
        QAction* Cut1 = nullptr;
        QAction* Paste1 = nullptr;
        QAction* aNote = nullptr;
        QAction* aUp = nullptr;
        QAction* aDown = nullptr;
        QAction* aNewScreen = nullptr;
        QAction* aDelScreen = nullptr;
        QAction* aNewOption = nullptr;
        QAction* aDelOption = nullptr;
        QAction* aTest = nullptr;
        QAction* aHelpContents = nullptr;
        QAction* aHelpIndex = nullptr;
        QAction* aHelpHelp = nullptr;
        QAction* aAbout = nullptr;
    };

    // prompter: where every question to the user goes; not owned. Without one, Qt dialogs are used.
    explicit TPathovaMainForm(Prompter* prompter = nullptr, QWidget* parent = nullptr);
    ~TPathovaMainForm() override;

    Prompter& GetPrompter() const { return *m_prompter; }
    // Replaces the prompter (not owned); nullptr returns to the Qt dialogs.
    void SetPrompter(Prompter* prompter);

    // ---- Widgets
    const TActionList& ActionList1() const { return m_actions; }
    // The action with the given object name, or nullptr.
    QAction* FindAction(const QString& objectName) const;
    QMenu* mReOpen() const { return m_mReOpen; }
    QTabWidget* Pages() const { return m_pages; }
    QWidget* tsAssistant() const { return m_tsAssistant; }
    QWidget* tsStructure() const { return m_tsStructure; }
    QWidget* tsErrors() const { return m_tsErrors; }
    AssistantPage* AssistantView() const { return m_assistantPage; }
    QTreeView* Tree() const;
    QTreeView* Structure() const { return m_structure; }
    QListWidget* lbErrors() const { return m_lbErrors; }
    GeneralPanel* General() const;
    ScreenPanel* Screen() const;
    OptionPanel* Option() const;
    ExitHandlerRegistry& ExitHandlers() const { return *m_exitHandlers; }

    // ---- Caption
    // The caption as set (Qt's window title escapes "[*]", so the raw text is kept here).
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& caption);
    // Caption := (current caption up to its first "-", trimmed) + " - " + document text.
    void SetDocumentCaption(const QString& documentText);
    static QString DocumentCaption(const QString& currentCaption, const QString& documentText);

    // ---- Commands
    // Runs before every command: the exit handler of the focused box (edit, drop-down or memo), once.
    void ActionList1Execute();
    // Runs a command as the actions do: commit the focused box, then the handler. A failure is shown in an
    // error box and the program goes on.
    void RunCommand(void (TPathovaMainForm::*handler)());

    // Guidance and enabled boxes of the Option panel for the selected action kind.
    void UpdateActionHelp();
    // Shows the edit panel with the given caption ("General", "Screen", "Option").
    bool ShowPanel(const QString& name);

protected:
    // Command handlers. Document, structure, test, report, help and about commands do nothing here.
    virtual void aNewExecute() {}
    virtual void aOpenExecute() {}
    virtual void aSaveExecute() {}
    virtual void aSaveAsExecute() {}
    virtual void aReportExecute() {}
    virtual void aRunExecute() {}
    virtual void aExitExecute(); // closes the window
    virtual void EditCopy1Execute();
    virtual void Cut1Execute();
    virtual void Paste1Execute();
    virtual void aNoteExecute() {}
    virtual void aUpExecute() {}
    virtual void aDownExecute() {}
    virtual void aNewScreenExecute() {}
    virtual void aDelScreenExecute() {}
    virtual void aNewOptionExecute() {}
    virtual void aDelOptionExecute() {}
    virtual void aTestExecute() {}
    virtual void aHelpContentsExecute() {}
    virtual void aHelpIndexExecute() {}
    virtual void aHelpHelpExecute() {}
    virtual void aAboutExecute() {}

    // First display: shows the Assistant page with the General panel.
    virtual void FormShow();
    // Close query, after the focused box was committed; set canClose to false to keep the window open.
    virtual void FormCloseQuery(bool& canClose);
    // The close goes on (store settings here).
    virtual void FormClose() {}
    // IDs of the assistant's screens in list order, offered by the first-screen and command drop-downs.
    virtual std::vector<std::string> ScreenIDs() const { return {}; }
    // Refill the drop-down lists just before they open.
    virtual void cbInitScreenDropDown();
    virtual void cbCommandDropDown();

    // Shows a failure in the error box.
    void ShowError(const std::exception& error);

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Layout (mainformlayout.cpp).
    void BuildActions();
    void BuildMenus();
    void BuildPages();
    // Behaviour.
    void ConnectActions();
    void ConnectPanels();
    QWidget* FocusedTextBox() const;

    std::unique_ptr<QtPrompter> m_qtPrompter;
    Prompter* m_prompter = nullptr;
    ExitHandlerRegistry* m_exitHandlers = nullptr;
    TActionList m_actions;
    QMenu* m_mReOpen = nullptr;
    QTabWidget* m_pages = nullptr;
    QWidget* m_tsAssistant = nullptr;
    QWidget* m_tsStructure = nullptr;
    QWidget* m_tsErrors = nullptr;
    AssistantPage* m_assistantPage = nullptr;
    QTreeView* m_structure = nullptr;
    QListWidget* m_lbErrors = nullptr;
    QString m_caption;
    bool m_shown = false;
};
