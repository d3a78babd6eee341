#include "editor/findpanel.h"

#include "editor/findresultsmodel.h"
#include "editor/highlightdelegate.h"
#include "model/assistoption.h"
#include "model/assistscreen.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

// How long typing may pause before the list follows the find box.
constexpr int kTypingPauseMs = 250;

QString Count(int n, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromLatin1(n == 1 ? one : many));
}

bool HoldsItem(TAssistRoot& root, const TAssistBase* item) {
    if (item == &root)
        return true;
    for (TAssistScreen& screen : root.Screens) {
        if (item == &screen)
            return true;
        for (TAssistOption& option : screen.Options)
            if (item == &option)
                return true;
    }
    return false;
}

int Utf16Length(const std::string& text, std::size_t bytes) {
    return static_cast<int>(
        QString::fromUtf8(text.data(), static_cast<qsizetype>(std::min(bytes, text.size()))).size());
}

} // namespace

FindPanel::FindPanel(TAssistRoot& root, QWidget* parent) : QWidget(parent), m_root(&root) {
    setObjectName(QStringLiteral("FindPanel"));
    m_eFind = new QLineEdit(this);
    m_eFind->setObjectName(QStringLiteral("eFind"));
    m_eFind->setPlaceholderText(QStringLiteral("Find"));
    m_eFind->setClearButtonEnabled(true);
    m_eReplace = new QLineEdit(this);
    m_eReplace->setObjectName(QStringLiteral("eReplace"));
    m_eReplace->setPlaceholderText(QStringLiteral("Replace with"));

    m_bFindNext = new QPushButton(QStringLiteral("Find &next"), this);
    m_bFindNext->setObjectName(QStringLiteral("bFindNext"));
    m_bFindPrevious = new QPushButton(QStringLiteral("Find &previous"), this);
    m_bFindPrevious->setObjectName(QStringLiteral("bFindPrevious"));
    m_bReplace = new QPushButton(QStringLiteral("&Replace"), this);
    m_bReplace->setObjectName(QStringLiteral("bReplace"));
    m_bReplaceAll = new QPushButton(QStringLiteral("Replace &all"), this);
    m_bReplaceAll->setObjectName(QStringLiteral("bReplaceAll"));

    auto* boxes = new QGridLayout;
    boxes->addWidget(new QLabel(QStringLiteral("F&ind:"), this), 0, 0);
    boxes->addWidget(m_eFind, 0, 1);
    boxes->addWidget(m_bFindNext, 0, 2);
    boxes->addWidget(m_bFindPrevious, 0, 3);
    boxes->addWidget(new QLabel(QStringLiteral("Replace &with:"), this), 1, 0);
    boxes->addWidget(m_eReplace, 1, 1);
    boxes->addWidget(m_bReplace, 1, 2);
    boxes->addWidget(m_bReplaceAll, 1, 3);
    static_cast<QLabel*>(boxes->itemAtPosition(0, 0)->widget())->setBuddy(m_eFind);
    static_cast<QLabel*>(boxes->itemAtPosition(1, 0)->widget())->setBuddy(m_eReplace);

    auto* lookIn = new QGroupBox(QStringLiteral("Look in:"), this);
    auto* lookInLayout = new QHBoxLayout(lookIn);
    const std::pair<const char*, TSearchField> fields[] = {
        {"IDs", sfID},           {"Captions", sfCaption},
        {"Texts", sfText},       {"Option descriptions", sfOptionDescription},
        {"Commands", sfCommand}, {"Scripts", sfScript},
        {"Notes", sfNotes},
    };
    const char* names[] = {"chkIDs",      "chkCaptions", "chkTexts", "chkDescriptions",
                           "chkCommands", "chkScripts",  "chkNotes"};
    int n = 0;
    for (const auto& [label, field] : fields) {
        auto* box = new QCheckBox(QString::fromLatin1(label), lookIn);
        box->setObjectName(QString::fromLatin1(names[n++]));
        box->setChecked(true);
        lookInLayout->addWidget(box);
        m_fieldBoxes.emplace_back(box, field);
        connect(box, &QCheckBox::toggled, this, &FindPanel::SettingsChanged);
    }
    lookInLayout->addStretch();

    m_chkMatchCase = new QCheckBox(QStringLiteral("Match &case"), this);
    m_chkMatchCase->setObjectName(QStringLiteral("chkMatchCase"));
    m_chkWholeWords = new QCheckBox(QStringLiteral("Whole &words"), this);
    m_chkWholeWords->setObjectName(QStringLiteral("chkWholeWords"));
    m_chkRegex = new QCheckBox(QStringLiteral("Regular e&xpression"), this);
    m_chkRegex->setObjectName(QStringLiteral("chkRegex"));
    m_lMessage = new QLabel(this);
    m_lMessage->setObjectName(QStringLiteral("lMessage"));
    m_lMessage->setTextFormat(Qt::PlainText);
    auto* how = new QHBoxLayout;
    how->addWidget(m_chkMatchCase);
    how->addWidget(m_chkWholeWords);
    how->addWidget(m_chkRegex);
    how->addSpacing(12);
    how->addWidget(m_lMessage, 1);

    m_results = new FindResultsModel(this);
    m_lbResults = new QTreeView(this);
    m_lbResults->setObjectName(QStringLiteral("lbResults"));
    m_lbResults->setModel(m_results);
    m_lbResults->setRootIsDecorated(false);
    m_lbResults->setUniformRowHeights(true);
    m_lbResults->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_lbResults->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lbResults->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lbResults->setItemDelegateForColumn(FindResultsModel::LineColumn, new HighlightDelegate(m_lbResults));
    m_lbResults->header()->setStretchLastSection(true);
    m_lbResults->setColumnWidth(FindResultsModel::ItemColumn, 140);
    m_lbResults->setColumnWidth(FindResultsModel::FieldColumn, 90);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(boxes);
    layout->addWidget(lookIn);
    layout->addLayout(how);
    layout->addWidget(m_lbResults, 1);

    m_findNext = new QAction(QStringLiteral("Find &next"), this);
    m_findNext->setShortcut(QKeySequence(Qt::Key_F3));
    m_findPrevious = new QAction(QStringLiteral("Find &previous"), this);
    m_findPrevious->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
    addAction(m_findNext);
    addAction(m_findPrevious);
    connect(m_findNext, &QAction::triggered, this, &FindPanel::FindNext);
    connect(m_findPrevious, &QAction::triggered, this, &FindPanel::FindPrevious);

    m_typingTimer = new QTimer(this);
    m_typingTimer->setSingleShot(true);
    m_typingTimer->setInterval(kTypingPauseMs);
    connect(m_typingTimer, &QTimer::timeout, this, &FindPanel::EnsureSearched);

    connect(m_eFind, &QLineEdit::textChanged, this, &FindPanel::SettingsChanged);
    connect(m_eFind, &QLineEdit::returnPressed, this, &FindPanel::FindNext);
    connect(m_eReplace, &QLineEdit::returnPressed, this, &FindPanel::ReplaceCurrent);
    for (QCheckBox* box : {m_chkMatchCase, m_chkWholeWords, m_chkRegex})
        connect(box, &QCheckBox::toggled, this, &FindPanel::SettingsChanged);
    connect(m_bFindNext, &QPushButton::clicked, this, &FindPanel::FindNext);
    connect(m_bFindPrevious, &QPushButton::clicked, this, &FindPanel::FindPrevious);
    connect(m_bReplace, &QPushButton::clicked, this, &FindPanel::ReplaceCurrent);
    connect(m_bReplaceAll, &QPushButton::clicked, this, &FindPanel::ReplaceEverywhere);
    connect(m_lbResults, &QTreeView::clicked, this,
            [this](const QModelIndex& index) { Activate(index.row()); });
    connect(m_lbResults, &QTreeView::activated, this,
            [this](const QModelIndex& index) { Activate(index.row()); });

    SettingsChanged();
}

