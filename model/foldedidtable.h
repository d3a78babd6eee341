#pragma once
// Numbers the distinct IDs of a set of screens or options for look-ups in constant time. IDs are the
// same when they are equal with the letters A-Z taken in either case (other bytes exactly), as
// everywhere in the model; an empty ID is an ID like any other. The numbers are dense (0, 1, 2... in
// order of first insertion), so whatever a caller keeps per ID lives in a plain vector indexed by it.
//
// The table is open-addressed and flat: a look-up touches one slot, the stored hash and, on a hash
// match, the stored copy of the ID, instead of walking a chain of separately allocated nodes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class FoldedIdTable {
public:
    // `expected`: the number of distinct IDs expected (the table grows beyond it when needed).
    explicit FoldedIdTable(std::size_t expected = 0);

    // The number of `id`, giving it the next number when it is not in the table yet.
    int Insert(std::string_view id);
    // The number of `id`; -1 when it is not in the table.
    int Find(std::string_view id) const;
    // How many distinct IDs the table holds.
    int Count() const { return static_cast<int>(entries_.size()); }

    // The hash of an ID with A-Z folded to lower case.
    static std::uint64_t Hash(std::string_view id);

private:
    struct Entry {
        std::uint64_t hash;
        std::string id; // as first inserted
    };
    std::size_t SlotOf(std::uint64_t hash, std::string_view id) const;
    void Rehash(std::size_t slotCount);

    std::vector<Entry> entries_;
    std::vector<int> slots_; // entry number, -1 for a free slot; the size is a power of two
};
