#pragma once
// The "Screen" edit panel: ID, caption, image file and description of a screen. It shows the screen it
// is given and stores its boxes into it; the picture button beside the image box picks the image file.
#include "editor/itempanel.h"

class QLineEdit;
class QPlainTextEdit;
class QToolButton;
class TAssistScreen;

class ScreenPanel : public ItemPanel {
    Q_OBJECT
public:
    explicit ScreenPanel(QWidget* parent = nullptr);

    QLineEdit* eScreenID() const { return m_eScreenID; }
    QLineEdit* eScreenCaption() const { return m_eScreenCaption; }
    QLineEdit* eScreenImage() const { return m_eScreenImage; }
    // The picture button beside the image box: the image chosen in a file dialog is stored at once.
    QToolButton* bImagePick() const { return m_bImagePick; }
    QPlainTextEdit* mScreenExp() const { return m_mScreenExp; }

    bool ShowItem(TAssistBase* item) override;
    TAssistBase* Item() const override;
    QList<QWidget*> TextBoxes() const override;
    QList<QWidget*> ProseBoxes() const override;
    // The screen shown; nullptr when the panel has none.
    TAssistScreen* CurrentScreen() const { return m_screen; }

protected:
    void RegisterExitHandlers(ExitHandlerRegistry& registry) override;

private:
    // Exit handlers: each stores its box into the screen shown, when it differs.
    void StoreID();
    void StoreCaption();
    void StoreDescription();
    void StoreImage();
    void PickImage();

    TAssistScreen* m_screen = nullptr;
    QLineEdit* m_eScreenID;
    QLineEdit* m_eScreenCaption;
    QLineEdit* m_eScreenImage;
    QToolButton* m_bImagePick;
    QPlainTextEdit* m_mScreenExp;
};
