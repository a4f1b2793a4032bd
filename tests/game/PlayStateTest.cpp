#include "game/PlayState.h"

#include "game/BlockPatterns.h"
#include "support/FilledGame.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

namespace pelorin {
namespace {

// Undo and redo put a captured state back: every player operation is undone
// exactly (letters, colours, hold and given-up marks, on both faces of an edge
// cell), and the cubes of the changed cells are rebuilt.
TEST(PlayStateTest, RestoringUndoesAndRedoesEveryPlayerOperation)
{
    Game game;
    LayOutPattern(game, 0);
    test::FillSolution(game);
    Entry& first = *game.Across().At(0);
    // An entry that reaches column 7, so that its last cell has a twin.
    Entry* edge = nullptr;
    for (Entry* entry : game.Across())
        if (entry->cells.At(entry->cells.Count() - 1)->twin)
            edge = entry;
    ASSERT_NE(edge, nullptr);
    const std::function<void()> operations[] = {
        [&] { EnterAnswer(*edge, std::string(static_cast<size_t>(edge->cells.Count()), 'q')); },
        [&] { GiveUp(first); },
        [&] { EraseEntry(*edge); },
        [&] { RevealAll(game, nullptr); },
        [&] { ClearAll(game, nullptr); },
    };
    for (const auto& operation : operations) {
        const PlayState before = CapturePlay(game);
        operation();
        const PlayState after = CapturePlay(game);
        ASSERT_NE(before, after);
        RestorePlay(game, before);
        EXPECT_EQ(CapturePlay(game), before);
        const Cell& last = *edge->cells.At(edge->cells.Count() - 1);
        EXPECT_EQ(last.twin->playerLetter, last.playerLetter);
        EXPECT_EQ(last.FindView()->letterTile, last.playerLetter);
        RestorePlay(game, after);
        EXPECT_EQ(CapturePlay(game), after);
    }
    // Only changed cubes are rebuilt: putting back the same state rebuilds none.
    for (int i = 0; i < kCellCount; ++i)
        if (CellView* view = game.At(i).FindView())
            view->dirty = 0;
    RestorePlay(game, CapturePlay(game));
    for (int i = 0; i < kCellCount; ++i) {
        const CellView* view = game.At(i).FindView();
        EXPECT_EQ(view ? view->dirty : 0, 0) << i;
    }
}

// A check marks exactly the wrong letters (one physical cell once, on both faces
// of an edge), and a mark goes when its letter changes (Reveal Letter puts the
// right one, green, on both faces); the
// grid is open until every cell is filled, then wrong or solved.
TEST(PlayStateTest, ChecksMarkTheWrongLettersAndTheGridTellsItsEnd)
{
    Game game;
    LayOutPattern(game, 0);
    test::FillSolution(game);
    EXPECT_EQ(AssessGrid(game), GridProgress::Open);
    Entry* edge = nullptr;
    for (Entry* entry : game.Across())
        if (entry->cells.At(entry->cells.Count() - 1)->twin)
            edge = entry;
    ASSERT_NE(edge, nullptr);
    std::string letters(TextOf(edge->text));
    letters.back() = letters.back() == 'A' ? 'B' : 'A';
    ASSERT_TRUE(EnterAnswer(*edge, letters));
    Cell& last = *edge->cells.At(edge->cells.Count() - 1);
    EXPECT_EQ(CheckEntry(*edge), 1);
    EXPECT_TRUE(IsMarkedWrong(last));
    EXPECT_TRUE(IsMarkedWrong(*last.twin));
    EXPECT_FALSE(IsMarkedWrong(*edge->cells.At(0)));
    EXPECT_EQ(CountMarkedWrong(*edge), 1);
    EXPECT_EQ(CountMarkedWrong(game), 1);
    EXPECT_EQ(CheckGrid(game), 1);
    ASSERT_TRUE(RevealLetter(last, nullptr));
    EXPECT_EQ(last.twin->playerLetter, last.letter);
    EXPECT_EQ(last.FindView()->letterSet, kSetRevealed);
    EXPECT_EQ(CountMarkedWrong(game), 0);
    EXPECT_FALSE(RevealLetter(last, nullptr));
    GiveUp(*edge);

    RevealAll(game, nullptr);
    EXPECT_EQ(AssessGrid(game), GridProgress::Solved);
    ASSERT_TRUE(EnterAnswer(*edge, letters));
    EXPECT_EQ(AssessGrid(game), GridProgress::Wrong);

    const std::pair<int64_t, const char*> times[] = {{0, "0:00"}, {59, "0:59"}, {3599, "59:59"}, {3600, "1:00:00"}};
    for (const auto& [seconds, text] : times)
        EXPECT_EQ(PlayTimeText(seconds), text);
}

} // namespace
} // namespace pelorin
