#include "game/GameFile.h"

#include "game/Game.h"
#include "support/GameFileBytes.h"
#include "support/PatternGame.h"
#include "support/RecordingNotifier.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

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

uint8_t L(char c)
{
    return static_cast<uint8_t>(c - 64);
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
    auto inList = [](const ItemList<Entry>& list, const Entry* entry) {
        for (const Entry* e : list)
            if (e == entry)
                return true;
        return false;
    };
    for (int i = 0; i < kCellCount; ++i) {
        const Cell& cell = game.At(i);
        EXPECT_TRUE(!cell.acrossEntry || inList(game.Across(), cell.acrossEntry));
        EXPECT_TRUE(!cell.downEntry || inList(game.Down(), cell.downEntry));
        EXPECT_LE(cell.playerLetter, 26);
    }
    for (const auto* list : {&game.Across(), &game.Down()}) {
        for (const Entry* entry : *list) {
            for (const Cell* cell : entry->cells) {
                EXPECT_TRUE(cell >= &game.At(0) && cell <= &game.At(kCellCount - 1));
                EXPECT_NE(cell->letter, kBlock);
            }
        }
    }
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
    void MakePlayedGame(Game& target)
    {
        test::LayOutPattern(target, 0);
        test::FillSolution(target);
        Entry& first = *target.Across().At(0);
        first.form = kFormPast;
        for (int i = 0; i < 3; ++i) {
            auto quote = std::make_unique<Quote>();
            quote->key = 10 + i;
            quote->length = 90 + i;
            quote->text = "Quote " + std::to_string(i) + " with ___ in it.";
            first.quotes.Add(std::move(quote));
        }
        for (int32_t rank : {40, 3, 512}) {
            auto definition = std::make_unique<Definition>();
            definition->rank = rank;
            definition->aux = rank + 1;
            definition->text = "Meaning ranked " + std::to_string(rank);
            first.definitions.Add(std::move(definition));
        }
        EnterAnswer(*target.Across().At(1), std::string(static_cast<size_t>(target.Across().At(1)->cells.Count()), 'q'));
        GiveUp(*target.Across().At(2));
        RevealEntry(*target.Down().At(3));
    }

    test::TempDir dir;
    test::RecordingNotifier notifier;
    std::unique_ptr<Game> game = std::make_unique<Game>();
};

TEST_F(GameFileTest, HandMadeFileOpensWithCellsEntriesAndHints)
{
    ASSERT_TRUE(OpenSample());
    EXPECT_TRUE(notifier.Messages().empty());
    ASSERT_EQ(game->Across().Count(), 1);
    ASSERT_EQ(game->Down().Count(), 1);

    const Entry& cat = *game->Across().At(0);
    EXPECT_EQ(cat.number, 1);
    EXPECT_EQ(cat.form, kFormPlural);
    EXPECT_EQ(cat.text, "CAT");
    ASSERT_EQ(cat.cells.Count(), 3);
    EXPECT_EQ(cat.cells.At(0), &game->At(0, 1, 0));
    EXPECT_EQ(cat.cells.At(2), &game->At(0, 3, 0));
    EXPECT_EQ(cat.storedCells.Count(), 3);
    EXPECT_EQ(cat.storedCells.At(0)->owner, nullptr);
    EXPECT_EQ(PlayerText(cat), "CX ");
    ASSERT_EQ(cat.quotes.Count(), 1);
    EXPECT_EQ(cat.quotes.At(0)->key, 5);
    EXPECT_EQ(cat.quotes.At(0)->length, 75);
    ASSERT_EQ(cat.definitions.Count(), 2);
    EXPECT_EQ(cat.definitions.At(0)->text, "Small domesticated feline");
    EXPECT_EQ(cat.definitions.At(0)->aux, 7);

    const Entry& co = *game->Down().At(0);
    EXPECT_EQ(co.givenUp, 1);
    EXPECT_EQ(co.direction, kDown);
    EXPECT_TRUE(co.definitions.Empty());
    EXPECT_EQ(PlayerText(co), "CO");

    const Cell& start = game->At(0, 1, 0);
    EXPECT_EQ(start.acrossEntry, &cat);
    EXPECT_EQ(start.downEntry, &co);
    EXPECT_EQ(start.heldDown, 1);
    EXPECT_EQ(game->At(0, 1, 1).acrossEntry, nullptr);
    CellView* view = start.FindView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->faceNumbers[0], 1);
    EXPECT_EQ(view->letterTile, L('C'));
    EXPECT_EQ(view->dirty, 1);
    EXPECT_EQ(game->At(2, 4, 4).letter, kBlock);
}

