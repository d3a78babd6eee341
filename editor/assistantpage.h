#pragma once
// The contents of the "&Assistant" page: on the left the structure buttons and the tree of the assistant
// (root, screens, options), on the right the edit panel of the selected item. The three panels are pages of
// a stack; which one is shown follows the current item and is chosen by the main window, never by the user.
#include <QList>
#include <QWidget>

#include <string>

class GeneralPanel;
class ItemPanel;
class OptionPanel;
class QLabel;
class QPushButton;
class QSplitter;
class QStackedWidget;
class QTreeView;
class ScreenPanel;

class AssistantPage : public QWidget {
    Q_OBJECT
public:
    explicit AssistantPage(QWidget* parent = nullptr);

    QTreeView* Tree() const { return m_tree; }
    QStackedWidget* Panels() const { return m_panels; }
    QSplitter* Splitter() const { return m_splitter; }
    GeneralPanel* General() const { return m_general; }
    ScreenPanel* Screen() const { return m_screen; }
    OptionPanel* Option() const { return m_option; }
    // The edit panels, one per kind of item, in page order. A new kind of panel is added here.
    QList<ItemPanel*> ItemPanels() const;

    QPushButton* bNewScreen() const { return m_bNewScreen; }
    QPushButton* bDelScreen() const { return m_bDelScreen; }
    QPushButton* bNewOption() const { return m_bNewOption; }
    QPushButton* bDelOption() const { return m_bDelOption; }
    QPushButton* bUp() const { return m_bUp; }
    QPushButton* bDown() const { return m_bDown; }

    // Shows the panel with the given caption ("General", "Screen", "Option") or object name ("Root",
    // "Screen", "Option"). Returns false, changing nothing, for an unknown name.
    bool ShowPanel(const QString& name);
    // Caption of the panel shown.
    QString CurrentPanelName() const;

    // The widths of the tree and the edit panel as "tree,panel", kept in the settings between runs.
    std::string SplitterSizesText() const;
    // Applies such a text. Anything else (empty, damaged, not two positive widths) changes nothing and
    // answers false.
    bool ApplySplitterSizes(const std::string& text);

private:
    QTreeView* m_tree;
    QStackedWidget* m_panels;
    QSplitter* m_splitter;
    QLabel* m_panelCaption;
    GeneralPanel* m_general;
    ScreenPanel* m_screen;
    OptionPanel* m_option;
    QPushButton* m_bNewScreen;
    QPushButton* m_bDelScreen;
    QPushButton* m_bNewOption;
    QPushButton* m_bDelOption;
    QPushButton* m_bUp;
    QPushButton* m_bDown;
};
