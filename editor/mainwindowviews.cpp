// The main window's views and panels: the assistant tree and the navigation structure (built from the
// model, then patched from each edit's answer or rebuilt where it can move a branch), the current item and
// its edit panel, the exit handlers that store the boxes' values, the findings of the structure check, and
// the structure commands (new/delete screen and option, up, down).
#include "editor/assistantpage.h"
#include "editor/debouncedsaver.h"
#include "editor/dropdowncombobox.h"
#include "editor/exithandlers.h"
#include "editor/findpanel.h"
#include "editor/generalpanel.h"
#include "editor/imagepick.h"
#include "editor/itemtreemodel.h"
#include "editor/mainwindow.h"
#include "editor/noteform.h"
#include "editor/optionpanel.h"
#include "editor/screenpanel.h"
#include "editor/spellboxes.h"
#include "editor/spellservice.h"
#include "editor/testviewers.h"
#include "editor/treecontextmenu.h"
#include "model/assistoption.h"
#include "model/assistroot.h"
#include "model/assistscreen.h"
#include "model/navigationstructure.h"
#include "model/structurecheck.h"
#include "support/textroutines.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>

#include <algorithm>

namespace {

QString ToQ(const std::string& text) {
    return QString::fromStdString(text);
}

// The text of the tree's top node: the assistant's ID without anything up to its last "\" or ":".
std::string RootNodeText(const std::string& id) {
    const std::size_t cut = id.find_last_of("\\:");
    return cut == std::string::npos ? id : id.substr(cut + 1);
}

// The finding's field is kept on its line beside the item.
constexpr int FindingFieldRole = Qt::UserRole + 1;

// Whether a go-to option names the ID (compared as screens are found) or the ID is the first screen:
// then a screen with this ID can show in the navigation structure.
bool LinkedTo(const TAssistRoot& root, const std::string& id) {
    if (SameText(root.FirstScreen, id))
        return true;
    for (const TAssistScreen& screen : root.Screens)
        for (const TAssistOption& option : screen.Options)
            if ((option.Action == akGoto || option.Action == akGotoButton) && SameText(option.Command, id))
                return true;
    return false;
}

} // namespace

// ---- Binding

void MainWindow::ConnectModel() {
    m_treeModel = new ItemTreeModel(this);
    Tree()->setModel(m_treeModel);
    connect(Tree()->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { TreeChange(current); });
    TreeContextMenu::Attach(*this);

    m_structureModel = new ItemTreeModel(this, ItemTreeModel::Shape::Flat);
    Structure()->setModel(m_structureModel);
    connect(Structure(), &QTreeView::clicked, this, [this] { StructureClick(); });

    connect(m_lbErrors, &QListWidget::itemClicked, this, [this] { cbErrorsClick(); });
    // Return (or a double click) on a line leads to the box at fault as a click does.
    connect(m_lbErrors, &QListWidget::itemActivated, this, [this] { cbErrorsClick(); });
    m_lbErrors->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* goTo = new QAction(tr("&Go to item"), m_lbErrors);
    goTo->setObjectName(QStringLiteral("aWarningGoTo"));
    connect(goTo, &QAction::triggered, this, [this] { cbErrorsClick(); });
    auto* copy = new QAction(tr("&Copy line"), m_lbErrors);
    copy->setObjectName(QStringLiteral("aWarningCopy"));
    connect(copy, &QAction::triggered, this, [this] { CopyFindingLine(); });
    m_lbErrors->addActions({goTo, copy});

    // Changes that rename and link nothing are checked once typing pauses; every other change is
    // checked at once (OnDocumentChanged).
    m_warningsTimer = new QTimer(this);
    m_warningsTimer->setSingleShot(true);
    m_warningsTimer->setInterval(WarningsDelay);
    connect(m_warningsTimer, &QTimer::timeout, this, [this] { CheckStructure(); });
    // Entering the Warnings page runs the check again: edits that rebuild nothing show up there too.
    connect(m_pages, &QTabWidget::currentChanged, this, [this](int index) {
        if (m_pages->widget(index) == m_tsErrors)
            CheckStructure();
    });
    UpdateStructureActions();
}

