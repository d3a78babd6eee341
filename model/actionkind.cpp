#include "model/actionkind.h"

std::string_view ActionKeyword(TActionKind kind) {
    return kind < ActionKindCount ? ActionKeywords[kind] : std::string_view();
}

std::string_view ActionText(TActionKind kind) {
    return kind < ActionKindCount ? ActionTexts[kind] : std::string_view();
}

std::optional<TActionKind> ActionKindFromKeyword(std::string_view keyword) {
    for (int i = 0; i < ActionKindCount; ++i)
        if (ActionKeywords[i] == keyword)
            return static_cast<TActionKind>(i);
    return std::nullopt;
}
