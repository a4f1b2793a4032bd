#pragma once

#include <QIcon>
#include <QImage>
#include <QSize>

#include <cstdint>

class QLabel;
class QRect;
class QWidget;

namespace pelorin {

// The program's pictures, drawn by the program itself in their fixed sizes.

/// The size of the picture of an offered block pattern (bitmaps 136 to 138);
/// empty for any other pattern.
QSize PatternPictureSize(int32_t patternId);
/// The picture of an offered block pattern: two neighbouring faces of the box seen
/// from above their shared edge, white open cells and grey-blue blocks on blue.
/// Null for a pattern New Game does not offer. Drawn on first use and kept.
const QImage& PatternPicture(int32_t patternId);

/// The logo (bitmap 145): the program's name in large bold black serif letters on
/// white, 296 × 103 pixels.
const QImage& Logo();

/// A label showing the logo, centred in a rectangle of its parent.
QLabel* AddLogo(QWidget* parent, const QRect& geometry);

/// The program's icon at one size: a corner of the box with its letter cells.
QImage DrawIcon(int size);
/// The program's icon (icon 128), at the sizes desktops ask for.
QIcon AppIcon();

} // namespace pelorin
