#pragma once

#include "lexicon/Dictionary.h"
#include "lexicon/DictionaryWriter.h"

#include <cstdint>
#include <string>

namespace pelorin {

/// Builds the word table of a dictionary from a WordNet 3.0 database folder (the
/// layout Debian installs under /usr/share/wordnet: index.*, data.*, cntlist.rev,
/// noun.exc and verb.exc).
///
/// Words: every lemma made of letters only becomes a top-level record, upper-cased.
/// A word with senses in one part of speech holds its definitions itself; a word
/// with several holds one sub-record per part of speech, the dominant one (most
/// tagged uses in cntlist.rev) of kind 3 and the others of kDefaultKindOther, so
/// the clue comes from the dominant part of speech first.
///
/// Definitions: one per sense, the gloss without its quoted examples, aux = synset
/// offset, rank = the sense's 0-based order in its part of speech. A sense that is
/// rare (never tagged, and not the first) or whose definition names the word itself
/// is moved to 500 + order, behind every plain sense, so it is never the clue while
/// a better one exists.
///
/// Inflected forms: plurals (form 3), past tenses and participles (form 4) and -ing
/// forms (form 5) that are not headwords themselves become records that name their
/// base word. They come from noun.exc and verb.exc and from the regular English
/// rules; a base with an exception entry for a form gets no regular one of that
/// form (no "runned" beside "ran"). Where a form could come from several bases, the
/// base with more tagged uses wins, then an exception entry over a regular rule,
/// then the lower form code, then the base that sorts first, so the same WordNet
/// always gives the same table. An inflected form of a word with several parts of
/// speech carries one kind-3 sub-record with only the relevant part of speech's
/// definitions (a plural never gets a verb sense as its clue); one of a word with a
/// single part of speech borrows its base's definitions through the base index.
///
/// Capacity: should there be more words than the table holds, inflected forms go
/// first (regular before exception ones, rarer bases first), then the rarest
/// headwords with all their forms.
class WordNetImporter {
public:
    static constexpr int32_t kDominantKind = 3;
    /// The kind of the other parts of speech: any kind but 3, whose definitions are
    /// collected 10 ranks behind the dominant ones.
    static constexpr int32_t kDefaultKindOther = 1;
    /// Rank of rare senses and give-aways: 500 + the sense's order.
    static constexpr int32_t kSecondaryRank = 500;

    explicit WordNetImporter(int32_t capacity = Dictionary::kCapacity) : capacity_(capacity) {}

    /// Reads the WordNet folder and builds the table. False, with Error() saying
    /// which file could not be read, when a file is missing or unreadable; the
    /// table is then empty. Reports progress as status texts.
    bool Import(const std::string& folder);

    const std::string& Error() const { return error_; }
    /// The table in word-index order, ready for DictionaryWriter.
    const WordTable& Records() const { return records_; }
    int32_t HeadwordCount() const { return headwords_; }
    int32_t InflectedCount() const { return inflected_; }
    int32_t DefinitionCount() const { return definitions_; }

private:
    int32_t capacity_;
    std::string error_;
    WordTable records_;
    int32_t headwords_ = 0;
    int32_t inflected_ = 0;
    int32_t definitions_ = 0;
};

} // namespace pelorin
