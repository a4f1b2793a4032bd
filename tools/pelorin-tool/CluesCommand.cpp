// pelorin-tool clues: a measure of the clues and hints the game prints. It makes
// games as the preparation workers do, for every style of the root, block patterns
// 0 to 2 and the seeds given, and counts what a crossword solver rejects on sight:
// clues too long to be a clue, that hold the answer, another form of it or a word
// of its family (WordNet's derived words, compounds of its stem), that end on a
// word wanting more, or that put "(plural) " on what has none; answers that are no
// words (abbreviations, roman numerals); hints that show a form of the answer or a
// word holding its stem, a sentence twice, or a blank capitalised in mid-sentence.
// With --list it prints every clue for a solver to judge, with --quotes its hints.
#include "Command.h"
#include "DataLoading.h"
#include "Report.h"

#include "app/AppData.h"
#include "app/WorkerSlot.h"
#include "foundation/StoredValues.h"
#include "foundation/TextUtil.h"
#include "game/BlockPatterns.h"
#include "game/ClueChoice.h"
#include "game/ClueText.h"
#include "game/Game.h"
#include "game/GridFiller.h"
#include "game/Random.h"
#include "lexicon/Dictionary.h"
#include "lexicon/FirstSenses.h"
#include "lexicon/GlossText.h"
#include "lexicon/Style.h"
#include "lexicon/WordNetImporter.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <unordered_map>
#include <vector>

namespace pelorin::tool {
namespace {

constexpr const char* kName = "clues";
constexpr const char* kDefaultWordNet = "/usr/share/wordnet";

// How WordNet spells a word across its synsets.
struct Spellings {
    bool plain = false;   // in lower case, or capitalised like a name
    bool shouted = false; // as an abbreviation: IRS, DoS
    bool numeral = false; // in a synset of a number (four, 4, IV)
};
using SpellingMap = std::unordered_map<std::string, Spellings>;
// The words WordNet gives as derivationally related to a word (ANGRY: ANGER), in
// upper case.
using RelatedMap = std::unordered_map<std::string, std::set<std::string>>;

// A "+" pointer not yet resolved: from a word to word `number` of a synset.
struct PendingLink {
    std::string from;
    std::string synset; // pos letter and offset: "n01234567"
    size_t number = 0;
};

std::string SynsetKey(std::string_view pos, std::string_view offset)
{
    return std::string(pos == "s" ? "a" : pos) + std::string(offset);
}

// Reads the words of every synset of the WordNet data files, and the words their
// derivational links join.
bool ReadWordNet(const std::string& folder, SpellingMap& spellings, RelatedMap& related)
{
    std::unordered_map<std::string, std::vector<std::string>> synsets;
    std::vector<PendingLink> links;
    for (const char* part : {"data.noun", "data.verb", "data.adj", "data.adv"}) {
        const std::string path = JoinPath(folder, part);
        std::ifstream in(path);
        if (!in) {
            ReportSystemError(path, errno);
            return false;
        }
        std::string line;
        while (std::getline(in, line)) {
            if (line.empty() || line.front() == ' ')
                continue;
            std::istringstream fields(line.substr(0, line.find(" | ")));
            std::string offset, file, type, count;
            fields >> offset >> file >> type >> count;
            const unsigned long words = std::strtoul(count.c_str(), nullptr, 16);
            std::vector<std::string> members;
            bool numeral = false;
            for (unsigned long i = 0; i < words; ++i) {
                std::string word, lexId;
                fields >> word >> lexId;
                word = word.substr(0, word.find('('));
                const bool digits = !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
                    return c >= '0' && c <= '9';
                });
                numeral = numeral || digits;
                members.push_back(word);
            }
            synsets[SynsetKey(type, offset)] = members;
            size_t pointers = 0;
            fields >> pointers;
            for (size_t p = 0; p < pointers; ++p) {
                std::string symbol, target, pos, numbers;
                fields >> symbol >> target >> pos >> numbers;
                const unsigned long source = std::strtoul(numbers.c_str(), nullptr, 16);
                if (symbol == "+" && source >> 8 >= 1 && source >> 8 <= members.size())
                    links.push_back({ToUpperAscii(members[(source >> 8) - 1]), SynsetKey(pos, target), source & 0xFF});
            }
            for (const std::string& word : members) {
                if (word.empty() || !std::all_of(word.begin(), word.end(), IsAsciiLetter))
                    continue;
                const auto capitals = std::count_if(word.begin(), word.end(), IsUpperLetter);
                Spellings& found = spellings[ToUpperAscii(word)];
                if (capitals >= 2 && capitals * 2 >= static_cast<long>(word.size()))
                    found.shouted = true;
                else
                    found.plain = true;
                found.numeral = found.numeral || numeral;
            }
        }
    }
    for (const PendingLink& link : links) {
        const auto synset = synsets.find(link.synset);
        if (synset != synsets.end() && link.number >= 1 && link.number <= synset->second.size())
            related[link.from].insert(ToUpperAscii(synset->second[link.number - 1]));
    }
    return true;
}

