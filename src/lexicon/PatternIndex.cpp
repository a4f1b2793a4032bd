#include "lexicon/PatternIndex.h"

#include "foundation/TextUtil.h"
#include "lexicon/Dictionary.h"
#include "lexicon/Style.h"

#include <algorithm>

namespace pelorin {

namespace {

// Packs the first 8 bytes of a text into an integer, first byte highest and zero
// bytes after the end, so that integer order is the texts' unsigned byte order as
// far as those bytes go.
uint64_t Pack(std::string_view text)
{
    uint64_t key = 0;
    for (size_t i = 0; i < 8; ++i) {
        key <<= 8;
        if (i < text.size())
            key |= static_cast<uint8_t>(text[i]);
    }
    return key;
}

uint64_t ByteMask(size_t position)
{
    return uint64_t{0xFF} << (8 * (7 - position));
}

} // namespace

PatternIndex::PatternIndex(const Style& style) : style_(&style)
{
    const Dictionary& dictionary = style.Lexicon();
    const std::vector<int32_t>& words = style.Words().Words();
    keys_.reserve(words.size());
    lengths_.reserve(words.size());
    for (size_t i = 0; i < words.size(); ++i) {
        const WordRecord& record = dictionary.Record(words[i]);
        const std::string& text = record.text;
        // Packing stands for the byte comparison only while a text has no zero
        // byte; a list with one is left to the style's own query.
        if (text.find('\0') != std::string::npos)
            fallback_ = true;
        keys_.push_back(Pack(text));
        lengths_.push_back(static_cast<uint8_t>(std::min<size_t>(text.size(), kMaxLength + 1)));
        if (record.length < 0 || record.length > kMaxLength || text.size() < static_cast<size_t>(record.length))
            continue;
        Bucket& bucket = buckets_[static_cast<size_t>(record.length)];
        bucket.positions.push_back(static_cast<int32_t>(i));
        bucket.keys.push_back(keys_.back());
        bucket.words.push_back(words[i]);
    }
}

int PatternIndex::Compare(uint64_t probeKey, int probeLength, int32_t position) const
{
    const uint64_t key = keys_[static_cast<size_t>(position)];
    if (probeKey != key)
        return probeKey < key ? -1 : 1;
    // Equal packed bytes without zero bytes: the probe is the text or a prefix of it.
    return lengths_[static_cast<size_t>(position)] > probeLength ? -1 : 0;
}

int32_t PatternIndex::ProbePosition(uint64_t probeKey, int probeLength, bool& exact) const
{
    exact = false;
    const int32_t n = WordCount();
    if (n == 0)
        return -1;
    const int lastOrder = Compare(probeKey, probeLength, n - 1);
    if (lastOrder > 0)
        return -1;
    if (lastOrder == 0) {
        exact = true;
        return n - 1;
    }
    const int firstOrder = Compare(probeKey, probeLength, 0);
    if (firstOrder <= 0) {
        exact = firstOrder == 0;
        return 0;
    }
    int32_t lo = 0;
    int32_t hi = n - 1;
    while (hi - lo >= 2) {
        const int32_t mid = (lo + hi) / 2;
        const int order = Compare(probeKey, probeLength, mid);
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
    if (pattern.size() > static_cast<size_t>(kMaxLength) || WordCount() == 0)
        return false;
    char low[kMaxLength];
    char high[kMaxLength];
    mask = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const bool open = pattern[i] == ' ';
        low[i] = open ? 'A' : pattern[i];
        high[i] = open ? 'Z' : pattern[i];
        if (!open)
            mask |= ByteMask(i);
    }
    const int length = static_cast<int>(pattern.size());
    const std::string_view lowProbe(low, pattern.size());
    const std::string_view highProbe(high, pattern.size());
    key = Pack(lowProbe) & mask;
    bool exact = false;
    const int32_t lowPosition = ProbePosition(Pack(lowProbe), length, exact);
    const int32_t highPosition = ProbePosition(Pack(highProbe), length, exact);
    const int32_t first = lowPosition < 0 ? 0 : std::max(lowPosition - 1, 0);
    const int32_t last = highPosition < 0 ? WordCount() - 1 : highPosition;

    const std::vector<int32_t>& positions = buckets_[pattern.size()].positions;
    begin = static_cast<int32_t>(std::lower_bound(positions.begin(), positions.end(), first) - positions.begin());
    end = static_cast<int32_t>(std::upper_bound(positions.begin(), positions.end(), last) - positions.begin());
    return begin < end;
}

int32_t PatternIndex::CountPattern(std::string_view pattern) const
{
    if (fallback_ || pattern.find('\0') != std::string_view::npos)
        return style_->CountPattern(pattern);
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
    if (fallback_ || pattern.find('\0') != std::string_view::npos) {
        style_->MatchPatternInto(pattern, target);
        return;
    }
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
    if (fallback_ || text.size() > static_cast<size_t>(kMaxLength) || text.find('\0') != std::string_view::npos)
        return style_->ContainsWord(text);
    char probe[kMaxLength];
    for (size_t i = 0; i < text.size(); ++i)
        probe[i] = ToUpperAscii(text[i]);
    bool exact = false;
    ProbePosition(Pack(std::string_view(probe, text.size())), static_cast<int>(text.size()), exact);
    return exact;
}

} // namespace pelorin
