#pragma once

#include <cstdint>
#include <string_view>

namespace pelorin {

class Game;

/// The built-in block patterns have ids 0 to kPatternCount - 1. The New Game
/// dialog and the preparation offer only the first kOfferedPatterns of them.
constexpr int32_t kPatternCount = 4;
constexpr int32_t kOfferedPatterns = 3;

/// The row string of a built-in pattern: 8 characters, a blank for a block and
/// "X" for an open cell, column 0 first. Empty for an unknown id, face or row.
std::string_view PatternRow(int32_t id, int face, int row);

/// Lays a built-in pattern over the game's cells, face 0 to 3, row 0 to 7. An
/// unknown id changes nothing.
void ApplyPattern(Game& game, int32_t id);

/// Lays a built-in pattern out for a fill or for play: resets the game, applies
/// the pattern and finds the entries of faces 0 to 3.
void LayOutPattern(Game& game, int32_t id);

/// Lays one row string over row `row` of `face`: a blank makes a block, any other
/// character an empty open cell. Characters past column 7 are ignored.
void SetPatternRow(Game& game, int face, int row, std::string_view text);

} // namespace pelorin
