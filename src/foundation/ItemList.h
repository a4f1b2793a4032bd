#pragma once

#include "foundation/KeyedOrder.h"

#include <algorithm>
#include <cassert>
#include <concepts>
#include <cstdint>
#include <memory>
#include <vector>

namespace pelorin {

/// An element type that a sorted ItemList can order: it carries an int32 key.
template <typename T>
concept HasSortKey = requires(const T& element) {
    { element.SortKey() } -> std::convertible_to<int32_t>;
};

/// How an ItemList places a new element.
enum class ListOrder : uint8_t {
    Append = 1, ///< new elements go to the end
    Sorted = 2, ///< elements are kept in ascending key order
};

/// The program's one growable list of element pointers.
///
/// It either keeps the order of addition or keeps its elements sorted by their
/// int32 key, and either owns its elements (removing or clearing deletes them) or
/// only refers to elements owned elsewhere.
///
/// Capacity() grows by the list's fixed step whenever an Add finds the list full,
/// so it is the same on every machine. The slots underneath grow geometrically and
/// are allocated on first use, so a list read from a file costs time and memory in
/// proportion to its length, however small its step.
///
/// Among equal keys a newcomer lands before the equal element that the bisection
/// of FindKey meets; the order in which the player sees definitions and quotations
/// depends on that rule, so it must not be "improved".
template <typename T>
class ItemList {
public:
    /// The answer of FindKey when the key belongs after the last element.
    static constexpr int32_t kAfterEnd = -1;
    /// Up to this many elements in all, AddEach places them one by one.
    static constexpr size_t kSmallBatch = 64;

    ItemList(int32_t capacity, ListOrder order, bool owns, int32_t growthStep)
        : capacity_(std::max<int32_t>(capacity, 1)), order_(order), owns_(owns),
          growthStep_(std::max<int32_t>(growthStep, 1))
    {
        assert((order == ListOrder::Append || HasSortKey<T>) && "a sorted list needs keyed elements");
    }

    ~ItemList() { Clear(); }

    ItemList(const ItemList&) = delete;
    ItemList& operator=(const ItemList&) = delete;

    /// Exchanges the whole contents (slots, mode, owns flag) of two lists.
    void Swap(ItemList& other) noexcept
    {
        std::swap(capacity_, other.capacity_);
        std::swap(slots_, other.slots_);
        std::swap(order_, other.order_);
        std::swap(owns_, other.owns_);
        std::swap(growthStep_, other.growthStep_);
    }

    /// Places the element: at the end in append mode, by FindKey in sorted mode.
    /// An owning list takes ownership of it.
    void Add(T* element)
    {
        assert(element && "ItemList holds no null elements");
        int32_t position = Count();
        if constexpr (HasSortKey<T>) {
            if (order_ != ListOrder::Append) {
                const int32_t found = FindKey(element->SortKey());
                if (found != kAfterEnd)
                    position = found;
            }
        }
        Place(position, element);
    }

    /// Adds an element the list is to own.
    void Add(std::unique_ptr<T> element)
    {
        assert(owns_ && "only an owning list takes a unique_ptr");
        Add(element.release());
    }

    /// Adds the elements one after another, each placed exactly as Add would place
    /// it, in O(n log n) time however the keys fall: a reader's way of filling a
    /// list whose length a file decides.
    void AddEach(std::vector<std::unique_ptr<T>> elements)
    {
        assert(owns_ && "only an owning list takes a unique_ptr");
        const size_t count = slots_.size() + elements.size();
        if (count <= kSmallBatch) {
            // A few elements, the usual case, are placed one by one: the same
            // order, without the cost of working it out for many.
            for (auto& element : elements)
                Add(element.release());
            return;
        }
        GrowCapacityTo(count);
        if constexpr (HasSortKey<T>) {
            if (order_ != ListOrder::Append) {
                std::vector<T*> all(slots_);
                std::vector<int32_t> keys;
                keys.reserve(count);
                for (T* element : slots_)
                    keys.push_back(element->SortKey());
                for (auto& element : elements) {
                    keys.push_back(element->SortKey());
                    all.push_back(element.release());
                }
                slots_.clear();
                slots_.reserve(count);
                for (const int32_t from : KeyedInsertionOrder(keys, all.size() - elements.size()))
                    slots_.push_back(all[static_cast<size_t>(from)]);
                return;
            }
        }
        slots_.reserve(count);
        for (auto& element : elements)
            slots_.push_back(element.release());
    }

