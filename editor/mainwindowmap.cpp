// The main window's Map page: while it is shown it is handed the assistant after every stored change
// and on New and Open (a hidden map catches up when its page is shown); a click on a box, an arrow or
// a badge selects that screen or option in the tree (and shows its panel), a double click goes to the
// Assistant page with it selected, and the map's frame follows the current item's screen.
#include "editor/mainwindow.h"
#include "editor/mappage.h"
#include "model/assistroot.h"

#include <QTabWidget>

void MainWindow::ConnectMap() {
    connect(m_mapPage, &MapPage::screenClicked, this, [this](int screen) {
        if (TAssistBase* item = MapItemAt(screen, -1))
            SelectItem(item);
    });
    connect(m_mapPage, &MapPage::optionClicked, this, [this](int screen, int option) {
        if (TAssistBase* item = MapItemAt(screen, option))
            SelectItem(item);
    });
    connect(m_mapPage, &MapPage::itemActivated, this, [this](int screen, int option) {
        TAssistBase* item = MapItemAt(screen, option);
        if (item == nullptr)
            return;
        m_pages->setCurrentWidget(m_tsAssistant);
        SelectItem(item);
    });
    connect(m_pages, &QTabWidget::currentChanged, this, [this](int index) {
        if (m_pages->widget(index) == m_tsMap && m_mapOutOfDate)
            RebuildMap();
    });
    // A new picture may have moved the boxes: the frame goes to the current item's screen again.
    connect(m_mapPage, &MapPage::layoutFinished, this, [this] { SelectOnMap(); });
}

void MainWindow::RebuildMap() {
    // Laying out a map nobody looks at would cost every edit a snapshot of the whole assistant (and a
    // Graphviz run in the background): a hidden map only notes that it is out of date and catches up
    // when its page is shown.
    if (m_pages->currentWidget() != m_tsMap) {
        m_mapOutOfDate = true;
        return;
    }
    m_mapOutOfDate = false;
    m_mapPage->setAssistant(*m_assistant);
}

TAssistBase* MainWindow::MapItemAt(int screen, int option) const {
    // The positions are those of the picture shown; the screen there must still be the one drawn.
    const AssistantMap& shown = m_mapPage->shownMap();
    if (screen < 0 || screen >= m_assistant->Screens.Count() ||
        screen >= static_cast<int>(shown.Boxes.size()))
        return nullptr;
    TAssistScreen* item = m_assistant->Screens.Item(screen);
    if (item->ID != shown.Boxes[static_cast<std::size_t>(screen)].ID)
        return nullptr;
    if (option < 0)
        return item;
    if (option >= item->Options.Count())
        return nullptr;
    return item->Options.Item(option);
}

void MainWindow::SelectOnMap() {
    // The screen of the current item: the screen itself, or the screen an option belongs to.
    const TAssistScreen* screen = dynamic_cast<const TAssistScreen*>(m_currentItem);
    if (const auto* option = dynamic_cast<const TAssistOption*>(m_currentItem))
        screen = option->Owner;
    m_mapPage->selectScreen(screen != nullptr ? m_assistant->Screens.IndexOf(screen) : -1);
}
