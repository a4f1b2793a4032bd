#pragma once

#include <QImage>

#include <array>
#include <cstdint>

namespace pelorin {

/// The scene's pictures, by resource id.
constexpr int32_t kWallPicture = 152;
constexpr int32_t kBlackLetters = 153;
constexpr int32_t kGreenLetters = 154;
constexpr int32_t kNumberPicture = 155;
constexpr int32_t kRedLetters = 156;

/// The order in which the main window loads them: slot k holds kSceneTextures[k].
constexpr std::array<int32_t, 5> kSceneTextures = {kWallPicture, kBlackLetters, kNumberPicture, kGreenLetters,
                                                   kRedLetters};
/// Texture slots with a fixed role: the core box's wall, and the number atlas that
/// every cube lays over its letter. The letter slots are the letter sets of the
/// cell views (1 black, 3 green, 4 red).
constexpr int32_t kWallSlot = 0;
constexpr int32_t kNumberSlot = 2;

/// The side of one atlas tile, and the size of the wall picture.
constexpr int kTileSize = 128;
constexpr int kWallSize = 550;

/// The ink of the letter atlases and the wall's colour.
constexpr QRgb kWallColour = qRgb(84, 109, 142);
constexpr QRgb kBlackInk = qRgb(0, 0, 0);
constexpr QRgb kGreenInk = qRgb(34, 177, 76);
constexpr QRgb kRedInk = qRgb(237, 28, 36);

/// The picture of a resource, drawn on first use and kept for the run; a null image
/// for an id the program does not have. Needs a QGuiApplication (for the font).
///
/// A letter atlas is 27 tiles of 128 × 128 stacked from the top: tile 0 blank, tiles
/// 1 to 26 the letters A to Z centred. The number atlas is 64 such tiles: tile 0
/// blank, tile n the number n small in the top-left corner, white elsewhere so that
/// multiplying it over a letter tile leaves the letter. Every tile has a thin dark
/// frame.
/// Each call draws the picture anew: it is needed once per OpenGL context, and
/// kept only by the texture made from it.
QImage ScenePicture(int32_t resourceId);

} // namespace pelorin