void MainWindow::AttachPanels() {
    ItemPanel::Services services;
    services.edits = m_edits.get();
    services.prompter = [this]() -> Prompter& { return *m_prompter; };
    services.exitHandlers = m_exitHandlers;
    services.showError = [this](const std::exception& error) { ShowError(error); };
    // Misspelt words are marked in the prose boxes only: IDs, commands and scripts are not words.
    try {
        m_spelling = new SpellService(m_services.Settings, QString(), this);
    } catch (const std::exception& error) {
        m_settingsFailures.Note(error.what());
    }
    // The spelling menus ask for the window's prompter when they come up: it can be replaced later.
    const PrompterSource prompter = [this] { return m_prompter; };
    const auto attachSpelling = [this, &prompter](QWidget* box) {
        if (auto* line = qobject_cast<QLineEdit*>(box))
            AttachSpellChecking(line, *m_spelling, prompter);
        else if (auto* memo = qobject_cast<QPlainTextEdit*>(box))
            AttachSpellChecking(memo, *m_spelling, prompter);
    };
    for (ItemPanel* panel : m_assistantPage->ItemPanels()) {
        panel->Attach(services);
        if (m_spelling != nullptr)
            for (QWidget* box : panel->ProseBoxes())
                attachSpelling(box);
        connect(panel, &ItemPanel::ExpandInTree, this, [this](TAssistBase* item) {
            const int node = m_treeModel->FirstNodeOf(item);
            if (node >= 0)
                Tree()->expand(m_treeModel->IndexOfNode(node));
        });
    }
}

// ---- Current item and panels

void MainWindow::SetCurrentItem(TAssistBase* item) {
    m_currentItem = item;
    ShowItem();
    UpdateStructureActions();
    SelectOnMap();
}

void MainWindow::ShowItem() {
    if (m_currentItem == nullptr) {
        // The panels keep their texts, but nothing typed there reaches the model any more.
        for (ItemPanel* panel : m_assistantPage->ItemPanels())
            panel->ShowItem(nullptr);
        return;
    }
    // Every panel first takes the item or lets go of its own; only then does the page change, which may
    // move the focus out of a box whose panel no longer has an item to store into.
    ItemPanel* shown = nullptr;
    for (ItemPanel* panel : m_assistantPage->ItemPanels())
        if (panel->ShowItem(m_currentItem))
            shown = panel;
    if (shown != nullptr)
        m_assistantPage->ShowPanel(shown->windowTitle());
}

// ---- Views

void MainWindow::SetViewCurrent(QTreeView* view, const QModelIndex& index) {
    QItemSelectionModel* selection = view->selectionModel();
    if (index.isValid())
        selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    else
        selection->clear();
}

void MainWindow::CopyExpansionToItems(QTreeView* view, ItemTreeModel* model) {
    // Only nodes with children have a state the user can see and change. A flat model keeps the
    // expansion itself; a nested one leaves it to the view.
    for (int node = 0; node < model->NodeCount(); ++node)
        if (TAssistBase* item = model->ItemAt(node); item != nullptr && model->HasChildren(node))
            item->Expanded =
                model->IsFlat() ? model->IsExpanded(node) : view->isExpanded(model->IndexOfNode(node));
}

void MainWindow::RestoreExpansionFromItems(QTreeView* view, ItemTreeModel* model) {
    // Right after a reset every node is collapsed, so only the expanded ones need a call; each call only
    // records the index until the view lays itself out once, so this stays linear.
    for (int node = 0; node < model->NodeCount(); ++node)
        if (TAssistBase* item = model->ItemAt(node);
            item != nullptr && item->Expanded && model->HasChildren(node))
            view->setExpanded(model->IndexOfNode(node), true);
}

void MainWindow::RebuildTree() {
    TAssistBase* remembered = m_treeModel->ItemOf(Tree()->currentIndex());
    CopyExpansionToItems(Tree(), m_treeModel);

    m_treeModel->BeginBuild();
    TAssistRoot& root = *m_assistant;
    const int rootNode = m_treeModel->AddNode(-1, &root, RootNodeText(root.ID));
    for (TAssistScreen& screen : root.Screens) {
        const int screenNode = m_treeModel->AddNode(rootNode, &screen, screen.ID);
        for (TAssistOption& option : screen.Options)
            m_treeModel->AddNode(screenNode, &option, option.ID);
    }
    m_treeModel->EndBuild();

    RestoreExpansionFromItems(Tree(), m_treeModel);
    int selected = remembered != nullptr ? m_treeModel->FirstNodeOf(remembered) : -1;
    if (selected < 0)
        selected = rootNode;
    SetViewCurrent(Tree(), m_treeModel->IndexOfNode(selected));
    CheckStructure();
}

