// pelorin-tool fill: makes puzzles the way a preparation worker does, one or a
// batch of consecutive seeds on several threads, and checks that a seed gives the
// same grid on every machine.
#include "Command.h"
#include "DataLoading.h"
#include "Files.h"
#include "Report.h"

#include "foundation/Notifier.h"
#include "foundation/TextUtil.h"
#include "game/BlockPatterns.h"
#include "game/Game.h"
#include "game/GameFile.h"
#include "game/GridFiller.h"
#include "game/PuzzleCode.h"
#include "game/Random.h"
#include "lexicon/Dictionary.h"
#include "lexicon/Style.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

namespace pelorin::tool {
namespace {

constexpr const char* kName = "fill";
constexpr long long kMaxTries = 1000;
constexpr long long kMaxSeed = 0xFFFFFFFFLL;
constexpr long long kMaxCount = 1000000;
constexpr long long kMaxJobs = 256;
// How often a batch's progress line may change: often enough to watch, seldom
// enough not to flood a log.
constexpr std::chrono::milliseconds kProgressInterval(250);

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point started)
{
    return std::chrono::duration<double>(Clock::now() - started).count();
}

// One seed's game, as fill makes it and a preparation worker would: the game is
// made (which seeds the generator with the time), the seed replaces that, and the
// filler gets up to `tries` fills of the game, the generator running on.
struct SeedGame {
    std::unique_ptr<Game> game = std::make_unique<Game>();
    bool filled = false;
    long long tries = 0;
    long long passes = 0;
};

SeedGame FillSeed(const Style& style, int32_t pattern, long long tries, const uint32_t* seed)
{
    SeedGame made;
    if (seed)
        SeedRandom(*seed);
    const std::atomic<bool> keepRunning{true};
    while (!made.filled && made.tries < tries) {
        FillStats stats;
        made.filled = FillGame(*made.game, style, pattern, keepRunning, &stats);
        ++made.tries;
        made.passes += stats.passes;
    }
    return made;
}

struct Request {
    const Style* style = nullptr;
    int32_t pattern = 0;
    long long tries = kSeedTries;
    bool seeded = false;
    long long seed = 0;
    long long count = 0; ///< 0: one game into the file --out names
    long long jobs = 1;
    std::string out;
    /// --daily: the day whose puzzle is made; the pattern and seed follow from it.
    std::optional<PuzzleDate> daily;
};

// STYLE_PATTERN_SEED.zag, the style named by its file name without extension.
std::string BatchGamePath(const std::string& folder, const std::string& styleName, int32_t pattern, uint32_t seed)
{
    return JoinPath(folder, Format("%s_%d_%u.zag", styleName.c_str(), pattern, seed));
}

// The puzzle of the day, or of a code: the window's games, byte for byte.
int FillPuzzle(const Request& request)
{
    auto game = std::make_unique<Game>();
    const std::atomic<bool> keepRunning{true};
    PuzzleCode code = CodeOf(*request.style, request.pattern, static_cast<uint32_t>(request.seed));
    const bool filled = request.daily
                            ? FillDaily(*game, *request.style, *request.daily, code, keepRunning)
                            : FillFromSeed(*game, *request.style, request.pattern, code.seed, keepRunning);
    if (!filled)
        return ReportError(request.style->FullPath(),
                           request.daily ? Format("no puzzle of the day: pattern %d not filled from %u seeds",
                                                  DailyPattern(*request.daily), kDailySeeds)
                                         : Format("the code %s fills no game here", FormatCode(code).c_str()));
    std::printf("code %s\n", Printable(FormatCode(code)).c_str());
    if (!SaveGame(request.out, *game))
        return kFailureExit;
    std::printf("saved %s\n", Printable(request.out).c_str());
    return FinishOutput();
}

int FillOne(const Request& request)
{
    const auto started = Clock::now();
    const auto seed = static_cast<uint32_t>(request.seed);
    const SeedGame made = FillSeed(*request.style, request.pattern, request.tries, request.seeded ? &seed : nullptr);
    std::printf("%s: pattern %d, %s, tries %lld, passes %lld, time %.3f s\n", made.filled ? "filled" : "not filled",
                request.pattern, request.style->FileName().c_str(), made.tries, made.passes, SecondsSince(started));
    if (!made.filled)
        return ReportError(request.style->FullPath(),
                           Format("pattern %d not filled in %lld tries", request.pattern, request.tries));
    // A seed's round of tries is what a code makes again.
    if (request.seeded && request.tries == kSeedTries)
        std::printf("code %s\n", Printable(FormatCode(CodeOf(*request.style, request.pattern, seed))).c_str());
    if (!SaveGame(request.out, *made.game))
        return kFailureExit;
    std::printf("saved %s\n", Printable(request.out).c_str());
    return FinishOutput();
}

// What became of each seed of a batch; each worker writes only the seeds it took.
enum class Outcome : uint8_t { Pending, Saved, NotFilled, NotSaved };

// A batch: workers take the seeds in turn and write each game into the folder;
// this thread shows the progress until all are done.
class Batch {
public:
    explicit Batch(const Request& request)
        : request_(request), outcomes_(static_cast<size_t>(request.count), Outcome::Pending),
          styleName_(StripExtension(request.style->FileName()))
    {
    }

