#include "game/GridFiller.h"

#include "foundation/StoredValues.h"
#include "game/BlockPatterns.h"
#include "game/Game.h"
#include "game/GameFile.h"
#include "game/Random.h"
#include "lexicon/Dictionary.h"
#include "lexicon/Style.h"

#include "support/DictionaryFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace pelorin {
namespace {

// A dictionary of every word over a small alphabet and a style of a fixed,
// pseudo-random share of them: enough crossings for real searches with repairs
// and restarts, yet small and the same on every machine.
struct WordWorld {
    test::TempDir dir;
    std::unique_ptr<Dictionary> dictionary = std::make_unique<Dictionary>();
    std::unique_ptr<Style> style;
};

uint32_t Fnv1a(std::string_view text)
{
    uint32_t hash = 2166136261u;
    for (char c : text) {
        hash ^= static_cast<uint8_t>(c);
        hash *= 16777619u;
    }
    return hash;
}

void AddWords(std::vector<std::string>& words, const std::string& alphabet, std::string& prefix, size_t length)
{
    if (prefix.size() == length) {
        words.push_back(prefix);
        return;
    }
    for (char c : alphabet) {
        prefix.push_back(c);
        AddWords(words, alphabet, prefix, length);
        prefix.pop_back();
    }
}

// Every word of `shortest` to `longest` letters over the alphabet; the style keeps
// the words whose FNV-1a hash is below 3 modulo 10 (about 30 %).
std::unique_ptr<WordWorld> MakeWorld(const std::string& alphabet, size_t shortest, size_t longest)
{
    auto world = std::make_unique<WordWorld>();
    std::vector<std::string> words;
    for (size_t length = shortest; length <= longest; ++length) {
        std::string prefix;
        AddWords(words, alphabet, prefix, length);
    }
    test::WriteDictionary(world->dir.Folder(), test::PlainWords(words));
    if (!world->dictionary->Load(world->dir.Folder()))
        return nullptr;
    world->style = std::make_unique<Style>(*world->dictionary);
    for (int32_t i = 0; i < world->dictionary->Count(); ++i)
        if (Fnv1a(world->dictionary->Record(i).text) % 10 < 3)
            world->style->MarkWord(i);
    world->style->BuildWordList();
    return world;
}

// The solution letters face by face and row by row: "#" block, "." empty.
std::string Grid(const Game& game)
{
    std::string grid;
    for (int face = 0; face < kFaces; ++face) {
        for (int row = 0; row < kSide; ++row) {
            if (!grid.empty())
                grid += '/';
            for (int column = 0; column < kSide; ++column) {
                const uint8_t letter = game.At(face, column, row).letter;
                grid += letter == kBlock ? '#' : letter == kEmpty ? '.' : static_cast<char>(letter + 64);
            }
        }
    }
    return grid;
}

std::string Faces(std::initializer_list<const char*> faces)
{
    std::string grid;
    for (const char* face : faces)
        grid += grid.empty() ? std::string(face) : "/" + std::string(face);
    return grid;
}

class GridFillerTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        four = MakeWorld("ABCD", 2, 7).release();
        three = MakeWorld("ABC", 2, 8).release();
    }
    static void TearDownTestSuite()
    {
        delete four;
        delete three;
    }
    void SetUp() override
    {
        ASSERT_NE(four, nullptr);
        ASSERT_NE(three, nullptr);
    }

    // Fills a game from a fixed seed as a preparation worker's first try does.
    bool FillSeeded(Game& game, const Style& style, int32_t pattern, uint32_t seed, FillStats& stats)
    {
        SeedRandom(seed);
        return FillGame(game, style, pattern, keepRunning, &stats);
    }

    static WordWorld* four;  // ABCD, 2 to 7 letters: patterns 0 and 1
    static WordWorld* three; // ABC, 2 to 8 letters: patterns 2 and 3
    std::atomic<bool> keepRunning{true};
};

