#pragma once
// The note editor: a modal dialog that lists the notes of one option and adds, replaces and deletes them.
// It works directly on the option's note list: every Add, Replace and Delete goes through the edit layer at
// once (which marks the assistant changed). There is no cancel; Close only closes.
//
// The dialog restores its last placement when it is made and stores it when it goes ("Window.TNoteForm").
#include "editor/notevalues.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class TAssistOption;
class TDocumentEdits;
class TNote;
class TRegWrap;

class TNoteForm : public QDialog {
    Q_OBJECT
public:
    // option and edits must outlive the dialog. settings: where the placement is kept; nullptr keeps none.
    TNoteForm(TAssistOption& option, TDocumentEdits& edits, TRegWrap* settings, QWidget* parent = nullptr);
    // Stores the placement if SaveFormPlacement has not done so (a failure is dropped here: a destructor
    // has no one to report to).
    ~TNoteForm() override;

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
    // A note holding what the four boxes hold, exactly as it stands; the memo's lines joined by CR LF.
    TNote EnteredNote() const;
    // Index of the selected line, or -1.
    int SelectedIndex() const;
    // Stores the placement now; failures of the settings store reach the caller. Later calls (and the
    // destructor) store nothing more.
    void SaveFormPlacement();

    void lbListClick();
    void bAddClick();
    void bReplaceClick();
    void bDeleteClick();
    void bClearClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void SetLine(int index);

    TAssistOption& m_option;
    TDocumentEdits& m_edits;
    TRegWrap* m_settings;
    bool m_shown = false;
    bool m_placementSaved = false;

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
