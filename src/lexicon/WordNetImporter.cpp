#include "lexicon/WordNetImporter.h"

#include "foundation/Notifier.h"
#include "foundation/StoredValues.h"
#include "foundation/TextUtil.h"
#include "lexicon/FirstSenses.h"
#include "lexicon/GlossText.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace pelorin {

namespace {

// WordNet's parts of speech in the order of its files; ties in dominance go to
// the earlier one.
enum PartOfSpeech : int { kNoun, kVerb, kAdjective, kAdverb, kPartCount };
constexpr std::array<const char*, kPartCount> kPartFileNames = {"noun", "verb", "adj", "adv"};

// Spellings WordNet holds that a reader of today takes for no word at all.
constexpr std::array<std::string_view, 8> kArchaicSpellings = {"agone",    "ain",  "carcase", "carven",
                                                                "phantasy", "rase", "shew",    "spue"};
// Latin that WordNet lists as English adverbs.
constexpr std::array<std::string_view, 2> kLatinWords = {"ibidem", "non"};

// A derivationally related form ("+" pointer): word `word` (from 1) of the synset
// at `offset` in the data file of `pos`.
struct DerivedLink {
    uint32_t offset = 0;
    int pos = 0;
    size_t word = 0;
};

// One sense of a lemma, with what its synset says about the lemma.
struct Sense {
    uint32_t offset = 0;
    int32_t order = 0;     // WordNet's sense order: by tagged uses, arbitrary when untagged
    int64_t tagCount = 0;  // tagged uses in the semantic concordance (cntlist.rev)
    bool found = false;    // the synset was read
    bool lowerCase = false;    // the synset spells the lemma in lower case (not only a name)
    bool firstMember = false;  // the lemma is the synset's first word: what it is chiefly called
    bool abbreviation = false; // spelled only as an abbreviation there (IRS, DoS)
    bool instance = false;     // a particular person, place or thing
    bool numeral = false;      // a number (the synset lists "4" or "41")
    bool taxon = false;        // a genus or family name (ARA, "macaws"): Latin, no word
    bool uncountable = false;  // a feeling, state, attribute or substance: a noun with no plural in this sense
    bool organism = false;     // an animal, a plant or a part of a body, kinds WordNet may gloss by their members
    int32_t pointers = 0;      // how linked the synset is
    std::vector<std::string> synonyms; // the synset's other words, spaces for "_"
    std::vector<DerivedLink> derived;  // the lemma's derivationally related words
    std::string gloss;                 // the definition, examples removed
    std::string examples;              // a verb's quoted examples, lower case: the forms in use

    bool Tagged() const { return tagCount > 0; }
};

struct Gloss {
    int32_t rank = 0;
    uint32_t offset = 0;
    std::string text;
    bool uncountable = false; // the sense's noun has no plural
};

struct PartSenses {
    std::vector<Sense> senses;       // best first, once ordered
    std::vector<Gloss> definitions;  // ranked, once the families are known
    int64_t tagTotal = 0;
    int64_t cleanTags = 0;           // the tagged uses of senses that clue the word fairly
    // Some sense spells the lemma in lower case, so it is not only a name; this
    // decides which plurals a noun gets.
    bool common = false;
    // Some sense is no name of a particular person or place, so the word takes
    // inflections.
    bool inflectable = false;
    // Some sense's synset is chiefly called by the word (its first word), rather
    // than the word being another name for it.
    bool named = false;
    // Where the list of first senses names a sense of this part: the entry's place
    // among the lemma's entries, the first one leading the parts of speech.
    std::optional<size_t> listed;
};

struct Lemma {
    std::array<PartSenses, kPartCount> parts;
    // Words of its family that WordNet links to it (ANGRY: anger), lower case.
    std::vector<std::string> related;
    // Words the list of first senses names as of its family (LEPER: leprosy).
    std::vector<std::string> kin;

    bool Has(int pos) const { return !parts[pos].senses.empty(); }
    int64_t TagTotal() const
    {
        int64_t total = 0;
        for (const PartSenses& part : parts)
            total += part.tagTotal;
        return total;
    }
    bool Listed() const
    {
        return std::any_of(parts.begin(), parts.end(), [](const PartSenses& part) { return part.listed.has_value(); });
    }
    size_t SenseCount() const
    {
        size_t total = 0;
        for (const PartSenses& part : parts)
            total += part.senses.size();
        return total;
    }
    bool Common() const
    {
        return std::any_of(parts.begin(), parts.end(), [](const PartSenses& part) { return part.common; });
    }
};

// Keyed by the lower-case lemma; letters-only lemmas sort the same in lower and
// upper case, so map order is table order.
using LemmaMap = std::map<std::string, Lemma, std::less<>>;

// The inflections the table holds. A verb's "-s" form has no form code of its own
// (it is a plain word to the clue list), so its definitions are made to agree
// with it instead; "am" and "are" (kPresent) are plain words too, and agree with
// the definitions as they stand.
enum class InflectionKind : int { kPlural, kPast, kDoing, kThird, kPresent };

int32_t FormCode(InflectionKind kind)
{
    switch (kind) {
    case InflectionKind::kPlural: return kFormPlural;
    case InflectionKind::kPast: return kFormPast;
    case InflectionKind::kDoing: return kFormDoing;
    case InflectionKind::kThird:
    case InflectionKind::kPresent: return kFormPlain;
    }
    return kFormPlain;
}

struct Inflection {
    std::string base;
    InflectionKind kind = InflectionKind::kPlural;
    int pos = kNoun;
    bool fromException = false;
    int64_t baseTags = 0; // the base's tagged uses in this part of speech
    bool listed = false;  // the list of first senses makes the base's part of speech lead
    // The base's senses (synset offsets) the form clues, where not all: LIED is the
    // past of lie only as "tell an untruth".
    std::vector<uint32_t> senses;
    // The sense a solver reads this form as first, where it is not the base's
    // first (ASHES, the residue): its synset offset, or 0.
    uint32_t firstSense = 0;
};

// Whether a list of senses (synset offsets) holds a sense; an empty one holds all.
bool Covers(const std::vector<uint32_t>& senses, uint32_t offset)
{
    return senses.empty() || std::ranges::find(senses, offset) != senses.end();
}

using InflectionMap = std::map<std::string, Inflection, std::less<>>;
// The readings a spelling lost to the one it went to (SAWS, the plural of the noun
// saw, beside the verb's "-s" form), best first.
using RivalMap = std::map<std::string, std::vector<Inflection>, std::less<>>;

// ---- Text helpers ----------------------------------------------------------

bool IsLetterWord(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), IsAsciiLetter);
}

char ToLowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string ToLower(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = ToLowerAscii(c);
    return lower;
}

bool EndsWith(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

bool IsVowel(char c)
{
    return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u';
}

void SplitWords(std::string_view line, std::vector<std::string_view>& tokens)
{
    tokens.clear();
    size_t at = 0;
    while (at < line.size()) {
        const size_t start = line.find_first_not_of(" \t\r", at);
        if (start == std::string_view::npos)
            break;
        size_t end = line.find_first_of(" \t\r", start);
        if (end == std::string_view::npos)
            end = line.size();
        tokens.push_back(line.substr(start, end - start));
        at = end;
    }
}

template <typename Number>
bool ParseNumber(std::string_view text, Number& value, int base = 10)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return error == std::errc() && end == text.data() + text.size();
}

template <typename Visit>
void ForEachLine(std::string_view content, Visit visit)
{
    size_t at = 0;
    while (at < content.size()) {
        size_t end = content.find('\n', at);
        if (end == std::string_view::npos)
            end = content.size();
        visit(content.substr(at, end - at));
        at = end + 1;
    }
}

// ---- Regular English inflection ---------------------------------------------
// WordNet's exception lists hold the irregular forms, doubled consonants included
// (hopped, hopping), so these rules only need the regular endings.

std::string RegularPlural(std::string_view noun, const LemmaMap& lemmas)
{
    std::string plural(noun);
    if (EndsWith(noun, "man") && noun.size() > 3) {
        // Compounds of "man" (chairman, fireman, woman) take "men"; words that
        // merely end in the letters (human, shaman, talisman) take "s".
        const std::string_view prefix = noun.substr(0, noun.size() - 3);
        if (prefix == "wo" || (prefix.size() >= 2 && lemmas.count(prefix) > 0)) {
            plural[plural.size() - 2] = 'e';
            return plural;
        }
    }
    if (EndsWith(noun, "s") || EndsWith(noun, "x") || EndsWith(noun, "z") || EndsWith(noun, "ch") ||
        EndsWith(noun, "sh"))
        return plural + "es";
    if (noun.size() >= 2 && noun.back() == 'y' && !IsVowel(noun[noun.size() - 2])) {
        plural.pop_back();
        return plural + "ies";
    }
    return plural + "s";
}

std::string RegularPast(std::string_view verb)
{
    std::string past(verb);
    if (EndsWith(verb, "e"))
        return past + "d";
    if (verb.size() >= 2 && verb.back() == 'y' && !IsVowel(verb[verb.size() - 2])) {
        past.pop_back();
        return past + "ied";
    }
    return past + "ed";
}

