#include "editor/findresultsmodel.h"

#include "editor/highlightdelegate.h"
#include "model/assistoption.h"
#include "model/assistscreen.h"

#include <QPoint>

FindResultsModel::FindResultsModel(QObject* parent) : QAbstractTableModel(parent) {}

void FindResultsModel::SetHits(std::vector<TSearchHit> hits) {
    beginResetModel();
    m_hits = std::move(hits);
    m_itemTexts.clear();
    m_itemTexts.reserve(m_hits.size());
    for (const TSearchHit& hit : m_hits)
        m_itemTexts.push_back(hit.Item ? ItemText(*hit.Item).toStdString() : std::string());
    endResetModel();
}

const TSearchHit* FindResultsModel::Hit(int row) const {
    if (row < 0 || row >= static_cast<int>(m_hits.size()))
        return nullptr;
    return &m_hits[static_cast<std::size_t>(row)];
}

int FindResultsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_hits.size());
}

int FindResultsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString FindResultsModel::ItemText(const TAssistBase& item) {
    const QString id = QString::fromStdString(item.ID);
    if (dynamic_cast<const TAssistOption*>(&item))
        return QStringLiteral("Option ") + id;
    if (dynamic_cast<const TAssistScreen*>(&item))
        return QStringLiteral("Screen ") + id;
    return QStringLiteral("Assistant ") + id;
}

QString FindResultsModel::FieldName(TSearchField field, int noteIndex) {
    switch (field) {
    case sfID:
        return QStringLiteral("ID");
    case sfCaption:
        return QStringLiteral("Caption");
    case sfText:
        return QStringLiteral("Text");
    case sfOptionDescription:
        return QStringLiteral("Description");
    case sfCommand:
        return QStringLiteral("Command");
    case sfScript:
        return QStringLiteral("Script");
    case sfNotes:
        return QStringLiteral("Note %1").arg(noteIndex + 1);
    default:
        return QString();
    }
}

namespace {
QString OneLine(QString text) {
    for (QChar& c : text)
        if (c == u'\n' || c == u'\r' || c == u'\t')
            c = u' ';
    return text;
}
} // namespace

QString FindResultsModel::ShownLine(const TSearchHit& hit, int& matchStart, int& matchLength) {
    const std::string& line = hit.Line;
    const std::size_t at = std::min(hit.LineOffset, line.size());
    const std::size_t end = std::min(at + hit.Length, line.size());
    QString before = OneLine(QString::fromUtf8(line.data(), static_cast<qsizetype>(at)));
    const QString match = OneLine(QString::fromUtf8(line.data() + at, static_cast<qsizetype>(end - at)));
    QString after = OneLine(QString::fromUtf8(line.data() + end, static_cast<qsizetype>(line.size() - end)));
    if (before.size() > kBefore)
        before = QStringLiteral("…") + before.right(kBefore);
    if (after.size() > kAfter)
        after = after.left(kAfter) + QStringLiteral("…");
    matchStart = static_cast<int>(before.size());
    matchLength = static_cast<int>(match.size());
    return before + match + after;
}

QVariant FindResultsModel::data(const QModelIndex& index, int role) const {
    const TSearchHit* hit = index.isValid() ? Hit(index.row()) : nullptr;
    if (!hit)
        return {};
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case ItemColumn:
            return QString::fromStdString(m_itemTexts[static_cast<std::size_t>(index.row())]);
        case FieldColumn:
            return FieldName(hit->Field, hit->NoteIndex);
        case LineColumn: {
            int start = 0, length = 0;
            return ShownLine(*hit, start, length);
        }
        default:
            return {};
        }
    }
    if (role == HighlightDelegate::HighlightRole && index.column() == LineColumn) {
        int start = 0, length = 0;
        ShownLine(*hit, start, length);
        return QVariantList{QPoint(start, length)};
    }
    return {};
}

QVariant FindResultsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case ItemColumn:
        return QStringLiteral("Item");
    case FieldColumn:
        return QStringLiteral("Field");
    case LineColumn:
        return QStringLiteral("Line");
    default:
        return {};
    }
}