void MainWindow::RebuildStructure() {
    CopyExpansionToItems(Structure(), m_structureModel);

    NavigationStructure navigation = BuildNavigationStructure(*m_assistant);
    m_structureModel->BeginBuild();
    for (NavigationNode& node : navigation.Nodes) {
        // The navigation structure reads the assistant as const; its items are this window's own.
        auto* item = const_cast<TAssistBase*>(node.Item);
        m_structureModel->AddNode(node.Parent, item, std::move(node.Text));
    }
    m_structureModel->EndBuild();

    // Every new node is expanded, so the whole structure shows and reading the flags back would change
    // nothing; the selection follows the current item (its last node in index order).
    const int selected = m_currentItem != nullptr ? m_structureModel->LastNodeOf(m_currentItem) : -1;
    SetViewCurrent(Structure(), m_structureModel->IndexOfNode(selected));
}

void MainWindow::RenameInViews(TAssistBase* item) {
    // The tree shows the ID as the node's text and nothing else of it; the nodes stay where they are.
    const int node = m_treeModel->FirstNodeOf(item);
    const int depth = m_treeModel->DepthOf(node);
    const std::string oldId = m_treeModel->NodeText(node);
    m_treeModel->RenameItem(item, depth == 0 ? RootNodeText(item->ID) : item->ID);
    // The structure's texts name the assistant in its top node, an option in the node under its
    // screen (which carries the option's target when it is a go-to), a screen in its own nodes. A
    // screen it does not show was reached by no link of the structure under its old ID, so only a link
    // to (or the first screen being) its new ID can bring it in.
    bool rebuild = false;
    if (depth == 0)
        rebuild = !RenameAssistantInStructure();
    else if (depth == 1)
        rebuild = m_structureModel->FirstNodeOf(item) >= 0 || LinkedTo(*m_assistant, item->ID);
    else if (auto* option = dynamic_cast<TAssistOption*>(item); depth == 2 && option != nullptr)
        rebuild = !RenameOptionInStructure(*option, oldId);
    else
        rebuild = true; // not in the tree: rebuild rather than guess
    if (rebuild)
        RebuildStructure();
}

bool MainWindow::RenameOptionInStructure(const TAssistOption& option, const std::string& oldId) {
    // An option's node stands under the node where its screen is expanded, the screen's first node in
    // index order; no such node, or an option that leads nowhere, and the structure does not show it.
    const int screenNode = m_structureModel->FirstNodeOf(option.Owner);
    if (screenNode < 0 || !OptionHasNode(*m_assistant, option))
        return true;
    // Only the "O <ID> » " at the start of its text names the option. Two options of the screen with
    // the old ID (or one whose ID begins with the old ID and the arrow) cannot be told apart here.
    const std::string oldPrefix = OptionNodePrefix(oldId);
    int found = -1;
    for (const int child : m_structureModel->ChildNodes(screenNode)) {
        if (!m_structureModel->NodeText(child).starts_with(oldPrefix))
            continue;
        if (found >= 0)
            return false;
        found = child;
    }
    if (found < 0)
        return false;
    m_structureModel->SetNodeText(found, OptionNodePrefix(option.ID) +
                                             m_structureModel->NodeText(found).substr(oldPrefix.size()));
    return true;
}

bool MainWindow::RenameAssistantInStructure() {
    // The assistant's ID shows in the top node only, beside the start screen that node carries.
    if (m_structureModel->NodeCount() == 0)
        return true;
    const auto* start = m_structureModel->DepthOf(0) == 0
                            ? dynamic_cast<const TAssistScreen*>(m_structureModel->ItemAt(0))
                            : nullptr;
    if (start == nullptr)
        return false;
    m_structureModel->SetNodeText(0, TopNodeText(m_assistant->ID, start->ID));
    return true;
}

