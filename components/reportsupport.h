#pragma once
// Report support: the footer that ends every report (program, version, build and the date of the
// report) and the preparation of a report text as a complete HTML5 document with its own style sheet.
#include <ctime>
#include <functional>
#include <string>

#include "support/components.h"

class ReportSupport final : public IReportSupport {
public:
    // Gives the local date and time of "now"; tests pass a fixed one.
    using Clock = std::function<std::tm()>;

    // programPath: the running program's file (may be empty), for its version record.
    explicit ReportSupport(std::string programPath, Clock clock = LocalNow);

    ComponentStatus PrepareReport(const std::string& text, const std::string& title,
                                  std::string& result) override;
    ComponentStatus GetSupportText(std::string& text) override;

    static std::tm LocalNow();
    // "YYYY-MM-DD HH:MM", independent of the locale.
    static std::string DateTimeText(const std::tm& t);
    // The style sheet embedded in every prepared report.
    static const char* StyleSheet();

private:
    std::string m_programPath;
    Clock m_clock;
};