WordWorld* GridFillerTest::four = nullptr;
WordWorld* GridFillerTest::three = nullptr;

struct Golden {
    int32_t pattern;
    uint32_t seed;
    int32_t passes;
    uint32_t stateAfter; ///< the generator state after the fill: pins the number of draws
    std::string grid;
};

// The same seed and style must give the same grid everywhere. These grids were
// computed independently of this code, by a separate model of the search; they
// cover a first-pass fill, repairs, restarts after 100 passes and duplicates.
TEST_F(GridFillerTest, SameSeedGivesThePinnedGrid)
{
    const Golden fourLetters[] = {
        {0, 3, 17, 4286622249u,
         Faces({"CBAADD#C/D##D#A#C/A##BDDAB/CBAA#D#D/C#B#CADB/BBABCC##/##B#BDCB/DBAAA###",
                "C#BAAAAC/C#B#B##A/BCADC##A/D#D#DCDC/BABD#C#B/##BADDCA/BBDA#A##/###DDDAB",
                "CBBADC#A/A##D#D#B/A##DBDCB/CADC#C#B/B#B#CCAB/ACBCCA##/##C#DCBD/BACBC###",
                "A#BBCBCC/B#D#D##D/BCBCC##A/B#B#BDBC/BDAD#D#C/##CAACDB/DDCB#C##/###DBADD"})},
        {1, 7, 11, 3794779025u,
         Faces({"AAAB####/#CBCB###/#CABDA##/#D##B###/####B###/#DCDADA#/####C###/###DABBB",
                "####CACC/###CACB#/##BADAA#/###A##C#/###D####/#AABACA#/###A####/BBCCD###",
                "CCBA####/#ADAD###/#BABBB##/#D##D###/####C###/#BCBDCA#/####B###/###CDBAD",
                "####CBAA/###BBCD#/##DBDCC#/###B##B#/###C####/#AACAAB#/###A####/DACCA###"})},
        {1, 2, 129, 4002655122u,
         Faces({"DCDC####/#AADA###/#CDAAD##/#B##A###/####A###/#ACBCCB#/####B###/###ACDAB",
                "####BCCC/###BABD#/##CBDDC#/###B##C#/###B####/#BBBDDA#/###C####/BBCCD###",
                "CAAD####/#DCBD###/#CACBA##/#C##B###/####D###/#BCACCA#/####A###/###BDDDD",
                "####ABCD/###CACC#/##CDCBB#/###C##A#/###D####/#DDCDBD#/###D####/DDCBD###"})},
    };
    const Golden threeLetters[] = {
        {2, 5, 45, 2099950087u,
         Faces({"BCBBBC##/##B#A##C/AACCA##B/##A#A##A/#CBACACB/##B#A###/####CCAC/BACCC###",
                "##BBBCCC/C##A#C##/B##BAACC/A##B#B##/BBACACA#/###A#A##/CCAB####/###BABCA",
                "CBCBBB##/##B#B##C/CAAAA##B/##B#C##A/#BCACCBC/##C#B###/####CBAA/AABCC###",
                "##CABBCB/C##A#A##/B##BBBAA/A##B#B##/CCBCCAB#/###B#A##/AAAB####/###CACBB"})},
        {3, 2, 2, 3387538474u,
         Faces({"ACCCACBB/##C##A##/##B##B##/##C##C##/#BCACA##/##C##A##/##B##C##/BACCBACC",
                "BACBCACA/##A##A##/##A##A##/##B##C##/#ACBCB##/##A##C##/##A##C##/CAACACAC",
                "ACACBAAB/##C##C##/##A##B##/##A##C##/#ABCCC##/##A##C##/##C##C##/CCCBCAAA",
                "BAACABBA/##B##B##/##A##C##/##C##A##/#BACCC##/##B##C##/##B##C##/ABCBCCBB"})},
    };
    auto check = [&](const Style& style, const Golden& golden) {
        SCOPED_TRACE(testing::Message() << "pattern " << golden.pattern << ", seed " << golden.seed);
        Game game;
        FillStats stats;
        EXPECT_TRUE(FillSeeded(game, style, golden.pattern, golden.seed, stats));
        EXPECT_EQ(stats.passes, golden.passes);
        EXPECT_EQ(RandomState(), golden.stateAfter);
        EXPECT_EQ(Grid(game), golden.grid);
    };
    for (const Golden& golden : fourLetters)
        check(*four->style, golden);
    for (const Golden& golden : threeLetters)
        check(*three->style, golden);
}

