#include "editor/viewerbinding.h"

#include "components/qt/qtcomponentfactory.h"
#include "editor/pathovamainform.h"
#include "model/assistroot.h"
#include "support/textroutines.h"
#include "viewer/assistantruntime.h"

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

} // namespace

QString EditorBaseFolder(const TPathovaMainForm& window) {
    const std::string& fileName = window.Assistant().FileName;
    if (fileName.empty())
        return {};
    return QFileInfo(QString::fromStdString(fileName)).absolutePath();
}

void EditViewerTarget(TPathovaMainForm& window, const ViewerEditTarget& target) {
    TAssistScreen* screen = FindTargetScreen(window.Assistant(), target.ScreenIndex, target.ScreenID);
    if (screen == nullptr)
        return;
    TAssistBase* item = screen;
    if (target.OptionIndex >= 0)
        if (TAssistOption* option = FindTargetOption(*screen, target.OptionIndex, target.OptionID))
            item = option;
    // The author may have been typing in a box of the editor: store that value before the panel
    // switches to the new item.
    window.ActionList1Execute();
    window.Pages()->setCurrentWidget(window.tsAssistant());
    window.SelectItem(item);
    window.raise();
    window.activateWindow();
}

std::shared_ptr<QtComponentFactory> WindowComponents(TPathovaMainForm& window, ViewerSetup setup) {
    // The factory belongs to the window (through its services), so the window outlives it; the viewer
    // windows are children of the editor window as well. The guard covers a viewer that is still
    // being closed while its editor window goes.
    QPointer<TPathovaMainForm> guarded(&window);
    setup.OnEdit = [guarded](const ViewerEditTarget& target) {
        if (guarded.isNull())
            return;
        try {
            EditViewerTarget(*guarded, target);
        } catch (const std::exception& error) {
            // A box whose value cannot be stored keeps the selection where it is; say why.
            guarded->GetPrompter().Message(Prompter::MessageKind::ErrorOk, error.what());
        }
    };
    auto factory = std::make_shared<QtComponentFactory>();
    // The tested text is the current state of the file open in the window: options of other
    // assistants that name that file come back to it.
    factory->SetAssistantCreator(ViewerCreator(
        std::move(setup), [guarded] { return guarded.isNull() ? QString() : EditorBaseFolder(*guarded); },
        [guarded] {
            return guarded.isNull() ? QString() : QString::fromStdString(guarded->Assistant().FileName);
        }));
    return factory;
}
