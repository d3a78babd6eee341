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
    void Add(std::string line) { lines_.push_back(std::move(line)); }
    const std::vector<std::string>& Lines() const { return lines_; }
    void Clear() { lines_.clear(); }

    // The next call whose operation name matches fails with the message (once).
    void FailOn(std::string operation, std::string message) {
        failOperation_ = std::move(operation);
        failMessage_ = std::move(message);
    }
    // Records the call and gives the status that the fake returns.
    ComponentStatus Record(const std::string& operation, const std::string& arguments) {
        Add(operation + "(" + arguments + ")");
        if (!failOperation_.empty() && operation == failOperation_) {
            failOperation_.clear();
            return ComponentStatus::Failure(failMessage_);
        }
        return ComponentStatus::Success();
    }

private:
    std::vector<std::string> lines_;
    std::string failOperation_;
    std::string failMessage_;
};

inline std::shared_ptr<CallLog> MakeCallLog() {
    return std::make_shared<CallLog>();
}