TEST_F(GameFileTest, ReopenedHandMadeFileSavesToTheSameBytes)
{
    const std::string bytes = test::GameBytes(test::SampleGame());
    ASSERT_TRUE(OpenBytes(bytes));
    ASSERT_TRUE(SaveGame(File("out.zag"), *game));
    EXPECT_EQ(ReadAll(File("out.zag")), bytes);
}

TEST_F(GameFileTest, PatternZeroFileCarriesEveryEntrysCellsInFull)
{
    test::LayOutPattern(*game, 0);
    test::FillSolution(*game);
    ASSERT_TRUE(SaveGame(File("p0.zag"), *game));
    EXPECT_EQ(game->savedMark, 1);
    const std::string bytes = ReadAll(File("p0.zag"));

    ASSERT_GT(bytes.size(), 22u);
    EXPECT_EQ(Int32At(bytes, 0), 56);
    EXPECT_EQ(bytes.substr(4, 10), std::string("\x06\0\0\0ZGAME\0", 10));
    EXPECT_EQ(Int32At(bytes, 14), 1);
    EXPECT_EQ(Int32At(bytes, 18), 28);
    // Entries without hints: 6 int32, text, cell count, cells, two zero counts.
    size_t offset = 22;
    auto skipEntries = [&](const ItemList<Entry>& entries) {
        for (const Entry* entry : entries)
            offset += 24 + 4 + TextOf(entry->text).size() + 1 + 4 + 34 * size_t(entry->cells.Count()) + 8;
    };
    skipEntries(game->Across());
    EXPECT_EQ(Int32At(bytes, offset), 24);
    offset += 4;
    skipEntries(game->Down());
    ASSERT_EQ(bytes.size(), offset + 256 * 34);

    auto cellRecord = [&](int face, int column, int row) {
        return bytes.substr(offset + 34 * size_t(CellIndex(face, column, row)), 34);
    };
    // Face 0, row 0 is "XXXXXX X": column 6 is a block, column 7 an open cell in
    // no Across entry but in the Down entry of column 7.
    const std::string block = cellRecord(0, 6, 0);
    EXPECT_EQ(Int32At(block, 0), 0);
    EXPECT_EQ(Int32At(block, 4), 6);
    EXPECT_EQ(static_cast<uint8_t>(block[24]), 255);
    EXPECT_EQ(static_cast<uint8_t>(block[25]), 0);
    EXPECT_EQ(Int32At(block, 26), -1);
    EXPECT_EQ(Int32At(block, 30), -1);
    const std::string lone = cellRecord(0, 7, 0);
    EXPECT_EQ(Int32At(lone, 26), -1);
    EXPECT_EQ(Int32At(lone, 30), game->At(0, 7, 0).downEntry->index);
}

TEST_F(GameFileTest, MagicIsComparedWithoutCaseButVersionExactly)
{
    TestGame sample = test::SampleGame();
    sample.magic = "zgame";
    EXPECT_TRUE(OpenBytes(test::GameBytes(sample)));

    test::LayOutPattern(*game, 1);
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
    MakePlayedGame(*game);
    CellView& oldView = game->At(0, 0, 0).GetCellView();
    ASSERT_EQ(oldView.faceNumbers[0], 1);
    ASSERT_TRUE(OpenSample());
    ExpectWhole(*game);
    // The old game's numbered corner is a block now and shows no number.
    EXPECT_EQ(oldView.faceNumbers[0], 0);
    EXPECT_EQ(oldView.letterTile, 0);
    for (int i = 0; i < kCellCount; ++i) {
        if (game->At(i).letter == kBlock) {
            EXPECT_EQ(game->At(i).playerLetter, 0);
        }
    }
}

TEST_F(GameFileTest, SaveAndReopenKeepsPlayButShowsRevealedCellsAsNormal)
{
    MakePlayedGame(*game);
    ASSERT_TRUE(SaveGame(File("played.zag"), *game));
    auto reopened = std::make_unique<Game>();
    ASSERT_TRUE(OpenGame(File("played.zag"), *reopened));

    for (int i = 0; i < kCellCount; ++i) {
        const Cell& saved = game->At(i);
        const Cell& read = reopened->At(i);
        EXPECT_EQ(read.letter, saved.letter);
        EXPECT_EQ(read.playerLetter, saved.playerLetter);
        EXPECT_EQ(read.number, saved.number);
        if (read.letter != kBlock) {
            EXPECT_EQ(read.FindView()->letterSet, kSetNormal);
            EXPECT_EQ(read.FindView()->letterTile, read.playerLetter);
        }
    }
    for (int direction : {kAcross, kDown}) {
        const ItemList<Entry>& savedList = game->List(direction);
        const ItemList<Entry>& readList = reopened->List(direction);
        ASSERT_EQ(readList.Count(), savedList.Count());
        for (int32_t i = 0; i < readList.Count(); ++i) {
            EXPECT_EQ(readList.At(i)->givenUp, savedList.At(i)->givenUp);
            EXPECT_EQ(readList.At(i)->number, savedList.At(i)->number);
            EXPECT_EQ(PlayerText(*readList.At(i)), PlayerText(*savedList.At(i)));
        }
    }
    const Entry& first = *reopened->Across().At(0);
    EXPECT_EQ(first.form, kFormPast);
    ASSERT_EQ(first.quotes.Count(), 3);
    EXPECT_EQ(first.quotes.At(2)->text, "Quote 2 with ___ in it.");
    ASSERT_EQ(first.definitions.Count(), 3);
    EXPECT_EQ(first.definitions.At(0)->rank, 3);
    EXPECT_EQ(first.definitions.At(2)->aux, 513);

    ASSERT_TRUE(SaveGame(File("again.zag"), *reopened));
    EXPECT_EQ(ReadAll(File("again.zag")), ReadAll(File("played.zag")));
}

