// What the player waits for at start-up and, on a fresh installation, before the
// first new game: the start-up load, and the preparation of every cached game.
#include "app/AppData.h"
#include "lexicon/Dictionary.h"
#include "lexicon/Style.h"
#include "lexicon/StyleList.h"

#include <QSettings>
#include <QString>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <thread>

namespace pelorin {
namespace {

namespace fs = std::filesystem;

// A copy of the data root's dictionary and styles in a temporary folder, so that
// the benchmark neither fills nor empties the real cache, and a settings folder
// of its own, so that it leaves the user's settings alone.
class BenchRoot {
public:
    BenchRoot()
    {
        std::string pattern = (fs::temp_directory_path() / "pelorin-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            return;
        path_ = pattern;
        const fs::path source(PELORIN_DATA_ROOT);
        std::error_code error;
        if (!fs::exists(source / Dictionary::kFileName) || !HasStyles(source / "Styles"))
            return;
        fs::copy_file(source / Dictionary::kFileName, path_ / Dictionary::kFileName, error);
        fs::create_directory(path_ / "Styles", error);
        for (const auto& entry : fs::directory_iterator(source / "Styles", error))
            if (entry.path().extension() == Style::kExtension)
                fs::copy_file(entry.path(), path_ / "Styles" / entry.path().filename(), error);
        fs::create_directory(path_ / "Cache", error);
        fs::create_directory(path_ / "Settings", error);
        const QString settingsFolder = QString::fromStdString((path_ / "Settings").string());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsFolder);
        ready_ = !error;
    }
    ~BenchRoot()
    {
        std::error_code ignored;
        if (!path_.empty())
            fs::remove_all(path_, ignored);
    }
    BenchRoot(const BenchRoot&) = delete;
    BenchRoot& operator=(const BenchRoot&) = delete;

    bool Ready() const { return ready_; }
    std::string Root() const { return path_.string() + "/"; }
    void EmptyCache() const
    {
        std::error_code ignored;
        for (const auto& entry : fs::directory_iterator(path_ / "Cache", ignored))
            fs::remove(entry.path(), ignored);
    }

private:
    static bool HasStyles(const fs::path& folder)
    {
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(folder, error))
            if (entry.path().extension() == Style::kExtension)
                return true;
        return false;
    }

    fs::path path_;
    bool ready_ = false;
};

constexpr const char* kNoData = "the data root lacks Zanth.dct or styles; run `make data` first";

// True when every cache file is there. A worker that gave up after its tries is
// started again, as the next start-up of the game would.
bool AllCached(AppData& app)
{
    bool all = true;
    for (const Style* style : app.Styles()) {
        for (int32_t patternId = 0; patternId < kPreparedPatterns; ++patternId) {
            if (fs::exists(app.CachePath(*style, patternId)))
                continue;
            all = false;
            if (!app.WorkerRunning(*style, patternId))
                app.StartPreparation(*style);
        }
    }
    return all;
}

// From the start of the program with an empty cache until every style has its
// three games; the fills run on the worker threads, so this is wall-clock time.
void BM_FillEmptyCache(benchmark::State& state)
{
    const BenchRoot root;
    if (!root.Ready()) {
        state.SkipWithError(kNoData);
        return;
    }
    int64_t games = 0;
    std::unique_ptr<AppData> app;
    for (auto _ : state) {
        // Releasing the last run's dictionary and styles is no part of this one.
        // Destruction without ShutDown keeps the user's settings out of it; every
        // worker has ended by then anyway.
        state.PauseTiming();
        app.reset();
        root.EmptyCache();
        state.ResumeTiming();
        app = std::make_unique<AppData>(root.Root());
        app->LoadAtStartup();
        while (!AllCached(*app))
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        games += app->Styles().Count() * kPreparedPatterns;
    }
    state.counters["games"] = benchmark::Counter(static_cast<double>(games), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_FillEmptyCache)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The part of start-up the splash shows: the dictionary, then every style.
void BM_StartUpLoad(benchmark::State& state)
{
    const BenchRoot root;
    if (!root.Ready()) {
        state.SkipWithError(kNoData);
        return;
    }
    for (auto _ : state) {
        auto dictionary = std::make_unique<Dictionary>();
        ItemList<Style> styles(10, ListOrder::Append, true, 10);
        benchmark::DoNotOptimize(dictionary->Load(root.Root()));
        LoadAllStyles(*dictionary, root.Root() + "Styles", styles);
        benchmark::DoNotOptimize(styles.Count());
    }
}
BENCHMARK(BM_StartUpLoad)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace pelorin
