#include "game/BoxCursor.h"

#include "support/SolvedGame.h"

#include <gtest/gtest.h>
#include <tuple>

namespace pelorin {
namespace {
class BoxCursorTest : public test::SolvedGameTest {
protected:
    BoxCursor At(int face, int column, int row, int32_t direction) { return {&game->At(face, column, row), direction}; }
    test::CountingHost host;
};

// The arrows walk over open cells only, round the band at the box's edges, stop at a
// face's top and bottom, and take the arrow's axis where the cell has an entry along it.
TEST_F(BoxCursorTest, ArrowsSkipBlocksAndCrossEdges)
{
    const struct { BoxCursor from; Arrow arrow; BoxCursor to; } cases[] = {
        {At(0, 6, 2, kAcross), Arrow::kRight, At(0, 7, 2, kAcross)},
        {At(0, 7, 2, kAcross), Arrow::kRight, At(1, 1, 2, kAcross)},
        {At(1, 0, 2, kAcross), Arrow::kLeft, At(0, 6, 2, kAcross)},
        {At(0, 0, 0, kAcross), Arrow::kLeft, At(3, 6, 0, kAcross)},
        // Over the block at column 6 onto an edge cell with a Down entry only.
        {At(0, 5, 0, kAcross), Arrow::kRight, At(0, 7, 0, kDown)},
        {At(0, 0, 0, kAcross), Arrow::kDown, At(0, 0, 1, kDown)},
        {At(0, 0, 0, kDown), Arrow::kUp, At(0, 0, 0, kDown)},
        // Over two blocks onto a cell with an Across entry only.
        {At(0, 1, 0, kAcross), Arrow::kDown, At(0, 1, 3, kAcross)},
        {At(0, 0, 7, kDown), Arrow::kDown, At(0, 0, 7, kDown)},
    };
    for (const auto& c : cases) {
        const BoxCursor to = MoveArrow(c.from, c.arrow);
        EXPECT_EQ(to, c.to) << "case " << &c - cases << " reached " << to.cell->face << to.cell->column << to.cell->row;
    }
}

// A click takes the entry of the current direction, else the other; a second click
// on the cursor cell, on either face of an edge cube, switches the direction.
TEST_F(BoxCursorTest, ClicksChooseAndSwitchEntries)
{
    const BoxCursor start = At(2, 3, 3, kAcross);
    EXPECT_EQ(ChooseCell(start, game->At(0, 3, 2)), At(0, 3, 2, kAcross));
    EXPECT_EQ(ChooseCell(At(0, 3, 2, kAcross), game->At(0, 3, 2)), At(0, 3, 2, kDown));
    EXPECT_EQ(ChooseCell(start, game->At(0, 0, 1)), At(0, 0, 1, kDown));
    EXPECT_EQ(ChooseCell(At(0, 7, 2, kAcross), game->At(1, 0, 2)), At(0, 7, 2, kDown));
    EXPECT_EQ(ChooseCell(start, game->At(0, 1, 1)), start) << "a block chooses nothing";
    EXPECT_EQ(SwitchDirection(At(0, 0, 1, kDown)), At(0, 0, 1, kDown)) << "no Across entry there";
}

// Tab walks the clue lists' order, Across then Down, round and round, onto each entry's first empty cell.
TEST_F(BoxCursorTest, TabGoesThroughTheListsOnFirstEmptyCells)
{
    Entry& lastAcross = *game->Across().At(game->Across().Count() - 1);
    Entry& firstDown = *game->Down().At(0);
    Entry& lastDown = *game->Down().At(game->Down().Count() - 1);
    PutPlayerLetter(*firstDown.cells.At(0), 1, nullptr);
    EXPECT_EQ(NextEntry(*game, CursorAt(&lastAcross), false), BoxCursor({firstDown.cells.At(1), kDown}));
    EXPECT_EQ(NextEntry(*game, CursorAt(&lastDown), false), CursorAt(game->Across().At(0)));
    EXPECT_EQ(NextEntry(*game, CursorAt(game->Across().At(0)), true), CursorAt(&lastDown));
    EXPECT_EQ(NextEntry(*game, BoxCursor{}, false), CursorAt(game->Across().At(0)));
}

// Typing follows the rules of OK, a letter at a time (an edge cell on both faces); the cursor stays on the last
// cell. Backspace and Delete remove, but not what the game revealed.
TEST_F(BoxCursorTest, TypingFillsAndErasesOneCellAtATime)
{
    BoxCursor cursor = CursorAt(&EdgeAcross());
    for (const uint8_t letter : {uint8_t{1}, uint8_t{2}, uint8_t{3}, uint8_t{4}, uint8_t{5}})
        EXPECT_TRUE(TypeLetter(cursor, letter, &host));
    EXPECT_EQ(std::tuple(PlayerText(EdgeAcross()), PlayerText(*game->At(1, 0, 2).acrossEntry)),
              std::tuple("ABCDE", "E    "));
    EXPECT_EQ(cursor, At(0, 7, 2, kAcross));
    EXPECT_FALSE(TypeLetter(cursor, 5, &host)) << "the same letter again changes nothing";
    EXPECT_EQ(host.modified, 5);
    EXPECT_TRUE(EraseBackward(cursor, &host) && cursor == At(0, 7, 2, kAcross));
    EXPECT_TRUE(EraseBackward(cursor, &host) && cursor == At(0, 6, 2, kAcross));
    EXPECT_EQ(PlayerText(EdgeAcross()), "ABC  ");
    cursor = At(0, 3, 2, kAcross);
    EXPECT_TRUE(EraseAtCursor(cursor, &host));
    EXPECT_EQ(PlayerText(EdgeAcross()), " BC  ");
    // A given-up answer is the solution in green: typing passes over it.
    GiveUp(EdgeAcross());
    const std::string answer = PlayerText(EdgeAcross());
    cursor = At(0, 3, 2, kAcross);
    const uint8_t other = static_cast<uint8_t>(cursor.cell->letter % 26 + 1);
    EXPECT_TRUE(!TypeLetter(cursor, other, &host) && cursor == At(0, 4, 2, kAcross));
    EXPECT_FALSE(EraseAtCursor(cursor, &host));
    EXPECT_TRUE(!EraseBackward(cursor, &host) && cursor == At(0, 3, 2, kAcross)) << "Backspace passes over it";
    EXPECT_EQ(PlayerText(EdgeAcross()), answer);
}

// The entry's cubes carry the entry mark, the cursor cube the stronger one; moving
// the cursor within the entry rebuilds only the two cubes whose mark changed.
TEST_F(BoxCursorTest, MarksFollowTheCursorAndDirtyOnlyChangedCubes)
{
    MarkSelection(*game, At(0, 3, 2, kAcross));
    const auto mark = [&](int face, int column, int row) { return game->At(face, column, row).GetCellView().mark; };
    EXPECT_EQ(std::tuple(mark(0, 3, 2), mark(1, 0, 2), mark(0, 3, 1)), std::tuple(kMarkCursor, kMarkEntry, kMarkNone));
    DirtyViews();
    MarkSelection(*game, At(0, 4, 2, kAcross));
    EXPECT_EQ(DirtyViews(), 2);
    MarkSelection(*game, BoxCursor{});
    EXPECT_EQ(mark(0, 4, 2), kMarkNone);
}
} // namespace
} // namespace pelorin
