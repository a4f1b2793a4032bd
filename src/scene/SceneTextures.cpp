#include "scene/SceneTextures.h"

#include "scene/GridScene.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>


namespace pelorin {

namespace {

// The frame survives the mipmap levels a cube side is usually drawn at (a quarter of
// the tile or more) as a fine dark line.
constexpr int kFrameWidth = 4;
constexpr QRgb kFrameColour = qRgb(40, 40, 40);
constexpr int kLetterPixels = 92;
constexpr int kNumberPixels = 30;
constexpr int kNumberInset = 9;

QFont SceneFont(int pixelSize)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(pixelSize);
    return font;
}

void DrawFramedTile(QPainter& painter, int tile)
{
    const QRect area(0, tile * kTileSize, kTileSize, kTileSize);
    painter.fillRect(area, QColor(kFrameColour));
    painter.fillRect(area.adjusted(kFrameWidth, kFrameWidth, -kFrameWidth, -kFrameWidth), Qt::white);
}

/// White tiles stacked from the top, each with a dark frame; tile 0 stays blank, and
/// tile k shows text(k) where place() puts it: from the tile's top-left corner and
/// the text's own outline, place() gives the origin of the text's baseline.
QImage DrawAtlas(int tiles, int pixelSize, QRgb ink, QString (*text)(int), QPoint (*place)(QPoint, QRect))
{
    QImage image(kTileSize, kTileSize * tiles, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QFont font = SceneFont(pixelSize);
    const QFontMetrics metrics(font);
    painter.setFont(font);
    painter.setPen(QColor(ink));
    for (int tile = 0; tile < tiles; ++tile) {
        DrawFramedTile(painter, tile);
        if (tile == 0)
            continue;
        const QString shown = text(tile);
        painter.drawText(place(QPoint(0, tile * kTileSize), metrics.tightBoundingRect(shown)), shown);
    }
    return image;
}

QImage LetterAtlas(QRgb ink)
{
    return DrawAtlas(
        kLetterTiles, kLetterPixels, ink, [](int tile) { return QString(QChar('A' + tile - 1)); },
        // Centred on the glyph's own outline, not on the font's line box, so every
        // letter sits in the middle of its square.
        [](QPoint corner, QRect outline) { return corner + QPoint(kTileSize / 2, kTileSize / 2) - outline.center(); });
}

QImage NumberAtlas()
{
    return DrawAtlas(
        kNumberTiles, kNumberPixels, kBlackInk, [](int tile) { return QString::number(tile); },
        [](QPoint corner, QRect outline) { return corner + QPoint(kNumberInset, kNumberInset) - outline.topLeft(); });
}

QImage WallPicture()
{
    QImage image(kWallSize, kWallSize, QImage::Format_RGB32);
    image.fill(QColor(kWallColour));
    return image;
}

} // namespace

QImage ScenePicture(int32_t resourceId)
{
    switch (resourceId) {
    case kWallPicture:
        return WallPicture();
    case kBlackLetters:
        return LetterAtlas(kBlackInk);
    case kGreenLetters:
        return LetterAtlas(kGreenInk);
    case kNumberPicture:
        return NumberAtlas();
    case kRedLetters:
        return LetterAtlas(kRedInk);
    default:
        return {};
    }
}

} // namespace pelorin
