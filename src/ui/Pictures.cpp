#include "ui/Pictures.h"

#include "game/BlockPatterns.h"
#include "game/Game.h"

#include <QFont>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>

namespace pelorin {

namespace {

constexpr std::array<QSize, kOfferedPatterns> kPatternPictureSizes = {
    QSize(96, 92),
    QSize(95, 92),
    QSize(98, 92),
};
constexpr QSize kLogoSize(296, 103);

const QColor kGround(36, 72, 160);
const QColor kOpenCell(255, 255, 255);
const QColor kBlockCell(98, 116, 150);

// Two neighbouring faces of the box drawn from above their shared vertical edge:
// face `leftFace` to the left of the edge, the next face to the right. The shared
// column is split down the middle, half on each side, as the box's corner cube
// shows. `open(face, column, row)` tells an open cell from a block.
class CornerView {
public:
    CornerView(const QRectF& area, int columns, int rows) : columns_(columns), rows_(rows)
    {
        const double half = columns - 0.5; // columns on each side of the edge
        dx_ = area.width() / 2 / half;
        skew_ = dx_ * 0.45;
        dy_ = (area.height() - half * skew_) / rows;
        edgeX_ = area.center().x();
        edgeTop_ = area.top() + half * skew_;
    }

    void Draw(QPainter& painter, int leftFace, const std::function<bool(int, int, int)>& open) const
    {
        const int rightFace = (leftFace + 1) % kFaces;
        const double corner = columns_ - 0.5;
        for (int row = 0; row < rows_; ++row) {
            for (int column = 0; column < columns_; ++column) {
                // Left side: distance from the edge runs from corner - column down.
                const double leftFar = corner - column;
                const double leftNear = std::max(0.0, leftFar - 1);
                Cell(painter, -leftFar, -leftNear, row, open(leftFace, column, row));
                // Right side: column 0 is the other half of the shared column.
                const double rightNear = std::max(0.0, column - 0.5);
                const double rightFar = column + 0.5;
                Cell(painter, rightNear, rightFar, row, open(rightFace, column, row));
            }
        }
    }

private:
    // A point at signed distance d from the edge (negative to the left), row v.
    QPointF At(double d, double v) const
    {
        return QPointF(edgeX_ + d * dx_, edgeTop_ - std::abs(d) * skew_ + v * dy_);
    }

    void Cell(QPainter& painter, double from, double to, int row, bool open) const
    {
        // A small inset leaves the ground showing between cells.
        constexpr double kGap = 0.1;
        const double top = row + kGap;
        const double bottom = row + 1 - kGap;
        // No inset at the edge itself: the two halves of the shared column meet
        // there and bend round the corner as one cell.
        const double left = from == 0 ? from : from + kGap;
        const double right = to == 0 ? to : to - kGap;
        QPolygonF quad;
        quad << At(left, top) << At(right, top) << At(right, bottom) << At(left, bottom);
        painter.setBrush(open ? kOpenCell : kBlockCell);
        painter.drawPolygon(quad);
    }

    int columns_;
    int rows_;
    double dx_ = 0;
    double skew_ = 0;
    double dy_ = 0;
    double edgeX_ = 0;
    double edgeTop_ = 0;
};

QImage DrawPatternPicture(int32_t patternId)
{
    const QSize size = PatternPictureSize(patternId);
    QImage image(size, QImage::Format_RGB888);
    image.fill(kGround);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const CornerView view(QRectF(QPointF(0, 0), QSizeF(size)).adjusted(4, 4, -4, -4), kSide, kSide);
    view.Draw(painter, 0, [patternId](int face, int column, int row) {
        const std::string_view text = PatternRow(patternId, face, row);
        return static_cast<size_t>(column) < text.size() && text[static_cast<size_t>(column)] != ' ';
    });
    return image;
}

QImage DrawLogo()
{
    QImage image(kLogoSize, QImage::Format_RGB888);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setBold(true);
    font.setPixelSize(62);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("Pelorin"));
    return image;
}

} // namespace

QSize PatternPictureSize(int32_t patternId)
{
    if (patternId < 0 || patternId >= kOfferedPatterns)
        return {};
    return kPatternPictureSizes[static_cast<size_t>(patternId)];
}

const QImage& PatternPicture(int32_t patternId)
{
    static const std::array<QImage, kOfferedPatterns> pictures = {
        DrawPatternPicture(0),
        DrawPatternPicture(1),
        DrawPatternPicture(2),
    };
    static const QImage none;
    if (patternId < 0 || patternId >= kOfferedPatterns)
        return none;
    return pictures[static_cast<size_t>(patternId)];
}

const QImage& Logo()
{
    static const QImage logo = DrawLogo();
    return logo;
}

QLabel* AddLogo(QWidget* parent, const QRect& geometry)
{
    auto* logo = new QLabel(parent);
    logo->setGeometry(geometry);
    logo->setAlignment(Qt::AlignCenter);
    logo->setPixmap(QPixmap::fromImage(Logo()));
    return logo;
}

QImage DrawIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kGround);
    const double radius = size * 0.18;
    painter.drawRoundedRect(QRectF(0, 0, size, size), radius, radius);
    // A corner of the box, four cells a side, with a few blocks and a "P".
    const double margin = size * 0.14;
    const CornerView view(QRectF(margin, margin, size - 2 * margin, size - 2 * margin), 4, 4);
    view.Draw(painter, 0, [](int face, int column, int row) {
        return !((face == 0 && column == 1 && row == 2) || (face == 1 && column == 2 && row == 1));
    });
    if (size >= 32) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setBold(true);
        font.setPixelSize(std::max(8, size * 3 / 10));
        painter.setFont(font);
        painter.setPen(kGround);
        painter.drawText(QRectF(size * 0.5, size * 0.25, size * 0.34, size * 0.4), Qt::AlignCenter,
                         QStringLiteral("P"));
    }
    return image;
}

QIcon AppIcon()
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(DrawIcon(size)));
    return icon;
}

} // namespace pelorin
