// Timings of the grid filler on the default styles: single fills, one round of a
// preparation worker's tries per game (how often a style fills a pattern at all),
// and the pattern queries that dominate a pass.
//
// The data root is the build's, or the folder named by PELORIN_DATA_ROOT in the
// environment; PELORIN_FILL_SEEDS sets how many seeds the fill benchmarks run
// (default 40). Seeds run from 1 upwards, so runs are comparable.
#include "app/WorkerSlot.h"
#include "foundation/TextUtil.h"
#include "game/ClueChoice.h"
#include "game/Game.h"
#include "game/GridFiller.h"
#include "game/Random.h"
#include "lexicon/Dictionary.h"
#include "lexicon/Style.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace pelorin;

constexpr const char* kStyleFiles[] = {"Scripture.zas", "Quotations.zas"};

std::string DataRoot()
{
    const char* root = std::getenv("PELORIN_DATA_ROOT");
    return root && *root ? root : PELORIN_DATA_ROOT;
}

int64_t SeedCount()
{
    const char* seeds = std::getenv("PELORIN_FILL_SEEDS");
    const long long count = seeds ? std::atoll(seeds) : 0;
    return count > 0 ? count : 40;
}

// The dictionary and the default styles, loaded once for all benchmarks.
struct Data {
    std::unique_ptr<Dictionary> dictionary = std::make_unique<Dictionary>();
    std::vector<std::unique_ptr<Style>> styles;
    bool ok = false;
};

const Data& LoadData()
{
    static const std::unique_ptr<Data> data = [] {
        auto loaded = std::make_unique<Data>();
        const std::string root = DataRoot();
        if (!loaded->dictionary->Load(root))
            return loaded;
        for (const char* file : kStyleFiles) {
            auto style = std::make_unique<Style>(*loaded->dictionary);
            if (!style->LoadFile(JoinPath(root, "Styles"), file))
                return loaded;
            loaded->styles.push_back(std::move(style));
        }
        loaded->ok = true;
        return loaded;
    }();
    return *data;
}

