#include "components/reportsupport.h"

#include <gtest/gtest.h>

#include "components/htmlreportwriter.h"
#include "support/versioninfo.h"
#include "tests/core/htmlcheck.h"

namespace {
std::tm FixedTime(int year, int month, int day, int hour, int minute) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    return t;
}

void ExpectClean(const HtmlCheck& check) {
    for (const auto& e : check.Errors)
        ADD_FAILURE() << e;
    for (const auto& d : check.DanglingLinks())
        ADD_FAILURE() << "dangling link " << d;
}
} // namespace

TEST(ReportSupport, DateTimeTextIsPaddedAndLocaleFree) {
    struct Case {
        std::tm t;
        const char* text;
    };
    const Case cases[] = {
        {FixedTime(2026, 3, 4, 9, 5), "2026-03-04 09:05"},
        {FixedTime(1999, 12, 31, 23, 59), "1999-12-31 23:59"},
        {FixedTime(2005, 1, 1, 0, 0), "2005-01-01 00:00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReportSupport::DateTimeText(c.t), c.text);
}

TEST(ReportSupport, SupportTextNamesProgramVersionBuildAndDate) {
    ReportSupport support("", [] { return FixedTime(2026, 3, 4, 9, 5); });
    std::string text;
    ASSERT_TRUE(support.GetSupportText(text).Ok);
    const TVersionRecord record = TVersionInformation::OfProgram("");
    for (const std::string& part :
         {std::string("2026-03-04 09:05"), std::string("Assistant Editor 2.0 (build 23)"), record.ProductName,
          record.ProductVersion, record.LegalNotice})
        EXPECT_NE(text.find(part), std::string::npos) << part << " missing in " << text;
    const HtmlCheck check = CheckHtml(text);
    ExpectClean(check);
    EXPECT_EQ(check.Count("footer"), 1);
}

TEST(ReportSupport, SupportTextFollowsTheClock) {
    int calls = 0;
    ReportSupport support("", [&] { return FixedTime(2020, 1, 2 + calls++, 10, 0); });
    std::string first, second;
    Check(support.GetSupportText(first));
    Check(support.GetSupportText(second));
    EXPECT_NE(first.find("2020-01-02 10:00"), std::string::npos);
    EXPECT_NE(second.find("2020-01-03 10:00"), std::string::npos);
}

TEST(ReportSupport, PreparedReportIsACompleteDocument) {
    ReportSupport support("");
    std::string doc;
    ASSERT_TRUE(support.PrepareReport("<section>\n<h1>Body</h1>\n</section>\n", "Printer & <Help>", doc).Ok);
    EXPECT_EQ(doc.rfind("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">", 0), 0u);
    EXPECT_NE(doc.find("<title>Printer &amp; &lt;Help&gt;</title>"), std::string::npos);
    EXPECT_NE(doc.find("<style>\n"), std::string::npos);
    EXPECT_NE(doc.find("@media print"), std::string::npos);
    EXPECT_NE(doc.find("<main>\n<section>\n<h1>Body</h1>\n</section>\n</main>"), std::string::npos);
    EXPECT_EQ(doc.substr(doc.size() - 8), "</html>\n");
    const HtmlCheck check = CheckHtml(doc);
    ExpectClean(check);
    EXPECT_EQ(check.Count("html"), 1);
    EXPECT_EQ(check.Count("head"), 1);
    EXPECT_EQ(check.Count("body"), 1);
    EXPECT_EQ(check.Count("title"), 1);
}

TEST(ReportSupport, BlankTitleGivesADefaultDocumentTitle) {
    for (const std::string title : {"", "  ", "\t\n"}) {
        ReportSupport support("");
        std::string doc;
        Check(support.PrepareReport("x", title, doc));
        EXPECT_NE(doc.find("<title>Assistant report</title>"), std::string::npos)
            << "title '" << title << "'";
    }
}

TEST(ReportSupport, WrittenReportWithFooterPreparesToWellFormedDocument) {
    HtmlReportWriter writer;
    Check(writer.BeginSection("Report on Assistant: A1: <Help>"));
    Check(writer.AddTag("A name=\"A1\""));
    Check(writer.BeginTable(0, -1));
    Check(writer.BeginRow());
    Check(writer.AddLabelCell("First screen", 0));
    Check(writer.BeginCell());
    Check(writer.AddTag("a href=\"#a1\""));
    Check(writer.AddText("A1"));
    Check(writer.AddTag("/a"));
    Check(writer.EndCell());
    Check(writer.EndRow());
    Check(writer.EndTable());
    Check(writer.EndSection());
    ReportSupport support("", [] { return FixedTime(2026, 1, 1, 12, 0); });
    std::string report, footer, doc;
    Check(writer.GetReportText(report));
    Check(support.GetSupportText(footer));
    Check(support.PrepareReport(report + footer, "<Help>", doc));
    const HtmlCheck check = CheckHtml(doc);
    ExpectClean(check);
    EXPECT_EQ(check.LinkTargets, std::vector<std::string>{"#a1"});
    EXPECT_NE(check.Text.find("Report on Assistant: A1: <Help>"), std::string::npos);
    EXPECT_NE(check.Text.find("2026-01-01 12:00"), std::string::npos);
}
