#include "scene/MeshBuilder.h"

namespace pelorin {

bool MeshBuilder::Vertices(std::vector<MeshVertex>& out) const
{
    const size_t count = positions.size();
    if (normals.size() != count || firstCoordinates.size() != count)
        return false;
    out.clear();
    out.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const MeshPoint& p = positions[i];
        const MeshPoint& n = normals[i];
        const MeshPoint& first = firstCoordinates[i];
        const MeshPoint second = i < secondCoordinates.size() ? secondCoordinates[i] : MeshPoint{};
        out.push_back({static_cast<float>(p.a), static_cast<float>(p.b), static_cast<float>(p.c),
                       static_cast<float>(n.a), static_cast<float>(n.b), static_cast<float>(n.c), diffuse,
                       static_cast<float>(first.a), static_cast<float>(first.b), static_cast<float>(second.a),
                       static_cast<float>(second.b)});
    }
    return true;
}

bool MeshBuilder::Indices(std::vector<uint32_t>& out) const
{
    const double vertexCount = static_cast<double>(positions.size());
    out.clear();
    out.reserve(triangles.size() * 3);
    for (const MeshPoint& triangle : triangles) {
        for (const double value : {triangle.a, triangle.b, triangle.c}) {
            // Checked before the conversion: a value outside int32 (or NaN) cannot
            // be truncated, and any index past the last vertex is out of bounds.
            if (!(value > -1.0 && value < vertexCount))
                return false;
            out.push_back(static_cast<uint32_t>(static_cast<int32_t>(value)));
        }
    }
    return true;
}

} // namespace pelorin