    int Run()
    {
        const auto started = Clock::now();
        const long long jobs = std::min(request_.jobs, request_.count);
        {
            std::vector<std::jthread> workers;
            for (long long j = 0; j < jobs; ++j)
                workers.emplace_back([this] { Work(); });
            ShowProgress();
        }
        return Report(SecondsSince(started), jobs);
    }

private:
    void Work()
    {
        for (long long i = next_++; i < request_.count; i = next_++) {
            const auto seed = static_cast<uint32_t>(request_.seed + i);
            const SeedGame made = FillSeed(*request_.style, request_.pattern, request_.tries, &seed);
            Outcome outcome = Outcome::NotFilled;
            if (made.filled)
                outcome = SaveGame(PathOf(seed), *made.game) ? Outcome::Saved : Outcome::NotSaved;
            outcomes_[static_cast<size_t>(i)] = outcome;
            std::lock_guard lock(mutex_);
            ++done_;
            changed_.notify_one();
        }
    }

    std::string PathOf(uint32_t seed) const
    {
        return BatchGamePath(request_.out, styleName_, request_.pattern, seed);
    }

    void ShowProgress()
    {
        // On a terminal the line is rewritten in place; in a log each showing is a line.
        const char end = isatty(STDERR_FILENO) ? '\r' : '\n';
        long long shown = -1;
        std::unique_lock lock(mutex_);
        while (shown != request_.count) {
            changed_.wait_for(lock, kProgressInterval, [&] { return done_ == request_.count; });
            if (done_ == shown)
                continue;
            shown = done_;
            std::fprintf(stderr, "fill: %lld of %lld games%c", shown, request_.count, end);
        }
        if (end == '\r')
            std::fputc('\n', stderr);
    }

    int Report(double seconds, long long jobs) const
    {
        const auto saved = std::count(outcomes_.begin(), outcomes_.end(), Outcome::Saved);
        const long long last = request_.seed + request_.count - 1;
        std::printf("filled %lld of %lld: pattern %d, %s, seeds %lld to %lld, jobs %lld, time %.3f s, %.1f games/s\n",
                    static_cast<long long>(saved), request_.count, request_.pattern,
                    request_.style->FileName().c_str(), request_.seed, last, jobs, seconds,
                    seconds > 0 ? static_cast<double>(saved) / seconds : 0.0);
        std::printf("saved %lld games in %s\n", static_cast<long long>(saved), Printable(request_.out).c_str());
        if (FinishOutput() != 0)
            return kFailureExit;
        std::string failed;
        for (size_t i = 0; i < outcomes_.size(); ++i)
            if (outcomes_[i] == Outcome::NotFilled)
                failed += Format("%s%lld", failed.empty() ? "" : ", ", request_.seed + static_cast<long long>(i));
        if (!failed.empty())
            ReportError(request_.style->FullPath(), Format("pattern %d not filled: seeds %s (tries %lld each)",
                                                          request_.pattern, failed.c_str(), request_.tries));
        return saved == request_.count ? 0 : kFailureExit;
    }

