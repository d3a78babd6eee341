// The main window's views and panels: the assistant tree and the navigation structure (both rebuilt
// from the model), the current item and its edit panel, the exit handlers that store the boxes' values,
// the findings of the structure check, and the structure commands (new/delete screen and option, up,
// down).
#include "editor/assistantpage.h"
#include "editor/debouncedsaver.h"
#include "editor/dropdowncombobox.h"
#include "editor/exithandlers.h"
#include "editor/generalpanel.h"
#include "editor/imagepick.h"
#include "editor/itemtreemodel.h"
#include "editor/noteform.h"
#include "editor/optionpanel.h"
#include "editor/pathovamainform.h"
#include "editor/screenpanel.h"
#include "model/assistroot.h"
#include "model/navigationstructure.h"
#include "model/structurecheck.h"
#include "support/textroutines.h"

#include <QAction>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTreeView>

namespace {

QString ToQ(const std::string& text) {
    return QString::fromStdString(text);
}

// The text of the tree's top node: the assistant's ID without anything up to its last "\" or ":".
std::string RootNodeText(const std::string& id) {
    const std::size_t cut = id.find_last_of("\\:");
    return cut == std::string::npos ? id : id.substr(cut + 1);
}

// Shows lines in a memo, each trimmed of blanks and control characters, with the caret at the start.
void FillMemo(QPlainTextEdit* memo, const std::vector<std::string>& lines) {
    QString text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += u'\n';
        text += ToQ(Trim(lines[i]));
    }
    memo->setPlainText(text);
    memo->moveCursor(QTextCursor::Start);
}

// The lines a memo's text stores: the text cut at each line break, each piece trimmed of blanks and
// control characters. A text ending with a line break gives a last empty line; an empty text none.
std::vector<std::string> MemoLines(const QPlainTextEdit* memo) {
    std::string text = memo->toPlainText().toStdString();
    std::vector<std::string> lines;
    while (!text.empty())
        lines.push_back(Trim(SplitAt(text, '\n')));
    // A final line break leaves nothing after it for the loop; it still ends an (empty) last line.
    const QString plain = memo->toPlainText();
    if (!plain.isEmpty() && plain.endsWith(u'\n'))
        lines.emplace_back();
    return lines;
}

// An option's script as memo text: one line per CR-separated piece, each trimmed.
QString ScriptText(const std::string& script) {
    std::string rest = script;
    QString text;
    bool first = true;
    while (!rest.empty()) {
        if (!first)
            text += u'\n';
        first = false;
        text += ToQ(Trim(SplitAt(rest, '\r')));
    }
    return text;
}

// A memo's text as a script: trimmed lines joined by single CRs, without empty lines or blanks at the end.
std::string ScriptOf(const QPlainTextEdit* memo) {
    std::string text = memo->toPlainText().toStdString();
    std::string script;
    while (!text.empty()) {
        script += Trim(SplitAt(text, '\n'));
        script += '\r';
    }
    while (!script.empty() && (script.back() == '\r' || script.back() == ' '))
        script.pop_back();
    return script;
}

QString BoxText(QWidget* sender) {
    if (auto* edit = qobject_cast<QLineEdit*>(sender))
        return edit->text();
    if (auto* combo = qobject_cast<QComboBox*>(sender))
        return combo->currentText();
    return {};
}

} // namespace

bool TPathovaMainForm::BoxShowsCurrentItem(QWidget* sender) const {
    const QWidget* panel = nullptr;
    if (dynamic_cast<const TAssistRoot*>(m_currentItem) != nullptr)
        panel = General();
    else if (dynamic_cast<const TAssistScreen*>(m_currentItem) != nullptr)
        panel = Screen();
    else if (dynamic_cast<const TAssistOption*>(m_currentItem) != nullptr)
        panel = Option();
    return panel != nullptr && sender != nullptr && panel->isAncestorOf(sender);
}

// ---- Binding