std::string RegularDoing(std::string_view verb)
{
    std::string doing(verb);
    if (EndsWith(verb, "ie") && verb.size() > 2) {
        doing.resize(doing.size() - 2);
        return doing + "ying";
    }
    // make -> making, but see -> seeing, hoe -> hoeing, be -> being.
    if (EndsWith(verb, "e") && verb.size() > 2 && !EndsWith(verb, "ee") && !EndsWith(verb, "oe") &&
        !EndsWith(verb, "ye")) {
        doing.pop_back();
        return doing + "ing";
    }
    return doing + "ing";
}

// ---- Reading WordNet --------------------------------------------------------

class Reader {
public:
    explicit Reader(std::string folder) : folder_(std::move(folder)) {}

    bool ReadFile(const char* name, std::string& content)
    {
        const std::string path = JoinPath(folder_, name);
        content.clear();
        FilePtr file = OpenFile(path, "rb");
        if (!file) {
            error_ = Format("%s: %s", path.c_str(), std::strerror(errno));
            return false;
        }
        char buffer[1 << 16];
        size_t got = 0;
        while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
            content.append(buffer, got);
        if (std::ferror(file.get())) {
            error_ = Format("%s: %s", path.c_str(), std::strerror(errno));
            return false;
        }
        return true;
    }

    const std::string& Error() const { return error_; }

private:
    std::string folder_;
    std::string error_;
};

// index.<pos>: "lemma pos synset_cnt p_cnt [ptr_symbol...] sense_cnt tagsense_cnt
// synset_offset..." with the offsets in sense order. Lines that start with spaces
// are the licence; lemmas with anything but letters are no crossword words.
void ReadIndex(std::string_view content, int pos, LemmaMap& lemmas)
{
    std::vector<std::string_view> tokens;
    ForEachLine(content, [&](std::string_view line) {
        if (line.empty() || line.front() == ' ')
            return;
        SplitWords(line, tokens);
        if (tokens.size() < 6 || !IsLetterWord(tokens[0]))
            return;
        size_t synsetCount = 0;
        size_t pointerCount = 0;
        if (!ParseNumber(tokens[2], synsetCount) || !ParseNumber(tokens[3], pointerCount))
            return;
        const size_t first = 4 + pointerCount + 2; // pointers, sense_cnt, tagsense_cnt
        if (first > tokens.size() || tokens.size() - first < synsetCount)
            return;
        std::vector<Sense> senses(synsetCount);
        for (size_t i = 0; i < synsetCount; ++i) {
            senses[i].order = static_cast<int32_t>(i);
            if (!ParseNumber(tokens[first + i], senses[i].offset))
                return;
        }
        lemmas[ToLower(tokens[0])].parts[pos].senses = std::move(senses);
    });
}

// cntlist.rev: "sense_key sense_number tag_cnt", sense_key "lemma%ss_type:...",
// sense_number counting from 1 in the order of the index file's offsets.
void ReadTagCounts(std::string_view content, LemmaMap& lemmas)
{
    std::vector<std::string_view> tokens;
    ForEachLine(content, [&](std::string_view line) {
        SplitWords(line, tokens);
        if (tokens.size() < 3)
            return;
        const size_t percent = tokens[0].find('%');
        if (percent == std::string_view::npos || percent + 1 >= tokens[0].size())
            return;
        int pos = -1;
        switch (tokens[0][percent + 1]) {
        case '1': pos = kNoun; break;
        case '2': pos = kVerb; break;
        case '3':
        case '5': pos = kAdjective; break; // 5: adjective satellite
        case '4': pos = kAdverb; break;
        default: return;
        }
        size_t senseNumber = 0;
        int64_t tagCount = 0;
        if (!ParseNumber(tokens[1], senseNumber) || !ParseNumber(tokens[2], tagCount) || tagCount < 0)
            return;
        const auto found = lemmas.find(ToLower(tokens[0].substr(0, percent)));
        if (found == lemmas.end())
            return;
        PartSenses& part = found->second.parts[pos];
        if (senseNumber < 1 || senseNumber > part.senses.size())
            return;
        part.senses[senseNumber - 1].tagCount += tagCount;
    });
}

// data.<pos>: one synset a line, "offset lex_filenum ss_type w_cnt word lex_id ...
// | gloss". The offsets the index names are byte positions, but the lines are
// looked up by their own offset field so a re-packed file still reads right.
class SynsetFile {
public:
    void Index(std::string content)
    {
        content_ = std::move(content);
        lines_.clear();
        ForEachLine(content_, [&](std::string_view line) {
            if (line.empty() || line.front() == ' ')
                return;
            uint32_t offset = 0;
            if (ParseNumber(line.substr(0, line.find(' ')), offset))
                lines_.emplace(offset, line);
        });
    }

    std::optional<std::string_view> Line(uint32_t offset) const
    {
        const auto found = lines_.find(offset);
        if (found == lines_.end())
            return std::nullopt;
        return found->second;
    }

private:
    std::string content_;
    std::unordered_map<uint32_t, std::string_view> lines_;
};

// ---- Synsets -------------------------------------------------------------------

// A word of a synset line without the syntactic marker adjectives may carry:
// "big(a)", "galore(ip)".
std::string_view SynsetWord(std::string_view token)
{
    return token.substr(0, token.find('('));
}

// The part of speech a data file's symbol (or a list of first senses' letter)
// names, or -1.
int PartOfSpeechOf(std::string_view symbol)
{
    if (symbol == "n")
        return kNoun;
    if (symbol == "v")
        return kVerb;
    if (symbol == "a" || symbol == "s")
        return kAdjective;
    return symbol == "r" ? kAdverb : -1;
}

// A "+" pointer's "offset pos source/target" that starts at the lemma's word.
void AddDerivedLink(std::span<const std::string_view> fields, size_t lemmaNumber, Sense& sense)
{
    DerivedLink link;
    uint32_t words = 0;
    link.pos = PartOfSpeechOf(fields[1]);
    if (lemmaNumber == 0 || link.pos < 0 || !ParseNumber(fields[0], link.offset) ||
        !ParseNumber(fields[2], words, 16) || words >> 8 != lemmaNumber)
        return;
    link.word = words & 0xFF;
    sense.derived.push_back(link);
}

// What a synset line says about one of its words: "offset lex_filenum ss_type w_cnt
// [word lex_id]... p_cnt [symbol offset pos source/target]... | gloss".
void ReadSense(std::string_view line, std::string_view lemma, Sense& sense, std::vector<std::string_view>& tokens)
{
    const size_t bar = line.find(" | ");
    SplitWords(line.substr(0, bar), tokens);
    size_t wordCount = 0;
    if (tokens.size() < 4 || !ParseNumber(tokens[3], wordCount, 16))
        return;
    sense.found = true;
    // The lexicographer files of nouns that name a feeling (shame), a state
    // (dishonour), an attribute (secrecy) or a substance (LAND as soil): uses a
    // plural does not have.
    constexpr std::array<int, 4> kUncountableFiles = {7, 12, 26, 27};
    int lexFile = -1;
    sense.uncountable = tokens[2] == "n" && ParseNumber(tokens[1], lexFile) &&
                        std::ranges::find(kUncountableFiles, lexFile) != kUncountableFiles.end();
    // noun.animal, noun.body and noun.plant.
    constexpr std::array<int, 3> kOrganismFiles = {5, 8, 20};
    sense.organism = tokens[2] == "n" && std::ranges::find(kOrganismFiles, lexFile) != kOrganismFiles.end();
    bool spelled = false;          // the synset spells the lemma at all
    bool spelledOtherwise = false; // ... and not only as an abbreviation
    size_t lemmaNumber = 0;        // the lemma's word number in the synset, from 1
    for (size_t i = 0; i < wordCount && 4 + 2 * i < tokens.size(); ++i) {
        std::string_view word = SynsetWord(tokens[4 + 2 * i]);
        if (!word.empty() && std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; }))
            sense.numeral = true;
        const std::string lower = ToLower(word);
        if (lower != lemma) {
            // Ara and genus_Ara, Hominidae and family_Hominidae: a taxon's Latin name.
            for (std::string_view rank : {"genus_", "family_"})
                if (lower.size() > rank.size() && lower.compare(0, rank.size(), rank) == 0 &&
                    lower.substr(rank.size()) == lemma)
                    sense.taxon = true;
            std::string synonym(word);
            std::replace(synonym.begin(), synonym.end(), '_', ' ');
            sense.synonyms.push_back(std::move(synonym));
            continue;
        }
        spelled = true;
        if (lemmaNumber == 0)
            lemmaNumber = i + 1;
        if (i == 0)
            sense.firstMember = true;
        if (word == lemma) {
            sense.lowerCase = true;
            continue;
        }
        const auto capitals = std::count_if(word.begin(), word.end(), IsUpperLetter);
        const auto small = static_cast<std::ptrdiff_t>(word.size()) - capitals;
        if (capitals < 2 || capitals < small)
            spelledOtherwise = true;
    }
    sense.abbreviation = spelled && !sense.lowerCase && !spelledOtherwise;
    const size_t pointersAt = 4 + 2 * wordCount;
    if (pointersAt < tokens.size() && ParseNumber(tokens[pointersAt], sense.pointers)) {
        for (size_t p = 0; p < static_cast<size_t>(sense.pointers) && pointersAt + 4 + 4 * p < tokens.size(); ++p) {
            const std::string_view symbol = tokens[pointersAt + 1 + 4 * p];
            if (symbol == "@i")
                sense.instance = true;
            if (symbol == "+")
                AddDerivedLink(std::span(tokens).subspan(pointersAt + 2 + 4 * p, 3), lemmaNumber, sense);
        }
    }
    if (bar == std::string_view::npos)
        return;
    const std::string_view gloss = line.substr(bar + 3);
    sense.gloss = CleanGloss(gloss);
    if (tokens[2] == "v")
        sense.examples = ToLower(QuotedExamples(gloss));
}

