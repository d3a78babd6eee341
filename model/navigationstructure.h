#pragma once
// The navigation structure: how the screens lead to one another when the assistant runs, starting at
// its first screen. The editor's Structure view shows it as a read-only tree; amftool can print it.
//
// Shape of the tree. The single top node is the start screen, "A <assistant ID> » S <screen ID>".
// Under a screen node stand, for each of its options in list order:
// - go-to and go-to-button options: the branch of the target screen, "O <option ID> » S <screen ID>",
//   or nothing when no screen has that ID. A screen is expanded only at its first place in depth-first
//   order; every later place is a leaf "... S <screen ID> (repeated)", which also ends loops.
// - note options: nothing;
// - script options: "O <option ID> » SCRIPT";
// - the other kinds: "O <option ID> » " + GOTO (another assistant) / RUN / BROWSE / INTERNET / EXEC,
//   a blank and the command.
// Screen nodes carry the screen, the other nodes the option. The tree is empty when FirstScreen names
// no screen. Screens are found as FindScreen finds them (the first in list order whose ID equals the
// text, letters A-Z in either case), through a hash index, and the tree is built with an explicit
// stack, so a chain of any length costs linear time and no deep recursion.
//
// Expansion. The view is fully expanded after every rebuild, so every node's Expanded is true. The
// items' own Expanded flags are shared with the item tree: before replacing its nodes, the view copies
// each old node's expansion into its item's flag (in index order, so the last node of an item wins)
// and reads the flags back into the new nodes before expanding everything. The result of that read is
// always overridden, so building the tree reads no item flag; the copying is the view's business.
#include <cstddef>
#include <string>
#include <vector>

class TAssistBase;
class TAssistOption;
class TAssistRoot;

struct NavigationNode {
    std::string Text;
    const TAssistBase* Item = nullptr; // a screen or an option of the assistant; never owned
    int Parent = -1;                   // index of the parent node; -1 for the top node
    int Depth = 0;                     // 0 for the top node
    std::vector<int> Children;         // indexes of the child nodes, in display order
    bool Expanded = true;              // expansion to show (the whole view is expanded)
};

// The nodes are stored flat, in the index order of the view (depth first, parents before their
// children), so building, walking and destroying a tree of any depth needs no recursion. A view can be
// filled by adding the nodes in this order, each under the already-added node at Parent.
struct NavigationStructure {
    std::vector<NavigationNode> Nodes;

    bool Empty() const { return Nodes.empty(); }
    // The top node (the start screen); nullptr for an empty structure.
    const NavigationNode* Top() const { return Nodes.empty() ? nullptr : &Nodes.front(); }
    // The last node in index order that carries `item` (the one the view ends up selecting when the
    // item is current); nullptr when none does.
    const NavigationNode* LastNodeOf(const TAssistBase* item) const;
};

// Builds the navigation structure of the assistant from its first screen.
NavigationStructure BuildNavigationStructure(const TAssistRoot& root);

// What an editor needs to patch a shown structure in place instead of building it again.
// Whether the option has a node under the node of its screen (wherever the screen is expanded): every
// kind but notes, and a go-to only when a screen has the ID it names.
bool OptionHasNode(const TAssistRoot& root, const TAssistOption& option);
// The beginning of the text of an option's node: "O <option ID> » ". The rest names what it leads to
// and does not depend on the option's ID.
std::string OptionNodePrefix(const std::string& optionId);
// The whole text of the node of an option that leads to no screen: "O <option ID> » RUN <command>" and
// so on for the kinds listed above. Empty for go-tos (their node is their target screen's) and notes.
std::string OptionLeafText(const TAssistOption& option);
// The text of the top node: "A <assistant ID> » S <start screen ID>".
std::string TopNodeText(const std::string& assistantId, const std::string& startScreenId);
