#pragma once

#include <cstdint>

namespace pelorin {

/// The filler's random numbers: a 32-bit linear congruential generator per thread,
/// s = s * 214013 + 2531011, each draw (s >> 16) & 32767.
///
/// The generator is fixed, not a library engine, so that the same seed gives the
/// same puzzle on every machine and with every standard library.
/// Each thread has its own state; a Game's constructor seeds the constructing
/// thread's with the time in seconds.
void SeedRandom(uint32_t seed);
/// The next draw, 0..32767.
int32_t NextRandom();
/// The current state, so a caller can note and restore it.
uint32_t RandomState();

} // namespace pelorin
