#include "lexicon/WordNetImporter.h"

#include "foundation/Notifier.h"
#include "foundation/StoredValues.h"
#include "foundation/TextUtil.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <map>
#include <optional>
#include <set>
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

struct Sense {
    uint32_t offset = 0;
    int64_t tagCount = 0; // tagged uses in the semantic concordance (cntlist.rev)
};

struct Gloss {
    int32_t order = 0; // 0-based sense order within the part of speech
    int32_t rank = 0;
    uint32_t offset = 0;
    std::string text;
};

struct PartSenses {
    std::vector<Sense> senses;
    std::vector<Gloss> definitions;
    int64_t tagTotal = 0;
    // Some synset spells the lemma in lower case, so it is not only a name; this
    // decides which plurals a noun gets.
    bool common = false;
};

struct Lemma {
    std::array<PartSenses, kPartCount> parts;

    bool Has(int pos) const { return !parts[pos].definitions.empty(); }
    int64_t TagTotal() const
    {
        int64_t total = 0;
        for (const PartSenses& part : parts)
            total += part.tagTotal;
        return total;
    }
    size_t SenseCount() const
    {
        size_t total = 0;
        for (const PartSenses& part : parts)
            total += part.definitions.size();
        return total;
    }
};

// Keyed by the lower-case lemma; letters-only lemmas sort the same in lower and
// upper case, so map order is table order.
using LemmaMap = std::map<std::string, Lemma, std::less<>>;

struct Inflection {
    std::string base;
    int32_t form = kFormPlain;
    int pos = kNoun;
    bool fromException = false;
    int64_t baseTags = 0; // the base's tagged uses in this part of speech
};
using InflectionMap = std::map<std::string, Inflection, std::less<>>;

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

