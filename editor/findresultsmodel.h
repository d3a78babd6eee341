#pragma once
// The find panel's list of matches as a table model: the item, the field and the line holding the match,
// with the match's range under HighlightDelegate::HighlightRole. The hits are kept as the search gives
// them; texts turn into QString only for the rows a view paints. The item names are taken when the hits
// are set, so painting a row never reaches an item (which may be gone before the window refreshes the
// list).
#include "model/assistsearch.h"

#include <QAbstractTableModel>
#include <QString>

#include <string>
#include <vector>

class FindResultsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ItemColumn, FieldColumn, LineColumn, ColumnCount };

    explicit FindResultsModel(QObject* parent = nullptr);

    void SetHits(std::vector<TSearchHit> hits);
    const std::vector<TSearchHit>& Hits() const { return m_hits; }
    const TSearchHit* Hit(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // "Assistant A1", "Screen S1", "Option S1.2".
    static QString ItemText(const TAssistBase& item);
    // "ID", "Caption", "Text", "Description", "Command", "Script", "Note 2" (notes counted from 1).
    static QString FieldName(TSearchField field, int noteIndex);
    // The line shown for a hit: line breaks and tabs inside it as blanks, at most kBefore characters before
    // the match (else cut with "…") and kAfter after it; `matchStart` and `matchLength` receive the
    // match's place in the returned text, in UTF-16 units.
    static QString ShownLine(const TSearchHit& hit, int& matchStart, int& matchLength);
    static constexpr int kBefore = 40;
    static constexpr int kAfter = 160;

private:
    std::vector<TSearchHit> m_hits;
    std::vector<std::string> m_itemTexts; // per hit: ItemText of its item, UTF-8
};