const Style* StyleOrSkip(benchmark::State& state)
{
    const Data& data = LoadData();
    if (!data.ok) {
        state.SkipWithError("no dictionary or default styles in the data root; run make data");
        return nullptr;
    }
    return data.styles[static_cast<size_t>(state.range(0))].get();
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void NameByStyle(benchmark::State& state)
{
    state.SetLabel(std::string(kStyleFiles[state.range(0)]) + " pattern " + std::to_string(state.range(1)));
}

// What one seed's game took beyond its time: whether it filled and the work
// counted for it (filler passes or tries).
struct SeedRun {
    bool filled = false;
    int64_t work = 0;
};

// Runs `fillOne(game, style, pattern, keepRunning)` once per seed, each on a fresh
// game, and reports the share of seeds filled, the mean work per seed under
// `workCounter`, and the median time of all seeds (under `timeCounter`) and of the
// filled ones. Only the fill itself is timed.
template <typename FillOne>
void TimeSeeds(benchmark::State& state, const char* workCounter, const char* timeCounter, FillOne fillOne)
{
    const Style* style = StyleOrSkip(state);
    if (!style)
        return;
    NameByStyle(state);
    const std::atomic<bool> keepRunning{true};
    const auto pattern = static_cast<int32_t>(state.range(1));
    std::vector<double> times;
    std::vector<double> filledTimes;
    int64_t work = 0;
    uint32_t seed = 0;
    for (auto _ : state) {
        Game game;
        SeedRandom(++seed);
        const auto started = std::chrono::steady_clock::now();
        const SeedRun run = fillOne(game, *style, pattern, keepRunning);
        const double seconds = Seconds(started);
        times.push_back(seconds);
        if (run.filled)
            filledTimes.push_back(seconds);
        work += run.work;
    }
    const auto n = static_cast<double>(times.size());
    state.counters["filled_%"] = 100.0 * static_cast<double>(filledTimes.size()) / n;
    state.counters[workCounter] = static_cast<double>(work) / n;
    state.counters[timeCounter] = 1000.0 * Median(times);
    state.counters["median_filled_ms"] = 1000.0 * Median(filledTimes);
}

// One FillGame call per seed: its success rate, passes and times.
void BM_FillGame(benchmark::State& state)
{
    TimeSeeds(state, "passes", "median_call_ms",
              [](Game& game, const Style& style, int32_t pattern, const std::atomic<bool>& keepRunning) {
                  FillStats stats;
                  const bool filled = FillGame(game, style, pattern, keepRunning, &stats);
                  return SeedRun{filled, stats.passes};
              });
}

// One round of a preparation worker's tries per seed: one game, up to kPrepareTries
// fills. A worker makes kPrepareRounds such rounds before it gives up, so the share
// of seeds filled is the share of rounds that deliver a game for the pattern.
void BM_WorkerGame(benchmark::State& state)
{
    TimeSeeds(state, "tries", "median_game_ms",
              [](Game& game, const Style& style, int32_t pattern, const std::atomic<bool>& keepRunning) {
                  SeedRun run;
                  while (run.work < kPrepareTries && !run.filled) {
                      run.filled = FillGame(game, style, pattern, keepRunning);
                      ++run.work;
                  }
                  return run;
              });
}

// The search alone, without the clue choice, over the same seeds: the rate of
// filler passes, which measures the pass itself whatever share of seeds fill. The
// rate is per second of CPU time, so that other work on the machine does not
// count against it.
void BM_FillerPasses(benchmark::State& state)
{
    const Style* style = StyleOrSkip(state);
    if (!style)
        return;
    NameByStyle(state);
    const std::atomic<bool> keepRunning{true};
    int64_t passes = 0;
    uint32_t seed = 0;
    std::unique_ptr<Game> game;
    for (auto _ : state) {
        // Making and releasing the game is not part of the search.
        state.PauseTiming();
        game = std::make_unique<Game>();
        SeedRandom(++seed);
        GridFiller filler(*game, *style);
        state.ResumeTiming();
        filler.Search(static_cast<int32_t>(state.range(1)), keepRunning);
        passes += filler.Stats().passes;
    }
    state.counters["passes"] = static_cast<double>(passes) / static_cast<double>(state.iterations());
    state.counters["passes_per_s"] = benchmark::Counter(static_cast<double>(passes), benchmark::Counter::kIsRate);
}

void FillArguments(benchmark::internal::Benchmark* benchmark)
{
    for (int64_t style = 0; style < 2; ++style)
        for (int64_t pattern = 0; pattern < 4; ++pattern)
            benchmark->Args({style, pattern});
    // Every iteration is another seed and the counters are medians over the seeds,
    // so a repetition would only run the same seeds again.
    benchmark->Iterations(SeedCount())->Repetitions(1)->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_FillGame)->Apply(FillArguments);
BENCHMARK(BM_WorkerGame)->Apply(FillArguments);
BENCHMARK(BM_FillerPasses)->Apply(FillArguments);

// The clue choice of one filled game, the part of a successful fill that does
// not depend on the search; the style's quotation index is made by then.
void BM_ChooseClues(benchmark::State& state)
{
    const Style* style = StyleOrSkip(state);
    if (!style)
        return;
    NameByStyle(state);
    const std::atomic<bool> keepRunning{true};
    Game game;
    bool filled = false;
    for (uint32_t seed = 1; seed < 100 && !filled; ++seed) {
        SeedRandom(seed);
        filled = FillGame(game, *style, static_cast<int32_t>(state.range(1)), keepRunning);
    }
    if (!filled) {
        state.SkipWithError("no seed filled the pattern");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        for (ItemList<Entry>* list : {&game.Across(), &game.Down()}) {
            for (Entry* entry : *list) {
                entry->quotes.Clear();
                entry->definitions.Clear();
            }
        }
        state.ResumeTiming();
        ChooseClues(game, *style, keepRunning);
    }
}
BENCHMARK(BM_ChooseClues)->Args({0, 0})->Args({1, 0})->Unit(benchmark::kMillisecond);

// The index of a style's sentences by word, which the first game of a style makes
// for the clue choice and all later games share.
void BM_QuotationIndex(benchmark::State& state)
{
    const Style* style = StyleOrSkip(state);
    if (!style)
        return;
    state.SetLabel(kStyleFiles[state.range(0)]);
    for (auto _ : state) {
        const QuotationIndex index(style->Books());
        benchmark::DoNotOptimize(index.WordCount());
    }
}
BENCHMARK(BM_QuotationIndex)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Patterns as the filler asks them: words of the style of 4 to 8 letters with
// some letters opened, and the first letter open in half of them (the costly
// case for a sorted list, whose probes then span every word).
std::vector<std::string> FillerPatterns(const Style& style)
{
    std::vector<std::string> patterns;
    uint32_t bits = 12345;
    const WordList& words = style.Words();
    for (int32_t i = 0; i < words.Count() && patterns.size() < 4000; i += 3) {
        std::string text(style.Lexicon().Record(words[i]).text);
        if (text.size() < 4 || text.size() > 8)
            continue;
        for (char& c : text) {
            bits = bits * 1103515245u + 12345u;
            if ((bits >> 16) % 3 == 0)
                c = ' ';
        }
        if (patterns.size() % 2 == 0)
            text[0] = ' ';
        patterns.push_back(text);
    }
    return patterns;
}

// The three forms of the query: a new list per call, and the buffer and count
// forms that the filler uses for placing and repairing.
enum class Query { List, Buffer, Count };

template <Query kind>
void BM_Pattern(benchmark::State& state)
{
    const Style* style = StyleOrSkip(state);
    if (!style)
        return;
    state.SetLabel(kStyleFiles[state.range(0)]);
    const std::vector<std::string> patterns = FillerPatterns(*style);
    std::vector<int32_t> buffer;
    for (auto _ : state) {
        int64_t found = 0;
        for (const std::string& pattern : patterns) {
            if constexpr (kind == Query::List) {
                found += style->MatchPattern(pattern).Count();
            } else if constexpr (kind == Query::Buffer) {
                style->MatchPatternInto(pattern, buffer);
                found += static_cast<int64_t>(buffer.size());
            } else {
                found += style->CountPattern(pattern);
            }
        }
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(patterns.size()));
}
BENCHMARK(BM_Pattern<Query::List>)->Name("BM_MatchPattern")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Pattern<Query::Buffer>)->Name("BM_MatchPatternInto")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Pattern<Query::Count>)->Name("BM_CountPattern")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