void TPathovaMainForm::ConnectModel() {
    m_treeModel = new ItemTreeModel(this);
    Tree()->setModel(m_treeModel);
    connect(Tree()->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { TreeChange(current); });

    m_structureModel = new ItemTreeModel(this, ItemTreeModel::Shape::Flat);
    Structure()->setModel(m_structureModel);
    connect(Structure(), &QTreeView::clicked, this, [this] { StructureClick(); });

    connect(m_lbErrors, &QListWidget::itemClicked, this, [this] { cbErrorsClick(); });
    // Entering the Warnings page runs the check again: edits that rebuild nothing show up there too.
    connect(m_pages, &QTabWidget::currentChanged, this, [this](int index) {
        if (m_pages->widget(index) == m_tsErrors)
            CheckStructure();
    });
    UpdateStructureActions();
}

void TPathovaMainForm::RegisterExitHandlers() {
    ExitHandlerRegistry& registry = ExitHandlers();
    using Member = void (TPathovaMainForm::*)(QWidget*);
    auto handler = [this](Member member) {
        return [this, member](QWidget* sender) { (this->*member)(sender); };
    };

    for (QLineEdit* box : {General()->eProjectID(), Screen()->eScreenID(), Option()->eOptionID()})
        registry.Register(box, handler(&TPathovaMainForm::eProjectIDExit));
    for (QLineEdit* box :
         {General()->eProjectCaption(), Screen()->eScreenCaption(), Option()->eOptionCaption()})
        registry.Register(box, handler(&TPathovaMainForm::eProjectCaptionExit));
    for (QPlainTextEdit* box : {General()->mProjectExp(), Screen()->mScreenExp(), Option()->mOptionExp()})
        registry.Register(box, handler(&TPathovaMainForm::mProjectExpExit));
    registry.Register(General()->eAuthor(), handler(&TPathovaMainForm::eAuthorExit));
    registry.Register(General()->eCopyright(), handler(&TPathovaMainForm::eCopyrightExit));
    registry.Register(General()->eVersion(), handler(&TPathovaMainForm::eVersionExit));
    registry.Register(General()->eBuildDate(), handler(&TPathovaMainForm::eBuildDateExit));
    registry.Register(General()->cbInitScreen(), handler(&TPathovaMainForm::cbInitScreenExit), true);
    registry.Register(Screen()->eScreenImage(), handler(&TPathovaMainForm::eScreenImageExit));
    registry.Register(Option()->cbAction(), handler(&TPathovaMainForm::rbGotoExit));
    registry.Register(Option()->cbCommand(), handler(&TPathovaMainForm::cbCommandExit), true);
    registry.Register(Option()->mOptionScript(), handler(&TPathovaMainForm::mOptionScriptExit));
}

std::vector<std::string> TPathovaMainForm::ScreenIDs() const {
    std::vector<std::string> ids;
    ids.reserve(static_cast<std::size_t>(m_assistant->Screens.Count()));
    for (const TAssistScreen& screen : m_assistant->Screens)
        ids.push_back(screen.ID);
    return ids;
}

// ---- Current item and panels

void TPathovaMainForm::SetCurrentItem(TAssistBase* item) {
    m_currentItem = item;
    ShowItem();
    UpdateStructureActions();
}

void TPathovaMainForm::UpdateStructureActions() {
    const auto* screen = dynamic_cast<const TAssistScreen*>(m_currentItem);
    const auto* option = dynamic_cast<const TAssistOption*>(m_currentItem);
    bool up = false;
    bool down = false;
    if (screen != nullptr) {
        const int index = m_assistant->Screens.IndexOf(screen);
        up = index > 0;
        down = index >= 0 && index < m_assistant->Screens.Count() - 1;
    } else if (option != nullptr && option->Owner != nullptr) {
        const int index = option->Owner->Options.IndexOf(option);
        up = index > 0;
        down = index >= 0 && index < option->Owner->Options.Count() - 1;
    }
    const bool any = m_currentItem != nullptr;
    m_actions.aNewScreen->setEnabled(any);
    m_actions.aDelScreen->setEnabled(screen != nullptr);
    m_actions.aNewOption->setEnabled(any);
    m_actions.aDelOption->setEnabled(option != nullptr);
    m_actions.aUp->setEnabled(up);
    m_actions.aDown->setEnabled(down);
    m_actions.aNote->setEnabled(option != nullptr);
}

