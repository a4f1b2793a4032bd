#include "app/WorkerSlot.h"

#include "foundation/Notifier.h"
#include "foundation/TextUtil.h"
#include "game/Game.h"
#include "game/GameFile.h"
#include "game/GridFiller.h"
#include "game/PuzzleCode.h"
#include "lexicon/Style.h"

#include <cstdio>
#include <fstream>
#include <memory>
#include <random>
#include <system_error>

namespace pelorin {

namespace {
// How often a timed wait looks at a worker's marker; short against the filler's
// pass, long enough not to spin.
constexpr std::chrono::milliseconds kPollInterval(2);

// The one place the form of a cache file name is written down; `styleName` is
// the style's file name without its extension.
std::string CacheName(std::string_view styleName, int32_t patternId)
{
    return Format("%.*s_%ld.zac", static_cast<int>(styleName.size()), styleName.data(),
                  static_cast<long>(patternId));
}

// Every cache path is built here.
std::string CachePathOf(const std::string& cacheFolder, std::string_view styleName, int32_t patternId)
{
    return JoinPath(cacheFolder, CacheName(styleName, patternId));
}

} // namespace

std::string CacheFileName(std::string_view styleFileName, int32_t patternId)
{
    return CacheName(StripExtension(styleFileName), patternId);
}

std::string CacheFilePath(const std::string& cacheFolder, std::string_view styleFileName, int32_t patternId)
{
    return CachePathOf(cacheFolder, StripExtension(styleFileName), patternId);
}

bool CachedGameExists(std::string_view styleName, const std::string& cacheFolder, int32_t patternId)
{
    return FileExists(CachePathOf(cacheFolder, styleName, patternId));
}

std::string CacheCodePath(const std::string& cachePath)
{
    return cachePath + ".code";
}

std::string ReadCacheCode(const std::string& cachePath)
{
    std::ifstream in(CacheCodePath(cachePath));
    std::string code;
    std::getline(in, code);
    return code;
}

void CacheFaultReport::Failed(const std::string& cachePath, int error)
{
    if (reported_.exchange(true))
        return;
    std::string folder = SplitPath(cachePath).first;
    if (folder.size() > 1 && folder.ends_with('/'))
        folder.pop_back();
    ShowMessage(Format("Cannot save games in the cache folder %s: %s.", folder.c_str(),
                       std::generic_category().message(error).c_str()),
                "Error");
}

PrepareResult PrepareGame(const Style& style, const std::string& cachePath, int32_t patternId,
                          const std::atomic<bool>& keepRunning, int32_t attempts, int* saveError)
{
    if (FileExists(cachePath))
        return PrepareResult::Present;
    // A game is large and the worker's stack need not be.
    const auto game = std::make_unique<Game>();
    // Each round of tries starts from a seed of its own, so that the game's code
    // makes it again; the seeds need only differ from run to run.
    std::random_device device;
    for (int32_t tried = 0; tried < attempts; tried += kSeedTries) {
        if (!keepRunning.load())
            return PrepareResult::Stopped;
        const uint32_t seed = device();
        if (!FillFromSeed(*game, style, patternId, seed, keepRunning))
            continue;
        if (!keepRunning.load())
            return PrepareResult::Stopped;
        // The code goes first: the game file, written under a temporary name and
        // renamed, appears only when it is complete, and then its code is there.
        if (std::FILE* code = std::fopen(CacheCodePath(cachePath).c_str(), "w")) {
            std::fprintf(code, "%s\n", FormatCode(CodeOf(style, patternId, seed)).c_str());
            std::fclose(code);
        }
        int error = 0;
        if (WriteGame(cachePath, *game, error))
            return PrepareResult::Written;
        if (saveError)
            *saveError = error;
        return PrepareResult::NotSaved;
    }
    // The last failed fill may have been cut short by the flag.
    return keepRunning.load() ? PrepareResult::GaveUp : PrepareResult::Stopped;
}

WorkerSlot::~WorkerSlot()
{
    Join();
}

bool WorkerSlot::Start(const Style& style, std::string cachePath, int32_t patternId,
                       const std::atomic<bool>& keepRunning, int32_t attempts, CacheFaultReport* report)
{
    auto job = [this, &style, path = std::move(cachePath), patternId, &keepRunning, attempts, report] {
        int error = 0;
        const PrepareResult result = PrepareGame(style, path, patternId, keepRunning, attempts, &error);
        if (result == PrepareResult::Stopped)
            return;
        saveError_.store(error);
        // A cache that cannot be written makes no game however often it is tried:
        // New Game must stop waiting for it as for a pattern that cannot be filled.
        if (result == PrepareResult::GaveUp || result == PrepareResult::NotSaved)
            giveUps_.fetch_add(1);
        else
            giveUps_.store(0);
        if (report && result == PrepareResult::NotSaved)
            report->Failed(path, error);
        else if (report && result == PrepareResult::Written)
            report->Succeeded();
    };
    return Start(std::move(job), keepRunning);
}

bool WorkerSlot::Start(std::function<void()> job, const std::atomic<bool>& keepRunning)
{
    if (!keepRunning.load())
        return false;
    for (;;) {
        int state = state_.load();
        if (state == kRunAgain)
            return true;
        if (state == kRunning) {
            if (state_.compare_exchange_strong(state, kRunAgain))
                return true;
            continue; // the worker has just ended; start a new one
        }
        if (state_.compare_exchange_strong(state, kRunning))
            break;
    }
    // The previous thread has done its last act; joining it costs nothing.
    if (thread_.joinable())
        thread_.join();
    job_ = std::move(job);
    keepRunning_ = &keepRunning;
    // Making a thread reports failure only by exception; the slot then stays idle.
    try {
        thread_ = std::thread(&WorkerSlot::Run, this);
    } catch (const std::system_error&) {
        state_.store(kIdle);
        return false;
    }
    return true;
}

void WorkerSlot::Run()
{
    for (;;) {
        job_();
        int state = kRunning;
        if (state_.compare_exchange_strong(state, kIdle))
            return; // the marker is cleared: nothing of the slot may be touched after this
        // Start asked for another look while this one ran. Only this thread leaves
        // kRunAgain, so the plain stores below race with nothing.
        if (!keepRunning_->load()) {
            state_.store(kIdle);
            return;
        }
        state_.store(kRunning);
    }
}

bool WorkerSlot::WaitFor(std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (Running()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(kPollInterval);
    }
    if (thread_.joinable())
        thread_.join();
    return true;
}

void WorkerSlot::Join()
{
    if (thread_.joinable())
        thread_.join();
}

StyleWorkers::~StyleWorkers()
{
    Stop();
}

void StyleWorkers::Start(const std::string& cacheFolder, int32_t attempts)
{
    for (int32_t patternId = 0; patternId < kPreparedPatterns; ++patternId)
        StartPattern(patternId, cacheFolder, attempts);
}

void StyleWorkers::StartPattern(int32_t patternId, const std::string& cacheFolder, int32_t attempts)
{
    std::string path = CacheFilePath(cacheFolder, style_->FileName(), patternId);
    slots_[static_cast<size_t>(patternId)].Start(*style_, std::move(path), patternId, keepRunning_, attempts,
                                                 report_);
}

void StyleWorkers::Stop()
{
    RequestStop();
    for (WorkerSlot& slot : slots_)
        slot.Join();
}

bool StyleWorkers::WaitEach(std::chrono::milliseconds limit)
{
    bool allEnded = true;
    for (WorkerSlot& slot : slots_)
        allEnded = slot.WaitFor(limit) && allEnded;
    return allEnded;
}

int32_t StyleWorkers::RunningCount() const
{
    int32_t count = 0;
    for (const WorkerSlot& slot : slots_)
        count += slot.Running() ? 1 : 0;
    return count;
}

} // namespace pelorin
