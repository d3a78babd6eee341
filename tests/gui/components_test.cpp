// The Qt components on the offscreen platform: the report window with its links and file actions,
// the About box, and the factory's creation rules. Dialogs are answered by a scripted seam.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "components/htmlreportwriter.h"
#include "components/qt/aboutbox.h"
#include "components/qt/qtcomponentfactory.h"
#include "components/qt/reportviewer.h"
#include "components/qt/reportwindow.h"
#include "components/reportsupport.h"
#include "support/error.h"
#include "support/htmltext.h"
#include "support/reportchain.h"
#include "support/versioninfo.h"
#include "tests/core/htmlcheck.h"
#include "tests/core/recordingassistant.h"

namespace {
// Answers every question from the script set by the test and records what was asked.
class ScriptedDialogs final : public UserDialogs {
public:
    QString SaveName;    // answer to the file question; empty = cancel
    QString PrintToFile; // the "printer" writes a PDF here; empty = cancel
    bool OpenUrlSucceeds = true;
    std::function<void(QDialog&)> OnDialog;
    std::vector<QString> Asked; // captions of file questions
    std::vector<QString> Errors;
    std::vector<QUrl> OpenedUrls;

    QString AskSaveFileName(QWidget*, const QString& caption, const QString& suggested,
                            const QString&) override {
        Asked.push_back(caption);
        LastSuggested = suggested;
        return SaveName;
    }
    bool AskPrinter(QWidget*, QPrinter& printer) override {
        if (PrintToFile.isEmpty())
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(PrintToFile);
        return true;
    }
    void ShowError(QWidget*, const QString&, const QString& message) override { Errors.push_back(message); }
    int RunDialog(QDialog& dialog) override {
        if (OnDialog)
            OnDialog(dialog);
        return QDialog::Accepted;
    }
    bool OpenUrl(const QUrl& url) override {
        OpenedUrls.push_back(url);
        return OpenUrlSucceeds;
    }
    QString LastSuggested;
};

// A report as the assistant writes it: the assistant with a link to its first screen, then many
// screens (so that the window must scroll), one of them with an ID typed to inject markup.
std::string PreparedReport(const std::string& caption) {
    const std::string evilId = "x\" onmouseover=\"alert(1)";
    HtmlReportWriter r;
    Check(r.BeginSection("Report on Assistant: A1: " + caption));
    Check(r.AddTag("A name=\"A1\""));
    Check(r.BeginTable(0, -1));
    Check(r.BeginRow());
    Check(r.AddLabelCell("First screen", 0));
    Check(r.BeginCell());
    Check(r.AddTag("a href=\"#" + evilId + "\""));
    Check(r.AddText(evilId + ": <script>alert(2)</script>"));
    Check(r.AddTag("/a"));
    Check(r.EndCell());
    Check(r.EndRow());
    Check(r.EndTable());
    for (int i = 1; i <= 30; ++i) {
        const std::string id = i == 30 ? evilId : "S" + std::to_string(i);
        Check(r.BeginSection("Screen: " + id + ": Caption " + std::to_string(i)));
        Check(r.AddTag("A name=\"" + id + "\""));
        Check(r.BeginTable(0, -1));
        Check(r.BeginRow());
        Check(r.AddLabelCell("Option", 0));
        Check(r.BeginCell());
        Check(r.AddText("Goto "));
        Check(r.AddTag("A href=\"#s" + std::to_string(i % 29 + 1) + "\""));
        Check(r.AddText("next"));
        Check(r.AddTag("/A"));
        Check(r.EndCell());
        Check(r.EndRow());
        Check(r.EndTable());
        Check(r.EndSection());
    }
    Check(r.EndSection());
    ReportSupport support("");
    std::string text, footer, prepared;
    Check(r.GetReportText(text));
    Check(support.GetSupportText(footer));
    Check(support.PrepareReport(text + footer, caption, prepared));
    return prepared;
}

class ReportViewerTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dialogs = std::make_shared<ScriptedDialogs>();
        m_factory = std::make_unique<QtComponentFactory>(m_dialogs);
        m_owner = std::make_unique<QWidget>();
        m_owner->show();
    }

    ReportWindow* Show(const std::string& caption) {
        auto viewer = m_factory->CreateReportViewer();
        Check(viewer->ShowReport(m_owner.get(), caption, PreparedReport(caption), 0));
        viewer.reset(); // the window outlives the component
        auto windows = m_owner->findChildren<ReportWindow*>();
        EXPECT_EQ(windows.size(), 1);
        return windows.isEmpty() ? nullptr : windows.back();
    }

    static void Trigger(ReportWindow* window, const char* action) {
        auto* a = window->findChild<QAction*>(QString::fromLatin1(action));
        ASSERT_NE(a, nullptr) << action;
        a->trigger();
    }

    static QByteArray ReadFile(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    std::shared_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<QtComponentFactory> m_factory;
    std::unique_ptr<QWidget> m_owner;
    QTemporaryDir m_dir;
};
} // namespace

