#pragma once

#include "game/BlockPatterns.h"
#include "game/PuzzleCode.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <thread>

namespace pelorin {

class Style;

/// The block patterns that games are prepared for, one worker each: the patterns
/// the New Game dialog offers, 0 to kOfferedPatterns - 1.
constexpr int32_t kPreparedPatterns = kOfferedPatterns;
/// How often a worker runs the filler on its game in one round: one seed's tries.
constexpr int32_t kPrepareTries = kSeedTries;
/// How many rounds of tries a worker makes before it gives up. A worker that gives
/// up leaves New Game waiting for a file that nobody makes until the next start,
/// so a run of bad luck on a style that fills nearly every time must not end it,
/// while a style that cannot fill the pattern at all still lets it end.
constexpr int32_t kPrepareRounds = 8;
/// The fills a worker tries before it gives up.
constexpr int32_t kPrepareAttempts = kPrepareTries * kPrepareRounds;

/// The cache file name of a style file and block pattern: the style's file name
/// without its extension, "_", the pattern and ".zac" (My.Style.zas, 2 gives
/// My.Style_2.zac).
std::string CacheFileName(std::string_view styleFileName, int32_t patternId);

/// The full path of that cache file in the cache folder.
std::string CacheFilePath(const std::string& cacheFolder, std::string_view styleFileName, int32_t patternId);

/// Whether the cache folder holds the game of a style (its file name already
/// without extension) and block pattern. A file being written is not seen: games
/// are written under another name and renamed when complete.
bool CachedGameExists(std::string_view styleName, const std::string& cacheFolder, int32_t patternId);

/// The small file beside a cache file that holds the puzzle code of its game (one
/// line), so that a game taken from the cache can show its code.
std::string CacheCodePath(const std::string& cachePath);
/// The code of a cache file's game; empty when none was written.
std::string ReadCacheCode(const std::string& cachePath);

/// Tells the player that the cache folder cannot be written once, not once for
/// every worker and round: one report serves all the workers of a program. A later
/// save that succeeds lets the next failure be told again.
class CacheFaultReport {
public:
    /// A game could not be saved as `cachePath` for the system's reason `error`;
    /// says so (naming the folder and the reason) unless it was said already.
    void Failed(const std::string& cachePath, int error);
    void Succeeded() { reported_.store(false); }

private:
    std::atomic<bool> reported_{false};
};

/// How a worker's job ended.
enum class PrepareResult {
    Present,  ///< the file was there already
    Written,  ///< a new game was filled and written
    Stopped,  ///< the keep-running flag was cleared
    GaveUp,   ///< no try filled the block pattern
    NotSaved, ///< a game was filled but could not be written
};

/// A worker's whole job: when no file of that path exists, fills a new game with
/// the style's words (at most `attempts` fills, in rounds of kSeedTries from a new
/// seed each) and writes it there, with its code beside it (CacheCodePath). A
/// cleared keep-running flag ends it without writing: a fill that returns after the
/// flag was cleared may have had its clue choice cut short, and a game without
/// hints must not wait in the cache for a later run. A game that cannot be saved is
/// not reported here: `saveError` (when given) receives the system's reason.
PrepareResult PrepareGame(const Style& style, const std::string& cachePath, int32_t patternId,
                          const std::atomic<bool>& keepRunning, int32_t attempts = kPrepareAttempts,
                          int* saveError = nullptr);

/// One preparation worker: a thread that runs PrepareGame once for one style and
/// block pattern (or, for tests, any job), and the marker that tells whether it
/// runs.
///
/// The marker is set before the thread starts and cleared as the thread's last act,
/// so a slot never counts as idle while its thread can still touch the style. The
/// thread object is joined before a restart and when the slot goes; whoever owns
/// the slot clears the keep-running flag first, so that the join is prompt.
class WorkerSlot {
public:
    WorkerSlot() = default;
    /// Waits for the worker (see the class comment).
    ~WorkerSlot();
    WorkerSlot(const WorkerSlot&) = delete;
    WorkerSlot& operator=(const WorkerSlot&) = delete;

