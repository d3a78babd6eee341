#pragma once
// What the editor's main window needs from outside: the settings store, the component factory, the
// command-line arguments, the source of the login name and where and how often unsaved changes are kept
// for recovery. The program takes its own (ForProgram); tests give temporary settings and folders,
// recording components and fixed names.
//
// A window can also have components of its own: when ComponentsForWindow is set, the window replaces
// Components by what it makes for that window while the window is being created. The program uses it
// to give each window an assistant runtime that knows the window (its file's folder, "Edit this
// screen"); windows opened from a window copy the services and so get components of their own too.
#include <functional>
#include <memory>
#include <string>
#include <vector>

class IComponentFactory;
class MainWindow;
class TRegWrap;

struct TEditorServices {
    std::shared_ptr<TRegWrap> Settings;            // shared by every window of the program
    std::shared_ptr<IComponentFactory> Components; // file finder, report chain, About box
    std::vector<std::string> Arguments;            // command-line arguments, without the program name
    std::function<std::string()> LoginName;        // empty: the system's login name
    std::function<std::shared_ptr<IComponentFactory>(MainWindow& window)> ComponentsForWindow;
    // Where unsaved changes are kept for recovery; empty: "recovery" in the user's data folder.
    std::string RecoveryFolder;
    // How often a changed assistant is written there, in milliseconds; 0 or less: only on structural
    // changes.
    int AutoSaveInterval = 60000;
    // Every other stored change is written there too, at most once per this many milliseconds, and at
    // once when the program loses the focus; 0 or less: not written after such changes.
    int RecoveryWriteInterval = 2000;
    // Whether the window offers the recovery files left behind when it is first shown; windows opened
    // by another window leave that to the first.
    bool OfferRecovery = true;

    // The program's settings store and, for each window, the Qt component factory with the assistant
    // viewer as its runtime (WindowComponents), with the given arguments.
    static TEditorServices ForProgram(std::vector<std::string> arguments = {});
};
