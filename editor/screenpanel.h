#pragma once
// The "Screen" edit panel: ID, caption, image file and description of a screen. Layout only.
#include <QWidget>

class QLineEdit;
class QPlainTextEdit;
class QToolButton;

class ScreenPanel : public QWidget {
    Q_OBJECT
public:
    explicit ScreenPanel(QWidget* parent = nullptr);

    QLineEdit* eScreenID() const { return m_eScreenID; }
    QLineEdit* eScreenCaption() const { return m_eScreenCaption; }
    QLineEdit* eScreenImage() const { return m_eScreenImage; }
    // The picture button beside the image box; no command is attached to it yet.
    QToolButton* bImagePick() const { return m_bImagePick; }
    QPlainTextEdit* mScreenExp() const { return m_mScreenExp; }

private:
    QLineEdit* m_eScreenID;
    QLineEdit* m_eScreenCaption;
    QLineEdit* m_eScreenImage;
    QToolButton* m_bImagePick;
    QPlainTextEdit* m_mScreenExp;
};