void TPathovaMainForm::ShowItem() {
    if (m_currentItem == nullptr)
        return;
    if (auto* root = dynamic_cast<TAssistRoot*>(m_currentItem)) {
        ShowPanel(QStringLiteral("General"));
        GeneralPanel* panel = General();
        panel->eAuthor()->setText(ToQ(root->AuthorName));
        panel->eBuildDate()->setText(ToQ(root->BuildDate));
        panel->eCopyright()->setText(ToQ(root->Copyright));
        panel->eVersion()->setText(ToQ(root->Version));
        panel->eProjectID()->setText(ToQ(root->ID));
        panel->eProjectCaption()->setText(ToQ(root->Caption));
        FillMemo(panel->mProjectExp(), root->Description);
        panel->cbInitScreen()->setCurrentText(ToQ(root->FirstScreen));
    } else if (auto* screen = dynamic_cast<TAssistScreen*>(m_currentItem)) {
        ShowPanel(QStringLiteral("Screen"));
        ScreenPanel* panel = Screen();
        panel->eScreenID()->setText(ToQ(screen->ID));
        panel->eScreenCaption()->setText(ToQ(screen->Caption));
        panel->eScreenImage()->setText(ToQ(screen->Image));
        FillMemo(panel->mScreenExp(), screen->Description);
    } else if (auto* option = dynamic_cast<TAssistOption*>(m_currentItem)) {
        ShowPanel(QStringLiteral("Option"));
        OptionPanel* panel = Option();
        panel->eOptionID()->setText(ToQ(option->ID));
        panel->eOptionCaption()->setText(ToQ(option->Caption));
        FillMemo(panel->mOptionExp(), option->Description);
        panel->mOptionScript()->setPlainText(ScriptText(option->Script));
        panel->mOptionScript()->moveCursor(QTextCursor::Start);
        ShowNotes();
        panel->cbAction()->setCurrentIndex(static_cast<int>(option->Action));
        panel->cbCommand()->setCurrentText(ToQ(option->Command));
    }
    UpdateActionHelp();
}

void TPathovaMainForm::ShowNotes() {
    QListWidget* list = Option()->lbOptionNotes();
    list->clear();
    const auto* option = dynamic_cast<const TAssistOption*>(m_currentItem);
    if (option == nullptr)
        return;
    for (const TNote& note : option->Notes)
        list->addItem(ToQ(note.Name + '\t' + note.ID + '\t' + note.Type));
}

// ---- Views

void TPathovaMainForm::SetViewCurrent(QTreeView* view, const QModelIndex& index) {
    QItemSelectionModel* selection = view->selectionModel();
    if (index.isValid())
        selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    else
        selection->clear();
}

void TPathovaMainForm::CopyExpansionToItems(QTreeView* view, ItemTreeModel* model) {
    // Only nodes with children have a state the user can see and change. A flat model keeps the
    // expansion itself; a nested one leaves it to the view.
    for (int node = 0; node < model->NodeCount(); ++node)
        if (TAssistBase* item = model->ItemAt(node); item != nullptr && model->HasChildren(node))
            item->Expanded =
                model->IsFlat() ? model->IsExpanded(node) : view->isExpanded(model->IndexOfNode(node));
}

void TPathovaMainForm::RestoreExpansionFromItems(QTreeView* view, ItemTreeModel* model) {
    // Right after a reset every node is collapsed, so only the expanded ones need a call; each call only
    // records the index until the view lays itself out once, so this stays linear.
    for (int node = 0; node < model->NodeCount(); ++node)
        if (TAssistBase* item = model->ItemAt(node);
            item != nullptr && item->Expanded && model->HasChildren(node))
            view->setExpanded(model->IndexOfNode(node), true);
}

