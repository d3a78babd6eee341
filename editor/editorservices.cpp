#include "editor/editorservices.h"

#include "components/qt/qtcomponentfactory.h"
#include "editor/viewerbinding.h"
#include "support/qt/regwrap.h"

TEditorServices TEditorServices::ForProgram(std::vector<std::string> arguments) {
    TEditorServices services;
    services.Settings = TRegWrap::ForProgram();
    services.Components = std::make_shared<QtComponentFactory>();
    services.ComponentsForWindow = [](MainWindow& window) -> std::shared_ptr<IComponentFactory> {
        return WindowComponents(window);
    };
    services.Arguments = std::move(arguments);
    return services;
}
