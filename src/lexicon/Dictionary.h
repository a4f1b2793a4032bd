#pragma once

#include "foundation/ItemList.h"
#include "foundation/StoredValues.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pelorin {

class FileReader;
class FileWriter;

/// Word-form codes of a dictionary record; other values are carried as numbers.
enum WordForm : int32_t {
    kFormPlain = 0,
    kFormPlural = 3,
    kFormPast = 4,
    kFormDoing = 5,
};

/// One ranked definition of a word. Lists of definitions are kept sorted by rank.
struct Definition {
    int32_t rank = 0;  ///< sort key: lower ranks come first; above 499 is secondary
    StoredText text;   ///< the definition as shown to the player
    int32_t aux = 0;   ///< carried with the text, never interpreted

    int32_t SortKey() const { return rank; }

    /// Bands of a rank: a sense's band plus twice its order (its clue, then its
    /// whole gloss). Clean senses rank below kSynonymRank; the clue choice keeps
    /// ranks of kSecondaryRank and more only when nothing ranks lower.
    static constexpr int32_t kTrailingReadingShift = 200; ///< a second reading's senses
    /// The later senses of a word none of whose senses is tagged: clean, but open
    /// to the clue choice's evidence of the books (PreferSenseOfBooks).
    static constexpr int32_t kOpenRank = 300;
    static constexpr int32_t kSynonymRank = 400;
    static constexpr int32_t kSecondaryRank = 500; ///< rare senses
    static constexpr int32_t kGiveAwayRank = 600;
};

/// The list type of definitions: sorted by rank, owning, capacity and step 10.
using DefinitionList = ItemList<Definition>;
DefinitionList MakeDefinitionList();

/// A word record as the dictionary writer builds it, or a sub-record of one (a
/// part of speech): every field in objects of its own.
class WordRecord {
public:
    WordRecord();

    /// Replaces the text with an upper-cased copy (a-z to A-Z, other bytes kept)
    /// and sets the length to its string length.
    void SetText(std::string_view text);

    std::string text;       ///< upper case, letters A-Z only
    int32_t length = 0;     ///< letter count as stored; the pattern query compares this
    int32_t baseIndex = -1; ///< word index of the base word, or -1
    int32_t kind = 0;       ///< 3 keeps definition ranks, others raise them by 10
    int32_t form = kFormPlain;
    const WordRecord* base = nullptr; ///< resolved baseIndex; always null in sub-records
    ItemList<WordRecord> subRecords;  ///< append order, owning
    DefinitionList definitions;       ///< sorted by rank, owning
};

/// A top-level word of a loaded dictionary: the fields every reader needs, and
/// where the rest of its record (sub-records, definitions) lies in the file's
/// bytes, which the dictionary holds once.
class DictionaryWord {
public:
    /// Appends rank-adjusted copies of the definitions that belong to this word to
    /// a rank-sorted target: its own, its sub-records', or its base word's.
    void CollectDefinitions(DefinitionList& target) const;

    std::string_view text;  ///< upper case, letters A-Z only; a view into the file's bytes
    int32_t length = 0;     ///< letter count as stored; the pattern query compares this
    int32_t baseIndex = -1; ///< word index of the base word, or -1
    int32_t kind = 0;       ///< 3 keeps definition ranks, others raise them by 10
    int32_t form = kFormPlain;
    const DictionaryWord* base = nullptr; ///< resolved baseIndex

private:
    friend class Dictionary;
    const char* body_ = nullptr; ///< the record's sub-record count in the file's bytes
};

/// The dictionary file "Zanth.dct", held in memory as its own bytes with a table
/// of the top-level words indexing into them.
///
/// Loaded once at start-up; read by many threads afterwards and never changed.
class Dictionary {
public:
    static constexpr int32_t kVersion = 54;
    static constexpr const char* kMagic = "ZANTH";
    static constexpr const char* kFileName = "Zanth.dct";
    /// The word capacity of the program: a word index is always below this.
    static constexpr int32_t kCapacity = 180000;
    /// The deepest nesting of sub-records a file may have. Reading, collecting and
    /// destroying records recurse, so deeper nesting is taken as damage rather than
    /// left to overflow the stack; real words use one level (parts of speech).
    static constexpr int kMaxNesting = 64;

    Dictionary();
    ~Dictionary();
    Dictionary(const Dictionary&) = delete;
    Dictionary& operator=(const Dictionary&) = delete;

    /// Reads "Zanth.dct" from the root folder. A file that cannot be opened is
    /// reported ("Opening Dictionary"); a wrong version or magic, or a damaged or
    /// truncated file (words out of order, bytes after the last record), makes it
    /// return false silently. On any failure the dictionary keeps the records,
    /// stamp and spare it held before; Path() always names the file last tried.
    bool Load(const std::string& rootFolder);
    /// Reads a dictionary file of any path (Load's worker).
    bool LoadFile(const std::string& path);

    /// Exact lookup; the text may be in any case. Returns the word index or -1.
    int32_t Find(std::string_view text) const;
    bool Find(std::string_view text, int32_t& wordIndex) const;

    int32_t Count() const { return count_; }
    /// The top-level record at a word index in 0..Count()-1.
    const DictionaryWord& Record(int32_t wordIndex) const;
    int32_t Stamp() const { return stamp_; }
    int32_t Spare() const { return spare_; }
    const std::string& Path() const { return path_; }

private:
    FileBytes bytes_;                  // the file, whole; the words index into it
    std::vector<DictionaryWord> words_; // one per top-level record, in file order
    int32_t count_ = 0;
    std::string path_;
    int32_t spare_ = 0;
    int32_t stamp_ = 0;
};

} // namespace pelorin
