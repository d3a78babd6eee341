#include "components/reportsupport.h"

#include <charconv>

#include "support/htmltext.h"
#include "support/versioninfo.h"

namespace {
void AppendNumber(std::string& out, int value, int width) {
    char buffer[16];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    const std::string digits(buffer, ec == std::errc() ? end : buffer);
    for (int pad = width - static_cast<int>(digits.size()); pad > 0; --pad)
        out += '0';
    out += digits;
}

std::string ProgramLine(const TVersionRecord& record) {
    return record.Description + " " + record.Version + " (build " + record.Build + ")";
}
} // namespace

ReportSupport::ReportSupport(std::string programPath, Clock clock)
    : m_programPath(std::move(programPath)), m_clock(clock ? std::move(clock) : Clock(LocalNow)) {}

std::tm ReportSupport::LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

std::string ReportSupport::DateTimeText(const std::tm& t) {
    std::string text;
    AppendNumber(text, t.tm_year + 1900, 4);
    text += '-';
    AppendNumber(text, t.tm_mon + 1, 2);
    text += '-';
    AppendNumber(text, t.tm_mday, 2);
    text += ' ';
    AppendNumber(text, t.tm_hour, 2);
    text += ':';
    AppendNumber(text, t.tm_min, 2);
    return text;
}

ComponentStatus ReportSupport::GetSupportText(std::string& text) {
    const TVersionRecord record = TVersionInformation::OfProgram(m_programPath);
    text = "<footer class=\"report-support\">\n<p>Report made on " + HtmlEscaped(DateTimeText(m_clock())) +
           " by " + HtmlEscaped(ProgramLine(record)) + ", " +
           HtmlEscaped(record.ProductName + " " + record.ProductVersion) + ".</p>\n";
    if (!record.LegalNotice.empty())
        text += "<p>" + HtmlEscaped(record.LegalNotice) + "</p>\n";
    text += "</footer>\n";
    return ComponentStatus::Success();
}

ComponentStatus ReportSupport::PrepareReport(const std::string& text, const std::string& title,
                                             std::string& result) {
    // A document title may not be empty.
    const bool blankTitle = title.find_first_not_of(" \t\r\n") == std::string::npos;
    const TVersionRecord record = TVersionInformation::OfProgram(m_programPath);
    result = "<!DOCTYPE html>\n"
             "<html lang=\"en\">\n"
             "<head>\n"
             "<meta charset=\"utf-8\">\n"
             "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
             "<meta name=\"generator\" content=\"" +
             HtmlEscaped(ProgramLine(record)) +
             "\">\n"
             "<title>" +
             HtmlEscaped(blankTitle ? std::string("Assistant report") : title) +
             "</title>\n"
             "<style>\n" +
             StyleSheet() +
             "</style>\n"
             "</head>\n"
             "<body>\n"
             "<main>\n" +
             text +
             "</main>\n"
             "</body>\n"
             "</html>\n";
    return ComponentStatus::Success();
}

const char* ReportSupport::StyleSheet() {
    return "body { font-family: \"Segoe UI\", \"DejaVu Sans\", Arial, sans-serif; font-size: 11pt;\n"
           "       line-height: 1.4; color: #1a1a1a; background: #ffffff; margin: 1.5em auto;\n"
           "       max-width: 60em; padding: 0 1em; }\n"
           "h1 { font-size: 1.6em; border-bottom: 2px solid #3a5f8a; padding-bottom: 0.2em; }\n"
           "h2 { font-size: 1.3em; color: #3a5f8a; margin-top: 1.6em; }\n"
           "h3, h4, h5, h6 { font-size: 1.1em; }\n"
           "table { border-collapse: collapse; width: 100%; margin: 0.6em 0 1em 0; }\n"
           "th, td { border: 1px solid #b8c4d0; padding: 0.3em 0.5em; vertical-align: top; text-align: left; "
           "}\n"
           "th { background: #e8eef5; width: 12em; font-weight: bold; }\n"
           "a { color: #1f4e8c; }\n"
           "footer { margin-top: 2em; border-top: 1px solid #b8c4d0; font-size: 0.85em; color: #555555; }\n"
           "@media print {\n"
           "  body { margin: 0; max-width: none; font-size: 10pt; }\n"
           "  h1, h2, h3 { break-after: avoid; page-break-after: avoid; }\n"
           "  tr { break-inside: avoid; page-break-inside: avoid; }\n"
           "  th { background: #eeeeee; }\n"
           "  a { color: inherit; text-decoration: none; }\n"
           "}\n";
}
