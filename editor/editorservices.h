#pragma once
// What the editor's main window needs from outside: the settings store, the component factory, the
// command-line arguments and the source of the login name. The program takes its own (ForProgram);
// tests give temporary settings, recording components and fixed names.
#include <functional>
#include <memory>
#include <string>
#include <vector>

class IComponentFactory;
class TRegWrap;

struct TEditorServices {
    std::shared_ptr<TRegWrap> Settings;            // shared by every window of the program
    std::shared_ptr<IComponentFactory> Components; // file finder, report chain, About box
    std::vector<std::string> Arguments;            // command-line arguments, without the program name
    std::function<std::string()> LoginName;        // empty: the system's login name

    // The program's settings store and the Qt component factory, with the given arguments.
    static TEditorServices ForProgram(std::vector<std::string> arguments = {});
};