// A gloss that calls its word one of another language or land: "(Latin) year" for
// ANNUM, "South African term for `boss'" for BAAS. Names are no such words ("Muslim
// name for the one and only God").
bool IsForeignTermGloss(std::string_view gloss)
{
    if (gloss.starts_with("(Latin)"))
        return true;
    size_t at = 0;
    while (at < gloss.size() && IsUpperLetter(gloss[at])) {
        const size_t space = gloss.find(' ', at);
        if (space == std::string_view::npos)
            return false;
        at = space + 1;
    }
    const std::string_view rest = gloss.substr(at);
    return at > 0 && (rest.starts_with("term for ") || rest.starts_with("word for "));
}

// A sense that would bring a non-word into the grid: an abbreviation, a roman
// numeral, an archaic spelling, a word of another language that English writing
// does not use (untagged: BAAS, ANNUM; NON), or the Latin name of a constellation
// that no text uses (ARA, "a constellation in the southern hemisphere near
// Telescopium and Norma").
bool IsNonWordSense(std::string_view lemma, const Sense& sense)
{
    if (!sense.found || sense.gloss.empty() || sense.abbreviation || sense.taxon)
        return true;
    constexpr size_t kConstellationAt = 10; // "a faint constellation"
    if (!sense.Tagged() && (IsForeignTermGloss(sense.gloss) || sense.gloss.find("constellation") <= kConstellationAt))
        return true;
    if (sense.numeral && IsRomanNumeral(lemma))
        return true;
    return std::find(kArchaicSpellings.begin(), kArchaicSpellings.end(), lemma) != kArchaicSpellings.end() ||
           std::find(kLatinWords.begin(), kLatinWords.end(), lemma) != kLatinWords.end();
}

// Senses in the order a solver expects them. Common senses come before the ones
// that only a name or a symbol spells so (TOM, SAT); tagged senses go by use, as
// WordNet orders them, and of equal use the sense the word chiefly names (is the
// synset's first word) leads (PULSE the heartbeat, not the electronic pulse).
// WordNet's order of untagged senses means nothing, so they go by evidence: the
// sense that the word chiefly names (the bird for EMU, not the unit it
// abbreviates), then the more linked synset (the fish for TUNA, not a cactus of
// Jamaica).
void OrderSenses(std::vector<Sense>& senses)
{
    std::stable_sort(senses.begin(), senses.end(), [](const Sense& a, const Sense& b) {
        if (a.lowerCase != b.lowerCase)
            return a.lowerCase;
        if (a.Tagged() != b.Tagged())
            return a.Tagged();
        if (a.Tagged()) {
            if (a.tagCount != b.tagCount)
                return a.tagCount > b.tagCount;
            if (a.firstMember != b.firstMember)
                return a.firstMember;
            return a.order < b.order;
        }
        if (a.firstMember != b.firstMember)
            return a.firstMember;
        if (a.pointers != b.pointers)
            return a.pointers > b.pointers;
        return a.order < b.order;
    });
}

// Drops the non-word senses, orders the rest and sums up each part of speech; a
// lemma left without senses is no word.
void SettleSenses(LemmaMap& lemmas)
{
    for (auto& [word, lemma] : lemmas) {
        for (PartSenses& part : lemma.parts) {
            std::erase_if(part.senses, [&](const Sense& sense) { return IsNonWordSense(word, sense); });
            OrderSenses(part.senses);
            part.tagTotal = 0;
            for (const Sense& sense : part.senses) {
                part.tagTotal += sense.tagCount;
                part.common = part.common || sense.lowerCase;
                part.named = part.named || sense.firstMember;
                // WordNet marks a few common nouns as instances too (isle):
                // only a capitalised instance is the name of someone or somewhere.
                part.inflectable = part.inflectable || !sense.instance || sense.lowerCase;
            }
        }
    }
    std::erase_if(lemmas, [](const auto& entry) { return entry.second.SenseCount() == 0; });
}

// ---- A solver's first senses ------------------------------------------------

// The sense of a part of speech whose gloss opens with the words.
std::optional<size_t> SenseOpening(const PartSenses& part, std::string_view opening)
{
    for (size_t i = 0; i < part.senses.size(); ++i)
        if (part.senses[i].gloss.starts_with(opening))
            return i;
    return std::nullopt;
}

// Puts the senses the list names first in their lemmas' parts of speech, the part
// of a lemma's first entry leading the others. The entries that name no sense of
// a lemma are returned.
std::vector<FirstSense> PutFirstSenses(std::span<const FirstSense> entries, LemmaMap& lemmas)
{
    std::vector<FirstSense> rest;
    for (const FirstSense& entry : entries) {
        const auto found = lemmas.find(entry.word);
        const int pos = PartOfSpeechOf({&entry.part, 1});
        PartSenses* part = found != lemmas.end() ? &found->second.parts[pos] : nullptr;
        const std::optional<size_t> sense = part ? SenseOpening(*part, entry.opening) : std::nullopt;
        if (!sense) {
            rest.push_back(entry);
            continue;
        }
        const auto at = part->senses.begin() + static_cast<std::ptrdiff_t>(*sense);
        std::rotate(part->senses.begin(), at, at + 1);
        if (!part->listed)
            part->listed = std::count_if(found->second.parts.begin(), found->second.parts.end(),
                                         [](const PartSenses& other) { return other.listed.has_value(); });
    }
    return rest;
}

// Puts the senses the list names first in a plural's own reading (ASHES, the
// residue). The entries that name no sense of a plural's base are returned.
std::vector<FirstSense> PutFirstPluralSenses(std::span<const FirstSense> entries, const LemmaMap& lemmas,
                                             InflectionMap& forms)
{
    std::vector<FirstSense> rest;
    for (const FirstSense& entry : entries) {
        const int pos = PartOfSpeechOf({&entry.part, 1});
        const auto form = forms.find(entry.word);
        const bool plural =
            form != forms.end() && form->second.kind == InflectionKind::kPlural && form->second.pos == pos;
        const PartSenses* part = plural ? &lemmas.find(form->second.base)->second.parts[pos] : nullptr;
        const std::optional<size_t> sense = part ? SenseOpening(*part, entry.opening) : std::nullopt;
        if (sense)
            form->second.firstSense = part->senses[*sense].offset;
        else
            rest.push_back(entry);
    }
    return rest;
}

// Gives the lemmas the family the list names, both ways: LEPER is of leprosy's
// family as leprosy is of LEPER's. The entries that name no lemma are returned.
std::vector<FirstSense> PutFamilies(std::span<const FirstSense> entries, LemmaMap& lemmas)
{
    std::vector<FirstSense> rest;
    const auto add = [&](std::string_view word, std::string_view kin) {
        const auto lemma = lemmas.find(word);
        if (lemma != lemmas.end() && std::ranges::find(lemma->second.kin, kin) == lemma->second.kin.end())
            lemma->second.kin.emplace_back(kin);
    };
    std::vector<std::string_view> words;
    for (const FirstSense& entry : entries) {
        if (lemmas.count(entry.word) == 0) {
            rest.push_back(entry);
            continue;
        }
        SplitWords(entry.opening, words);
        for (std::string_view kin : words) {
            add(entry.word, kin);
            add(kin, entry.word);
        }
    }
    return rest;
}

// ---- Inflected forms --------------------------------------------------------

// The form code of an entry of verb.exc, which mixes past tenses, participles and
// -ing forms with present forms: "has" and "is" are "-s" forms, "am" and "are" the
// other persons'.
std::optional<InflectionKind> VerbExceptionKind(std::string_view inflected)
{
    if (EndsWith(inflected, "ing"))
        return InflectionKind::kDoing;
    if (inflected == "am" || inflected == "are")
        return InflectionKind::kPresent;
    if (EndsWith(inflected, "s") && !EndsWith(inflected, "ss") && inflected != "was")
        return InflectionKind::kThird;
    return InflectionKind::kPast;
}

// Where one spelling is the form of several bases, the more used base wins, then a
// listed form over a regular one, then a noun's plural over a verb's "-s".
bool Better(const Inflection& a, const Inflection& b)
{
    if (a.listed != b.listed)
        return a.listed;
    if (a.baseTags != b.baseTags)
        return a.baseTags > b.baseTags;
    if (a.fromException != b.fromException)
        return a.fromException;
    if (a.kind != b.kind)
        return a.kind < b.kind;
    return a.base < b.base;
}

class InflectionCollector {
public:
    explicit InflectionCollector(const LemmaMap& lemmas) : lemmas_(lemmas) {}

