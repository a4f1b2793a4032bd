#pragma once

#include "game/Game.h"

#include <cstdint>

namespace pelorin {

/// The marks a cell view draws behind its letter: the cells of the selected entry,
/// and, more strongly, the cell the next typed letter goes into.
enum SelectionMark : int32_t { kMarkNone = 0, kMarkEntry = 1, kMarkCursor = 2 };

/// Where the player types on the box: a cell of one face and the direction of the
/// entry through it. The cell names the face too, so the cursor on an edge cube is
/// on one of its two faces. Cells stay where they are for the game's life, so a
/// cursor never dangles; after the game changes it may stand on a block, and
/// CursorEntry is then null.
struct BoxCursor {
    Cell* cell = nullptr;
    int32_t direction = kAcross;

    friend bool operator==(const BoxCursor&, const BoxCursor&) = default;
};

enum class Arrow { kLeft, kRight, kUp, kDown };

/// The entry of a cell in a direction, or null.
Entry* EntryOf(const Cell& cell, int32_t direction);
/// The entry the cursor types into, or null.
Entry* CursorEntry(const BoxCursor& cursor);

/// The cursor on an entry's first empty cell (its first cell when it is full); an
/// empty cursor for null.
BoxCursor CursorAt(Entry* entry);
/// A click on a cell: the cursor goes there with the entry of its current
/// direction, else the other one; a second click on the cursor cell switches the
/// direction. A cell without an entry on its own face (an edge cell) takes its
/// twin's. The cursor stays where it was when the cell has no entry at all.
BoxCursor ChooseCell(const BoxCursor& cursor, Cell& cell);
/// The other direction, when the cell has an entry in it.
BoxCursor SwitchDirection(const BoxCursor& cursor);
/// The next (step 1) or previous (step -1) cell of the cursor's entry; the cursor
/// stays at either end.
BoxCursor StepInEntry(const BoxCursor& cursor, int step);
/// The neighbouring open cell in the arrow's direction, skipping blocks; left and
/// right go round the band across the box's edges, up and down stop at the face's
/// top and bottom. The direction becomes the arrow's axis where the new cell has
/// an entry along it.
BoxCursor MoveArrow(const BoxCursor& cursor, Arrow arrow);
/// The first empty cell of the next (or previous) entry in the order of the clue
/// lists: Across, then Down, wrapping round.
BoxCursor NextEntry(Game& game, const BoxCursor& cursor, bool backwards);

// Typing; each returns true when a letter changed (PutPlayerLetter).

/// Puts a letter (1-26) into the cursor cell and moves to the entry's next cell.
bool TypeLetter(BoxCursor& cursor, uint8_t letter, GameHost* host);
/// Removes the cursor cell's letter or, when it has none (or a revealed one that
/// stays), moves back one cell and removes that one.
bool EraseBackward(BoxCursor& cursor, GameHost* host);
/// Removes the cursor cell's letter without moving.
bool EraseAtCursor(const BoxCursor& cursor, GameHost* host);

/// Sets the selection marks of every cell view of the game for this cursor (none
/// for an empty one); only the views whose mark changes are rebuilt.
void MarkSelection(Game& game, const BoxCursor& cursor);

} // namespace pelorin