TEST_F(GameFileTest, DefinitionsOfEqualRankKeepTheirOrderAcrossReopening)
{
    TestGame sample = test::SampleGame();
    sample.across[0].definitions = {{5, 0, "first"}, {5, 1, "second"}, {5, 2, "third"}};
    const std::string bytes = test::GameBytes(sample);
    ASSERT_TRUE(OpenBytes(bytes));
    const DefinitionList& definitions = game->Across().At(0)->definitions;
    ASSERT_EQ(definitions.Count(), 3);
    EXPECT_EQ(definitions.At(0)->text, "first");
    EXPECT_EQ(definitions.At(2)->text, "third");
    ASSERT_TRUE(SaveGame(File("out.zag"), *game));
    EXPECT_EQ(ReadAll(File("out.zag")), bytes);

    // A file out of rank order is read into rank order.
    sample.across[0].definitions = {{12, 0, "later"}, {1, 0, "sooner"}};
    ASSERT_TRUE(OpenBytes(test::GameBytes(sample)));
    EXPECT_EQ(game->Across().At(0)->definitions.At(0)->text, "sooner");
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

TEST_F(GameFileTest, SaveIntoAMissingFolderIsReported)
{
    EXPECT_FALSE(SaveGame(File("no-such-folder/game.zag"), *game));
    const auto messages = notifier.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], std::make_pair(std::string("Cannot Open Game File"), std::string("Error")));
}

TEST_F(GameFileTest, SaveThatCannotReplaceTheTargetLeavesNothingBehind)
{
    // A folder of the target's name cannot be replaced by a file.
    std::filesystem::create_directory(File("taken.zag"));
    EXPECT_FALSE(SaveGame(File("taken.zag"), *game));
    EXPECT_EQ(notifier.Messages().size(), 1u);
    EXPECT_TRUE(std::filesystem::is_directory(File("taken.zag")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST_F(GameFileTest, FullDiskFailsTheSaveAndKeepsTheOldFile)
{
    WriteAll(File("kept.zag"), "the old game");
    MakePlayedGame(*game);

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

TEST_F(GameFileTest, ImpossibleValuesAreRefusedWithoutChangingTheGame)
{
    const std::pair<const char*, std::function<void(TestGame&)>> damages[] = {
        {"entry cell off the faces", [](TestGame& g) { g.cells[9].face = 4; g.across[0].cells = {9}; }},
        {"grid cell with a negative row", [](TestGame& g) { g.cells[200].row = -1; }},
        {"entry over a block", [](TestGame& g) { g.across[0].cells.push_back(100); }},
        {"twins of which one is a block", [](TestGame& g) { g.cells[56].letter = 3; }},
        {"player letter past Z", [](TestGame& g) { g.cells[1].playerLetter = 27; }},
        {"solution letter past Z", [](TestGame& g) { g.cells[1].letter = 40; }},
        {"entry of nine cells",
         [](TestGame& g) { g.across[0].cells = {8, 16, 24, 8, 16, 24, 8, 16, 24}; }},
    };
    MakePlayedGame(*game);
    const std::string before = Fingerprint(*game);
    for (const auto& [what, damage] : damages) {
        TestGame sample = test::SampleGame();
        damage(sample);
        EXPECT_FALSE(OpenBytes(test::GameBytes(sample))) << what;
        EXPECT_EQ(Fingerprint(*game), before) << what;
    }
    // Counts far beyond the file's size are refused before anything is built.
    std::string bytes = test::GameBytes(test::SampleGame());
    // The Across count, the first entry's cell count and its quote count.
    for (size_t countAt : {size_t(18), size_t(54), size_t(54 + 4 + 3 * 34)}) {
        std::string huge = bytes;
        huge.replace(countAt, 4, std::string("\xff\xff\xff\x7f", 4));
        EXPECT_FALSE(OpenBytes(huge)) << countAt;
    }
    EXPECT_EQ(Fingerprint(*game), before);
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