std::string_view Trim(std::string_view text, std::string_view junk = " \t\r")
{
    const size_t first = text.find_first_not_of(junk);
    if (first == std::string_view::npos)
        return {};
    const size_t last = text.find_last_not_of(junk);
    return text.substr(first, last - first + 1);
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

// True when the text holds the word (lower-case letters) as a whole word, in any
// case: the letters around it are not letters, so "cat" is found in
// "cat-o'-nine-tails" but not in "wildcats".
bool ContainsWholeWord(std::string_view text, std::string_view word)
{
    if (word.empty() || text.size() < word.size())
        return false;
    for (size_t at = 0; at + word.size() <= text.size(); ++at) {
        if (at > 0 && IsAsciiLetter(text[at - 1]))
            continue;
        const size_t after = at + word.size();
        if (after < text.size() && IsAsciiLetter(text[after]))
            continue;
        bool same = true;
        for (size_t i = 0; i < word.size() && same; ++i)
            same = ToLowerAscii(text[at + i]) == word[i];
        if (same)
            return true;
    }
    return false;
}

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

// The definition a gloss gives: its ";"-separated parts without the quoted
// examples, which would show the answer word in a sentence.
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
    return text;
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

// The form code of an entry of verb.exc, which mixes past tenses, participles and
// -ing forms with present forms (is, has, caddies) that have no form code: 0.
int32_t VerbExceptionForm(std::string_view inflected)
{
    if (EndsWith(inflected, "ing"))
        return kFormDoing;
    if (inflected == "am" || inflected == "are")
        return kFormPlain;
    if (EndsWith(inflected, "s") && !EndsWith(inflected, "ss") && inflected != "was")
        return kFormPlain;
    return kFormPast;
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
            error_ = Format("cannot read %s: %s", path.c_str(), std::strerror(errno));
            return false;
        }
        char buffer[1 << 16];
        size_t got = 0;
        while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
            content.append(buffer, got);
        if (std::ferror(file.get())) {
            error_ = Format("cannot read %s: %s", path.c_str(), std::strerror(errno));
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
        for (size_t i = 0; i < synsetCount; ++i)
            if (!ParseNumber(tokens[first + i], senses[i].offset))
                return;
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
        part.tagTotal += tagCount;
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

std::string_view GlossOf(std::string_view line)
{
    const size_t bar = line.find(" | ");
    return bar == std::string_view::npos ? std::string_view() : line.substr(bar + 3);
}

// True when the synset lists the lemma spelled exactly so, in lower case.
bool ListsLowerCase(std::string_view line, std::string_view lemma, std::vector<std::string_view>& tokens)
{
    SplitWords(line.substr(0, line.find(" | ")), tokens);
    size_t wordCount = 0;
    if (tokens.size() < 4 || !ParseNumber(tokens[3], wordCount, 16))
        return false;
    for (size_t i = 0; i < wordCount && 4 + 2 * i < tokens.size(); ++i)
        if (tokens[4 + 2 * i] == lemma)
            return true;
    return false;
}

// The definitions of one lemma in one part of speech, ranked: sense order, with
// rare senses and give-aways moved behind every plain one.
void BuildDefinitions(std::string_view lemma, PartSenses& part, const SynsetFile& synsets,
                      std::vector<std::string_view>& tokens)
{
    for (size_t i = 0; i < part.senses.size(); ++i) {
        const Sense& sense = part.senses[i];
        const std::optional<std::string_view> line = synsets.Line(sense.offset);
        if (!line)
            continue;
        if (!part.common)
            part.common = ListsLowerCase(*line, lemma, tokens);
        std::string text = CleanGloss(GlossOf(*line));
        if (text.empty())
            continue;
        const auto order = static_cast<int32_t>(i);
        const bool rare = i > 0 && sense.tagCount == 0;
        const bool giveAway = ContainsWholeWord(text, lemma);
        const int32_t rank = rare || giveAway ? WordNetImporter::kSecondaryRank + order : order;
        part.definitions.push_back({order, rank, sense.offset, std::move(text)});
    }
}

// ---- Inflected forms --------------------------------------------------------

bool Better(const Inflection& a, const Inflection& b)
{
    if (a.baseTags != b.baseTags)
        return a.baseTags > b.baseTags;
    if (a.fromException != b.fromException)
        return a.fromException;
    if (a.form != b.form)
        return a.form < b.form;
    return a.base < b.base;
}

class InflectionCollector {
public:
    explicit InflectionCollector(const LemmaMap& lemmas) : lemmas_(lemmas) {}

    void Offer(const std::string& inflected, std::string_view base, int32_t form, int pos, bool fromException)
    {
        if (inflected == base || !IsLetterWord(inflected) || lemmas_.count(inflected) > 0)
            return;
        const auto found = lemmas_.find(base);
        if (found == lemmas_.end() || !found->second.Has(pos))
            return;
        Inflection candidate{std::string(base), form, pos, fromException, found->second.parts[pos].tagTotal};
        const auto [slot, added] = forms_.try_emplace(inflected, candidate);
        if (!added && Better(candidate, slot->second))
            slot->second = std::move(candidate);
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
            const int32_t form = pos == kNoun ? kFormPlural : VerbExceptionForm(inflected);
            if (form == kFormPlain)
                return;
            bool offered = false;
            for (size_t i = 1; i < tokens.size(); ++i) {
                if (!IsLetterWord(tokens[i]))
                    continue;
                const std::string base = ToLower(tokens[i]);
                irregular_.emplace(base, form);
                const auto found = lemmas_.find(base);
                if (!offered && found != lemmas_.end() && found->second.Has(pos)) {
                    Offer(inflected, base, form, pos, true);
                    offered = true;
                }
            }
        });
    }

    void AddRegularForms()
    {
        for (const auto& [word, lemma] : lemmas_) {
            if (lemma.Has(kNoun) && !Irregular(word, kFormPlural))
                OfferRegularPlural(word, lemma.parts[kNoun].common);
            if (lemma.Has(kVerb)) {
                if (!Irregular(word, kFormPast))
                    Offer(RegularPast(word), word, kFormPast, kVerb, false);
                if (!Irregular(word, kFormDoing))
                    Offer(RegularDoing(word), word, kFormDoing, kVerb, false);
            }
        }
    }

    InflectionMap& Forms() { return forms_; }

private:
    // Names take a plural too (Americans, Israelites, Frenchmen are common in
    // books), but only the plain one: a name that already ends in s or takes -es
    // or -ies (Naples, Langtry) has no plural worth a word slot. Nouns in -ae are
    // Latin plurals or taxonomic families already. A noun in -s takes -es after a
    // vowel or another s (gases, buses, classes); after anything else it is a
    // plural already (years, physics, pants).
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
        Offer(plural, noun, kFormPlural, kNoun, false);
    }

    bool Irregular(const std::string& base, int32_t form) const { return irregular_.count({base, form}) > 0; }

    const LemmaMap& lemmas_;
    InflectionMap forms_;
    std::set<std::pair<std::string, int32_t>> irregular_;
};

// ---- Capacity ---------------------------------------------------------------

