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
        m_rows = std::move(rows);
        endResetModel();
    }
    const Row* At(int row) const {
        return row >= 0 && row < static_cast<int>(m_rows.size()) ? &m_rows[static_cast<std::size_t>(row)]
                                                                 : nullptr;
    }
    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
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
    std::vector<Row> m_rows;
};

GoToAnything::GoToAnything(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("GoToAnything"));
    setWindowTitle(QStringLiteral("Go to anything"));
    m_eQuery = new QLineEdit(this);
    m_eQuery->setObjectName(QStringLiteral("eQuery"));
    m_eQuery->setPlaceholderText(QStringLiteral("Screen or option: ID or caption"));
    m_model = new GoToListModel(this);
    m_lbItems = new QListView(this);
    m_lbItems->setObjectName(QStringLiteral("lbItems"));
    m_lbItems->setModel(m_model);
    m_lbItems->setUniformItemSizes(true);
    m_lbItems->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lbItems->setItemDelegate(new HighlightDelegate(m_lbItems));
    m_lbItems->setFocusPolicy(Qt::NoFocus); // typing always goes to the query
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_eQuery);
    layout->addWidget(m_lbItems);
    resize(480, 360);

    m_eQuery->installEventFilter(this);
    connect(m_eQuery, &QLineEdit::textChanged, this, &GoToAnything::QueryChanged);
    connect(m_eQuery, &QLineEdit::returnPressed, this, [this] { Choose(CurrentRow()); });
    connect(m_lbItems, &QListView::clicked, this, [this](const QModelIndex& index) { Choose(index.row()); });
}

GoToAnything::~GoToAnything() = default;

void GoToAnything::Open(TAssistRoot& root) {
    m_items.clear();
    m_texts.clear();
    for (TAssistScreen& screen : root.Screens) {
        m_items.push_back(&screen);
        m_texts.push_back({screen.ID, screen.Caption});
        for (TAssistOption& option : screen.Options) {
            m_items.push_back(&option);
            m_texts.push_back({option.ID, option.Caption});
        }
    }
    m_eQuery->blockSignals(true);
    m_eQuery->clear();
    m_eQuery->blockSignals(false);
    QueryChanged();
    show();
    raise();
    activateWindow();
    m_eQuery->setFocus(Qt::PopupFocusReason);
}

void GoToAnything::QueryChanged() {
    std::vector<GoToListModel::Row> rows;
    for (const TFuzzyRanked& ranked : RankFuzzy(m_eQuery->text().toStdString(), m_texts)) {
        const std::vector<std::string>& texts = m_texts[ranked.Index];
        std::string text = texts[0];
        if (!texts[1].empty())
            text += kSeparator + texts[1];
        std::vector<std::size_t> positions = ranked.Match.Positions;
        if (ranked.Text == 1)
            for (std::size_t& at : positions)
                at += texts[0].size() + kSeparator.size();
        TAssistBase* item = m_items[ranked.Index];
        QVariantList ranges = HighlightDelegate::RangesFromBytePositions(text, positions);
        rows.push_back(
            {item, std::move(text), std::move(ranges), dynamic_cast<TAssistOption*>(item) != nullptr});
    }
    m_model->SetRows(std::move(rows));
    if (m_model->rowCount() > 0)
        m_lbItems->setCurrentIndex(m_model->index(0));
}

int GoToAnything::RowCount() const {
    return m_model->rowCount();
}

TAssistBase* GoToAnything::ItemAt(int row) const {
    const GoToListModel::Row* r = m_model->At(row);
    return r ? r->item : nullptr;
}

QString GoToAnything::TextAt(int row) const {
    const GoToListModel::Row* r = m_model->At(row);
    return r ? QString::fromStdString(r->text) : QString();
}

int GoToAnything::CurrentRow() const {
    const QModelIndex index = m_lbItems->currentIndex();
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
    if (watched == m_eQuery && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            QApplication::sendEvent(m_lbItems, event);
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}
