#pragma once

#include <QRect>
#include <QSize>

namespace pelorin {

// Window layouts are written in dialog units of the 8-point dialog font; on screen
// one unit is 1.5 pixels across and 1.625 pixels down. Corners are converted, not
// sizes, so that neighbouring controls keep their common edges.

/// A horizontal position in dialog units as pixels, rounded half up.
constexpr int DialogX(int units)
{
    return (units * 3 + 1) / 2;
}
/// A vertical position in dialog units as pixels, rounded half up.
constexpr int DialogY(int units)
{
    return (units * 13 + 4) / 8;
}
/// A rectangle in dialog units (x, y, width, height) as pixels.
constexpr QRect DialogRect(int x, int y, int width, int height)
{
    return QRect(DialogX(x), DialogY(y), DialogX(x + width) - DialogX(x), DialogY(y + height) - DialogY(y));
}
constexpr QSize DialogSize(int width, int height)
{
    return QSize(DialogX(width), DialogY(height));
}

} // namespace pelorin
