#pragma once

#include "game/BlockPatterns.h"
#include "support/FilledGame.h"

#include <gtest/gtest.h>
#include <memory>
#include <utility>

namespace pelorin::test {

/// Counts the changes that play reports to its host.
struct CountingHost final : GameHost {
    void SetModified() override { ++modified; }
    int modified = 0;
};

/// Pattern 0, solved. Face 0's row 2 holds an Across entry over columns 3-7, ending
/// on the edge it shares with face 1, whose row 2 starts another over columns 0-4.
struct SolvedGameTest : ::testing::Test {
    SolvedGameTest() { LayOutPattern(*game, 0); FillSolution(*game); }
    Entry& EdgeAcross() const { return *game->At(0, 3, 2).acrossEntry; }
    /// How many views are marked for rebuilding; marks them drawn.
    int DirtyViews() const
    {
        int dirty = 0;
        for (int i = 0; i < kCellCount; ++i)
            if (CellView* view = game->At(i).view.get())
                dirty += std::exchange(view->dirty, 0);
        return dirty;
    }
    const std::unique_ptr<Game> game = std::make_unique<Game>();
};

} // namespace pelorin::test