TEST_F(ReportViewerTest, ShowsTheReportInAWindowOwnedByTheOwnerWithTheCaption) {
    ReportWindow* window = Show("Printer help");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->parentWidget(), m_owner.get());
    EXPECT_TRUE(window->isWindow());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "Printer help");
    QTextBrowser* browser = window->findChild<QTextBrowser*>("reportBrowser");
    ASSERT_NE(browser, nullptr);
    const QString shown = browser->toPlainText();
    EXPECT_TRUE(shown.contains("Report on Assistant: A1: Printer help"));
    EXPECT_TRUE(shown.contains("Screen: S29: Caption 29"));
    EXPECT_TRUE(shown.contains("<script>alert(2)</script>")); // shown as text
    EXPECT_TRUE(shown.contains("Assistant Editor 2.0 (build 23)"));
    EXPECT_EQ(browser->document()->metaInformation(QTextDocument::DocumentTitle), "Printer help");
    // The window closes with its owner.
    QPointer<ReportWindow> guard(window);
    m_owner.reset();
    EXPECT_TRUE(guard.isNull());
}

TEST_F(ReportViewerTest, EveryLinkResolvesToAnAnchorOfTheDocument) {
    ReportWindow* window = Show("Links");
    ASSERT_NE(window, nullptr);
    std::set<QString> anchors;
    std::vector<QString> links;
    for (QTextBlock block = window->Browser()->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            for (const QString& name : format.anchorNames())
                anchors.insert(name);
            if (!format.anchorHref().isEmpty())
                links.push_back(format.anchorHref());
        }
    }
    EXPECT_EQ(links.size(), 31u);
    EXPECT_GE(anchors.size(), 31u);
    for (const QString& link : links) {
        SCOPED_TRACE(link.toStdString());
        ASSERT_TRUE(link.startsWith('#'));
        EXPECT_TRUE(anchors.count(link.mid(1))) << "no anchor for " << link.toStdString();
    }
    EXPECT_TRUE(anchors.count(QString::fromStdString(HtmlAnchorId("x\" onmouseover=\"alert(1)"))));
}

TEST_F(ReportViewerTest, ClickingALinkScrollsToItsAnchorAndWebLinksGoToTheBrowser) {
    ReportWindow* window = Show("Scrolling");
    ASSERT_NE(window, nullptr);
    window->resize(500, 300);
    QApplication::processEvents();
    QScrollBar* bar = window->Browser()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), 0);
    Q_EMIT window->Browser()->anchorClicked(QUrl("#s20"));
    const int atScreen20 = bar->value();
    EXPECT_GT(atScreen20, 0);
    Q_EMIT window->Browser()->anchorClicked(QUrl("#a1"));
    EXPECT_LT(bar->value(), atScreen20);
    EXPECT_TRUE(m_dialogs->OpenedUrls.empty());
    Q_EMIT window->Browser()->anchorClicked(QUrl("https://example.com/help"));
    Q_EMIT window->Browser()->anchorClicked(QUrl("file:///etc/passwd")); // ignored
    ASSERT_EQ(m_dialogs->OpenedUrls.size(), 1u);
    EXPECT_EQ(m_dialogs->OpenedUrls[0], QUrl("https://example.com/help"));
}

