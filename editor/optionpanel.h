#pragma once
// The "Option" edit panel: ID, caption and description of an option, its action kind, command and script
// with the guidance memo for the chosen kind, and its notes. The panel keeps the enabled state, colours and
// guidance of the command and script boxes in line with the Action drop-down (UpdateActionHelp), shows the
// option it is given and stores its boxes into it (a go-to command that names no screen is an offer to
// create one).
#include "editor/actionhelp.h"
#include "editor/itempanel.h"

#include <string>
#include <vector>

class DropDownComboBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class TAssistOption;
struct DocumentChange;

class OptionPanel : public ItemPanel {
    Q_OBJECT
public:
    explicit OptionPanel(QWidget* parent = nullptr);

    QLineEdit* eOptionID() const { return m_eOptionID; }
    QLineEdit* eOptionCaption() const { return m_eOptionCaption; }
    QPlainTextEdit* mOptionExp() const { return m_mOptionExp; }
    QComboBox* cbAction() const { return m_cbAction; }
    DropDownComboBox* cbCommand() const { return m_cbCommand; }
    QPlainTextEdit* mOptionScript() const { return m_mOptionScript; }
    QPlainTextEdit* mHelp() const { return m_mHelp; }
    QListWidget* lbOptionNotes() const { return m_lbOptionNotes; }
    QPushButton* bEditNotes() const { return m_bEditNotes; }

    // Sets guidance, enabled state and colour of the command and script boxes from the entry selected in
    // cbAction; with no entry selected nothing changes. Runs by itself when the selection changes.
    void UpdateActionHelp();
    void ApplyActionHelp(const ActionHelpState& state);

    // Replaces the entries of a drop-down list with the examples for an action kind.
    static void FillCommandExamples(QComboBox* list, int actionIndex,
                                    const std::vector<std::string>& screenIDs);

    bool ShowItem(TAssistBase* item) override;
    TAssistBase* Item() const override;
    QList<QWidget*> TextBoxes() const override;
    QList<QWidget*> ProseBoxes() const override;
    // The option shown; nullptr when the panel has none.
    TAssistOption* CurrentOption() const { return m_option; }
    // Lists the notes of the option shown: name, tab, ID, tab, type; empty without an option.
    void ShowNotes();

protected:
    void RegisterExitHandlers(ExitHandlerRegistry& registry) override;

private:
    // Exit handlers: each stores its box into the option shown.
    void StoreID();
    void StoreCaption();
    void StoreDescription();
    // The action kind selected in the drop-down, when it differs.
    void StoreAction();
    // The command; a go-to command that names no screen is an offer to create it.
    void StoreCommand();
    // The script, every time the memo is left, changed or not.
    void StoreScript();
    void FillCommandList();
    // Notes changed elsewhere (the notes dialog, undo) show at once.
    void FollowChange(const DocumentChange& change);

    TAssistOption* m_option = nullptr;
    QLineEdit* m_eOptionID;
    QLineEdit* m_eOptionCaption;
    QPlainTextEdit* m_mOptionExp;
    QComboBox* m_cbAction;
    DropDownComboBox* m_cbCommand;
    QPlainTextEdit* m_mOptionScript;
    QPlainTextEdit* m_mHelp;
    QListWidget* m_lbOptionNotes;
    QPushButton* m_bEditNotes;
};