bool MainWindow::PatchOptionInStructure(const TAssistOption& option) {
    // Options of a screen the structure does not show never show there.
    const int screenNode = m_structureModel->FirstNodeOf(option.Owner);
    if (screenNode < 0)
        return true;
    // A go-to's target decides a whole branch, which only a rebuild finds.
    if (option.Action == akGoto || option.Action == akGotoButton)
        return false;
    // A node under its screen's node that carries the option itself is a leaf: its text or its going
    // away is all that changes. Without one, the option led to a screen or had no node, and the
    // structure changes its shape.
    for (const int child : m_structureModel->ChildNodes(screenNode)) {
        if (m_structureModel->ItemAt(child) != &option)
            continue;
        std::string text = OptionLeafText(option);
        if (text.empty())
            m_structureModel->RemoveFirstNodeOf(&option); // now a note, which has no node
        else
            m_structureModel->SetNodeText(child, std::move(text));
        return true;
    }
    return false;
}

ViewRebuild MainWindow::AddToViews(TAssistBase* item) {
    // A new screen or option goes into the tree at its place under its parent's node.
    if (auto* screen = dynamic_cast<TAssistScreen*>(item)) {
        const int rootNode = m_treeModel->FirstNodeOf(m_assistant.get());
        const int screenNode =
            m_treeModel->InsertNode(rootNode, m_assistant->Screens.IndexOf(screen), screen, screen->ID);
        if (screenNode < 0)
            return ViewRebuild::Both;
        // A screen brought back by Undo comes with its options, open as it was when it went.
        int position = 0;
        for (TAssistOption& option : screen->Options)
            m_treeModel->InsertNode(screenNode, position++, &option, option.ID);
        if (screen->Expanded && screen->Options.Count() > 0)
            Tree()->expand(m_treeModel->IndexOfNode(screenNode));
        // Only a link to its ID (or being the first screen) can bring a screen into the structure.
        return LinkedTo(*m_assistant, screen->ID) ? ViewRebuild::Structure : ViewRebuild::None;
    }
    auto* option = dynamic_cast<TAssistOption*>(item);
    if (option == nullptr || option->Owner == nullptr)
        return ViewRebuild::Both;
    const int screenNode = m_treeModel->FirstNodeOf(option->Owner);
    if (m_treeModel->InsertNode(screenNode, option->Owner->Options.IndexOf(option), option, option->ID) < 0)
        return ViewRebuild::Both;
    // The structure gains a node only under a screen it shows and for an option that leads somewhere
    // (a new option is a go-to with no target yet; Undo brings back options of every kind).
    const int shownScreen = m_structureModel->FirstNodeOf(option->Owner);
    if (shownScreen < 0 || !OptionHasNode(*m_assistant, *option))
        return ViewRebuild::None;
    // A go-to's branch may move a screen's first place: only a rebuild finds it. Any other kind is a
    // leaf, placed among the nodes of the options before it that have one.
    std::string leaf = OptionLeafText(*option);
    if (leaf.empty())
        return ViewRebuild::Structure;
    int position = 0;
    for (const TAssistOption& before : option->Owner->Options) {
        if (&before == option)
            break;
        position += OptionHasNode(*m_assistant, before) ? 1 : 0;
    }
    return m_structureModel->InsertLeaf(shownScreen, position, option, std::move(leaf)) < 0
               ? ViewRebuild::Structure
               : ViewRebuild::None;
}

ViewRebuild MainWindow::MoveInViews(TAssistBase* item) {
    // The node still stands where the item was.
    const int node = m_treeModel->FirstNodeOf(item);
    const int from = m_treeModel->IndexOfNode(node).row();
    if (auto* screen = dynamic_cast<TAssistScreen*>(item)) {
        if (!m_treeModel->MoveNode(node, m_assistant->Screens.IndexOf(screen)))
            return ViewRebuild::Both;
        // The order of the screens matters to the structure only among screens of the same ID (the
        // first in the list is the one links reach).
        for (const TAssistScreen& other : m_assistant->Screens)
            if (&other != screen && SameText(other.ID, screen->ID))
                return ViewRebuild::Structure;
        return ViewRebuild::None;
    }
    auto* option = dynamic_cast<TAssistOption*>(item);
    if (option == nullptr || option->Owner == nullptr)
        return ViewRebuild::Both;
    TAssistOptions& options = option->Owner->Options;
    const int to = options.IndexOf(option);
    if (!m_treeModel->MoveNode(node, to))
        return ViewRebuild::Both;
    // The structure's nodes under the screen follow the options in list order: the order changed
    // there only when the option has a node and passed another that has one.
    if (m_structureModel->FirstNodeOf(option->Owner) < 0 || !OptionHasNode(*m_assistant, *option))
        return ViewRebuild::None;
    for (int i = std::min(from, to); i <= std::max(from, to); ++i)
        if (i != to && OptionHasNode(*m_assistant, *options.Item(i)))
            return ViewRebuild::Structure;
    return ViewRebuild::None;
}

