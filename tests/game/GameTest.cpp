#include "game/Game.h"

#include "support/SolvedGame.h"

#include <gtest/gtest.h>
#include <memory>
#include <span>
#include <string>
#include <tuple>

namespace pelorin {
namespace {
class GameTest : public test::SolvedGameTest {
protected:
    int32_t LetterSet(const Entry& entry, int32_t i) { return entry.cells.At(i)->GetCellView().letterSet; }
};

// The edge cells of a face are the first column of the next face: one letter and
// one view, rebuilt whichever twin changes.
TEST_F(GameTest, TwinsShareLettersAndOneView)
{
    Cell &edge = game->At(0, 7, 2), &twin = game->At(1, 0, 2);
    edge.GetCellView().dirty = 0;
    ASSERT_TRUE(EnterAnswer(EdgeAcross(), "abcde"));
    EXPECT_EQ(std::tuple(twin.playerLetter, twin.GetCellView().letterTile, edge.GetCellView().dirty), std::tuple(5, 5, 1));
    SetLetter(edge, 17, true);
    EXPECT_EQ(std::tuple(twin.letter, edge.GetCellView().letterTile), std::tuple(17, 0));
}

TEST_F(GameTest, EnterAnswerTakesLettersOfAnyCaseAndRefusesEverythingElse)
{
    Entry& entry = EdgeAcross();
    for (const char* bad : {"ho1se", "hous", "houses", "ho\xc3\xa9" "e"})
        EXPECT_TRUE(!EnterAnswer(entry, bad) && PlayerText(entry) == "     ") << bad;
    EXPECT_TRUE(EnterAnswer(entry, "hOrSe"));
    EXPECT_EQ(PlayerText(entry), "HORSE");
    // A wrong answer counts as complete; the Down entries through its cells do not.
    EXPECT_EQ(CountComplete(*game), 1);
    EXPECT_TRUE(EnterAnswer(entry, std::string(TextOf(entry.text))) && IsCorrect(entry));
}

TEST_F(GameTest, RevealMarksEmptyAndWrongCellsApartAndLeavesRightEntriesAlone)
{
    Entry& entry = EdgeAcross();
    const std::string solution(TextOf(entry.text));
    std::string wrong = solution;
    wrong[1] = wrong[1] == 'A' ? 'B' : 'A';
    EnterAnswer(entry, wrong);
    entry.cells.At(4)->playerLetter = kEmpty; // the player left the last cell empty
    RevealEntry(entry);
    EXPECT_EQ(std::tuple(PlayerText(entry), entry.givenUp), std::tuple(solution, 1));
    EXPECT_EQ(std::tuple(LetterSet(entry, 0), LetterSet(entry, 1), LetterSet(entry, 4)),
              std::tuple(kSetNormal, kSetCorrected, kSetRevealed));
    Entry& right = *game->Across().At(0);
    EnterAnswer(right, std::string(TextOf(right.text)));
    RevealEntry(right);
    EXPECT_EQ(std::tuple(right.givenUp, LetterSet(right, 0)), std::tuple(0, kSetNormal));
}

TEST_F(GameTest, ClearAllAfterRevealAllEmptiesEveryCellButKeepsGivenUp)
{
    test::CountingHost host;
    RevealAll(*game, &host);
    // Entries whose every cell an earlier reveal already set right count as correct and are not marked given up.
    const int32_t revealed = CountGivenUp(*game);
    EXPECT_GT(revealed, game->Across().Count());
    EXPECT_EQ(CountComplete(*game), game->Across().Count() + game->Down().Count());
    ClearAll(*game, &host);
    EXPECT_EQ(host.modified, 2);
    for (Cell& cell : std::span(&game->At(0), kCellCount))
        EXPECT_TRUE(cell.playerLetter == kEmpty && (cell.letter == kBlock || cell.GetCellView().letterSet == kSetNormal));
    EXPECT_EQ(std::pair(CountGivenUp(*game), CountComplete(*game)), std::pair(revealed, 0));
}

// Erasing an entry keeps a crossing letter only while the crossing entry is filled
// and holds it; the erased entry's own hold mark goes.
TEST_F(GameTest, EraseEntryKeepsCrossingLettersHeldByAFilledEntry)
{
    const struct { const char* what; int heldAcross, heldDown; bool gapInDown, eraseDown; const char* left; } cases[] = {
        {"held by the filled Down entry", 1, 1, false, false, "H    "},
        {"not held by the Down entry", 1, 0, false, false, "     "},
        {"Down entry has a gap", 0, 1, true, false, "     "},
        {"erasing Down looks at the Across mark", 1, 0, false, true, "  H "},
    };
    // The Down entry crossing EdgeAcross at column 3 (face 0, rows 0-3).
    Cell& crossed = game->At(0, 3, 2);
    Entry& down = *crossed.downEntry;
    ASSERT_EQ(down.cells.Count(), 4);
    for (const auto& c : cases) {
        EnterAnswer(EdgeAcross(), "HOUSE");
        EnterAnswer(down, "ABHC");
        crossed.heldAcross = c.heldAcross;
        crossed.heldDown = c.heldDown;
        if (c.gapInDown)
            down.cells.At(0)->playerLetter = kEmpty;
        Entry& erased = c.eraseDown ? down : EdgeAcross();
        EraseEntry(erased);
        EXPECT_EQ(PlayerText(erased), c.left) << c.what;
        EXPECT_EQ(c.eraseDown ? crossed.heldDown : crossed.heldAcross, 0) << c.what;
    }
}
} // namespace
} // namespace pelorin
