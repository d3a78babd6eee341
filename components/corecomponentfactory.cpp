#include "components/corecomponentfactory.h"

#include "components/filefinder.h"
#include "components/htmlreportwriter.h"
#include "components/reportsupport.h"
#include "support/error.h"

CoreComponentFactory::CoreComponentFactory(std::string programPath) : m_programPath(std::move(programPath)) {}

std::unique_ptr<IHTMLReport> CoreComponentFactory::CreateHTMLReport() {
    return std::make_unique<HtmlReportWriter>();
}

std::unique_ptr<IReportSupport> CoreComponentFactory::CreateReportSupport() {
    return std::make_unique<ReportSupport>(m_programPath);
}

std::unique_ptr<IReportViewer> CoreComponentFactory::CreateReportViewer() {
    throw AppError("The report viewer is not available: it needs the graphical editor.");
}

std::unique_ptr<IAssistant> CoreComponentFactory::CreateAssistant() {
    throw AppError("The assistant runtime is not available: it needs the graphical editor.");
}

std::unique_ptr<IFindFile> CoreComponentFactory::CreateFindFile() {
    return std::make_unique<FileFinder>();
}

std::unique_ptr<ICDSupport> CoreComponentFactory::CreateCDSupport() {
    throw AppError("The About box is not available: it needs the graphical editor.");
}
