#pragma once
// The "Option" edit panel: ID, caption and description of an option, its action kind, command and script
// with the guidance memo for the chosen kind, and its notes. The panel keeps the enabled state, colours and
// guidance of the command and script boxes in line with the Action drop-down (UpdateActionHelp); storing
// values into the model is the main window's job.
#include "editor/actionhelp.h"

#include <QWidget>

#include <string>
#include <vector>

class DropDownComboBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

class OptionPanel : public QWidget {
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

private:
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
