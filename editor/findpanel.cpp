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

FindPanel::FindPanel(TAssistRoot& root, QWidget* parent) : QWidget(parent), root_(&root) {
    setObjectName(QStringLiteral("FindPanel"));
    eFind_ = new QLineEdit(this);
    eFind_->setObjectName(QStringLiteral("eFind"));
    eFind_->setPlaceholderText(QStringLiteral("Find"));
    eFind_->setClearButtonEnabled(true);
    eReplace_ = new QLineEdit(this);
    eReplace_->setObjectName(QStringLiteral("eReplace"));
    eReplace_->setPlaceholderText(QStringLiteral("Replace with"));

    bFindNext_ = new QPushButton(QStringLiteral("Find &next"), this);
    bFindNext_->setObjectName(QStringLiteral("bFindNext"));
    bFindPrevious_ = new QPushButton(QStringLiteral("Find &previous"), this);
    bFindPrevious_->setObjectName(QStringLiteral("bFindPrevious"));
    bReplace_ = new QPushButton(QStringLiteral("&Replace"), this);
    bReplace_->setObjectName(QStringLiteral("bReplace"));
    bReplaceAll_ = new QPushButton(QStringLiteral("Replace &all"), this);
    bReplaceAll_->setObjectName(QStringLiteral("bReplaceAll"));

    auto* boxes = new QGridLayout;
    boxes->addWidget(new QLabel(QStringLiteral("F&ind:"), this), 0, 0);
    boxes->addWidget(eFind_, 0, 1);
    boxes->addWidget(bFindNext_, 0, 2);
    boxes->addWidget(bFindPrevious_, 0, 3);
    boxes->addWidget(new QLabel(QStringLiteral("Replace &with:"), this), 1, 0);
    boxes->addWidget(eReplace_, 1, 1);
    boxes->addWidget(bReplace_, 1, 2);
    boxes->addWidget(bReplaceAll_, 1, 3);
    static_cast<QLabel*>(boxes->itemAtPosition(0, 0)->widget())->setBuddy(eFind_);
    static_cast<QLabel*>(boxes->itemAtPosition(1, 0)->widget())->setBuddy(eReplace_);

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
        fieldBoxes_.emplace_back(box, field);
        connect(box, &QCheckBox::toggled, this, &FindPanel::SettingsChanged);
    }
    lookInLayout->addStretch();

    chkMatchCase_ = new QCheckBox(QStringLiteral("Match &case"), this);
    chkMatchCase_->setObjectName(QStringLiteral("chkMatchCase"));
    chkWholeWords_ = new QCheckBox(QStringLiteral("Whole &words"), this);
    chkWholeWords_->setObjectName(QStringLiteral("chkWholeWords"));
    chkRegex_ = new QCheckBox(QStringLiteral("Regular e&xpression"), this);
    chkRegex_->setObjectName(QStringLiteral("chkRegex"));
    lMessage_ = new QLabel(this);
    lMessage_->setObjectName(QStringLiteral("lMessage"));
    lMessage_->setTextFormat(Qt::PlainText);
    auto* how = new QHBoxLayout;
    how->addWidget(chkMatchCase_);
    how->addWidget(chkWholeWords_);
    how->addWidget(chkRegex_);
    how->addSpacing(12);
    how->addWidget(lMessage_, 1);

    results_ = new FindResultsModel(this);
    lbResults_ = new QTreeView(this);
    lbResults_->setObjectName(QStringLiteral("lbResults"));
    lbResults_->setModel(results_);
    lbResults_->setRootIsDecorated(false);
    lbResults_->setUniformRowHeights(true);
    lbResults_->setSelectionBehavior(QAbstractItemView::SelectRows);
    lbResults_->setSelectionMode(QAbstractItemView::SingleSelection);
    lbResults_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lbResults_->setItemDelegateForColumn(FindResultsModel::LineColumn, new HighlightDelegate(lbResults_));
    lbResults_->header()->setStretchLastSection(true);
    lbResults_->setColumnWidth(FindResultsModel::ItemColumn, 140);
    lbResults_->setColumnWidth(FindResultsModel::FieldColumn, 90);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(boxes);
    layout->addWidget(lookIn);
    layout->addLayout(how);
    layout->addWidget(lbResults_, 1);

    findNext_ = new QAction(QStringLiteral("Find &next"), this);
    findNext_->setShortcut(QKeySequence(Qt::Key_F3));
    findPrevious_ = new QAction(QStringLiteral("Find &previous"), this);
    findPrevious_->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
    addAction(findNext_);
    addAction(findPrevious_);
    connect(findNext_, &QAction::triggered, this, &FindPanel::FindNext);
    connect(findPrevious_, &QAction::triggered, this, &FindPanel::FindPrevious);

    typingTimer_ = new QTimer(this);
    typingTimer_->setSingleShot(true);
    typingTimer_->setInterval(kTypingPauseMs);
    connect(typingTimer_, &QTimer::timeout, this, &FindPanel::EnsureSearched);

    connect(eFind_, &QLineEdit::textChanged, this, &FindPanel::SettingsChanged);
    connect(eFind_, &QLineEdit::returnPressed, this, &FindPanel::FindNext);
    connect(eReplace_, &QLineEdit::returnPressed, this, &FindPanel::ReplaceCurrent);
    for (QCheckBox* box : {chkMatchCase_, chkWholeWords_, chkRegex_})
        connect(box, &QCheckBox::toggled, this, &FindPanel::SettingsChanged);
    connect(bFindNext_, &QPushButton::clicked, this, &FindPanel::FindNext);
    connect(bFindPrevious_, &QPushButton::clicked, this, &FindPanel::FindPrevious);
    connect(bReplace_, &QPushButton::clicked, this, &FindPanel::ReplaceCurrent);
    connect(bReplaceAll_, &QPushButton::clicked, this, &FindPanel::ReplaceEverywhere);
    connect(lbResults_, &QTreeView::clicked, this,
            [this](const QModelIndex& index) { Activate(index.row()); });
    connect(lbResults_, &QTreeView::activated, this,
            [this](const QModelIndex& index) { Activate(index.row()); });

    SettingsChanged();
}

