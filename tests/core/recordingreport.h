#pragma once
// An IHTMLReport that records every call as a line, e.g. `AddTag(A name="S1")` or `BeginTable(0, -1)`,
// and can be told to fail a chosen operation. GetReportText gives the text set by the test.
#include <string>

#include "tests/core/calllog.h"

class RecordingReport final : public IHTMLReport {
public:
    explicit RecordingReport(std::shared_ptr<CallLog> log = MakeCallLog()) : m_log(std::move(log)) {}
    ~RecordingReport() override { m_log->Add("~HTMLReport"); }

    CallLog& Log() { return *m_log; }
    const std::vector<std::string>& Calls() const { return m_log->Lines(); }
    std::string ReportText = "<p>report</p>";

    ComponentStatus GetReportText(std::string& text) override {
        text = ReportText;
        return m_log->Record("GetReportText", "");
    }
    ComponentStatus AddCell(const std::string& text) override { return m_log->Record("AddCell", text); }
    ComponentStatus BeginCell() override { return m_log->Record("BeginCell", ""); }
    ComponentStatus EndCell() override { return m_log->Record("EndCell", ""); }
    ComponentStatus AddLabelCell(const std::string& text, int n) override {
        return m_log->Record("AddLabelCell", text + ", " + std::to_string(n));
    }
    ComponentStatus EndRow() override { return m_log->Record("EndRow", ""); }
    ComponentStatus BeginRow() override { return m_log->Record("BeginRow", ""); }
    ComponentStatus EndTable() override { return m_log->Record("EndTable", ""); }
    ComponentStatus BeginTable(int a, int b) override {
        return m_log->Record("BeginTable", std::to_string(a) + ", " + std::to_string(b));
    }
    ComponentStatus AddTag(const std::string& tag) override { return m_log->Record("AddTag", tag); }
    ComponentStatus AddText(const std::string& text) override { return m_log->Record("AddText", text); }
    ComponentStatus BeginSection(const std::string& title) override {
        return m_log->Record("BeginSection", title);
    }
    ComponentStatus EndSection() override { return m_log->Record("EndSection", ""); }

private:
    std::shared_ptr<CallLog> m_log;
};
