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
    : QMainWindow(owner), manualFolder_(manualFolder) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(kTitle);
    resize(900, 640);

    browser_ = new QTextBrowser;
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setOpenExternalLinks(true);
    browser_->setSearchPaths({manualFolder_});

    contents_ = new QTreeWidget;
    contents_->setObjectName(QStringLiteral("HelpContents"));
    contents_->setHeaderHidden(true);
    contents_->setRootIsDecorated(true);

    filter_ = new QLineEdit;
    filter_->setObjectName(QStringLiteral("HelpIndexFilter"));
    filter_->setPlaceholderText(tr("Type a keyword"));
    filter_->setClearButtonEnabled(true);
    index_ = new QListWidget;
    index_->setObjectName(QStringLiteral("HelpIndex"));
    indexPane_ = new QWidget;
    auto* indexLayout = new QVBoxLayout(indexPane_);
    indexLayout->setContentsMargins(0, 0, 0, 0);
    indexLayout->addWidget(filter_);
    indexLayout->addWidget(index_);

    panes_ = new QTabWidget;
    panes_->setObjectName(QStringLiteral("HelpPanes"));
    panes_->addTab(contents_, tr("&Contents"));
    panes_->addTab(indexPane_, tr("&Index"));

    auto* splitter = new QSplitter;
    splitter->addWidget(panes_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 640});
    setCentralWidget(splitter);

    QToolBar* tools = addToolBar(tr("Navigation"));
    tools->setObjectName(QStringLiteral("HelpToolBar"));
    tools->setMovable(false);
    QAction* back = tools->addAction(tr("&Back"), browser_, &QTextBrowser::backward);
    back->setShortcut(QKeySequence::Back);
    back->setEnabled(false);
    QAction* forward = tools->addAction(tr("&Forward"), browser_, &QTextBrowser::forward);
    forward->setShortcut(QKeySequence::Forward);
    forward->setEnabled(false);
    tools->addSeparator();
    tools->addAction(tr("C&ontents"), this, &HelpWindow::ShowContents);
    tools->addAction(tr("I&ndex"), this, &HelpWindow::ShowIndex);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
        const QString page = browser_->documentTitle();
        setWindowTitle(page.isEmpty() ? kTitle : page + QStringLiteral(" - ") + kTitle);
    });

    connect(contents_, &QTreeWidget::itemActivated, this, &HelpWindow::OpenContentsEntry);
    connect(contents_, &QTreeWidget::itemClicked, this, &HelpWindow::OpenContentsEntry);
    connect(index_, &QListWidget::itemActivated, this, &HelpWindow::OpenKeyword);
    connect(index_, &QListWidget::itemClicked, this, &HelpWindow::OpenKeyword);
    connect(filter_, &QLineEdit::textChanged, this, &HelpWindow::FilterKeywords);
    connect(filter_, &QLineEdit::returnPressed, this, [this] { OpenKeyword(index_->currentItem()); });

    LoadContents();
    LoadKeywords();
}

void HelpWindow::LoadContents() {
    const ManualList list =
        ParseManualContents(ReadManualFile(manualFolder_, kManualContentsList).toStdString());
    // parents[level] is the last entry made at that level; an entry hangs below the one of the level
    // above it (the parser guarantees that one exists).
    std::vector<QTreeWidgetItem*> parents;
    for (const ManualEntry& entry : list.Entries) {
        const auto level = static_cast<std::size_t>(entry.Level);
        parents.resize(level);
        QTreeWidgetItem* item =
            level == 0 ? new QTreeWidgetItem(contents_) : new QTreeWidgetItem(parents.back());
        item->setText(0, QString::fromStdString(entry.Title));
        item->setData(0, kTargetRole, QString::fromStdString(entry.Target));
        parents.push_back(item);
    }
    contents_->expandToDepth(0);
}

void HelpWindow::LoadKeywords() {
    ManualList list = ParseManualKeywords(ReadManualFile(manualFolder_, kManualKeywordList).toStdString());
    std::vector<std::pair<QString, QString>> keywords;
    for (const ManualEntry& entry : list.Entries)
        keywords.emplace_back(QString::fromStdString(entry.Title), QString::fromStdString(entry.Target));
    std::stable_sort(keywords.begin(), keywords.end(), [](const auto& a, const auto& b) {
        return QString::compare(a.first, b.first, Qt::CaseInsensitive) < 0;
    });
    for (const auto& [keyword, target] : keywords) {
        auto* item = new QListWidgetItem(keyword, index_);
        item->setData(kTargetRole, target);
    }
}

void HelpWindow::FilterKeywords(const QString& text) {
    const QString wanted = text.trimmed();
    QListWidgetItem* best = nullptr;
    QListWidgetItem* firstShown = nullptr;
    for (int i = 0; i < index_->count(); ++i) {
        QListWidgetItem* item = index_->item(i);
        const bool shown = item->text().contains(wanted, Qt::CaseInsensitive);
        item->setHidden(!shown);
        if (!shown)
            continue;
        if (!firstShown)
            firstShown = item;
        if (!best && item->text().startsWith(wanted, Qt::CaseInsensitive))
            best = item;
    }
    index_->setCurrentItem(best ? best : firstShown);
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
    QUrl url = QUrl::fromLocalFile(QDir(manualFolder_).filePath(hash < 0 ? target : target.left(hash)));
    if (hash >= 0)
        url.setFragment(target.mid(hash + 1));
    return url;
}

void HelpWindow::ShowPage(const QString& target) {
    browser_->setSource(UrlOf(target));
}

void HelpWindow::ShowContents() {
    panes_->setCurrentWidget(contents_);
    ShowPage(QString::fromUtf8(kManualContentsPage.data(), qsizetype(kManualContentsPage.size())));
}

void HelpWindow::ShowIndex() {
    panes_->setCurrentWidget(indexPane_);
    if (browser_->source().isEmpty())
        ShowPage(QString::fromUtf8(kManualContentsPage.data(), qsizetype(kManualContentsPage.size())));
    filter_->setFocus();
    filter_->selectAll();
}

bool HelpWindow::ContentsPaneSelected() const {
    return panes_->currentWidget() == contents_;
}

bool HelpWindow::IndexPaneSelected() const {
    return panes_->currentWidget() == indexPane_;
}
