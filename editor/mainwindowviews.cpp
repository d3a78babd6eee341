// The main window's views and panels: the assistant tree and the navigation structure (built from the
// model here; patched from each edit's answer in mainwindowpatches.cpp), the current item and
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

namespace {

QString ToQ(const std::string& text) {
    return QString::fromStdString(text);
}

// The finding's field is kept on its line beside the item.
constexpr int FindingFieldRole = Qt::UserRole + 1;

} // namespace

std::string MainWindow::RootNodeText(const std::string& id) {
    const std::size_t cut = id.find_last_of("\\:");
    return cut == std::string::npos ? id : id.substr(cut + 1);
}

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
