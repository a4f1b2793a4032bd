#include "game/Game.h"

#include "game/BlockPatterns.h"
#include "support/PatternGame.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace pelorin {
namespace {

// A mesh that reports its release, standing in for the scene's cube.
class CountedMesh final : public CellMesh {
public:
    explicit CountedMesh(int& released) : released_(released) {}
    ~CountedMesh() override { ++released_; }

private:
    int& released_;
};

class CountingHost final : public GameHost {
public:
    void SetModified() override { ++calls; }
    int calls = 0;
};

uint8_t L(char c)
{
    return static_cast<uint8_t>(c - 64);
}

class GameTest : public ::testing::Test {
protected:
    void SetUp() override { test::LayOutPattern(*game, 0); }

    // Gives an entry a solution and stores it as its text.
    void Solve(Entry& entry, const std::string& word)
    {
        ASSERT_EQ(static_cast<size_t>(entry.cells.Count()), word.size());
        for (int32_t i = 0; i < entry.cells.Count(); ++i)
            SetLetter(*entry.cells.At(i), L(word[static_cast<size_t>(i)]), true);
        EntryText(entry);
    }

    // The Across entry of face 0, row 2 (columns 3-7): it ends on the shared edge.
    Entry& EdgeAcross() { return *game->At(0, 3, 2).acrossEntry; }

