#pragma once

#include "lexicon/Dictionary.h"
#include "lexicon/DictionaryWriter.h"
#include "lexicon/FirstSenses.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pelorin {

/// Builds the word table of a dictionary from a WordNet 3.0 database folder (the
/// layout Debian installs under /usr/share/wordnet: index.*, data.*, cntlist.rev,
/// noun.exc and verb.exc), for a crossword: every word a fair answer, every first
/// definition a clue a solver accepts.
///
/// Words: every lemma made of letters only becomes a top-level record, upper-cased,
/// except what is no word in a grid: senses that WordNet spells only as an
/// abbreviation (IRS, DoS), roman numerals (XLI), a few archaic spellings, words of
/// other languages (BAAS, ANNUM, NON) and words of five letters or more that have
/// no clue but a give-away (HEWER), with their forms. A
/// word with senses in one part of speech holds its definitions itself; a word
/// with several holds one sub-record per part of speech, the dominant one (common
/// senses before names, then most tagged uses in cntlist.rev) of kind 3 and the
/// others of kDefaultKindOther, so the clue comes from the dominant part first
/// (untagged parts: the one whose synset the word chiefly names, HALE "healthy").
///
/// Senses: common senses before those only a name or symbol spells so; tagged
/// senses in WordNet's order (by use), untagged ones by evidence (the synset whose
/// first word the lemma is, then the more linked synset); but a sense the list of
/// first senses names (FirstSense) comes first, and its part of speech leads.
///
/// Definitions: one per sense, its clue (the gloss's first clause, see
/// ClueClause) ranked 2 x order, followed by the whole gloss (2 x order + 1) when
/// that is longer; aux = synset offset. Rare senses (untagged, not the first) rank
/// kSecondaryRank + order and give-aways kGiveAwayRank + order, behind every clean
/// sense. A give-away names the word, another form of it or a word of the same
/// stem (LOSER and "loses", REPAY and "pay"); a word whose every sense gives it
/// away is clued by its synonyms (kSynonymRank on).
///
/// Inflected forms: plurals (form 3), past tenses and participles (form 4), -ing
/// forms (form 5) and verbs' "-s" forms (form 0, their definitions made to agree:
/// "moves toward") come from noun.exc and verb.exc and from the regular English
/// rules; a base with an exception entry for a form gets no regular one of that
/// form (no "runned" beside "ran"). Names of particular people and places and
/// words of one or two letters take no regular forms (but verbs in use: goes,
/// does). Where a form could come from several bases, the base with more tagged
/// uses wins, then an exception entry over a regular rule, then a plural over an
/// "-s" form, then the base that sorts first, so the same WordNet always gives the
/// same table. A form of a word with several parts of speech carries one kind-3
/// sub-record with only the relevant part of speech's definitions; one of a word
/// with a single part of speech borrows its base's definitions through the base
/// index. A form that is also a headword keeps both readings, the more used one
/// first (SAT: the past of sit, then Saturday), the other's clean senses ranked
/// Definition::kTrailingReadingShift behind.
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

    /// `firstSenses`: the list of a solver's first senses (ParseFirstSenses), which
    /// must outlive the importer.
    explicit WordNetImporter(int32_t capacity = Dictionary::kCapacity,
                             std::string_view firstSenses = FirstSensesText())
        : capacity_(capacity), firstSenses_(firstSenses)
    {
    }

    /// Reads the WordNet folder and builds the table. False, with Error() saying
    /// which file could not be read and why ("PATH: reason"), when a file is
    /// missing or unreadable; the table is then empty. Reports progress as status texts.
    bool Import(const std::string& folder);

    const std::string& Error() const { return error_; }
    /// The table in word-index order, ready for DictionaryWriter.
    const WordRecordTable& Records() const { return records_; }
    int32_t HeadwordCount() const { return headwords_; }
    int32_t InflectedCount() const { return inflected_; }
    int32_t DefinitionCount() const { return definitions_; }
    /// The entries of the list of first senses that named no sense of this WordNet.
    const std::vector<FirstSense>& UnmatchedFirstSenses() const { return unmatched_; }

private:
    int32_t capacity_;
    std::string_view firstSenses_;
    std::string error_;
    std::vector<FirstSense> unmatched_;
    WordRecordTable records_;
    int32_t headwords_ = 0;
    int32_t inflected_ = 0;
    int32_t definitions_ = 0;
};

/// True when a lower-case word is a roman numeral in its canonical spelling
/// ("xli", "iv", "mix"; not "iiii" or "dim"). As crossword answers such numbers are
/// no words, where WordNet lists them as numbers.
bool IsRomanNumeral(std::string_view word);

} // namespace pelorin