    /// Puts the element at the end whatever the order mode: for a reader that
    /// restores a list in the order it was saved in. In a sorted list the keys
    /// must stay in ascending order.
    void Append(std::unique_ptr<T> element)
    {
        assert(owns_ && "only an owning list takes a unique_ptr");
        if constexpr (HasSortKey<T>) {
            assert((order_ == ListOrder::Append || slots_.empty() ||
                    slots_.back()->SortKey() <= element->SortKey()) &&
                   "a sorted list keeps its keys in order");
        }
        Place(Count(), element.release());
    }

    /// Makes room underneath for `count` elements in all, without changing
    /// Capacity(): for a count a reader has checked against its file.
    void Reserve(int32_t count) { slots_.reserve(static_cast<size_t>(std::max<int32_t>(count, 0))); }

    /// The element in slot i, or null when i is not in 0..Count()-1.
    T* At(int32_t i) const { return i >= 0 && i < Count() ? slots_[static_cast<size_t>(i)] : nullptr; }

    int32_t Count() const { return static_cast<int32_t>(slots_.size()); }
    bool Empty() const { return slots_.empty(); }
    int32_t Capacity() const { return capacity_; }
    bool Owns() const { return owns_; }
    ListOrder Order() const { return order_; }

    /// Puts an element the list is to own in slot i, deleting the one that was
    /// there; false, and the element dropped, when i is out of range. Only an
    /// append-order list has slots that an element may take whatever its key.
    bool ReplaceAt(int32_t i, std::unique_ptr<T> element)
    {
        assert(owns_ && order_ == ListOrder::Append && "only an owning append-order list replaces in place");
        assert(element && "ItemList holds no null elements");
        if (!At(i))
            return false;
        const std::unique_ptr<T> old(begin()[i]);
        begin()[i] = element.release();
        return true;
    }

    /// Removes slot i (deleting its element when the list owns it); false and no
    /// change when i is out of range.
    bool RemoveAt(int32_t i)
    {
        if (i < 0 || i >= Count())
            return false;
        if (owns_)
            delete slots_[static_cast<size_t>(i)];
        slots_.erase(slots_.begin() + i);
        return true;
    }

    /// Empties the list (deleting the elements when it owns them); the slots stay.
    void Clear()
    {
        if (owns_) {
            for (T* element : slots_)
                delete element;
        }
        slots_.clear();
    }

    /// The keyed search of a sorted list: the position a new element of this key
    /// takes, or kAfterEnd when it belongs after the last element.
    int32_t FindKey(int32_t key) const
        requires HasSortKey<T>
    {
        const int32_t n = Count();
        if (n == 0)
            return 0;
        const int32_t last = slots_[static_cast<size_t>(n - 1)]->SortKey();
        if (key > last)
            return kAfterEnd;
        if (key == last)
            return n - 1;
        if (key <= slots_[0]->SortKey())
            return 0;
        int32_t lo = 0;
        int32_t hi = n - 1;
        while (hi - lo >= 2) {
            const int32_t mid = (lo + hi) / 2;
            const int32_t midKey = slots_[static_cast<size_t>(mid)]->SortKey();
            if (key == midKey)
                return mid;
            if (key > midKey)
                lo = mid;
            else
                hi = mid;
        }
        return hi;
    }

    T** begin() { return slots_.data(); }
    T** end() { return slots_.data() + slots_.size(); }
    T* const* begin() const { return slots_.data(); }
    T* const* end() const { return slots_.data() + slots_.size(); }

private:
    void Place(int32_t position, T* element)
    {
        if (Count() == capacity_)
            capacity_ += growthStep_;
        slots_.insert(slots_.begin() + position, element);
    }

    // The capacity that adding one element after another up to `count` gives.
    void GrowCapacityTo(size_t count)
    {
        if (count <= static_cast<size_t>(capacity_))
            return;
        const size_t steps = (count - static_cast<size_t>(capacity_) + growthStep_ - 1) / growthStep_;
        capacity_ += static_cast<int32_t>(steps) * growthStep_;
    }

    int32_t capacity_; ///< grows by growthStep_ when an Add finds the list full
    std::vector<T*> slots_;
    ListOrder order_;
    bool owns_;
    int32_t growthStep_;
};

} // namespace pelorin
