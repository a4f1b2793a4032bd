// pelorin-tool prepare: fills the cache folder of a data root with a prepared game
// for every style and block pattern, as the game does in the background, and
// reports how long each took.
#include "Command.h"

#include "app/AppData.h"
#include "app/WorkerSlot.h"
#include "foundation/Notifier.h"
#include "foundation/TextUtil.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <set>
#include <system_error>
#include <thread>
#include <vector>

namespace pelorin::tool {
namespace {

constexpr const char* kName = "prepare";
constexpr long long kDefaultTimeout = 600;
constexpr long long kMaxTimeout = 7 * 24 * 3600;
// Often enough that the times taken are exact to a tenth of a second.
constexpr std::chrono::milliseconds kPollInterval(50);

using Clock = std::chrono::steady_clock;

enum class CacheState { Ready, Made, Missing };

// One cache file of one style and block pattern, and what became of it.
struct CacheEntry {
    const Style* style = nullptr;
    int32_t patternId = 0;
    std::string path;
    CacheState state = CacheState::Missing;
    double seconds = 0;
};

const char* StateName(CacheState state)
{
    switch (state) {
    case CacheState::Ready:
        return "ready";
    case CacheState::Made:
        return "made";
    case CacheState::Missing:
        return "missing";
    }
    return "";
}

// The names of the files in the cache folder, taken before any worker starts.
std::set<std::string> FilesIn(const std::string& folder)
{
    std::set<std::string> names;
    std::error_code error;
    for (const auto& item : std::filesystem::directory_iterator(folder, error))
        names.insert(item.path().filename().string());
    return names;
}

// Only the files that were there before the workers started are ready; one that
// appears later was made by this run, however early it came.
std::vector<CacheEntry> ListCacheEntries(const AppData& app, const std::set<std::string>& existing)
{
    std::vector<CacheEntry> entries;
    for (const Style* style : app.Styles()) {
        for (int32_t patternId = 0; patternId < kPreparedPatterns; ++patternId) {
            CacheEntry entry;
            entry.style = style;
            entry.patternId = patternId;
            entry.path = app.CachePath(*style, patternId);
            const bool ready = existing.count(CacheFileName(style->FileName(), patternId)) != 0;
            entry.state = ready ? CacheState::Ready : CacheState::Missing;
            entries.push_back(std::move(entry));
        }
    }
    return entries;
}

// Notes the files that appeared since the last look; returns how many are missing.
int CheckEntries(std::vector<CacheEntry>& entries, Clock::time_point started)
{
    int missing = 0;
    for (CacheEntry& entry : entries) {
        if (entry.state != CacheState::Missing)
            continue;
        if (FileExists(entry.path)) {
            entry.state = CacheState::Made;
            entry.seconds = std::chrono::duration<double>(Clock::now() - started).count();
        } else {
            ++missing;
        }
    }
    return missing;
}

// A worker that gave up after its tries leaves its file missing until the
// preparation is started again; the game would wait for the next start-up, the
// tool starts it at once.
void RestartGivenUp(AppData& app, const std::vector<CacheEntry>& entries)
{
    for (const Style* style : app.Styles()) {
        const bool givenUp = std::any_of(entries.begin(), entries.end(), [&](const CacheEntry& entry) {
            return entry.style == style && entry.state == CacheState::Missing &&
                   !app.WorkerRunning(*style, entry.patternId);
        });
        if (givenUp)
            app.StartPreparation(*style);
    }
}

void PrintTable(const std::vector<CacheEntry>& entries)
{
    int width = 5;
    for (const CacheEntry& entry : entries)
        width = std::max(width, static_cast<int>(entry.style->FileName().size()));
    std::printf("%-*s  Pattern  State    Seconds\n", width, "Style");
    for (const CacheEntry& entry : entries) {
        const std::string seconds = entry.state == CacheState::Made ? Format("%.1f", entry.seconds) : "-";
        // A file name is whatever the folder holds.
        std::printf("%-*s  %7d  %-7s  %7s\n", width, Printable(entry.style->FileName()).c_str(), entry.patternId,
                    StateName(entry.state), seconds.c_str());
    }
}

int Run(std::span<const std::string> args)
{
    const auto options = ParseWithRoot(kName, args, {"root", "timeout"}, {});
    if (!options)
        return kUsageExit;
    const std::string& root = *options->Value("root");
    if (!options->Operands().empty())
        return UsageError(kName, "prepare takes no operands");
    long long timeout = kDefaultTimeout;
    if (options->Has("timeout") && !options->Integer("timeout", timeout, 0, kMaxTimeout))
        return UsageError(kName, Format("--timeout takes whole seconds from 0 to %lld", kMaxTimeout));

    StderrNotifierScope notifier;
    AppData app(root);
    // Without a cache folder every worker would fail to write and the wait could
    // only end in the timeout.
    if (!std::filesystem::is_directory(app.CacheFolder())) {
        std::fprintf(stderr, "pelorin-tool prepare: no cache folder %s\n", app.CacheFolder().c_str());
        return 1;
    }
    const std::set<std::string> existing = FilesIn(app.CacheFolder());
    const Clock::time_point started = Clock::now();
    app.LoadAtStartup();
    if (!app.DictionaryLoaded()) {
        std::fprintf(stderr, "pelorin-tool prepare: the dictionary of %s did not load\n", root.c_str());
        return 1;
    }

    std::vector<CacheEntry> entries = ListCacheEntries(app, existing);
    const auto deadline = started + std::chrono::seconds(timeout);
    int missing = CheckEntries(entries, started);
    int reported = -1;
    while (missing > 0 && Clock::now() < deadline) {
        if (missing != reported) {
            std::fprintf(stderr, "Prepared %d of %zu games\n", static_cast<int>(entries.size()) - missing,
                         entries.size());
            reported = missing;
        }
        std::this_thread::sleep_for(kPollInterval);
        missing = CheckEntries(entries, started);
        RestartGivenUp(app, entries);
    }
    if (missing != reported)
        std::fprintf(stderr, "Prepared %d of %zu games\n", static_cast<int>(entries.size()) - missing, entries.size());

    app.ShutDown();
    PrintTable(entries);
    if (std::fflush(stdout) != 0)
        return 1;
    if (missing > 0) {
        std::fprintf(stderr, "pelorin-tool prepare: timed out with %d of %zu games missing\n", missing,
                     entries.size());
        return 1;
    }
    return 0;
}

const Command command(kName, "--root DIR [--timeout SECONDS]", Run);

} // namespace
} // namespace pelorin::tool
