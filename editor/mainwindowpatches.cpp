// The main window's views patched from an edit's answer instead of rebuilt: a renamed, new, deleted or
// moved screen or option changes its own nodes in the tree and, where the navigation structure shows it
// without a branch moving, in the structure. Each function returns or decides what still needs a
// rebuild; OnDocumentChanged (mainwindowviews.cpp) calls them.
#include "editor/itemtreemodel.h"
#include "editor/mainwindow.h"
#include "model/assistoption.h"
#include "model/assistroot.h"
#include "model/assistscreen.h"
#include "model/navigationstructure.h"
#include "support/textroutines.h"

#include <QTreeView>

#include <algorithm>
#include <string>

namespace {

// Whether a go-to option names the ID (compared as screens are found) or the ID is the first screen:
// then a screen with this ID can show in the navigation structure.
bool LinkedTo(const TAssistRoot& root, const std::string& id) {
    if (SameText(root.FirstScreen, id))
        return true;
    for (const TAssistScreen& screen : root.Screens)
        for (const TAssistOption& option : screen.Options)
            if (IsGoto(option.Action) && SameText(option.Command, id))
                return true;
    return false;
}

// The structure node under which the option has its own node: where its screen is expanded, the
// screen's first node in index order. -1 when the structure does not show the option (its screen is
// not shown, or the option leads nowhere).
int ScreenNodeShowing(const ItemTreeModel& structure, const TAssistRoot& root, const TAssistOption& option) {
    const int screenNode = structure.FirstNodeOf(option.Owner);
    return screenNode >= 0 && OptionHasNode(root, option) ? screenNode : -1;
}

} // namespace

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
    const int screenNode = ScreenNodeShowing(*m_structureModel, *m_assistant, option);
    if (screenNode < 0)
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
    if (IsGoto(option.Action))
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
    // A new option is a go-to with no target yet; Undo brings back options of every kind.
    return AddToStructure(*option);
}

ViewRebuild MainWindow::AddToStructure(TAssistOption& option) {
    // The structure gains a node only under a screen it shows and for an option that leads somewhere.
    const int shownScreen = ScreenNodeShowing(*m_structureModel, *m_assistant, option);
    if (shownScreen < 0)
        return ViewRebuild::None;
    // A go-to's branch may move a screen's first place: only a rebuild finds it. Any other kind is a
    // leaf, placed among the nodes of the options before it that have one.
    std::string leaf = OptionLeafText(option);
    if (leaf.empty())
        return ViewRebuild::Structure;
    int position = 0;
    for (const TAssistOption& before : option.Owner->Options) {
        if (&before == &option)
            break;
        position += OptionHasNode(*m_assistant, before) ? 1 : 0;
    }
    return m_structureModel->InsertLeaf(shownScreen, position, &option, std::move(leaf)) < 0
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
    const auto* oldScreen =
        dynamic_cast<const TAssistScreen*>(m_treeModel->ItemAt(m_treeModel->ParentOf(node)));
    if (oldScreen == nullptr)
        return ViewRebuild::Both;
    if (oldScreen != option->Owner)
        return MoveToOtherScreen(*option, *oldScreen);
    TAssistOptions& options = option->Owner->Options;
    const int to = options.IndexOf(option);
    if (!m_treeModel->MoveNode(node, to))
        return ViewRebuild::Both;
    // The structure's nodes under the screen follow the options in list order: the order changed
    // there only when the option has a node and passed another that has one.
    if (ScreenNodeShowing(*m_structureModel, *m_assistant, *option) < 0)
        return ViewRebuild::None;
    for (int i = std::min(from, to); i <= std::max(from, to); ++i)
        if (i != to && OptionHasNode(*m_assistant, *options.Item(i)))
            return ViewRebuild::Structure;
    return ViewRebuild::None;
}

ViewRebuild MainWindow::MoveToOtherScreen(TAssistOption& option, const TAssistScreen& oldScreen) {
    // The tree: the node leaves its old screen and comes in under the new one at its place.
    RemoveTreeNodes(&option);
    const int screenNode = m_treeModel->FirstNodeOf(option.Owner);
    if (m_treeModel->InsertNode(screenNode, option.Owner->Options.IndexOf(&option), &option, option.ID) < 0)
        return ViewRebuild::Both;
    // The structure: an option without a node there changes nothing. A go-to's branch moves with it
    // where the structure shows either screen, which only a rebuild finds. Any other kind is a leaf
    // that leaves the old screen's node and joins the new one's.
    if (!OptionHasNode(*m_assistant, option))
        return ViewRebuild::None;
    const bool oldShown = m_structureModel->FirstNodeOf(&oldScreen) >= 0;
    if (IsGoto(option.Action))
        return oldShown || m_structureModel->FirstNodeOf(option.Owner) >= 0 ? ViewRebuild::Structure
                                                                            : ViewRebuild::None;
    if (oldShown && !m_structureModel->RemoveFirstNodeOf(&option))
        return ViewRebuild::Structure;
    return AddToStructure(option);
}

ViewRebuild MainWindow::RemoveFromViews(TAssistBase* item) {
    // The delete commands take the item's nodes out of the tree before the item goes, so that the
    // selection moves off it while it still exists; a removal from elsewhere takes them out here.
    RemoveTreeNodes(item);
    if (auto* option = dynamic_cast<TAssistOption*>(item)) {
        if (ScreenNodeShowing(*m_structureModel, *m_assistant, *option) < 0)
            return ViewRebuild::None;
        // A go-to's branch may have held a screen's first place, which now moves elsewhere.
        if (IsGoto(option->Action))
            return ViewRebuild::Structure;
        m_structureModel->RemoveFirstNodeOf(option); // any other kind is a leaf carrying the option
        return ViewRebuild::None;
    }
    if (dynamic_cast<TAssistScreen*>(item) == nullptr)
        return ViewRebuild::Both;
    // A screen the structure does not show was reached by no link, and none of its options shows.
    return m_structureModel->FirstNodeOf(item) >= 0 ? ViewRebuild::Structure : ViewRebuild::None;
}
