#pragma once
// The "General" edit panel: the boxes that show and edit the assistant's own fields (author, build date,
// version, copyright, ID, caption, first screen, description). It shows the assistant it is given and
// stores its boxes into it (a first screen that names no screen is an offer to create one).
#include "editor/itempanel.h"

class DropDownComboBox;
class QLineEdit;
class QPlainTextEdit;
class TAssistRoot;

class GeneralPanel : public ItemPanel {
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

    bool ShowItem(TAssistBase* item) override;
    TAssistBase* Item() const override;
    QList<QWidget*> TextBoxes() const override;
    QList<QWidget*> ProseBoxes() const override;

protected:
    void RegisterExitHandlers(ExitHandlerRegistry& registry) override;

private:
    // Exit handlers: each stores its box into the assistant shown, when it differs.
    void StoreID();
    void StoreCaption();
    void StoreDescription();
    void StoreAuthor();
    void StoreCopyright();
    void StoreVersion();
    // Stores the first screen; one that names no screen is an offer to create it.
    void StoreFirstScreen();
    // The screen IDs, offered when the first-screen list drops down.
    void FillFirstScreenList();

    TAssistRoot* m_root = nullptr;
    QLineEdit* m_eAuthor;
    QLineEdit* m_eBuildDate;
    QLineEdit* m_eVersion;
    QLineEdit* m_eCopyright;
    QLineEdit* m_eProjectID;
    QLineEdit* m_eProjectCaption;
    DropDownComboBox* m_cbInitScreen;
    QPlainTextEdit* m_mProjectExp;
};