// A filled grid must be a crossword: every entry a word of the style, every entry
// marked complete, and the clue choice run (each answer gets its definition).
TEST_F(GridFillerTest, FilledGridHoldsOnlyStyleWordsWithTheirDefinitions)
{
    Game game;
    FillStats stats;
    ASSERT_TRUE(FillSeeded(game, *four->style, 0, 2, stats));
    EXPECT_EQ(stats.incomplete, 0);
    EXPECT_FALSE(HasDuplicateWords(game));
    for (const ItemList<Entry>* list : {&game.Across(), &game.Down()}) {
        for (const Entry* entry : *list) {
            const std::string answer(TextOf(entry->text));
            EXPECT_EQ(entry->complete, 1) << answer;
            EXPECT_TRUE(four->style->ContainsWord(answer)) << answer;
            ASSERT_EQ(entry->definitions.Count(), 1) << answer;
            EXPECT_EQ(TextOf(entry->definitions.At(0)->text), "definition of " + answer);
        }
    }
}

// On the last pass a complete grid is taken even with a repeated word: the search
// has run out, and a repeat is better than no game.
TEST_F(GridFillerTest, CompleteGridOnTheLastPassIsAcceptedDespiteDuplicates)
{
    Game game;
    FillStats stats;
    // Pattern 0 needs twenty 4-letter entries and this style has only 23 such
    // words, so repeats are nearly certain; seed 2 completes the grid on pass 1999.
    EXPECT_TRUE(FillSeeded(game, *three->style, 0, 2, stats));
    EXPECT_EQ(stats.passes, GridFiller::kMaxPasses);
    EXPECT_EQ(RandomState(), 3131523398u);
    EXPECT_TRUE(HasDuplicateWords(game));
    EXPECT_EQ(Grid(game),
              Faces({"CBAACB#A/A##A#A#B/A##AABCB/CACB#B#C/B#B#CBAC/CBAACB##/##C#AAAB/BBBAB###",
                     "A#BBACCA/B#C#A##B/BACBA##A/C#A#BCCC/CACB#A#B/##BCAABA/BCCC#C##/###CABBA",
                     "ACCABA#B/B##A#C#B/A##ACACA/CBAB#C#C/B#C#CBAC/AABACB##/##C#BCCC/ABBBB###",
                     "B#ABCCCC/B#A#B##A/AACCA##A/C#A#CBAC/CACC#A#B/##BBABCC/CBAC#C##/###CAACB"}));
}

// An unknown pattern leaves only blocks: nothing is incomplete and nothing is
// repeated, so the first pass succeeds.
TEST_F(GridFillerTest, UnknownPatternSucceedsOnTheFirstPassWithoutEntries)
{
    for (int32_t pattern : {-1, 4, 99}) {
        Game game;
        FillStats stats;
        EXPECT_TRUE(FillSeeded(game, *four->style, pattern, 1, stats)) << pattern;
        EXPECT_EQ(stats.passes, 1);
        EXPECT_EQ(game.Across().Count(), 0);
        EXPECT_EQ(game.Down().Count(), 0);
    }
}

// A style without words of an entry's length can never complete the grid: all
// passes run and the fill fails.
TEST_F(GridFillerTest, StyleWithoutWordsOfALengthFailsAfterAllPasses)
{
    Game game;
    FillStats stats;
    // The three-letter world has 8-letter words; pattern 0's longest entry has 7,
    // so use the four-letter world on pattern 3, whose entries have 8 cells.
    EXPECT_FALSE(FillSeeded(game, *four->style, 3, 1, stats));
    EXPECT_EQ(stats.passes, GridFiller::kMaxPasses);
    EXPECT_GT(stats.incomplete, 0);
}