ViewRebuild MainWindow::RemoveFromViews(TAssistBase* item) {
    // The delete commands take the item's nodes out of the tree before the item goes, so that the
    // selection moves off it while it still exists; a removal from elsewhere takes them out here.
    RemoveTreeNodes(item);
    if (auto* option = dynamic_cast<TAssistOption*>(item)) {
        // An option's node stands under the node where its screen is expanded, if it has one.
        if (m_structureModel->FirstNodeOf(option->Owner) < 0 || !OptionHasNode(*m_assistant, *option))
            return ViewRebuild::None;
        // A go-to's branch may have held a screen's first place, which now moves elsewhere.
        if (option->Action == akGoto || option->Action == akGotoButton)
            return ViewRebuild::Structure;
        m_structureModel->RemoveFirstNodeOf(option); // any other kind is a leaf carrying the option
        return ViewRebuild::None;
    }
    if (dynamic_cast<TAssistScreen*>(item) == nullptr)
        return ViewRebuild::Both;
    // A screen the structure does not show was reached by no link, and none of its options shows.
    return m_structureModel->FirstNodeOf(item) >= 0 ? ViewRebuild::Structure : ViewRebuild::None;
}

void MainWindow::OnDocumentChanged(const DocumentChange& change) {
    // The one place where a change of the assistant reaches the views: the change says what it made
    // out of date.
    ViewRebuild views = change.views;
    if (change.renamed && change.item != nullptr) {
        RenameInViews(change.item);
        views = ViewRebuild::None;
    }
    if (change.added != nullptr)
        views = views | AddToViews(change.added);
    if (change.removed != nullptr)
        views = views | RemoveFromViews(change.removed);
    if (change.moved != nullptr)
        views = views | MoveInViews(change.moved);
    // A new command or action of an option that leads to no screen changes only its own node.
    if (change.views == ViewRebuild::Structure && views == ViewRebuild::Structure && !change.renamed &&
        change.added == nullptr && change.removed == nullptr)
        if (const auto* option = dynamic_cast<const TAssistOption*>(change.item);
            option != nullptr && PatchOptionInStructure(*option))
            views = ViewRebuild::None;
    const bool rebuildsTree = Needs(views, ViewRebuild::Tree);
    if (rebuildsTree)
        RebuildTree(); // ends with the structure check
    if (Needs(views, ViewRebuild::Structure))
        RebuildStructure();
    if (change.views == ViewRebuild::None && change.added == nullptr && change.removed == nullptr &&
        change.moved == nullptr && change.item != nullptr) {
        // Nothing was added, removed or renamed: only the rows that show the item are out of date.
        m_treeModel->RefreshItem(change.item);
        m_structureModel->RefreshItem(change.item);
    }
    if (change.select != nullptr)
        SelectItem(change.select);
    // The Warnings page is always true once the delay after typing has passed: a change of IDs, links
    // or the items themselves is checked at once, a text after the delay (restarted by each change).
    if (!rebuildsTree) {
        if (change.views != ViewRebuild::None || views != ViewRebuild::None || change.renamed ||
            change.structural || change.showAgain)
            CheckStructure();
        else
            m_warningsTimer->start();
    }
    // Every stored change may move a box or an arrow or change a text the map shows.
    RebuildMap();
    if (change.showAgain) {
        // The panel shows the model's values even when the item was current already.
        ShowItem();
    } else {
        // The typing of a box whose value was just stored is now a change of the assistant: from here
        // on Undo takes it back there, not in the box.
        ForgetBoxHistory();
    }
    UpdateStructureActions();
    UpdateUndoActions();
    // The find panel's list never names an item that is gone or a text that changed.
    if (m_findPanel != nullptr)
        m_findPanel->refresh();
    // A new, deleted or moved screen or option is kept for recovery at once, as soon as the window
    // shows it (at 100,000 options the copy costs several times the views' update); other changes
    // within the recovery writer's interval (and with the autosave timer's tick).
    if (change.structural && m_recoveryWriter != nullptr)
        m_recoveryWriter->ChangedSoon();
    else if (change.structural)
        WriteRecovery();
    else if (m_recoveryWriter != nullptr && m_services.RecoveryWriteInterval > 0)
        m_recoveryWriter->Changed();
    // An open viewer started by Test shows the assistant as it is now.
    UpdateTestViewers(*this);
}

