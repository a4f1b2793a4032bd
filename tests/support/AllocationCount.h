#pragma once

#include <cstdint>

namespace pelorin::test {

/// The bytes asked of operator new in this process so far, freed or not. Two
/// readings bound what a piece of work allocates in all: a loader that copies its
/// lists at every small growth asks for far more than it keeps.
uint64_t AllocatedBytes();

} // namespace pelorin::test
