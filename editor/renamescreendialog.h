#pragma once
// The "Rename screen..." dialog: shows the screen's current ID, takes the new one and checks it as the
// structure check compares IDs (letters A to Z in either case): an empty ID or one that another screen
// has already is refused with a message in the dialog, and OK stays disabled. While typing, the dialog
// says how many references (go-to commands and the first screen) the rename will change. The window
// then pushes RenameScreenCommand and shows ScreenRenameReport in its status bar.
#include <QDialog>
#include <QString>

#include <optional>
#include <string>

class TAssistRoot;
class TAssistScreen;
class QLabel;
class QLineEdit;
class QPushButton;

class RenameScreenDialog : public QDialog {
    Q_OBJECT
public:
    RenameScreenDialog(TAssistRoot& root, TAssistScreen& screen, QWidget* parent = nullptr);

    std::string NewID() const;
    // Why the typed ID cannot be used; empty when it can.
    QString Problem() const;
    // The references that renaming to the typed ID changes.
    int References() const;
    // The line under the box: the problem, or what the rename will change.
    QString Message() const;

private:
    void Check();

    TAssistRoot& m_root;
    TAssistScreen& m_screen;
    QLineEdit* m_eNewID;
    QLabel* m_lMessage;
    QPushButton* m_bOk;
};

// Shows the dialog; the new ID when the user chose OK, nothing when cancelled.
std::optional<std::string> AskScreenRename(QWidget* parent, TAssistRoot& root, TAssistScreen& screen);

// What the status bar says after a rename: "Renamed screen S1 to S9; 3 references changed."
QString ScreenRenameReport(const std::string& oldID, const std::string& newID, int references);
