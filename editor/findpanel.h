#pragma once
// The find and replace panel: what to find and what to replace it with, which fields to look in, match
// case, whole words, regular expression, the list of matches and stepping through them (F3, Shift+F3).
// The panel only reads the assistant: it tells the window what to show (matchActivated) and what to
// change (replaceOneRequested, replaceAllRequested); the window makes the change undoable and calls
// refresh() after every change of the assistant, so the list never names an item that is gone.
#include "editor/regexmatcher.h"
#include "model/assistsearch.h"

#include <QWidget>

#include <memory>
#include <vector>

class FindResultsModel;
class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QTreeView;

class FindPanel : public QWidget {
    Q_OBJECT
public:
    explicit FindPanel(TAssistRoot& root, QWidget* parent = nullptr);
    ~FindPanel() override;

    // The assistant to search (after New or Open); the list is searched again.
    void SetAssistant(TAssistRoot& root);
    // Puts `text` (if not empty) into the find box, selects it and gives the box the focus (Ctrl+F).
    void StartFind(const QString& text = QString());

    // The fields the check boxes choose (TSearchField values combined).
    unsigned Fields() const;
    int MatchCount() const;
    // The row of the match shown last; -1 for none.
    int CurrentMatch() const { return m_current; }
    const TSearchHit* CurrentHit() const;
    // The text of the message line: the number of matches, "No matches." or why nothing is searched.
    QString Message() const;

    // Find next (F3) and Find previous (Shift+F3); the window may also put them into its menu.
    QAction* FindNextAction() const { return m_findNext; }
    QAction* FindPreviousAction() const { return m_findPrevious; }

public Q_SLOTS:
    // Searches again with the current settings (after an edit); the current row stays where it was, as
    // far as the list still reaches. Nothing is shown or emitted.
    void refresh();
    void FindNext();
    void FindPrevious();
    // Replaces the current match and goes on to the next one; with no current match, shows the first.
    void ReplaceCurrent();
    void ReplaceEverywhere();

Q_SIGNALS:
    // A match to show: the item, the field and the match in that field's text (FieldText of the model)
    // in UTF-16 units. For a note, CurrentHit() gives the note's index.
    void matchActivated(TAssistBase* item, TSearchField field, int offset, int length);
    void replaceOneRequested(const TFieldChange& change);
    void replaceAllRequested(const std::vector<TFieldChange>& changes);

private:
    void SettingsChanged();
    // Builds the matcher from the boxes; false (and the message shown) when there is nothing to search.
    bool PrepareMatcher();
    void Search();
    void EnsureSearched();
    void Activate(int row);
    bool HitIsCurrent(const TSearchHit& hit) const;
    void ShowMessage(const QString& text, bool error);
    void UpdateButtons();
    void ShowCount();

    TAssistRoot* m_root;
    std::unique_ptr<TRegexMatcher> m_matcher;
    bool m_stale = true; // the list does not follow the boxes yet
    int m_current = -1;

    QLineEdit* m_eFind;
    QLineEdit* m_eReplace;
    std::vector<std::pair<QCheckBox*, TSearchField>> m_fieldBoxes;
    QCheckBox* m_chkMatchCase;
    QCheckBox* m_chkWholeWords;
    QCheckBox* m_chkRegex;
    QLabel* m_lMessage;
    QTreeView* m_lbResults;
    FindResultsModel* m_results;
    QPushButton* m_bFindNext;
    QPushButton* m_bFindPrevious;
    QPushButton* m_bReplace;
    QPushButton* m_bReplaceAll;
    QAction* m_findNext;
    QAction* m_findPrevious;
    QTimer* m_typingTimer;
};