// The families the list of first senses names beside WordNet's links (LEPER and
// leprosy), both ways.
void AddListedFamilies(RelatedMap& related)
{
    for (const FirstSense& entry : ParseFirstSenses(FirstSensesText())) {
        if (!entry.Family())
            continue;
        const std::string word = ToUpperAscii(entry.word);
        ForEachLetterRun(entry.opening, [&](std::string_view kin, size_t) {
            related[word].insert(ToUpperAscii(kin));
            related[ToUpperAscii(kin)].insert(word);
            return true;
        });
    }
}

// Words a complete phrase does not end with ("... draws the hair back so").
bool EndsOpen(std::string_view clue)
{
    // A verb's definition may end on its preposition ("make certain of") or its
    // verb ("have"); these words want more in any clue.
    static const std::set<std::string, std::less<>> kOpen = {
        "a",     "an",    "the",    "and",   "or",     "but",   "so",    "that",  "which",  "who",
        "whose", "than",  "if",     "because", "usually", "often", "very", "its",   "their",  "his",
        "my",    "your",  "two",    "three", "four",   "five",  "several", "many", "should", "would"};
    std::string last;
    ForEachLetterRun(clue, [&](std::string_view token, size_t) {
        last = token;
        return true;
    });
    for (char& c : last)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return kOpen.count(last) > 0;
}

// What is wrong with one clue; all false for a clue a solver accepts as printed.
struct Faults {
    bool none = false;      // no clue at all ("?")
    bool tooLong = false;   // over kClueLength characters as printed
    bool givesAway = false; // holds the answer, its base or an inflection
    bool cleanExists = false; // ... while another definition or synonym is clean
    bool nonWord = false;   // an abbreviation or a roman numeral
    bool hintShowsForm = false; // a quote shows the answer, its base or an inflection
    bool hintRepeats = false;   // a quote shows the same sentence as another
    bool family = false;        // holds a word of the answer's family: derived, compound
    bool openEnding = false;    // ends on a word that wants more after it
    bool singularPlural = false; // "(plural) " on what has no plural: "the natural satellite of the Earth"
    int hints = 0;              // quotes shown
    int hintLeaks = 0;          // ... that show a form or a word holding the answer's stem
    int nameBlanks = 0;         // ... whose blank is capitalised in mid-sentence
    int nameBlankMatches = 0;   // matches whose blank is, shown or not
    int matches = 0;
};

class ClueJudge {
public:
    ClueJudge(const Dictionary& dictionary, const SpellingMap& spellings, const RelatedMap& related)
        : dictionary_(dictionary), spellings_(spellings), related_(related)
    {
    }

