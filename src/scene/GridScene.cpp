#include "scene/GridScene.h"

#include "game/PlayState.h"

#include "game/BoxCursor.h"

#include "scene/MeshBuilder.h"
#include "scene/OrbitCamera.h"
#include "scene/SceneMesh.h"
#include "scene/SceneRenderer.h"
#include "scene/SceneTextures.h"

#include <algorithm>
#include <cassert>

namespace pelorin {

namespace {

/// One square of a box: its corners as offsets of ±1 from the centre, in the order
/// that winds both its triangles clockwise from outside, and its outward normal.
struct Square {
    std::array<std::array<int, 3>, 4> corners;
    std::array<int, 3> normal;
};

// Sides facing -x, -z, +x and +z (the outward sides of faces 0 to 3), then top and
// bottom. u runs from the first corner to the third, v downwards, so a letter stands
// upright and reads correctly from outside.
constexpr std::array<Square, 6> kSquares = {{
    {{{{-1, -1, +1}, {-1, +1, +1}, {-1, +1, -1}, {-1, -1, -1}}}, {-1, 0, 0}},
    {{{{-1, -1, -1}, {-1, +1, -1}, {+1, +1, -1}, {+1, -1, -1}}}, {0, 0, -1}},
    {{{{+1, -1, -1}, {+1, +1, -1}, {+1, +1, +1}, {+1, -1, +1}}}, {+1, 0, 0}},
    {{{{+1, -1, +1}, {+1, +1, +1}, {-1, +1, +1}, {-1, -1, +1}}}, {0, 0, +1}},
    {{{{+1, +1, -1}, {-1, +1, -1}, {-1, +1, +1}, {+1, +1, +1}}}, {0, +1, 0}},
    {{{{+1, -1, +1}, {-1, -1, +1}, {-1, -1, -1}, {+1, -1, -1}}}, {0, -1, 0}},
}};
constexpr int kSides = 4;

/// The texture coordinates of tile k of an atlas of `tiles` stacked tiles, in corner
/// order: bottom left, top left, top right, bottom right. The step is taken in single
/// precision.
std::array<MeshPoint, 4> TileCorners(int32_t k, int32_t tiles)
{
    const float step = 1.0f / static_cast<float>(tiles);
    const double top = static_cast<float>(k) * step;
    const double bottom = static_cast<float>(k + 1) * step;
    return {{{0.0, bottom, 0.0}, {0.0, top, 0.0}, {1.0, top, 0.0}, {1.0, bottom, 0.0}}};
}

// A tile outside the atlas shows as blank rather than as some other tile.
int32_t TileOrBlank(int32_t k, int32_t tiles)
{
    return k >= 0 && k < tiles ? k : 0;
}

/// Appends one square around (cx, cy, cz) with half size h: four vertices and the
/// triangles (4k, 4k+1, 4k+2) and (4k+2, 4k+3, 4k).
void AddSquare(MeshBuilder& builder, float cx, float cy, float cz, float h, const Square& square,
               const std::array<MeshPoint, 4>& first, const std::array<MeshPoint, 4>* second)
{
    const double base = builder.VertexCount();
    for (size_t i = 0; i < 4; ++i) {
        const auto& corner = square.corners[i];
        // Computed in single precision, as the vertex buffer stores it.
        const float x = cx + static_cast<float>(corner[0]) * h;
        const float y = cy + static_cast<float>(corner[1]) * h;
        const float z = cz + static_cast<float>(corner[2]) * h;
        builder.positions.push_back({x, y, z});
        builder.normals.push_back({static_cast<double>(square.normal[0]), static_cast<double>(square.normal[1]),
                                   static_cast<double>(square.normal[2])});
        builder.firstCoordinates.push_back(first[i]);
        if (second)
            builder.secondCoordinates.push_back((*second)[i]);
    }
    builder.triangles.push_back({base, base + 1, base + 2});
    builder.triangles.push_back({base + 2, base + 3, base});
}

} // namespace

uint32_t MarkColour(int32_t mark, bool markedWrong)
{
    // Pale enough that black, green and red letters keep their contrast: a light
    // yellow for the entry, a warmer, stronger one for the cursor cell. A letter a
    // check found wrong is always the player's own black one (shown letters are the
    // solution), so its rose tint only has to keep black readable; on the cursor
    // cell it turns deeper so that the cursor still shows.
    if (markedWrong)
        return mark == kMarkCursor ? 0xFFFF9C8Cu : 0xFFFFC4C4u;
    switch (mark) {
    case kMarkEntry:
        return 0xFFFFF0A8u;
    case kMarkCursor:
        return 0xFFFFC060u;
    default:
        return kOpaqueWhite;
    }
}

CellCentre CellPosition(int32_t face, int32_t column, int32_t row)
{
    const int32_t y = 7 - row;
    switch (face) {
    case 0:
        return {0, y, 7 - column};
    case 1:
        return {column, y, 0};
    case 2:
        return {7, y, column};
    default:
        assert(face == 3 && "no such face");
        return {7 - column, y, 7};
    }
}

std::array<int32_t, kFaces> FacesNearestFirst(const OrbitCamera& camera)
{
    // The middle of each face's layer of cubes.
    constexpr std::array<std::array<float, 2>, kFaces> kMiddles = {{{0.0f, 3.5f}, {3.5f, 0.0f}, {7.0f, 3.5f}, {3.5f, 7.0f}}};
    std::array<float, kFaces> distance{};
    for (size_t face = 0; face < distance.size(); ++face) {
        const float dx = kMiddles[face][0] - camera.eyeX;
        const float dz = kMiddles[face][1] - camera.eyeZ;
        distance[face] = dx * dx + dz * dz;
    }
    std::array<int32_t, kFaces> order = {0, 1, 2, 3};
    std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
        return distance[static_cast<size_t>(a)] < distance[static_cast<size_t>(b)];
    });
    return order;
}

