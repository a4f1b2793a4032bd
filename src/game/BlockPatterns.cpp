#include "game/BlockPatterns.h"

#include "game/Game.h"

#include <algorithm>
#include <array>
#include <cassert>

namespace pelorin {

namespace {

using FaceRows = std::array<std::string_view, kSide>;

// Each pattern lists the rows of faces 0 and 2, then those of faces 1 and 3.
// Column 7 of one face and column 0 of the next are the same physical cells, so
// the two halves agree at every edge.
struct Pattern {
    FaceRows evenFaces;
    FaceRows oddFaces;
};

constexpr std::array<Pattern, kPatternCount> kPatterns = {{
    {{"XXXXXX X", "X  X X X", "X  XXXXX", "XXXX X X", "X X XXXX", "XXXXXX  ", "  X XXXX", "XXXXX   "},
     {"X XXXXXX", "X X X  X", "XXXXX  X", "X X XXXX", "XXXX X X", "  XXXXXX", "XXXX X  ", "   XXXXX"}},
    {{"XXXX    ", " XXXX   ", " XXXXX  ", " X  X   ", "    X   ", " XXXXXX ", "    X   ", "   XXXXX"},
     {"    XXXX", "   XXXX ", "  XXXXX ", "   X  X ", "   X    ", " XXXXXX ", "   X    ", "XXXXX   "}},
    {{"XXXXXX  ", "  X X  X", "XXXXX  X", "  X X  X", " XXXXXXX", "  X X   ", "    XXXX", "XXXXX   "},
     {"  XXXXXX", "X  X X  ", "X  XXXXX", "X  X X  ", "XXXXXXX ", "   X X  ", "XXXX    ", "   XXXXX"}},
    {{"XXXXXXXX", "  X  X  ", "  X  X  ", "  X  X  ", " XXXXX  ", "  X  X  ", "  X  X  ", "XXXXXXXX"},
     {"XXXXXXXX", "  X  X  ", "  X  X  ", "  X  X  ", " XXXXX  ", "  X  X  ", "  X  X  ", "XXXXXXXX"}},
}};

} // namespace

std::string_view PatternRow(int32_t id, int face, int row)
{
    if (id < 0 || id >= kPatternCount || face < 0 || face >= kFaces || row < 0 || row >= kSide)
        return {};
    const Pattern& pattern = kPatterns[static_cast<size_t>(id)];
    const FaceRows& rows = face % 2 == 0 ? pattern.evenFaces : pattern.oddFaces;
    return rows[static_cast<size_t>(row)];
}

void ApplyPattern(Game& game, int32_t id)
{
    if (id < 0 || id >= kPatternCount)
        return;
    for (int face = 0; face < kFaces; ++face) {
        for (int row = 0; row < kSide; ++row)
            SetPatternRow(game, face, row, PatternRow(id, face, row));
    }
}

void LayOutPattern(Game& game, int32_t id)
{
    ResetGame(game);
    ApplyPattern(game, id);
    for (int face = 0; face < kFaces; ++face)
        BuildEntries(game, face);
}

void SetPatternRow(Game& game, int face, int row, std::string_view text)
{
    assert(face >= 0 && face < kFaces && row >= 0 && row < kSide && "no such row");
    const size_t columns = std::min(text.size(), static_cast<size_t>(kSide));
    for (size_t k = 0; k < columns; ++k) {
        Cell& cell = game.At(face, static_cast<int>(k), row);
        if (text[k] == ' ') {
            // A block needs no view: the view of the cell is left as it is.
            cell.letter = kBlock;
            if (cell.twin)
                SetLetter(*cell.twin, kBlock, false);
        } else {
            ClearCell(cell);
        }
    }
}

} // namespace pelorin
