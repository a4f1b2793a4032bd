#pragma once

#include <atomic>
#include <string_view>

namespace pelorin {

class Dictionary;
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

/// One quote per match, in the order of the matches, with the answer and its other
/// forms blanked out and long sentences cut to an excerpt around it. Quotes that
/// read the same are shown once, and the book's own underscores become
/// hyphens, so that every underscore the player sees is a blank.
void BuildQuotes(Entry& entry, const Dictionary& dictionary);

/// Blanks out the other forms of the answer word (upper case) that the
/// dictionary knows, each as a whole word: its base word, and the forms of the
/// answer or of its base (RODS hides "rod"; RAN hides "run" and "runs"; EATEN
/// hides "ate"); a long form that begins with another letter than the answer and
/// its base stays.
void MaskOtherForms(Quote& quote, std::string_view word, const Dictionary& dictionary);

/// Blanks out the answer word (upper case) in a quote: every occurrence that
/// stands as a whole word becomes underscores, while an occurrence inside a longer
/// word (cat in concatenate) stays readable.
void MaskAnswer(Quote& quote, std::string_view word);

/// Cuts a quote of more than 150 characters that holds a blank ("___") to an
/// excerpt of at most 149 characters that starts up to 120 characters before the
/// blank, at a word boundary, marked with "..." where it was cut; a cut never
/// falls inside a blank. Key and length stay the quotation's.
void ShortenQuote(Quote& quote);

/// The answer's definitions (at most 10; those ranked 500 or more dropped unless
/// all are, when the first stays), its dictionary record and word form. An answer
/// the dictionary does not hold gets none, and its form is left as it was.
void ChooseDefinitions(Entry& entry, const Dictionary& dictionary);

} // namespace pelorin
