#pragma once
// Recording fakes of every component and a factory that hands them out, all writing to one shared
// call log. The factory records "Create<Component>" and can be told to fail a creation.
#include <map>
#include <string>

#include "support/error.h"
#include "tests/core/recordingassistant.h"
#include "tests/core/recordingreport.h"

class RecordingReportSupport final : public IReportSupport {
public:
    explicit RecordingReportSupport(std::shared_ptr<CallLog> log) : m_log(std::move(log)) {}
    ~RecordingReportSupport() override { m_log->Add("~ReportSupport"); }
    std::string SupportText = "<footer>support</footer>";

    ComponentStatus PrepareReport(const std::string& text, const std::string& title,
                                  std::string& result) override {
        result = "prepared[" + text + "]";
        return m_log->Record("PrepareReport", text + ", " + title);
    }
    ComponentStatus GetSupportText(std::string& text) override {
        text = SupportText;
        return m_log->Record("GetSupportText", "");
    }

private:
    std::shared_ptr<CallLog> m_log;
};

class RecordingReportViewer final : public IReportViewer {
public:
    explicit RecordingReportViewer(std::shared_ptr<CallLog> log) : m_log(std::move(log)) {}
    ~RecordingReportViewer() override { m_log->Add("~ReportViewer"); }

    ComponentStatus ShowReport(QWidget* owner, const std::string& title, const std::string& prepared,
                               int n) override {
        return m_log->Record("ShowReport", std::string(owner ? "owner" : "null") + ", " + title + ", " +
                                               prepared + ", " + std::to_string(n));
    }

private:
    std::shared_ptr<CallLog> m_log;
};

class RecordingFindFile final : public IFindFile {
public:
    explicit RecordingFindFile(std::shared_ptr<CallLog> log) : m_log(std::move(log)) {}
    ~RecordingFindFile() override { m_log->Add("~FindFile"); }
    std::map<std::string, std::string> Paths; // name -> path given back; other names give ""

    ComponentStatus LocateFile(const std::string& name, int flags, std::string& path) override {
        const auto it = Paths.find(name);
        path = it == Paths.end() ? std::string() : it->second;
        return m_log->Record("LocateFile", name + ", " + std::to_string(flags));
    }

private:
    std::shared_ptr<CallLog> m_log;
};

class RecordingCDSupport final : public ICDSupport {
public:
    explicit RecordingCDSupport(std::shared_ptr<CallLog> log) : m_log(std::move(log)) {}
    ~RecordingCDSupport() override { m_log->Add("~CDSupport"); }

    ComponentStatus ShowAbout(QWidget* owner, const std::string& module, int n) override {
        return m_log->Record("ShowAbout", std::string(owner ? "owner" : "null") + ", " + module + ", " +
                                              std::to_string(n));
    }

private:
    std::shared_ptr<CallLog> m_log;
};

class FakeComponentFactory final : public IComponentFactory {
public:
    std::shared_ptr<CallLog> Log = MakeCallLog();
    std::string ReportText = "<p>report</p>";

    // The creation of the named component ("HTMLReport", "ReportSupport", ...) raises AppError.
    void FailCreate(std::string component, std::string message) {
        m_failComponent = std::move(component);
        m_failMessage = std::move(message);
    }

    std::unique_ptr<IHTMLReport> CreateHTMLReport() override {
        Created("HTMLReport");
        auto report = std::make_unique<RecordingReport>(Log);
        report->ReportText = ReportText;
        return report;
    }
    std::unique_ptr<IReportSupport> CreateReportSupport() override {
        Created("ReportSupport");
        return std::make_unique<RecordingReportSupport>(Log);
    }
    std::unique_ptr<IReportViewer> CreateReportViewer() override {
        Created("ReportViewer");
        return std::make_unique<RecordingReportViewer>(Log);
    }
    std::unique_ptr<IAssistant> CreateAssistant() override {
        Created("Assistant");
        return std::make_unique<RecordingAssistant>(Log);
    }
    std::unique_ptr<IFindFile> CreateFindFile() override {
        Created("FindFile");
        return std::make_unique<RecordingFindFile>(Log);
    }
    std::unique_ptr<ICDSupport> CreateCDSupport() override {
        Created("CDSupport");
        return std::make_unique<RecordingCDSupport>(Log);
    }

private:
    void Created(const std::string& component) {
        Log->Add("Create" + component);
        if (component == m_failComponent)
            throw AppError(m_failMessage);
    }

    std::string m_failComponent;
    std::string m_failMessage;
};
