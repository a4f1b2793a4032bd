#include "foundation/KeyedOrder.h"

#include <algorithm>
#include <cassert>

namespace pelorin {

namespace {

/// Counts over positions 0..n-1 with prefix sums in O(log n).
class CountTree {
public:
    explicit CountTree(size_t n) : tree_(n + 1, 0) {}

    void Add(size_t position, int32_t delta)
    {
        for (size_t i = position + 1; i < tree_.size(); i += i & (~i + 1))
            tree_[i] += delta;
    }

    /// The sum over positions 0..end-1.
    int32_t Prefix(size_t end) const
    {
        int32_t sum = 0;
        for (size_t i = end; i > 0; i -= i & (~i + 1))
            sum += tree_[i];
        return sum;
    }

    /// The position of the unit numbered `k` (from 0), when every count is 0 or 1.
    size_t FindUnit(int32_t k) const
    {
        size_t position = 0;
        size_t step = 1;
        while (step * 2 < tree_.size())
            step *= 2;
        for (; step > 0; step /= 2) {
            if (position + step < tree_.size() && tree_[position + step] <= k) {
                position += step;
                k -= tree_[position];
            }
        }
        return position;
    }

private:
    std::vector<int32_t> tree_;
};

// Where ItemList::FindKey puts `key` in a sorted list of n keys, of which `below`
// are smaller and `equal` equal to it, `first` and `last` being its first and last
// keys. The list is sorted, so a bisection midpoint's key follows from its
// position alone.
int32_t InsertPosition(int32_t n, int32_t below, int32_t equal, int32_t key, int32_t first, int32_t last)
{
    if (n == 0 || key > last)
        return n;
    if (key == last)
        return n - 1;
    if (key <= first)
        return 0;
    int32_t lo = 0;
    int32_t hi = n - 1;
    while (hi - lo >= 2) {
        const int32_t mid = (lo + hi) / 2;
        if (mid < below)
            lo = mid;
        else if (mid >= below + equal)
            hi = mid;
        else
            return mid;
    }
    return hi;
}

} // namespace

std::vector<int32_t> KeyedInsertionOrder(std::span<const int32_t> keys, size_t placed)
{
    assert(placed <= keys.size() && "more placed than there are keys");
    const size_t n = keys.size();
    std::vector<int32_t> distinct(keys.begin(), keys.end());
    std::sort(distinct.begin(), distinct.end());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());

    // Forward: the position each element takes in the list as it is when it comes.
    std::vector<int32_t> positions(n);
    CountTree byKey(distinct.size());
    int32_t first = 0;
    int32_t last = 0;
    for (size_t i = 0; i < n; ++i) {
        const int32_t key = keys[i];
        const auto found = std::lower_bound(distinct.begin(), distinct.end(), key);
        const auto rank = static_cast<size_t>(found - distinct.begin());
        const int32_t below = byKey.Prefix(rank);
        const int32_t equal = byKey.Prefix(rank + 1) - below;
        const int32_t count = static_cast<int32_t>(i);
        positions[i] = i < placed ? count : InsertPosition(count, below, equal, key, first, last);
        byKey.Add(rank, 1);
        first = i == 0 ? key : std::min(first, key);
        last = i == 0 ? key : std::max(last, key);
    }

    // Backward: the last element stands at its position in the final list; taken
    // out, the list is as it was before it came, and so on down to the first.
    CountTree free(n);
    for (size_t slot = 0; slot < n; ++slot)
        free.Add(slot, 1);
    std::vector<int32_t> order(n);
    for (size_t i = n; i-- > 0;) {
        const size_t slot = free.FindUnit(positions[i]);
        order[slot] = static_cast<int32_t>(i);
        free.Add(slot, -1);
    }
    return order;
}

} // namespace pelorin
