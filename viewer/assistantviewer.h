#pragma once
// The assistant viewer window: shows an assistant screen by screen as its end users see it. A left pane
// with the screen's caption at the top, the assistant's caption at the bottom and, on the assistant's
// start screen, its description; a main area with the screen's text, its image and its options. Back,
// Forward and Home walk a history that spans screens and assistants. Every text from the file is shown
// as plain text. Missing screens, files and images are reported in the window's notice line; nothing
// that an assistant names can make the window fail.
#include <QKeySequence>
#include <QList>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "viewer/viewersetup.h"

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QVBoxLayout;
class TAssistOption;
class TAssistScreen;

class AssistantViewer final : public QWidget {
    Q_OBJECT
public:
    // A separate window over `owner` (a top-level window without one), deleted when it is closed.
    // It starts at `initialScreen` when that is not empty, else at the assistant's first screen.
    AssistantViewer(QWidget* owner, ViewerSetup setup, std::shared_ptr<ViewedAssistant> assistant,
                    const std::string& initialScreen = {});
    ~AssistantViewer() override;

    // Navigation, as the buttons do it.
    void GoBack();
    void GoForward();
    void GoHome();
    // Carries out the option at a position of the shown screen, as its button does.
    void ChooseOption(int index);
    // Calls the edit call-back for the shown screen (option -1) or one of its options.
    void EditItem(int optionIndex);

    // Live test: the editor hands over its assistant again after a change. Every visit of the editor's
    // assistant in the history moves to the same screen of `replacement` (found at its old position
    // when the ID there still matches, else by its ID); visits of screens that are gone are dropped,
    // and when the shown screen is gone the replacement's start screen is shown, with a notice. Visits
    // of other assistants stay. The shown screen is drawn again from the replacement.
    void ReplaceEditorAssistant(std::shared_ptr<ViewedAssistant> replacement);
    // The editor's assistant in the history (FromEditor); null in a viewer without one.
    const ViewedAssistant* EditorAssistant() const;

    // The keys of Back (Alt+Left, and Backspace while no text box has the focus), Forward (Alt+Right)
    // and Home (Alt+Home); each button's tooltip lists them.
    static const QList<QKeySequence>& BackKeys();
    static const QList<QKeySequence>& ForwardKeys();
    static const QList<QKeySequence>& HomeKeys();

    // What is shown.
    const ViewedAssistant* CurrentAssistant() const;
    const TAssistScreen* CurrentScreen() const;
    QString Notice() const;      // the notice line; empty when there is none
    QString DetailTitle() const; // heading of the detail box (notes, script, command); empty: hidden
    QString DetailText() const;
    int HistoryCount() const { return static_cast<int>(m_history.size()); }
    int HistoryIndex() const { return m_position; }

private:
    struct Entry {
        std::shared_ptr<ViewedAssistant> Assistant;
        const TAssistScreen* Screen = nullptr; // null: the assistant has no screen to show
    };

    void BuildWindow();
    void AddShortcut(const QKeySequence& key, const std::function<void()>& action);
    // Adds the entry after the current one (dropping what was ahead of it) and shows it.
    void Visit(Entry entry, const QString& notice = {});
    void ShowCurrent(const QString& notice);
    void ShowOptions(const TAssistScreen* screen, bool editable);
    void ShowImage(const TAssistScreen& screen, const ViewedAssistant& assistant);
    void ShowDetail(const QString& title, const QString& text);
    void SetNotice(const QString& text);
    void UpdateButtons();

    // The screen an assistant starts at (`requested` when given and present), with a notice saying
    // what was missing on the way.
    const TAssistScreen* StartScreen(const ViewedAssistant& assistant, const std::string& requested,
                                     QString& notice) const;

    void GoToScreen(const TAssistOption& option);
    void GoToAssistant(const TAssistOption& option);
    void OpenWebPage(const TAssistOption& option);
    void ExecuteProgram(const TAssistOption& option);

    ViewerSetup m_setup;
    std::vector<Entry> m_history;
    int m_position = -1;

    QPushButton* m_bBack = nullptr;
    QPushButton* m_bForward = nullptr;
    QPushButton* m_bHome = nullptr;
    QPushButton* m_bEditScreen = nullptr;
    QLabel* m_lScreenCaption = nullptr;
    QLabel* m_lAssistantDescription = nullptr;
    QLabel* m_lAssistantCaption = nullptr;
    QLabel* m_lNotice = nullptr;
    QLabel* m_lScreenText = nullptr;
    QLabel* m_lImage = nullptr;
    QWidget* m_options = nullptr; // rebuilt for every screen
    QVBoxLayout* m_mainLayout = nullptr;
    QLabel* m_lDetailTitle = nullptr;
    QPlainTextEdit* m_mDetail = nullptr;
    QScrollArea* m_scroll = nullptr;
};

// Largest image the viewer decodes, in pixels and as the decoder's allocation limit in megabytes.
// Images that declare a larger size are refused with a notice instead of being read.
inline constexpr qint64 kViewerMaxImagePixels = 6000LL * 6000LL;
inline constexpr int kViewerImageAllocationLimitMB = 160;
