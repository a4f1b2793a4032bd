#include "game/GameFile.h"

#include "game/BlockPatterns.h"
#include "game/Game.h"
#include "support/GameFileBytes.h"
#include "support/FilledGame.h"
#include "support/RecordingNotifier.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <sys/resource.h>

namespace pelorin {
namespace {

using test::TestGame;

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, const std::string& bytes)
{
    // A fresh file each time: rewriting a file in place can make the file system
    // flush it to disk, which slows the many-file tests to a crawl.
    std::filesystem::remove(path);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

int32_t Int32At(const std::string& bytes, size_t offset)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | static_cast<unsigned char>(bytes[offset + static_cast<size_t>(i)]);
    return static_cast<int32_t>(v);
}

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
    for (int i = 0; i < kCellCount; ++i) {
        const Cell& cell = game.At(i);
        out << int(cell.letter) << '.' << int(cell.playerLetter) << '.' << cell.number << '.' << cell.acrossEntry
            << '.' << cell.downEntry << ';';
    }
    return out.str();
}

// A game read from any file must hold together: cells refer only to entries of
// the game, and entries only to cells of the game.
void ExpectWhole(const Game& game)
{
    auto known = [](const ItemList<Entry>& list, const Entry* entry) {
        return !entry || std::find(list.begin(), list.end(), entry) != list.end();
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

class GameFileTest : public ::testing::Test {
protected:
    std::string File(const std::string& name) const { return dir.File(name); }

    bool OpenBytes(const std::string& bytes)
    {
        WriteAll(File("in.zag"), bytes);
        return OpenGame(File("in.zag"), *game);
    }

    bool OpenSample() { return OpenBytes(test::GameBytes(test::SampleGame())); }

    // A pattern-0 game with answers, hints and some play on it.
    void MakePlayedGame()
    {
        LayOutPattern(*game, 0);
        test::FillSolution(*game);
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
    std::unique_ptr<Game> game = std::make_unique<Game>();
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
        EXPECT_EQ(ReadAll(File("out.zag")), bytes);
    }
    EXPECT_EQ(game->Across().At(0)->definitions.At(0)->text, "first");

    // The sample as the reader must see it, not only as bytes passed through.
    ASSERT_TRUE(OpenSample());
    EXPECT_TRUE(notifier.Messages().empty());
    ASSERT_EQ(game->Across().Count() + game->Down().Count(), 2);
    const Entry& cat = *game->Across().At(0);
    EXPECT_EQ(cat.text, "CAT");
    ASSERT_EQ(PlayerText(cat), "CX ");
    EXPECT_EQ(cat.cells.At(2), &game->At(0, 3, 0));
    EXPECT_EQ(game->At(0, 1, 0).downEntry, game->Down().At(0));
    EXPECT_EQ(game->At(0, 1, 0).FindView()->faceNumbers[0], 1);
}

// The cell table closes the file: 256 records of 34 bytes by cell index.
TEST_F(GameFileTest, SavedCellRecordsMarkBlocksAndEntryIndexes)
{
    LayOutPattern(*game, 0);
    test::FillSolution(*game);
    ASSERT_TRUE(SaveGame(File("p0.zag"), *game));
    EXPECT_EQ(game->savedMark, 1);
    const std::string bytes = ReadAll(File("p0.zag"));
    ASSERT_GT(bytes.size(), 256u * 34);
    auto cellRecord = [&](int face, int column, int row) {
        return bytes.substr(bytes.size() - 34 * size_t(kCellCount - CellIndex(face, column, row)), 34);
    };
    // Face 0, row 0 is "XXXXXX X": column 6 is a block, column 7 an open cell in
    // no Across entry but in the Down entry of column 7.
    const std::string block = cellRecord(0, 6, 0);
    EXPECT_EQ(Int32At(block, 4), 6);
    EXPECT_EQ(block.substr(24, 10), std::string("\xff\0\xff\xff\xff\xff\xff\xff\xff\xff", 10));
    const std::string lone = cellRecord(0, 7, 0);
    EXPECT_EQ(Int32At(lone, 26), -1);
    EXPECT_EQ(Int32At(lone, 30), game->At(0, 7, 0).downEntry->index);
}

TEST_F(GameFileTest, MagicIsComparedWithoutCaseButVersionExactly)
{
    TestGame sample = test::SampleGame();
    sample.magic = "zgame";
    EXPECT_TRUE(OpenBytes(test::GameBytes(sample)));

    LayOutPattern(*game, 1);
    const std::string before = Fingerprint(*game);
    sample.version = 55;
    EXPECT_FALSE(OpenBytes(test::GameBytes(sample)));
    sample.version = 56;
    sample.magic = "ZGAMES";
    EXPECT_FALSE(OpenBytes(test::GameBytes(sample)));
    EXPECT_EQ(Fingerprint(*game), before);
    EXPECT_TRUE(notifier.Messages().empty());
}

TEST_F(GameFileTest, OpeningOverAnotherGameDropsEveryOldReference)
{
    MakePlayedGame();
    ASSERT_EQ(game->At(0, 0, 0).GetCellView().faceNumbers[0], 1);
    ASSERT_TRUE(OpenSample());
    ExpectWhole(*game);
    // The old game's numbered corner is a block now and keeps no view, so it shows
    // no number. (The old view is gone: a reference to it would dangle.)
    ASSERT_EQ(game->At(0, 0, 0).letter, kBlock);
    EXPECT_EQ(game->At(0, 0, 0).FindView(), nullptr);
    for (int i = 0; i < kCellCount; ++i) {
        if (game->At(i).letter == kBlock) {
            EXPECT_EQ(game->At(i).playerLetter, 0);
        }
    }
}

// The scene draws every view that is dirty or holds a mesh. After opening, the
// open cells of the new game are rebuilt and nothing stands where it has blocks,
// whatever game was shown before: the same pattern again, or another one.
TEST_F(GameFileTest, AfterOpeningOnlyTheOpenCellsOfTheNewGameAreDrawn)
{
    MakePlayedGame();
    for (int32_t pattern : {0, 1}) {
        auto saved = std::make_unique<Game>();
        LayOutPattern(*saved, pattern);
        test::FillSolution(*saved);
        ASSERT_TRUE(SaveGame(File("pattern.zag"), *saved));
        for (int i = 0; i < kCellCount; ++i) {
            if (CellView* view = game->At(i).FindView()) {
                view->dirty = 0; // drawn
                view->mesh = std::make_unique<CellMesh>();
            }
        }
        ASSERT_TRUE(OpenGame(File("pattern.zag"), *game));
        for (int i = 0; i < kCellCount; ++i) {
            const Cell& cell = game->At(i);
            const CellView* view = cell.FindView();
            if (cell.letter == kBlock) {
                EXPECT_TRUE(!view || (!view->dirty && !view->mesh)) << "pattern " << pattern << ", block " << i;
            } else {
                ASSERT_NE(view, nullptr);
                EXPECT_TRUE(view->dirty && !view->mesh) << "pattern " << pattern << ", cell " << i;
            }
        }
    }
}

// Saving again after reopening gives the same bytes, so play, given-up marks and
// hints survive; only the reveal colours do not.
TEST_F(GameFileTest, SaveAndReopenKeepsPlayButShowsRevealedCellsAsNormal)
{
    MakePlayedGame();
    ASSERT_TRUE(SaveGame(File("played.zag"), *game));
    auto reopened = std::make_unique<Game>();
    ASSERT_TRUE(OpenGame(File("played.zag"), *reopened));

    for (int i = 0; i < kCellCount; ++i) {
        const Cell& read = reopened->At(i);
        EXPECT_EQ(read.playerLetter, game->At(i).playerLetter);
        if (read.letter != kBlock) {
            EXPECT_EQ(read.FindView()->letterSet, kSetNormal);
            EXPECT_EQ(read.FindView()->letterTile, read.playerLetter);
        }
    }
    ASSERT_TRUE(SaveGame(File("again.zag"), *reopened));
    EXPECT_EQ(ReadAll(File("again.zag")), ReadAll(File("played.zag")));
}

TEST_F(GameFileTest, MissingFileIsReportedWithPathAndErrorCode)
{
    const std::string path = File("absent.zag");
    EXPECT_FALSE(OpenGame(path, *game));
    const auto messages = notifier.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].first, "Cannot open Game file (" + path + "), error code (2)");
    EXPECT_EQ(messages[0].second, "Project Open");
}