    Faults Judge(const Entry& entry, std::string_view answer, std::string_view printed) const
    {
        Faults faults;
        faults.none = entry.definitions.Empty();
        faults.tooLong = printed.size() > kClueLength;
        const int32_t word = dictionary_.Find(answer);
        faults.givesAway = !faults.none && GivesAway(ClueText(entry), answer, word);
        if (faults.givesAway && word >= 0) {
            DefinitionList all = MakeDefinitionList();
            dictionary_.Record(word).CollectDefinitions(all);
            for (const Definition* definition : all)
                faults.cleanExists = faults.cleanExists || !GivesAway(TextOf(definition->text), answer, word);
        }
        faults.family = !faults.none && !faults.givesAway && OfFamily(ClueText(entry), answer, word);
        faults.openEnding = !faults.none && EndsOpen(ClueText(entry));
        faults.singularPlural = entry.form == kFormPlural && NamesOneThing(ClueText(entry));
        std::set<std::string_view> quotes;
        for (const Quote* quote : entry.quotes) {
            const bool form = GivesAway(TextOf(quote->text), answer, word);
            faults.hintShowsForm = faults.hintShowsForm || form;
            faults.hintRepeats = faults.hintRepeats || !quotes.insert(TextOf(quote->text)).second;
            faults.hintLeaks += form || HoldsStemOf(TextOf(quote->text), answer, word);
            ++faults.hints;
        }
        // Which matches were shown, as the clue choice decides it.
        const bool name = BooksWriteAsName(entry);
        for (const Quotation* quotation : entry.matches) {
            const std::string_view text = TextOf(quotation->text);
            const size_t blank = FirstWholeWord(text, answer);
            const bool capitalised = blank < text.size() && IsCapitalisedInSentence(text, blank);
            ++faults.matches;
            faults.nameBlankMatches += capitalised;
            faults.nameBlanks += capitalised && IsUsableHint(text, blank, name);
        }
        const auto spelled = spellings_.find(std::string(answer));
        if (spelled != spellings_.end()) {
            const bool plainForm = word >= 0 && dictionary_.Record(word).baseIndex >= 0;
            faults.nonWord = (spelled->second.shouted && !spelled->second.plain && !plainForm) ||
                             (spelled->second.numeral && IsRomanNumeral(ToLower(answer)));
        }
        return faults;
    }

private:
    static std::string ToLower(std::string_view text)
    {
        std::string lower(text);
        for (char& c : lower)
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        return lower;
    }

    // The word and the base it is a form of.
    std::set<int32_t> Family(int32_t word) const
    {
        std::set<int32_t> family;
        if (word < 0)
            return family;
        family.insert(word);
        if (dictionary_.Record(word).baseIndex >= 0)
            family.insert(dictionary_.Record(word).baseIndex);
        return family;
    }

    bool GivesAway(std::string_view text, std::string_view answer, int32_t word) const
    {
        const std::set<int32_t> family = Family(word);
        return !ForEachLetterRun(text, [&](std::string_view token, size_t) {
            const std::string upper = ToUpperAscii(token);
            if (upper == answer)
                return false;
            for (int32_t member : Family(dictionary_.Find(upper)))
                if (family.count(member) > 0)
                    return false;
            return true;
        });
    }

    // The answer and its base.
    std::vector<std::string> Stems(std::string_view answer, int32_t word) const
    {
        std::vector<std::string> stems{std::string(answer)};
        if (word >= 0 && dictionary_.Record(word).baseIndex >= 0)
            stems.emplace_back(dictionary_.Record(dictionary_.Record(word).baseIndex).text);
        return stems;
    }

    // A word that holds the answer's stem or its base's as a word part.
    bool HoldsStemOf(std::string_view text, std::string_view answer, int32_t word) const
    {
        const std::vector<std::string> stems = Stems(answer, word);
        return !ForEachLetterRun(text, [&](std::string_view token, size_t) {
            const std::string upper = ToUpperAscii(token);
            return std::none_of(stems.begin(), stems.end(),
                                [&](const std::string& stem) { return HoldsStem(upper, stem, dictionary_); });
        });
    }

    // A word of the answer's family beyond its inflections: one WordNet links to
    // the answer or its base as derived (ANGRY, "anger"), one that holds their
    // stem (DRUMMER, "drum"; STUDS, "studs" in a verb's definition) or whose stem
    // they hold.
    bool OfFamily(std::string_view text, std::string_view answer, int32_t word) const
    {
        const std::vector<std::string> stems = Stems(answer, word);
        const auto linked = [&](const std::string& a, const std::string& b) {
            const auto found = related_.find(a);
            return found != related_.end() && found->second.count(b) > 0;
        };
        return !ForEachLetterRun(text, [&](std::string_view token, size_t) {
            const std::string upper = ToUpperAscii(token);
            if (upper.size() < 3)
                return true;
            std::vector<std::string> forms{upper};
            const int32_t other = dictionary_.Find(upper);
            if (other >= 0 && dictionary_.Record(other).baseIndex >= 0)
                forms.emplace_back(dictionary_.Record(dictionary_.Record(other).baseIndex).text);
            for (const std::string& stem : stems)
                for (const std::string& form : forms)
                    if (form == stem || linked(stem, form) || linked(form, stem) ||
                        HoldsStem(form, stem, dictionary_) || HoldsStem(stem, form, dictionary_))
                        return false;
            return true;
        });
    }

