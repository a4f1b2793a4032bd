#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace pelorin {

/// The order that placing elements one after another by ItemList's keyed search
/// gives, computed in O(n log n) rather than by n insertions into an array.
///
/// `keys` are the keys in the order the elements are added; the first `placed`
/// of them are already in the list, in ascending order. The result names, slot by
/// slot, the index in `keys` of the element that ends up there.
std::vector<int32_t> KeyedInsertionOrder(std::span<const int32_t> keys, size_t placed);

} // namespace pelorin
