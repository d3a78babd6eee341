#pragma once
// A component factory for reading report documents in tests: the real GUI-free HTML writer and report
// support (with the date fixed at 2 January 2026, so documents compare across days), and a viewer that
// only keeps the prepared document it is given. The other components are not available.
#include "components/htmlreportwriter.h"
#include "components/reportsupport.h"
#include "support/components.h"
#include "support/error.h"

#include <ctime>
#include <memory>
#include <string>

class DocumentFactory final : public IComponentFactory {
public:
    // The prepared document the last report showed.
    std::string Shown;

    std::unique_ptr<IHTMLReport> CreateHTMLReport() override { return std::make_unique<HtmlReportWriter>(); }
    std::unique_ptr<IReportSupport> CreateReportSupport() override {
        return std::make_unique<ReportSupport>("", [] {
            std::tm t{};
            t.tm_year = 126;
            t.tm_mon = 0;
            t.tm_mday = 2;
            return t;
        });
    }
    std::unique_ptr<IReportViewer> CreateReportViewer() override { return std::make_unique<Viewer>(Shown); }
    std::unique_ptr<IAssistant> CreateAssistant() override { throw AppError("no assistant runtime"); }
    std::unique_ptr<IFindFile> CreateFindFile() override { throw AppError("no file finder"); }
    std::unique_ptr<ICDSupport> CreateCDSupport() override { throw AppError("no CD support"); }

private:
    class Viewer final : public IReportViewer {
    public:
        explicit Viewer(std::string& shown) : m_shown(shown) {}
        ComponentStatus ShowReport(QWidget*, const std::string&, const std::string& prepared, int) override {
            m_shown = prepared;
            return ComponentStatus::Success();
        }

    private:
        std::string& m_shown;
    };
};