FindPanel::~FindPanel() = default;

void FindPanel::SetAssistant(TAssistRoot& root) {
    m_root = &root;
    m_current = -1;
    refresh();
}

void FindPanel::StartFind(const QString& text) {
    if (!text.isEmpty())
        m_eFind->setText(text);
    m_eFind->selectAll();
    m_eFind->setFocus(Qt::ShortcutFocusReason);
}

unsigned FindPanel::Fields() const {
    unsigned fields = 0;
    for (const auto& [box, field] : m_fieldBoxes)
        if (box->isChecked())
            fields |= field;
    return fields;
}

int FindPanel::MatchCount() const {
    return m_results->rowCount();
}

const TSearchHit* FindPanel::CurrentHit() const {
    return m_results->Hit(m_current);
}

QString FindPanel::Message() const {
    return m_lMessage->text();
}

void FindPanel::ShowMessage(const QString& text, bool error) {
    m_lMessage->setText(text);
    m_lMessage->setStyleSheet(error ? QStringLiteral("color: #b00020;") : QString());
}

void FindPanel::UpdateButtons() {
    const bool searchable = m_matcher != nullptr;
    m_bFindNext->setEnabled(searchable);
    m_bFindPrevious->setEnabled(searchable);
    m_bReplace->setEnabled(searchable);
    m_bReplaceAll->setEnabled(searchable);
    m_findNext->setEnabled(searchable);
    m_findPrevious->setEnabled(searchable);
}

void FindPanel::ShowCount() {
    const int count = MatchCount();
    if (count == 0)
        ShowMessage(QStringLiteral("No matches."), false);
    else if (m_current >= 0)
        ShowMessage(QStringLiteral("Match %1 of %2").arg(m_current + 1).arg(count), false);
    else
        ShowMessage(Count(count, "match", "matches"), false);
}

