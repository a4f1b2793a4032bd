// The allocation-free forms of the style's pattern query. They walk the word list
// exactly as MatchPattern does (the same probes, the same bisection, the same
// scan range and test), so that they give its results and nothing else.
#include "lexicon/Dictionary.h"
#include "lexicon/Style.h"

#include <algorithm>
#include <cstring>

namespace pelorin {

namespace {

// The position of a probe in the word list by the bisection that MatchPattern uses;
// -1 when the list is empty or the probe is above its last word.
int32_t ProbePosition(const Dictionary& dictionary, const std::vector<int32_t>& words, std::string_view probe)
{
    const int32_t n = static_cast<int32_t>(words.size());
    if (n == 0)
        return -1;
    auto compare = [&](int32_t position) {
        return probe.compare(dictionary.Record(words[static_cast<size_t>(position)]).text);
    };
    const int lastOrder = compare(n - 1);
    if (lastOrder > 0)
        return -1;
    if (lastOrder == 0)
        return n - 1;
    if (compare(0) <= 0)
        return 0;
    int32_t lo = 0;
    int32_t hi = n - 1;
    while (hi - lo >= 2) {
        const int32_t mid = (lo + hi) / 2;
        const int order = compare(mid);
        if (order == 0)
            return mid;
        if (order > 0)
            lo = mid;
        else
            hi = mid;
    }
    return hi;
}

} // namespace

template <typename Visit>
void Style::ForEachFit(std::string_view pattern, Visit&& visit) const
{
    if (pattern.size() > static_cast<size_t>(kMaxPatternLength))
        return;
    char low[kMaxPatternLength];
    char high[kMaxPatternLength];
    char maskBytes[sizeof(uint64_t)] = {};
    char valueBytes[sizeof(uint64_t)] = {};
    for (size_t i = 0; i < pattern.size(); ++i) {
        const bool open = pattern[i] == ' ';
        low[i] = open ? 'A' : pattern[i];
        high[i] = open ? 'Z' : pattern[i];
        if (!open) {
            maskBytes[i] = static_cast<char>(0xFF);
            valueBytes[i] = pattern[i];
        }
    }
    const std::vector<int32_t>& words = words_.Words();
    const int32_t lowPosition = ProbePosition(*dictionary_, words, std::string_view(low, pattern.size()));
    const int32_t highPosition = ProbePosition(*dictionary_, words, std::string_view(high, pattern.size()));
    const int32_t first = lowPosition < 0 ? 0 : std::max(lowPosition - 1, 0);
    const int32_t last = highPosition < 0 ? static_cast<int32_t>(words.size()) - 1 : highPosition;

    // The same packed table and masked test as MatchPattern's scan.
    uint64_t letterMask = 0;
    uint64_t letterValues = 0;
    std::memcpy(&letterMask, maskBytes, sizeof letterMask);
    std::memcpy(&letterValues, valueBytes, sizeof letterValues);
    const int32_t patternLength = static_cast<int32_t>(pattern.size());
    for (int32_t i = first; i <= last; ++i) {
        const ScanWord& word = scanWords_[static_cast<size_t>(i)];
        if (word.length == patternLength && (word.letters & letterMask) == letterValues)
            visit(words[static_cast<size_t>(i)]);
    }
}

int32_t Style::CountPattern(std::string_view pattern) const
{
    int32_t count = 0;
    ForEachFit(pattern, [&](int32_t) { ++count; });
    return count;
}

void Style::MatchPatternInto(std::string_view pattern, std::vector<int32_t>& target) const
{
    target.clear();
    ForEachFit(pattern, [&](int32_t wordIndex) { target.push_back(wordIndex); });
}

} // namespace pelorin
