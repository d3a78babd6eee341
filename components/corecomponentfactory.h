#pragma once
// Component factory for programs without a window (the command-line tool): makes the report writer,
// report support and file finder; the viewer, the assistant runtime and the About box need the
// graphical editor and cannot be created here.
#include <string>

#include "support/components.h"

class CoreComponentFactory : public IComponentFactory {
public:
    // programPath: the running program's file, for the version record of the report footer.
    explicit CoreComponentFactory(std::string programPath = {});

    std::unique_ptr<IHTMLReport> CreateHTMLReport() override;
    std::unique_ptr<IReportSupport> CreateReportSupport() override;
    std::unique_ptr<IReportViewer> CreateReportViewer() override;
    std::unique_ptr<IAssistant> CreateAssistant() override;
    std::unique_ptr<IFindFile> CreateFindFile() override;
    std::unique_ptr<ICDSupport> CreateCDSupport() override;

private:
    std::string m_programPath;
};
