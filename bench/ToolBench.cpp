// What people who make puzzles in batches wait for: the whole of a pelorin-tool
// batch, from the start of the command to its last game file.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr int kGames = 200;

void BM_FillBatch(benchmark::State& state)
{
    const fs::path root(PELORIN_DATA_ROOT);
    if (!fs::exists(root / "Zanth.dct") || !fs::exists(root / "Styles/Quotations.zas")) {
        state.SkipWithError("the data root lacks Zanth.dct or Quotations.zas; run `make data` first");
        return;
    }
    std::string folder = (fs::temp_directory_path() / "pelorin-batch-XXXXXX").string();
    if (!mkdtemp(folder.data())) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const std::string command = std::string(PELORIN_TOOL) + " fill --root " + root.string() +
                                " --style Quotations.zas --pattern 1 --seed 1 --count " + std::to_string(kGames) +
                                " --out " + folder + " > /dev/null 2>&1";
    double seconds = 0;
    for (auto _ : state) {
        const auto started = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("the batch failed");
            break;
        }
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    }
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    state.SetLabel("Quotations.zas pattern 1, " + std::to_string(kGames) + " games");
    if (seconds > 0)
        state.counters["games_per_s"] = static_cast<double>(kGames * state.iterations()) / seconds;
}
BENCHMARK(BM_FillBatch)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace
