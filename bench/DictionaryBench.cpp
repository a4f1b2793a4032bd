// Timings of the dictionary: the start-up load of the full file and the lookups
// that book scanning and the clue choice make.
#include "lexicon/Dictionary.h"

#include "foundation/TextUtil.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using pelorin::Dictionary;

const std::string& DictionaryPath()
{
    static const std::string path = pelorin::JoinPath(PELORIN_DATA_ROOT, Dictionary::kFileName);
    return path;
}

void BM_DictionaryLoad(benchmark::State& state)
{
    if (!pelorin::FileExists(DictionaryPath())) {
        state.SkipWithError("no dictionary in the data root; run make data");
        return;
    }
    for (auto _ : state) {
        // Only the load is timed: the table's allocation and the records' release
        // belong to start-up and exit, not to reading the file.
        state.PauseTiming();
        auto dictionary = std::make_unique<Dictionary>();
        state.ResumeTiming();
        if (!dictionary->LoadFile(DictionaryPath())) {
            state.SkipWithError("the dictionary did not load");
            return;
        }
        state.PauseTiming();
        dictionary.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DictionaryLoad)->Unit(benchmark::kMillisecond);

void BM_DictionaryFind(benchmark::State& state)
{
    static std::unique_ptr<Dictionary> dictionary;
    if (!dictionary) {
        dictionary = std::make_unique<Dictionary>();
        if (!pelorin::FileExists(DictionaryPath()) || !dictionary->LoadFile(DictionaryPath())) {
            dictionary.reset();
            state.SkipWithError("no dictionary in the data root; run make data");
            return;
        }
    }
    // Words spread over the whole table in lower case, as books give them, and as
    // many that are missing (a letter appended), as book scanning meets.
    std::vector<std::string> words;
    const int32_t count = dictionary->Count();
    for (int32_t i = 0; i < count; i += std::max(1, count / 5000)) {
        std::string word(dictionary->Record(i).text);
        for (char& c : word)
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        words.push_back(word);
        words.push_back(word + "q");
    }
    for (auto _ : state) {
        int32_t found = 0;
        for (const std::string& word : words)
            found += dictionary->Find(word) >= 0;
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(words.size()));
}
BENCHMARK(BM_DictionaryFind)->Unit(benchmark::kMicrosecond);

} // namespace
