#pragma once

#include <string>

namespace pelorin {

/// Milestones of the program's start, for the developers' --screenshot report:
/// where the time to the first frame goes. A new mark costs one clock reading, a
/// repeated one a few comparisons.
///
/// Marked and read on the user-interface thread only.
namespace startup_clock {

/// Milliseconds since the process began (the kernel's start time, which it keeps
/// in clock ticks of 10 ms); -1 when unknown.
long SinceProcessStart();

/// Notes the time of a milestone; only the first mark of a name counts.
void Mark(const char* milestone);

/// The milestones in the order they came, as "name 123 ms, name 456 ms".
std::string Report();

} // namespace startup_clock
} // namespace pelorin
