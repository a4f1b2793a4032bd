#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pelorin {

/// Words numbered in the order they are first added, with their letters in upper
/// case: the hash table behind the book scanner's look-ups and the quotation
/// index, which meet each word of a book many times.
class WordTable {
public:
    static constexpr int32_t kNone = -1;

    WordTable();

    /// The number of a word (a-z count as A-Z); a new word takes the next number.
    int32_t Add(std::string_view word);
    /// The number of a word given in upper case, byte for byte; kNone when the
    /// table does not hold it.
    int32_t Find(std::string_view upperWord) const;

    int32_t Count() const { return static_cast<int32_t>(starts_.size()); }
    /// The upper-case text of a word's number.
    std::string_view Word(int32_t number) const;

private:
    /// A place of the table: a word's number and hash, or kNone.
    struct Slot {
        uint32_t hash = 0;
        int32_t word = kNone;
    };

    /// The place that holds the word, else the free place where it belongs.
    /// `anyCase` lets a-z match A-Z (adding); a query matches byte for byte.
    size_t Place(std::string_view word, uint32_t hash, bool anyCase) const;
    void Grow();

    std::string text_;             ///< the words' upper-case texts, end to end
    std::vector<uint32_t> starts_; ///< where each word's text starts
    /// Open addressing; the size is a power of two, at least twice the word count.
    std::vector<Slot> slots_;
};

} // namespace pelorin
