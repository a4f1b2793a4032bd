#include "lexicon/PatternIndex.h"

#include "foundation/TextUtil.h"
#include "lexicon/Dictionary.h"

#include <algorithm>
#include <string>

namespace pelorin {

namespace {

// Packs the first 8 bytes of a text into an integer, first byte highest and zero
// bytes after the end, so that integer order is the texts' unsigned byte order as
// far as those bytes go.
uint64_t Pack(std::string_view text)
{
    uint64_t key = 0;
    for (size_t i = 0; i < sizeof key; ++i) {
        key <<= 8;
        if (i < text.size())
            key |= static_cast<uint8_t>(text[i]);
    }
    return key;
}

uint64_t ByteMask(size_t position)
{
    return uint64_t{0xFF} << (8 * (sizeof(uint64_t) - 1 - position));
}

} // namespace

PatternIndex::PatternIndex(const Dictionary& dictionary, std::span<const int32_t> words)
    : dictionary_(&dictionary), words_(words.begin(), words.end())
{
    keys_.reserve(words.size());
    lengths_.reserve(words.size());
    for (size_t i = 0; i < words.size(); ++i) {
        const WordRecord& record = dictionary.Record(words[i]);
        const std::string& text = record.text;
        keys_.push_back(Pack(text));
        lengths_.push_back(static_cast<uint8_t>(std::min<size_t>(text.size(), kKeyBytes + 1)));
        // A record whose text is shorter than its length field (a damaged
        // dictionary) fits no pattern rather than being read past its end.
        if (record.length < 0 || record.length > kMaxPatternLength ||
            text.size() < static_cast<size_t>(record.length))
            continue;
        Bucket& bucket = buckets_[static_cast<size_t>(record.length)];
        bucket.positions.push_back(static_cast<int32_t>(i));
        bucket.keys.push_back(keys_.back());
        bucket.words.push_back(words[i]);
    }
}

int PatternIndex::Compare(std::string_view probe, uint64_t probeKey, int32_t position) const
{
    // Only ContainsWord makes longer probes, and never for the filler's entries.
    if (probe.size() > kKeyBytes)
        return probe.compare(dictionary_->Record(words_[static_cast<size_t>(position)]).text);
    const uint64_t key = keys_[static_cast<size_t>(position)];
    if (probeKey != key)
        return probeKey < key ? -1 : 1;
    // The padded first 8 bytes agree, so the shorter text is a prefix of the
    // other (also when either holds zero bytes) and the lengths decide.
    const size_t length = lengths_[static_cast<size_t>(position)];
    if (length == probe.size())
        return 0;
    return length > probe.size() ? -1 : 1;
}

int32_t PatternIndex::ProbePosition(std::string_view probe, bool& exact) const
{
    exact = false;
    const int32_t n = WordCount();
    if (n == 0)
        return -1;
    const uint64_t probeKey = Pack(probe);
    const int lastOrder = Compare(probe, probeKey, n - 1);
    if (lastOrder > 0)
        return -1;
    if (lastOrder == 0) {
        exact = true;
        return n - 1;
    }
    const int firstOrder = Compare(probe, probeKey, 0);
    if (firstOrder <= 0) {
        exact = firstOrder == 0;
        return 0;
    }
    int32_t lo = 0;
    int32_t hi = n - 1;
    while (hi - lo >= 2) {
        const int32_t mid = (lo + hi) / 2;
        const int order = Compare(probe, probeKey, mid);
        if (order == 0) {
            exact = true;
            return mid;
        }
        if (order > 0)
            lo = mid;
        else
            hi = mid;
    }
    return hi;
}

bool PatternIndex::ScanRange(std::string_view pattern, int32_t& begin, int32_t& end, uint64_t& mask,
                             uint64_t& key) const
{
    if (pattern.size() > static_cast<size_t>(kMaxPatternLength) || WordCount() == 0)
        return false;
    // Only words of the pattern's length can fit; without any, the probes are wasted.
    const std::vector<int32_t>& positions = buckets_[pattern.size()].positions;
    if (positions.empty())
        return false;
    char low[kMaxPatternLength];
    char high[kMaxPatternLength];
    mask = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const bool open = pattern[i] == ' ';
        low[i] = open ? 'A' : pattern[i];
        high[i] = open ? 'Z' : pattern[i];
        if (!open)
            mask |= ByteMask(i);
    }
    const std::string_view lowProbe(low, pattern.size());
    const std::string_view highProbe(high, pattern.size());
    key = Pack(lowProbe) & mask;
    bool exact = false;
    const int32_t lowPosition = ProbePosition(lowProbe, exact);
    const int32_t highPosition = ProbePosition(highProbe, exact);
    // The scan starts one before the low probe's place, and runs to the end of
    // the list when the high probe is above the last word.
    const int32_t first = lowPosition < 0 ? 0 : std::max(lowPosition - 1, 0);
    const int32_t last = highPosition < 0 ? WordCount() - 1 : highPosition;

    begin = static_cast<int32_t>(std::lower_bound(positions.begin(), positions.end(), first) - positions.begin());
    end = static_cast<int32_t>(std::upper_bound(positions.begin(), positions.end(), last) - positions.begin());
    return begin < end;
}

int32_t PatternIndex::CountPattern(std::string_view pattern) const
{
    int32_t begin = 0;
    int32_t end = 0;
    uint64_t mask = 0;
    uint64_t key = 0;
    if (!ScanRange(pattern, begin, end, mask, key))
        return 0;
    const uint64_t* keys = buckets_[pattern.size()].keys.data();
    int32_t count = 0;
    for (int32_t j = begin; j < end; ++j)
        count += (keys[j] & mask) == key ? 1 : 0;
    return count;
}

void PatternIndex::MatchPatternInto(std::string_view pattern, std::vector<int32_t>& target) const
{
    target.clear();
    int32_t begin = 0;
    int32_t end = 0;
    uint64_t mask = 0;
    uint64_t key = 0;
    if (!ScanRange(pattern, begin, end, mask, key))
        return;
    const Bucket& bucket = buckets_[pattern.size()];
    for (int32_t j = begin; j < end; ++j)
        if ((bucket.keys[static_cast<size_t>(j)] & mask) == key)
            target.push_back(bucket.words[static_cast<size_t>(j)]);
}

bool PatternIndex::ContainsWord(std::string_view text) const
{
    bool exact = false;
    if (text.size() <= kKeyBytes) {
        char probe[kKeyBytes];
        for (size_t i = 0; i < text.size(); ++i)
            probe[i] = ToUpperAscii(text[i]);
        ProbePosition(std::string_view(probe, text.size()), exact);
        return exact;
    }
    ProbePosition(ToUpperAscii(text), exact);
    return exact;
}

} // namespace pelorin