    /// Starts a worker when the slot is idle. When its worker still runs, the
    /// worker is asked to look at its file once more before it ends: the file it
    /// found or wrote may have been taken meanwhile, and nothing else would make it
    /// again. Nothing starts while the flag is cleared or when the thread cannot
    /// be made. The style, flag and report (if any) must outlive the worker; a
    /// game that cannot be saved goes to the report.
    bool Start(const Style& style, std::string cachePath, int32_t patternId,
               const std::atomic<bool>& keepRunning, int32_t attempts = kPrepareAttempts,
               CacheFaultReport* report = nullptr);
    /// The same for any job: it runs on the worker thread, once more for every
    /// Start while it runs (see above). The job is kept only when a worker starts.
    bool Start(std::function<void()> job, const std::atomic<bool>& keepRunning);

    /// The running marker: true from Start until the worker's last act.
    bool Running() const { return state_.load() != kIdle; }
    /// How many preparations in a row gave up on the slot's pattern or could not
    /// save their game; one that found or wrote its file starts the count again.
    int32_t GiveUps() const { return giveUps_.load(); }
    /// The system's reason why the last preparation could not save its game; 0
    /// when it did not fail that way.
    int SaveError() const { return saveError_.load(); }

    /// Waits at most `limit` for the worker to end; true (and the thread joined)
    /// when it has.
    bool WaitFor(std::chrono::milliseconds limit);
    /// Waits for the worker to end, however long it takes, and joins it.
    void Join();

private:
    enum State : int { kIdle, kRunning, kRunAgain };

    void Run();

    std::atomic<int> state_{kIdle};
    std::atomic<int32_t> giveUps_{0};
    std::atomic<int> saveError_{0};
    std::thread thread_;
    // Written by Start before the thread exists and only read by the thread.
    std::function<void()> job_;
    const std::atomic<bool>* keepRunning_ = nullptr;
};

/// The three workers of one style and the stop flag they share.
///
/// The flag is the style's own so that one style's workers can be stopped (before
/// the style is deleted or rebuilt) while the others go on; shutting down clears
/// every style's flag.
class StyleWorkers {
public:
    /// `report` (if any) hears of games that cannot be saved; it must outlive the
    /// workers.
    explicit StyleWorkers(const Style& style, CacheFaultReport* report = nullptr) : style_(&style), report_(report) {}
    /// Stops the workers and waits for them.
    ~StyleWorkers();
    StyleWorkers(const StyleWorkers&) = delete;
    StyleWorkers& operator=(const StyleWorkers&) = delete;

    /// Starts the workers of patterns 0, 1 and 2 whose slots are idle, each trying
    /// at most `attempts` fills.
    void Start(const std::string& cacheFolder, int32_t attempts = kPrepareAttempts);
    /// Starts the worker of one pattern when its slot is idle.
    void StartPattern(int32_t patternId, const std::string& cacheFolder, int32_t attempts = kPrepareAttempts);
    /// Clears the stop flag: fillers give up at their next pass.
    void RequestStop() { keepRunning_.store(false); }
    /// Clears the stop flag and waits for every worker to end.
    void Stop();
    /// Waits for each running worker in pattern order, at most `limit` for each;
    /// true when all have ended.
    bool WaitEach(std::chrono::milliseconds limit);

    int32_t RunningCount() const;
    bool Running(int32_t patternId) const { return slots_[static_cast<size_t>(patternId)].Running(); }
    int32_t GiveUps(int32_t patternId) const { return slots_[static_cast<size_t>(patternId)].GiveUps(); }
    int SaveError(int32_t patternId) const { return slots_[static_cast<size_t>(patternId)].SaveError(); }

private:
    const Style* style_;
    CacheFaultReport* report_;
    std::atomic<bool> keepRunning_{true};
    std::array<WorkerSlot, kPreparedPatterns> slots_;
};

} // namespace pelorin
