#pragma once
// The map of an assistant as data: every screen a box, every go-to option an arrow from its screen to
// the screen it leads to, the options of the other kinds badges on their screen's box; and which
// screens no user can reach from the start screen, and which screens are dead ends.
//
// Reachability. The start screen is the one the assistant starts at: FindScreen of FirstScreen (so an
// empty FirstScreen starts at the first screen whose ID is empty). From it the walk follows the options
// whose action is "Go to another screen" or "Button to another screen"; each leads to the screen that
// FindScreen returns for its command (the first in list order, letters A-Z in either case). A screen
// no path reaches is unreachable; with no start screen every screen is. A dead end is a screen with no
// options at all, reachable or not. These are hints for the author, apart from the structure check.
//
// The map holds positions in the assistant's lists and copies of the texts, never pointers into the
// model, so it can be handed to another thread and outlive the assistant it was made from.
#include "model/actionkind.h"

#include <string>
#include <vector>

class TAssistRoot;

struct ScreenReachability {
    int Start = -1;               // position of the start screen; -1 when there is none
    std::vector<bool> Reachable;  // by screen position
    std::vector<int> Unreachable; // positions of the unreachable screens, in list order
    std::vector<int> DeadEnds;    // positions of the screens without options, in list order
};

ScreenReachability FindReachability(const TAssistRoot& root);

// An option that is not drawn as an arrow: every kind but the two go-to kinds, and a go-to option
// whose command names no screen (Broken).
struct MapBadge {
    int Option = 0; // position of the option on its screen
    TActionKind Action = akGoto;
    bool Broken = false; // a go-to option whose target screen does not exist
    std::string Label;   // short text drawn on the badge: "web", "program", "script"...
    std::string Tooltip; // what the option does: the action and its command

    bool operator==(const MapBadge&) const = default;
};

struct MapBox {
    int Screen = 0; // position in the assistant's screen list
    std::string ID;
    std::string Caption;
    bool Start = false;
    bool Unreachable = false;
    bool DeadEnd = false;
    std::vector<MapBadge> Badges; // in option order

    bool operator==(const MapBox&) const = default;
};

struct MapArrow {
    int From = 0;      // screen position of the option's screen
    int Option = 0;    // position of the option on that screen
    int To = 0;        // screen position of the target
    std::string Label; // the option's caption

    bool operator==(const MapArrow&) const = default;
};

struct AssistantMap {
    std::string AssistantID;
    std::vector<MapBox> Boxes;    // one per screen, in list order (Boxes[i].Screen == i)
    std::vector<MapArrow> Arrows; // in screen order, then option order
    int Start = -1;
    int UnreachableCount = 0;
    int DeadEndCount = 0;

    bool operator==(const AssistantMap&) const = default;
};

AssistantMap BuildAssistantMap(const TAssistRoot& root);

// The badge text of an action kind that is not drawn as an arrow ("web", "program"...).
std::string BadgeLabel(TActionKind action);
