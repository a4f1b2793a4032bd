#include "lexicon/PatternIndex.h"

#include "foundation/TextUtil.h"
#include "lexicon/Dictionary.h"

#include <algorithm>
#include <bit>
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

bool IsLetterText(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return IsUpperLetter(c); });
}

constexpr size_t kBlockBits = 64;

// The bits set in a block. Without a processor flag std::popcount calls a library
// routine; this is the same arithmetic, inline.
int CountBits(uint64_t bits)
{
    bits -= (bits >> 1) & 0x5555555555555555ull;
    bits = (bits & 0x3333333333333333ull) + ((bits >> 2) & 0x3333333333333333ull);
    bits = (bits + (bits >> 4)) & 0x0F0F0F0F0F0F0F0Full;
    return static_cast<int>((bits * 0x0101010101010101ull) >> 56);
}

} // namespace

PatternIndex::PatternIndex(const Dictionary& dictionary, std::span<const int32_t> words)
    : dictionary_(&dictionary), words_(words.begin(), words.end())
{
    keys_.reserve(words.size());
    lengths_.reserve(words.size());
    for (size_t i = 0; i < words.size(); ++i) {
        const DictionaryWord& record = dictionary.Record(words[i]);
        const std::string_view text = record.text;
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
    plain_ = IsPlain();
    if (plain_) {
        BuildLetterSets();
        BuildMembers();
    }
}

bool PatternIndex::IsPlain() const
{
    const std::string_view* previous = nullptr;
    for (int32_t wordIndex : words_) {
        const DictionaryWord& record = dictionary_->Record(wordIndex);
        if (!IsLetterText(record.text) || record.length != static_cast<int32_t>(record.text.size()))
            return false;
        if (previous && *previous >= record.text)
            return false;
        previous = &record.text;
    }
    return true;
}

void PatternIndex::BuildLetterSets()
{
    for (size_t length = 1; length < buckets_.size(); ++length) {
        Bucket& bucket = buckets_[length];
        const size_t count = bucket.keys.size();
        bucket.blocks = (count + kBlockBits - 1) / kBlockBits;
        bucket.letterSets.assign(length * kLetters * bucket.blocks, 0);
        std::array<int32_t, kLetters> initialCounts{};
        for (size_t i = 0; i < count; ++i) {
            const uint64_t key = bucket.keys[i];
            for (size_t p = 0; p < length; ++p) {
                const auto letter = static_cast<size_t>(((key >> (8 * (kKeyBytes - 1 - p))) & 0xFF) - 'A');
                const size_t set = p * kLetters + letter;
                bucket.letterSets[set * bucket.blocks + i / kBlockBits] |= uint64_t{1} << (i % kBlockBits);
                if (p == 0)
                    ++initialCounts[letter];
            }
        }
        // The list is ascending, so the words of one initial follow each other.
        for (size_t c = 0; c < kLetters; ++c)
            bucket.initials[c + 1] = bucket.initials[c] + initialCounts[c];
    }
}

void PatternIndex::BuildMembers()
{
    size_t count = 0;
    for (const Bucket& bucket : buckets_)
        count += bucket.keys.size();
    // At most half full, so that a look-up meets few other words.
    size_t size = 16;
    memberShift_ = 60;
    while (size < 2 * count) {
        size *= 2;
        --memberShift_;
    }
    members_.assign(size, 0);
    for (const Bucket& bucket : buckets_) {
        for (uint64_t key : bucket.keys) {
            size_t place = MemberPlace(key);
            while (members_[place] != 0)
                place = (place + 1) & (members_.size() - 1);
            members_[place] = key;
        }
    }
}

size_t PatternIndex::MemberPlace(uint64_t key) const
{
    // Fibonacci hashing: the top bits of the product spread the letters' bits.
    return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> memberShift_);
}

bool PatternIndex::Select(std::string_view pattern, Selection& selection) const
{
    if (pattern.empty() || pattern.size() > static_cast<size_t>(kMaxPatternLength))
        return false;
    const Bucket& bucket = buckets_[pattern.size()];
    selection.bucket = &bucket;
    selection.begin = 0;
    selection.end = static_cast<int32_t>(bucket.words.size());
    selection.setCount = 0;
    for (size_t p = 0; p < pattern.size(); ++p) {
        const char c = pattern[p];
        if (c == ' ')
            continue;
        // A plain word has only the letters A to Z.
        if (!IsUpperLetter(c))
            return false;
        const auto letter = static_cast<size_t>(c - 'A');
        if (p == 0) {
            selection.begin = bucket.initials[letter];
            selection.end = bucket.initials[letter + 1];
            continue;
        }
        selection.sets[static_cast<size_t>(selection.setCount++)] =
            bucket.letterSets.data() + (p * kLetters + letter) * bucket.blocks;
    }
    return selection.begin < selection.end;
}

