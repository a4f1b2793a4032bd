#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelorin {

/// The definition a WordNet gloss gives: its ";"-separated parts without the
/// quoted examples, which would show the answer word in a sentence. WordNet's
/// `quoted' words get plain quotes.
std::string CleanGloss(std::string_view gloss);

/// The quoted examples of a WordNet gloss, one after another: what CleanGloss
/// leaves out ("tell an untruth; \"She lied to me\"" gives "She lied to me").
std::string QuotedExamples(std::string_view gloss);

/// The clue a definition makes: a crossword clue is a short phrase, so the
/// parenthesised asides go (domain labels, dates, usage notes), and so do the
/// clauses after the first one that stands on its own: the first ";" clause, the
/// part before ": ". A clause still longer than kClueLength is cut before a
/// relative or participle clause ("... that", "... who", "... having") so that it
/// fits. What cannot be cut well stays whole; the result is never empty.
std::string ClueClause(std::string_view definition);

/// The phrases a clause can be cut to, longest first: each ends before a relative
/// or participle clause ("... who", "... consisting"), stands on its own and has
/// three words or more ("a real estate agent" of "a real estate agent who is a
/// member of ...").
std::vector<std::string> ShorterClauses(std::string_view clause);

/// The clues a definition can make, best first: ClueClause of the definition, then
/// of what follows each of its "; " (so that "make a vow; promise" offers
/// "promise" where "make a vow" would give VOW away).
std::vector<std::string> ClueClauses(std::string_view definition);

/// Clues longer than this read as explanations rather than as clues.
inline constexpr size_t kClueLength = 100;
/// The clause length that leaves room for the clue list's longest word-form note,
/// "(plural) ".
inline constexpr size_t kClauseLength = kClueLength - 10;

/// The third-person singular of a verb by the regular rules: makes, fixes,
/// carries, goes; "be" and "have" give "is" and "has".
std::string ThirdPerson(std::string_view verb);

/// A verb's definition made to agree with the verb's "-s" form: "move toward,
/// travel toward" becomes "moves toward, travels toward". Each comma-separated
/// phrase's leading verb is changed, with a verb joined to it by "or" or "and";
/// `thirdPerson` gives a word's form when the word is a verb and nothing
/// otherwise, so that phrases that do not start with a verb stay as they are.
/// A leading "to" is dropped and leading adverbs ("formally accept") are kept.
using VerbForm = std::function<std::optional<std::string>(std::string_view word)>;
std::string ThirdPersonDefinition(std::string_view definition, const VerbForm& thirdPerson);

/// A noun's clue whose head is a plural, where WordNet glosses a kind by its
/// members ("tall woody perennial grasses with hollow slender stems" for REED),
/// made to name one: "tall woody perennial grass with ...". The head is the last
/// word before the first preposition, relative, conjunction, participle or comma
/// of a clue that opens with no determiner; `singular` gives a plural noun's
/// singular and nothing for any other word. A head joined to another noun ("shrubs
/// or trees"), followed by a relative whose verb would then disagree ("fairies
/// that are ..."), or a group's wording ("animals as a group") stays as it is.
std::string SingularHead(std::string_view clue, const VerbForm& singular);

} // namespace pelorin
