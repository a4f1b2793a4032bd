#pragma once

#include "lexicon/Dictionary.h"

#include <atomic>
#include <memory>
#include <string_view>
#include <vector>

namespace pelorin {

class Entry;
class Game;
class Style;
struct Quote;

/// Gives every entry of a filled game its hints, in three phases over the Across
/// and then the Down entries: the style's quotations that hold the answer
/// (matches), the quotes made of them (masked, maybe shortened), and the answer's
/// definitions and word form. A cleared keepRunning skips the remaining entries
/// of each list, so a shutdown ends the work quickly; those entries keep no hints.
void ChooseClues(Game& game, const Style& style, const std::atomic<bool>& keepRunning);

/// Empties the entry's matches and collects the quotations of every book of the
/// style, book by book, that hold its answer; they land in key order.
void CollectMatches(Entry& entry, const Style& style);

/// One quote per usable match, with the answer and its other forms blanked out and
/// long sentences cut to an excerpt around it: first those whose blank has telling
/// words on both sides (no article, number, pronoun or helping verb), then the
/// others, each in the order VaryQuotes gives. Quotes that read the same are shown
/// once, and the book's own underscores become hyphens, so that every underscore
/// the player sees is a blank.
void BuildQuotes(Entry& entry, const Dictionary& dictionary);

/// Orders quotes so that the first few a player reads are of different kinds
/// (not every one a joke about programming): the first stays, and each of the
/// next four is the one that shares the fewest words of four letters or more with
/// those before it, the earlier on a tie; the rest keep their order.
void VaryQuotes(std::vector<std::unique_ptr<Quote>>& quotes);

/// Blanks out the other forms of the answer word (upper case) that the
/// dictionary knows, each as a whole word: its base word, and the forms of the
/// answer or of its base (RODS hides "rod"; RAN hides "run" and "runs"; EATEN
/// hides "ate"); a long form that begins with another letter than the answer and
/// its base stays.
void MaskOtherForms(Quote& quote, std::string_view word, const Dictionary& dictionary);

/// Whether a word (upper case) holds a stem (upper case, of three letters or
/// more) as a word part, so that a hint showing it would show the answer: with an
/// inflection's ending the dictionary may not list (ABOUND, "aboundeth"; DREAM,
/// "dreamed"), and for a stem of four letters or more with a deriving affix or as
/// part of a compound (VIEW, "viewer"; WEARY, "unweary"; TEAM, "teammate"). A
/// word that only happens to contain the letters (CAT, "concatenate") does not.
bool HoldsStem(std::string_view word, std::string_view stem, const Dictionary& dictionary);

/// Where the word (upper case) first stands whole in a text, in any case; the
/// text's size when it does not.
size_t FirstWholeWord(std::string_view text, std::string_view word);

/// Whether the word at `at` is capitalised in mid-sentence, as a name is.
bool IsCapitalisedInSentence(std::string_view text, size_t at);

/// Whether the answer is a name: the books write it capitalised in most of the
/// entry's matches.
bool BooksWriteAsName(const Entry& entry);

/// Whether a quote is a hint a solver can use, given the quotation's text and the
/// position of the answer's blank in it: the blank is no capitalised word in
/// mid-sentence unless the answer is a name (`name`), a name's blank stands in no
/// list of names (a genealogy), and the sentence is no dictionary heading and has
/// words enough around the blank to guess it from, two that are no article,
/// number, pronoun or helping verb ("______ wish, n.", "I'm an _____.").
bool IsUsableHint(std::string_view quotation, size_t blank, bool name);

/// Blanks out the answer word (upper case) in a quote: every occurrence that
/// stands as a whole word becomes underscores, while an occurrence inside a longer
/// word (cat in concatenate) stays readable.
void MaskAnswer(Quote& quote, std::string_view word);

/// Cuts a quote of more than 150 characters that holds a blank ("___") to an
/// excerpt of at most 149 characters that starts up to 120 characters before the
/// blank, at a word boundary, marked with "..." where it was cut; a cut never
/// falls inside a blank. Key and length stay the quotation's.
void ShortenQuote(Quote& quote);

/// Whether a definition names what has no plural: one thing of its name ("the
/// natural satellite of the Earth"), or a mass, an act, an element or a number
/// ("the process of ...", "sleeping for a short period", "a heavy ductile
/// magnetic metallic element", "the smallest whole number").
bool NamesOneThing(std::string_view definition);

/// A plural answer's definitions of what has no plural (NamesOneThing: MOONS) rank
/// behind all others, rare senses too, as secondary senses, unless all are such.
void DemoteSingularSenses(DefinitionList& definitions);

/// Where no sense of the answer is tagged (the dictionary ranks its later senses
/// open), puts first the sense whose gloss shares the most telling words (four
/// letters or more, no function word, forms as their base word) with the
/// answer's sentences in the style's books, when it shares at least two more than
/// the first sense's: the Bible's JUDAS is the apostle, not a peephole.
void PreferSenseOfBooks(Entry& entry, const Dictionary& dictionary);

/// The answer's definitions (the books' sense first, by PreferSenseOfBooks; at
/// most 10; those ranked 500 or more dropped unless all are, when the first
/// stays), its dictionary record and word form. An answer the dictionary does not
/// hold gets none, and its form is left as it was.
void ChooseDefinitions(Entry& entry, const Dictionary& dictionary);

} // namespace pelorin
