// Timings of styles: building the Scripture style from its books, as make-style
// and the data step do and as the style editor does on a thread of its own, and
// the pattern query that the filler makes thousands of times per game.
#include "lexicon/Dictionary.h"
#include "lexicon/Style.h"
#include "lexicon/StyleBuilder.h"

#include "foundation/TextUtil.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using pelorin::Dictionary;
using pelorin::Style;

// The dictionary of the data root, loaded once; null when there is none.
const Dictionary* DataDictionary()
{
    static const std::unique_ptr<Dictionary> dictionary = [] {
        auto loaded = std::make_unique<Dictionary>();
        const std::string path = pelorin::JoinPath(PELORIN_DATA_ROOT, Dictionary::kFileName);
        if (!pelorin::FileExists(path) || !loaded->LoadFile(path))
            loaded.reset();
        return loaded;
    }();
    return dictionary.get();
}

// Scripture's books as the data step chooses them: the Bible's books in canonical
// order, then the Tao, the wisdom, the literature and the platitudes collections.
const std::vector<std::string>& ScriptureBooks()
{
    static const std::vector<std::string> books = [] {
        std::vector<std::string> paths;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(PELORIN_DATA_ROOT "/Books", error)) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with("Bible-") && name.ends_with(".txt"))
                paths.push_back(entry.path().string());
        }
        if (paths.empty())
            return paths;
        std::sort(paths.begin(), paths.end());
        for (const char* name : {"Fortunes-tao.txt", "Fortunes-wisdom.txt", "Fortunes-literature.txt",
                                 "Fortunes-platitudes.txt"})
            paths.push_back(PELORIN_DATA_ROOT "/Books/" + std::string(name));
        return paths;
    }();
    return books;
}

std::unique_ptr<Style> BuildScripture(const Dictionary& dictionary)
{
    return pelorin::BuildStyle(dictionary, "Scripture", ScriptureBooks()).style;
}

// As the style editor builds: on a thread started for the build, reporting each
// book to the window (here: a copy of its path under a lock) and looking at a
// cancel flag, then joined.
std::unique_ptr<Style> BuildScriptureOnAThread(const Dictionary& dictionary)
{
    std::mutex mutex;
    std::string shown;
    int32_t done = 0;
    std::atomic<bool> cancel{false};
    pelorin::StyleBuildResult built;
    std::thread builder([&] {
        built = pelorin::BuildStyle(
            dictionary, "Scripture", ScriptureBooks(),
            [&](const pelorin::StyleBuildProgress& step) {
                const std::lock_guard lock(mutex);
                shown.assign(step.book);
                done = step.booksDone;
            },
            &cancel);
    });
    builder.join();
    benchmark::DoNotOptimize(done);
    return std::move(built.style);
}

bool HaveScriptureData(benchmark::State& state)
{
    if (!DataDictionary()) {
        state.SkipWithError("no dictionary in the data root; run make data");
        return false;
    }
    if (ScriptureBooks().empty()) {
        state.SkipWithError("no Bible books in the data root's Books folder; run make data");
        return false;
    }
    return true;
}

template <std::unique_ptr<Style> (*Build)(const Dictionary&)>
void BM_StyleBuild(benchmark::State& state)
{
    if (!HaveScriptureData(state))
        return;
    int64_t bytes = 0;
    for (const std::string& book : ScriptureBooks()) {
        std::error_code error;
        bytes += static_cast<int64_t>(std::filesystem::file_size(book, error));
    }
    for (auto _ : state) {
        auto style = Build(*DataDictionary());
        benchmark::DoNotOptimize(style->Words().Count());
        // Releasing the style is not part of building it.
        state.PauseTiming();
        style.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}
// Wall time: the editor's build runs on another thread than the benchmark's.
BENCHMARK(BM_StyleBuild<BuildScripture>)
    ->Name("BM_StyleBuildScripture")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_StyleBuild<BuildScriptureOnAThread>)
    ->Name("BM_StyleBuildScriptureOnAThread")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Patterns as the filler makes them: entries of 3 to 8 cells, some letters known
// and the rest open, taken from the style's own words so that most have answers.
std::vector<std::string> FillerPatterns(const Style& style, const Dictionary& dictionary)
{
    std::mt19937 random(2024);
    std::vector<std::string> patterns;
    const auto& words = style.Words().Words();
    while (patterns.size() < 4000 && !words.empty()) {
        std::string text(dictionary.Record(words[random() % words.size()]).text);
        if (text.size() < 3 || text.size() > static_cast<size_t>(Style::kMaxPatternLength))
            continue;
        for (char& c : text)
            if (random() % 3 != 0)
                c = ' ';
        patterns.push_back(text);
    }
    return patterns;
}

void BM_StyleMatchPattern(benchmark::State& state)
{
    if (!HaveScriptureData(state))
        return;
    static const std::unique_ptr<Style> style = BuildScripture(*DataDictionary());
    const std::vector<std::string> patterns = FillerPatterns(*style, *DataDictionary());
    int64_t found = 0;
    size_t next = 0;
    for (auto _ : state) {
        const pelorin::WordList matches = style->MatchPattern(patterns[next]);
        found += matches.Count();
        benchmark::DoNotOptimize(matches.Words().data());
        next = next + 1 == patterns.size() ? 0 : next + 1;
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["words/call"] =
        benchmark::Counter(static_cast<double>(found) / static_cast<double>(std::max<int64_t>(state.iterations(), 1)));
}
BENCHMARK(BM_StyleMatchPattern);

} // namespace