    void Offer(const std::string& inflected, std::string_view base, InflectionKind kind, int pos, bool fromException,
               std::vector<uint32_t> senses = {})
    {
        if (inflected == base || !IsLetterWord(inflected))
            return;
        const auto found = lemmas_.find(base);
        if (found == lemmas_.end() || !found->second.Has(pos) || !found->second.parts[pos].inflectable)
            return;
        // A form of some senses only is as used as they are.
        int64_t baseTags = 0;
        for (const Sense& sense : found->second.parts[pos].senses)
            baseTags += Covers(senses, sense.offset) ? sense.tagCount : 0;
        // A headword of the same spelling keeps its own reading beside this one,
        // but only a form that WordNet lists or that a used word makes is worth it:
        // SAT is the past of sit, while CHAOS is no plural of chao.
        if (lemmas_.count(inflected) > 0 && !fromException && baseTags == 0)
            return;
        Inflection candidate{std::string(base), kind, pos, fromException, baseTags,
                             found->second.parts[pos].listed == 0, std::move(senses)};
        const auto [slot, added] = forms_.try_emplace(inflected, candidate);
        if (added)
            return;
        std::vector<Inflection>& rivals = rivals_[inflected];
        if (Better(candidate, slot->second))
            std::swap(candidate, slot->second);
        rivals.insert(std::ranges::find_if(rivals, [&](const Inflection& rival) { return Better(candidate, rival); }),
                      std::move(candidate));
    }

    // noun.exc / verb.exc: "inflected base..." The first base that is a word of
    // the part of speech takes the form; every letters-only base listed is marked
    // as having an irregular form, so the regular rule makes none for it.
    void ReadExceptions(std::string_view content, int pos)
    {
        std::vector<std::string_view> tokens;
        ForEachLine(content, [&](std::string_view line) {
            SplitWords(line, tokens);
            if (tokens.size() < 2 || !IsLetterWord(tokens[0]))
                return;
            const std::string inflected = ToLower(tokens[0]);
            const std::optional<InflectionKind> kind =
                pos == kNoun ? InflectionKind::kPlural : VerbExceptionKind(inflected);
            if (!kind)
                return;
            bool offered = false;
            for (size_t i = 1; i < tokens.size(); ++i) {
                if (!IsLetterWord(tokens[i]))
                    continue;
                const std::string base = ToLower(tokens[i]);
                irregular_.emplace(base, *kind);
                listed_.emplace(inflected, base);
                const auto found = lemmas_.find(base);
                if (!offered && found != lemmas_.end() && found->second.Has(pos)) {
                    Offer(inflected, base, *kind, pos, true);
                    offered = true;
                }
            }
        });
    }

    // The regular rules make no forms of a word of one or two letters (IS, HAS and
    // HIS are no plurals of I, HA and HI), except of a verb in use (do, go). A verb
    // with a listed form takes the regular one too where its own examples use it:
    // LIED beside "lay" (lie, tell an untruth), SHOWED beside "shown".
    void AddRegularForms()
    {
        for (const auto& [word, lemma] : lemmas_) {
            const bool shortWord = word.size() <= 2;
            if (lemma.Has(kNoun) && !shortWord && !Irregular(word, InflectionKind::kPlural))
                OfferRegularPlural(word, lemma.parts[kNoun].common);
            if (!lemma.Has(kVerb) || (shortWord && lemma.parts[kVerb].tagTotal == 0))
                continue;
            const auto offer = [&](const std::string& form, InflectionKind kind) {
                // A form the exceptions list for this base too, though for another
                // first (DISTILLED is distil's and distill's), counts as listed.
                const bool listed = listed_.contains({form, word});
                if (listed || !Irregular(word, kind)) {
                    Offer(form, word, kind, kVerb, listed);
                    return;
                }
                std::vector<uint32_t> senses = SensesUsing(lemma.parts[kVerb], form);
                if (!senses.empty())
                    Offer(form, word, kind, kVerb, false, std::move(senses));
            };
            offer(RegularPast(word), InflectionKind::kPast);
            offer(RegularDoing(word), InflectionKind::kDoing);
            offer(ThirdPerson(word), InflectionKind::kThird);
        }
    }

    InflectionMap& Forms() { return forms_; }
    RivalMap& Rivals() { return rivals_; }

private:
    // Names of peoples take a plural too (Americans, Israelites, Frenchmen are
    // common in books), but only the plain one: a name that already ends in s or
    // takes -es or -ies (Naples, Langtry) has no plural worth a word slot. Nouns in
    // -ae are Latin plurals or taxonomic families already. A noun in -s takes -es
    // after a vowel or another s (gases, buses, classes); after anything else it
    // is a plural already (years, physics, pants).
    void OfferRegularPlural(const std::string& noun, bool common)
    {
        if (EndsWith(noun, "ae"))
            return;
        if (noun.size() >= 2 && noun.back() == 's') {
            const char before = noun[noun.size() - 2];
            if (!(IsVowel(before) && before != 'e') && before != 's')
                return;
        }
        std::string plural = RegularPlural(noun, lemmas_);
        if (!common && !EndsWith(plural, "men") && plural != noun + "s")
            return;
        Offer(plural, noun, InflectionKind::kPlural, kNoun, false);
    }

    bool Irregular(const std::string& base, InflectionKind kind) const { return irregular_.count({base, kind}) > 0; }

    // The senses whose examples use the form.
    static std::vector<uint32_t> SensesUsing(const PartSenses& verb, std::string_view form)
    {
        std::vector<uint32_t> senses;
        for (const Sense& sense : verb.senses)
            if (!ForEachLetterRun(sense.examples, [&](std::string_view token, size_t) { return token != form; }))
                senses.push_back(sense.offset);
        return senses;
    }

    const LemmaMap& lemmas_;
    InflectionMap forms_;
    RivalMap rivals_;
    std::set<std::pair<std::string, InflectionKind>> irregular_;
    std::set<std::pair<std::string, std::string>> listed_; // inflected, base
};

// ---- Word families ------------------------------------------------------------

// Which words give an answer away. A definition gives its word away when it holds
// the word, another form of it (LOSERS and LOSER, RAN and RUN) or a word of the
// same stem: "loses" for LOSER, "pay" for REPAY, "exactness" for EXACTLY. Each word
// has roots: itself, its base when it is an inflected form, and the lemmas it is
// made from by a common prefix or suffix (two steps: repayments, repayment,
// repay, pay); two words of a shared root are of one family.
class WordFamilies {
public:
    WordFamilies(const LemmaMap& lemmas, const InflectionMap& forms) : lemmas_(lemmas), forms_(forms) {}

    bool GivesAway(std::string_view text, std::string_view word) const
    {
        const std::vector<std::string> answer = Roots(word);
        const size_t own = forms_.count(word) > 0 ? 2 : 1;
        return !ForEachLetterRun(text, [&](std::string_view token, size_t) {
            const std::string lower = ToLower(token);
            for (const std::string& root : CachedRoots(lower))
                if (std::find(answer.begin(), answer.end(), root) != answer.end())
                    return false;
            // The clue's word may hold the answer's stem, or the answer or its base
            // the word ("east" for EASTWARD), which comes first among the roots.
            return std::none_of(answer.begin(), answer.end(),
                                [&](const std::string& root) { return IsCompoundOf(lower, root); }) &&
                   std::none_of(answer.begin(), answer.begin() + static_cast<std::ptrdiff_t>(own),
                                [&](const std::string& root) { return IsCompoundOf(root, lower); });
        });
    }

private:
    const std::vector<std::string>& CachedRoots(const std::string& word) const
    {
        const auto found = cache_.find(word);
        if (found != cache_.end())
            return found->second;
        return cache_.emplace(word, Roots(word)).first->second;
    }

    // A compound of a root of four letters or more and another word: TEAM in
    // "teammate", SURF in "surfboarding", FLOWER in "sunflower".
    bool IsCompoundOf(std::string_view token, std::string_view root) const
    {
        constexpr size_t kLeast = 3;
        if (root.size() < 4 || token.size() < root.size() + kLeast)
            return false;
        if (token.substr(0, root.size()) == root && lemmas_.count(token.substr(root.size())) > 0)
            return true;
        return token.substr(token.size() - root.size()) == root &&
               lemmas_.count(token.substr(0, token.size() - root.size())) > 0;
    }

    // The words WordNet links to a word as derived from it or it from them, where
    // they begin alike (ANGRY and anger, ERASER and erase, SIGN and signature),
    // or only share the initial of a word of four letters or fewer, whose family
    // a solver still hears in a clue (DIE and death, LIE and liar, FIRE and fiery).
    void AddRelated(const std::string& word, std::vector<std::string>& roots) const
    {
        const auto lemma = lemmas_.find(word);
        if (lemma == lemmas_.end())
            return;
        for (const std::string& kin : lemma->second.kin)
            if (std::find(roots.begin(), roots.end(), kin) == roots.end())
                roots.push_back(kin);
        for (const std::string& related : lemma->second.related) {
            const size_t shorter = std::min(word.size(), related.size());
            const size_t common = static_cast<size_t>(
                std::mismatch(word.begin(), word.begin() + static_cast<std::ptrdiff_t>(shorter), related.begin())
                    .first -
                word.begin());
            if ((common >= std::max<size_t>(3, shorter - std::min<size_t>(shorter, 2)) ||
                 (word.size() <= 4 && common >= 1)) &&
                std::find(roots.begin(), roots.end(), related) == roots.end())
                roots.push_back(related);
        }
    }

    std::vector<std::string> Roots(std::string_view word) const
    {
        std::vector<std::string> roots{std::string(word)};
        const auto form = forms_.find(word);
        if (form != forms_.end())
            roots.push_back(form->second.base);
        for (size_t i = 0, lemmaRoots = roots.size(); i < lemmaRoots; ++i)
            AddRelated(std::string(roots[i]), roots);
        for (size_t step = 0, from = 0; step < 2; ++step) {
            const size_t to = roots.size();
            for (size_t i = from; i < to; ++i)
                AddStems(std::string(roots[i]), roots);
            from = to;
        }
        return roots;
    }

