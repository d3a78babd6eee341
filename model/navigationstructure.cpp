#include "model/navigationstructure.h"

#include "model/assistroot.h"
#include "support/textroutines.h"

#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace {

// U+00BB in UTF-8, between blanks: separates a node's origin from what it leads to.
constexpr std::string_view Arrow = " \xC2\xBB ";

// FindScreen through a hash index: the first screen in list order for each folded ID.
class ScreenIndex {
public:
    explicit ScreenIndex(const TAssistRoot& root) {
        first_.reserve(static_cast<std::size_t>(root.Screens.Count()));
        for (const TAssistScreen& screen : root.Screens)
            first_.try_emplace(AsciiLower(screen.ID), &screen);
    }
    const TAssistScreen* Find(std::string_view id) const {
        const auto found = first_.find(AsciiLower(id));
        return found == first_.end() ? nullptr : found->second;
    }

private:
    std::unordered_map<std::string, const TAssistScreen*> first_;
};

class Builder {
public:
    explicit Builder(const TAssistRoot& root) : index_(root) {}

    NavigationStructure Build(const TAssistRoot& root) {
        const TAssistScreen* start = index_.Find(root.FirstScreen);
        if (start == nullptr)
            return {};
        const std::string startPrefix = "A " + root.ID + std::string(Arrow);
        AddScreen(startPrefix, -1, *start);
        // Each frame is a screen node whose options are still being gone through. A go-to option to a
        // screen not shown yet pushes that screen, so its branch is completed before the next option
        // of the screen below it: the same depth-first order as a recursive walk.
        while (!stack_.empty()) {
            Frame& frame = stack_.back();
            const TAssistScreen& screen = *frame.screen;
            if (frame.nextOption >= screen.Options.Count()) {
                stack_.pop_back();
                continue;
            }
            const TAssistOption& option = *screen.Options.Item(frame.nextOption++);
            AddOption(frame.node, option); // may push, which invalidates `frame`
        }
        return std::move(result_);
    }

private:
    struct Frame {
        const TAssistScreen* screen;
        int node;
        int nextOption;
    };

    int AddNode(int parent, std::string text, const TAssistBase& item) {
        const int index = static_cast<int>(result_.Nodes.size());
        NavigationNode node;
        node.Text = std::move(text);
        node.Item = &item;
        node.Parent = parent;
        if (parent >= 0) {
            NavigationNode& up = result_.Nodes[static_cast<std::size_t>(parent)];
            node.Depth = up.Depth + 1;
            up.Children.push_back(index);
        }
        result_.Nodes.push_back(std::move(node));
        return index;
    }

    // A screen node: the full branch at the screen's first place, a "(repeated)" leaf at every other.
    void AddScreen(const std::string& prefix, int parent, const TAssistScreen& screen) {
        std::string text = prefix + "S " + screen.ID;
        if (!shown_.insert(&screen).second) {
            AddNode(parent, text + " (repeated)", screen);
            return;
        }
        const int node = AddNode(parent, std::move(text), screen);
        stack_.push_back(Frame{&screen, node, 0});
    }

    void AddOption(int parent, const TAssistOption& option) {
        const std::string prefix = "O " + option.ID + std::string(Arrow);
        switch (option.Action) {
        case akGoto:
        case akGotoButton:
            if (const TAssistScreen* target = index_.Find(option.Command))
                AddScreen(prefix, parent, *target);
            break;
        case akAssistant:
            AddNode(parent, prefix + "GOTO " + option.Command, option);
            break;
        case akRun:
            AddNode(parent, prefix + "RUN " + option.Command, option);
            break;
        case akBrowse:
            AddNode(parent, prefix + "BROWSE " + option.Command, option);
            break;
        case akInternet:
            AddNode(parent, prefix + "INTERNET " + option.Command, option);
            break;
        case akScript:
            AddNode(parent, prefix + "SCRIPT", option);
            break;
        case akExec:
            AddNode(parent, prefix + "EXEC " + option.Command, option);
            break;
        case akNote:
        default:
            break;
        }
    }

    ScreenIndex index_;
    std::unordered_set<const TAssistScreen*> shown_;
    std::vector<Frame> stack_;
    NavigationStructure result_;
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