// Shutdown must not wait for a search: a cleared flag ends the fill at the start
// of the next pass, and a flag cleared before the call ends it before any pass.
TEST_F(GridFillerTest, FillerStopsWhenKeepRunningCleared)
{
    {
        Game game;
        FillStats stats;
        keepRunning = false;
        EXPECT_FALSE(FillSeeded(game, *four->style, 0, 3, stats));
        EXPECT_EQ(stats.passes, 0);
    }
    // This search runs all 2000 passes (see the test above); the worker repeats
    // fills until one is stopped, so the flag is cleared while a search runs or
    // just before the next begins, on any machine.
    keepRunning = true;
    Game game;
    FillStats stats;
    bool filled = true;
    std::thread worker([&] {
        SeedRandom(2);
        do
            filled = FillGame(game, *three->style, 0, keepRunning, &stats);
        while (filled || stats.passes == GridFiller::kMaxPasses);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    keepRunning = false;
    // The join returning at all shows the loop ended, and fewer passes than the
    // whole search show that the flag, not the pass limit, ended the fill.
    worker.join();
    EXPECT_FALSE(filled);
    EXPECT_LT(stats.passes, GridFiller::kMaxPasses);
}

// A style made from books, as the style editor makes one: the words are the same
// share of the four-letter world as above, and the books' sentences hold them in
// every way a book may (capitalised, in brackets, with trailing marks, inside
// longer words, joined by hyphens), some in dozens of sentences and some in long
// ones, so that the saved games carry masked and shortened quotes.
class FilledGameTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        world = new WordWorld;
        const std::vector<std::string> all = test::AbcWords(2, 7, 'D');
        test::WriteDictionary(world->dir.Folder(), test::PlainWords(all));
        ASSERT_TRUE(world->dictionary->Load(world->dir.Folder()));
        std::vector<std::string> words;
        for (const std::string& word : all)
            if (Fnv1a(word) % 10 < 3)
                words.push_back(word);
        world->style = std::make_unique<Style>(*world->dictionary);
        int book = 0;
        for (const std::string& text : Books(words)) {
            const std::string path = world->dir.File("book" + std::to_string(book++) + ".txt");
            std::ofstream(path, std::ios::binary) << text;
            world->style->AddBook(path);
        }
        world->style->BuildWordList();
    }
    static void TearDownTestSuite() { delete world; }

    // Three books of sentences over the words, the same on every machine.
    static std::vector<std::string> Books(std::vector<std::string> words)
    {
        uint32_t state = 12345;
        auto next = [&state](uint32_t range) {
            state = state * 1664525u + 1013904223u;
            return (state >> 8) % range;
        };
        auto lower = [](std::string word) {
            for (char& c : word)
                c = static_cast<char>(c - 'A' + 'a');
            return word;
        };
        // Each word once in a shuffled order, then words drawn with a strong lean
        // towards the first ones, so that a few occur in many sentences.
        for (size_t i = words.size(); i > 1; --i)
            std::swap(words[i - 1], words[next(static_cast<uint32_t>(i))]);
        std::vector<std::string> tokens;
        for (const std::string& word : words)
            tokens.push_back(word);
        const auto count = static_cast<uint32_t>(words.size());
        for (int i = 0; i < 12000; ++i)
            tokens.push_back(words[next(count) * next(count) / count]);

        std::vector<std::string> books(3);
        size_t t = 0;
        for (int sentence = 0; t < tokens.size(); ++sentence) {
            std::string& book = books[static_cast<size_t>(sentence) % books.size()];
            const uint32_t length = sentence % 9 == 0 ? 30 + next(30) : 2 + next(14);
            for (uint32_t i = 0; i < length && t < tokens.size(); ++i) {
                const std::string& word = tokens[t++];
                std::string shown = i == 0 ? word.substr(0, 1) + lower(word.substr(1)) : lower(word);
                switch (next(24)) {
                case 0: shown = "(" + shown; break;
                case 1: shown += ","; break;
                case 2: shown = word; break;
                case 3: shown += "-" + lower(tokens[t % tokens.size()]); break;
                case 4: shown = lower(word) + lower(tokens[t % tokens.size()]).substr(0, 2) + " " + shown; break;
                case 5: shown += "'s"; break;
                case 6: shown += "\n"; break;
                }
                book += (i == 0 ? "" : " ") + shown;
            }
            book += next(5) == 0 ? ". 1999.\n" : ".\n";
        }
        return books;
    }

    static WordWorld* world;
};

