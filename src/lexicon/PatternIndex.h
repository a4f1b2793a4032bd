#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace pelorin {

class Dictionary;

/// The pattern queries of a style's word list, laid out for the grid filler's
/// thousands of queries per game.
///
/// A pattern query makes two probes (open cells as "A", then as "Z"), places each
/// in the list by a bisection in unsigned byte order, and tests every listed word
/// from one before the low probe through the high probe: a word fits when its
/// record's length field is the pattern's length and it has the pattern's letters.
/// The answers follow that walk exactly, even where the list or the records are
/// odd, because the filler's grids depend on every word and its position.
///
/// Each word's first 8 bytes are packed into one big-endian integer, so that
/// comparing a probe of up to 8 bytes is one integer comparison, and the words of
/// each stored length are kept apart, so that the scan between the probes visits
/// only words of the pattern's length and tests all its letters with one mask.
///
/// Queries are const and allocate nothing (results go into the caller's buffer),
/// so any number of threads may query one index while nobody rebuilds it.
class PatternIndex {
public:
    /// Patterns are entries of at most 8 cells, and 8 bytes fill a packed key.
    static constexpr int32_t kMaxPatternLength = 8;

    /// An index of an empty list.
    PatternIndex() = default;
    /// Indexes a word list (word indexes, in list order). Probes longer than 8
    /// bytes are compared with the dictionary's texts, so the dictionary must
    /// outlive the index and keep its records while it is queried.
    PatternIndex(const Dictionary& dictionary, std::span<const int32_t> words);

    /// The number of listed words that fit a pattern of letters and blanks.
    int32_t CountPattern(std::string_view pattern) const;
    /// The word indexes of the listed words that fit the pattern, in list order,
    /// into target (emptied first); nothing for a pattern longer than 8.
    void MatchPatternInto(std::string_view pattern, std::vector<int32_t>& target) const;
    /// Whether the text (any case) is one of the listed words, by the same
    /// bisection: only a word met at the first, the last or a midpoint counts.
    bool ContainsWord(std::string_view text) const;

    int32_t WordCount() const { return static_cast<int32_t>(keys_.size()); }

private:
    static constexpr size_t kKeyBytes = sizeof(uint64_t);
    static_assert(kMaxPatternLength <= static_cast<int32_t>(kKeyBytes), "a pattern's letters fill one packed key");

    /// The words whose stored length is one value, in list order.
    struct Bucket {
        std::vector<int32_t> positions; ///< positions in the word list, ascending
        std::vector<uint64_t> keys;     ///< packed texts
        std::vector<int32_t> words;     ///< word indexes
    };

    /// The probe's order against the listed word at a position: below 0, 0 or
    /// above 0, as an unsigned byte comparison of the whole texts would give.
    int Compare(std::string_view probe, uint64_t probeKey, int32_t position) const;
    /// The position of an equal word, else of the first word above the probe as
    /// the bisection finds it; -1 for an empty list or a probe above the last word.
    int32_t ProbePosition(std::string_view probe, bool& exact) const;
    /// The bucket range that a pattern's scan visits, and the mask and key that a
    /// fitting word's packed text shows; false when the pattern fits nothing.
    bool ScanRange(std::string_view pattern, int32_t& begin, int32_t& end, uint64_t& mask, uint64_t& key) const;

    const Dictionary* dictionary_ = nullptr;
    std::vector<int32_t> words_;   ///< word index per list position
    std::vector<uint64_t> keys_;   ///< packed text per list position
    std::vector<uint8_t> lengths_; ///< text length per list position, capped at 9
    std::array<Bucket, kMaxPatternLength + 1> buckets_;
};

} // namespace pelorin