    bool IsStem(const std::string& stem, const std::vector<std::string>& roots) const
    {
        return stem.size() >= 3 && lemmas_.count(stem) > 0 &&
               std::find(roots.begin(), roots.end(), stem) == roots.end();
    }

    // The lemmas a word is made from by one common affix, with the spelling
    // changes the suffix brings: lose-r, happi-ly, hamm-er, creat-ion.
    void AddStems(const std::string& word, std::vector<std::string>& roots) const
    {
        static constexpr std::array<std::string_view, 26> kSuffixes = {
            "er",  "or",  "ness", "ly",   "ment", "ion", "ation", "ition", "ity", "able", "ful", "less", "ist",
            "ism", "ous", "ive",  "al",   "ency", "ence", "ance", "y",     "s",   "es",   "ed",  "ing",  "n"};
        static constexpr std::array<std::string_view, 9> kPrefixes = {"re",   "un",  "dis",   "mis", "over",
                                                                      "out",  "pre", "under", "non"};
        for (std::string_view suffix : kSuffixes) {
            // A lone -y would make MAN the stem of MANY.
            const size_t least = suffix == "y" ? 4 : 3;
            if (word.size() < suffix.size() + least || !EndsWith(word, suffix))
                continue;
            const std::string stem = word.substr(0, word.size() - suffix.size());
            // A lone -n only after an a: ASIA-N, SYRIA-N.
            if (suffix == "n" && stem.back() != 'a')
                continue;
            std::string candidates[4] = {stem, stem + "e", {}, {}};
            if (stem.back() == 'i')
                candidates[2] = stem.substr(0, stem.size() - 1) + "y";
            if (stem.size() >= 2 && stem.back() == stem[stem.size() - 2] && !IsVowel(stem.back()))
                candidates[3] = stem.substr(0, stem.size() - 1);
            for (std::string& candidate : candidates)
                if (IsStem(candidate, roots))
                    roots.push_back(std::move(candidate));
        }
        for (std::string_view prefix : kPrefixes) {
            if (word.size() < prefix.size() + 3 || word.compare(0, prefix.size(), prefix) != 0)
                continue;
            std::string stem = word.substr(prefix.size());
            if (IsStem(stem, roots))
                roots.push_back(std::move(stem));
        }
    }

    const LemmaMap& lemmas_;
    const InflectionMap& forms_;
    mutable std::unordered_map<std::string, std::vector<std::string>> cache_;
};

// ---- Definitions ----------------------------------------------------------------

// Whether a later clause of a gloss reads as a definition of its own, rather than
// a remark on the first ("either spatial or metaphorical") or a predicate without
// its subject ("achieved independence in 1903"): a noun's starts with a
// determiner, a verb's with a verb, and no clause with a qualifier.
bool OpensDefinition(std::string_view clause, int pos, const LemmaMap& lemmas)
{
    static constexpr std::array<std::string_view, 9> kDeterminers = {"a",   "an",  "the",       "any",      "one",
                                                                      "some", "anything", "something", "someone"};
    static constexpr std::array<std::string_view, 14> kQualifiers = {
        "either", "sometimes", "also", "used", "as", "usually", "especially", "often",
        "or",     "and",       "but",  "not",  "e.g.", "esp."};
    const std::string first = ToLower(clause.substr(0, clause.find(' ')));
    if (std::find(kQualifiers.begin(), kQualifiers.end(), first) != kQualifiers.end())
        return false;
    if (pos == kNoun)
        return std::find(kDeterminers.begin(), kDeterminers.end(), first) != kDeterminers.end();
    if (pos == kVerb) {
        const auto verb = lemmas.find(first);
        return verb != lemmas.end() && verb->second.Has(kVerb);
    }
    return true;
}

// A surname alone is no fair answer to "United States writer": the person's
// shortest full name in the synset shows the rest ("United States writer (Susan
// ___)" for SONTAG).
void AddGivenNames(std::string_view word, const Sense& sense, std::string& clue)
{
    const std::string* fullest = nullptr;
    for (const std::string& synonym : sense.synonyms) {
        const size_t space = synonym.rfind(' ');
        if (space != std::string::npos && ToLower(synonym.substr(space + 1)) == word &&
            (!fullest || synonym.size() < fullest->size()))
            fullest = &synonym;
    }
    if (!fullest)
        return;
    std::string named = clue + " (" + fullest->substr(0, fullest->rfind(' ')) + " ___)";
    if (named.size() <= kClauseLength)
        clue = std::move(named);
}

// A name's clue that names nothing else keeps what makes it guessable from the
// rest of its gloss: the label it opens with ("(Judaism) the sixth month of the
// civil year") or where it belongs ("the twelfth month of the civil year in the
// Jewish calendar" for ELUL), not any calendar's.
void KeepNameContext(std::string_view gloss, std::string& clue)
{
    if (std::any_of(clue.begin(), clue.end(), IsUpperLetter) || clue.starts_with("("))
        return;
    std::string context;
    const size_t close = gloss.find(')');
    const size_t within = gloss.find(" in the ");
    if (gloss.size() > 1 && gloss.front() == '(' && IsUpperLetter(gloss[1]) && close != std::string_view::npos) {
        context = std::string(gloss.substr(0, close + 1)) + " " + clue;
    } else if (within != std::string_view::npos && within + 8 < gloss.size() && IsUpperLetter(gloss[within + 8]) &&
               gloss.substr(0, within).find(clue) != std::string_view::npos) {
        const std::string_view place = gloss.substr(within + 1);
        std::string_view phrase = place.substr(0, place.find_first_of("(;,"));
        while (!phrase.empty() && phrase.back() == ' ')
            phrase.remove_suffix(1);
        context = clue + " " + std::string(phrase);
    }
    if (!context.empty() && context.size() <= kClauseLength)
        clue = std::move(context);
}

// The definitions of one lemma in one part of speech. Each sense gives its clue
// (the first clause of its gloss), ranked 2 x its order, and, when that is shorter
// than the gloss, the whole gloss right behind it (2 x order + 1) for the
// alternative definitions. Rare senses (untagged, not the first) go to 500 +
// order, unless no sense of the word is tagged (kOpenRank), and give-aways and
// stubs to 600 + order, behind every clean sense, rare or not.
void RankDefinitions(std::string_view word, int pos, PartSenses& part, const WordFamilies& families,
                     const LemmaMap& lemmas, const InflectionMap& forms, bool untaggedWord)
{
    // A plural noun's singular, where the plural is no word of its own (GOODS is).
    const auto singular = [&](std::string_view plural) -> std::optional<std::string> {
        const auto form = forms.find(plural);
        if (form == forms.end() || form->second.kind != InflectionKind::kPlural || lemmas.count(plural) > 0)
            return std::nullopt;
        return form->second.base;
    };
    part.definitions.clear();
    part.cleanTags = 0;
    for (size_t i = 0; i < part.senses.size(); ++i) {
        const Sense& sense = part.senses[i];
        const auto order = static_cast<int32_t>(i);
        // The first clause that gives nothing away, if any does, or the clause cut
        // before the part that does ("an Old Testament book" of "... consisting of
        // a collection of 150 Psalms"); a later clause only when it reads as a
        // definition by itself.
        const std::vector<std::string> clauses = ClueClauses(sense.gloss);
        std::optional<std::string> clean;
        for (size_t c = 0; c < clauses.size() && !clean; ++c) {
            if (c > 0 && !OpensDefinition(clauses[c], pos, lemmas))
                continue;
            if (!families.GivesAway(clauses[c], word)) {
                clean = clauses[c];
                break;
            }
            for (std::string& cut : ShorterClauses(clauses[c]))
                if (!clean && !families.GivesAway(cut, word))
                    clean = std::move(cut);
            // Or a verb's or noun's second phrase after a comma, when it reads as a
            // definition: "be extant" of "have an existence, be extant" for EXIST.
            for (size_t comma = clauses[c].find(", "); !clean && comma != std::string::npos && pos <= kVerb;
                 comma = clauses[c].find(", ", comma + 2)) {
                const std::string tail = clauses[c].substr(comma + 2);
                if (OpensDefinition(tail, pos, lemmas) && !families.GivesAway(tail, word))
                    clean = tail;
            }
        }
        std::string clue = clean ? *clean : clauses.front();
        if (clean && sense.instance && !sense.lowerCase)
            AddGivenNames(word, sense, clue);
        if (clean && !sense.lowerCase)
            KeepNameContext(sense.gloss, clue);
        // An animal, plant or part of the body glossed by its members is one of them
        // (REED "tall woody perennial grass ..."); a substance or a load of goods is
        // no count of its parts (SAWDUST "fine particles of wood").
        if (clean && sense.organism)
            clue = SingularHead(clue, singular);
        // A clue that could not be cut short enough reads as an explanation. A
        // noun's that opens on "of", "with", "made" or "especially" is the tail of a
        // gloss whose head WordNet lost ("of China" for the chrysanthemum called MUM,
        // "especially a leaf of grass ..." for BLADE): no better than a give-away.
        const bool untaggedLater = i > 0 && !sense.Tagged();
        const bool rare = (untaggedLater && !untaggedWord) || clue.size() > kClauseLength;
        const bool fragment = pos == kNoun && (clue.starts_with("of ") || clue.starts_with("with ") ||
                                               clue.starts_with("made ") || clue.starts_with("especially "));
        // Nor has a particular person or place (FARMERS are no civil rights leader).
        const bool noPlural = sense.uncountable || (sense.instance && !sense.lowerCase);
        // A sense the list of first senses names was read as fair, whatever the
        // rules above say (RAIMENT "especially fine or decorative clothing" is no
        // fragment).
        const bool listed = i == 0 && part.listed.has_value();
        if ((!clean || fragment) && !listed) {
            part.definitions.push_back(
                {Definition::kGiveAwayRank + order, sense.offset, std::move(clue), noPlural});
            continue;
        }
        part.cleanTags += sense.tagCount;
        if (rare) {
            part.definitions.push_back(
                {Definition::kSecondaryRank + order, sense.offset, std::move(clue), noPlural});
            continue;
        }
        // Where no sense of the word is tagged, WordNet's order is no evidence of
        // use: its later senses stay open for the books to put first (JUDAS, the
        // apostle in the Bible rather than a peephole), in a band of their own.
        // Up to 300 + 2 x 40 + 1, and 10 more for another part of speech, the
        // band stays below the synonyms'.
        constexpr int32_t kLastOpenOrder = 40;
        const int32_t band =
            untaggedLater ? Definition::kOpenRank + 2 * std::min(order, kLastOpenOrder) : 2 * order;
        const bool shortened = clue != sense.gloss;
        part.definitions.push_back({band, sense.offset, std::move(clue), noPlural});
        if (shortened && !families.GivesAway(sense.gloss, word))
            part.definitions.push_back({band + 1, sense.offset, sense.gloss, noPlural});
    }
}

