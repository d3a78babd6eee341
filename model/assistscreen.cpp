#include "model/assistscreen.h"

#include "model/assistroot.h"
#include "support/textroutines.h"

#include <algorithm>

namespace {
// Largest number after an initial S or s in the screens' IDs; at most 10 characters are read, and text
// that is not a valid 32-bit integer counts as 0.
std::int64_t HighestScreenNumber(const TAssistScreens& screens) {
    std::int64_t highest = 0;
    for (const TAssistScreen& screen : screens)
        if (StartsWithText(screen.ID, "S"))
            highest =
                std::max<std::int64_t>(highest, StrToIntDef(std::string_view(screen.ID).substr(1, 10), 0));
    return highest;
}
} // namespace

TAssistScreen::TAssistScreen(TAssistRoot& root) : Options(*this), Owner(&root) {
    Root = &root;
}

TAssistScreen::~TAssistScreen() = default;

TAssistScreen* TAssistScreen::Create(TAssistRoot& root) {
    const bool loading = root.IsLoading();
    const std::int64_t highest = loading ? 0 : HighestScreenNumber(root.Screens);
    TAssistScreen* screen = root.Screens.AppendOwned(std::unique_ptr<TAssistScreen>(new TAssistScreen(root)));
    screen->Caption = "Screen " + IntToStr(root.Screens.Count());
    if (!loading)
        screen->ID = "S" + IntToStr(highest + 1);
    screen->MarkChanged(); // a no-op while loading
    return screen;
}

TAssistScreens::~TAssistScreens() = default;

namespace {
template <typename List> auto FindIn(List& screens, std::string_view id) -> decltype(screens.Item(0)) {
    for (auto& screen : screens)
        if (SameText(screen.ID, id))
            return &screen;
    return nullptr;
}
} // namespace

TAssistScreen* TAssistScreens::FindScreen(std::string_view id) {
    return FindIn(*this, id);
}

const TAssistScreen* TAssistScreens::FindScreen(std::string_view id) const {
    return FindIn(*this, id);
}

bool TAssistScreens::Delete(int index) {
    if (!InRange(index))
        return false;
    m_owner->MarkChanged();
    return DeleteAt(index);
}

bool TAssistScreens::Delete(TAssistScreen* screen) {
    return Delete(IndexOf(screen));
}

void TAssistScreens::Clear() {
    if (Empty())
        return;
    m_owner->MarkChanged();
    ClearAll();
}

std::unique_ptr<TAssistScreen> TAssistScreens::Detach(int index) {
    std::unique_ptr<TAssistScreen> screen = DetachAt(index);
    if (screen)
        m_owner->MarkChanged();
    return screen;
}

TAssistScreen* TAssistScreens::Insert(int index, std::unique_ptr<TAssistScreen>&& screen) {
    TAssistScreen* inserted = InsertOwned(index, std::move(screen));
    inserted->Owner = m_owner;
    inserted->Root = m_owner;
    for (TAssistOption& option : inserted->Options)
        option.Root = m_owner;
    m_owner->MarkChanged();
    return inserted;
}