FindPanel::~FindPanel() = default;

void FindPanel::SetAssistant(TAssistRoot& root) {
    root_ = &root;
    current_ = -1;
    refresh();
}

void FindPanel::StartFind(const QString& text) {
    if (!text.isEmpty())
        eFind_->setText(text);
    eFind_->selectAll();
    eFind_->setFocus(Qt::ShortcutFocusReason);
}

unsigned FindPanel::Fields() const {
    unsigned fields = 0;
    for (const auto& [box, field] : fieldBoxes_)
        if (box->isChecked())
            fields |= field;
    return fields;
}

int FindPanel::MatchCount() const {
    return results_->rowCount();
}

const TSearchHit* FindPanel::CurrentHit() const {
    return results_->Hit(current_);
}

QString FindPanel::Message() const {
    return lMessage_->text();
}

void FindPanel::ShowMessage(const QString& text, bool error) {
    lMessage_->setText(text);
    lMessage_->setStyleSheet(error ? QStringLiteral("color: #b00020;") : QString());
}

void FindPanel::UpdateButtons() {
    const bool searchable = matcher_ != nullptr;
    bFindNext_->setEnabled(searchable);
    bFindPrevious_->setEnabled(searchable);
    bReplace_->setEnabled(searchable);
    bReplaceAll_->setEnabled(searchable);
    findNext_->setEnabled(searchable);
    findPrevious_->setEnabled(searchable);
}

void FindPanel::ShowCount() {
    const int count = MatchCount();
    if (count == 0)
        ShowMessage(QStringLiteral("No matches."), false);
    else if (current_ >= 0)
        ShowMessage(QStringLiteral("Match %1 of %2").arg(current_ + 1).arg(count), false);
    else
        ShowMessage(Count(count, "match", "matches"), false);
}