TEST_F(GameFileTest, FullDiskFailsTheSaveAndKeepsTheOldFile)
{
    WriteAll(File("kept.zag"), "the old game");
    MakePlayedGame();

    // A file size limit makes writes fail as a full disk does.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool savedOk = SaveGame(File("kept.zag"), *game);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(savedOk);
    EXPECT_EQ(ReadAll(File("kept.zag")), "the old game");
    const auto messages = notifier.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].first, "Cannot Open Game File");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

// Values no writer makes; counts far beyond the file's size are left to the sweep below.
TEST_F(GameFileTest, ImpossibleValuesAreRefusedWithoutChangingTheGame)
{
    const std::pair<const char*, std::function<void(TestGame&)>> damages[] = {
        {"entry cell off the faces", [](TestGame& g) { g.cells[9].face = 4; g.across[0].cells = {9}; }},
        {"grid cell with a negative row", [](TestGame& g) { g.cells[200].row = -1; }},
        {"grid cell record naming another row", [](TestGame& g) { g.cells[200].row = 3; }},
        {"grid cell record naming another face", [](TestGame& g) { g.cells[9].face = 2; }},
        {"entry over a block", [](TestGame& g) { g.across[0].cells.push_back(100); }},
        {"twins of which one is a block", [](TestGame& g) { g.cells[56].letter = 3; }},
        {"player letter past Z", [](TestGame& g) { g.cells[1].playerLetter = 27; }},
        {"solution letter past Z", [](TestGame& g) { g.cells[1].letter = 40; }},
        {"entry of nine cells", [](TestGame& g) { g.across[0].cells = {8, 16, 24, 8, 16, 24, 8, 16, 24}; }},
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

TEST_F(GameFileTest, CutOrCorruptedFilesNeverChangeTheGame)
{
    TestGame sample = test::SampleGame();
    sample.down[0].definitions = {{2, 0, "Company"}};
    sample.down[0].quotes = {{1, 81, "He ran the __ like a ship."}};
    const std::string bytes = test::GameBytes(sample);
    const std::string valid = File("valid.zag");
    WriteAll(valid, bytes);
    ASSERT_TRUE(OpenGame(valid, *game));
    std::string before = Fingerprint(*game);
    const size_t cellsStart = bytes.size() - 256 * 34;

    // Everything up to the first cell records position by position, the cell
    // records at a stride that still meets every field of a record.
    auto positions = [&] {
        std::vector<size_t> list;
        for (size_t at = 0; at < bytes.size(); at += at < cellsStart + 68 ? 1 : 11)
            list.push_back(at);
        list.push_back(bytes.size() - 1);
        return list;
    }();
    for (size_t cut : positions) {
        ASSERT_FALSE(OpenBytes(bytes.substr(0, cut))) << "cut at " << cut;
        ASSERT_EQ(Fingerprint(*game), before) << "cut at " << cut;
    }
    for (size_t at : positions) {
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
    }
    EXPECT_TRUE(notifier.Messages().empty());
}

} // namespace
} // namespace pelorin