void AddCellCube(MeshBuilder& builder, int32_t x, int32_t y, int32_t z, int32_t letterTile,
                 const std::array<int32_t, kFaces>& faceNumbers, int32_t letterSet)
{
    constexpr float kHalf = 0.5f;
    const auto fx = static_cast<float>(x);
    const auto fy = static_cast<float>(y);
    const auto fz = static_cast<float>(z);
    const auto letter = TileCorners(TileOrBlank(letterTile, kLetterTiles), kLetterTiles);
    for (int side = 0; side < kSides; ++side) {
        const auto number =
            TileCorners(TileOrBlank(faceNumbers[static_cast<size_t>(side)], kNumberTiles), kNumberTiles);
        AddSquare(builder, fx, fy, fz, kHalf, kSquares[static_cast<size_t>(side)], letter, &number);
    }
    const auto blankLetter = TileCorners(0, kLetterTiles);
    const auto blankNumber = TileCorners(0, kNumberTiles);
    for (size_t cap = kSides; cap < kSquares.size(); ++cap)
        AddSquare(builder, fx, fy, fz, kHalf, kSquares[cap], blankLetter, &blankNumber);
    builder.textureSlot = letterSet;
}

MeshBuilder CoreBoxBuilder()
{
    // The walls of a box from 0 to 6 shifted by half a cube, so they stand at 0.5 and
    // 6.5: exactly behind the inner sides of the ring.
    constexpr float kHalf = 3.0f;
    MeshBuilder builder;
    const auto wholePicture = TileCorners(0, 1);
    for (int side = 0; side < kSides; ++side)
        AddSquare(builder, kBoxCentre, kBoxCentre, kBoxCentre, kHalf, kSquares[static_cast<size_t>(side)],
                  wholePicture, nullptr);
    builder.textureSlot = kWallSlot;
    return builder;
}

void BuildCore(SceneRenderer& renderer)
{
    auto mesh = renderer.CreateMesh();
    mesh->blendMode = SceneMesh::kSingleTexture;
    renderer.BuildMesh(*mesh, CoreBoxBuilder());
    renderer.AddStaticMesh(std::move(mesh));
}

void DrawCellView(SceneRenderer& renderer, CellView& view)
{
    // Only the scene puts meshes into cell views.
    auto* mesh = static_cast<SceneMesh*>(view.mesh.get());
    if (view.dirty || (mesh && !renderer.IsLive(*mesh))) {
        view.dirty = 0;
        view.mesh.reset();
        const Cell& cell = *view.holdingCell;
        const CellCentre centre = CellPosition(cell.face, cell.column, cell.row);
        MeshBuilder builder;
        AddCellCube(builder, centre.x, centre.y, centre.z, view.letterTile, view.faceNumbers, view.letterSet);
        builder.diffuse = MarkColour(view.mark, IsMarkedWrong(*view.holdingCell));
        auto built = renderer.CreateMesh();
        // A failed build leaves a cube that draws nothing until the cell changes again.
        renderer.BuildMesh(*built, builder);
        renderer.CountCubeBuilt();
        mesh = built.get();
        view.mesh = std::move(built);
    }
    if (mesh)
        renderer.DrawMesh(*mesh);
}

} // namespace pelorin
