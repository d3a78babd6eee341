#pragma once
// An IHTMLReport that records every call as a line, e.g. `AddTag(A name="S1")` or `BeginTable(0, -1)`,
// and can be told to fail a chosen operation. GetReportText gives the text set by the test.
#include <string>

#include "tests/core/calllog.h"

class RecordingReport final : public IHTMLReport {
public:
    explicit RecordingReport(std::shared_ptr<CallLog> log = MakeCallLog()) : log_(std::move(log)) {}
    ~RecordingReport() override { log_->Add("~HTMLReport"); }

    CallLog& Log() { return *log_; }
    const std::vector<std::string>& Calls() const { return log_->Lines(); }
    std::string ReportText = "<p>report</p>";

    ComponentStatus GetReportText(std::string& text) override {
        text = ReportText;
        return log_->Record("GetReportText", "");
    }
    ComponentStatus AddCell(const std::string& text) override { return log_->Record("AddCell", text); }
    ComponentStatus BeginCell() override { return log_->Record("BeginCell", ""); }
    ComponentStatus EndCell() override { return log_->Record("EndCell", ""); }
    ComponentStatus AddLabelCell(const std::string& text, int n) override {
        return log_->Record("AddLabelCell", text + ", " + std::to_string(n));
    }
    ComponentStatus EndRow() override { return log_->Record("EndRow", ""); }
    ComponentStatus BeginRow() override { return log_->Record("BeginRow", ""); }
    ComponentStatus EndTable() override { return log_->Record("EndTable", ""); }
    ComponentStatus BeginTable(int a, int b) override {
        return log_->Record("BeginTable", std::to_string(a) + ", " + std::to_string(b));
    }
    ComponentStatus AddTag(const std::string& tag) override { return log_->Record("AddTag", tag); }
    ComponentStatus AddText(const std::string& text) override { return log_->Record("AddText", text); }
    ComponentStatus BeginSection(const std::string& title) override {
        return log_->Record("BeginSection", title);
    }
    ComponentStatus EndSection() override { return log_->Record("EndSection", ""); }

private:
    std::shared_ptr<CallLog> log_;
};