    const Dictionary& dictionary_;
    const SpellingMap& spellings_;
    const RelatedMap& related_;
};

struct Tally {
    int games = 0;
    int unfilled = 0;
    int clues = 0;
    int none = 0;
    int tooLong = 0;
    int givesAway = 0;
    int givesAwayNeedlessly = 0;
    int nonWords = 0;
    int hintsShowingForms = 0;
    int hintsRepeating = 0;
    int family = 0;
    int openEndings = 0;
    int singularPlurals = 0;
    int hints = 0;
    int hintLeaks = 0;
    int nameBlanks = 0;
    int nameBlankMatches = 0;
    int matches = 0;
};

double Share(int part, int whole)
{
    return whole > 0 ? 100.0 * part / whole : 0.0;
}

// Fills a game as a preparation worker does: up to all its rounds of tries.
bool FillLikeAWorker(Game& game, const Style& style, int32_t pattern)
{
    const std::atomic<bool> keepRunning{true};
    for (int32_t attempt = 0; attempt < kPrepareTries * kPrepareRounds; ++attempt)
        if (FillGame(game, style, pattern, keepRunning))
            return true;
    return false;
}

void JudgeGame(Game& game, const std::string& label, const ClueJudge& judge, bool list, bool quotes, Tally& tally)
{
    for (ItemList<Entry>* entries : {&game.Across(), &game.Down()}) {
        for (Entry* entry : *entries) {
            EntryText(*entry);
            const std::string answer(TextOf(entry->text));
            const std::string printed = std::string(WordFormNote(entry->form)) + std::string(ClueText(*entry));
            const Faults faults = judge.Judge(*entry, answer, printed);
            ++tally.clues;
            tally.none += faults.none;
            tally.tooLong += faults.tooLong;
            tally.givesAway += faults.givesAway;
            tally.givesAwayNeedlessly += faults.givesAway && faults.cleanExists;
            tally.nonWords += faults.nonWord;
            tally.hintsShowingForms += faults.hintShowsForm;
            tally.hintsRepeating += faults.hintRepeats;
            tally.family += faults.family;
            tally.openEndings += faults.openEnding;
            tally.singularPlurals += faults.singularPlural;
            tally.hints += faults.hints;
            tally.hintLeaks += faults.hintLeaks;
            tally.nameBlanks += faults.nameBlanks;
            tally.nameBlankMatches += faults.nameBlankMatches;
            tally.matches += faults.matches;
            if (!list)
                continue;
            std::string marks;
            for (const auto& [fault, mark] : {std::pair{faults.none, " [none]"}, std::pair{faults.tooLong, " [long]"},
                                              std::pair{faults.givesAway, " [gives away]"},
                                              std::pair{faults.family, " [family]"},
                                              std::pair{faults.openEnding, " [open ending]"},
                                              std::pair{faults.singularPlural, " [plural of one]"},
                                              std::pair{faults.hintLeaks > 0, " [a quote shows a stem]"},
                                              std::pair{faults.nonWord, " [no word]"},
                                              std::pair{faults.hintShowsForm, " [a quote shows a form]"},
                                              std::pair{faults.hintRepeats, " [a quote twice]"}})
                if (fault)
                    marks += mark;
            std::printf("%s\t%s\t%s%s\n", label.c_str(), answer.c_str(), printed.c_str(), marks.c_str());
            if (quotes)
                for (const Quote* quote : entry->quotes)
                    std::printf("\t\t%s\n", std::string(TextOf(quote->text)).c_str());
        }
    }
}

bool ParseSeeds(const std::string& text, std::vector<uint32_t>& seeds)
{
    std::istringstream list(text);
    std::string item;
    while (std::getline(list, item, ',')) {
        char* end = nullptr;
        const unsigned long long seed = std::strtoull(item.c_str(), &end, 10);
        if (item.empty() || *end != '\0' || seed > 0xFFFFFFFFULL)
            return false;
        seeds.push_back(static_cast<uint32_t>(seed));
    }
    return !seeds.empty();
}

