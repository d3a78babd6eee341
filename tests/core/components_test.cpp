#include "support/components.h"

#include <gtest/gtest.h>

#include "components/corecomponentfactory.h"
#include "support/error.h"
#include "support/reportchain.h"
#include "tests/core/fakecomponents.h"
#include "tests/core/htmlcheck.h"

namespace {
QWidget* const kOwner = reinterpret_cast<QWidget*>(0x1000); // never dereferenced by the chain

std::vector<std::string> Released(const CallLog& log) {
    std::vector<std::string> released;
    for (const auto& line : log.Lines())
        if (line.rfind("~", 0) == 0)
            released.push_back(line.substr(1));
    return released;
}

std::vector<std::string> Created(const CallLog& log) {
    std::vector<std::string> created;
    for (const auto& line : log.Lines())
        if (line.rfind("Create", 0) == 0)
            created.push_back(line.substr(6));
    return created;
}

// The model's part of the report: two calls into the writer.
void WriteTwoCalls(IHTMLReport& report) {
    Check(report.BeginSection("Report on Assistant: A1: x"));
    Check(report.EndSection());
}
} // namespace

TEST(ComponentStatus, CheckRaisesTheComponentsMessage) {
    EXPECT_NO_THROW(Check(ComponentStatus::Success()));
    try {
        Check(ComponentStatus::Failure("Class not registered"));
        FAIL() << "no error raised";
    } catch (const AppError& e) {
        EXPECT_STREQ(e.what(), "Class not registered");
    }
    try {
        Check(ComponentStatus::Failure(""));
        FAIL() << "no error raised";
    } catch (const AppError& e) {
        EXPECT_STRNE(e.what(), "");
    }
}

TEST(ReportChain, CallsTheComponentsInOrderAndReleasesThem) {
    FakeComponentFactory factory;
    factory.ReportText = "<p>R</p>";
    ShowAssistantReport(factory, kOwner, "Printer help", WriteTwoCalls);
    const std::vector<std::string> expected = {
        "CreateHTMLReport",
        "BeginSection(Report on Assistant: A1: x)",
        "EndSection()",
        "CreateReportSupport",
        "GetReportText()",
        "GetSupportText()",
        "PrepareReport(<p>R</p><footer>support</footer>, Printer help)",
        "~ReportSupport",
        "~HTMLReport",
        "CreateReportViewer",
        "ShowReport(owner, Printer help, prepared[<p>R</p><footer>support</footer>], 0)",
        "~ReportViewer",
    };
    EXPECT_EQ(factory.Log->Lines(), expected);
}

TEST(ReportChain, AnyFailureStopsTheChainWithTheMessageAndReleasesEverything) {
    struct Case {
        const char* failCall;     // a component call that fails, or
        const char* failCreation; // a component that cannot be created
        const char* lastLine;     // the last call made before the chain stopped
    };
    const Case cases[] = {
        {"", "HTMLReport", "CreateHTMLReport"},
        {"BeginSection", "", "BeginSection(Report on Assistant: A1: x)"},
        {"", "ReportSupport", "CreateReportSupport"},
        {"GetReportText", "", "GetReportText()"},
        {"GetSupportText", "", "GetSupportText()"},
        {"PrepareReport", "", "PrepareReport(<p>report</p><footer>support</footer>, T)"},
        {"", "ReportViewer", "CreateReportViewer"},
        {"ShowReport", "", "ShowReport(owner, T, prepared[<p>report</p><footer>support</footer>], 0)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.failCall) + c.failCreation);
        FakeComponentFactory factory;
        if (*c.failCall)
            factory.Log->FailOn(c.failCall, "Component said no");
        else
            factory.FailCreate(c.failCreation, "Class not registered");
        try {
            ShowAssistantReport(factory, kOwner, "T", WriteTwoCalls);
            ADD_FAILURE() << "no error raised";
        } catch (const AppError& e) {
            EXPECT_STREQ(e.what(), *c.failCall ? "Component said no" : "Class not registered");
        }
        const auto& lines = factory.Log->Lines();
        // Nothing is called after the failing step; only releases follow it.
        auto last = std::find(lines.begin(), lines.end(), c.lastLine);
        ASSERT_NE(last, lines.end());
        for (auto it = last + 1; it != lines.end(); ++it)
            EXPECT_EQ(it->rfind("~", 0), 0u) << *it;
        // Every object that was made is released; a failed creation made none.
        auto created = Created(*factory.Log);
        if (*c.failCreation)
            created.pop_back();
        auto released = Released(*factory.Log);
        std::sort(created.begin(), created.end());
        std::sort(released.begin(), released.end());
        EXPECT_EQ(created, released);
        // No report reaches the user after any failure but the viewer's own.
        const bool shown = std::any_of(lines.begin(), lines.end(),
                                       [](const std::string& l) { return l.rfind("ShowReport", 0) == 0; });
        EXPECT_EQ(shown, std::string(c.failCall) == "ShowReport");
    }
}

TEST(RecordingFakes, RecordEveryCallAndTheirRelease) {
    auto log = MakeCallLog();
    {
        RecordingReport report(log);
        Check(report.BeginTable(0, -1));
        Check(report.AddLabelCell("Author", 0));
        Check(report.AddTag("A name=\"A1\""));
        log->FailOn("AddCell", "full");
        const ComponentStatus failed = report.AddCell("v");
        EXPECT_FALSE(failed.Ok);
        EXPECT_EQ(failed.Message, "full");
        EXPECT_TRUE(report.AddCell("w").Ok); // fails once only
        RecordingAssistant assistant(log);
        Check(assistant.LoadAssistantText("<ASSISTANT/>"));
        Check(assistant.SetInitialScreen("S2"));
        Check(assistant.Run(kOwner, kRunShowOwned));
        EXPECT_EQ(assistant.LoadedText, "<ASSISTANT/>");
        EXPECT_EQ(assistant.Owner, kOwner);
    }
    const std::vector<std::string> expected = {
        "BeginTable(0, -1)",
        "AddLabelCell(Author, 0)",
        "AddTag(A name=\"A1\")",
        "AddCell(v)",
        "AddCell(w)",
        "LoadAssistantText(12 bytes)",
        "SetInitialScreen(S2)",
        "Run(2)",
        "~Assistant",
        "~HTMLReport",
    };
    EXPECT_EQ(log->Lines(), expected);
}

TEST(CoreComponentFactory, MakesTheWindowlessComponentsAndRefusesTheOthers) {
    CoreComponentFactory factory;
    auto writer = factory.CreateHTMLReport();
    auto support = factory.CreateReportSupport();
    auto finder = factory.CreateFindFile();
    ASSERT_TRUE(writer && support && finder);
    Check(writer->BeginSection("A & B"));
    std::string text, doc;
    Check(writer->GetReportText(text));
    Check(support->PrepareReport(text, "A & B", doc));
    EXPECT_TRUE(CheckHtml(doc).Errors.empty());
    struct Case {
        const char* what;
        std::function<void()> create;
    };
    const Case cases[] = {
        {"report viewer", [&] { factory.CreateReportViewer(); }},
        {"assistant runtime", [&] { factory.CreateAssistant(); }},
        {"About box", [&] { factory.CreateCDSupport(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            c.create();
            ADD_FAILURE() << "created";
        } catch (const AppError& e) {
            EXPECT_NE(std::string(e.what()).find(c.what), std::string::npos) << e.what();
        }
    }
}