bool FindPanel::PrepareMatcher() {
    m_matcher.reset();
    const QString pattern = m_eFind->text();
    if (pattern.isEmpty()) {
        ShowMessage(QString(), false);
    } else if (Fields() == 0) {
        ShowMessage(QStringLiteral("Choose at least one field to look in."), true);
    } else {
        auto matcher = std::make_unique<TRegexMatcher>(pattern, m_chkMatchCase->isChecked(),
                                                       m_chkWholeWords->isChecked(), m_chkRegex->isChecked());
        if (matcher->IsValid())
            m_matcher = std::move(matcher);
        else
            ShowMessage(matcher->Error(), true);
    }
    UpdateButtons();
    return m_matcher != nullptr;
}

void FindPanel::SettingsChanged() {
    m_stale = true;
    m_current = -1;
    if (PrepareMatcher()) {
        ShowMessage(QString(), false);
        m_typingTimer->start();
    } else {
        m_typingTimer->stop();
        m_results->SetHits({});
        m_stale = false;
    }
}

void FindPanel::Search() {
    m_typingTimer->stop();
    m_stale = false;
    if (!PrepareMatcher()) {
        m_results->SetHits({});
        m_current = -1;
        return;
    }
    m_results->SetHits(FindInAssistant(*m_root, Fields(), *m_matcher));
    if (m_current >= MatchCount())
        m_current = MatchCount() - 1;
    if (m_current >= 0)
        m_lbResults->setCurrentIndex(m_results->index(m_current, 0));
    ShowCount();
}

void FindPanel::EnsureSearched() {
    if (m_stale)
        Search();
}

void FindPanel::refresh() {
    Search();
}

bool FindPanel::HitIsCurrent(const TSearchHit& hit) const {
    if (!HoldsItem(*m_root, hit.Item))
        return false;
    const std::string text = FieldText(*hit.Item, hit.Field, hit.NoteIndex);
    return hit.Offset + hit.Length <= text.size() && hit.LineOffset + hit.Length <= hit.Line.size() &&
           text.compare(hit.Offset, hit.Length, hit.Line, hit.LineOffset, hit.Length) == 0;
}

void FindPanel::Activate(int row) {
    const TSearchHit* hit = m_results->Hit(row);
    if (!hit)
        return;
    if (!HitIsCurrent(*hit)) {
        // The assistant changed since the search: search again and take the match now at that row.
        m_current = row;
        Search();
        hit = m_results->Hit(row);
        if (!hit)
            return;
    }
    m_current = row;
    m_lbResults->setCurrentIndex(m_results->index(row, 0));
    m_lbResults->scrollTo(m_results->index(row, 0));
    ShowCount();
    const std::string text = FieldText(*hit->Item, hit->Field, hit->NoteIndex);
    const int offset = Utf16Length(text, hit->Offset);
    const int length = Utf16Length(text, hit->Offset + hit->Length) - offset;
    Q_EMIT matchActivated(hit->Item, hit->Field, offset, length);
}

void FindPanel::FindNext() {
    EnsureSearched();
    const int count = MatchCount();
    if (count == 0)
        return;
    Activate(m_current + 1 < count ? m_current + 1 : 0);
}

void FindPanel::FindPrevious() {
    EnsureSearched();
    const int count = MatchCount();
    if (count == 0)
        return;
    Activate(m_current > 0 ? m_current - 1 : count - 1);
}

void FindPanel::ReplaceCurrent() {
    EnsureSearched();
    const TSearchHit* found = CurrentHit();
    if (!found || !HitIsCurrent(*found)) {
        // Nothing shown yet (or the text moved): show the match first, so the user sees what is replaced.
        FindNext();
        return;
    }
    const TSearchHit hit = *found;
    const TFieldChange change = ReplaceOne(hit, *m_matcher, m_eReplace->text().toStdString());
    const std::size_t replacedEnd = hit.Offset + (change.NewText.size() + hit.Length - change.OldText.size());
    const int row = m_current;
    Q_EMIT replaceOneRequested(change);
    // Go on after the replaced text (which may itself match, when it contains what is found).
    m_current = -1;
    Search();
    int next = row;
    while (const TSearchHit* h = m_results->Hit(next)) {
        if (h->Item != hit.Item || h->Field != hit.Field || h->NoteIndex != hit.NoteIndex ||
            h->Offset >= replacedEnd)
            break;
        ++next;
    }
    if (MatchCount() > 0)
        Activate(next < MatchCount() ? next : 0);
}

void FindPanel::ReplaceEverywhere() {
    EnsureSearched();
    const int matches = MatchCount();
    if (!m_matcher || matches == 0)
        return;
    std::vector<TFieldChange> changes =
        ReplaceAll(*m_root, Fields(), *m_matcher, m_eReplace->text().toStdString());
    const int fields = static_cast<int>(changes.size());
    Q_EMIT replaceAllRequested(changes);
    m_current = -1;
    Search();
    ShowMessage(QStringLiteral("Replaced %1 in %2.")
                    .arg(Count(matches, "match", "matches"), Count(fields, "field", "fields")),
                false);
}
