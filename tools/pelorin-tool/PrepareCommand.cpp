// pelorin-tool prepare: fills the cache folder of a data root with a prepared game
// for every style and block pattern, as the game does in the background, and
// reports how long each took.
#include "Command.h"
#include "DataLoading.h"
#include "Files.h"
#include "Report.h"

#include "app/AppData.h"
#include "app/WorkerSlot.h"
#include "foundation/Notifier.h"
#include "foundation/TextUtil.h"
#include "game/Game.h"
#include "game/GameFile.h"
#include "lexicon/Dictionary.h"
#include "lexicon/Style.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <set>
#include <system_error>
#include <thread>
#include <vector>

namespace pelorin::tool {
namespace {

constexpr const char* kName = "prepare";
constexpr long long kDefaultTimeout = 600;
constexpr std::string_view kCacheExtension = ".zac";
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

// The names of the *.zac entries of a folder, sorted.
std::vector<std::string> CacheNamesIn(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& item : std::filesystem::directory_iterator(folder, error)) {
        std::string name = item.path().filename().string();
        if (name.ends_with(kCacheExtension))
            names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The cache files that read as games, taken before any worker starts. A damaged
// one is removed, as the game removes one it fails to take, so that its worker
// makes a sound one; false when one is in the way and cannot be.
bool SoundCacheFiles(const std::string& folder, std::set<std::string>& sound)
{
    bool ok = true;
    for (const std::string& name : CacheNamesIn(folder)) {
        const std::string path = JoinPath(folder, name);
        if (!CheckReadableFile(path)) {
            ok = false;
            continue;
        }
        auto game = std::make_unique<Game>();
        if (OpenGame(path, *game)) {
            sound.insert(name);
            continue;
        }
        const std::string fault = FormatFault(path, Game::kVersion, Game::kMagic, "game");
        if (std::remove(path.c_str()) == 0) {
            ReportError(path, fault + "; removed");
        } else {
            ReportError(path, fault + "; it cannot be removed: " + ErrorText(errno));
            ok = false;
        }
    }
    return ok;
}

// Reports the style files that did not load, which the game leaves out without a
// word; true when there were none.
bool ReportUnloadedStyles(const AppData& app)
{
    bool all = true;
    std::set<std::string> loaded;
    for (const Style* style : app.Styles())
        loaded.insert(style->FileName());
    for (const std::string& name : StyleFileNames(app.StylesFolder())) {
        if (loaded.count(name) != 0)
            continue;
        const std::string path = JoinPath(app.StylesFolder(), name);
        if (CheckReadableFile(path))
            ReportError(path, FormatFault(path, Style::kVersion, Style::kMagic, "style"));
        all = false;
    }
    return all;
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

int Run(const Options& options)
{
    const std::string& root = *options.Value("root");
    if (!options.Operands().empty())
        return UsageError(kName, "prepare takes no operands");
    long long timeout = kDefaultTimeout;
    if (options.Has("timeout") && !options.Integer("timeout", timeout, 0, kMaxTimeout))
        return UsageError(kName, Format("--timeout takes whole seconds from 0 to %lld", kMaxTimeout));

    AppData app(root);
    const std::string dictionaryPath = JoinPath(root, Dictionary::kFileName);
    if (!CheckFolder(root) || !CheckReadableFile(dictionaryPath))
        return kFailureExit;
    // A root without a cache folder gets one, as the game makes it; one that
    // cannot be made would have every worker fail to write, and the wait could
    // only end in the timeout.
    std::error_code ignored;
    std::filesystem::create_directory(app.CacheFolder(), ignored);
    if (!CheckFolder(app.CacheFolder()))
        return kFailureExit;
    std::set<std::string> existing;
    if (!SoundCacheFiles(app.CacheFolder(), existing))
        return kFailureExit;
    const Clock::time_point started = Clock::now();
    app.LoadAtStartup();
    if (!app.DictionaryLoaded())
        return ReportError(dictionaryPath, FormatFault(dictionaryPath, Dictionary::kVersion, Dictionary::kMagic,
                                                       "dictionary"));
    const bool allStylesLoaded = ReportUnloadedStyles(app);

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

    // No ShutDown: it would store the New Game dialog's last choices in the user's
    // settings, which are none of the tool's business. Destroying the AppData
    // stops the workers all the same.
    PrintTable(entries);
    if (FinishOutput() != 0)
        return kFailureExit;
    if (missing > 0)
        return ReportError(app.CacheFolder(), Format("timed out with %d of %zu games missing", missing, entries.size()));
    return allStylesLoaded ? 0 : kFailureExit;
}

const Command command(kName, "--root DIR [--timeout SECONDS]",
                      "Starts the game's core headless and waits until a game is ready in DIR/Cache for every style\n"
                      "and block pattern 0 to 2 (at most SECONDS, 600 by default). A damaged cache file is removed\n"
                      "and made again; the user's settings are left alone.",
                      {"root", "timeout"}, {}, Run);

} // namespace
} // namespace pelorin::tool