int Run(const Options& options)
{
    if (!options.Operands().empty())
        return UsageError(kName, "clues takes no operands");
    std::vector<uint32_t> seeds;
    if (!ParseSeeds(options.ValueOr("seeds", "1,2"), seeds))
        return UsageError(kName, "--seeds must be a comma-separated list of whole numbers");
    const std::string root = *options.Value("root");
    const std::string wordnet = options.ValueOr("wordnet", kDefaultWordNet);

    auto dictionary = std::make_unique<Dictionary>();
    if (!LoadDictionaryOrReport(*dictionary, root))
        return kFailureExit;
    SpellingMap spellings;
    RelatedMap related;
    if (!ReadWordNet(wordnet, spellings, related))
        return kFailureExit;
    AddListedFamilies(related);
    ItemList<Style> styles(10, ListOrder::Append, true, 10);
    const std::string stylesFolder = JoinPath(root, AppData::kStylesFolder);
    const int32_t unread = LoadStylesOrReport(*dictionary, stylesFolder, styles);
    if (styles.Empty())
        return ReportError(stylesFolder, "no styles to make games of");

    const ClueJudge judge(*dictionary, spellings, related);
    const bool quotes = options.Has("quotes");
    const bool list = options.Has("list") || quotes;
    Tally tally;
    for (const Style* style : styles) {
        for (int32_t pattern = 0; pattern < kOfferedPatterns; ++pattern) {
            for (uint32_t seed : seeds) {
                const std::string label = style->FileName() + " " + std::to_string(pattern) + " " +
                                          std::to_string(seed);
                auto game = std::make_unique<Game>();
                SeedRandom(seed);
                ++tally.games;
                if (!FillLikeAWorker(*game, *style, pattern)) {
                    ++tally.unfilled;
                    std::printf("%s\tnot filled\n", label.c_str());
                    continue;
                }
                JudgeGame(*game, label, judge, list, quotes, tally);
            }
        }
    }
    std::printf("%d games (%d not filled), %d clues\n", tally.games, tally.unfilled, tally.clues);
    std::printf("over %zu characters: %d (%.1f %%)\n", kClueLength, tally.tooLong, Share(tally.tooLong, tally.clues));
    std::printf("holding the answer, its base or an inflection: %d (%d with a clean definition to hand)\n",
                tally.givesAway, tally.givesAwayNeedlessly);
    std::printf("answers that are abbreviations or roman numerals: %d\n", tally.nonWords);
    std::printf("without a clue: %d\n", tally.none);
    std::printf("entries whose quotes show the answer, its base or an inflection: %d (%.1f %%)\n",
                tally.hintsShowingForms, Share(tally.hintsShowingForms, tally.clues));
    std::printf("entries with a sentence quoted twice: %d\n", tally.hintsRepeating);
    std::printf("holding a word of the answer's family, derived or compound: %d (%.1f %%)\n", tally.family,
                Share(tally.family, tally.clues));
    std::printf("ending on a word that wants more: %d\n", tally.openEndings);
    std::printf("\"(plural) \" on a definition of one thing: %d\n", tally.singularPlurals);
    std::printf("hints: %d of %d quotations\n", tally.hints, tally.matches);
    std::printf("hints showing a form or a word that holds the answer's stem: %d (%.1f %%)\n", tally.hintLeaks,
                Share(tally.hintLeaks, tally.hints));
    std::printf("quotations whose blank is capitalised in mid-sentence: %d, shown as hints: %d (%.1f %% of hints)\n",
                tally.nameBlankMatches, tally.nameBlanks, Share(tally.nameBlanks, tally.hints));
    const int finished = FinishOutput();
    return unread > 0 ? kFailureExit : finished;
}

const Command command(kName, "--root DIR [--seeds 1,2] [--wordnet DIR] [--list] [--quotes]",
                      "Makes a game for every style of the root, block pattern 0 to 2 and seed as a worker does,\n"
                      "and counts the clues and hints a solver rejects on sight; --list prints every clue,\n"
                      "--quotes every hint below its clue too. WordNet (DIR, /usr/share/wordnet by default)\n"
                      "tells abbreviations, numerals and the words derived from one another.",
                      {"root", "seeds", "wordnet"}, {"list", "quotes"}, Run);

} // namespace
} // namespace pelorin::tool
