#include "foundation/StartupClock.h"

#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace pelorin::startup_clock {

namespace {

struct Milestone {
    const char* name;
    long ms;
};

struct Clock {
    // The start of the process on the steady clock; later marks are read from the
    // steady clock alone, finer than the kernel's ticks.
    std::chrono::steady_clock::time_point start =
        std::chrono::steady_clock::now() - std::chrono::milliseconds(SinceProcessStart());
    std::vector<Milestone> milestones;
};

Clock& TheClock()
{
    static Clock clock;
    return clock;
}

} // namespace

long SinceProcessStart()
{
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    // The command name may hold spaces; the fields after it are plain.
    const size_t close = line.rfind(')');
    if (close == std::string::npos)
        return -1;
    std::istringstream fields(line.substr(close + 2));
    std::string field;
    unsigned long long startTicks = 0;
    for (int i = 3; i <= 22 && fields >> field; ++i) {
        if (i == 22)
            startTicks = std::stoull(field);
    }
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const long long nowMs = now.tv_sec * 1000LL + now.tv_nsec / 1000000;
    return static_cast<long>(nowMs - static_cast<long long>(startTicks * 1000 / sysconf(_SC_CLK_TCK)));
}

void Mark(const char* milestone)
{
    Clock& clock = TheClock();
    for (const Milestone& known : clock.milestones) {
        if (std::strcmp(known.name, milestone) == 0)
            return;
    }
    const auto since = std::chrono::steady_clock::now() - clock.start;
    clock.milestones.push_back(
        {milestone, static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count())});
}

std::string Report()
{
    std::string report;
    for (const Milestone& milestone : TheClock().milestones) {
        if (!report.empty())
            report += ", ";
        report += milestone.name;
        report += ' ';
        report += std::to_string(milestone.ms);
        report += " ms";
    }
    return report;
}

} // namespace pelorin::startup_clock
