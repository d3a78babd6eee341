#include "editor/settingsfailures.h"

#include "editor/prompter.h"

#include <exception>

bool SettingsFailures::Try(const std::function<void()>& step) {
    try {
        step();
        return true;
    } catch (const std::exception& error) {
        Note(error.what());
        return false;
    }
}

void SettingsFailures::Note(const std::string& failure) {
    if (m_first.empty())
        m_first = failure.empty() ? std::string("The settings store failed.") : failure;
}

void SettingsFailures::ReportOnce(Prompter& prompter) {
    if (!Pending())
        return;
    m_reported = true;
    prompter.Message(Prompter::MessageKind::WarningOk, MessageFor(m_first));
}

std::string SettingsFailures::MessageFor(const std::string& failure) {
    return "The settings cannot be saved (" + failure +
           ").\r\rThe editor works on, but your user ID, the recent files and the window placement are not "
           "kept.";
}
