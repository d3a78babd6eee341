#pragma once
// The help window: shows the program's HTML manual with a contents pane and a keyword index beside
// the page. It belongs to the main window (a separate, non-modal window over it) and is kept when
// closed, so the Help menu reuses the same window and its history.
#include <QMainWindow>
#include <QString>
#include <QUrl>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

class HelpWindow final : public QMainWindow {
    Q_OBJECT
public:
    // `manualFolder` holds the manual's pages, contents.txt and keywords.txt.
    HelpWindow(QWidget* owner, const QString& manualFolder);

    // Shows the manual's contents page with the contents pane selected.
    void ShowContents();
    // Selects the index pane, ready for typing a keyword; the page shown stays (the contents page
    // when nothing was shown yet).
    void ShowIndex();
    // Shows a page of the manual: "page.html" or "page.html#anchor", relative to the manual folder.
    void ShowPage(const QString& target);

    const QString& ManualFolder() const { return m_manualFolder; }
    QTextBrowser* Browser() const { return m_browser; }
    QTreeWidget* ContentsTree() const { return m_contents; }
    QListWidget* IndexList() const { return m_index; }
    QLineEdit* IndexFilter() const { return m_filter; }
    bool ContentsPaneSelected() const;
    bool IndexPaneSelected() const;

private:
    void LoadContents();
    void LoadKeywords();
    // Keeps the keywords that contain the typed text and selects the first that starts with it.
    void FilterKeywords(const QString& text);
    void OpenKeyword(QListWidgetItem* item);
    void OpenContentsEntry(QTreeWidgetItem* item);
    QUrl UrlOf(const QString& target) const;

    QString m_manualFolder;
    QTabWidget* m_panes = nullptr;
    QTreeWidget* m_contents = nullptr;
    QWidget* m_indexPane = nullptr;
    QLineEdit* m_filter = nullptr;
    QListWidget* m_index = nullptr;
    QTextBrowser* m_browser = nullptr;
};
