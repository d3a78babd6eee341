#pragma once
// The report window: shows a prepared HTML report over its owner window, follows the links inside the
// report, and saves it as HTML, prints it, exports it to PDF or opens it in the web browser.
#include <QMainWindow>
#include <functional>
#include <memory>
#include <string>

#include "components/qt/userdialogs.h"

class QTextBrowser;

// Where the window's Save and Export dialogs start and what they remember: the owner's folders (the
// editor's current file, else the last folder used). Unset, the dialogs start in the documents folder.
struct ReportFolders {
    std::function<QString()> StartFolder;                    // a folder; empty means no preference
    std::function<void(const QString& chosenFile)> Remember; // told of each file written
};

class ReportWindow final : public QMainWindow {
    Q_OBJECT
public:
    // The window is owned by `owner` (a separate window over it) and deletes itself when closed.
    ReportWindow(QWidget* owner, const QString& title, std::string prepared,
                 std::shared_ptr<UserDialogs> dialogs, ReportFolders folders = {});

    QTextBrowser* Browser() const { return m_browser; }
    const std::string& PreparedText() const { return m_prepared; }

    // Each gives true when the report was written or handed on, false when the user cancelled or an
    // error was shown.
    bool SaveAsHtml();
    bool Print();
    bool ExportPdf();
    bool OpenInBrowser();

private:
    void FollowLink(const QUrl& url);
    QString SuggestedPath(const QString& extension) const;
    bool WriteFile(const QString& path, QString& error) const;
    void RememberFolder(const QString& path) const;

    std::string m_prepared;
    QString m_title;
    std::shared_ptr<UserDialogs> m_dialogs;
    ReportFolders m_folders;
    QTextBrowser* m_browser = nullptr;
};
