#pragma once
// What the option panel shows for each action kind: the entries of the Action drop-down, which of the
// command and script boxes are enabled, the guidance text, and the example entries of the command list.
// Pure functions of the action index, so the panel's behaviour can be checked without widgets.
#include "model/actionkind.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The Action drop-down entries; an entry's index is the number of the action kind it stands for.
const std::array<std::string_view, ActionKindCount>& ActionEntries();

struct ActionHelpState {
    bool scriptEnabled = false;
    bool commandEnabled = false;
    std::string_view guidance; // lines separated by CR LF
};

// The state for the entry selected in the Action drop-down; nothing when no entry (or no valid entry) is
// selected, in which case the boxes and the guidance stay as they are.
std::optional<ActionHelpState> ActionHelpFor(int actionIndex);

// The entries of the command drop-down list for an action kind, in order. Go-to kinds list the IDs of the
// assistant's screens (given in list order); kinds without commands, and unknown indexes, list nothing.
std::vector<std::string> CommandExamples(int actionIndex, const std::vector<std::string>& screenIDs);
