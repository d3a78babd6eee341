#pragma once
// FindScreen for many look-ups: the screens of an assistant indexed by their case-folded IDs, built in
// one pass, so that each look-up takes constant time instead of a walk along the list. The answer is
// FindScreen's: the first screen in list order whose ID equals the wanted one (A-Z in either case); an
// empty ID finds the first screen whose ID is empty. The index views the screens' IDs: it is valid only
// while the screens and their IDs stay as they were when it was built.
#include "model/foldedid.h"

#include <string_view>
#include <vector>

class TAssistScreen;
class TAssistScreens;

class TScreenIndex {
public:
    explicit TScreenIndex(const TAssistScreens& screens);

    // The screen FindScreen would return, or nullptr.
    const TAssistScreen* Find(std::string_view id) const;
    // Its position in the list, or -1.
    int Position(std::string_view id) const;

    int Count() const { return static_cast<int>(m_screens.size()); }
    // The screen at a position from 0 to Count() - 1.
    const TAssistScreen& Screen(int position) const { return *m_screens[static_cast<std::size_t>(position)]; }

private:
    TFoldedIdMap<int> m_first; // the position of the first screen with each ID
    std::vector<const TAssistScreen*> m_screens;
};
