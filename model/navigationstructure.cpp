#include "model/navigationstructure.h"

#include "model/assistroot.h"
#include "model/screenindex.h"

#include <cstddef>
#include <initializer_list>
#include <string_view>

namespace {

// U+00BB in UTF-8, between blanks: separates a node's origin from what it leads to.
constexpr std::string_view Arrow = " \xC2\xBB ";

// Joins the pieces of a node text with one allocation.
std::string Join(std::initializer_list<std::string_view> pieces) {
    std::size_t size = 0;
    for (std::string_view piece : pieces)
        size += piece.size();
    std::string text;
    text.reserve(size);
    for (std::string_view piece : pieces)
        text.append(piece);
    return text;
}

// The keyword of the leaf an option of this kind has in the structure, before its command; nullptr for
// the kinds without a leaf (a go-to leads to its screen's node, a note has no node).
const char* LeafKeyword(TActionKind action) {
    switch (action) {
    case akAssistant:
        return "GOTO ";
    case akRun:
        return "RUN ";
    case akBrowse:
        return "BROWSE ";
    case akInternet:
        return "INTERNET ";
    case akScript:
        return "SCRIPT";
    case akExec:
        return "EXEC ";
    default:
        return nullptr;
    }
}

class Builder {
public:
    explicit Builder(const TAssistRoot& root)
        : m_index(root.Screens), m_shown(static_cast<std::size_t>(m_index.Count()), 0) {}

    NavigationStructure Build(const TAssistRoot& root) {
        const int start = m_index.Position(root.FirstScreen);
        if (start < 0)
            return {};
        // Every option adds at most one node, so this bounds the size of the tree.
        std::size_t bound = 1;
        for (const TAssistScreen& screen : root.Screens)
            bound += static_cast<std::size_t>(screen.Options.Count());
        m_result.Nodes.reserve(bound);

        AddScreen("A ", root.ID, -1, start);
        // Each frame is a screen node whose options are still being gone through. A go-to option to a
        // screen not shown yet pushes that screen, so its branch is completed before the next option
        // of the screen below it: the same depth-first order as a recursive walk.
        while (!m_stack.empty()) {
            Frame& frame = m_stack.back();
            const TAssistScreen& screen = *frame.screen;
            if (frame.nextOption >= screen.Options.Count()) {
                m_stack.pop_back();
                continue;
            }
            const TAssistOption& option = *screen.Options.Item(frame.nextOption++);
            AddOption(frame.node, option); // may push, which invalidates `frame`
        }
        return std::move(m_result);
    }

private:
    struct Frame {
        const TAssistScreen* screen;
        int node;
        int nextOption;
    };

    int AddNode(int parent, std::string text, const TAssistBase& item) {
        const int index = static_cast<int>(m_result.Nodes.size());
        NavigationNode& node = m_result.Nodes.emplace_back();
        node.Text = std::move(text);
        node.Item = &item;
        node.Parent = parent;
        if (parent >= 0) {
            NavigationNode& up = m_result.Nodes[static_cast<std::size_t>(parent)];
            node.Depth = up.Depth + 1;
            up.Children.push_back(index);
        }
        return index;
    }

    // A screen node: the full branch at the screen's first place, a "(repeated)" leaf at every other.
    // The prefix is `origin` + `name` + the arrow ("A <assistant ID>" or "O <option ID>").
    void AddScreen(std::string_view origin, std::string_view name, int parent, int position) {
        const TAssistScreen& screen = m_index.Screen(position);
        char& shown = m_shown[static_cast<std::size_t>(position)];
        if (shown) {
            AddNode(parent, Join({origin, name, Arrow, "S ", screen.ID, " (repeated)"}), screen);
            return;
        }
        shown = 1;
        const int node = AddNode(parent, Join({origin, name, Arrow, "S ", screen.ID}), screen);
        // Room for the children at once: at most one per option. Counting them exactly would read every
        // option here and again when its node is added, long after in a deep chain, when it is out of
        // the processor's caches again; the options are each in an allocation of their own.
        m_result.Nodes[static_cast<std::size_t>(node)].Children.reserve(
            static_cast<std::size_t>(screen.Options.Count()));
        m_stack.push_back(Frame{&screen, node, 0});
    }

    void AddOption(int parent, const TAssistOption& option) {
        if (IsGoto(option.Action)) {
            if (const int target = m_index.Position(option.Command); target >= 0)
                AddScreen("O ", option.ID, parent, target);
        } else if (std::string text = OptionLeafText(option); !text.empty()) {
            AddNode(parent, std::move(text), option);
        }
    }

    TScreenIndex m_index;      // FindScreen in constant time
    std::vector<char> m_shown; // by screen position: the screen has its branch in the tree already
    std::vector<Frame> m_stack;
    NavigationStructure m_result;
};

} // namespace

const NavigationNode* NavigationStructure::LastNodeOf(const TAssistBase* item) const {
    for (auto it = Nodes.rbegin(); it != Nodes.rend(); ++it)
        if (it->Item == item)
            return &*it;
    return nullptr;
}

NavigationStructure BuildNavigationStructure(const TAssistRoot& root) {
    return Builder(root).Build(root);
}

bool OptionHasNode(const TAssistRoot& root, const TAssistOption& option) {
    // As the builder's AddOption: a go-to has its target's node, the other kinds with a leaf text theirs.
    if (IsGoto(option.Action))
        return root.Screens.FindScreen(option.Command) != nullptr;
    return LeafKeyword(option.Action) != nullptr;
}

std::string OptionNodePrefix(const std::string& optionId) {
    return Join({"O ", optionId, Arrow});
}

std::string OptionLeafText(const TAssistOption& option) {
    const char* keyword = LeafKeyword(option.Action);
    if (keyword == nullptr)
        return {}; // go-tos lead to a screen's node; notes have none
    // A script's leaf names no command.
    const std::string_view command = option.Action == akScript ? std::string_view() : option.Command;
    return Join({"O ", option.ID, Arrow, keyword, command});
}

std::string TopNodeText(const std::string& assistantId, const std::string& startScreenId) {
    return Join({"A ", assistantId, Arrow, "S ", startScreenId});
}