void MainWindow::RemoveTreeNodes(TAssistBase* item) {
    const int node = m_treeModel->FirstNodeOf(item);
    if (node < 0)
        return;
    // The item and everything below it in the tree (a screen's options) leave together.
    const QModelIndex parentIndex = m_treeModel->IndexOfNode(node).parent();
    m_treeModel->RemoveFirstNodeOf(item);
    // The view moves the selection to a sibling; with none left, the parent is the nearest neighbour.
    if (!Tree()->currentIndex().isValid() && parentIndex.isValid())
        SetViewCurrent(Tree(), parentIndex);
}

void MainWindow::SelectItem(TAssistBase* item) {
    const int node = item != nullptr ? m_treeModel->LastNodeOf(item) : -1;
    if (node < 0)
        return;
    SetViewCurrent(Tree(), m_treeModel->IndexOfNode(node));
    if (m_currentItem != item)
        SetCurrentItem(item);
}

void MainWindow::CheckStructure() {
    if (m_warningsTimer != nullptr)
        m_warningsTimer->stop(); // a pending run would find the same
    const StructureCheckResult result = ::CheckStructure(*m_assistant);
    m_lbErrors->setUpdatesEnabled(false);
    m_lbErrors->clear();
    for (const StructureFinding& finding : result.Findings) {
        auto* line = new QListWidgetItem(ToQ(finding.Line()));
        line->setData(Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(finding.Item)));
        line->setData(FindingFieldRole, static_cast<int>(finding.Field));
        m_lbErrors->addItem(line);
    }
    m_lbErrors->setUpdatesEnabled(true);
    m_pages->setTabText(m_pages->indexOf(m_tsErrors), ToQ(result.Caption()));
}

// ---- View events

void MainWindow::TreeChange(const QModelIndex& current) {
    try {
        SetCurrentItem(m_treeModel->ItemOf(current));
    } catch (const std::exception& error) {
        ShowError(error);
    }
}

void MainWindow::StructureClick() {
    TAssistBase* item = m_structureModel->ItemOf(Structure()->currentIndex());
    if (item == nullptr)
        return;
    m_pages->setCurrentWidget(m_tsAssistant);
    SelectItem(item);
}

void MainWindow::cbErrorsClick() {
    QListWidgetItem* line = m_lbErrors->currentItem();
    if (line == nullptr)
        return;
    // Items are compared by identity only: SelectItem finds the node that carries this very item.
    auto* item = reinterpret_cast<TAssistBase*>(line->data(Qt::UserRole).value<quintptr>());
    if (item == nullptr)
        return;
    m_pages->setCurrentWidget(m_tsAssistant);
    SelectItem(item);
    if (m_currentItem != item)
        return;
    QWidget* box = FindingBox(item, line->data(FindingFieldRole).toInt());
    // A box the option's action turns off (a script kept on a web-page option) is reached through the
    // action, which turns it on.
    if (box != nullptr && !box->isEnabled() && item == Option()->CurrentOption())
        box = Option()->cbAction();
    if (box != nullptr) {
        box->setFocus(Qt::OtherFocusReason);
        // A text box shows its whole value selected, ready to be typed over.
        if (auto* edit = qobject_cast<QLineEdit*>(box))
            edit->selectAll();
    }
}

