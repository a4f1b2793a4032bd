#include "lexicon/GlossText.h"

#include "foundation/TextUtil.h"

#include <algorithm>
#include <array>
#include <vector>

namespace pelorin {

namespace {

std::string_view Trim(std::string_view text, std::string_view junk)
{
    const size_t first = text.find_first_not_of(junk);
    if (first == std::string_view::npos)
        return {};
    const size_t last = text.find_last_not_of(junk);
    return text.substr(first, last - first + 1);
}

bool EndsWith(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

std::string ToLower(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

template <size_t N>
bool OneOf(std::string_view word, const std::array<std::string_view, N>& list)
{
    return std::find(list.begin(), list.end(), word) != list.end();
}

std::vector<std::string_view> SplitAt(std::string_view text, char separator)
{
    std::vector<std::string_view> words;
    size_t at = 0;
    while (at <= text.size()) {
        size_t end = text.find(separator, at);
        if (end == std::string_view::npos)
            end = text.size();
        if (end > at)
            words.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return words;
}

std::string Join(const std::vector<std::string_view>& words, size_t count)
{
    std::string text;
    for (size_t i = 0; i < count && i < words.size(); ++i) {
        if (i > 0)
            text += ' ';
        text += words[i];
    }
    return text;
}

// ---- Quoted examples ----------------------------------------------------------

// One part of a gloss without a trailing example that is run on with ': "' or
// ', "' instead of being set off by "; " (WordNet has a few hundred of those).
std::string_view CutRunOnExample(std::string_view part)
{
    if (part.empty() || part.back() != '"')
        return part;
    for (std::string_view marker : {std::string_view(": \""), std::string_view(":\""), std::string_view(", \"")}) {
        const size_t at = part.find(marker);
        if (at != std::string_view::npos)
            return part.substr(0, at);
    }
    return part;
}

// ---- Clauses ------------------------------------------------------------------

// Words a phrase does not end with when it is complete.
constexpr std::array<std::string_view, 55> kOpenEndings = {
    "a",     "an",    "the",   "of",     "to",    "for",    "by",      "with",  "and",     "or",
    "in",    "on",    "at",    "from",   "as",    "into",   "than",    "that",  "which",   "who",
    "whose", "is",    "are",   "was",    "were",  "be",     "been",    "but",   "while",   "through",
    "its",   "their", "his",   "her",    "not",   "any",    "some",    "very",  "so",      "this",
    "these", "those", "my",    "your",   "our",   "would",  "should",  "could", "usually", "often",
    "if",    "because", "before", "after", "until"};
// A clause cut after a number has lost what it counts ("... and usually two").
constexpr std::array<std::string_view, 12> kNumbers = {"one",   "two",   "three", "four", "five",   "six",
                                                       "seven", "eight", "nine",  "ten",  "several", "many"};

// Single words that label a definition rather than give one.
constexpr std::array<std::string_view, 12> kLabels = {
    "quantifier", "informal", "slang",  "colloquial", "archaic",  "obsolete",
    "literary",   "formal",   "plural", "nonstandard", "figurative", "abbreviation"};

// Words that open a clause that only frames the definition ("in Judeo-Christian
// mythology; the first man").
constexpr std::array<std::string_view, 3> kFrames = {"in", "according", "among"};

// A clause a solver can read as the whole definition: not a lone label, not a
// frame, and not cut off after a word that wants more ("use as a basis for").
bool StandsAlone(std::string_view clause)
{
    const std::vector<std::string_view> words = SplitAt(Trim(clause, " ,;:"), ' ');
    if (words.empty())
        return false;
    const std::string last = ToLower(Trim(words.back(), ",;:"));
    if (words.size() == 1)
        return last.size() >= 3 && !OneOf(last, kLabels) && !OneOf(last, kOpenEndings);
    return !OneOf(last, kOpenEndings) && !OneOf(ToLower(words.front()), kFrames);
}

// The text without its parenthesised asides ("(Old Testament)", "(1809-1865)",
// "a (usually rectangular) container"); unchanged when the brackets do not pair.
std::string WithoutAsides(std::string_view text)
{
    std::string plain;
    int depth = 0;
    for (char c : text) {
        if (c == '(') {
            ++depth;
        } else if (c == ')') {
            if (--depth < 0)
                return std::string(text);
        } else if (depth == 0) {
            // Two spaces meet where an aside stood; one is enough.
            if (c == ' ' && (plain.empty() || plain.back() == ' '))
                continue;
            // No space before punctuation: "addition (to); join" -> "addition; join".
            if ((c == ',' || c == ';' || c == ':') && !plain.empty() && plain.back() == ' ')
                plain.pop_back();
            plain += c;
        }
    }
    if (depth != 0)
        return std::string(text);
    return std::string(Trim(plain, " ,;:"));
}

// The first ";" clause that stands on its own, with the clauses before it that do
// not ("use as a basis for; found on" stays whole); then the part before ": " when
// that stands ("feline mammal ...: domestic cats").
std::string FirstClause(std::string_view text)
{
    std::string clause;
    const std::vector<std::string_view> parts = SplitAt(text, ';');
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::string_view part = Trim(parts[i], " ");
        if (part.empty())
            continue;
        // A frame or a note of the sense or its use ("primarily temporal sense",
        // "used of locations") before the definition goes when a definition
        // follows it.
        const std::vector<std::string_view> words = SplitAt(part, ' ');
        constexpr size_t kLongestNote = 3;
        const bool note =
            words.size() <= kLongestNote && (words.back() == "sense" || part.starts_with("used of "));
        if (clause.empty() && i + 1 < parts.size() && (OneOf(ToLower(words.front()), kFrames) || note))
            continue;
        if (!clause.empty())
            clause += "; ";
        clause += part;
        if (StandsAlone(clause))
            break;
    }
    const size_t colon = clause.find(": ");
    if (colon != std::string::npos && StandsAlone(clause.substr(0, colon)))
        clause.resize(colon);
    return clause;
}

constexpr std::array<std::string_view, 3> kConjunctions = {"and", "or", "but"};
constexpr std::array<std::string_view, 6> kRelatives = {"that", "which", "who", "whose", "where", "when"};

// Words that open a clause that explains rather than names.
constexpr std::array<std::string_view, 20> kClauseOpeners = {
    "that",     "which",   "who",       "whose",  "where",  "when",    "while",
    "whereby",  "especially", "usually", "often", "typically", "chiefly", "mainly",
    "mostly",   "including",  "such",    "e.g.",  "esp.",   "except"};
// Participles that open such a clause ("... used to reduce noise").
constexpr std::array<std::string_view, 24> kParticiples = {
    "used",     "made",     "found",   "worn",       "noted",      "located",    "grown",   "known",
    "called",   "derived",  "based",   "held",       "kept",       "caused",     "produced", "associated",
    "formed",   "marked",   "characterized", "considered", "regarded", "designed", "intended", "cultivated"};
// Nouns in -ing that are no participle.
constexpr std::array<std::string_view, 18> kIngNouns = {
    "something", "anything", "nothing", "everything", "building", "clothing",
    "morning",   "evening",  "ceiling", "during",     "wedding",  "offspring",
    "pudding",   "stocking", "lightning", "sibling",   "bearing",  "thing"};

bool OpensClause(std::string_view previous, std::string_view word)
{
    if (!previous.empty() && (previous.back() == ',' || previous.back() == ';'))
        return true;
    const std::string lower = ToLower(Trim(word, ",;:"));
    if (OneOf(lower, kClauseOpeners) || OneOf(lower, kParticiples))
        return true;
    return lower.size() >= 6 && EndsWith(lower, "ing") && !OneOf(lower, kIngNouns);
}

// Whether a cut before words[at], keeping words up to `end`, leaves `prefix` a
// phrase without its end: after a relative ("the sensation that results"), a
// number ("... and usually two"), an adverb, an article and its adjective ("...
// usually having an external"), unpaired brackets ("(used of living things"), in
// the middle of a list ("... from climbing, twining") or of "such ... that"
// ("shaped in such a way"), before a preposition's object ("... moving toward")
// or that of joined participles ("... constituting or resembling"), or before
// the participle after "being" ("not capable of being | used").
bool CutsAPhrase(const std::vector<std::string_view>& words, size_t at, size_t end, const std::string& prefix)
{
    static constexpr std::array<std::string_view, 10> kAdjectiveEndings = {"al", "ous", "ic", "ive", "ful",
                                                                           "ern", "ar", "ent", "ant", "ory"};
    const std::string last = ToLower(words[end - 1]);
    const std::string beforeLast = ToLower(words[end - 2]);
    // Words that lead on to what the cut leaves out.
    static constexpr std::array<std::string_view, 14> kLeadingOn = {
        "to", "toward", "towards", "of", "from", "with", "in", "into", "on", "by", "for", "at", "then", "being"};
    const auto participle = [](const std::string& word) {
        return word.size() >= 6 && EndsWith(word, "ing") && !OneOf(word, kIngNouns);
    };
    const bool joinedParticiples =
        participle(last) && (OneOf(beforeLast, kConjunctions) || (end < at && participle(ToLower(words[at]))));
    if (OneOf(beforeLast, kRelatives) || OneOf(last, kNumbers) || (last.size() > 4 && EndsWith(last, "ly")) ||
        OneOf(last, kLeadingOn) || joinedParticiples)
        return true;
    const bool adjective = !IsUpperLetter(words[end - 1][0]) &&
                           std::any_of(kAdjectiveEndings.begin(), kAdjectiveEndings.end(),
                                       [&](std::string_view ending) { return EndsWith(last, ending); });
    // Nor between an article's word and the participle that goes with it too ("make
    // a sharp | hissing sound"; not "a rabbit | having a divided upper lip").
    const bool article = beforeLast == "a" || beforeLast == "an" || beforeLast == "the";
    const auto withNoun = [&] {
        if (end != at || at + 1 >= words.size() || !participle(ToLower(words[at])) || IsUpperLetter(words[end - 1][0]))
            return false;
        const std::string next = ToLower(words[at + 1]);
        // What follows a participle that is a verb: its object or a preposition.
        static constexpr std::array<std::string_view, 12> kAfterVerb = {
            "a", "an", "the", "through", "over", "under", "along", "between", "around", "across", "about", "as"};
        return !OneOf(next, kAfterVerb) && !OneOf(next, kLeadingOn);
    };
    // An adjective joined to what follows ("a circumscribed inflammatory | and often
    // suppurating lesion") wants its noun too.
    if ((article && (adjective || withNoun())) || (adjective && end < at))
        return true;
    if (std::count(prefix.begin(), prefix.end(), '(') != std::count(prefix.begin(), prefix.end(), ')'))
        return true;
    const size_t comma = prefix.rfind(", ");
    if (comma != std::string::npos && prefix.find(' ', comma + 2) == std::string::npos)
        return true;
    if (ToLower(words[at]) == "that")
        for (size_t k = end >= 4 ? end - 4 : 0; k < end; ++k)
            if (ToLower(words[k]) == "such" || ToLower(words[k]) == "so" || ToLower(words[k]) == "fact")
                return true;
    return false;
}

// A clause longer than kClauseLength, cut to the longest of its shorter clauses
// that fits ("similar to a xylophone but" loses its "but"; "a coarse vine widely"
// is no phrase).
std::string CutToClueLength(const std::string& clause)
{
    if (clause.size() <= kClauseLength)
        return clause;
    std::vector<std::string> cuts = ShorterClauses(clause);
    // Where no cut leaves room for a form's note, one that fits without it is
    // still a clue (the list is longest first, so the shortest is last).
    for (size_t limit : {kClauseLength, kClueLength})
        for (std::string& shorter : cuts)
            if (shorter.size() <= limit)
                return std::move(shorter);
    // Last, what the clause is for or with: "an annual award by the Academy of
    // Motion Picture Arts and Sciences" of "... for achievements in ...".
    const std::vector<std::string_view> words = SplitAt(clause, ' ');
    for (size_t i = words.size(); i-- > 3;) {
        if (words[i] != "for" && words[i] != "with")
            continue;
        std::string prefix = std::string(Trim(Join(words, i), " ,;:"));
        if (prefix.size() <= kClauseLength && StandsAlone(prefix) && !CutsAPhrase(words, i, i, prefix))
            return prefix;
    }
    return clause;
}

// ---- Verb forms ---------------------------------------------------------------

bool IsVowel(char c)
{
    return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u';
}

// Words that go with a verb: particles ("carry out") and the objects that follow
// a verb in a definition ("take a course").
constexpr std::array<std::string_view, 9> kParticles = {"out", "up", "off", "down", "in", "on", "away", "back", "over"};
constexpr std::array<std::string_view, 16> kObjects = {"a", "an", "the", "one's", "oneself", "something",
                                                       "somebody", "someone", "it", "them", "all", "its",
                                                       "their", "his", "her", "some"};

constexpr std::array<std::string_view, 6> kEndingPrepositions = {"from", "of", "with", "to", "for", "into"};

bool IsAdverb(std::string_view word)
{
    return word.size() > 4 && EndsWith(word, "ly") && word != "apply" && word != "rely" && word != "supply" &&
           word != "reply" && word != "fly" && word != "bully" && word != "rally" && word != "tally";
}

} // namespace

std::string CleanGloss(std::string_view gloss)
{
    std::string text;
    size_t at = 0;
    while (at <= gloss.size()) {
        size_t end = gloss.find(';', at);
        if (end == std::string_view::npos)
            end = gloss.size();
        std::string_view part = Trim(gloss.substr(at, end - at), " \t\r;");
        at = end + 1;
        if (part.empty() || part.front() == '"')
            continue;
        // A later part with an unpaired quote is an example whose opening quote
        // WordNet lost ("...; he didn't sink a single putt over three feet\"").
        if (!text.empty() && std::count(part.begin(), part.end(), '"') % 2 != 0)
            continue;
        part = Trim(CutRunOnExample(part), " \t\r;:,");
        if (part.empty())
            continue;
        if (!text.empty())
            text += "; ";
        text += part;
    }
    // WordNet quotes a word `so'; a player reads 'so'.
    std::replace(text.begin(), text.end(), '`', '\'');
    return text;
}

std::string QuotedExamples(std::string_view gloss)
{
    std::string examples;
    for (size_t open = gloss.find('"'); open != std::string_view::npos;) {
        const size_t close = gloss.find('"', open + 1);
        examples.append(gloss.substr(open + 1, close == std::string_view::npos ? close : close - open - 1));
        examples += ' ';
        open = close == std::string_view::npos ? close : gloss.find('"', close + 1);
    }
    return examples;
}

std::string ClueClause(std::string_view definition)
{
    std::string clause = FirstClause(WithoutAsides(definition));
    // An aside the clause needs stays: "go through (mental or physical states)";
    // one too long to be a clue does not ("(used of living things especially
    // persons) in an early period of life ..." for YOUNG).
    if (!StandsAlone(clause)) {
        std::string whole = FirstClause(Trim(definition, " "));
        const std::vector<std::string_view> words = SplitAt(clause, ' ');
        const bool onlyFramed = !words.empty() && !OneOf(ToLower(Trim(words.back(), ",;:")), kOpenEndings);
        if ((StandsAlone(whole) && (whole.size() <= kClauseLength || !onlyFramed)) || clause.empty())
            clause = std::move(whole);
    }
    if (clause.empty())
        return std::string(definition);
    // "informal terms for a mother" clues one word: "informal term for a mother";
    // so do "street names for marijuana".
    for (std::string_view plural : {"terms for ", "names for "}) {
        const size_t at = clause.find(plural);
        if (at != std::string::npos && (at == 0 || clause[at - 1] == ' ') &&
            std::count(clause.begin(), clause.begin() + static_cast<std::ptrdiff_t>(at), ' ') <= 3)
            clause.erase(at + 4, 1);
    }
    return CutToClueLength(clause);
}

std::vector<std::string> ShorterClauses(std::string_view clause)
{
    const std::vector<std::string_view> words = SplitAt(clause, ' ');
    std::vector<std::string> cuts;
    for (size_t i = 3; i < words.size(); ++i) {
        if (!OpensClause(words[i - 1], words[i]))
            continue;
        size_t end = i;
        while (end > 3 && OneOf(ToLower(Trim(words[end - 1], ",;:")), kConjunctions))
            --end;
        std::string prefix = std::string(Trim(Join(words, end), " ,;:"));
        if (StandsAlone(prefix) && !CutsAPhrase(words, i, end, prefix) && (cuts.empty() || cuts.back() != prefix))
            cuts.push_back(std::move(prefix));
    }
    std::reverse(cuts.begin(), cuts.end());
    return cuts;
}

std::vector<std::string> ClueClauses(std::string_view definition)
{
    std::vector<std::string> clauses{ClueClause(definition)};
    for (size_t at = definition.find("; "); at != std::string_view::npos; at = definition.find("; ", at + 2)) {
        std::string clause = ClueClause(definition.substr(at + 2));
        if (std::find(clauses.begin(), clauses.end(), clause) == clauses.end())
            clauses.push_back(std::move(clause));
    }
    return clauses;
}

std::string ThirdPerson(std::string_view verb)
{
    if (verb == "be")
        return "is";
    if (verb == "have")
        return "has";
    std::string form(verb);
    if (verb.empty())
        return form;
    const char last = verb.back();
    const char before = verb.size() >= 2 ? verb[verb.size() - 2] : 'a';
    if (last == 's' || last == 'x' || last == 'z' || EndsWith(verb, "ch") || EndsWith(verb, "sh") ||
        (last == 'o' && !IsVowel(before)))
        return form + "es";
    if (last == 'y' && !IsVowel(before)) {
        form.pop_back();
        return form + "ies";
    }
    return form + "s";
}

std::string ThirdPersonDefinition(std::string_view definition, const VerbForm& thirdPerson)
{
    // Changes words[at] when it is a verb; a trailing comma or semicolon stays.
    auto change = [&](std::vector<std::string>& words, size_t at) {
        std::string& word = words[at];
        const size_t end = word.find_last_not_of(",;:");
        const std::string core = word.substr(0, end + 1);
        const std::optional<std::string> form = thirdPerson(core);
        if (!form)
            return false;
        word = *form + word.substr(end + 1);
        return true;
    };
    std::vector<std::string> words;
    for (std::string_view word : SplitAt(definition, ' '))
        words.emplace_back(word);
    if (words.size() > 1 && words[0] == "to" && thirdPerson(Trim(words[1], ",;:")))
        words.erase(words.begin());

    // Each comma-separated phrase that starts with a verb; once the first phrase
    // does not, the definition is no list of verb phrases and stays as it is.
    size_t at = 0;
    bool first = true;
    while (at < words.size()) {
        if (!first && (words[at] == "or" || words[at] == "and") && at + 1 < words.size())
            ++at;
        while (at + 1 < words.size() && IsAdverb(words[at]))
            ++at;
        // A phrase of comparison ("shine brightly, like a star") has no verb.
        if ((!first && words[at] == "like") || !change(words, at))
            break;
        // The verbs joined to this one by "or" agree too: "feel or suffer from",
        // "carry out or perform", "follow a procedure or take a course"; but not a
        // word that only follows another verb ("cause to move or shift").
        for (size_t j = at + 1; j + 1 < words.size() && words[j - 1].back() != ',' && words[j - 1].back() != ';';
             ++j) {
            if (words[j] != "or" && words[j] != "and")
                continue;
            // A phrase that ends on its preposition ("remove the moisture from and
            // make dry") is a verb's, and so is what is joined to it.
            // So is a verb after a verb and its one word, where more follows that
            // is no "to" ("make better or improve in quality", "hold fast or
            // prevent from moving"; but "feel concern or interest", "give trouble
            // or pain to").
            const bool joinedAfterOne = j == at + 2 && words[at + 1] != "to" && j + 2 < words.size() &&
                                        words[j + 1].back() != ',' && words[j + 2] != "to";
            // And "be" after anything but an infinitive ("make a mistake or be
            // incorrect"; but "cause to move or be moved").
            const bool joinedBe = words[j + 1] == "be" && words[at + 1] != "to";
            const bool joined = j == at + 1 || (j == at + 2 && OneOf(words[at + 1], kParticles)) || joinedAfterOne ||
                                joinedBe ||
                                (j + 2 < words.size() && OneOf(words[j + 2], kObjects)) ||
                                (j + 3 < words.size() && OneOf(words[j + 2], kParticles) &&
                                 OneOf(words[j + 3], kObjects)) ||
                                OneOf(words[j - 1], kEndingPrepositions);
            if (joined && change(words, j + 1))
                at = j + 1;
        }
        first = false;
        while (at < words.size() && words[at].back() != ',' && words[at].back() != ';')
            ++at;
        ++at;
    }
    std::string text;
    for (const std::string& word : words) {
        if (!text.empty())
            text += ' ';
        text += word;
    }
    return text;
}

std::string SingularHead(std::string_view clue, const VerbForm& singular)
{
    static constexpr std::array<std::string_view, 30> kDeterminers = {
        "a",    "an",    "the",      "any",   "one",      "some",       "each",     "every", "this",    "that",
        "these", "those", "either",  "neither", "someone", "something", "anything", "all",   "both",    "several",
        "many", "few",   "most",     "more",  "no",       "his",        "her",      "its",   "their",   "(plural)"};
    static constexpr std::array<std::string_view, 30> kEnds = {
        "of",    "in",      "on",     "with",   "for",     "from",   "by",      "to",    "at",     "into",
        "onto",  "over",    "under",  "around", "about",   "between", "among",  "through", "across", "against",
        "along", "within",  "without", "near",  "after",   "before", "like",    "as",    "than",   "is"};
    const std::vector<std::string_view> words = SplitAt(clue, ' ');
    if (words.empty() || OneOf(ToLower(words[0]), kDeterminers) || OneOf(ToLower(words[0]), kNumbers) ||
        clue.find(" as a group") != std::string_view::npos || clue.find("collectively") != std::string_view::npos)
        return std::string(clue);
    size_t head = 0;
    for (; head < words.size(); ++head) {
        const std::string word = ToLower(Trim(words[head], ",;:"));
        if (head > 0 && (OneOf(word, kEnds) || OneOf(word, kRelatives) || OneOf(word, kConjunctions) ||
                         OneOf(word, kParticiples) ||
                         (word.size() >= 5 && word.find('-') == std::string::npos &&
                          (EndsWith(word, "ing") || EndsWith(word, "ed"))))) {
            --head;
            break;
        }
        if (words[head].back() == ',' || words[head].back() == ';')
            break;
    }
    if (head >= words.size())
        head = words.size() - 1;
    if (head + 1 < words.size() && words[head].back() != ',') {
        const std::string next = ToLower(words[head + 1]);
        if (OneOf(next, kConjunctions) || OneOf(next, kRelatives))
            return std::string(clue);
    }
    const std::string_view bare = Trim(words[head], ",;:");
    const std::optional<std::string> one = singular(bare);
    if (!one)
        return std::string(clue);
    std::string text;
    for (size_t i = 0; i < words.size(); ++i) {
        if (i > 0)
            text += ' ';
        text += i == head ? *one + std::string(words[i].substr(bare.size())) : std::string(words[i]);
    }
    return text;
}

} // namespace pelorin
