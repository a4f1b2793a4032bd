#include "game/BlockPatterns.h"

#include "game/Game.h"
#include "support/FilledGame.h"

#include <gtest/gtest.h>
#include <memory>
#include <tuple>

namespace pelorin {
namespace {
// Each pattern's entries, pinned: counts, the highest number, and where the first
// entries start (face 0, row 0). The entries' lengths are the filled grids' and
// games' of the filler tests.
TEST(BlockPatternsTest, EachPatternGivesItsEntriesAndNumbers)
{
    auto game = std::make_unique<Game>();
    const struct {
        int32_t id; int across, down, highest; int firstAcrossLength, firstDownNumber, firstDownColumn;
    } cases[] = {
        {0, 28, 24, 46, 6, 1, 0}, {1, 20, 16, 32, 4, 2, 1}, {2, 20, 12, 32, 6, 2, 2}, {3, 12, 8, 20, 8, 2, 2},
    };
    for (const auto& c : cases) {
        LayOutPattern(*game, c.id);
        SCOPED_TRACE(c.id);
        EXPECT_EQ(std::tuple(game->Across().Count(), game->Down().Count(), game->lastNumber),
                  std::tuple(c.across, c.down, c.highest));
        const Entry &across = *game->Across().At(0), &down = *game->Down().At(0);
        EXPECT_EQ(std::tuple(across.number, across.cells.At(0), across.cells.Count(), down.number, down.cells.At(0)),
                  std::tuple(1, &game->At(0, 0, 0), c.firstAcrossLength, c.firstDownNumber,
                             &game->At(0, c.firstDownColumn, 0)));
        EXPECT_EQ(game->At(0, 0, 0).GetCellView().faceNumbers[0], 1);
    }
}
} // namespace
} // namespace pelorin
