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
/// A list made by the program itself is plain: its texts are distinct words of
/// the letters A to Z in ascending order, each as long as its record says. In a
/// plain list every word that fits a pattern lies between the probes, so the walk
/// gives exactly the words of the pattern's length with its letters, and a word
/// is met by the bisection exactly when it is listed. There the index answers
/// without probes: the words of each length carry one bit set per position and
/// letter, and a pattern's words are the AND of the sets of its letters, within
/// the words that begin with its first letter when that is known. Membership is
/// a look-up in a hash table of the packed words. Any other list is walked.
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
    /// The word index at position n (from 0) of what MatchPatternInto gives, for n
    /// below CountPattern(pattern); -1 when there is none.
    int32_t NthMatch(std::string_view pattern, int32_t n) const;
    /// Whether the text (any case) is one of the listed words, by the same
    /// bisection: only a word met at the first, the last or a midpoint counts.
    bool ContainsWord(std::string_view text) const;

    int32_t WordCount() const { return static_cast<int32_t>(keys_.size()); }

private:
    static constexpr size_t kKeyBytes = sizeof(uint64_t);
    static_assert(kMaxPatternLength <= static_cast<int32_t>(kKeyBytes), "a pattern's letters fill one packed key");

    static constexpr int kLetters = 26;

    /// The words whose stored length is one value, in list order.
    struct Bucket {
        std::vector<int32_t> positions; ///< positions in the word list, ascending
        std::vector<uint64_t> keys;     ///< packed texts
        std::vector<int32_t> words;     ///< word indexes
        // Of a plain list only:
        size_t blocks = 0; ///< 64-word blocks of a letter set
        /// The letter sets: bit i of set (position, letter) is set when word i of
        /// the bucket has that letter there; set s occupies blocks s * blocks on.
        std::vector<uint64_t> letterSets;
        /// The words that begin with letter c are initials[c] up to initials[c + 1].
        std::array<int32_t, kLetters + 1> initials{};
    };

    /// What a pattern asks of a plain list's bucket: the range of its words that
    /// share the pattern's first letter (all, when that is open) and the letter
    /// sets of the pattern's other letters.
    struct Selection {
        const Bucket* bucket = nullptr;
        int32_t begin = 0;
        int32_t end = 0;
        int32_t setCount = 0;
        std::array<const uint64_t*, kMaxPatternLength> sets{};
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
    /// Calls visit(word index) with each word of the walk that fits the pattern,
    /// in list order, until it returns false.
    template <typename Visit>
    void ForEachWalked(std::string_view pattern, Visit&& visit) const;

    /// Whether the list is plain (see the class comment); decided once, by the constructor.
    bool IsPlain() const;
    /// Fills the letter sets and initials of every bucket of a plain list.
    void BuildLetterSets();
    /// Fills the membership table of a plain list.
    void BuildMembers();
    size_t MemberPlace(uint64_t key) const;
    /// The selection of a pattern in a plain list; false when no word can fit.
    bool Select(std::string_view pattern, Selection& selection) const;
    /// Calls visit(block, bits) with the bits of the selected words, block by
    /// block, until it returns false.
    template <typename Visit>
    static void ForEachBlock(const Selection& selection, Visit&& visit);
    bool ContainsPlain(std::string_view text) const;

    const Dictionary* dictionary_ = nullptr;
    std::vector<int32_t> words_;   ///< word index per list position
    std::vector<uint64_t> keys_;   ///< packed text per list position
    std::vector<uint8_t> lengths_; ///< text length per list position, capped at 9
    std::array<Bucket, kMaxPatternLength + 1> buckets_;
    bool plain_ = false;
    /// Of a plain list: the packed words of up to 8 letters in an open-addressing
    /// table (0 marks a free place, as no word packs to 0), and the shift that
    /// turns a key's hash into a place.
    std::vector<uint64_t> members_;
    int memberShift_ = 0;
};

} // namespace pelorin
