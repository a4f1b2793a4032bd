#pragma once

#include "game/BlockPatterns.h"
#include "support/FilledGame.h"

#include <gtest/gtest.h>
#include <memory>

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
    const std::unique_ptr<Game> game = std::make_unique<Game>();
};

} // namespace pelorin::test