    std::unique_ptr<Game> game = std::make_unique<Game>();
};

TEST_F(GameTest, NewGameIsAllBlocksWithTwinsLinkedAroundTheBand)
{
    Game fresh;
    for (int i = 0; i < kCellCount; ++i) {
        EXPECT_EQ(fresh.At(i).letter, kBlock);
        EXPECT_EQ(fresh.At(i).owner, &fresh);
    }
    EXPECT_EQ(fresh.Across().Count(), 0);
    for (int face = 0; face < kFaces; ++face) {
        for (int row = 0; row < kSide; ++row) {
            EXPECT_EQ(fresh.At(face, 7, row).twin, &fresh.At((face + 1) % kFaces, 0, row));
            EXPECT_EQ(fresh.At((face + 1) % kFaces, 0, row).twin, &fresh.At(face, 7, row));
            for (int column = 1; column < 7; ++column)
                EXPECT_EQ(fresh.At(face, column, row).twin, nullptr);
        }
    }
}

TEST_F(GameTest, TwinsShareTheViewOfWhicheverAskedFirst)
{
    Game fresh;
    Cell& right = fresh.At(2, 7, 4);
    Cell& left = fresh.At(3, 0, 4);
    CellView& view = left.GetCellView();
    EXPECT_EQ(view.holdingCell, &left);
    EXPECT_EQ(view.letterSet, kSetNormal);
    EXPECT_EQ(&right.GetCellView(), &view);
    EXPECT_EQ(right.view, nullptr);
}

TEST_F(GameTest, MirroredLetterReachesTheTwinAndReleasesTheSharedMesh)
{
    Cell& cell = game->At(0, 7, 2);
    int released = 0;
    CellView& view = cell.GetCellView();
    view.mesh = std::make_unique<CountedMesh>(released);
    view.letterTile = 5;
    view.dirty = 0;

    SetLetter(cell, L('Q'), true);
    EXPECT_EQ(game->At(1, 0, 2).letter, L('Q'));
    EXPECT_EQ(released, 1);
    EXPECT_EQ(view.letterTile, 0);
    EXPECT_EQ(view.dirty, 1);

    // A block does not touch the view.
    view.dirty = 0;
    SetLetter(cell, kBlock, true);
    EXPECT_EQ(game->At(1, 0, 2).letter, kBlock);
    EXPECT_EQ(view.dirty, 0);
}

TEST_F(GameTest, ClearingACellDropsHoldMarksOnBothTwins)
{
    Cell& cell = game->At(1, 0, 2);
    Cell& twin = game->At(0, 7, 2);
    SetLetter(cell, L('E'), true);
    cell.heldAcross = 1;
    twin.heldDown = 1;
    ClearCell(cell);
    EXPECT_EQ(cell.letter, kEmpty);
    EXPECT_EQ(twin.letter, kEmpty);
    EXPECT_EQ(cell.heldAcross, 0);
    EXPECT_EQ(twin.heldDown, 0);
}

TEST_F(GameTest, EntryTextShowsEmptyCellsAsBlanks)
{
    Entry& entry = EdgeAcross();
    SetLetter(*entry.cells.At(0), L('A'), true);
    SetLetter(*entry.cells.At(3), L('D'), true);
    EXPECT_EQ(CurrentPattern(entry), "A  D ");
    EXPECT_FALSE(entry.text.has_value());
    EntryText(entry);
    EXPECT_EQ(entry.text, "A  D ");
}

TEST_F(GameTest, LetterTypedOnTheEdgeShowsOnBothFacesAndBothDownEntries)
{
    ASSERT_TRUE(EnterAnswer(EdgeAcross(), "abcde"));
    EXPECT_EQ(game->At(0, 7, 2).playerLetter, L('E'));
    EXPECT_EQ(game->At(1, 0, 2).playerLetter, L('E'));
    const Entry* leftDown = game->At(0, 7, 2).downEntry;
    const Entry* rightDown = game->At(1, 0, 2).downEntry;
    ASSERT_NE(leftDown, nullptr);
    ASSERT_NE(rightDown, nullptr);
    EXPECT_NE(leftDown, rightDown);
    EXPECT_EQ(PlayerText(*leftDown), "  E  ");
    EXPECT_EQ(PlayerText(*rightDown), "  E  ");
    EXPECT_EQ(game->At(1, 0, 2).GetCellView().letterTile, L('E'));
}

TEST_F(GameTest, EnterAnswerTakesLettersOfAnyCaseAndRefusesEverythingElse)
{
    Entry& entry = EdgeAcross();
    Solve(entry, "HOUSE");
    for (const char* bad : {"ho1se", "hous", "houses", "ho\xc3\xa9" "e"}) {
        EXPECT_FALSE(EnterAnswer(entry, bad)) << bad;
        EXPECT_EQ(PlayerText(entry), "     ");
    }
    EXPECT_TRUE(EnterAnswer(entry, "hOrSe"));
    EXPECT_EQ(PlayerText(entry), "HORSE");
    EXPECT_TRUE(IsFilled(entry));
    EXPECT_FALSE(IsCorrect(entry));
    EXPECT_EQ(entry.cells.At(0)->GetCellView().letterSet, kSetNormal);
    EXPECT_TRUE(EnterAnswer(entry, "house"));
    EXPECT_TRUE(IsCorrect(entry));
}

TEST_F(GameTest, GiveUpEntersTheAnswerAsRevealed)
{
    Entry& entry = EdgeAcross();
    Solve(entry, "HOUSE");
    GiveUp(entry);
    EXPECT_EQ(PlayerText(entry), "HOUSE");
    EXPECT_EQ(entry.givenUp, 1);
    for (Cell* cell : entry.cells)
        EXPECT_EQ(cell->GetCellView().letterSet, kSetRevealed);
}

TEST_F(GameTest, RevealMarksEmptyAndWrongCellsApartAndLeavesRightOnes)
{
    Entry& entry = EdgeAcross();
    Solve(entry, "HOUSE");
    EnterAnswer(entry, "HXUSE");
    entry.cells.At(4)->playerLetter = kEmpty; // the player left the last cell empty
    RevealEntry(entry);
    EXPECT_EQ(PlayerText(entry), "HOUSE");
    EXPECT_EQ(entry.givenUp, 1);
    EXPECT_EQ(entry.cells.At(0)->GetCellView().letterSet, kSetNormal);
    EXPECT_EQ(entry.cells.At(1)->GetCellView().letterSet, kSetCorrected);
    EXPECT_EQ(entry.cells.At(4)->GetCellView().letterSet, kSetRevealed);
}

TEST_F(GameTest, RevealOfACorrectEntryChangesNothing)
{
    Entry& entry = EdgeAcross();
    Solve(entry, "HOUSE");
    EnterAnswer(entry, "HOUSE");
    RevealEntry(entry);
    EXPECT_EQ(entry.givenUp, 0);
    EXPECT_EQ(entry.cells.At(0)->GetCellView().letterSet, kSetNormal);
}

TEST_F(GameTest, ClearAllAfterRevealAllEmptiesEveryCellButKeepsGivenUp)
{
    test::FillSolution(*game);
    CountingHost host;
    RevealAll(*game, &host);
    const int32_t entries = game->Across().Count() + game->Down().Count();
    // Entries whose every cell an earlier reveal already set right count as correct
    // and are not marked given up.
    const int32_t revealed = CountGivenUp(*game);
    EXPECT_GT(revealed, game->Across().Count());
    EXPECT_EQ(CountComplete(*game), entries);

    ClearAll(*game, &host);
    EXPECT_EQ(host.calls, 2);
    for (int i = 0; i < kCellCount; ++i) {
        Cell& cell = game->At(i);
        EXPECT_EQ(cell.playerLetter, kEmpty);
        if (cell.letter != kBlock) {
            EXPECT_EQ(cell.GetCellView().letterSet, kSetNormal);
        }
    }
    EXPECT_EQ(CountGivenUp(*game), revealed);
    EXPECT_EQ(CountComplete(*game), 0);
}

TEST_F(GameTest, ClearEntryResetsFillerMarksButNotGivenUp)
{
    Entry& entry = EdgeAcross();
    Solve(entry, "HOUSE");
    GiveUp(entry);
    entry.complete = 1;
    entry.repairCount = 4;
    ClearEntry(entry);
    EXPECT_EQ(entry.complete, 0);
    EXPECT_EQ(entry.repairCount, 0);
    EXPECT_EQ(entry.givenUp, 1);
    EXPECT_EQ(PlayerText(entry), "     ");
}

TEST_F(GameTest, CountCompleteCountsWrongButFilledEntries)
{
    test::FillSolution(*game);
    Entry& entry = EdgeAcross();
    EnterAnswer(entry, "ZZZZZ");
    // The edge cell also belongs to the Down entries of both faces; those are not
    // filled, so only this entry counts.
    EXPECT_EQ(CountComplete(*game), 1);
    EXPECT_FALSE(IsCorrect(entry));
}

class EraseEntryTest : public GameTest {
protected:
    // Across entry of face 0, row 2, columns 3-7, and the Down entry crossing it
    // at column 3 (face 0, rows 0-3).
    void SetUp() override
    {
        GameTest::SetUp();
        ASSERT_EQ(crossing().cells.Count(), 4);
        EnterAnswer(EdgeAcross(), "HOUSE");
        EnterAnswer(crossing(), "ABHC");
    }
    Cell& crossed() { return game->At(0, 3, 2); }
    Entry& crossing() { return *crossed().downEntry; }
};

TEST_F(EraseEntryTest, KeepsACrossingLetterHeldByAFilledDownEntry)
{
    crossed().heldAcross = 1;
    crossed().heldDown = 1;
    EraseEntry(EdgeAcross());
    EXPECT_EQ(PlayerText(EdgeAcross()), "H    ");
    EXPECT_EQ(crossed().heldAcross, 0);
    EXPECT_EQ(crossed().heldDown, 1);
}

TEST_F(EraseEntryTest, ErasesACrossingLetterNotHeldByTheDownEntry)
{
    crossed().heldDown = 0;
    EraseEntry(EdgeAcross());
    EXPECT_EQ(PlayerText(EdgeAcross()), "     ");
}

TEST_F(EraseEntryTest, ErasesACrossingLetterWhenTheDownEntryHasAGap)
{
    crossed().heldDown = 1;
    crossing().cells.At(0)->playerLetter = kEmpty;
    EraseEntry(EdgeAcross());
    EXPECT_EQ(PlayerText(EdgeAcross()), "     ");
}

TEST_F(EraseEntryTest, DownEntryLooksAtTheAcrossHoldMark)
{
    crossed().heldAcross = 1;
    EraseEntry(crossing());
    EXPECT_EQ(PlayerText(crossing()), "  H ");
    EXPECT_EQ(crossed().heldDown, 0);
}

TEST_F(GameTest, ResetDropsEntriesViewsAndLetters)
{
    test::FillSolution(*game);
    EnterAnswer(EdgeAcross(), "HOUSE");
    int released = 0;
    game->At(0, 3, 2).GetCellView().mesh = std::make_unique<CountedMesh>(released);
    ResetGame(*game);
    EXPECT_EQ(released, 1);
    EXPECT_EQ(game->Across().Count(), 0);
    EXPECT_EQ(game->Down().Count(), 0);
    EXPECT_EQ(game->lastNumber, 0);
    for (int i = 0; i < kCellCount; ++i) {
        const Cell& cell = game->At(i);
        EXPECT_EQ(cell.letter, kBlock);
        EXPECT_EQ(cell.playerLetter, kEmpty);
        EXPECT_EQ(cell.number, 0);
        EXPECT_EQ(cell.acrossEntry, nullptr);
        EXPECT_EQ(cell.view, nullptr);
    }
}

} // namespace
} // namespace pelorin
