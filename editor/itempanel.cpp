#include "editor/itempanel.h"

#include "editor/exithandlers.h"

void ItemPanel::Attach(Services services) {
    m_services = std::move(services);
    RegisterExitHandlers(*m_services.exitHandlers);
}

void ItemPanel::RunButton(const std::function<void()>& command) {
    try {
        if (m_services.exitHandlers != nullptr)
            m_services.exitHandlers->RunFor(focusWidget());
        command();
    } catch (const std::exception& error) {
        if (m_services.showError)
            m_services.showError(error);
    }
}
