#pragma once
// Connects the assistant viewer to an editor window. The window's Test hands its assistant to a
// runtime made here: relative names in the tested assistant are looked for in the folder of the file
// open in the window, an option of another assistant that names that file comes back to the tested
// assistant, and the viewer's "Edit this screen" (and an option's Edit button) brings the
// window forward with that screen or option selected in its tree. The viewers that Test opens follow the
// window's later changes (editor/testviewers.h: the window calls UpdateTestViewers after each stored
// change).
#include <QString>
#include <cstdint>
#include <memory>

#include "viewer/viewersetup.h"

class QtComponentFactory;
class MainWindow;

// The folder of the file open in the window; empty for an assistant that was never saved.
QString EditorBaseFolder(const MainWindow& window);

// Selects the item a viewer points at in the window's tree, on the Assistant page, and raises the
// window. `generation` is the window's DocumentGeneration when the viewer was given its assistant.
// The screen is found by its position when the ID there still matches, else by its ID (the assistant
// may have been edited since it was handed over); the option likewise within the screen. A viewer of
// an assistant the window no longer holds, or a screen that is gone, selects nothing: the author is
// told why in a notice.
void EditViewerTarget(MainWindow& window, const ViewerEditTarget& target, std::uint64_t generation);

// The window's component factory: the program's Qt components, with the assistant viewer as the
// runtime. `setup` is completed with the window's edit call-back; its other parts are kept (tests
// pass a recording desktop).
std::shared_ptr<QtComponentFactory> WindowComponents(MainWindow& window, ViewerSetup setup = {});
