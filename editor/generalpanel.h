#pragma once
// The "General" edit panel: the boxes that show and edit the assistant's own fields (author, build date,
// version, copyright, ID, caption, first screen, description). Layout only; the main window fills the boxes
// and stores their values.
#include <QWidget>

class DropDownComboBox;
class QLineEdit;
class QPlainTextEdit;

class GeneralPanel : public QWidget {
    Q_OBJECT
public:
    explicit GeneralPanel(QWidget* parent = nullptr);

    QLineEdit* eAuthor() const { return m_eAuthor; }
    QLineEdit* eBuildDate() const { return m_eBuildDate; }
    QLineEdit* eVersion() const { return m_eVersion; }
    QLineEdit* eCopyright() const { return m_eCopyright; }
    QLineEdit* eProjectID() const { return m_eProjectID; }
    QLineEdit* eProjectCaption() const { return m_eProjectCaption; }
    DropDownComboBox* cbInitScreen() const { return m_cbInitScreen; }
    QPlainTextEdit* mProjectExp() const { return m_mProjectExp; }

private:
    QLineEdit* m_eAuthor;
    QLineEdit* m_eBuildDate;
    QLineEdit* m_eVersion;
    QLineEdit* m_eCopyright;
    QLineEdit* m_eProjectID;
    QLineEdit* m_eProjectCaption;
    DropDownComboBox* m_cbInitScreen;
    QPlainTextEdit* m_mProjectExp;
};
