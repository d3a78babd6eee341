#include "model/assistantmap.h"

#include "model/assistroot.h"
#include "model/screenindex.h"

#include <cstddef>
#include <string_view>

namespace {

// Targets of every go-to option, by screen and option position (-1 for other kinds and missing targets).
std::vector<std::vector<int>> GotoTargets(const TAssistRoot& root, const TScreenIndex& index) {
    std::vector<std::vector<int>> targets;
    targets.reserve(static_cast<std::size_t>(root.Screens.Count()));
    for (const TAssistScreen& screen : root.Screens) {
        std::vector<int>& row = targets.emplace_back();
        row.reserve(static_cast<std::size_t>(screen.Options.Count()));
        for (const TAssistOption& option : screen.Options)
            row.push_back(IsGoto(option.Action) ? index.Position(option.Command) : -1);
    }
    return targets;
}

ScreenReachability Walk(const TAssistRoot& root, const TScreenIndex& index,
                        const std::vector<std::vector<int>>& targets) {
    ScreenReachability result;
    const std::size_t count = static_cast<std::size_t>(root.Screens.Count());
    result.Reachable.assign(count, false);
    result.Start = index.Position(root.FirstScreen);
    // An explicit stack: a chain of any length needs no deep recursion.
    std::vector<int> pending;
    if (result.Start >= 0) {
        result.Reachable[static_cast<std::size_t>(result.Start)] = true;
        pending.push_back(result.Start);
    }
    while (!pending.empty()) {
        const int screen = pending.back();
        pending.pop_back();
        for (const int target : targets[static_cast<std::size_t>(screen)]) {
            if (target >= 0 && !result.Reachable[static_cast<std::size_t>(target)]) {
                result.Reachable[static_cast<std::size_t>(target)] = true;
                pending.push_back(target);
            }
        }
    }
    int position = 0;
    for (const TAssistScreen& screen : root.Screens) {
        if (!result.Reachable[static_cast<std::size_t>(position)])
            result.Unreachable.push_back(position);
        if (screen.Options.Count() == 0)
            result.DeadEnds.push_back(position);
        ++position;
    }
    return result;
}

std::string BadgeTooltip(const TAssistOption& option) {
    std::string text(ActionText(option.Action));
    switch (option.Action) {
    case akScript:
        // The command is not used; the script's first line says more.
        if (!option.Script.empty())
            text += ": " + option.Script.substr(0, option.Script.find('\r'));
        break;
    case akNote: {
        std::string names;
        for (const TNote& note : option.Notes)
            names += (names.empty() ? "" : ", ") + note.Name;
        if (!names.empty())
            text += ": " + names;
        break;
    }
    default:
        text += ": " + option.Command;
        break;
    }
    return text;
}

} // namespace

std::string BadgeLabel(TActionKind action) {
    switch (action) {
    case akGoto:
    case akGotoButton:
        return "missing";
    case akAssistant:
        return "assistant";
    case akRun:
        return "tool";
    case akBrowse:
        return "document";
    case akInternet:
        return "web";
    case akScript:
        return "script";
    case akNote:
        return "notes";
    case akExec:
        return "program";
    }
    return "?";
}

ScreenReachability FindReachability(const TAssistRoot& root) {
    const TScreenIndex index(root.Screens);
    return Walk(root, index, GotoTargets(root, index));
}

AssistantMap BuildAssistantMap(const TAssistRoot& root) {
    const TScreenIndex index(root.Screens);
    const std::vector<std::vector<int>> targets = GotoTargets(root, index);
    const ScreenReachability reach = Walk(root, index, targets);

    AssistantMap map;
    map.AssistantID = root.ID;
    map.Start = reach.Start;
    map.UnreachableCount = static_cast<int>(reach.Unreachable.size());
    map.DeadEndCount = static_cast<int>(reach.DeadEnds.size());
    map.Boxes.reserve(static_cast<std::size_t>(root.Screens.Count()));
    int position = 0;
    for (const TAssistScreen& screen : root.Screens) {
        MapBox& box = map.Boxes.emplace_back();
        box.Screen = position;
        box.ID = screen.ID;
        box.Caption = screen.Caption;
        box.Start = position == reach.Start;
        box.Unreachable = !reach.Reachable[static_cast<std::size_t>(position)];
        box.DeadEnd = screen.Options.Count() == 0;
        int k = 0;
        for (const TAssistOption& option : screen.Options) {
            const int target = targets[static_cast<std::size_t>(position)][static_cast<std::size_t>(k)];
            if (IsGoto(option.Action) && target >= 0) {
                map.Arrows.push_back(MapArrow{position, k, target, option.Caption});
            } else {
                MapBadge badge;
                badge.Option = k;
                badge.Action = option.Action;
                badge.Broken = IsGoto(option.Action);
                badge.Label = BadgeLabel(option.Action);
                badge.Tooltip =
                    badge.Broken ? "No screen \"" + option.Command + "\" to go to" : BadgeTooltip(option);
                box.Badges.push_back(std::move(badge));
            }
            ++k;
        }
        ++position;
    }
    return map;
}
