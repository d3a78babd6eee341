#include "model/assistoption.h"

#include "model/assistroot.h"
#include "model/assistscreen.h"
#include "support/textroutines.h"

#include <algorithm>

namespace {
// Largest number found after `prefix` (letter case ignored) in the options' IDs; at most 10 characters
// are read, and text that is not a valid 32-bit integer counts as 0.
std::int64_t HighestOptionNumber(const TAssistOptions& options, const std::string& prefix) {
    std::int64_t highest = 0;
    for (const TAssistOption& option : options)
        if (StartsWithText(option.ID, prefix))
            highest = std::max<std::int64_t>(
                highest, StrToIntDef(std::string_view(option.ID).substr(prefix.size(), 10), 0));
    return highest;
}
} // namespace

TAssistOption::TAssistOption(TAssistScreen& screen) : Owner(&screen) {
    Root = screen.Root;
}

TAssistOption::~TAssistOption() = default;

TAssistOption* TAssistOption::Create(TAssistScreen& screen) {
    const bool loading = screen.Root != nullptr && screen.Root->IsLoading();
    std::string id; // reading from a file sets the ID itself
    if (!loading) {
        const std::string prefix = screen.ID + ".";
        id = prefix + IntToStr(HighestOptionNumber(screen.Options, prefix) + 1);
    }
    TAssistOption* option =
        screen.Options.AppendOwned(std::unique_ptr<TAssistOption>(new TAssistOption(screen)));
    option->ID = std::move(id);
    return option;
}

TAssistOptions::~TAssistOptions() = default;

bool TAssistOptions::Delete(int index) {
    return DeleteAt(index);
}

bool TAssistOptions::Delete(TAssistOption* option) {
    return DeleteAt(IndexOf(option));
}

void TAssistOptions::Clear() {
    ClearAll();
}

std::unique_ptr<TAssistOption> TAssistOptions::Detach(int index) {
    return DetachAt(index);
}

TAssistOption* TAssistOptions::Insert(int index, std::unique_ptr<TAssistOption>&& option) {
    TAssistOption* inserted = InsertOwned(index, std::move(option));
    inserted->Owner = m_owner;
    inserted->Root = m_owner->Root;
    return inserted;
}
