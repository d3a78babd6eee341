#include "viewer/assistantruntime.h"

#include <QDir>
#include <QFileInfo>

#include "components/filefinder.h"
#include "model/assistroot.h"
#include "viewer/assistantviewer.h"
#include "viewer/optioncommands.h"
#include "viewer/viewerdesktop.h"

AssistantRuntime::AssistantRuntime(ViewerSetup setup) : m_setup(CompleteSetup(std::move(setup))) {}

AssistantRuntime::~AssistantRuntime() = default;

AssistantViewer* AssistantRuntime::Window() const {
    return m_window.data();
}

ComponentStatus AssistantRuntime::SetInitialScreen(const std::string& id) {
    m_initialScreen = id;
    return ComponentStatus::Success();
}

ComponentStatus AssistantRuntime::LoadAssistantFile(const std::string& name, std::string& result) {
    result.clear();
    QString given = QString::fromStdString(name);
    if (given.trimmed().isEmpty()) {
        given = m_setup.Desktop->AskOpenFileName(nullptr, QStringLiteral("Open an assistant"),
                                                 QDir::currentPath());
        if (given.isEmpty())
            return ComponentStatus::Failure("No file chosen.");
    }
    const ResolvedName resolved = ResolveFileName(given, {}, *m_setup.Finder);
    if (!resolved.Error.isEmpty())
        return ComponentStatus::Failure(resolved.Error.toStdString());
    const QFileInfo file(resolved.Path);
    if (!file.isFile())
        return ComponentStatus::Failure("The assistant file \"" + given.toStdString() + "\" was not found.");
    try {
        std::unique_ptr<TAssistRoot> root = m_setup.Loader(file.absoluteFilePath());
        if (!root)
            return ComponentStatus::Failure("Nothing was read from \"" + given.toStdString() + "\".");
        m_loaded = std::make_shared<ViewedAssistant>(std::move(root), file.absoluteFilePath(),
                                                     file.absolutePath(), false);
    } catch (const std::exception& error) {
        return ComponentStatus::Failure(error.what());
    }
    result = file.absoluteFilePath().toStdString();
    return ComponentStatus::Success();
}

void AssistantRuntime::SetTextFile(const QString& path) {
    if (path.isEmpty()) {
        m_textFile.clear();
        return;
    }
    // Cleaned as the viewer cleans the names it resolves, so that the two compare equal.
    const QFileInfo file(path);
    m_textFile = QDir::cleanPath(file.absoluteFilePath());
    m_baseFolder = QDir::cleanPath(file.absolutePath());
}

ComponentStatus AssistantRuntime::LoadAssistantText(const std::string& text) {
    try {
        m_loaded = std::make_shared<ViewedAssistant>(ReadAssistantText(text), m_textFile, m_baseFolder, true);
    } catch (const std::exception& error) {
        return ComponentStatus::Failure(error.what());
    }
    return ComponentStatus::Success();
}

void AssistantRuntime::LoadAssistant(std::unique_ptr<TAssistRoot> root, const QString& folder,
                                     bool fromEditor) {
    const QString path = root && !root->FileName.empty() ? QString::fromStdString(root->FileName) : QString();
    m_loaded = std::make_shared<ViewedAssistant>(std::move(root), path, folder, fromEditor);
}

ComponentStatus AssistantRuntime::Run(QWidget* owner, int /*mode*/) {
    if (!m_loaded || !m_loaded->Root)
        return ComponentStatus::Failure("No assistant is loaded.");
    auto* window = new AssistantViewer(owner, m_setup, m_loaded, m_initialScreen);
    window->show();
    window->raise();
    window->activateWindow();
    m_window = window;
    if (m_onRun)
        m_onRun(*window);
    return ComponentStatus::Success();
}

std::function<std::unique_ptr<IAssistant>()>
ViewerCreator(ViewerSetup setup, std::function<QString()> baseFolder, std::function<QString()> textFile) {
    return [setup = std::move(setup), baseFolder = std::move(baseFolder),
            textFile = std::move(textFile)]() -> std::unique_ptr<IAssistant> {
        auto runtime = std::make_unique<AssistantRuntime>(setup);
        if (baseFolder)
            runtime->SetBaseFolder(baseFolder());
        if (textFile)
            runtime->SetTextFile(textFile());
        return runtime;
    };
}
