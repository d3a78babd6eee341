#pragma once
// Hash and equality of IDs as the model compares them: equal when they are equal with the letters A-Z
// taken in either case (every other byte exactly). With them the standard unordered containers look
// IDs up as FindScreen compares them. Keys are views of the IDs held by the model, so a container of
// them lives no longer than the unchanged items it was filled from.
#include "support/textroutines.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

struct TFoldedIdHash {
    std::size_t operator()(std::string_view id) const {
        // FNV-1a over the folded bytes, then a final mix so that every bit depends on every byte.
        std::uint64_t hash = 14695981039346656037ull;
        for (const char c : id) {
            const auto byte = static_cast<unsigned char>((c >= 'A' && c <= 'Z') ? c + 32 : c);
            hash = (hash ^ byte) * 1099511628211ull;
        }
        hash ^= hash >> 33;
        hash *= 0xff51afd7ed558ccdull;
        hash ^= hash >> 33;
        return static_cast<std::size_t>(hash);
    }
};

struct TFoldedIdEqual {
    bool operator()(std::string_view a, std::string_view b) const { return SameText(a, b); }
};

template <typename Value>
using TFoldedIdMap = std::unordered_map<std::string_view, Value, TFoldedIdHash, TFoldedIdEqual>;
using TFoldedIdSet = std::unordered_set<std::string_view, TFoldedIdHash, TFoldedIdEqual>;
