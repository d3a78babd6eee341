#include "editor/testviewers.h"

#include "editor/mainwindow.h"
#include "editor/viewerbinding.h"
#include "model/assistroot.h"
#include "viewer/assistantviewer.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <exception>
#include <memory>

TestViewers::TestViewers(MainWindow& window) : QObject(&window), m_window(window) {
    setObjectName(QStringLiteral("TestViewers"));
}

TestViewers* TestViewers::Find(const MainWindow& window) {
    return window.findChild<TestViewers*>(QString(), Qt::FindDirectChildrenOnly);
}

TestViewers& TestViewers::Of(MainWindow& window) {
    if (TestViewers* found = Find(window))
        return *found;
    return *new TestViewers(window);
}

void TestViewers::Add(AssistantViewer& viewer, std::uint64_t generation) {
    m_viewers.erase(std::remove_if(m_viewers.begin(), m_viewers.end(),
                                   [](const Follower& follower) { return follower.Viewer.isNull(); }),
                    m_viewers.end());
    m_viewers.push_back({&viewer, generation});
}

std::vector<AssistantViewer*> TestViewers::Following() const {
    std::vector<AssistantViewer*> viewers;
    for (const Follower& follower : m_viewers)
        if (!follower.Viewer.isNull() && follower.Generation == m_window.DocumentGeneration())
            viewers.push_back(follower.Viewer.data());
    return viewers;
}

void TestViewers::Update() {
    const std::vector<AssistantViewer*> viewers = Following();
    if (viewers.empty())
        return;
    // Names as the runtime of Test takes them: the file open in the window, and its folder for the
    // relative names in the assistant.
    const std::string& fileName = m_window.Assistant().FileName;
    const QFileInfo file(QString::fromStdString(fileName));
    const QString filePath = fileName.empty() ? QString() : QDir::cleanPath(file.absoluteFilePath());
    const QString folder = fileName.empty() ? QString() : QDir::cleanPath(file.absolutePath());
    // One copy for all of them: a viewer never edits what it shows.
    std::shared_ptr<ViewedAssistant> assistant;
    try {
        assistant = std::make_shared<ViewedAssistant>(ReadAssistantText(TestTextOf(m_window.Assistant())),
                                                      filePath, folder, true);
    } catch (const std::exception&) {
        // An assistant the reader refuses (one beyond its size limits) cannot be shown by a viewer
        // either: the viewers keep showing the last state they were given. This runs after every
        // change, so it must not raise an error box each time; Test itself reports the failure.
        return;
    }
    for (AssistantViewer* viewer : viewers)
        viewer->ReplaceEditorAssistant(assistant);
}

void UpdateTestViewers(MainWindow& window) {
    if (TestViewers* viewers = TestViewers::Find(window))
        viewers->Update();
}

namespace {

// Puts back what writing the file text changes in the assistant, however the writing ends.
class WrittenFieldsKeeper {
public:
    explicit WrittenFieldsKeeper(TAssistRoot& assistant)
        : m_assistant(assistant), m_modifierID(assistant.ModifierID), m_modifierCode(assistant.ModifierCode),
          m_authorCode(assistant.AuthorCode), m_changed(assistant.Changed) {}
    ~WrittenFieldsKeeper() {
        m_assistant.ModifierID = m_modifierID;
        m_assistant.ModifierCode = m_modifierCode;
        m_assistant.AuthorCode = m_authorCode;
        m_assistant.Changed = m_changed;
    }
    WrittenFieldsKeeper(const WrittenFieldsKeeper&) = delete;
    WrittenFieldsKeeper& operator=(const WrittenFieldsKeeper&) = delete;

private:
    TAssistRoot& m_assistant;
    std::string m_modifierID;
    std::uint32_t m_modifierCode;
    std::uint32_t m_authorCode;
    bool m_changed;
};

} // namespace

std::string TestTextOf(TAssistRoot& assistant) {
    const WrittenFieldsKeeper keeper(assistant);
    return assistant.SaveToText();
}
