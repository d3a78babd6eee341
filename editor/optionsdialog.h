#pragma once
// The Options dialog: the program's choices in groups, one group box each; so far the "Spelling" group
// (dictionary language and the switch for checking as you type, SpellOptionsWidget). The groups show
// what is in effect when the dialog opens. OK applies every group (which also stores the choices in the
// settings) and closes; when a group cannot be applied (the chosen dictionary cannot be opened) the
// prompter says why and the dialog stays open, with nothing stored. Cancel changes nothing.
#include <QDialog>

class Prompter;
class QDialogButtonBox;
class QPushButton;
class SpellOptionsWidget;
class SpellService;

class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    OptionsDialog(SpellService& spelling, Prompter& prompter, QWidget* parent = nullptr);

    SpellOptionsWidget* gbSpelling() const { return m_gbSpelling; }
    QPushButton* bOk() const { return m_bOk; }
    QPushButton* bCancel() const { return m_bCancel; }

    // OK: applies the groups and closes, or shows why it cannot and stays open.
    void accept() override;

private:
    SpellService& m_spelling;
    Prompter& m_prompter;
    SpellOptionsWidget* m_gbSpelling;
    QPushButton* m_bOk;
    QPushButton* m_bCancel;
};
