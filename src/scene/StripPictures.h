#pragma once

#include <QImage>

namespace pelorin {

/// The three looks of the menu strip's picture: normal (bitmap 148), the button
/// under the pointer (149) and a disabled button (151).
enum class StripLook { Normal, Hover, Disabled };

constexpr int kStripWidth = 828;
constexpr int kStripHeight = 24;
constexpr int kStripButtonWidth = 80;
constexpr int kStripButtonCount = 7;

/// One strip picture, 828 × 24 pixels: the seven labelled 80-pixel buttons from the
/// left edge, then an empty stretch. Drawn on first use and kept.
const QImage& StripPicture(StripLook look);
/// The same picture drawn for a screen of `ratio` device pixels to a pixel: as
/// many times the pixels, so that its labels stay sharp.
QImage StripPicture(StripLook look, qreal ratio);

} // namespace pelorin
