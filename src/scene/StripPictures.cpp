#include "scene/StripPictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>

#include <array>

namespace pelorin {

namespace {

constexpr std::array<const char*, kStripButtonCount> kLabels = {
    "New Game", "Load Game", "Save As", "Save", "Finish", "Reset", "Style",
};

struct Look {
    QColor top;
    QColor bottom;
    QColor ink;
};

Look LookOf(StripLook look)
{
    switch (look) {
    case StripLook::Hover:
        return {QColor(255, 226, 180), QColor(238, 160, 72), Qt::black};
    case StripLook::Disabled:
        return {QColor(246, 246, 246), QColor(206, 206, 206), QColor(150, 150, 150)};
    case StripLook::Normal:
        break;
    }
    return {QColor(246, 246, 246), QColor(206, 206, 206), Qt::black};
}

QImage DrawStrip(StripLook look, qreal ratio)
{
    const Look colours = LookOf(look);
    QImage image(qRound(kStripWidth * ratio), qRound(kStripHeight * ratio), QImage::Format_RGB888);
    // Drawn in the strip's own pixels, which the ratio makes device pixels.
    image.setDevicePixelRatio(ratio);
    image.fill(QColor(236, 236, 236)); // the empty stretch after the buttons
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 0, kStripHeight);
    gradient.setColorAt(0, colours.top);
    gradient.setColorAt(1, colours.bottom);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    font.setBold(true);
    painter.setFont(font);
    for (int i = 0; i < kStripButtonCount; ++i) {
        const QRect button(i * kStripButtonWidth, 0, kStripButtonWidth, kStripHeight);
        painter.fillRect(button, gradient);
        // A light edge on the left and a dark one on the right part the buttons.
        painter.setPen(QColor(255, 255, 255));
        painter.drawLine(button.topLeft(), button.bottomLeft());
        painter.setPen(QColor(150, 150, 150));
        painter.drawLine(button.topRight(), button.bottomRight());
        painter.drawLine(button.bottomLeft(), button.bottomRight());
        painter.setPen(colours.ink);
        painter.drawText(button, Qt::AlignCenter, QString::fromLatin1(kLabels[static_cast<size_t>(i)]));
    }
    return image;
}

} // namespace

const QImage& StripPicture(StripLook look)
{
    static const std::array<QImage, 3> pictures = {
        DrawStrip(StripLook::Normal, 1),
        DrawStrip(StripLook::Hover, 1),
        DrawStrip(StripLook::Disabled, 1),
    };
    return pictures[static_cast<size_t>(look)];
}

QImage StripPicture(StripLook look, qreal ratio)
{
    return ratio == 1 ? StripPicture(look) : DrawStrip(look, ratio);
}

} // namespace pelorin