// Drops words beyond the table's capacity: inflected forms first (regular ones and
// forms of rarely used bases before the others), then the least used headwords
// together with every form left. Deterministic: ties go to the text order.
void FitCapacity(LemmaMap& lemmas, InflectionMap& forms, size_t capacity)
{
    if (lemmas.size() + forms.size() <= capacity)
        return;
    if (lemmas.size() <= capacity) {
        std::vector<InflectionMap::iterator> order;
        for (auto it = forms.begin(); it != forms.end(); ++it)
            order.push_back(it);
        std::stable_sort(order.begin(), order.end(), [](const auto& a, const auto& b) {
            if (a->second.fromException != b->second.fromException)
                return a->second.fromException;
            return a->second.baseTags > b->second.baseTags;
        });
        for (size_t i = capacity - lemmas.size(); i < order.size(); ++i)
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

// The parts of speech a word has, the dominant one (most tagged uses, then most
// senses) first.
std::vector<int> PartsByDominance(const Lemma& lemma)
{
    std::vector<int> parts;
    for (int pos = 0; pos < kPartCount; ++pos)
        if (lemma.Has(pos))
            parts.push_back(pos);
    std::stable_sort(parts.begin(), parts.end(), [&](int a, int b) {
        const PartSenses& pa = lemma.parts[a];
        const PartSenses& pb = lemma.parts[b];
        if (pa.tagTotal != pb.tagTotal)
            return pa.tagTotal > pb.tagTotal;
        return pa.definitions.size() > pb.definitions.size();
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

// Adds the definitions; `inflected` (when not empty) is the word the record stands
// for, and a definition that names it is a give-away for it too.
int32_t AddDefinitions(WordRecord& record, const std::vector<Gloss>& glosses, std::string_view inflected = {})
{
    for (const Gloss& gloss : glosses) {
        auto definition = std::make_unique<Definition>();
        definition->rank = gloss.rank;
        if (gloss.rank < WordNetImporter::kSecondaryRank && !inflected.empty() &&
            ContainsWholeWord(gloss.text, inflected))
            definition->rank = WordNetImporter::kSecondaryRank + gloss.order;
        definition->text = gloss.text;
        definition->aux = static_cast<int32_t>(gloss.offset);
        record.definitions.Add(std::move(definition));
    }
    return static_cast<int32_t>(glosses.size());
}

// The letters-only lemmas of every part of speech with their ranked definitions.
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
    for (int pos = 0; pos < kPartCount; ++pos) {
        if (!reader.ReadFile(Format("data.%s", kPartFileNames[pos]).c_str(), content))
            return false;
        SynsetFile synsets;
        synsets.Index(std::move(content));
        for (auto& [word, lemma] : lemmas)
            if (!lemma.parts[pos].senses.empty())
                BuildDefinitions(word, lemma.parts[pos], synsets, tokens);
    }
    // A lemma whose synsets could not be found has nothing to clue it with.
    std::erase_if(lemmas, [](const auto& entry) { return entry.second.SenseCount() == 0; });
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

std::unique_ptr<WordRecord> HeadwordRecord(std::string_view text, const Lemma& lemma, int32_t& definitions)
{
    const std::vector<int> parts = PartsByDominance(lemma);
    auto record = NewRecord(text, WordNetImporter::kDominantKind);
    if (parts.size() == 1) {
        definitions += AddDefinitions(*record, lemma.parts[parts[0]].definitions);
        return record;
    }
    for (size_t i = 0; i < parts.size(); ++i) {
        auto sub = NewRecord(text, i == 0 ? WordNetImporter::kDominantKind : WordNetImporter::kDefaultKindOther);
        definitions += AddDefinitions(*sub, lemma.parts[parts[i]].definitions);
        record->subRecords.Add(std::move(sub));
    }
    return record;
}

std::unique_ptr<WordRecord> InflectedRecord(std::string_view text, const Inflection& inflection, const Lemma& base,
                                            int32_t baseIndex, int32_t& definitions)
{
    auto record = NewRecord(text, WordNetImporter::kDominantKind);
    record->form = inflection.form;
    record->baseIndex = baseIndex;
    // A base with one part of speech lends its own definitions through the base
    // index; otherwise only the inflected part of speech may clue the form.
    if (PartsByDominance(base).size() > 1) {
        auto sub = NewRecord(text, WordNetImporter::kDominantKind);
        definitions += AddDefinitions(*sub, base.parts[inflection.pos].definitions, text);
        record->subRecords.Add(std::move(sub));
    }
    return record;
}

} // namespace

bool WordNetImporter::Import(const std::string& folder)
{
    records_.clear();
    headwords_ = inflected_ = definitions_ = 0;
    error_.clear();
    Reader reader(folder);
    LemmaMap lemmas;
    if (!ReadLemmas(reader, lemmas)) {
        error_ = reader.Error();
        return false;
    }
    InflectionCollector inflections(lemmas);
    if (!CollectInflections(reader, inflections)) {
        error_ = reader.Error();
        return false;
    }
    InflectionMap& forms = inflections.Forms();
    FitCapacity(lemmas, forms, static_cast<size_t>(std::max(capacity_, 0)));

    // Both maps are sorted and share no text, so merging their keys gives the table.
    std::vector<std::string_view> texts;
    texts.reserve(lemmas.size() + forms.size());
    for (const auto& entry : lemmas)
        texts.push_back(entry.first);
    for (const auto& entry : forms)
        texts.push_back(entry.first);
    std::inplace_merge(texts.begin(), texts.begin() + static_cast<std::ptrdiff_t>(lemmas.size()), texts.end());

    SetStatusText("Making word records ...");
    records_.reserve(texts.size());
    for (std::string_view text : texts) {
        const auto headword = lemmas.find(text);
        if (headword != lemmas.end()) {
            records_.push_back(HeadwordRecord(text, headword->second, definitions_));
            ++headwords_;
            continue;
        }
        const Inflection& inflection = forms.find(text)->second;
        const auto baseIndex = static_cast<int32_t>(
            std::lower_bound(texts.begin(), texts.end(), inflection.base) - texts.begin());
        records_.push_back(
            InflectedRecord(text, inflection, lemmas.find(inflection.base)->second, baseIndex, definitions_));
        ++inflected_;
    }
    SetStatusText("");
    return true;
}

} // namespace pelorin
