#include "scene/BoxPicking.h"

#include "scene/GridScene.h"

#include <cmath>
#include <limits>

namespace pelorin {

namespace {

using Vector3 = std::array<double, 3>;

// Must agree with ViewProjection: a vertical field of view of π/4, stretched to the
// view's shape.
const double kViewSlope = std::tan(0.7853982 / 2.0);

Vector3 Normalise(const Vector3& v)
{
    const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    return {v[0] / length, v[1] / length, v[2] / length};
}

Vector3 Cross(const Vector3& a, const Vector3& b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

struct Ray {
    Vector3 origin;
    Vector3 direction;
};

// Where the ray enters an axis-aligned box, and through which side: the side index
// is the axis (0 x, 1 y, 2 z) and whether it is the low side. Infinity when it
// misses or the box lies behind the eye.
struct Entry3 {
    double t = std::numeric_limits<double>::infinity();
    int axis = -1;
    bool low = false;
};

Entry3 EnterBox(const Ray& ray, const Vector3& low, const Vector3& high)
{
    double near = -std::numeric_limits<double>::infinity();
    double far = std::numeric_limits<double>::infinity();
    Entry3 entry;
    for (int axis = 0; axis < 3; ++axis) {
        const double d = ray.direction[static_cast<size_t>(axis)];
        const double o = ray.origin[static_cast<size_t>(axis)];
        const double lo = low[static_cast<size_t>(axis)];
        const double hi = high[static_cast<size_t>(axis)];
        if (d == 0.0) {
            if (o < lo || o > hi)
                return {};
            continue;
        }
        double t1 = (lo - o) / d;
        double t2 = (hi - o) / d;
        const bool lowFirst = t1 < t2;
        if (!lowFirst)
            std::swap(t1, t2);
        if (t1 > near) {
            near = t1;
            entry.axis = axis;
            entry.low = lowFirst;
        }
        far = std::min(far, t2);
    }
    if (near > far || near < 0.0 || entry.axis < 0)
        return {};
    entry.t = near;
    return entry;
}

int32_t SideOf(const Entry3& entry)
{
    switch (entry.axis) {
    case 0:
        return entry.low ? kSideFace0 : kSideFace2;
    case 1:
        return entry.low ? kSideBottom : kSideTop;
    default:
        return entry.low ? kSideFace1 : kSideFace3;
    }
}

// The outward direction of each face on the x-z plane.
constexpr std::array<std::array<double, 2>, kFaces> kFaceNormals = {{{-1, 0}, {0, -1}, {1, 0}, {0, 1}}};

// Of an edge cube's two cells (face f's column 0 and the previous face's column 7),
// the one the side belongs to; a side of neither face goes to the face that looks
// more towards the eye.
int32_t EdgeCell(const Cell& cell, int32_t side, const Ray& ray)
{
    const Cell& twin = *cell.twin;
    if (side == cell.face)
        return CellIndex(cell.face, cell.column, cell.row);
    if (side == twin.face)
        return CellIndex(twin.face, twin.column, twin.row);
    auto facing = [&ray](int32_t face) {
        const auto& normal = kFaceNormals[static_cast<size_t>(face)];
        return -(normal[0] * ray.direction[0] + normal[1] * ray.direction[2]);
    };
    const Cell& chosen = facing(cell.face) >= facing(twin.face) ? cell : twin;
    return CellIndex(chosen.face, chosen.column, chosen.row);
}

Ray PointerRay(const OrbitCamera& camera, int32_t width, int32_t height, double x, double y)
{
    const Vector3 eye = {camera.eyeX, camera.eyeY, camera.eyeZ};
    const Vector3 forward = Normalise({kBoxCentre - eye[0], kBoxCentre - eye[1], kBoxCentre - eye[2]});
    const Vector3 right = Normalise(Cross({0.0, 1.0, 0.0}, forward));
    const Vector3 up = Cross(forward, right);
    // The view stretches the square picture to its shape.
    const double across = (2.0 * x / width - 1.0) * kViewSlope;
    const double upward = (1.0 - 2.0 * y / height) * kViewSlope;
    Vector3 direction{};
    for (size_t i = 0; i < 3; ++i)
        direction[i] = forward[i] + right[i] * across + up[i] * upward;
    return {eye, direction};
}

} // namespace

BoxHit PickCell(const OrbitCamera& camera, int32_t width, int32_t height, const Game& game, double x, double y)
{
    if (width <= 0 || height <= 0)
        return {};
    const Ray ray = PointerRay(camera, width, height, x, y);

    // The core walls stand at 0.5 and 6.5, from 0.5 to 6.5 high; a ray that comes in
    // over or under them (through a block of the top or bottom row) meets no wall.
    constexpr double kWallLow = 0.5;
    constexpr double kWallHigh = 6.5;
    const Entry3 core = EnterBox(ray, {kWallLow, kWallLow, kWallLow}, {kWallHigh, kWallHigh, kWallHigh});
    double nearest = core.axis == 1 ? std::numeric_limits<double>::infinity() : core.t;

    BoxHit hit;
    const Cell* hitCell = nullptr;
    Entry3 hitEntry;
    // Each physical cube once: column 7 is the next face's column 0.
    for (int face = 0; face < kFaces; ++face) {
        for (int column = 0; column < kSide - 1; ++column) {
            for (int row = 0; row < kSide; ++row) {
                const Cell& cell = game.At(face, column, row);
                if (cell.letter == kBlock)
                    continue;
                const CellCentre centre = CellPosition(face, column, row);
                const Vector3 middle = {static_cast<double>(centre.x), static_cast<double>(centre.y),
                                        static_cast<double>(centre.z)};
                const Entry3 entry = EnterBox(ray, {middle[0] - 0.5, middle[1] - 0.5, middle[2] - 0.5},
                                              {middle[0] + 0.5, middle[1] + 0.5, middle[2] + 0.5});
                if (entry.t < nearest) {
                    nearest = entry.t;
                    hitCell = &cell;
                    hitEntry = entry;
                }
            }
        }
    }
    if (!hitCell)
        return hit;
    hit.side = SideOf(hitEntry);
    hit.cell = hitCell->column == 0 && hitCell->twin ? EdgeCell(*hitCell, hit.side, ray)
                                                     : CellIndex(hitCell->face, hitCell->column, hitCell->row);
    return hit;
}

} // namespace pelorin
