#pragma once

#include "foundation/ItemList.h"
#include "lexicon/WordTable.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace pelorin {

class Book;
class Quotation;

/// The sentences of a style's books by word, so that the clue choice finds an
/// answer's quotations without reading every sentence of the style.
///
/// A sentence is listed under every word for which Quotation::ContainsWord holds:
/// each of its space-separated tokens cut down to its letters and upper-cased,
/// provided the sentence's letter mask has the token's first letter (a word of
/// one or two letters counts only beside a longer word of the same initial). The
/// sentences of a word are kept in book order and, within a book, in sentence
/// order, so a walk through them meets the sentences in the order that asking
/// each book in turn would.
///
/// The index borrows the books' sentences: it must be dropped before they change.
/// Its queries are const and allocate nothing but what they return into, so any
/// number of threads may read one index.
class QuotationIndex {
public:
    /// An index of no sentences.
    QuotationIndex() = default;
    explicit QuotationIndex(const ItemList<Book>& books);

    /// The numbers of the sentences that contain the word (upper case, as
    /// Quotation::ContainsWord takes it), ascending; empty when none does.
    std::span<const int32_t> Find(std::string_view upperWord) const;
    /// Adds to a target what Book::CollectQuotations of every book in turn would
    /// add, in the same order: each book stops adding once the target holds more
    /// than Book::kMaxQuotations.
    void CollectQuotations(std::string_view upperWord, ItemList<Quotation>& target) const;

    /// The sentence of a number that Find gives, and the position of its book.
    Quotation* Sentence(int32_t number) const { return sentences_[static_cast<size_t>(number)]; }
    int32_t BookOf(int32_t number) const { return books_[static_cast<size_t>(number)]; }

    int32_t SentenceCount() const { return static_cast<int32_t>(sentences_.size()); }
    int32_t WordCount() const { return words_.Count(); }

private:
    WordTable words_;
    // The sentences of word w are numbers_[firsts_[w]] up to numbers_[firsts_[w + 1]].
    std::vector<uint32_t> firsts_;
    std::vector<int32_t> numbers_;
    // By sentence number: the sentence and the position of its book.
    std::vector<Quotation*> sentences_;
    std::vector<int32_t> books_;
};

} // namespace pelorin
