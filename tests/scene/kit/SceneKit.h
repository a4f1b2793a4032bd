#pragma once

#include "scene/OrbitCamera.h"

#include <QPointF>
#include <QSizeF>

namespace pelorin::test {

/// Where a point of the world shows in a view of the given size, from its top left.
inline QPointF OnScreen(const OrbitCamera& camera, double x, double y, double z, const QSizeF& view)
{
    const Matrix4 m = ViewProjection(camera);
    const auto clip = [&](size_t k) { return x * m[k] + y * m[4 + k] + z * m[8 + k] + m[12 + k]; };
    return {(clip(0) / clip(3) + 1.0) / 2.0 * view.width(), (1.0 - clip(1) / clip(3)) / 2.0 * view.height()};
}

} // namespace pelorin::test