    const Request& request_;
    std::vector<Outcome> outcomes_;
    const std::string styleName_;
    std::atomic<long long> next_{0};
    std::mutex mutex_;
    std::condition_variable changed_;
    long long done_ = 0; ///< guarded by mutex_
};

// Where the games go must take them before any is made: a batch's folder is made
// if it is missing, and either target is tried as a save would try it.
bool PrepareOutput(const Request& request, const std::string& styleName)
{
    if (request.count == 0)
        return CheckWritableFile(request.out);
    std::error_code error;
    std::filesystem::create_directories(request.out, error);
    // A file of that name is in the way: the check below says so in plain words.
    std::error_code ignored;
    if (error && !std::filesystem::exists(request.out, ignored)) {
        ReportSystemError(request.out, error.value());
        return false;
    }
    return CheckFolder(request.out) &&
           CheckWritableFile(BatchGamePath(request.out, styleName, request.pattern, static_cast<uint32_t>(request.seed)));
}

// The dictionary and the style a fill draws from; reported and empty when either
// does not load.
struct FillStyle {
    std::unique_ptr<Dictionary> dictionary = std::make_unique<Dictionary>();
    std::unique_ptr<Style> style;
};

std::optional<FillStyle> LoadFillStyle(const std::string& root, const std::string& style)
{
    FillStyle loaded;
    if (!LoadDictionaryOrReport(*loaded.dictionary, root))
        return std::nullopt;
    loaded.style = std::make_unique<Style>(*loaded.dictionary);
    if (!LoadStyleOrReport(*loaded.style, StylePath(root, style)))
        return std::nullopt;
    return loaded;
}

// A single game saved over the style or the dictionary would destroy it.
bool OutputIsNoInput(const Request& request, const std::string& root)
{
    const std::string inputs[] = {request.style->FullPath(), JoinPath(root, Dictionary::kFileName)};
    return CheckNotAnInput(request.out, inputs);
}

int RunPuzzle(Request& request, const std::string& root, const std::string& style,
              const std::optional<PuzzleCode>& code)
{
    const auto loaded = LoadFillStyle(root, style);
    if (!loaded)
        return kFailureExit;
    std::string reason;
    if (code && !CodeFitsStyle(*code, *loaded->style, reason))
        return ReportError(loaded->style->FullPath(), reason);
    request.style = loaded->style.get();
    if (!OutputIsNoInput(request, root) || !CheckWritableFile(request.out))
        return kFailureExit;
    return FillPuzzle(request);
}

// --daily [DATE] and --code CODE name the pattern and seed themselves and make one
// game; empty when the options are sound, else the usage error.
std::string ReadPuzzleOptions(const Options& options, Request& request, std::optional<PuzzleCode>& code)
{
    const bool daily = options.Has("daily");
    const std::string* codeText = options.Value("code");
    if (!daily && !codeText)
        return options.Operands().empty() ? "" : "fill takes no operands but the DATE of --daily";
    if (daily && codeText)
        return "--daily and --code each name a puzzle: give one of them";
    for (const char* other : {"pattern", "seed", "tries", "count", "jobs"})
        if (options.Has(other))
            return Format("--%s does not go with --daily or --code, which name the pattern and seed", other);
    if (codeText) {
        std::string reason;
        PuzzleCode read;
        if (!options.Operands().empty())
            return "fill --code takes no operands";
        if (!ParseCode(*codeText, read, reason))
            return reason;
        code = read;
        request.pattern = read.pattern;
        request.seed = read.seed;
        return "";
    }
    if (options.Operands().size() > 1)
        return "--daily takes at most one DATE";
    PuzzleDate date = Today();
    if (!options.Operands().empty() && !ParseDate(options.Operands()[0], date))
        return Format("the DATE of --daily must read YYYY-MM-DD, a real day, not \"%s\"",
                      Printable(options.Operands()[0]).c_str());
    request.daily = date;
    return "";
}

int Run(const Options& options)
{
    const std::string root = options.ValueOr("root", "");
    Request request;
    std::optional<PuzzleCode> code;
    if (const std::string reason = ReadPuzzleOptions(options, request, code); !reason.empty())
        return UsageError(kName, reason);
    const bool puzzle = code || request.daily;
    // A code names its style; the puzzle of the day has one unless --style names another.
    const std::string style = code ? code->style : options.ValueOr("style", request.daily ? kDailyStyle : "");
    const std::string out = options.ValueOr("out", "");
    if (code && options.Has("style"))
        return UsageError(kName, "--code names its style: --style does not go with it");
    if (style.empty() || out.empty())
        return UsageError(kName, "fill needs --root DIR, --style FILE and --out FILE (a folder with --count)");
    if (puzzle) {
        request.out = out;
        return RunPuzzle(request, root, style, code);
    }
    long long pattern = 0;
    if (!options.Integer("pattern", pattern, 0, kPatternCount - 1))
        return UsageError(kName, "--pattern must be a block pattern id, 0 to 3");
    request.pattern = static_cast<int32_t>(pattern);
    if (options.Has("tries") && !options.Integer("tries", request.tries, 1, kMaxTries))
        return UsageError(kName, "--tries must be a whole number from 1 to 1000");
    request.seeded = options.Has("seed");
    if (request.seeded && !options.Integer("seed", request.seed, 0, kMaxSeed))
        return UsageError(kName, "--seed must be a whole number from 0 to 4294967295");
    if (options.Has("count") && !options.Integer("count", request.count, 1, kMaxCount))
        return UsageError(kName, "--count must be a whole number from 1 to 1000000");
    request.jobs = std::max<long long>(std::thread::hardware_concurrency(), 1);
    if (options.Has("jobs") && (request.count == 0 || !options.Integer("jobs", request.jobs, 1, kMaxJobs)))
        return UsageError(kName, "--jobs goes with --count and must be a whole number from 1 to 256");
    if (request.count > 0) {
        // A batch without a seed starts where a game would: at the time.
        if (!request.seeded)
            request.seed = static_cast<long long>(static_cast<uint32_t>(std::time(nullptr)));
        if (request.seed + request.count - 1 > kMaxSeed)
            return UsageError(kName, "--seed and --count run past the last seed, 4294967295");
    }
    request.out = out;

    const auto loaded = LoadFillStyle(root, style);
    if (!loaded)
        return kFailureExit;
    request.style = loaded->style.get();
    if ((request.count == 0 && !OutputIsNoInput(request, root)) ||
        !PrepareOutput(request, StripExtension(request.style->FileName())))
        return kFailureExit;
    return request.count == 0 ? FillOne(request) : Batch(request).Run();
}

const Command command(kName,
                      "--root DIR --style FILE --pattern N [--seed S] [--tries 4] "
                      "(--out FILE | --count N [--jobs J] --out DIR) | "
                      "--root DIR (--daily [--style FILE] [DATE] | --code CODE) --out FILE",
                      "Fills block pattern N (0 to 3) from a style as a preparation worker does, chooses the clues\n"
                      "and saves the game; the same seed and style always give the same grid. With --count, the\n"
                      "games of seeds S to S+N-1 on J threads (all cores by default), saved as\n"
                      "DIR/STYLE_PATTERN_SEED.zag. FILE is a path, or the name of a style in DIR/Styles.\n"
                      "--daily makes the puzzle of the day (today, or DATE as YYYY-MM-DD) from Quotations or\n"
                      "--style; --code makes the puzzle of a code the game shows. Both print the game's code.",
                      {"root", "style", "pattern", "seed", "tries", "count", "jobs", "out", "code"}, {"daily"}, Run);

} // namespace
} // namespace pelorin::tool
