#include "editor/gotoanything.h"

#include "editor/highlightdelegate.h"
#include "model/assistoption.h"
#include "model/assistroot.h"
#include "model/assistscreen.h"
#include "model/fuzzymatch.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QVBoxLayout>

namespace {
// Between the ID and the caption of a row.
const std::string kSeparator = "  \xC2\xB7  "; // two blanks, a middle dot, two blanks
} // namespace

// The ranked rows of the box: for each, the item and how its text matched.
class GoToListModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    struct Row {
        TAssistBase* item;
        std::string text;    // ID, separator, caption
        QVariantList ranges; // matched characters in the text, for HighlightDelegate
        bool isOption;
    };

    void SetRows(std::vector<Row> rows) {
        beginResetModel();
        rows_ = std::move(rows);
        endResetModel();
    }
    const Row* At(int row) const {
        return row >= 0 && row < static_cast<int>(rows_.size()) ? &rows_[static_cast<std::size_t>(row)]
                                                                : nullptr;
    }
    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        const Row* row = At(index.row());
        if (!row)
            return {};
        switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(row->text);
        case Qt::ToolTipRole:
            return row->isOption ? QStringLiteral("Option") : QStringLiteral("Screen");
        case HighlightDelegate::HighlightRole:
            return row->ranges;
        default:
            return {};
        }
    }

private:
    std::vector<Row> rows_;
};

GoToAnything::GoToAnything(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("GoToAnything"));
    setWindowTitle(QStringLiteral("Go to anything"));
    eQuery_ = new QLineEdit(this);
    eQuery_->setObjectName(QStringLiteral("eQuery"));
    eQuery_->setPlaceholderText(QStringLiteral("Screen or option: ID or caption"));
    model_ = new GoToListModel(this);
    lbItems_ = new QListView(this);
    lbItems_->setObjectName(QStringLiteral("lbItems"));
    lbItems_->setModel(model_);
    lbItems_->setUniformItemSizes(true);
    lbItems_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lbItems_->setItemDelegate(new HighlightDelegate(lbItems_));
    lbItems_->setFocusPolicy(Qt::NoFocus); // typing always goes to the query
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(eQuery_);
    layout->addWidget(lbItems_);
    resize(480, 360);

    eQuery_->installEventFilter(this);
    connect(eQuery_, &QLineEdit::textChanged, this, &GoToAnything::QueryChanged);
    connect(eQuery_, &QLineEdit::returnPressed, this, [this] { Choose(CurrentRow()); });
    connect(lbItems_, &QListView::clicked, this, [this](const QModelIndex& index) { Choose(index.row()); });
}

GoToAnything::~GoToAnything() = default;

void GoToAnything::Open(TAssistRoot& root) {
    items_.clear();
    texts_.clear();
    for (TAssistScreen& screen : root.Screens) {
        items_.push_back(&screen);
        texts_.push_back({screen.ID, screen.Caption});
        for (TAssistOption& option : screen.Options) {
            items_.push_back(&option);
            texts_.push_back({option.ID, option.Caption});
        }
    }
    eQuery_->blockSignals(true);
    eQuery_->clear();
    eQuery_->blockSignals(false);
    QueryChanged();
    show();
    raise();
    activateWindow();
    eQuery_->setFocus(Qt::PopupFocusReason);
}

void GoToAnything::QueryChanged() {
    std::vector<GoToListModel::Row> rows;
    for (const TFuzzyRanked& ranked : RankFuzzy(eQuery_->text().toStdString(), texts_)) {
        const std::vector<std::string>& texts = texts_[ranked.Index];
        std::string text = texts[0];
        if (!texts[1].empty())
            text += kSeparator + texts[1];
        std::vector<std::size_t> positions = ranked.Match.Positions;
        if (ranked.Text == 1)
            for (std::size_t& at : positions)
                at += texts[0].size() + kSeparator.size();
        TAssistBase* item = items_[ranked.Index];
        QVariantList ranges = HighlightDelegate::RangesFromBytePositions(text, positions);
        rows.push_back(
            {item, std::move(text), std::move(ranges), dynamic_cast<TAssistOption*>(item) != nullptr});
    }
    model_->SetRows(std::move(rows));
    if (model_->rowCount() > 0)
        lbItems_->setCurrentIndex(model_->index(0));
}

int GoToAnything::RowCount() const {
    return model_->rowCount();
}

TAssistBase* GoToAnything::ItemAt(int row) const {
    const GoToListModel::Row* r = model_->At(row);
    return r ? r->item : nullptr;
}

QString GoToAnything::TextAt(int row) const {
    const GoToListModel::Row* r = model_->At(row);
    return r ? QString::fromStdString(r->text) : QString();
}

int GoToAnything::CurrentRow() const {
    const QModelIndex index = lbItems_->currentIndex();
    return index.isValid() ? index.row() : -1;
}

void GoToAnything::Choose(int row) {
    TAssistBase* item = ItemAt(row);
    if (!item)
        return;
    accept();
    Q_EMIT itemChosen(item);
}

bool GoToAnything::eventFilter(QObject* watched, QEvent* event) {
    if (watched == eQuery_ && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            QApplication::sendEvent(lbItems_, event);
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}
