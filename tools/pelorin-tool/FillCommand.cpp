// pelorin-tool fill: makes one puzzle the way a preparation worker does, for
// batches of puzzles and for checking that a seed gives the same grid on every machine.
#include "Command.h"
#include "DictionaryLoader.h"

#include "game/BlockPatterns.h"
#include "game/Game.h"
#include "game/GameFile.h"
#include "game/GridFiller.h"
#include "game/Random.h"
#include "lexicon/Dictionary.h"
#include "lexicon/Style.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>

namespace pelorin::tool {
namespace {

constexpr const char* kName = "fill";
// A preparation worker gives one game this many tries before it gives up.
constexpr long long kWorkerTries = 4;
constexpr long long kMaxTries = 1000;

int Run(std::span<const std::string> args)
{
    std::string error;
    const auto options = Options::Parse(args, {"root", "style", "pattern", "seed", "tries", "out"}, {}, error);
    if (!options)
        return UsageError(kName, error);
    const std::string* root = options->Value("root");
    const std::string* style = options->Value("style");
    const std::string* out = options->Value("out");
    if (!root || root->empty() || !style || style->empty() || !out || out->empty())
        return UsageError(kName, "fill needs --root DIR, --style FILE and --out FILE");
    if (!options->Operands().empty())
        return UsageError(kName, "fill takes no operands");
    long long pattern = 0;
    if (!options->Integer("pattern", pattern, 0, kPatternCount - 1))
        return UsageError(kName, "--pattern must be a block pattern id, 0 to 3");
    long long tries = kWorkerTries;
    if (options->Has("tries") && !options->Integer("tries", tries, 1, kMaxTries))
        return UsageError(kName, "--tries must be a whole number from 1 to 1000");
    long long seed = 0;
    const bool seeded = options->Has("seed");
    if (seeded && !options->Integer("seed", seed, 0, 0xFFFFFFFFLL))
        return UsageError(kName, "--seed must be a whole number from 0 to 4294967295");

    StderrNotifierScope notifier;
    auto dictionary = std::make_unique<Dictionary>();
    if (!LoadDictionaryOrReport(*dictionary, *root, kName))
        return 1;
    const auto [folder, fileName] = StyleFileLocation(*root, *style);
    Style loaded(*dictionary);
    if (!loaded.LoadFile(folder, fileName)) {
        std::fprintf(stderr, "pelorin-tool: %s: the style %s did not load\n", kName, style->c_str());
        return 1;
    }

    // The game seeds the generator with the time; a given seed replaces that, so
    // the same seed and style give the same grid on every machine.
    auto game = std::make_unique<Game>();
    if (seeded)
        SeedRandom(static_cast<uint32_t>(seed));
    const std::atomic<bool> keepRunning{true};
    const auto started = std::chrono::steady_clock::now();
    bool filled = false;
    long long triesUsed = 0;
    long long passes = 0;
    while (!filled && triesUsed < tries) {
        FillStats stats;
        filled = FillGame(*game, loaded, static_cast<int32_t>(pattern), keepRunning, &stats);
        ++triesUsed;
        passes += stats.passes;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("%s: pattern %lld, %s, tries %lld, passes %lld, time %.3f s\n", filled ? "filled" : "not filled",
                pattern, loaded.FileName().c_str(), triesUsed, passes, seconds);
    if (!filled)
        return 1;
    if (!SaveGame(*out, *game))
        return 1;
    std::printf("saved %s\n", out->c_str());
    return std::fflush(stdout) == 0 ? 0 : 1;
}

const Command command(kName, "--root DIR --style FILE --pattern N [--seed S] [--tries 4] --out FILE", Run);

} // namespace
} // namespace pelorin::tool
