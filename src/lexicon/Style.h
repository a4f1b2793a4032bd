#pragma once

#include "foundation/ItemList.h"
#include "foundation/StoredValues.h"
#include "lexicon/PatternIndex.h"
#include "lexicon/QuotationIndex.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace pelorin {

class Dictionary;
class Style;

/// A growable array of word indexes whose capacity starts at 1000 and grows by
/// 1000 whenever an append fills it. The capacity is stored in style files, so it
/// follows that rule exactly.
class WordList {
public:
    static constexpr int32_t kStep = 1000;

    WordList() = default;
    /// A list of these words, with the capacity that appending them one by one gives.
    explicit WordList(std::vector<int32_t> words);

    void Append(int32_t wordIndex);
    /// Empties the list; the capacity stays, as a rebuild of the word list keeps it.
    void Clear();
    int32_t Count() const { return static_cast<int32_t>(words_.size()); }
    int32_t Capacity() const { return capacity_; }
    int32_t operator[](int32_t i) const { return words_[static_cast<size_t>(i)]; }
    const std::vector<int32_t>& Words() const { return words_; }

private:
    std::vector<int32_t> words_;
    int32_t capacity_ = kStep;
};

/// A sentence of a book, kept as a quotation for clues.
class Quotation {
public:
    /// A sentence read from a file or made by the scanner.
    Quotation(int32_t key, int32_t length, StoredText text);

    int32_t SortKey() const { return key; }
    /// Bit n is set when the sentence holds a word of at least 3 letters that
    /// begins with the letter A + n. Computed on first use and kept: a style
    /// holds tens of thousands of sentences, and loading one should not read them
    /// all. Workers of one style may ask at once; they compute the same value.
    int32_t LetterMask() const;
    /// The bit that a word, cut down to its letters, gives the letter mask: its
    /// initial's when it has at least 3 letters, else none.
    static uint32_t MaskBit(std::string_view word);
    /// Whether one of the sentence's words, cut down to its letters and upper-cased,
    /// equals the upper-case word.
    bool ContainsWord(std::string_view upperWord) const;

    int32_t key = 0;    ///< |length - 80|: sentences of about 80 characters first
    StoredText text;    ///< from its first letter through its closing "."
    int32_t length = 0; ///< string length of text, as stored

private:
    /// The letter mask of a text: the bits of the first letters of its words of at
    /// least 3 letters.
    static int32_t ComputeLetterMask(std::string_view text);

    mutable std::atomic<int32_t> mask_{0}; ///< letter mask of text; 0 until first asked
};

/// The sentences of one book file of a style.
class Book {
public:
    static constexpr int32_t kMaxQuotations = 10;

    Book();

    /// Marks in the style's flag table every dictionary word of a piece of text by
    /// the word rule.
    void MarkWords(std::string_view text) const;
    /// Adds the sentences that contain a word (upper case) to a target, stopping
    /// once the target holds more than 10.
    void CollectQuotations(std::string_view upperWord, ItemList<Quotation>& target) const;

    ItemList<Quotation> sentences; ///< append order, owning, capacity and step 100
    Style* style = nullptr;        ///< the style that owns the book
};

/// A style: the dictionary words of a set of books, and their sentences.
class Style {
public:
    static constexpr int32_t kVersion = 55;
    static constexpr const char* kMagic = "ZASTYLE";
    static constexpr const char* kExtension = ".zas";
    static constexpr int32_t kMaxPatternLength = PatternIndex::kMaxPatternLength;

    explicit Style(const Dictionary& dictionary);
    ~Style();
    Style(const Style&) = delete;
    Style& operator=(const Style&) = delete;

    /// Loads a file of the styles folder. A file that cannot be opened is reported
    /// ("Project Open"); a wrong version or magic, or a damaged file (a word list
    /// out of order or, for the dictionary's own edition, outside it; bytes after
    /// the last book), loads nothing silently.
    bool LoadFile(const std::string& stylesFolder, const std::string& fileName);
    /// Writes the style through a temporary file; "Cannot Open Project File" and
    /// false when that fails, and the old file stays whole.
    bool SaveFile(const std::string& path);

    /// Scans a book file into the flag table and a new book's sentences. False when
    /// the file cannot be read (see ScanBook); the book is added all the same, with
    /// what could be read of it. A raised `stop` cuts the scan short.
    bool AddBook(const std::string& bookPath, const std::atomic<bool>* stop = nullptr, std::string* reason = nullptr);
    /// Sets the stamp to the dictionary's and rebuilds the word list from the flags.
    void BuildWordList();
    /// Rebuilds the style from its sentences and saves it when its stamp is not
    /// the dictionary's. Returns true when it was rebuilt.
    bool UpdateIfStale();

