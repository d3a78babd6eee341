#include "support/reportchain.h"

std::string PrepareAssistantReport(IComponentFactory& factory, const std::string& caption,
                                   const std::function<void(IHTMLReport&)>& writeReport) {
    const std::unique_ptr<IHTMLReport> writer = factory.CreateHTMLReport();
    writeReport(*writer);
    const std::unique_ptr<IReportSupport> support = factory.CreateReportSupport();
    std::string reportText;
    Check(writer->GetReportText(reportText));
    std::string supportText;
    Check(support->GetSupportText(supportText));
    std::string prepared;
    Check(support->PrepareReport(reportText + supportText, caption, prepared));
    return prepared;
}

void ShowAssistantReport(IComponentFactory& factory, QWidget* owner, const std::string& caption,
                         const std::function<void(IHTMLReport&)>& writeReport) {
    // The writer and support objects are released before the viewer is made: the viewer only needs the
    // prepared text.
    const std::string prepared = PrepareAssistantReport(factory, caption, writeReport);
    const std::unique_ptr<IReportViewer> viewer = factory.CreateReportViewer();
    Check(viewer->ShowReport(owner, caption, prepared, 0));
}
