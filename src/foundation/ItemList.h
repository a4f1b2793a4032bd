#pragma once

#include <algorithm>
#include <cassert>
#include <concepts>
#include <cstdint>
#include <memory>

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
/// only refers to elements owned elsewhere. Capacity grows by a fixed step, so a
/// list's growth is the same on every machine.
///
/// Among equal keys a newcomer lands before the equal element that the bisection
/// of FindKey meets; the order in which the player sees definitions and quotations
/// depends on that rule, so it must not be "improved".
template <typename T>
class ItemList {
public:
    /// The answer of FindKey when the key belongs after the last element.
    static constexpr int32_t kAfterEnd = -1;

    ItemList(int32_t capacity, ListOrder order, bool owns, int32_t growthStep)
        : capacity_(std::max<int32_t>(capacity, 1)), slots_(std::make_unique<T*[]>(capacity_)),
          order_(order), owns_(owns), growthStep_(std::max<int32_t>(growthStep, 1))
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
        std::swap(count_, other.count_);
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
        if (count_ == capacity_)
            Grow();
        int32_t position = count_;
        if constexpr (HasSortKey<T>) {
            if (order_ != ListOrder::Append) {
                const int32_t found = FindKey(element->SortKey());
                if (found != kAfterEnd)
                    position = found;
            }
        }
        T** const slots = slots_.get();
        std::move_backward(slots + position, slots + count_, slots + count_ + 1);
        slots_[position] = element;
        ++count_;
    }

    /// Adds an element the list is to own.
    void Add(std::unique_ptr<T> element)
    {
        assert(owns_ && "only an owning list takes a unique_ptr");
        Add(element.release());
    }

    /// The element in slot i, or null when i is not in 0..Count()-1.
    T* At(int32_t i) const { return i >= 0 && i < count_ ? slots_[i] : nullptr; }

    int32_t Count() const { return count_; }
    bool Empty() const { return count_ == 0; }
    int32_t Capacity() const { return capacity_; }
    bool Owns() const { return owns_; }
    ListOrder Order() const { return order_; }

    /// Removes slot i (deleting its element when the list owns it); false and no
    /// change when i is out of range.
    bool RemoveAt(int32_t i)
    {
        if (i < 0 || i >= count_)
            return false;
        if (owns_)
            delete slots_[i];
        T** const slots = slots_.get();
        std::move(slots + i + 1, slots + count_, slots + i);
        slots_[--count_] = nullptr;
        return true;
    }

    /// Empties the list (deleting the elements when it owns them); the slot array stays.
    void Clear()
    {
        for (int32_t i = 0; i < count_; ++i) {
            if (owns_)
                delete slots_[i];
            slots_[i] = nullptr;
        }
        count_ = 0;
    }

    /// The keyed search of a sorted list: the position a new element of this key
    /// takes, or kAfterEnd when it belongs after the last element.
    int32_t FindKey(int32_t key) const
        requires HasSortKey<T>
    {
        const int32_t n = count_;
        if (n == 0)
            return 0;
        const int32_t last = slots_[n - 1]->SortKey();
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
            const int32_t midKey = slots_[mid]->SortKey();
            if (key == midKey)
                return mid;
            if (key > midKey)
                lo = mid;
            else
                hi = mid;
        }
        return hi;
    }

    T** begin() { return slots_.get(); }
    T** end() { return slots_.get() + count_; }
    T* const* begin() const { return slots_.get(); }
    T* const* end() const { return slots_.get() + count_; }

private:
    void Grow()
    {
        const int32_t newCapacity = capacity_ + growthStep_;
        auto grown = std::make_unique<T*[]>(newCapacity);
        std::copy(slots_.get(), slots_.get() + count_, grown.get());
        slots_ = std::move(grown);
        capacity_ = newCapacity;
    }

    int32_t capacity_;
    int32_t count_ = 0;
    std::unique_ptr<T*[]> slots_; // make_unique<T*[]> value-initialises: every slot starts null
    ListOrder order_;
    bool owns_;
    int32_t growthStep_;
};

} // namespace pelorin
