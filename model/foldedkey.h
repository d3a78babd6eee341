#pragma once
// Hash and equality for hash look-ups by ID: IDs are equal when they are equal with the letters A-Z
// taken in either case (other bytes exactly), as everywhere in the model. Both work on views, so
// tables can be keyed by views of the model's own ID texts without building lower-case copies.
#include "support/textroutines.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

struct FoldedIdHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view id) const noexcept {
        // FNV-1a over the folded bytes.
        std::uint64_t hash = 14695981039346656037ull;
        for (char c : id) {
            const auto byte = static_cast<unsigned char>((c >= 'A' && c <= 'Z') ? c + 32 : c);
            hash = (hash ^ byte) * 1099511628211ull;
        }
        return static_cast<std::size_t>(hash);
    }
};

struct FoldedIdEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const noexcept { return SameText(a, b); }
};
