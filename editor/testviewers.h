#pragma once
// The viewer windows that Test opened over an editor window, for the live test: after each stored
// change the window hands its assistant, as it is now, to every one of them that shows the document
// the window still holds (a viewer of an assistant that New or Open replaced keeps what it shows).
//
// The list is a child object of the editor window, made the first time a Test viewer is added; the
// viewers are child windows of the editor window as well and are held here by guarded pointers, so a
// viewer the user closed simply drops out.
#include <QObject>
#include <QPointer>

#include <cstdint>
#include <string>
#include <vector>

class AssistantViewer;
class TAssistRoot;
class MainWindow;

class TestViewers final : public QObject {
    Q_OBJECT
public:
    // The list of `window`; made (empty) when it has none yet.
    static TestViewers& Of(MainWindow& window);
    // The list of `window` when it has one; null otherwise.
    static TestViewers* Find(const MainWindow& window);

    // A viewer that Test opened while the window's document generation was `generation`.
    void Add(AssistantViewer& viewer, std::uint64_t generation);
    // The open viewers that follow the window's current document.
    std::vector<AssistantViewer*> Following() const;
    // Hands the window's assistant as it is now to every viewer that follows it. Does nothing, and
    // costs nothing, when no such viewer is open.
    void Update();

private:
    explicit TestViewers(MainWindow& window);

    struct Follower {
        QPointer<AssistantViewer> Viewer;
        std::uint64_t Generation = 0;
    };
    MainWindow& m_window;
    std::vector<Follower> m_viewers;
};

// For the editor window after every stored change: the live test step (TestViewers::Update of the
// window's list, when it has one).
void UpdateTestViewers(MainWindow& window);

// The assistant's complete file text as Test hands it over, leaving the assistant exactly as it was:
// writing the text records the current user as modifier, recomputes the signatures and clears Changed,
// and all of that is put back.
std::string TestTextOf(TAssistRoot& assistant);