TEST_F(ReportViewerTest, SaveAsHtmlWritesThePreparedDocument) {
    ReportWindow* window = Show("Printer: help?");
    ASSERT_NE(window, nullptr);
    m_dialogs->SaveName = m_dir.filePath("saved"); // no extension: .html is added
    Trigger(window, "aSaveAsHtml");
    EXPECT_TRUE(m_dialogs->LastSuggested.endsWith("Printer_ help_.html"))
        << m_dialogs->LastSuggested.toStdString();
    const QByteArray saved = ReadFile(m_dir.filePath("saved.html"));
    EXPECT_EQ(saved.toStdString(), window->PreparedText());
    const HtmlCheck check = CheckHtml(saved.toStdString());
    EXPECT_EQ(check.Errors, std::vector<std::string>{});
    EXPECT_EQ(check.DanglingLinks(), std::vector<std::string>{});
    EXPECT_EQ(check.Count("section"), 31);
    EXPECT_TRUE(m_dialogs->Errors.empty());

    // Cancelling writes nothing; an unwritable place gives a message.
    m_dialogs->SaveName.clear();
    EXPECT_FALSE(window->SaveAsHtml());
    m_dialogs->SaveName = m_dir.filePath("no/such/folder/r.html");
    EXPECT_FALSE(window->SaveAsHtml());
    ASSERT_EQ(m_dialogs->Errors.size(), 1u);
    EXPECT_TRUE(m_dialogs->Errors[0].contains("could not be saved")) << m_dialogs->Errors[0].toStdString();
}

TEST_F(ReportViewerTest, ExportsAndPrintsToPdf) {
    // The owner's folders: the dialog starts in the folder given, and the file written is told back.
    std::vector<QString> remembered;
    m_factory->SetReportFolders({[this] { return m_dir.path(); },
                                 [&remembered](const QString& path) { remembered.push_back(path); }});
    ReportWindow* window = Show("Pdf");
    ASSERT_NE(window, nullptr);
    m_dialogs->SaveName = m_dir.filePath("report.pdf");
    Trigger(window, "aExportPdf");
    EXPECT_TRUE(ReadFile(m_dir.filePath("report.pdf")).startsWith("%PDF"));
    EXPECT_EQ(m_dialogs->LastSuggested, m_dir.filePath("Pdf.pdf"));
    EXPECT_EQ(remembered, std::vector<QString>{m_dir.filePath("report.pdf")});

    m_dialogs->PrintToFile = m_dir.filePath("printed.pdf");
    Trigger(window, "aPrint");
    EXPECT_TRUE(ReadFile(m_dir.filePath("printed.pdf")).startsWith("%PDF"));

    m_dialogs->PrintToFile.clear();
    EXPECT_FALSE(window->Print());
    m_dialogs->SaveName.clear();
    EXPECT_FALSE(window->ExportPdf());
    EXPECT_TRUE(m_dialogs->Errors.empty());
    EXPECT_EQ(remembered.size(), 1u) << "a cancelled export keeps no folder";
}

TEST_F(ReportViewerTest, OpenInBrowserHandsOverATemporaryCopy) {
    ReportWindow* window = Show("Browser");
    ASSERT_NE(window, nullptr);
    Trigger(window, "aOpenInBrowser");
    ASSERT_EQ(m_dialogs->OpenedUrls.size(), 1u);
    const QUrl url = m_dialogs->OpenedUrls[0];
    ASSERT_TRUE(url.isLocalFile());
    EXPECT_TRUE(url.toLocalFile().endsWith(".html"));
    EXPECT_EQ(ReadFile(url.toLocalFile()).toStdString(), window->PreparedText());
    QFile::remove(url.toLocalFile());
    EXPECT_TRUE(m_dialogs->Errors.empty());

    m_dialogs->OpenUrlSucceeds = false;
    EXPECT_FALSE(window->OpenInBrowser());
    ASSERT_EQ(m_dialogs->Errors.size(), 1u);
    QFile::remove(m_dialogs->OpenedUrls.back().toLocalFile());
}