// A synonym that clues a word fairly: three letters or more (two are a symbol or an
// abbreviation: "ar" for ARE), not of the word's family, nor a part the word is
// made of ("day" for DAYTIME).
const std::string* FairSynonym(const Sense& sense, std::string_view word, const WordFamilies& families)
{
    constexpr size_t kShortestSynonym = 3;
    for (const std::string& synonym : sense.synonyms)
        if (synonym.size() >= kShortestSynonym && !word.starts_with(synonym) && !word.ends_with(synonym) &&
            !families.GivesAway(synonym, word))
            return &synonym;
    return nullptr;
}

// Where a part of speech's most used sense gives the word away and is used more
// than four times as much as any sense that clues it fairly, that sense's common
// synonym is closer to what a solver thinks of than the rare fair sense: HAS is
// "holds", not "goes through (mental or physical states or experiences)". Common:
// a word with 20 tagged uses in that part of speech or more, that does not begin
// as the word does (no "theatre" for THEATER).
void PutCommonSynonymFirst(std::string_view word, int pos, PartSenses& part, const WordFamilies& families,
                           const LemmaMap& lemmas)
{
    if (part.senses.empty())
        return;
    const Sense& first = part.senses.front();
    bool firstGivesAway = false;
    int64_t fairTags = -1;
    for (const Gloss& gloss : part.definitions) {
        if (gloss.offset == first.offset)
            firstGivesAway = gloss.rank >= Definition::kGiveAwayRank;
        if (gloss.rank < Definition::kSynonymRank)
            for (const Sense& sense : part.senses)
                if (sense.offset == gloss.offset)
                    fairTags = std::max(fairTags, sense.tagCount);
    }
    constexpr int64_t kMoreUsed = 4;
    constexpr int64_t kCommonUses = 20;
    if (!firstGivesAway || fairTags < 0 || first.tagCount <= kMoreUsed * fairTags)
        return;
    const std::string* synonym = FairSynonym(first, word, families);
    if (!synonym || synonym->compare(0, 3, word.substr(0, 3)) == 0)
        return;
    const auto found = lemmas.find(*synonym);
    if (found != lemmas.end() && found->second.parts[pos].tagTotal >= kCommonUses)
        part.definitions.push_back({0, first.offset, *synonym}); // the give-away's ranks are free
}

// Where every sense of a part of speech gives the word away, the synset's other
// words clue it instead ("precisely" for EXACTLY): one per sense, in sense order.
// Each part counts alone, as the forms of a verb (HEEDED) are clued by the verb's
// senses only.
void AddSynonyms(std::string_view word, Lemma& lemma, const WordFamilies& families)
{
    int32_t next = Definition::kSynonymRank;
    for (PartSenses& part : lemma.parts) {
        if (std::any_of(part.definitions.begin(), part.definitions.end(),
                        [](const Gloss& gloss) { return gloss.rank < Definition::kGiveAwayRank; }))
            continue;
        for (const Sense& sense : part.senses)
            if (const std::string* synonym = FairSynonym(sense, word, families))
                part.definitions.push_back({next++, sense.offset, *synonym});
    }
}

void RankAllDefinitions(LemmaMap& lemmas, const InflectionMap& forms, const WordFamilies& families)
{
    for (auto& [word, lemma] : lemmas) {
        for (int pos = 0; pos < kPartCount; ++pos) {
            RankDefinitions(word, pos, lemma.parts[pos], families, lemmas, forms,
                            lemma.TagTotal() == 0 && !lemma.Listed());
            PutCommonSynonymFirst(word, pos, lemma.parts[pos], families, lemmas);
        }
        AddSynonyms(word, lemma, families);
    }
}

// Whether a plural's senses that have none go behind: when some other has one.
bool DemotesUncountable(const std::vector<Gloss>& glosses)
{
    return std::any_of(glosses.begin(), glosses.end(), [](const Gloss& gloss) { return gloss.uncountable; }) &&
           !std::all_of(glosses.begin(), glosses.end(), [](const Gloss& gloss) { return gloss.uncountable; });
}

// Whether a form clues fairly by its base's senses: one that neither is rare nor
// gives the word away, of the senses the form is of, and for a plural one that has
// a plural where some has (SCOPES: not "an area in which something acts").
bool FormClean(const Lemma& base, const Inflection& form)
{
    const std::vector<Gloss>& glosses = base.parts[form.pos].definitions;
    const bool demote = form.kind == InflectionKind::kPlural && DemotesUncountable(glosses);
    return std::ranges::any_of(glosses, [&](const Gloss& gloss) {
        return gloss.rank < Definition::kSecondaryRank && !(demote && gloss.uncountable) &&
               Covers(form.senses, gloss.offset);
    });
}

// A spelling that is a form of several bases goes to the best reading with a clean
// clue where the one it went to has none and the list named no sense for it: SAWS
// is the plural of the noun saw rather than the verb's "-s" form, whose only sense,
// "cuts with a saw", gives it away.
void PreferFormsWithCleanClues(const LemmaMap& lemmas, InflectionMap& forms, const RivalMap& rivals)
{
    const auto clean = [&](const Inflection& form) {
        const auto base = lemmas.find(form.base);
        return base != lemmas.end() && FormClean(base->second, form);
    };
    for (const auto& [text, readings] : rivals) {
        const auto form = forms.find(text);
        if (form == forms.end() || form->second.listed || form->second.firstSense != 0 || clean(form->second))
            continue;
        const auto rival = std::ranges::find_if(readings, clean);
        if (rival != readings.end())
            form->second = *rival;
    }
}

// A word of five letters or more whose every definition gives it away, with no
// synonym to clue it instead (HEWER "a person who hews", EGYPTIAN "a native or
// inhabitant of Egypt"), has no clue an editor would print: it is no answer, and
// its forms go with it. Shorter words stay, as the grids need them more (DOER).
// So does a form of some senses only whose senses all give it away (HANGED, "kill
// by hanging"). The words dropped are returned: other words' definitions still use
// them ("promise" in VOWS "promises").
LemmaMap DropWordsWithoutFairClue(LemmaMap& lemmas, InflectionMap& forms)
{
    const auto fair = [](const PartSenses& part) {
        return std::any_of(part.definitions.begin(), part.definitions.end(),
                           [](const Gloss& gloss) { return gloss.rank < Definition::kGiveAwayRank; });
    };
    LemmaMap dropped;
    for (auto at = lemmas.begin(); at != lemmas.end();) {
        const auto next = std::next(at);
        constexpr size_t kShortestDropped = 5;
        if (at->first.size() >= kShortestDropped && std::ranges::none_of(at->second.parts, fair))
            dropped.insert(lemmas.extract(at));
        at = next;
    }
    std::erase_if(forms, [&](const auto& entry) {
        const Inflection& form = entry.second;
        const auto base = lemmas.find(form.base);
        if (base == lemmas.end())
            return true;
        const auto clues = [&](const Gloss& gloss) {
            return gloss.rank < Definition::kGiveAwayRank && Covers(form.senses, gloss.offset);
        };
        return !form.senses.empty() && std::ranges::none_of(base->second.parts[form.pos].definitions, clues);
    });
    return dropped;
}

