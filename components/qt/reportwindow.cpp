#include "components/qt/reportwindow.h"

#include "support/qt/mailaddress.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QPrinter>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>

namespace {
const QString kHtmlFilter = QStringLiteral("HTML files (*.html *.htm);;All files (*)");
const QString kPdfFilter = QStringLiteral("PDF files (*.pdf);;All files (*)");

// A file name made from the report title: characters that file systems refuse become '_'.
QString FileNameFromTitle(const QString& title) {
    QString name;
    for (const QChar c : title)
        name += (c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c)) ? QChar('_') : c;
    name = name.trimmed();
    return name.isEmpty() ? QStringLiteral("report") : name;
}

// Adds the extension when the chosen name has none.
QString WithExtension(const QString& path, const QString& extension) {
    return QFileInfo(path).suffix().isEmpty() ? path + extension : path;
}
} // namespace

ReportWindow::ReportWindow(QWidget* owner, const QString& title, std::string prepared,
                           std::shared_ptr<UserDialogs> dialogs, ReportFolders folders)
    : QMainWindow(owner, Qt::Window), m_prepared(std::move(prepared)), m_title(title),
      m_dialogs(std::move(dialogs)), m_folders(std::move(folders)) {
    setObjectName(QStringLiteral("ReportWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(title.trimmed().isEmpty() ? QStringLiteral("Assistant report") : title);
    resize(800, 700);

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("reportBrowser"));
    // Links are followed here: inside the report they scroll to their anchor, web links go to the
    // desktop's browser, anything else is ignored.
    m_browser->setOpenLinks(false);
    m_browser->setOpenExternalLinks(false);
    m_browser->setHtml(QString::fromStdString(m_prepared));
    setCentralWidget(m_browser);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &ReportWindow::FollowLink);

    const auto makeAction = [this](const char* name, const QString& text, const QString& tip, auto handler) {
        auto* action = new QAction(text, this);
        action->setObjectName(QString::fromLatin1(name));
        action->setStatusTip(tip);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    QAction* aSaveAsHtml = makeAction("aSaveAsHtml", tr("Save as &HTML..."),
                                      tr("Save the report as an HTML file"), [this] { SaveAsHtml(); });
    aSaveAsHtml->setShortcut(QKeySequence::Save);
    QAction* aPrint = makeAction("aPrint", tr("&Print..."), tr("Print the report"), [this] { Print(); });
    aPrint->setShortcut(QKeySequence::Print);
    QAction* aExportPdf = makeAction("aExportPdf", tr("Export to P&DF..."),
                                     tr("Save the report as a PDF file"), [this] { ExportPdf(); });
    QAction* aOpenInBrowser =
        makeAction("aOpenInBrowser", tr("Open in web &browser"), tr("Show the report in the web browser"),
                   [this] { OpenInBrowser(); });
    QAction* aClose = makeAction("aClose", tr("&Close"), tr("Close the report"), [this] { close(); });
    aClose->setShortcut(QKeySequence::Close);

    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addActions({aSaveAsHtml, aPrint, aExportPdf, aOpenInBrowser});
    file->addSeparator();
    file->addAction(aClose);
    QToolBar* tools = addToolBar(tr("Report"));
    tools->setObjectName(QStringLiteral("reportToolBar"));
    tools->addActions({aSaveAsHtml, aPrint, aExportPdf, aOpenInBrowser});
}

void ReportWindow::FollowLink(const QUrl& url) {
    if (url.scheme().isEmpty() && url.path().isEmpty() && url.hasFragment()) {
        m_browser->scrollToAnchor(url.fragment());
        return;
    }
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
        scheme == QLatin1String("mailto"))
        m_dialogs->OpenUrl(WithoutMailAttachments(url));
}

QString ReportWindow::SuggestedPath(const QString& extension) const {
    QString folder = m_folders.StartFolder ? m_folders.StartFolder() : QString();
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    return QDir(folder).filePath(FileNameFromTitle(m_title) + extension);
}

void ReportWindow::RememberFolder(const QString& path) const {
    if (m_folders.Remember)
        m_folders.Remember(path);
}

bool ReportWindow::WriteFile(const QString& path, QString& error) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    const auto size = static_cast<qint64>(m_prepared.size());
    if (file.write(m_prepared.data(), size) != size || !file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

bool ReportWindow::SaveAsHtml() {
    QString path = m_dialogs->AskSaveFileName(this, tr("Save report as HTML"),
                                              SuggestedPath(QStringLiteral(".html")), kHtmlFilter);
    if (path.isEmpty())
        return false;
    path = WithExtension(path, QStringLiteral(".html"));
    QString error;
    if (!WriteFile(path, error)) {
        m_dialogs->ShowError(
            this, tr("Save report"),
            tr("The report could not be saved to %1: %2").arg(QDir::toNativeSeparators(path), error));
        return false;
    }
    RememberFolder(path);
    return true;
}

bool ReportWindow::Print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(windowTitle());
    if (!m_dialogs->AskPrinter(this, printer))
        return false;
    m_browser->print(&printer);
    return true;
}

bool ReportWindow::ExportPdf() {
    QString path = m_dialogs->AskSaveFileName(this, tr("Export report to PDF"),
                                              SuggestedPath(QStringLiteral(".pdf")), kPdfFilter);
    if (path.isEmpty())
        return false;
    path = WithExtension(path, QStringLiteral(".pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setDocName(windowTitle());
    m_browser->document()->print(&printer);
    const QFileInfo written(path);
    if (!written.exists() || written.size() == 0) {
        m_dialogs->ShowError(
            this, tr("Export report"),
            tr("The report could not be exported to %1.").arg(QDir::toNativeSeparators(path)));
        return false;
    }
    RememberFolder(path);
    return true;
}

bool ReportWindow::OpenInBrowser() {
    // The file stays after the window closes: the browser may read it at any time later.
    QTemporaryFile file(QDir(QDir::tempPath()).filePath(QStringLiteral("assistant-report-XXXXXX.html")));
    file.setAutoRemove(false);
    const auto size = static_cast<qint64>(m_prepared.size());
    if (!file.open() || file.write(m_prepared.data(), size) != size || !file.flush()) {
        m_dialogs->ShowError(
            this, tr("Open in web browser"),
            tr("The report could not be written to a temporary file: %1").arg(file.errorString()));
        return false;
    }
    const QString path = file.fileName();
    file.close();
    if (!m_dialogs->OpenUrl(QUrl::fromLocalFile(path))) {
        m_dialogs->ShowError(
            this, tr("Open in web browser"),
            tr("The web browser could not be started for %1.").arg(QDir::toNativeSeparators(path)));
        return false;
    }
    return true;
}
