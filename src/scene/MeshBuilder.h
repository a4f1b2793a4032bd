#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pelorin {

/// Three values of a mesh under construction: a position or a normal (x, y, z), a
/// pair of texture coordinates (u, v; the third value unused) or the three vertex
/// indices of a triangle.
struct MeshPoint {
    double a = 0.0;
    double b = 0.0;
    double c = 0.0;
};

/// One vertex as the scene's vertex buffers hold it: 44 bytes, in this order.
struct MeshVertex {
    float x, y, z;
    float nx, ny, nz;
    uint32_t diffuse; ///< ARGB
    float u0, v0;     ///< first texture coordinates
    float u1, v1;     ///< second texture coordinates
};
static_assert(sizeof(MeshVertex) == 44, "the vertex record is 44 bytes");

/// Vertices are opaque white unless a builder tints them; the colour feeds the
/// lighting of the core box and tints the unlit cubes (the selection marks).
constexpr uint32_t kOpaqueWhite = 0xFFFFFFFFu;

/// Geometry prepared on the processor side before it becomes a SceneMesh.
///
/// Positions, normals and first coordinates hold one element per vertex; the second
/// coordinates may be shorter, and the vertices without one get (0, 0).
class MeshBuilder {
public:
    std::vector<MeshPoint> positions;
    std::vector<MeshPoint> normals;
    std::vector<MeshPoint> firstCoordinates;
    std::vector<MeshPoint> secondCoordinates;
    std::vector<MeshPoint> triangles;
    int32_t textureSlot = -1; ///< -1 = none
    uint32_t diffuse = kOpaqueWhite; ///< ARGB, the colour of every vertex

    int32_t VertexCount() const { return static_cast<int32_t>(positions.size()); }
    int32_t TriangleCount() const { return static_cast<int32_t>(triangles.size()); }

    /// The vertex records in order. False when the per-vertex lists differ in length.
    bool Vertices(std::vector<MeshVertex>& out) const;
    /// Three 32-bit indices per triangle, each value truncated towards zero. False
    /// when a value does not name a vertex of this builder: drawing with it would
    /// read outside the vertex buffer.
    bool Indices(std::vector<uint32_t>& out) const;
};

} // namespace pelorin
