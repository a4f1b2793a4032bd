#pragma once

#include <string_view>
#include <vector>

namespace pelorin {

/// The sense of a word a solver thinks of first, where WordNet's use counts put
/// another one first: KNOT the fastening rather than "a tight cluster of people or
/// things", GIG a booking rather than a rowing boat. The list was made by reading
/// the clues of the commonest answers as a solver does; the dictionary is made
/// with it.
struct FirstSense {
    /// Lower case: a lemma, for it and all its forms; or a plural whose own
    /// reading differs from its lemma's (ashes, the residue, though a substance
    /// has no plural as a rule).
    std::string_view word;
    /// WordNet's part of speech: 'n', 'v', 'a' or 'r'. A lemma's first entry also
    /// makes its part the leading one (DEAL the noun before the verb). '-' says
    /// that no sense gives the word a clue a solver can use: it is no answer, nor
    /// are the forms of a lemma so spelled (SHUA, which WordNet knows only as a
    /// branch of Shinto). '+' names words of the lemma's family that WordNet does
    /// not link to it, so that a gloss holding one gives the lemma away (LEPER,
    /// "a person afflicted with leprosy").
    char part = 'n';
    /// The opening words of the sense's gloss, enough to tell it from the others;
    /// for no answer, why; for family, the words, separated by blanks.
    std::string_view opening;

    bool NoAnswer() const { return part == '-'; }
    bool Family() const { return part == '+'; }
};

/// The entries of a list: a line is "word part opening words ...", separated by
/// spaces or tabs. Blank lines, lines from '#' and lines without all three fields
/// or with another part than n, v, a, r, - or + are skipped.
std::vector<FirstSense> ParseFirstSenses(std::string_view text);

/// The list the dictionary is made with.
std::string_view FirstSensesText();

} // namespace pelorin
