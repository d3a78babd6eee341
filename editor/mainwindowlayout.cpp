// Layout of the main window's pages. The commands, menus and tool bar are made in mainwindowcommands.cpp.
#include "editor/assistantpage.h"
#include "editor/flattreeview.h"
#include "editor/mainwindow.h"
#include "editor/mappage.h"
#include "editor/panelwidgets.h"
#include "editor/uitext.h"

#include <QListWidget>
#include <QTabWidget>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

QWidget* MakePage(const char* objectName, QWidget* parent) {
    auto* page = new QWidget(parent);
    page->setObjectName(QString::fromLatin1(objectName));
    return page;
}

void AddPage(QTabWidget* pages, QWidget* page, const QString& caption, const QString& hint) {
    const int index = pages->addTab(page, caption);
    const HintParts parts = SplitHint(hint);
    pages->setTabToolTip(index, parts.shortText);
    page->setStatusTip(parts.longText);
}

} // namespace

void MainWindow::BuildPages() {
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("Pages"));
    m_pages->setDocumentMode(true);

    m_tsAssistant = MakePage("tsAssistant", m_pages);
    m_assistantPage = new AssistantPage(m_tsAssistant);
    auto* assistantLayout = new QVBoxLayout(m_tsAssistant);
    assistantLayout->setContentsMargins(0, 0, 0, 0);
    assistantLayout->addWidget(m_assistantPage);

    m_tsStructure = MakePage("tsStructure", m_pages);
    // The structure can be thousands of levels deep: a flat view of the visible nodes lays it out in one
    // pass (see ItemTreeModel).
    m_structure = new FlatTreeView(m_tsStructure);
    m_structure->setObjectName(QStringLiteral("Structure"));
    m_structure->setHeaderHidden(true);
    m_structure->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_structure->setSelectionMode(QAbstractItemView::SingleSelection);
    m_structure->setRootIsDecorated(false);
    m_structure->setIndentation(19);
    m_structure->setUniformRowHeights(true);
    ShowSelectionWithoutFocus(m_structure);
    auto* structureLayout = new QVBoxLayout(m_tsStructure);
    structureLayout->addWidget(m_structure);

    m_tsMap = MakePage("tsMap", m_pages);
    m_mapPage = new MapPage(m_tsMap);
    m_mapPage->setObjectName(QStringLiteral("MapPage"));
    m_mapPage->setPrompter(m_prompter);
    auto* mapLayout = new QVBoxLayout(m_tsMap);
    mapLayout->addWidget(m_mapPage);

    m_tsErrors = MakePage("tsErrors", m_pages);
    m_lbErrors = new QListWidget(m_tsErrors);
    m_lbErrors->setObjectName(QStringLiteral("lbErrors"));
    m_lbErrors->setUniformItemSizes(true);
    m_lbErrors->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* errorsLayout = new QVBoxLayout(m_tsErrors);
    errorsLayout->addWidget(m_lbErrors);

    AddPage(m_pages, m_tsAssistant, QStringLiteral("&Assistant"),
            QStringLiteral("Assistant data|Displays the contents of the current assistant."));
    AddPage(m_pages, m_tsStructure, QStringLiteral("St&ructure of Assistant"),
            QStringLiteral("Assistant navigation structure|Displays how the assistant screens and options "
                           "are linked when used."));
    AddPage(m_pages, m_tsMap, QStringLiteral("&Map"),
            QStringLiteral("Map of the assistant|Shows every screen as a box and every link as an arrow, and "
                           "which screens no user can reach."));
    AddPage(m_pages, m_tsErrors, QStringLiteral("&Warnings and errors"),
            QStringLiteral("Current warning(s) and error(s)|Lists information about the current assistant. "
                           "Click on an item to go to the definition."));
    setCentralWidget(m_pages);
}
