#pragma once

#include "game/Game.h"
#include "scene/OrbitCamera.h"

#include <cstdint>

namespace pelorin {

/// The sides of a cube, in the order the cube's squares are built: the sides that
/// look out over faces 0 to 3 (facing -x, -z, +x, +z), then top and bottom.
enum BoxSide : int32_t { kSideFace0, kSideFace1, kSideFace2, kSideFace3, kSideTop, kSideBottom };

/// What a pointer points at on the box: the cell (index into the game's cells) and
/// the side of its cube that the ray meets first; -1 for both when it meets the
/// core box or nothing.
struct BoxHit {
    int32_t cell = -1;
    int32_t side = -1;

    friend bool operator==(const BoxHit&, const BoxHit&) = default;
};

/// The cube under a point of the view: the ray from the eye through (x, y) (view
/// coordinates, 0 to width and height; a pixel's centre is its position plus 0.5)
/// against every open cell's cube and the core box, nearest first. A cube on the
/// box's edge belongs to two faces: the side that was hit tells which cell; its top,
/// bottom or inner side goes to the face more square to the eye.
BoxHit PickCell(const OrbitCamera& camera, int32_t width, int32_t height, const Game& game, double x, double y);

} // namespace pelorin