    // The pattern queries answer from an index of the word list, rebuilt whenever
    // the list changes. The preparation workers share it, so every query is const
    // and the buffer and count forms allocate nothing.

    /// The style's words that fit a pattern of letters and blanks (open cells), in
    /// alphabetical order; empty for a pattern longer than 8.
    WordList MatchPattern(std::string_view pattern) const;
    /// MatchPattern's words in its order, into a caller's buffer (emptied first), so
    /// a caller that queries often reuses one allocation.
    void MatchPatternInto(std::string_view pattern, std::vector<int32_t>& target) const
    {
        index_.MatchPatternInto(pattern, target);
    }
    /// How many words MatchPattern gives for a pattern, without building the list.
    int32_t CountPattern(std::string_view pattern) const { return index_.CountPattern(pattern); }
    /// The word index at position n of what MatchPattern gives, without building
    /// the list; -1 unless n is below CountPattern(pattern).
    int32_t NthMatch(std::string_view pattern, int32_t n) const { return index_.NthMatch(pattern, n); }
    /// Whether a word (any case) is in the word list.
    bool ContainsWord(std::string_view text) const { return index_.ContainsWord(text); }

    /// The books' sentences by word, made on first use and then shared by every
    /// thread that reads the style. Adding a book or loading the style drops it.
    const QuotationIndex& Quotations() const;
    /// What CollectQuotations of every book in turn adds, found through the index.
    void CollectQuotations(std::string_view upperWord, ItemList<Quotation>& target) const
    {
        Quotations().CollectQuotations(upperWord, target);
    }

    /// Sets the flag of a word index (the book scanner's mark).
    void MarkWord(int32_t wordIndex);
    /// The dictionary's Find for a word of a book, remembered until the word list
    /// is built: books name the same words again and again.
    int32_t LookUp(std::string_view word);

    const Dictionary& Lexicon() const { return *dictionary_; }
    const WordList& Words() const { return words_; }
    const ItemList<Book>& Books() const { return books_; }
    /// The sentences of all the books.
    int32_t SentenceCount() const;
    const StoredText& Description() const { return description_; }
    void SetDescription(StoredText description) { description_ = std::move(description); }
    int32_t Stamp() const { return stamp_; }
    const std::string& FullPath() const { return fullPath_; }
    const std::string& FileName() const { return fileName_; }

private:
    /// Creates the zeroed flag table on first use.
    void EnsureFlags();
    /// Rebuilds the pattern index from the word list; called whenever the list changes.
    void IndexWords();
    /// Forgets the quotation index; called whenever the books change.
    void DropQuotations();

    /// The look-ups of the books scanned since the word list was last built, with
    /// the dictionary stamp and size they were made against.
    struct Lookups {
        int32_t stamp = 0;
        int32_t count = 0;
        WordTable words;
        std::vector<int32_t> wordIndexes; ///< by number in words
    };

    /// The quotation index and the flag that lets only its first reader make it.
    struct LazyQuotations {
        std::once_flag made;
        std::unique_ptr<QuotationIndex> index;
    };

    const Dictionary* dictionary_;
    WordList words_;
    PatternIndex index_; ///< of words_
    std::unique_ptr<int32_t[]> flags_; ///< one per word index; created on first use
    std::unique_ptr<Lookups> lookups_; ///< while books are scanned
    std::string fullPath_;
    std::string fileName_;
    StoredText description_;
    ItemList<Book> books_;
    mutable std::unique_ptr<LazyQuotations> quotations_; ///< of books_
    int32_t status_ = 1;
    int32_t stamp_ = 0;
};

/// Scans one book file for a book of a style: the word pass marks the style's
/// words, the sentence pass collects the sentences. False when the file cannot be
/// read: it is missing, a folder or anything else but a regular file, cannot be
/// opened, or fails while it is read; `reason` (when given) then gets the system's
/// words for it. A book that could not be opened keeps no sentences.
///
/// A raised `stop` ends both passes at the next buffer of the file, so that a
/// build of many large books can be cancelled at once.
bool ScanBook(const std::string& path, Book& book, const std::atomic<bool>* stop = nullptr,
              std::string* reason = nullptr);

} // namespace pelorin
