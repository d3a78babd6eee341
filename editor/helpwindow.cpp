#include "editor/helpwindow.h"

#include "support/helpref.h"
#include "support/manuallists.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QKeySequence>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

namespace {

const QString kTitle = QStringLiteral("Assistant Editor Help");
constexpr int kTargetRole = Qt::UserRole;

QString ReadManualFile(const QString& folder, std::string_view name) {
    QFile file(QDir(folder).filePath(QString::fromUtf8(name.data(), qsizetype(name.size()))));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace

HelpWindow::HelpWindow(QWidget* owner, const QString& manualFolder)
    : QMainWindow(owner), m_manualFolder(manualFolder) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(kTitle);
    resize(900, 640);

    m_browser = new QTextBrowser;
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    m_browser->setOpenExternalLinks(true);
    m_browser->setSearchPaths({m_manualFolder});

    m_contents = new QTreeWidget;
    m_contents->setObjectName(QStringLiteral("HelpContents"));
    m_contents->setHeaderHidden(true);
    m_contents->setRootIsDecorated(true);

    m_filter = new QLineEdit;
    m_filter->setObjectName(QStringLiteral("HelpIndexFilter"));
    m_filter->setPlaceholderText(tr("Type a keyword"));
    m_filter->setClearButtonEnabled(true);
    m_index = new QListWidget;
    m_index->setObjectName(QStringLiteral("HelpIndex"));
    m_indexPane = new QWidget;
    auto* indexLayout = new QVBoxLayout(m_indexPane);
    indexLayout->setContentsMargins(0, 0, 0, 0);
    indexLayout->addWidget(m_filter);
    indexLayout->addWidget(m_index);

    m_panes = new QTabWidget;
    m_panes->setObjectName(QStringLiteral("HelpPanes"));
    m_panes->addTab(m_contents, tr("&Contents"));
    m_panes->addTab(m_indexPane, tr("&Index"));

    auto* splitter = new QSplitter;
    splitter->addWidget(m_panes);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 640});
    setCentralWidget(splitter);

    QToolBar* tools = addToolBar(tr("Navigation"));
    tools->setObjectName(QStringLiteral("HelpToolBar"));
    tools->setMovable(false);
    QAction* back = tools->addAction(tr("&Back"), m_browser, &QTextBrowser::backward);
    back->setShortcut(QKeySequence::Back);
    back->setEnabled(false);
    QAction* forward = tools->addAction(tr("&Forward"), m_browser, &QTextBrowser::forward);
    forward->setShortcut(QKeySequence::Forward);
    forward->setEnabled(false);
    tools->addSeparator();
    tools->addAction(tr("C&ontents"), this, &HelpWindow::ShowContents);
    tools->addAction(tr("I&ndex"), this, &HelpWindow::ShowIndex);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
        const QString page = m_browser->documentTitle();
        setWindowTitle(page.isEmpty() ? kTitle : page + QStringLiteral(" - ") + kTitle);
    });

    connect(m_contents, &QTreeWidget::itemActivated, this, &HelpWindow::OpenContentsEntry);
    connect(m_contents, &QTreeWidget::itemClicked, this, &HelpWindow::OpenContentsEntry);
    connect(m_index, &QListWidget::itemActivated, this, &HelpWindow::OpenKeyword);
    connect(m_index, &QListWidget::itemClicked, this, &HelpWindow::OpenKeyword);
    connect(m_filter, &QLineEdit::textChanged, this, &HelpWindow::FilterKeywords);
    connect(m_filter, &QLineEdit::returnPressed, this, [this] { OpenKeyword(m_index->currentItem()); });

    LoadContents();
    LoadKeywords();
}

void HelpWindow::LoadContents() {
    const ManualList list =
        ParseManualContents(ReadManualFile(m_manualFolder, kManualContentsList).toStdString());
    // parents[level] is the last entry made at that level; an entry hangs below the one of the level
    // above it (the parser guarantees that one exists).
    std::vector<QTreeWidgetItem*> parents;
    for (const ManualEntry& entry : list.Entries) {
        const auto level = static_cast<std::size_t>(entry.Level);
        parents.resize(level);
        QTreeWidgetItem* item =
            level == 0 ? new QTreeWidgetItem(m_contents) : new QTreeWidgetItem(parents.back());
        item->setText(0, QString::fromStdString(entry.Title));
        item->setData(0, kTargetRole, QString::fromStdString(entry.Target));
        parents.push_back(item);
    }
    m_contents->expandToDepth(0);
}

void HelpWindow::LoadKeywords() {
    ManualList list = ParseManualKeywords(ReadManualFile(m_manualFolder, kManualKeywordList).toStdString());
    std::vector<std::pair<QString, QString>> keywords;
    for (const ManualEntry& entry : list.Entries)
        keywords.emplace_back(QString::fromStdString(entry.Title), QString::fromStdString(entry.Target));
    std::stable_sort(keywords.begin(), keywords.end(), [](const auto& a, const auto& b) {
        return QString::compare(a.first, b.first, Qt::CaseInsensitive) < 0;
    });
    for (const auto& [keyword, target] : keywords) {
        auto* item = new QListWidgetItem(keyword, m_index);
        item->setData(kTargetRole, target);
    }
}

void HelpWindow::FilterKeywords(const QString& text) {
    const QString wanted = text.trimmed();
    QListWidgetItem* best = nullptr;
    QListWidgetItem* firstShown = nullptr;
    for (int i = 0; i < m_index->count(); ++i) {
        QListWidgetItem* item = m_index->item(i);
        const bool shown = item->text().contains(wanted, Qt::CaseInsensitive);
        item->setHidden(!shown);
        if (!shown)
            continue;
        if (!firstShown)
            firstShown = item;
        if (!best && item->text().startsWith(wanted, Qt::CaseInsensitive))
            best = item;
    }
    m_index->setCurrentItem(best ? best : firstShown);
}

void HelpWindow::OpenKeyword(QListWidgetItem* item) {
    if (item)
        ShowPage(item->data(kTargetRole).toString());
}

void HelpWindow::OpenContentsEntry(QTreeWidgetItem* item) {
    if (item)
        ShowPage(item->data(0, kTargetRole).toString());
}

QUrl HelpWindow::UrlOf(const QString& target) const {
    const qsizetype hash = target.indexOf(QLatin1Char('#'));
    QUrl url = QUrl::fromLocalFile(QDir(m_manualFolder).filePath(hash < 0 ? target : target.left(hash)));
    if (hash >= 0)
        url.setFragment(target.mid(hash + 1));
    return url;
}

void HelpWindow::ShowPage(const QString& target) {
    m_browser->setSource(UrlOf(target));
}

void HelpWindow::ShowContents() {
    m_panes->setCurrentWidget(m_contents);
    ShowPage(QString::fromUtf8(kManualContentsPage.data(), qsizetype(kManualContentsPage.size())));
}

void HelpWindow::ShowIndex() {
    m_panes->setCurrentWidget(m_indexPane);
    if (m_browser->source().isEmpty())
        ShowPage(QString::fromUtf8(kManualContentsPage.data(), qsizetype(kManualContentsPage.size())));
    m_filter->setFocus();
    m_filter->selectAll();
}

bool HelpWindow::ContentsPaneSelected() const {
    return m_panes->currentWidget() == m_contents;
}

bool HelpWindow::IndexPaneSelected() const {
    return m_panes->currentWidget() == m_indexPane;
}
