#include "game/BoxCursor.h"

#include <algorithm>
#include <array>

namespace pelorin {

namespace {

// The physical columns of one row round the band: the last column of a face is the
// first of the next.
constexpr int kBandColumns = kFaces * (kSide - 1);

int32_t Other(int32_t direction)
{
    return direction == kAcross ? kDown : kAcross;
}

bool IsOpen(const Cell& cell)
{
    return cell.letter != kBlock;
}

int32_t PositionIn(const Entry& entry, const Cell* cell)
{
    for (int32_t i = 0; i < entry.cells.Count(); ++i) {
        if (entry.cells.At(i) == cell)
            return i;
    }
    return -1;
}

// The cursor on a cell with the given direction if the cell has an entry that way,
// else the other; a cell whose own face has no entry through it (an edge cell next
// to a block) lends the cursor to its twin. An empty cursor when neither has one.
BoxCursor Settle(Cell& cell, int32_t direction)
{
    for (Cell* candidate : {&cell, cell.twin}) {
        if (!candidate)
            continue;
        if (EntryOf(*candidate, direction))
            return {candidate, direction};
        if (EntryOf(*candidate, Other(direction)))
            return {candidate, Other(direction)};
    }
    return {};
}

// The next cell to the right (step 1) or left (-1) round the band, on the face of
// travel: from the last column of a face the step right lands on the second column
// of the next face, the first being the same cube.
Cell& Sideways(Cell& cell, int step)
{
    Game& game = *cell.owner;
    const int next = cell.column + step;
    if (next >= 0 && next < kSide)
        return game.At(cell.face, next, cell.row);
    if (step > 0)
        return game.At((cell.face + 1) % kFaces, 1, cell.row);
    return game.At((cell.face + kFaces - 1) % kFaces, kSide - 2, cell.row);
}

// The first open cell beyond this one in the arrow's direction, or null.
Cell* OpenNeighbour(Cell& cell, Arrow arrow)
{
    if (arrow == Arrow::kLeft || arrow == Arrow::kRight) {
        const int step = arrow == Arrow::kRight ? 1 : -1;
        Cell* next = &cell;
        for (int i = 0; i < kBandColumns; ++i) {
            next = &Sideways(*next, step);
            if (next == &cell || next == cell.twin)
                return nullptr;
            if (IsOpen(*next))
                return next;
        }
        return nullptr;
    }
    const int step = arrow == Arrow::kDown ? 1 : -1;
    for (int row = cell.row + step; row >= 0 && row < kSide; row += step) {
        Cell& next = cell.owner->At(cell.face, cell.column, row);
        if (IsOpen(next))
            return &next;
    }
    return nullptr;
}

// The entries of both lists in their order, Across first.
int32_t ListPosition(Game& game, const Entry* entry)
{
    if (!entry)
        return -1;
    return entry->direction == kAcross ? entry->index : game.Across().Count() + entry->index;
}

Entry* EntryAtListPosition(Game& game, int32_t position)
{
    const int32_t across = game.Across().Count();
    return position < across ? game.Across().At(position) : game.Down().At(position - across);
}

} // namespace

Entry* EntryOf(const Cell& cell, int32_t direction)
{
    return direction == kAcross ? cell.acrossEntry : cell.downEntry;
}

Entry* CursorEntry(const BoxCursor& cursor)
{
    return cursor.cell ? EntryOf(*cursor.cell, cursor.direction) : nullptr;
}

BoxCursor CursorAt(Entry* entry)
{
    if (!entry || entry->cells.Count() == 0)
        return {};
    for (Cell* cell : entry->cells) {
        if (cell->playerLetter == kEmpty)
            return {cell, entry->direction};
    }
    return {entry->cells.At(0), entry->direction};
}

BoxCursor ChooseCell(const BoxCursor& cursor, Cell& cell)
{
    if (cursor.cell && (&cell == cursor.cell || &cell == cursor.cell->twin))
        return SwitchDirection(cursor);
    const BoxCursor chosen = Settle(cell, cursor.direction);
    return chosen.cell ? chosen : cursor;
}

BoxCursor SwitchDirection(const BoxCursor& cursor)
{
    if (!cursor.cell)
        return cursor;
    const BoxCursor switched = Settle(*cursor.cell, Other(cursor.direction));
    return switched.cell ? switched : cursor;
}

BoxCursor StepInEntry(const BoxCursor& cursor, int step)
{
    const Entry* entry = CursorEntry(cursor);
    if (!entry)
        return cursor;
    const int32_t position = PositionIn(*entry, cursor.cell) + step;
    if (position < 0 || position >= entry->cells.Count())
        return cursor;
    return {entry->cells.At(position), cursor.direction};
}

BoxCursor MoveArrow(const BoxCursor& cursor, Arrow arrow)
{
    if (!cursor.cell)
        return cursor;
    Cell* next = OpenNeighbour(*cursor.cell, arrow);
    if (!next)
        return cursor;
    const int32_t axis = arrow == Arrow::kLeft || arrow == Arrow::kRight ? kAcross : kDown;
    const BoxCursor moved = EntryOf(*next, axis) ? BoxCursor{next, axis} : Settle(*next, cursor.direction);
    return moved.cell ? moved : BoxCursor{next, cursor.direction};
}

BoxCursor NextEntry(Game& game, const BoxCursor& cursor, bool backwards)
{
    const int32_t count = game.Across().Count() + game.Down().Count();
    if (count == 0)
        return cursor;
    const int32_t current = ListPosition(game, CursorEntry(cursor));
    int32_t next = 0;
    if (current < 0)
        next = backwards ? count - 1 : 0;
    else
        next = (current + (backwards ? count - 1 : 1)) % count;
    return CursorAt(EntryAtListPosition(game, next));
}

bool TypeLetter(BoxCursor& cursor, uint8_t letter, GameHost* host)
{
    if (!CursorEntry(cursor))
        return false;
    const bool changed = PutPlayerLetter(*cursor.cell, letter, host);
    cursor = StepInEntry(cursor, 1);
    return changed;
}

bool EraseBackward(BoxCursor& cursor, GameHost* host)
{
    if (!CursorEntry(cursor))
        return false;
    // A revealed letter cannot be removed, so Backspace passes over it as over an
    // empty cell.
    if (cursor.cell->playerLetter == kEmpty || IsLockedCell(*cursor.cell))
        cursor = StepInEntry(cursor, -1);
    return EraseAtCursor(cursor, host);
}

bool EraseAtCursor(const BoxCursor& cursor, GameHost* host)
{
    return CursorEntry(cursor) && PutPlayerLetter(*cursor.cell, kEmpty, host);
}

void MarkSelection(Game& game, const BoxCursor& cursor)
{
    // The marks wanted, by the index of the cell that holds each view: twins share
    // one view, and the stronger mark of the two wins.
    std::array<int32_t, kCellCount> wanted{};
    auto want = [&wanted](Cell& cell, int32_t mark) {
        const Cell& holder = *cell.GetCellView().holdingCell;
        int32_t& slot = wanted[static_cast<size_t>(CellIndex(holder.face, holder.column, holder.row))];
        slot = std::max(slot, mark);
    };
    if (Entry* entry = CursorEntry(cursor)) {
        for (Cell* cell : entry->cells)
            want(*cell, kMarkEntry);
        want(*cursor.cell, kMarkCursor);
    }
    for (int i = 0; i < kCellCount; ++i) {
        CellView* view = game.At(i).view.get();
        if (!view || view->mark == wanted[static_cast<size_t>(i)])
            continue;
        view->mark = wanted[static_cast<size_t>(i)];
        view->Refresh();
    }
}

} // namespace pelorin
