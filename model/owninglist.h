#pragma once
// The ordered, owning list behind the screens, options and notes lists. Elements are held by
// std::unique_ptr, so an element keeps its address while the list grows, shrinks or is reordered;
// views keep plain pointers to elements. Look-ups by a position outside the list give nullptr.
//
// Reading (Count, Item, IndexOf, iteration) and reordering (Move) are public. Adding, taking out and
// destroying are protected: each concrete list decides what they mean for its elements (back
// references, the assistant's changed flag) and publishes its own versions.
#include <algorithm>
#include <cstddef>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <vector>

template <typename T> class TOwningList {
    using Storage = std::vector<std::unique_ptr<T>>;

    // Iterates the elements themselves (T& or const T&), not their owning pointers.
    template <typename Elem> class Iter {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = std::remove_const_t<Elem>;
        using difference_type = std::ptrdiff_t;
        using pointer = Elem*;
        using reference = Elem&;

        Iter() = default;
        explicit Iter(typename Storage::const_iterator it) : m_it(it) {}
        reference operator*() const { return **m_it; }
        pointer operator->() const { return m_it->get(); }
        Iter& operator++() {
            ++m_it;
            return *this;
        }
        Iter operator++(int) { return Iter(m_it++); }
        Iter& operator--() {
            --m_it;
            return *this;
        }
        Iter operator--(int) { return Iter(m_it--); }
        Iter& operator+=(difference_type n) {
            m_it += n;
            return *this;
        }
        Iter& operator-=(difference_type n) {
            m_it -= n;
            return *this;
        }
        friend Iter operator+(Iter a, difference_type n) { return a += n; }
        friend Iter operator+(difference_type n, Iter a) { return a += n; }
        friend Iter operator-(Iter a, difference_type n) { return a -= n; }
        friend difference_type operator-(const Iter& a, const Iter& b) { return a.m_it - b.m_it; }
        reference operator[](difference_type n) const { return *m_it[n]; }
        friend bool operator==(const Iter& a, const Iter& b) = default;
        friend auto operator<=>(const Iter& a, const Iter& b) = default;

    private:
        typename Storage::const_iterator m_it{};
    };

public:
    using iterator = Iter<T>;
    using const_iterator = Iter<const T>;

    TOwningList() = default;
    TOwningList(const TOwningList&) = delete;
    TOwningList& operator=(const TOwningList&) = delete;

    int Count() const { return static_cast<int>(m_items.size()); }
    bool Empty() const { return m_items.empty(); }

    // The element at a zero-based position; nullptr when the position is below 0 or not below Count().
    T* Item(int index) { return InRange(index) ? m_items[static_cast<std::size_t>(index)].get() : nullptr; }
    const T* Item(int index) const {
        return InRange(index) ? m_items[static_cast<std::size_t>(index)].get() : nullptr;
    }

    // Position of an element in this list; -1 when it is not in it (also for nullptr).
    int IndexOf(const T* item) const {
        for (std::size_t i = 0; i < m_items.size(); ++i)
            if (m_items[i].get() == item)
                return static_cast<int>(i);
        return -1;
    }

    // Moves the element at `from` so that it ends up at position `to`; the others keep their order.
    // Returns false, changing nothing, when either position is outside the list.
    bool Move(int from, int to) {
        if (!InRange(from) || !InRange(to))
            return false;
        const auto first = m_items.begin();
        if (from < to)
            std::rotate(first + from, first + from + 1, first + to + 1);
        else if (to < from)
            std::rotate(first + to, first + from, first + from + 1);
        return true;
    }

    iterator begin() { return iterator(m_items.cbegin()); }
    iterator end() { return iterator(m_items.cend()); }
    const_iterator begin() const { return const_iterator(m_items.cbegin()); }
    const_iterator end() const { return const_iterator(m_items.cend()); }

protected:
    ~TOwningList() = default;

    bool InRange(int index) const { return index >= 0 && index < Count(); }

    T* AppendOwned(std::unique_ptr<T> item) {
        // A list starts with room for several elements rather than growing from one: reading a file
        // appends every element, and each step of growth would cost an allocation and a copy.
        if (m_items.size() == m_items.capacity())
            m_items.reserve(std::max<std::size_t>(kFirstCapacity, 2 * m_items.size()));
        m_items.push_back(std::move(item));
        return m_items.back().get();
    }

    // Inserts at a position from 0 to Count() (Count() appends). A position outside that range or a
    // missing element is a programming error and throws; the element then stays with the caller.
    T* InsertOwned(int index, std::unique_ptr<T>&& item) {
        if (!item)
            throw std::invalid_argument("TOwningList: cannot insert nothing");
        if (index < 0 || index > Count())
            throw std::out_of_range("TOwningList: insert position outside the list");
        T* raw = item.get();
        m_items.insert(m_items.begin() + index, std::move(item));
        return raw;
    }

    // Takes the element out of the list and hands its ownership to the caller; nullptr outside the list.
    std::unique_ptr<T> DetachAt(int index) {
        if (!InRange(index))
            return nullptr;
        std::unique_ptr<T> item = std::move(m_items[static_cast<std::size_t>(index)]);
        m_items.erase(m_items.begin() + index);
        return item;
    }

    // Destroys the element; it leaves the list before its destructor runs, so the list is consistent
    // throughout. Returns false outside the list.
    bool DeleteAt(int index) {
        std::unique_ptr<T> item = DetachAt(index);
        return item != nullptr;
    }

    void ClearAll() {
        Storage old;
        old.swap(m_items);
        // `old` destroys the elements on leaving; the list is already empty by then.
    }

private:
    static constexpr std::size_t kFirstCapacity = 8;
    Storage m_items;
};
