// Timings of the game file: saving and reopening a filled pattern-0 game, as the
// preparation workers and the play window's Save and Open do.
#include "game/BlockPatterns.h"
#include "game/Game.h"
#include "game/GameFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

using namespace pelorin;

// A pattern-0 game with letters in every open cell and a few hints per entry,
// the size of a prepared game; no filler needed.
std::unique_ptr<Game> FilledGame()
{
    auto game = std::make_unique<Game>();
    ResetGame(*game);
    ApplyPattern(*game, 0);
    for (int face = 0; face < kFaces; ++face)
        BuildEntries(*game, face);
    for (int i = 0; i < kCellCount; ++i) {
        if (game->At(i).letter != kBlock)
            SetLetter(game->At(i), static_cast<uint8_t>(i % 26 + 1), true);
    }
    for (auto* list : {&game->Across(), &game->Down()}) {
        for (Entry* entry : *list) {
            EntryText(*entry);
            for (int q = 0; q < 11; ++q) {
                auto quote = std::make_unique<Quote>();
                quote->key = q;
                quote->length = 80 + q;
                quote->text = std::string(static_cast<size_t>(80 + q), 'q');
                entry->quotes.Add(std::move(quote));
            }
            for (int d = 0; d < 4; ++d) {
                auto definition = std::make_unique<Definition>();
                definition->rank = d;
                definition->text = "A definition of moderate length, as the dictionary gives them";
                entry->definitions.Add(std::move(definition));
            }
        }
    }
    return game;
}

std::string BenchPath(const char* name)
{
    return (std::filesystem::temp_directory_path() / (std::string(name) + "-" + std::to_string(getpid()) + ".zag"))
        .string();
}

void BM_SaveGame(benchmark::State& state)
{
    auto game = FilledGame();
    const std::string path = BenchPath("pelorin-bench-save");
    for (auto _ : state)
        benchmark::DoNotOptimize(SaveGame(path, *game));
    std::remove(path.c_str());
}
BENCHMARK(BM_SaveGame)->Unit(benchmark::kMicrosecond);

void BM_OpenGame(benchmark::State& state)
{
    auto game = FilledGame();
    const std::string path = BenchPath("pelorin-bench-open");
    if (!SaveGame(path, *game)) {
        state.SkipWithError("cannot save the game to open");
        return;
    }
    auto target = std::make_unique<Game>();
    for (auto _ : state)
        benchmark::DoNotOptimize(OpenGame(path, *target));
    std::remove(path.c_str());
}
BENCHMARK(BM_OpenGame)->Unit(benchmark::kMicrosecond);

void BM_SaveOpenRoundTrip(benchmark::State& state)
{
    auto game = FilledGame();
    auto target = std::make_unique<Game>();
    const std::string path = BenchPath("pelorin-bench-trip");
    for (auto _ : state) {
        benchmark::DoNotOptimize(SaveGame(path, *game));
        benchmark::DoNotOptimize(OpenGame(path, *target));
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_SaveOpenRoundTrip)->Unit(benchmark::kMicrosecond);

} // namespace
