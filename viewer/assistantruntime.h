#pragma once
// The assistant runtime of this program: the IAssistant that the editor's Test and Run from file
// actions drive, and that the assistant-viewer program uses on its own. It holds one loaded assistant
// and shows it in an AssistantViewer window when Run is called.
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "support/components.h"
#include "viewer/viewersetup.h"

class AssistantViewer;

class AssistantRuntime final : public IAssistant {
public:
    explicit AssistantRuntime(ViewerSetup setup = {});
    ~AssistantRuntime() override;

    // Remembered until Run; a screen that the assistant lacks is reported in the window, which then
    // starts at the assistant's first screen.
    ComponentStatus SetInitialScreen(const std::string& id) override;
    // An empty name asks for a file through the desktop seam ("No file chosen." when cancelled). A name
    // may start with a file finder code; a relative name is looked for in the current folder, then in
    // the program's. `result` becomes the full path of the file read.
    ComponentStatus LoadAssistantFile(const std::string& name, std::string& result) override;
    // The complete file text of an assistant (the editor's Test). Its relative names are taken from
    // the base folder (SetBaseFolder, SetTextFile), else found as the file finder finds names.
    ComponentStatus LoadAssistantText(const std::string& text) override;
    // Shows the loaded assistant in a new non-modal window over `owner`, deleted when closed. Every
    // mode shows the same window. Fails when nothing is loaded.
    ComponentStatus Run(QWidget* owner, int mode) override;

    // Hands over an assistant made in the program (tests, tools); `folder` is where its relative
    // names are looked for. `fromEditor` makes "Edit this screen" refer to it.
    void LoadAssistant(std::unique_ptr<TAssistRoot> root, const QString& folder, bool fromEditor);
    // The folder of the file that a text given to LoadAssistantText came from.
    void SetBaseFolder(const QString& folder) { m_baseFolder = folder; }
    const QString& BaseFolder() const { return m_baseFolder; }
    // The file that a text given to LoadAssistantText is the current state of (the file open in the
    // editor); its folder becomes the base folder. An option of another assistant that names this
    // file comes back to the text given, not to the copy on disk, which may be older.
    void SetTextFile(const QString& path);
    const QString& TextFile() const { return m_textFile; }

    const ViewerSetup& Setup() const { return m_setup; }
    // The window opened by the last Run while it is open; null otherwise.
    AssistantViewer* Window() const;
    // Called with every window Run opens, once it is shown (the editor keeps the windows of Test to
    // hand them its assistant again after each change).
    void SetOnRun(std::function<void(AssistantViewer&)> opened) { m_onRun = std::move(opened); }

private:
    ViewerSetup m_setup;
    std::shared_ptr<ViewedAssistant> m_loaded;
    std::string m_initialScreen;
    QString m_baseFolder;
    QString m_textFile;
    QPointer<AssistantViewer> m_window;
    std::function<void(AssistantViewer&)> m_onRun;
};

// Makes runtimes for the component factory (QtComponentFactory::SetAssistantCreator). Each runtime gets
// `setup`, and the folder that `baseFolder` gives at that moment (the folder of the file open in the
// editor, so that relative names in a tested assistant are found beside it). When `textFile` is given
// and names a file at that moment, the runtime takes it as the file of the text it is given
// (SetTextFile).
std::function<std::unique_ptr<IAssistant>()> ViewerCreator(ViewerSetup setup,
                                                           std::function<QString()> baseFolder = {},
                                                           std::function<QString()> textFile = {});
