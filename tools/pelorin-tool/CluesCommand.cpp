// pelorin-tool clues: a measure of the clues the game prints. It makes games as the
// preparation workers do, for every style of the root, block patterns 0 to 2 and
// the seeds given, and counts the clues a crossword solver rejects on sight: those
// too long to be a clue, those that hold the answer or another form of it, and
// answers that are no words (abbreviations, roman numerals); and the entries whose
// quotes show a form of the answer or a sentence twice. With --list it prints
// every clue for a solver to judge.
#include "Command.h"
#include "DataLoading.h"
#include "Report.h"

#include "app/AppData.h"
#include "app/WorkerSlot.h"
#include "foundation/StoredValues.h"
#include "foundation/TextUtil.h"
#include "game/BlockPatterns.h"
#include "game/ClueText.h"
#include "game/Game.h"
#include "game/GridFiller.h"
#include "game/Random.h"
#include "lexicon/Dictionary.h"
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

// Reads the words of every synset of the WordNet data files.
bool ReadSpellings(const std::string& folder, SpellingMap& spellings)
{
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
    return true;
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
};

class ClueJudge {
public:
    ClueJudge(const Dictionary& dictionary, const SpellingMap& spellings)
        : dictionary_(dictionary), spellings_(spellings)
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
        std::set<std::string_view> quotes;
        for (const Quote* quote : entry.quotes) {
            faults.hintShowsForm = faults.hintShowsForm || GivesAway(TextOf(quote->text), answer, word);
            faults.hintRepeats = faults.hintRepeats || !quotes.insert(TextOf(quote->text)).second;
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

    const Dictionary& dictionary_;
    const SpellingMap& spellings_;
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

void JudgeGame(Game& game, const std::string& label, const ClueJudge& judge, bool list, Tally& tally)
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
            if (!list)
                continue;
            std::string marks;
            for (const auto& [fault, mark] : {std::pair{faults.none, " [none]"}, std::pair{faults.tooLong, " [long]"},
                                              std::pair{faults.givesAway, " [gives away]"},
                                              std::pair{faults.nonWord, " [no word]"},
                                              std::pair{faults.hintShowsForm, " [a quote shows a form]"},
                                              std::pair{faults.hintRepeats, " [a quote twice]"}})
                if (fault)
                    marks += mark;
            std::printf("%s\t%s\t%s%s\n", label.c_str(), answer.c_str(), printed.c_str(), marks.c_str());
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
    if (!ReadSpellings(wordnet, spellings))
        return kFailureExit;
    ItemList<Style> styles(10, ListOrder::Append, true, 10);
    const std::string stylesFolder = JoinPath(root, AppData::kStylesFolder);
    const int32_t unread = LoadStylesOrReport(*dictionary, stylesFolder, styles);
    if (styles.Empty())
        return ReportError(stylesFolder, "no styles to make games of");

    const ClueJudge judge(*dictionary, spellings);
    const bool list = options.Has("list");
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
                JudgeGame(*game, label, judge, list, tally);
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
    const int finished = FinishOutput();
    return unread > 0 ? kFailureExit : finished;
}

const Command command(kName, "--root DIR [--seeds 1,2] [--wordnet DIR] [--list]",
                      "Makes a game for every style of the root, block pattern 0 to 2 and seed as a worker does,\n"
                      "and counts the clues a solver rejects on sight; --list prints every clue. WordNet (DIR,\n"
                      "/usr/share/wordnet by default) tells abbreviations and numerals.",
                      {"root", "seeds", "wordnet"}, {"list"}, Run);

} // namespace
} // namespace pelorin::tool
