#pragma once
// "Go to anything": a small box over the screens and options of the assistant. Typing narrows the list
// by fuzzy matching (model/fuzzymatch.h) on IDs and captions, best matches first; Up and Down move in the
// list, Enter or a click chooses, Esc closes. The box holds plain pointers to the items, taken when it
// is opened, and closes as soon as something is chosen; the window hands the chosen item to SelectItem,
// which compares it with the tree's items only (so an item deleted while the box was open selects
// nothing).
#include <QDialog>

#include <string>
#include <vector>

class TAssistBase;
class TAssistRoot;
class QLineEdit;
class QListView;
class GoToListModel;

class GoToAnything : public QDialog {
    Q_OBJECT
public:
    explicit GoToAnything(QWidget* parent = nullptr);
    ~GoToAnything() override;

    // Takes the screens and options of `root` (in tree order), empties the query and shows the box.
    void Open(TAssistRoot& root);

    // The rows of the list as shown: the item of each row, and its text ("ID · caption").
    int RowCount() const;
    TAssistBase* ItemAt(int row) const;
    QString TextAt(int row) const;
    // The row Enter would choose; -1 for none.
    int CurrentRow() const;

Q_SIGNALS:
    void itemChosen(TAssistBase* item);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void QueryChanged();
    void Choose(int row);

    QLineEdit* m_eQuery;
    QListView* m_lbItems;
    GoToListModel* m_model;
    std::vector<TAssistBase*> m_items;
    std::vector<std::vector<std::string>> m_texts; // per item: ID, caption
};
