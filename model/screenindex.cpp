#include "model/screenindex.h"

#include "model/assistscreen.h"

TScreenIndex::TScreenIndex(const TAssistScreens& screens) {
    const auto count = static_cast<std::size_t>(screens.Count());
    m_screens.reserve(count);
    m_first.reserve(count);
    for (const TAssistScreen& screen : screens) {
        // A later screen with an ID already seen does not replace the first one.
        m_first.try_emplace(screen.ID, static_cast<int>(m_screens.size()));
        m_screens.push_back(&screen);
    }
}

int TScreenIndex::Position(std::string_view id) const {
    const auto found = m_first.find(id);
    return found == m_first.end() ? -1 : found->second;
}

const TAssistScreen* TScreenIndex::Find(std::string_view id) const {
    const int position = Position(id);
    return position < 0 ? nullptr : m_screens[static_cast<std::size_t>(position)];
}
