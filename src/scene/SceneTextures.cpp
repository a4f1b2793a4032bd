#include "scene/SceneTextures.h"

#include "scene/GridScene.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <map>

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

QImage Atlas(int tiles)
{
    QImage image(kTileSize, kTileSize * tiles, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

QImage LetterAtlas(QRgb ink)
{
    QImage image = Atlas(kLetterTiles);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QFont font = SceneFont(kLetterPixels);
    const QFontMetrics metrics(font);
    painter.setFont(font);
    painter.setPen(QColor(ink));
    for (int tile = 0; tile < kLetterTiles; ++tile) {
        DrawFramedTile(painter, tile);
        if (tile == 0)
            continue;
        // Centred on the glyph's own outline, not on the font's line box, so every
        // letter sits in the middle of its square.
        const QString letter(QChar('A' + tile - 1));
        const QRect glyph = metrics.tightBoundingRect(letter);
        const QPoint centre(kTileSize / 2, tile * kTileSize + kTileSize / 2);
        painter.drawText(centre - glyph.center(), letter);
    }
    return image;
}

QImage NumberAtlas()
{
    QImage image = Atlas(kNumberTiles);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QFont font = SceneFont(kNumberPixels);
    const QFontMetrics metrics(font);
    painter.setFont(font);
    painter.setPen(Qt::black);
    for (int tile = 0; tile < kNumberTiles; ++tile) {
        DrawFramedTile(painter, tile);
        if (tile == 0)
            continue;
        const QString number = QString::number(tile);
        const QRect glyphs = metrics.tightBoundingRect(number);
        const QPoint corner(kNumberInset, tile * kTileSize + kNumberInset);
        painter.drawText(corner - glyphs.topLeft(), number);
    }
    return image;
}

QImage WallPicture()
{
    QImage image(kWallSize, kWallSize, QImage::Format_RGB32);
    image.fill(QColor(kWallColour));
    return image;
}

QImage DrawPicture(int32_t resourceId)
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

} // namespace

const QImage& ScenePicture(int32_t resourceId)
{
    // Drawn on the user-interface thread only, like everything of the scene.
    static std::map<int32_t, QImage> pictures;
    const auto found = pictures.find(resourceId);
    if (found != pictures.end())
        return found->second;
    return pictures.emplace(resourceId, DrawPicture(resourceId)).first->second;
}

} // namespace pelorin