bool FindPanel::PrepareMatcher() {
    matcher_.reset();
    const QString pattern = eFind_->text();
    if (pattern.isEmpty()) {
        ShowMessage(QString(), false);
    } else if (Fields() == 0) {
        ShowMessage(QStringLiteral("Choose at least one field to look in."), true);
    } else {
        auto matcher = std::make_unique<TRegexMatcher>(pattern, chkMatchCase_->isChecked(),
                                                       chkWholeWords_->isChecked(), chkRegex_->isChecked());
        if (matcher->IsValid())
            matcher_ = std::move(matcher);
        else
            ShowMessage(matcher->Error(), true);
    }
    UpdateButtons();
    return matcher_ != nullptr;
}

void FindPanel::SettingsChanged() {
    stale_ = true;
    current_ = -1;
    if (PrepareMatcher()) {
        ShowMessage(QString(), false);
        typingTimer_->start();
    } else {
        typingTimer_->stop();
        results_->SetHits({});
        stale_ = false;
    }
}

void FindPanel::Search() {
    typingTimer_->stop();
    stale_ = false;
    if (!PrepareMatcher()) {
        results_->SetHits({});
        current_ = -1;
        return;
    }
    results_->SetHits(FindInAssistant(*root_, Fields(), *matcher_));
    if (current_ >= MatchCount())
        current_ = MatchCount() - 1;
    if (current_ >= 0)
        lbResults_->setCurrentIndex(results_->index(current_, 0));
    ShowCount();
}

void FindPanel::EnsureSearched() {
    if (stale_)
        Search();
}

void FindPanel::refresh() {
    Search();
}

bool FindPanel::HitIsCurrent(const TSearchHit& hit) const {
    if (!HoldsItem(*root_, hit.Item))
        return false;
    const std::string text = FieldText(*hit.Item, hit.Field, hit.NoteIndex);
    return hit.Offset + hit.Length <= text.size() && hit.LineOffset + hit.Length <= hit.Line.size() &&
           text.compare(hit.Offset, hit.Length, hit.Line, hit.LineOffset, hit.Length) == 0;
}

void FindPanel::Activate(int row) {
    const TSearchHit* hit = results_->Hit(row);
    if (!hit)
        return;
    if (!HitIsCurrent(*hit)) {
        // The assistant changed since the search: search again and take the match now at that row.
        current_ = row;
        Search();
        hit = results_->Hit(row);
        if (!hit)
            return;
    }
    current_ = row;
    lbResults_->setCurrentIndex(results_->index(row, 0));
    lbResults_->scrollTo(results_->index(row, 0));
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
    Activate(current_ + 1 < count ? current_ + 1 : 0);
}

void FindPanel::FindPrevious() {
    EnsureSearched();
    const int count = MatchCount();
    if (count == 0)
        return;
    Activate(current_ > 0 ? current_ - 1 : count - 1);
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
    const TFieldChange change = ReplaceOne(hit, *matcher_, eReplace_->text().toStdString());
    const std::size_t replacedEnd = hit.Offset + (change.NewText.size() + hit.Length - change.OldText.size());
    const int row = current_;
    Q_EMIT replaceOneRequested(change);
    // Go on after the replaced text (which may itself match, when it contains what is found).
    current_ = -1;
    Search();
    int next = row;
    while (const TSearchHit* h = results_->Hit(next)) {
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
    if (!matcher_ || matches == 0)
        return;
    std::vector<TFieldChange> changes =
        ReplaceAll(*root_, Fields(), *matcher_, eReplace_->text().toStdString());
    const int fields = static_cast<int>(changes.size());
    Q_EMIT replaceAllRequested(changes);
    current_ = -1;
    Search();
    ShowMessage(QStringLiteral("Replaced %1 in %2.")
                    .arg(Count(matches, "match", "matches"), Count(fields, "field", "fields")),
                false);
}
