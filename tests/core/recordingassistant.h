#pragma once
// A stand-in assistant runtime that records its calls, e.g. "SetInitialScreen(S2)" or "Run(2)", and
// keeps the loaded text and the owner window for the test to inspect.
#include <string>

#include "tests/core/calllog.h"

class RecordingAssistant final : public IAssistant {
public:
    explicit RecordingAssistant(std::shared_ptr<CallLog> log = MakeCallLog()) : m_log(std::move(log)) {}
    ~RecordingAssistant() override { m_log->Add("~Assistant"); }

    CallLog& Log() { return *m_log; }
    std::string LoadedText;
    std::string FileResult = "loaded";
    QWidget* Owner = nullptr;

    ComponentStatus SetInitialScreen(const std::string& id) override {
        return m_log->Record("SetInitialScreen", id);
    }
    ComponentStatus LoadAssistantFile(const std::string& name, std::string& result) override {
        result = FileResult;
        return m_log->Record("LoadAssistantFile", name);
    }
    ComponentStatus LoadAssistantText(const std::string& text) override {
        LoadedText = text;
        return m_log->Record("LoadAssistantText", std::to_string(text.size()) + " bytes");
    }
    ComponentStatus Run(QWidget* owner, int mode) override {
        Owner = owner;
        return m_log->Record("Run", std::to_string(mode));
    }

private:
    std::shared_ptr<CallLog> m_log;
};