TEST_F(ReportViewerTest, ReportChainShowsTheWrittenReport) {
    ShowAssistantReport(*m_factory, m_owner.get(), "Chain", [](IHTMLReport& r) {
        Check(r.BeginSection("Report on Assistant: A1: Chain"));
        Check(r.EndSection());
    });
    auto windows = m_owner->findChildren<ReportWindow*>();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_EQ(windows[0]->windowTitle(), "Chain");
    EXPECT_TRUE(windows[0]->Browser()->toPlainText().contains("Report on Assistant: A1: Chain"));
}

TEST(AboutBox, ShowsProgramVersionProductLegalNoticeAndQtVersion) {
    auto dialogs = std::make_shared<ScriptedDialogs>();
    QWidget owner;
    QtComponentFactory factory(dialogs);
    const TVersionRecord record = TVersionInformation::OfProgram("");
    bool shown = false;
    dialogs->OnDialog = [&](QDialog& box) {
        shown = true;
        EXPECT_EQ(box.objectName(), "AboutBox");
        EXPECT_EQ(box.parentWidget(), &owner);
        EXPECT_EQ(box.windowTitle(), "About Assistant Editor");
        const auto text = [&](const char* name) {
            auto* label = box.findChild<QLabel*>(name);
            return label ? label->text() : QString("<missing %1>").arg(name);
        };
        EXPECT_EQ(text("lProgram"), "Assistant Editor");
        EXPECT_EQ(text("lVersion"), "Version 2.0 (build 23)");
        EXPECT_TRUE(text("lProduct").contains(QString::fromStdString(record.ProductName)));
        EXPECT_TRUE(text("lProduct").contains(QString::fromStdString(record.ProductVersion)));
        EXPECT_EQ(text("lLegal"), QString::fromStdString(record.LegalNotice));
        EXPECT_TRUE(text("lQt").contains(QString::fromLatin1(qVersion())));
        EXPECT_EQ(text("lFile"), QCoreApplication::applicationFilePath());
    };
    auto about = factory.CreateCDSupport();
    Check(about->ShowAbout(&owner, "", 0));
    EXPECT_TRUE(shown);
    about.reset();
    EXPECT_TRUE(owner.findChildren<QDialog*>().isEmpty()); // the box is gone once closed
}

TEST(QtComponentFactory, CreationRules) {
    // Windows need a running widget application.
    try {
        RequireWidgetApplication(nullptr, "report viewer");
        ADD_FAILURE() << "no error raised";
    } catch (const AppError& e) {
        EXPECT_STREQ(e.what(), "The report viewer cannot be shown: no graphical display is available.");
    }
    EXPECT_NO_THROW(RequireWidgetApplication(QCoreApplication::instance(), "report viewer"));

    QtComponentFactory factory;
    EXPECT_NE(factory.CreateHTMLReport(), nullptr);
    EXPECT_NE(factory.CreateReportSupport(), nullptr);
    EXPECT_NE(factory.CreateFindFile(), nullptr);
    EXPECT_NE(factory.CreateReportViewer(), nullptr);
    EXPECT_NE(factory.CreateCDSupport(), nullptr);
    try {
        factory.CreateAssistant();
        ADD_FAILURE() << "no error raised";
    } catch (const AppError& e) {
        EXPECT_STREQ(e.what(), "The assistant runtime is not installed.");
    }
    auto log = MakeCallLog();
    factory.SetAssistantCreator([log] { return std::make_unique<RecordingAssistant>(log); });
    auto assistant = factory.CreateAssistant();
    Check(assistant->Run(nullptr, kRunShowOwned));
    EXPECT_EQ(log->Lines(), std::vector<std::string>{"Run(2)"});
    factory.SetAssistantCreator([] { return std::unique_ptr<IAssistant>(); });
    EXPECT_THROW(factory.CreateAssistant(), AppError);
}
