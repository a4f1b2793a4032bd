#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace pelorin {

class Dictionary;
class Style;

/// A read-only snapshot of a style's word list, laid out for the grid filler's
/// thousands of pattern queries per game.
///
/// The answers are exactly those of Style::MatchPattern and Style::ContainsWord:
/// the same probes, the same bisection over the same list, the same scan range.
/// Only the representation differs. Each word's first 8 bytes are packed into one
/// big-endian integer, so a comparison in unsigned byte order is one integer
/// comparison, and the words of each stored length are kept apart, so a scan over
/// the range between the probes visits only words of the pattern's length and
/// tests all its letters with one mask. The filler builds one per call (a linear
/// pass over the list), so it never shares mutable state with other threads and
/// never sees a word list that changed under it.
class PatternIndex {
public:
    explicit PatternIndex(const Style& style);

    /// The number of words Style::MatchPattern gives for the pattern.
    int32_t CountPattern(std::string_view pattern) const;
    /// Style::MatchPattern's word indexes, in its order, into target (emptied first).
    void MatchPatternInto(std::string_view pattern, std::vector<int32_t>& target) const;
    /// Style::ContainsWord.
    bool ContainsWord(std::string_view text) const;

    int32_t WordCount() const { return static_cast<int32_t>(keys_.size()); }

private:
    static constexpr int kMaxLength = 8;

    /// The words whose stored length is one value, in list order.
    struct Bucket {
        std::vector<int32_t> positions; ///< positions in the word list, ascending
        std::vector<uint64_t> keys;     ///< packed texts
        std::vector<int32_t> words;     ///< word indexes
    };

    int Compare(uint64_t probeKey, int probeLength, int32_t position) const;
    int32_t ProbePosition(uint64_t probeKey, int probeLength, bool& exact) const;
    /// The bucket range that MatchPattern's scan visits, and the mask and key that
    /// a fitting word's packed text shows; false when the pattern fits nothing.
    bool ScanRange(std::string_view pattern, int32_t& begin, int32_t& end, uint64_t& mask, uint64_t& key) const;

    const Style* style_;
    std::vector<uint64_t> keys_;   ///< packed text per list position
    std::vector<uint8_t> lengths_; ///< text length per list position, capped at 9
    std::array<Bucket, kMaxLength + 1> buckets_;
    bool fallback_ = false; ///< a text holds a zero byte: queries go to the style
};

} // namespace pelorin
