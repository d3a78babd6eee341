#include "editor/editorservices.h"

#include "components/qt/qtcomponentfactory.h"
#include "support/qt/regwrap.h"

TEditorServices TEditorServices::ForProgram(std::vector<std::string> arguments) {
    TEditorServices services;
    services.Settings = TRegWrap::ForProgram();
    services.Components = std::make_shared<QtComponentFactory>();
    services.Arguments = std::move(arguments);
    return services;
}
