#include "editor/viewerbinding.h"

#include "components/qt/qtcomponentfactory.h"
#include "editor/mainwindow.h"
#include "editor/testviewers.h"
#include "model/assistroot.h"
#include "support/textroutines.h"
#include "viewer/assistantruntime.h"
#include "viewer/assistantviewer.h"

#include <QFileInfo>
#include <QPointer>
#include <QTabWidget>

#include <exception>

namespace {

// The screen at `index` when its ID is still `id`, else the screen with that ID.
TAssistScreen* FindTargetScreen(TAssistRoot& root, int index, const std::string& id) {
    TAssistScreen* screen = root.Screens.Item(index);
    if (screen != nullptr && SameText(screen->ID, id))
        return screen;
    return root.Screens.FindScreen(id);
}

TAssistOption* FindTargetOption(TAssistScreen& screen, int index, const std::string& id) {
    TAssistOption* option = screen.Options.Item(index);
    if (option != nullptr && option->ID == id)
        return option;
    for (TAssistOption& candidate : screen.Options)
        if (candidate.ID == id)
            return &candidate;
    return nullptr;
}

constexpr const char* kViewerOfReplacedAssistant =
    "This viewer shows an assistant that is no longer open in the editor; nothing was selected.";

} // namespace

QString EditorBaseFolder(const MainWindow& window) {
    const std::string& fileName = window.Assistant().FileName;
    if (fileName.empty())
        return {};
    return QFileInfo(QString::fromStdString(fileName)).absolutePath();
}

void EditViewerTarget(MainWindow& window, const ViewerEditTarget& target, std::uint64_t generation) {
    // The window holds another assistant than the one the viewer was given: a screen at the same
    // position or with the same ID there is not the one the author is looking at.
    if (generation != window.DocumentGeneration()) {
        window.GetPrompter().Message(Prompter::MessageKind::WarningOk, kViewerOfReplacedAssistant);
        return;
    }
    TAssistScreen* screen = FindTargetScreen(window.Assistant(), target.ScreenIndex, target.ScreenID);
    if (screen == nullptr) {
        window.GetPrompter().Message(Prompter::MessageKind::WarningOk,
                                     "The screen \"" + target.ScreenID +
                                         "\" is no longer in the assistant; nothing was selected.");
        return;
    }
    TAssistBase* item = screen;
    if (target.OptionIndex >= 0)
        if (TAssistOption* option = FindTargetOption(*screen, target.OptionIndex, target.OptionID))
            item = option;
    // The author may have been typing in a box of the editor: store that value before the panel
    // switches to the new item.
    window.CommitFocusedBox();
    window.Pages()->setCurrentWidget(window.tsAssistant());
    window.SelectItem(item);
    window.raise();
    window.activateWindow();
}

std::shared_ptr<QtComponentFactory> WindowComponents(MainWindow& window, ViewerSetup setup) {
    // The factory belongs to the window (through its services), so the window outlives it; the viewer
    // windows are children of the editor window as well. The guard covers a viewer that is still
    // being closed while its editor window goes.
    QPointer<MainWindow> guarded(&window);
    auto factory = std::make_shared<QtComponentFactory>();
    // The report window's Save and Export start where the window's own file dialogs start (the
    // current file's folder, else the last folder used) and keep the folder chosen as the last one.
    factory->SetReportFolders({[guarded] { return guarded.isNull() ? QString() : guarded->DialogFolder(); },
                               [guarded](const QString& chosen) {
                                   if (!guarded.isNull())
                                       guarded->RememberDialogFile(chosen.toStdString());
                               }});
    // Test makes its runtime just before handing it the window's assistant, so the document generation
    // at that moment is the one its viewer shows; the runtime's Edit call-back carries it along. (A
    // runtime of Run from file is never given the window's assistant and offers no Edit.)
    factory->SetAssistantCreator([guarded, setup = std::move(setup)]() -> std::unique_ptr<IAssistant> {
        ViewerSetup own = setup;
        const std::uint64_t generation = guarded.isNull() ? 0 : guarded->DocumentGeneration();
        own.OnEdit = [guarded, generation](const ViewerEditTarget& target) {
            if (guarded.isNull())
                return;
            try {
                EditViewerTarget(*guarded, target, generation);
            } catch (const std::exception& error) {
                // A box whose value cannot be stored keeps the selection where it is; say why.
                guarded->GetPrompter().Message(Prompter::MessageKind::ErrorOk, error.what());
            }
        };
        auto runtime = std::make_unique<AssistantRuntime>(std::move(own));
        if (!guarded.isNull()) {
            runtime->SetBaseFolder(EditorBaseFolder(*guarded));
            // The tested text is the current state of the file open in the window: options of other
            // assistants that name that file come back to it.
            runtime->SetTextFile(QString::fromStdString(guarded->Assistant().FileName));
        }
        // A viewer of Test (it shows the window's assistant) follows the window's later changes.
        runtime->SetOnRun([guarded, generation](AssistantViewer& viewer) {
            if (!guarded.isNull() && viewer.EditorAssistant() != nullptr)
                TestViewers::Of(*guarded).Add(viewer, generation);
        });
        return runtime;
    });
    return factory;
}