template <typename Visit>
void PatternIndex::ForEachBlock(const Selection& selection, Visit&& visit)
{
    const auto first = static_cast<size_t>(selection.begin) / kBlockBits;
    const auto last = static_cast<size_t>(selection.end - 1) / kBlockBits;
    for (size_t block = first; block <= last; ++block) {
        uint64_t bits = ~uint64_t{0};
        for (int32_t s = 0; s < selection.setCount; ++s)
            bits &= selection.sets[static_cast<size_t>(s)][block];
        if (block == first)
            bits &= ~uint64_t{0} << (static_cast<size_t>(selection.begin) % kBlockBits);
        const size_t tail = static_cast<size_t>(selection.end) % kBlockBits;
        if (block == last && tail != 0)
            bits &= (uint64_t{1} << tail) - 1;
        if (!visit(block, bits))
            return;
    }
}

bool PatternIndex::ContainsPlain(std::string_view text) const
{
    // Packed as Pack does, letter by letter; a plain list holds nothing but letters.
    uint64_t key = 0;
    for (char c : text) {
        const char upper = ToUpperAscii(c);
        if (!IsUpperLetter(upper))
            return false;
        key = key << 8 | static_cast<uint8_t>(upper);
    }
    key <<= 8 * (kKeyBytes - text.size());
    const size_t mask = members_.size() - 1;
    for (size_t place = MemberPlace(key);; place = (place + 1) & mask) {
        if (members_[place] == key)
            return true;
        if (members_[place] == 0)
            return false;
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

template <typename Visit>
void PatternIndex::ForEachWalked(std::string_view pattern, Visit&& visit) const
{
    int32_t begin = 0;
    int32_t end = 0;
    uint64_t mask = 0;
    uint64_t key = 0;
    if (!ScanRange(pattern, begin, end, mask, key))
        return;
    const Bucket& bucket = buckets_[pattern.size()];
    for (auto j = static_cast<size_t>(begin); j < static_cast<size_t>(end); ++j)
        if ((bucket.keys[j] & mask) == key && !visit(bucket.words[j]))
            return;
}

int32_t PatternIndex::CountPattern(std::string_view pattern) const
{
    if (plain_) {
        Selection selection;
        if (!Select(pattern, selection))
            return 0;
        if (selection.setCount == 0)
            return selection.end - selection.begin;
        int32_t count = 0;
        ForEachBlock(selection, [&](size_t, uint64_t bits) {
            // Most blocks hold no fitting word, and a count costs more than the test.
            if (bits != 0)
                count += CountBits(bits);
            return true;
        });
        return count;
    }
    int32_t count = 0;
    ForEachWalked(pattern, [&](int32_t) {
        ++count;
        return true;
    });
    return count;
}

void PatternIndex::MatchPatternInto(std::string_view pattern, std::vector<int32_t>& target) const
{
    target.clear();
    if (plain_) {
        Selection selection;
        if (!Select(pattern, selection))
            return;
        const std::vector<int32_t>& words = selection.bucket->words;
        ForEachBlock(selection, [&](size_t block, uint64_t bits) {
            for (; bits != 0; bits &= bits - 1)
                target.push_back(words[block * kBlockBits + static_cast<size_t>(std::countr_zero(bits))]);
            return true;
        });
        return;
    }
    ForEachWalked(pattern, [&](int32_t wordIndex) {
        target.push_back(wordIndex);
        return true;
    });
}

int32_t PatternIndex::NthMatch(std::string_view pattern, int32_t n) const
{
    if (n < 0)
        return -1;
    int32_t found = -1;
    if (plain_) {
        Selection selection;
        if (!Select(pattern, selection))
            return -1;
        const std::vector<int32_t>& words = selection.bucket->words;
        ForEachBlock(selection, [&](size_t block, uint64_t bits) {
            const int count = CountBits(bits);
            if (n >= count) {
                n -= count;
                return true;
            }
            for (; n > 0; --n)
                bits &= bits - 1;
            found = words[block * kBlockBits + static_cast<size_t>(std::countr_zero(bits))];
            return false;
        });
        return found;
    }
    ForEachWalked(pattern, [&](int32_t wordIndex) {
        if (n-- > 0)
            return true;
        found = wordIndex;
        return false;
    });
    return found;
}

bool PatternIndex::ContainsWord(std::string_view text) const
{
    if (plain_ && !text.empty() && text.size() <= kKeyBytes)
        return ContainsPlain(text);
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