QWidget* MainWindow::FindingBox(const TAssistBase* item, int field) const {
    const auto kind = static_cast<FindingField>(field);
    if (item == m_assistant.get()) {
        GeneralPanel* panel = General();
        switch (kind) {
        case FindingField::FirstScreen:
            return panel->cbInitScreen();
        case FindingField::AuthorName:
            return panel->eAuthor();
        case FindingField::Copyright:
            return panel->eCopyright();
        case FindingField::Caption:
            return panel->eProjectCaption();
        case FindingField::ID:
            return panel->eProjectID();
        case FindingField::Description:
            return panel->mProjectExp();
        default:
            return nullptr;
        }
    }
    if (item == Screen()->CurrentScreen()) {
        ScreenPanel* panel = Screen();
        switch (kind) {
        case FindingField::ID:
            return panel->eScreenID();
        case FindingField::Caption:
            return panel->eScreenCaption();
        case FindingField::Description:
            return panel->mScreenExp();
        default:
            return nullptr;
        }
    }
    if (item == Option()->CurrentOption()) {
        OptionPanel* panel = Option();
        switch (kind) {
        case FindingField::ID:
            return panel->eOptionID();
        case FindingField::Caption:
            return panel->eOptionCaption();
        case FindingField::Description:
            return panel->mOptionExp();
        case FindingField::Action:
            return panel->cbAction();
        case FindingField::Command:
            return panel->cbCommand();
        case FindingField::Script:
            return panel->mOptionScript();
        case FindingField::Notes:
            return panel->bEditNotes();
        default:
            return nullptr;
        }
    }
    return nullptr;
}

void MainWindow::CopyFindingLine() {
    if (const QListWidgetItem* line = m_lbErrors->currentItem())
        QApplication::clipboard()->setText(line->text());
}

// ---- Notes

void MainWindow::aNoteExecute() {
    TAssistOption* option = Option()->CurrentOption();
    if (option == nullptr)
        return;
    TNoteForm form(*option, *m_edits, m_services.Settings.get(), this);
    if (m_spelling != nullptr)
        AttachSpellChecking(form.mText(), *m_spelling, [this] { return m_prompter; });
    form.exec();
    // Saved here rather than by the dialog's destructor, so that a failing settings store is reported.
    form.SaveFormPlacement();
}

// ---- Structure commands

void MainWindow::aNewScreenExecute() {
    SelectItem(m_edits->CreateScreen());
}

void MainWindow::aNewOptionExecute() {
    // The node selected in the tree decides, not the current item (they differ after a save).
    // The tree has three levels: the assistant, its screens, their options.
    int node = m_treeModel->NodeOf(Tree()->currentIndex());
    if (m_treeModel->DepthOf(node) == 2)
        node = m_treeModel->ParentOf(node);
    if (m_treeModel->DepthOf(node) != 1 || m_treeModel->ItemAt(node) == nullptr)
        return; // the assistant itself has no options
    auto* screen = static_cast<TAssistScreen*>(m_treeModel->ItemAt(node));
    SelectItem(m_edits->CreateOption(*screen));
}

void MainWindow::aDelScreenExecute() {
    TAssistScreen* screen = Screen()->CurrentScreen();
    if (screen == nullptr)
        return;
    if (m_prompter->Message(Prompter::MessageKind::ConfirmYesNo,
                            "Confirm delete screen " + screen->ID + "?") != Prompter::Answer::Yes)
        return;
    RemoveTreeNodes(screen);
    m_edits->DeleteScreen(*screen);
}

void MainWindow::aDelOptionExecute() {
    TAssistOption* option = Option()->CurrentOption();
    if (option == nullptr)
        return;
    if (m_prompter->Message(Prompter::MessageKind::ConfirmYesNo,
                            "Confirm delete option " + option->ID + "?") != Prompter::Answer::Yes)
        return;
    RemoveTreeNodes(option);
    m_edits->DeleteOption(*option);
}

void MainWindow::aUpExecute() {
    if (TAssistScreen* screen = Screen()->CurrentScreen()) {
        m_edits->MoveScreen(*screen, m_assistant->Screens.IndexOf(screen) - 1);
    } else if (TAssistOption* option = Option()->CurrentOption()) {
        m_edits->MoveOption(*option, option->Owner->Options.IndexOf(option) - 1);
    }
}

void MainWindow::aDownExecute() {
    if (TAssistScreen* screen = Screen()->CurrentScreen()) {
        m_edits->MoveScreen(*screen, m_assistant->Screens.IndexOf(screen) + 1);
    } else if (TAssistOption* option = Option()->CurrentOption()) {
        m_edits->MoveOption(*option, option->Owner->Options.IndexOf(option) + 1);
    }
}