// The spellings the list of first senses says are no answers, lemmas and forms,
// with the forms of such a lemma; the lemmas go to `dropped`. The entries that
// name no word are returned.
std::vector<FirstSense> DropNoAnswers(std::span<const FirstSense> entries, LemmaMap& lemmas, InflectionMap& forms,
                                      LemmaMap& dropped)
{
    std::vector<FirstSense> rest;
    for (const FirstSense& entry : entries) {
        bool found = false;
        if (const auto form = forms.find(entry.word); form != forms.end()) {
            forms.erase(form);
            found = true;
        }
        if (const auto lemma = lemmas.find(entry.word); lemma != lemmas.end()) {
            std::erase_if(forms, [&](const auto& form) { return form.second.base == entry.word; });
            dropped.insert(lemmas.extract(lemma));
            found = true;
        }
        if (!found)
            rest.push_back(entry);
    }
    return rest;
}

// ---- Capacity ---------------------------------------------------------------

// Drops words beyond the table's capacity: inflected forms first (regular ones and
// forms of rarely used bases before the others), then the least used headwords
// together with every form left. Deterministic: ties go to the text order.
void FitCapacity(LemmaMap& lemmas, InflectionMap& forms, size_t capacity)
{
    size_t collisions = 0;
    for (const auto& entry : forms)
        collisions += lemmas.count(entry.first);
    if (lemmas.size() + forms.size() - collisions <= capacity)
        return;
    if (lemmas.size() <= capacity) {
        // A form that shares a headword's spelling takes no slot of its own, but
        // dropping it costs the word its second reading only; the others go first.
        std::vector<InflectionMap::iterator> order;
        for (auto it = forms.begin(); it != forms.end(); ++it)
            order.push_back(it);
        std::stable_sort(order.begin(), order.end(), [&](const auto& a, const auto& b) {
            const bool aShared = lemmas.count(a->first) > 0;
            if (aShared != (lemmas.count(b->first) > 0))
                return aShared;
            if (a->second.fromException != b->second.fromException)
                return a->second.fromException;
            return a->second.baseTags > b->second.baseTags;
        });
        for (size_t i = capacity - lemmas.size() + collisions; i < order.size(); ++i)
            forms.erase(order[i]);
        return;
    }
    forms.clear();
    std::vector<LemmaMap::iterator> order;
    for (auto it = lemmas.begin(); it != lemmas.end(); ++it)
        order.push_back(it);
    std::stable_sort(order.begin(), order.end(), [](const auto& a, const auto& b) {
        if (a->second.TagTotal() != b->second.TagTotal())
            return a->second.TagTotal() > b->second.TagTotal();
        return a->second.SenseCount() > b->second.SenseCount();
    });
    for (size_t i = capacity; i < order.size(); ++i)
        lemmas.erase(order[i]);
}

// ---- Records ----------------------------------------------------------------

// The parts of speech a word has, the dominant one first: a part with common
// senses before one of names only, then the most tagged uses of senses that clue
// it fairly (BAT, the animal: the verb's most used sense, "strike with a bat",
// gives it away), then a part with a sense the word chiefly names (HALE "healthy",
// not another word for "coerce" and "haul"), then most senses.
std::vector<int> PartsByDominance(const Lemma& lemma)
{
    std::vector<int> parts;
    for (int pos = 0; pos < kPartCount; ++pos)
        if (lemma.Has(pos))
            parts.push_back(pos);
    std::stable_sort(parts.begin(), parts.end(), [&](int a, int b) {
        const PartSenses& pa = lemma.parts[a];
        const PartSenses& pb = lemma.parts[b];
        if (pa.listed != pb.listed)
            return pa.listed && (!pb.listed || *pa.listed < *pb.listed);
        if (pa.common != pb.common)
            return pa.common;
        if (pa.cleanTags != pb.cleanTags)
            return pa.cleanTags > pb.cleanTags;
        if (pa.named != pb.named)
            return pa.named;
        return pa.senses.size() > pb.senses.size();
    });
    return parts;
}

std::unique_ptr<WordRecord> NewRecord(std::string_view text, int32_t kind)
{
    auto record = std::make_unique<WordRecord>();
    record->SetText(text);
    record->kind = kind;
    return record;
}

// How a reading's definitions are copied into a record.
struct Copy {
    // A reading behind another one ranks its clean senses behind the other's.
    bool trailing = false;
    // A verb's "-s" form agrees with its definitions: "moves toward".
    const VerbForm* thirdPerson = nullptr;
    // A plural ranks the senses that have none behind every other (SHAMES: not the
    // feeling nor the state, but "unfortunate developments").
    bool plural = false;
    // Only these senses, where not all (Inflection::senses).
    const std::vector<uint32_t>* senses = nullptr;
    // This sense first, whether it has a plural or not (Inflection::firstSense).
    uint32_t first = 0;
};

// Behind rare senses and give-aways too, as a rare sense that has a plural fits
// one better than a common sense that has none.
constexpr int32_t kNoPluralShift = 2 * Definition::kSecondaryRank;

int32_t AddDefinitions(WordRecord& record, const std::vector<Gloss>& glosses, const Copy& copy = {})
{
    const bool demote = copy.plural && DemotesUncountable(glosses);
    int32_t added = 0;
    for (const Gloss& gloss : glosses) {
        if (copy.senses && !Covers(*copy.senses, gloss.offset))
            continue;
        ++added;
        auto definition = std::make_unique<Definition>();
        definition->rank = gloss.rank;
        const bool first = gloss.offset == copy.first && gloss.rank < Definition::kGiveAwayRank;
        if (first)
            definition->rank = gloss.rank % 2; // its clue, then its whole gloss
        else if (copy.first != 0 && gloss.rank < Definition::kSynonymRank)
            definition->rank += 2;
        if (copy.trailing && gloss.rank < Definition::kSynonymRank)
            definition->rank += Definition::kTrailingReadingShift;
        if (demote && gloss.uncountable && !first)
            definition->rank += kNoPluralShift;
        definition->text = copy.thirdPerson ? ThirdPersonDefinition(gloss.text, *copy.thirdPerson) : gloss.text;
        definition->aux = static_cast<int32_t>(gloss.offset);
        record.definitions.Add(std::move(definition));
    }
    return added;
}

// The words the derivational links of the lemmas' senses point to, letters-only
// ones, each once per lemma.
void ResolveDerivedLinks(const std::array<SynsetFile, kPartCount>& synsets, LemmaMap& lemmas)
{
    std::vector<std::string_view> tokens;
    for (auto& [word, lemma] : lemmas) {
        for (PartSenses& part : lemma.parts) {
            for (Sense& sense : part.senses) {
                for (const DerivedLink& link : sense.derived) {
                    const std::optional<std::string_view> line = synsets[link.pos].Line(link.offset);
                    if (!line)
                        continue;
                    SplitWords(line->substr(0, line->find(" | ")), tokens);
                    const size_t at = 4 + 2 * (link.word - 1);
                    if (link.word == 0 || at >= tokens.size())
                        continue;
                    std::string related = ToLower(SynsetWord(tokens[at]));
                    if (IsLetterWord(related) && related != word &&
                        std::find(lemma.related.begin(), lemma.related.end(), related) == lemma.related.end())
                        lemma.related.push_back(std::move(related));
                }
                sense.derived = {};
            }
        }
    }
}

// The letters-only lemmas of every part of speech with what their synsets say.
bool ReadLemmas(Reader& reader, LemmaMap& lemmas)
{
    std::string content;
    SetStatusText("Reading WordNet index files ...");
    for (int pos = 0; pos < kPartCount; ++pos) {
        if (!reader.ReadFile(Format("index.%s", kPartFileNames[pos]).c_str(), content))
            return false;
        ReadIndex(content, pos, lemmas);
    }
    if (!reader.ReadFile("cntlist.rev", content))
        return false;
    ReadTagCounts(content, lemmas);

    SetStatusText("Reading WordNet glosses ...");
    std::vector<std::string_view> tokens;
    // All four stay read: a derivational link may point into any of them.
    std::array<SynsetFile, kPartCount> synsets;
    for (int pos = 0; pos < kPartCount; ++pos) {
        if (!reader.ReadFile(Format("data.%s", kPartFileNames[pos]).c_str(), content))
            return false;
        synsets[pos].Index(std::move(content));
        for (auto& [word, lemma] : lemmas)
            for (Sense& sense : lemma.parts[pos].senses)
                if (const std::optional<std::string_view> line = synsets[pos].Line(sense.offset))
                    ReadSense(*line, word, sense, tokens);
    }
    SettleSenses(lemmas);
    ResolveDerivedLinks(synsets, lemmas);
    return true;
}

bool CollectInflections(Reader& reader, InflectionCollector& inflections)
{
    SetStatusText("Making inflected forms ...");
    std::string content;
    for (const auto& [name, pos] : {std::pair{"noun.exc", kNoun}, std::pair{"verb.exc", kVerb}}) {
        if (!reader.ReadFile(name, content))
            return false;
        inflections.ReadExceptions(content, pos);
    }
    inflections.AddRegularForms();
    return true;
}

// Builds the word records from the lemmas and the inflected forms.
class RecordMaker {
public:
    // `dropped`: the words that are no answers, which definitions still use.
    RecordMaker(const LemmaMap& lemmas, const LemmaMap& dropped, const InflectionMap& forms)
        : lemmas_(lemmas), forms_(forms)
    {
        thirdPerson_ = [this, &dropped](std::string_view word) -> std::optional<std::string> {
            const auto isVerb = [&](const LemmaMap& map) {
                const auto lemma = map.find(word);
                return lemma != map.end() && lemma->second.Has(kVerb);
            };
            if (!isVerb(lemmas_) && !isVerb(dropped))
                return std::nullopt;
            const auto listed = thirdPersonExceptions_.find(std::string(word));
            return listed != thirdPersonExceptions_.end() ? listed->second : ThirdPerson(word);
        };
        for (const auto& [inflected, inflection] : forms_)
            if (inflection.kind == InflectionKind::kThird && inflection.fromException)
                thirdPersonExceptions_.emplace(inflection.base, inflected);
    }

