#pragma once

#include "game/Game.h"

#include <array>
#include <cstdint>

namespace pelorin {

class MeshBuilder;
struct OrbitCamera;
class SceneRenderer;

/// The centre of a cell's cube in the world (left-handed, y up). The ring of cubes
/// fills the outline of an 8 × 8 square on the x-z plane in 8 layers; twins share
/// their corner position. Seen from outside, every face reads left to right and top
/// to bottom.
struct CellCentre {
    int32_t x = 0;
    int32_t y = 0;
    int32_t z = 0;

    friend bool operator==(const CellCentre&, const CellCentre&) = default;
};

CellCentre CellPosition(int32_t face, int32_t column, int32_t row);

/// The faces in order of their distance from the eye, nearest first.
std::array<int32_t, kFaces> FacesNearestFirst(const OrbitCamera& camera);

/// The middle of the box, where the camera looks.
constexpr float kBoxCentre = 3.5f;

/// Tiles of the two kinds of atlas.
constexpr int32_t kLetterTiles = 27;
constexpr int32_t kNumberTiles = 64;

/// Appends one unit cube centred at (x, y, z): 24 vertices (six squares of four)
/// and 12 triangles, wound clockwise as seen from outside. Its four sides show
/// letter tile `letterTile` of the letter atlas, each with the number of the face
/// it looks out over in the second coordinates; top and bottom show blank tiles.
/// The builder's texture slot becomes `letterSet`.
void AddCellCube(MeshBuilder& builder, int32_t x, int32_t y, int32_t z, int32_t letterTile,
                 const std::array<int32_t, kFaces>& faceNumbers, int32_t letterSet);

/// The core box's geometry: the four walls of an open box at 0.5 and 6.5 on each
/// axis, at the inner sides of the ring, showing the wall texture.
MeshBuilder CoreBoxBuilder();

/// Builds the core box on the renderer's device and adds it to its static meshes.
void BuildCore(SceneRenderer& renderer);

/// The colour (ARGB) that tints a cube with a selection mark (SelectionMark), and
/// with a check's mark when its letter was found wrong.
uint32_t MarkColour(int32_t mark, bool markedWrong = false);

/// Rebuilds a cell's cube when its view is dirty (or was built on a device that is
/// gone), then draws it. Called once per frame for every view of the current game.
void DrawCellView(SceneRenderer& renderer, CellView& view);

} // namespace pelorin