void TPathovaMainForm::RebuildTree() {
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

void TPathovaMainForm::RebuildStructure() {
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

void TPathovaMainForm::OnDocumentChanged(const DocumentChange& change) {
    // The one place where a change of the assistant reaches the views: the change says what it made
    // out of date.
    if (Needs(change.views, ViewRebuild::Tree))
        RebuildTree();
    if (Needs(change.views, ViewRebuild::Structure))
        RebuildStructure();
    if (change.views == ViewRebuild::None && change.item != nullptr) {
        // Nothing was added, removed or renamed: only the rows that show the item are out of date.
        m_treeModel->RefreshItem(change.item);
        m_structureModel->RefreshItem(change.item);
    }
    if (change.select != nullptr)
        SelectItem(change.select);
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
    // A new, deleted or moved screen or option is kept for recovery at once; other changes within the
    // recovery writer's interval (and with the autosave timer's tick).
    if (change.structural)
        WriteRecovery();
    else if (m_recoveryWriter != nullptr && m_services.RecoveryWriteInterval > 0)
        m_recoveryWriter->Changed();
}

void TPathovaMainForm::RemoveItemNodes(TAssistBase* item) {
    const QModelIndex parentIndex = m_treeModel->IndexOfNode(m_treeModel->FirstNodeOf(item)).parent();
    m_treeModel->RemoveFirstNodeOf(item);
    // The view moves the selection to a sibling; with none left, the parent is the nearest neighbour.
    if (!Tree()->currentIndex().isValid() && parentIndex.isValid())
        SetViewCurrent(Tree(), parentIndex);

    m_structureModel->RemoveFirstNodeOf(item);
    // Other nodes of the structure may still name the item (a repeated screen) or an option of a
    // removed screen; they must not refer to them once they are gone.
    std::vector<const TAssistBase*> gone{item};
    if (const auto* screen = dynamic_cast<const TAssistScreen*>(item))
        for (const TAssistOption& option : screen->Options)
            gone.push_back(&option);
    m_structureModel->ForgetItems(gone);
}

void TPathovaMainForm::SelectItem(TAssistBase* item) {
    const int node = item != nullptr ? m_treeModel->LastNodeOf(item) : -1;
    if (node < 0)
        return;
    SetViewCurrent(Tree(), m_treeModel->IndexOfNode(node));
    if (m_currentItem != item)
        SetCurrentItem(item);
}

void TPathovaMainForm::CheckStructure() {
    const StructureCheckResult result = ::CheckStructure(*m_assistant);
    m_lbErrors->setUpdatesEnabled(false);
    m_lbErrors->clear();
    for (const StructureFinding& finding : result.Findings) {
        auto* line = new QListWidgetItem(ToQ(finding.Line()));
        line->setData(Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(finding.Item)));
        m_lbErrors->addItem(line);
    }
    m_lbErrors->setUpdatesEnabled(true);
    m_pages->setTabText(m_pages->indexOf(m_tsErrors), ToQ(result.Caption()));
}

// ---- View events

void TPathovaMainForm::TreeChange(const QModelIndex& current) {
    try {
        SetCurrentItem(m_treeModel->ItemOf(current));
    } catch (const std::exception& error) {
        ShowError(error);
    }
}

void TPathovaMainForm::StructureClick() {
    TAssistBase* item = m_structureModel->ItemOf(Structure()->currentIndex());
    if (item == nullptr)
        return;
    m_pages->setCurrentWidget(m_tsAssistant);
    SelectItem(item);
}

void TPathovaMainForm::cbErrorsClick() {
    QListWidgetItem* line = m_lbErrors->currentItem();
    if (line == nullptr)
        return;
    // Items are compared by identity only: SelectItem finds the node that carries this very item.
    auto* item = reinterpret_cast<TAssistBase*>(line->data(Qt::UserRole).value<quintptr>());
    if (item == nullptr)
        return;
    m_pages->setCurrentWidget(m_tsAssistant);
    SelectItem(item);
}

// ---- Exit handlers

void TPathovaMainForm::eProjectIDExit(QWidget* sender) {
    if (!BoxShowsCurrentItem(sender) || qobject_cast<QLineEdit*>(sender) == nullptr)
        return;
    m_edits->SetField(*m_currentItem, TextField::ID, BoxText(sender).toStdString());
}

void TPathovaMainForm::eProjectCaptionExit(QWidget* sender) {
    if (!BoxShowsCurrentItem(sender) || qobject_cast<QLineEdit*>(sender) == nullptr)
        return;
    m_edits->SetField(*m_currentItem, TextField::Caption, BoxText(sender).toStdString());
}

void TPathovaMainForm::mProjectExpExit(QWidget* sender) {
    auto* memo = qobject_cast<QPlainTextEdit*>(sender);
    if (!BoxShowsCurrentItem(sender) || memo == nullptr)
        return;
    m_edits->SetDescription(*m_currentItem, MemoLines(memo));
}

void TPathovaMainForm::eAuthorExit(QWidget* sender) {
    auto* root = dynamic_cast<TAssistRoot*>(m_currentItem);
    if (root != nullptr && BoxShowsCurrentItem(sender) && qobject_cast<QLineEdit*>(sender) != nullptr)
        m_edits->SetField(*root, TextField::AuthorName, BoxText(sender).toStdString());
}

void TPathovaMainForm::eCopyrightExit(QWidget* sender) {
    auto* root = dynamic_cast<TAssistRoot*>(m_currentItem);
    if (root != nullptr && BoxShowsCurrentItem(sender) && qobject_cast<QLineEdit*>(sender) != nullptr)
        m_edits->SetField(*root, TextField::Copyright, BoxText(sender).toStdString());
}

void TPathovaMainForm::eVersionExit(QWidget* sender) {
    auto* root = dynamic_cast<TAssistRoot*>(m_currentItem);
    if (root != nullptr && BoxShowsCurrentItem(sender) && qobject_cast<QLineEdit*>(sender) != nullptr)
        m_edits->SetField(*root, TextField::Version, BoxText(sender).toStdString());
}

void TPathovaMainForm::eBuildDateExit(QWidget*) {
    // The build date is set by every change; its box is read-only and stores nothing.
}

void TPathovaMainForm::cbInitScreenExit(QWidget* sender) {
    auto* root = dynamic_cast<TAssistRoot*>(m_currentItem);
    if (root == nullptr || !BoxShowsCurrentItem(sender) || qobject_cast<QComboBox*>(sender) == nullptr)
        return;
    const std::string first = BoxText(sender).toStdString();
    if (!m_edits->SetField(*root, TextField::FirstScreen, first))
        return;
    if (first.empty() || root->Screens.FindScreen(first) != nullptr)
        return;
    const std::string question = "Can't find screen " + first + ".\r\rCreate a new one?";
    if (m_prompter->Message(Prompter::MessageKind::ConfirmYesNo, question) != Prompter::Answer::Yes)
        return;
    m_edits->CreateScreen(&first);
    Tree()->expand(m_treeModel->IndexOfNode(0));
}

void TPathovaMainForm::eScreenImageExit(QWidget* sender) {
    auto* screen = dynamic_cast<TAssistScreen*>(m_currentItem);
    if (screen != nullptr && BoxShowsCurrentItem(sender) && qobject_cast<QLineEdit*>(sender) != nullptr)
        m_edits->SetField(*screen, TextField::Image, BoxText(sender).toStdString());
}

void TPathovaMainForm::bImagePickClick() {
    auto* screen = dynamic_cast<TAssistScreen*>(m_currentItem);
    if (screen == nullptr)
        return;
    const auto image = PickScreenImage(*m_prompter, m_assistant->FileName, screen->Image);
    if (!image)
        return;
    Screen()->eScreenImage()->setText(ToQ(*image));
    m_edits->SetField(*screen, TextField::Image, *image);
}

void TPathovaMainForm::rbGotoExit(QWidget* sender) {
    auto* option = dynamic_cast<TAssistOption*>(m_currentItem);
    auto* box = qobject_cast<QComboBox*>(sender);
    if (option == nullptr || box == nullptr || !BoxShowsCurrentItem(sender))
        return;
    const int index = box->currentIndex();
    if (index < 0 || index >= ActionKindCount)
        return;
    m_edits->SetAction(*option, static_cast<TActionKind>(index));
}

void TPathovaMainForm::cbCommandExit(QWidget* sender) {
    auto* option = dynamic_cast<TAssistOption*>(m_currentItem);
    if (option == nullptr || !BoxShowsCurrentItem(sender) || qobject_cast<QComboBox*>(sender) == nullptr)
        return;
    const std::string command = BoxText(sender).toStdString();
    if (!m_edits->SetField(*option, TextField::Command, command))
        return;
    // A go-to command that names no screen yet is an offer to create that screen.
    const bool goesToScreen = option->Action == akGoto || option->Action == akGotoButton;
    if (command.empty() || !goesToScreen || m_assistant->Screens.FindScreen(command) != nullptr)
        return;
    const std::string question = "Can't find screen " + command + ".\r\rCreate a new one?";
    if (m_prompter->Message(Prompter::MessageKind::ConfirmYesNo, question) != Prompter::Answer::Yes)
        return;
    m_edits->CreateScreen(&command);
}

void TPathovaMainForm::mOptionScriptExit(QWidget* sender) {
    auto* option = dynamic_cast<TAssistOption*>(m_currentItem);
    auto* memo = qobject_cast<QPlainTextEdit*>(sender);
    // The script is stored every time the memo is left, changed or not.
    if (option != nullptr && memo != nullptr && BoxShowsCurrentItem(sender))
        m_edits->SetField(*option, TextField::Script, ScriptOf(memo), true);
}

// ---- Notes

void TPathovaMainForm::aNoteExecute() {
    auto* option = dynamic_cast<TAssistOption*>(m_currentItem);
    if (option == nullptr)
        return;
    TNoteForm form(*option, *m_edits, m_services.Settings.get(), this);
    form.exec();
    ShowNotes();
    // Saved here rather than by the dialog's destructor, so that a failing settings store is reported.
    form.SaveFormPlacement();
}

// ---- Structure commands

void TPathovaMainForm::aNewScreenExecute() {
    SelectItem(m_edits->CreateScreen());
}

void TPathovaMainForm::aNewOptionExecute() {
    // The node selected in the tree decides, not the current item (they differ after a save).
    const int node = m_treeModel->NodeOf(Tree()->currentIndex());
    TAssistBase* item = m_treeModel->ItemAt(node);
    if (item == nullptr)
        return;
    if (auto* option = dynamic_cast<TAssistOption*>(item))
        item = option->Owner;
    auto* screen = dynamic_cast<TAssistScreen*>(item);
    if (screen == nullptr)
        return; // the assistant itself has no options
    SelectItem(m_edits->CreateOption(*screen));
}

void TPathovaMainForm::aDelScreenExecute() {
    auto* screen = dynamic_cast<TAssistScreen*>(m_currentItem);
    if (screen == nullptr)
        return;
    if (m_prompter->Message(Prompter::MessageKind::ConfirmYesNo,
                            "Confirm delete screen " + screen->ID + "?") != Prompter::Answer::Yes)
        return;
    RemoveItemNodes(screen);
    m_edits->DeleteScreen(*screen);
}

void TPathovaMainForm::aDelOptionExecute() {
    auto* option = dynamic_cast<TAssistOption*>(m_currentItem);
    if (option == nullptr)
        return;
    if (m_prompter->Message(Prompter::MessageKind::ConfirmYesNo,
                            "Confirm delete option " + option->ID + "?") != Prompter::Answer::Yes)
        return;
    RemoveItemNodes(option);
    m_edits->DeleteOption(*option);
}

void TPathovaMainForm::aUpExecute() {
    if (auto* screen = dynamic_cast<TAssistScreen*>(m_currentItem)) {
        m_edits->MoveScreen(*screen, m_assistant->Screens.IndexOf(screen) - 1);
    } else if (auto* option = dynamic_cast<TAssistOption*>(m_currentItem)) {
        m_edits->MoveOption(*option, option->Owner->Options.IndexOf(option) - 1);
    }
}

void TPathovaMainForm::aDownExecute() {
    if (auto* screen = dynamic_cast<TAssistScreen*>(m_currentItem)) {
        m_edits->MoveScreen(*screen, m_assistant->Screens.IndexOf(screen) + 1);
    } else if (auto* option = dynamic_cast<TAssistOption*>(m_currentItem)) {
        m_edits->MoveOption(*option, option->Owner->Options.IndexOf(option) + 1);
    }
}
