#pragma once
// Failures of the settings store that a window works around instead of stopping: a per-user settings
// folder that cannot be written or read (read-only or missing, a sandbox, a kiosk) must not keep the
// editor from opening or from closing. The window notes each failure and tells the user once, in its
// whole life, that its settings cannot be kept.
#include <functional>
#include <string>

class Prompter;

class SettingsFailures {
public:
    // Runs a step that reads or writes settings; a failure is noted instead of raised. True when the
    // step succeeded.
    bool Try(const std::function<void()>& step);
    // Notes a failure by its message (the first one noted is the one shown).
    void Note(const std::string& failure);
    // Whether a failure was noted that has not been shown yet.
    bool Pending() const { return !m_first.empty() && !m_reported; }
    // Shows the first failure noted, once: after that (or with none noted) nothing is shown.
    void ReportOnce(Prompter& prompter);
    // The message shown for a failure.
    static std::string MessageFor(const std::string& failure);

private:
    std::string m_first;
    bool m_reported = false;
};
