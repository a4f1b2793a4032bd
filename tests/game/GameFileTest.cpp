#include "game/GameFile.h"

#include "game/BlockPatterns.h"
#include "support/AllocationCount.h"
#include "support/GameFileBytes.h"
#include "support/RecordingNotifier.h"
#include "support/SolvedGame.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <span>
#include <sstream>

namespace pelorin {
namespace {
using test::TestGame;

// Everything a failed open must leave alone, with the entries' identities: a
// game that took over freshly read entries would differ even with equal values.
std::string Fingerprint(const Game& game)
{
    std::ostringstream out;
    out << game.savedMark << '|';
    for (const auto* list : {&game.Across(), &game.Down()}) {
        for (const Entry* entry : *list)
            out << entry << ':' << TextOf(entry->text) << ':' << entry->cells.Count() << ',';
        out << '|';
    }
    for (const Cell& c : std::span(&game.At(0), kCellCount))
        out << int(c.letter) << '.' << int(c.playerLetter) << '.' << c.number << '.' << c.acrossEntry << '.'
            << c.downEntry << ';';
    return out.str();
}

// A game read from any file must hold together: cells refer only to entries of
// the game, and entries only to cells of the game.
void ExpectWhole(const Game& game)
{
    auto known = [](const ItemList<Entry>& list, const Entry* entry) {
        return !entry || std::count(list.begin(), list.end(), entry) > 0;
    };
    for (int i = 0; i < kCellCount; ++i) {
        const Cell& cell = game.At(i);
        EXPECT_TRUE(known(game.Across(), cell.acrossEntry) && known(game.Down(), cell.downEntry));
        EXPECT_LE(cell.playerLetter, 26);
    }
    for (const auto* list : {&game.Across(), &game.Down()})
        for (const Entry* entry : *list)
            for (const Cell* cell : entry->cells)
                EXPECT_TRUE(cell >= &game.At(0) && cell <= &game.At(kCellCount - 1) && cell->letter != kBlock);
}

class GameFileTest : public test::SolvedGameTest {
protected:
    std::string File(const std::string& name) const { return dir.File(name); }
    bool OpenBytes(const std::string& bytes)
    {
        test::WriteFileBytes(File("in.zag"), bytes);
        return OpenGame(File("in.zag"), *game);
    }
    // The solved game with hints and some play on it.
    void MakePlayedGame()
    {
        Entry& first = *game->Across().At(0);
        first.form = kFormPast;
        for (int32_t rank : {40, 3, 512}) {
            first.quotes.Add(std::make_unique<Quote>(Quote{rank, "Quote with ___ in it.", 90 + rank}));
            first.definitions.Add(std::make_unique<Definition>(Definition{rank, "Meaning", rank + 1}));
        }
        Entry& second = *game->Across().At(1);
        EnterAnswer(second, std::string(static_cast<size_t>(second.cells.Count()), 'q'));
        GiveUp(*game->Across().At(2));
        RevealEntry(*game->Down().At(3));
    }
    test::TempDir dir;
    test::RecordingNotifier notifier;
};

// Files built from the file layout open and save back to the same bytes, so
// reader and writer agree with the format and not only with each other.
TEST_F(GameFileTest, HandMadeFilesOpenAndSaveBackToTheSameBytes)
{
    TestGame equalRanks = test::SampleGame();
    equalRanks.across[0].definitions = {{5, 0, "first"}, {5, 1, "second"}, {5, 2, "third"}};
    for (const TestGame& sample : {test::SampleGame(), equalRanks}) {
        const std::string bytes = test::GameBytes(sample);
        ASSERT_TRUE(OpenBytes(bytes));
        ASSERT_TRUE(SaveGame(File("out.zag"), *game));
        EXPECT_EQ(test::FileBytes(File("out.zag")), bytes);
    }
    // The sample as the reader must see it, not only as bytes passed through; the
    // magic is compared without regard to case.
    TestGame lower = test::SampleGame();
    lower.magic = "zgame";
    ASSERT_TRUE(OpenBytes(test::GameBytes(lower)));
    EXPECT_TRUE(notifier.Messages().empty());
    ASSERT_EQ(game->Across().Count() + game->Down().Count(), 2);
    const Entry& cat = *game->Across().At(0);
    ASSERT_EQ(std::tuple(cat.text, PlayerText(cat)), std::tuple("CAT", "CX "));
    EXPECT_EQ(std::tuple(cat.cells.At(2), game->At(0, 1, 0).downEntry, game->At(0, 1, 0).FindView()->faceNumbers[0]),
              std::tuple(&game->At(0, 3, 0), game->Down().At(0), 1));
}

// A game that never had a pattern laid out holds its cells at face 0, column 0,
// row 0, and another implementation saves it so: it opens as the empty game.
TEST_F(GameFileTest, EmptyGameWithCellsAtNoPositionOpens)
{
    TestGame empty;
    empty.cells.fill(test::TestCell{});
    MakePlayedGame();
    ASSERT_TRUE(OpenBytes(test::GameBytes(empty)));
    EXPECT_EQ(game->Across().Count() + game->Down().Count(), 0);
    for (int i = 0; i < kCellCount; ++i)
        EXPECT_TRUE(game->At(i).letter == kBlock && !game->At(i).FindView()) << i;
}

// Opening over another game keeps nothing of it: no reference to its entries, no
// player letter on a block; the scene (drawing each view dirty or holding a mesh)
// rebuilds the new game's open cells and nothing where it has blocks.
TEST_F(GameFileTest, AfterOpeningOnlyTheOpenCellsOfTheNewGameAreDrawn)
{
    MakePlayedGame();
    for (int32_t pattern : {0, 1}) {
        auto saved = std::make_unique<Game>();
        LayOutPattern(*saved, pattern);
        test::FillSolution(*saved);
        ASSERT_TRUE(SaveGame(File("pattern.zag"), *saved));
        for (int i = 0; i < kCellCount; ++i)
            if (CellView* view = game->At(i).FindView()) {
                view->dirty = 0; // drawn
                view->mesh = std::make_unique<CellMesh>();
            }
        ASSERT_TRUE(OpenGame(File("pattern.zag"), *game));
        ExpectWhole(*game);
        for (int i = 0; i < kCellCount; ++i) {
            const Cell& cell = game->At(i);
            const CellView* view = cell.FindView();
            if (cell.letter == kBlock) {
                EXPECT_EQ(cell.playerLetter, kEmpty);
                EXPECT_TRUE(!view || (!view->dirty && !view->mesh)) << "pattern " << pattern << ", block " << i;
            } else {
                ASSERT_NE(view, nullptr);
                EXPECT_TRUE(view->dirty && !view->mesh) << "pattern " << pattern << ", cell " << i;
                EXPECT_EQ(view->letterSet, kSetNormal) << "revealed cells show as normal";
            }
        }
    }
}

// A file that does not open is reported, for reading with its path and error code.
TEST_F(GameFileTest, FilesThatDoNotOpenAreReported)
{
    EXPECT_FALSE(OpenGame(File("absent.zag"), *game));
    EXPECT_FALSE(SaveGame(File("none/game.zag"), *game));
    const std::vector<std::pair<std::string, std::string>> told = {
        {"Cannot open Game file (" + File("absent.zag") + "), error code (2)", "Project Open"},
        {"Cannot Open Game File", "Error"}};
    EXPECT_EQ(notifier.Messages(), told);
}

// Another version or kind of file, and values no writer makes, are refused without
// a word; counts far beyond the file's size, positions off the faces and player
// letters past Z are left to the sweep below.
TEST_F(GameFileTest, ImpossibleValuesAreRefusedWithoutChangingTheGame)
{
    const std::pair<const char*, std::function<void(TestGame&)>> damages[] = {
        {"version 55", [](TestGame& g) { g.version = 55; }},
        {"magic of another file", [](TestGame& g) { g.magic = "ZGAMES"; }},
        {"grid cell record naming another row", [](TestGame& g) { g.cells[200].row = 3; }},
        {"grid cell record naming another face", [](TestGame& g) { g.cells[9].face = 2; }},
        {"entry over a block", [](TestGame& g) { g.across[0].cells.push_back(100); }},
        {"twins of which one is a block", [](TestGame& g) { g.cells[56].letter = 3; }},
        {"solution letter past Z", [](TestGame& g) { g.cells[1].letter = 40; }},
        {"entry of nine cells", [](TestGame& g) { g.across[0].cells = {8, 16, 24, 8, 16, 24, 8, 16, 24}; }},
        {"open cell record at no position", [](TestGame& g) { g.cells[9].face = g.cells[9].column = g.cells[9].row = 0; }},
        {"entry text its cells do not spell", [](TestGame& g) { g.across[0].text = "COT"; }},
        {"entry cells out of their order", [](TestGame& g) { g.across[0].cells = {8, 24, 16}; g.across[0].text = "CTA"; }},
        {"down entry running across", [](TestGame& g) { g.down[0].cells = {8, 16}; g.down[0].text = "CA"; }},
        {"down entry in the Across list", [](TestGame& g) { g.across[0].direction = 1; }},
        {"entry without a number", [](TestGame& g) { g.across[0].number = 0; }},
        {"bytes after the last cell", [](TestGame& g) { g.trailing = "\x01"; }},
    };
    MakePlayedGame();
    const std::string before = Fingerprint(*game);
    for (const auto& [what, damage] : damages) {
        TestGame sample = test::SampleGame();
        damage(sample);
        EXPECT_FALSE(OpenBytes(test::GameBytes(sample))) << what;
        EXPECT_EQ(Fingerprint(*game), before) << what;
    }
    EXPECT_TRUE(notifier.Messages().empty());
}

// A file made to be slow must not freeze the program: counts beyond what a grid
// holds are refused, and long lists cost memory in proportion to the file.
TEST_F(GameFileTest, LongListsLoadInWorkLinearInTheFile)
{
    TestGame crowded = test::SampleGame();
    crowded.across.resize(128, crowded.across[0]);
    EXPECT_TRUE(OpenBytes(test::GameBytes(crowded)));
    crowded.across.push_back(crowded.across[0]);
    EXPECT_FALSE(OpenBytes(test::GameBytes(crowded)));
    constexpr int32_t kCount = 20000;
    TestGame hinted = test::SampleGame();
    hinted.across[0].definitions.clear();
    hinted.across[0].quotes.clear();
    for (int32_t i = 0; i < kCount; ++i) {
        hinted.across[0].definitions.push_back({kCount - i, 0, "d"});
        hinted.across[0].quotes.push_back({i, 1, "q"});
    }
    const std::string bytes = test::GameBytes(hinted);
    const uint64_t before = test::AllocatedBytes();
    ASSERT_TRUE(OpenBytes(bytes));
    EXPECT_LT(test::AllocatedBytes() - before, 16 * bytes.size());
    const Entry& entry = *game->Across().At(0);
    EXPECT_EQ(entry.quotes.Count(), kCount);
    ASSERT_EQ(entry.definitions.Count(), kCount);
    EXPECT_EQ(entry.definitions.At(0)->rank, 1);
}

TEST_F(GameFileTest, CutOrCorruptedFilesNeverChangeTheGame)
{
    TestGame sample = test::SampleGame();
    sample.down[0].definitions = {{2, 0, "Company"}};
    sample.down[0].quotes = {{1, 81, "He ran the __ like a ship."}};
    const std::string bytes = test::GameBytes(sample);
    const std::string valid = File("valid.zag");
    test::WriteFileBytes(valid, bytes);
    ASSERT_TRUE(OpenGame(valid, *game));
    std::string before = Fingerprint(*game);
    const size_t cellsStart = bytes.size() - 256 * 34;
    // Everything up to the first cell records position by position, the cell
    // records at a stride that still meets every field of a record.
    std::vector<size_t> positions;
    for (size_t at = 0; at < bytes.size(); at += at < cellsStart + 68 ? 1 : 11)
        positions.push_back(at);
    positions.push_back(bytes.size() - 1);
    for (size_t cut : positions) {
        ASSERT_FALSE(OpenBytes(bytes.substr(0, cut))) << "cut at " << cut;
        ASSERT_EQ(Fingerprint(*game), before) << "cut at " << cut;
    }
    for (size_t at : positions)
        for (int value : {0x00, 0x7f, 0x80, 0xff}) {
            std::string damaged = bytes;
            damaged[at] = static_cast<char>(value);
            if (OpenBytes(damaged)) {
                // Some damage reads as another valid game (a changed letter of a
                // text); that game must hold together.
                ExpectWhole(*game);
                ASSERT_TRUE(OpenGame(valid, *game));
                before = Fingerprint(*game);
                continue;
            }
            ASSERT_EQ(Fingerprint(*game), before) << "byte " << at << " set to " << int(value);
        }
    EXPECT_TRUE(notifier.Messages().empty());
}
} // namespace
} // namespace pelorin
