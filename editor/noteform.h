#pragma once
// The note editor: a modal dialog that lists the notes of one option and adds, replaces and deletes them.
// It works directly on the note list it is given: every Add, Replace and Delete changes the list at once and
// reports the change (markChanged) before touching it. There is no cancel; Close only closes.
#include "editor/notevalues.h"

#include <QDialog>

#include <functional>
#include <vector>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

class TNoteForm : public QDialog {
    Q_OBJECT
public:
    // notes and markChanged must outlive the dialog.
    TNoteForm(std::vector<NoteValues>& notes, std::function<void()> markChanged, QWidget* parent = nullptr);

    QLineEdit* eName() const { return m_eName; }
    QComboBox* cbType() const { return m_cbType; }
    QPlainTextEdit* mText() const { return m_mText; }
    QLineEdit* eID() const { return m_eID; }
    QListWidget* lbList() const { return m_lbList; }
    QPushButton* bAdd() const { return m_bAdd; }
    QPushButton* bReplace() const { return m_bReplace; }
    QPushButton* bDelete() const { return m_bDelete; }
    QPushButton* bClear() const { return m_bClear; }
    QPushButton* bClose() const { return m_bClose; }

    // Fills the list from the notes; runs when the dialog is first shown.
    void FormShow();
    void UpdateButtons();
    // The values the four boxes hold, exactly as they stand.
    NoteValues EnteredValues() const;
    // Index of the selected line, or -1.
    int SelectedIndex() const;

    void lbListClick();
    void bAddClick();
    void bReplaceClick();
    void bDeleteClick();
    void bClearClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void SetLine(int index);

    std::vector<NoteValues>& m_notes;
    std::function<void()> m_markChanged;
    bool m_shown = false;

    QLineEdit* m_eName;
    QComboBox* m_cbType;
    QPlainTextEdit* m_mText;
    QLineEdit* m_eID;
    QListWidget* m_lbList;
    QPushButton* m_bAdd;
    QPushButton* m_bReplace;
    QPushButton* m_bDelete;
    QPushButton* m_bClear;
    QPushButton* m_bClose;
};