    int32_t Definitions() const { return definitions_; }

    std::unique_ptr<WordRecord> Headword(std::string_view text, const Lemma& lemma)
    {
        auto record = NewRecord(text, WordNetImporter::kDominantKind);
        const std::vector<int> parts = PartsByDominance(lemma);
        if (parts.size() == 1)
            definitions_ += AddDefinitions(*record, lemma.parts[parts[0]].definitions);
        else
            AddHeadwordReading(*record, text, lemma, false);
        return record;
    }

    // A form of one base. A base with one part of speech and nothing else to its
    // spelling lends its own definitions through the base index, unless the form
    // ranks them otherwise (a plural's senses that have none); otherwise only the
    // inflected part of speech may clue the form (a plural never gets a verb sense).
    std::unique_ptr<WordRecord> Inflected(std::string_view text, const Inflection& inflection, int32_t baseIndex)
    {
        auto record = NewRecord(text, WordNetImporter::kDominantKind);
        record->form = FormCode(inflection.kind);
        record->baseIndex = baseIndex;
        const Lemma& base = lemmas_.find(inflection.base)->second;
        const bool demotes =
            inflection.kind == InflectionKind::kPlural && DemotesUncountable(base.parts[inflection.pos].definitions);
        const bool borrows = inflection.kind != InflectionKind::kThird && PartsByDominance(base).size() == 1 &&
                             forms_.count(inflection.base) == 0 && !demotes && inflection.senses.empty() &&
                             inflection.firstSense == 0;
        if (!borrows)
            AddInflectedReading(*record, text, inflection, false);
        return record;
    }

    // A spelling that is a headword and a form of another word keeps both
    // readings, the more used one first; a headword that only names something
    // comes after the form (SAT is the past of sit before it is Saturday). The
    // form's code goes with its reading: only a leading form shows its note.
    std::unique_ptr<WordRecord> Shared(std::string_view text, const Lemma& headword, const Inflection& inflection,
                                       int32_t baseIndex)
    {
        bool formFirst = !headword.Common() || inflection.baseTags > headword.TagTotal();
        // The reading that gives the clue leads, with its form note: one whose every
        // sense gives the word away or is rare yields to one with a plain clean sense.
        const bool formClean = FormClean(lemmas_.find(inflection.base)->second, inflection);
        const bool headwordClean = std::any_of(headword.parts.begin(), headword.parts.end(), Clean);
        if (formFirst ? !formClean && headwordClean : !headwordClean && formClean)
            formFirst = !formFirst;
        // The list of first senses names the reading a solver takes first.
        if (headword.Listed() || inflection.firstSense != 0)
            formFirst = !headword.Listed();
        auto record = NewRecord(text, WordNetImporter::kDominantKind);
        record->baseIndex = baseIndex;
        record->form = formFirst ? FormCode(inflection.kind) : kFormPlain;
        if (formFirst) {
            AddInflectedReading(*record, text, inflection, false);
            AddHeadwordReading(*record, text, headword, true);
        } else {
            AddHeadwordReading(*record, text, headword, false);
            AddInflectedReading(*record, text, inflection, true);
        }
        return record;
    }

private:
    static bool Clean(const PartSenses& part)
    {
        return std::any_of(part.definitions.begin(), part.definitions.end(),
                           [](const Gloss& gloss) { return gloss.rank < Definition::kSecondaryRank; });
    }

    // One sub-record per part of speech, the dominant one of kind 3 when leading.
    void AddHeadwordReading(WordRecord& record, std::string_view text, const Lemma& lemma, bool trailing)
    {
        const std::vector<int> parts = PartsByDominance(lemma);
        for (size_t i = 0; i < parts.size(); ++i) {
            const bool dominant = i == 0 && !trailing;
            auto sub = NewRecord(text, dominant ? WordNetImporter::kDominantKind : WordNetImporter::kDefaultKindOther);
            definitions_ += AddDefinitions(*sub, lemma.parts[parts[i]].definitions, Copy{trailing, nullptr});
            record.subRecords.Add(std::move(sub));
        }
    }

    void AddInflectedReading(WordRecord& record, std::string_view text, const Inflection& inflection, bool trailing)
    {
        const Lemma& base = lemmas_.find(inflection.base)->second;
        auto sub = NewRecord(text, trailing ? WordNetImporter::kDefaultKindOther : WordNetImporter::kDominantKind);
        const Copy copy{trailing, inflection.kind == InflectionKind::kThird ? &thirdPerson_ : nullptr,
                        inflection.kind == InflectionKind::kPlural, &inflection.senses, inflection.firstSense};
        definitions_ += AddDefinitions(*sub, base.parts[inflection.pos].definitions, copy);
        record.subRecords.Add(std::move(sub));
    }

    const LemmaMap& lemmas_;
    const InflectionMap& forms_;
    std::unordered_map<std::string, std::string> thirdPersonExceptions_; // have -> has
    VerbForm thirdPerson_;
    int32_t definitions_ = 0;
};

} // namespace

bool IsRomanNumeral(std::string_view word)
{
    static constexpr std::array<std::pair<std::string_view, int>, 13> kDigits = {{
        {"m", 1000}, {"cm", 900}, {"d", 500}, {"cd", 400}, {"c", 100}, {"xc", 90}, {"l", 50},
        {"xl", 40},  {"x", 10},   {"ix", 9},  {"v", 5},    {"iv", 4},  {"i", 1},
    }};
    // The canonical spelling of the number the letters add up to must be the word.
    int value = 0;
    for (size_t at = 0; at < word.size();) {
        bool matched = false;
        for (const auto& [digits, amount] : kDigits) {
            if (word.substr(at, digits.size()) == digits) {
                value += amount;
                at += digits.size();
                matched = true;
                break;
            }
        }
        if (!matched)
            return false;
    }
    std::string canonical;
    for (const auto& [digits, amount] : kDigits)
        for (; value >= amount; value -= amount)
            canonical += digits;
    return !word.empty() && canonical == word;
}

bool WordNetImporter::Import(const std::string& folder)
{
    records_.clear();
    headwords_ = inflected_ = definitions_ = 0;
    error_.clear();
    unmatched_.clear();
    Reader reader(folder);
    LemmaMap lemmas;
    if (!ReadLemmas(reader, lemmas)) {
        error_ = reader.Error();
        return false;
    }
    // The list's entries by kind, each kind in the list's order.
    std::vector<FirstSense> senses, families, noAnswers;
    for (const FirstSense& entry : ParseFirstSenses(firstSenses_))
        (entry.Family() ? families : entry.NoAnswer() ? noAnswers : senses).push_back(entry);
    unmatched_ = PutFamilies(families, lemmas);
    std::vector<FirstSense> plurals = PutFirstSenses(senses, lemmas);
    InflectionCollector inflections(lemmas);
    if (!CollectInflections(reader, inflections)) {
        error_ = reader.Error();
        return false;
    }
    InflectionMap& forms = inflections.Forms();
    for (const FirstSense& entry : PutFirstPluralSenses(plurals, lemmas, forms))
        unmatched_.push_back(entry);
    FitCapacity(lemmas, forms, static_cast<size_t>(std::max(capacity_, 0)));

    SetStatusText("Ranking definitions ...");
    RankAllDefinitions(lemmas, forms, WordFamilies(lemmas, forms));
    PreferFormsWithCleanClues(lemmas, forms, inflections.Rivals());
    LemmaMap dropped = DropWordsWithoutFairClue(lemmas, forms);
    for (const FirstSense& entry : DropNoAnswers(noAnswers, lemmas, forms, dropped))
        unmatched_.push_back(entry);

    // Both maps are sorted; merging their keys, each spelling once, gives the table.
    std::vector<std::string_view> texts;
    texts.reserve(lemmas.size() + forms.size());
    for (const auto& entry : lemmas)
        texts.push_back(entry.first);
    for (const auto& entry : forms)
        texts.push_back(entry.first);
    std::inplace_merge(texts.begin(), texts.begin() + static_cast<std::ptrdiff_t>(lemmas.size()), texts.end());
    texts.erase(std::unique(texts.begin(), texts.end()), texts.end());

    SetStatusText("Making word records ...");
    RecordMaker maker(lemmas, dropped, forms);
    records_.reserve(texts.size());
    for (std::string_view text : texts) {
        const auto headword = lemmas.find(text);
        const auto form = forms.find(text);
        if (form == forms.end()) {
            records_.push_back(maker.Headword(text, headword->second));
            ++headwords_;
            continue;
        }
        const auto baseIndex = static_cast<int32_t>(
            std::lower_bound(texts.begin(), texts.end(), form->second.base) - texts.begin());
        if (headword != lemmas.end()) {
            records_.push_back(maker.Shared(text, headword->second, form->second, baseIndex));
            ++headwords_;
        } else {
            records_.push_back(maker.Inflected(text, form->second, baseIndex));
            ++inflected_;
        }
    }
    definitions_ = maker.Definitions();
    SetStatusText("");
    return true;
}

} // namespace pelorin
