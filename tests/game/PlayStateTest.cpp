#include "game/PlayState.h"

#include "support/SolvedGame.h"

#include <gtest/gtest.h>
#include <functional>

namespace pelorin {
namespace {
class PlayStateTest : public test::SolvedGameTest {
protected:
    Entry& edge = EdgeAcross();
    Cell& last = *edge.cells.At(edge.cells.Count() - 1);
};

// Undo and redo put every player operation back exactly (letters, colours, hold and
// given-up marks, on both faces of an edge cell); only changed cubes are rebuilt.
TEST_F(PlayStateTest, RestoringUndoesAndRedoesEveryPlayerOperation)
{
    const std::function<void()> operations[] = {
        [&] { EnterAnswer(edge, std::string(static_cast<size_t>(edge.cells.Count()), 'q')); },
        [&] { GiveUp(*game->Across().At(0)); }, [&] { EraseEntry(edge); }, [&] { RevealAll(*game, nullptr); },
        [&] { ClearAll(*game, nullptr); }};
    for (const auto& operation : operations) {
        const PlayState before = CapturePlay(*game);
        operation();
        const PlayState after = CapturePlay(*game);
        ASSERT_NE(before, after);
        RestorePlay(*game, before);
        EXPECT_EQ(CapturePlay(*game), before);
        EXPECT_EQ(last.FindView()->letterTile, last.playerLetter);
        RestorePlay(*game, after);
        EXPECT_EQ(CapturePlay(*game), after);
    }
    DirtyViews();
    RestorePlay(*game, CapturePlay(*game));
    EXPECT_EQ(DirtyViews(), 0);
}

// A check marks exactly the wrong letters (an edge cell once, on both faces); a mark goes when its letter changes
// (Reveal Letter puts the right one, green); the grid is open until every cell is filled, then wrong or solved.
TEST_F(PlayStateTest, ChecksMarkTheWrongLettersAndTheGridTellsItsEnd)
{
    EXPECT_EQ(AssessGrid(*game), GridProgress::Open);
    std::string letters(TextOf(edge.text));
    letters.back() = letters.back() == 'A' ? 'B' : 'A';
    ASSERT_TRUE(EnterAnswer(edge, letters));
    EXPECT_EQ(CheckEntry(edge), 1);
    EXPECT_TRUE(IsMarkedWrong(last) && IsMarkedWrong(*last.twin));
    EXPECT_FALSE(IsMarkedWrong(*edge.cells.At(0)));
    EXPECT_EQ(std::pair(CountMarkedWrong(edge), CountMarkedWrong(*game)), std::pair(1, 1));
    EXPECT_EQ(CheckGrid(*game), 1);
    ASSERT_TRUE(RevealLetter(last, nullptr));
    EXPECT_EQ(std::tuple(last.twin->playerLetter, last.FindView()->letterSet, CountMarkedWrong(*game)),
              std::tuple(last.letter, kSetRevealed, 0));
    EXPECT_FALSE(RevealLetter(last, nullptr));
    GiveUp(edge);
    RevealAll(*game, nullptr);
    ASSERT_TRUE(EnterAnswer(edge, letters));
    EXPECT_EQ(AssessGrid(*game), GridProgress::Wrong);
    for (const auto& [seconds, text] : {std::pair<int64_t, const char*>{0, "0:00"}, {59, "0:59"}, {3599, "59:59"},
                                        {3600, "1:00:00"}})
        EXPECT_EQ(PlayTimeText(seconds), text);
}
} // namespace
} // namespace pelorin
