#include "model/screenindex.h"

#include "model/assistscreen.h"

TScreenIndex::TScreenIndex(const TAssistScreens& screens) {
    const auto count = static_cast<std::size_t>(screens.Count());
    screens_.reserve(count);
    first_.reserve(count);
    for (const TAssistScreen& screen : screens) {
        // A later screen with an ID already seen does not replace the first one.
        first_.try_emplace(screen.ID, static_cast<int>(screens_.size()));
        screens_.push_back(&screen);
    }
}

int TScreenIndex::Position(std::string_view id) const {
    const auto found = first_.find(id);
    return found == first_.end() ? -1 : found->second;
}

const TAssistScreen* TScreenIndex::Find(std::string_view id) const {
    const int position = Position(id);
    return position < 0 ? nullptr : screens_[static_cast<std::size_t>(position)];
}
