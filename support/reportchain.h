#pragma once
// The report chain of the Report command: write the report, complete it, prepare it and show it,
// through the outside components. Each object lives only for this one call and is released on every
// path; the first failing call or creation stops the chain with an AppError.
#include <functional>
#include <string>

#include "support/components.h"

// writeReport writes the document into the given writer (the assistant's WriteReport; the caller
// shows its busy cursor inside it). The order of the calls:
//   create writer; writeReport; create support; GetReportText; GetSupportText; join (report first);
//   PrepareReport(joined, caption); create viewer; ShowReport(owner, caption, prepared, 0).
void ShowAssistantReport(IComponentFactory& factory, QWidget* owner, const std::string& caption,
                         const std::function<void(IHTMLReport&)>& writeReport);

// The first half of the chain, without a viewer: create writer; writeReport; create support;
// GetReportText; GetSupportText; join (report first); PrepareReport(joined, caption). Returns the
// prepared text (for the core support, the complete HTML document). The writer and support objects
// are released before it returns. amftool writes this text to a file.
std::string PrepareAssistantReport(IComponentFactory& factory, const std::string& caption,
                                   const std::function<void(IHTMLReport&)>& writeReport);
