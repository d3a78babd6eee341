#include "model/foldedidtable.h"

#include "support/textroutines.h"

namespace {
// Slots per entry at least; keeps linear probing short.
constexpr std::size_t SlotsPerEntry = 2;

std::size_t PowerOfTwoAtLeast(std::size_t n) {
    std::size_t size = 8;
    while (size < n)
        size *= 2;
    return size;
}
} // namespace

FoldedIdTable::FoldedIdTable(std::size_t expected) {
    entries_.reserve(expected);
    slots_.assign(PowerOfTwoAtLeast(expected * SlotsPerEntry), -1);
}

std::uint64_t FoldedIdTable::Hash(std::string_view id) {
    // FNV-1a over the folded bytes, then a final mix so that the low bits used for the slot depend on
    // every byte.
    std::uint64_t hash = 14695981039346656037ull;
    for (char c : id) {
        const auto byte = static_cast<unsigned char>((c >= 'A' && c <= 'Z') ? c + 32 : c);
        hash = (hash ^ byte) * 1099511628211ull;
    }
    hash ^= hash >> 33;
    hash *= 0xff51afd7ed558ccdull;
    hash ^= hash >> 33;
    return hash;
}

// The slot holding `id`, or the free slot where it would go.
std::size_t FoldedIdTable::SlotOf(std::uint64_t hash, std::string_view id) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = static_cast<std::size_t>(hash) & mask;; slot = (slot + 1) & mask) {
        const int entry = slots_[slot];
        if (entry < 0)
            return slot;
        const Entry& e = entries_[static_cast<std::size_t>(entry)];
        if (e.hash == hash && SameText(e.id, id))
            return slot;
    }
}

int FoldedIdTable::Find(std::string_view id) const {
    return slots_[SlotOf(Hash(id), id)];
}

int FoldedIdTable::Insert(std::string_view id) {
    const std::uint64_t hash = Hash(id);
    std::size_t slot = SlotOf(hash, id);
    if (slots_[slot] >= 0)
        return slots_[slot];
    if ((entries_.size() + 1) * SlotsPerEntry > slots_.size()) {
        Rehash(slots_.size() * 2);
        slot = SlotOf(hash, id);
    }
    const int number = Count();
    entries_.push_back(Entry{hash, std::string(id)});
    slots_[slot] = number;
    return number;
}

void FoldedIdTable::Rehash(std::size_t slotCount) {
    slots_.assign(slotCount, -1);
    const std::size_t mask = slotCount - 1;
    for (std::size_t n = 0; n < entries_.size(); ++n) {
        std::size_t slot = static_cast<std::size_t>(entries_[n].hash) & mask;
        while (slots_[slot] >= 0)
            slot = (slot + 1) & mask;
        slots_[slot] = static_cast<int>(n);
    }
}