WordWorld* FilledGameTest::world = nullptr;

uint64_t Fnv1a64(std::string_view bytes)
{
    uint64_t hash = 14695981039346656037ull;
    for (char c : bytes) {
        hash ^= static_cast<uint8_t>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The saved game of a seed is the whole result of the filler and the clue choice:
// grid, answers, quotes and definitions. Any change to either that alters a
// player's puzzle shows here.
TEST_F(FilledGameTest, SameSeedSavesTheSameGameFile)
{
    const struct {
        int32_t pattern;
        uint32_t seed;
        size_t size;
        uint64_t hash; ///< FNV-1a of the file's bytes
    } games[] = {
        {0, 1, 38167, 0x5ecd8a07ee5cf00cull},
        {0, 2, 36476, 0x8569ef1ec931f66cull},
        {1, 1, 27112, 0x2f8844b244cfe139ull},
        {1, 3, 31049, 0x69b3280d8868c677ull},
    };
    const std::atomic<bool> keepRunning{true};
    for (const auto& golden : games) {
        SCOPED_TRACE(testing::Message() << "pattern " << golden.pattern << ", seed " << golden.seed);
        Game game;
        SeedRandom(golden.seed);
        ASSERT_TRUE(FillGame(game, *world->style, golden.pattern, keepRunning));
        const std::string path = world->dir.File("game.zag");
        ASSERT_TRUE(SaveGame(path, game));
        const std::string bytes = ReadAll(path);
        EXPECT_EQ(bytes.size(), golden.size);
        EXPECT_EQ(Fnv1a64(bytes), golden.hash);
    }
}

class GridFillerStepTest : public testing::Test {
protected:
    void SetUp() override
    {
        test::WriteDictionary(dir.Folder(), test::PlainWords({"ANIMAL", "BANANA", "CACTUS", "DONKEY", "EAGLE"}));
        ASSERT_TRUE(dictionary->Load(dir.Folder()));
        style = std::make_unique<Style>(*dictionary);
        style->MarkWord(dictionary->Find("ANIMAL"));
        style->MarkWord(dictionary->Find("BANANA"));
        style->MarkWord(dictionary->Find("EAGLE"));
        style->BuildWordList();
        filler = std::make_unique<GridFiller>(game, *style);
        LayOutPattern(game, 0);
    }

    // A seed whose first draw is 32767, the only draw that picks the last word.
    static uint32_t SeedDrawingTheMaximum()
    {
        for (uint32_t seed = 0;; ++seed) {
            SeedRandom(seed);
            if (NextRandom() == 32767)
                return seed;
        }
    }

    test::TempDir dir;
    std::unique_ptr<Dictionary> dictionary = std::make_unique<Dictionary>();
    std::unique_ptr<Style> style;
    Game game;
    std::unique_ptr<GridFiller> filler;
};

// With two fitting words the draw picks the first unless it is 32767; with one,
// the word is taken whatever the draw.
TEST_F(GridFillerStepTest, TryPlaceWordPicksAmongFittingWordsByTheDraw)
{
    Entry& entry = *game.Across().At(0); // six cells from face 0, column 0, row 0
    ASSERT_EQ(entry.cells.Count(), 6);
    const uint32_t maximum = SeedDrawingTheMaximum();

    SeedRandom(maximum + 1);
    EXPECT_TRUE(filler->TryPlaceWord(entry));
    EXPECT_EQ(CurrentPattern(entry), "ANIMAL");

    ClearEntryAndCrossers(entry);
    SeedRandom(maximum);
    EXPECT_TRUE(filler->TryPlaceWord(entry));
    EXPECT_EQ(CurrentPattern(entry), "BANANA");
    EXPECT_EQ(entry.complete, 1);

    // Only BANANA fits B?????, even when the draw is the largest.
    ClearEntryAndCrossers(entry);
    SetLetter(*entry.cells.At(0), 'B' - 64, true);
    SeedRandom(maximum);
    EXPECT_TRUE(filler->TryPlaceWord(entry));
    EXPECT_EQ(CurrentPattern(entry), "BANANA");

    // Nothing fits C?????: the entry stays incomplete and no draw is taken.
    ClearEntryAndCrossers(entry);
    SetLetter(*entry.cells.At(0), 'C' - 64, true);
    SeedRandom(7);
    EXPECT_FALSE(filler->TryPlaceWord(entry));
    EXPECT_EQ(entry.complete, 0);
    EXPECT_EQ(RandomState(), 7u);
}

// A placed word holds its own cells; the twin across the edge shows the letter,
// but it is the neighbouring face's entry that must place a word to hold it.
TEST_F(GridFillerStepTest, PlacedWordHoldsItsCellsButNotTheirTwins)
{
    Cell& start = game.At(0, 3, 2);
    Entry& entry = *start.acrossEntry; // row 2 of face 0 runs from column 3 to 7
    ASSERT_EQ(entry.cells.Count(), 5);
    SeedRandom(1);
    ASSERT_TRUE(filler->TryPlaceWord(entry));
    EXPECT_EQ(CurrentPattern(entry), "EAGLE");
    const Cell& last = game.At(0, 7, 2);
    EXPECT_EQ(last.heldAcross, 1);
    ASSERT_EQ(last.twin, &game.At(1, 0, 2));
    EXPECT_EQ(last.twin->letter, 'E' - 64);
    EXPECT_EQ(last.twin->heldAcross, 0);

    // Withdrawing keeps the letters a crossing entry holds and clears the rest.
    game.At(0, 5, 2).heldDown = 1;
    WithdrawEntry(entry);
    EXPECT_EQ(CurrentPattern(entry), "  G  ");
    EXPECT_EQ(last.twin->letter, kEmpty);
}

// The two Down entries of a shared edge column are one word on two faces; any
// other repeat is a duplicate, whatever the letter case.
TEST_F(GridFillerStepTest, SharedEdgeDownEntriesAreNotDuplicates)
{
    for (Entry* entry : game.Across())
        entry->text = "A" + std::to_string(entry->index);
    for (Entry* entry : game.Down())
        entry->text = "D" + std::to_string(entry->index);
    // The second of each shared pair takes the word of the first; in pattern 0,
    // column 7 of each face meets column 0 of the next over rows 0 to 5.
    int32_t sharedPairs = 0;
    for (Entry* entry : game.Down()) {
        const Cell* twin = entry->cells.At(0)->twin;
        const Entry* partner = twin ? twin->downEntry : nullptr;
        if (partner && partner->cells.At(0) == twin && partner->index < entry->index) {
            entry->text = partner->text;
            ++sharedPairs;
        }
    }
    EXPECT_GT(sharedPairs, 0);
    EXPECT_FALSE(HasDuplicateWords(game));

    game.Across().At(5)->text = "a0";
    EXPECT_TRUE(HasDuplicateWords(game));
    game.Across().At(5)->text = "A5";
    game.Down().At(1)->text = "d0";
    EXPECT_TRUE(HasDuplicateWords(game));
}

} // namespace
} // namespace pelorin
