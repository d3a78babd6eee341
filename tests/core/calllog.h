#pragma once
// A shared list of the calls that recording fakes receive, one line per call, for example
// "BeginSection(Report on Assistant: A1: x)". Shared so that a test can still read it after the code
// under test has released the fake; each fake adds "~Name" when it is destroyed.
#include <memory>
#include <string>
#include <vector>

#include "support/components.h"

class CallLog {
public:
    void Add(std::string line) { m_lines.push_back(std::move(line)); }
    const std::vector<std::string>& Lines() const { return m_lines; }
    void Clear() { m_lines.clear(); }

    // The next call whose operation name matches fails with the message (once).
    void FailOn(std::string operation, std::string message) {
        m_failOperation = std::move(operation);
        m_failMessage = std::move(message);
    }
    // Records the call and gives the status that the fake returns.
    ComponentStatus Record(const std::string& operation, const std::string& arguments) {
        Add(operation + "(" + arguments + ")");
        if (!m_failOperation.empty() && operation == m_failOperation) {
            m_failOperation.clear();
            return ComponentStatus::Failure(m_failMessage);
        }
        return ComponentStatus::Success();
    }

private:
    std::vector<std::string> m_lines;
    std::string m_failOperation;
    std::string m_failMessage;
};

inline std::shared_ptr<CallLog> MakeCallLog() {
    return std::make_shared<CallLog>();
}
