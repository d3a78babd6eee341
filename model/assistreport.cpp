// The model's items writing themselves into the HTML report writer.
//
// TODO(report): every body below is a placeholder that throws. The report content (sections, tables,
// rows and texts of the assistant, its screens, options and notes) is still to be written here against
// the report writer interface. Until then no report can be produced.
#include "model/assistroot.h"
#include "support/error.h"

namespace {
[[noreturn]] void ReportMissing() {
    throw AppError("The assistant report is not available yet.");
}
} // namespace

void TAssistRoot::WriteReport(IHTMLReport&) const {
    ReportMissing();
}

void TAssistScreen::WriteReport(IHTMLReport&) const {
    ReportMissing();
}

void TAssistOption::WriteReport(IHTMLReport&) const {
    ReportMissing();
}

void TNote::WriteReport(IHTMLReport&) const {
    ReportMissing();
}

void TNotes::WriteReport(IHTMLReport&) const {
    ReportMissing();
}
