#pragma once

#include "game/Game.h"

namespace pelorin::test {

// Header-only on purpose: every test executable compiles tests/support/*.cpp,
// and only some of them link the game layer.

/// Gives every open cell a solution letter (twins alike) and every entry its
/// text, standing in for a filled grid.
inline void FillSolution(Game& game)
{
    for (int i = 0; i < kCellCount; ++i) {
        Cell& cell = game.At(i);
        if (cell.letter != kBlock)
            SetLetter(cell, static_cast<uint8_t>((i * 7) % 26 + 1), true);
    }
    for (Entry* entry : game.Across())
        EntryText(*entry);
    for (Entry* entry : game.Down())
        EntryText(*entry);
}

} // namespace pelorin::test
