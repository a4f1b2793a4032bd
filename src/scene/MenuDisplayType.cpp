#include "scene/MenuDisplayType.h"

#include "scene/StripPictures.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>

namespace pelorin {

namespace {
// The strip's colour when it has no pictures.
const QColor kBareStrip(128, 128, 128);

QRect RectOf(const StripButton& button)
{
    return QRect(button.left, button.top, button.right - button.left, button.bottom - button.top);
}
} // namespace

QEvent::Type StripCommandEvent::Type()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

MenuDisplayType::MenuDisplayType(QWidget* parent) : QWidget(parent)
{
    // Hover follows the pointer without a button held.
    setMouseTracking(true);
    buttons_.reserve(kMaxButtons);
}

void MenuDisplayType::LoadStripBitmaps()
{
    const qreal ratio = devicePixelRatioF();
    SetStripBitmaps(StripPicture(StripLook::Normal, ratio), StripPicture(StripLook::Hover, ratio),
                    StripPicture(StripLook::Disabled, ratio));
    ownPictures_ = true;
}

void MenuDisplayType::SetStripBitmaps(const QImage& normal, const QImage& hover, const QImage& disabled)
{
    ownPictures_ = false;
    if (normal.isNull() || hover.isNull() || disabled.isNull()) {
        normal_ = hover_ = disabled_ = QImage();
    } else {
        normal_ = normal;
        hover_ = hover;
        disabled_ = disabled;
    }
    update();
}

bool MenuDisplayType::AddStripButton(const QRect& rect, uint32_t commandId, bool enabled)
{
    if (ButtonCount() >= kMaxButtons)
        return false;
    StripButton button;
    button.top = rect.top();
    button.left = rect.left();
    button.bottom = rect.top() + rect.height();
    button.right = rect.left() + rect.width();
    button.commandId = commandId;
    button.enabled = enabled;
    buttons_.push_back(button);
    update();
    return true;
}

void MenuDisplayType::SetButtonEnabled(int index, bool enabled)
{
    if (index < 0 || index >= ButtonCount())
        return;
    StripButton& button = buttons_[static_cast<size_t>(index)];
    if (button.enabled == enabled)
        return;
    button.enabled = enabled;
    update();
}

void MenuDisplayType::UpdateHover(int x, int y)
{
    bool changed = false;
    for (StripButton& button : buttons_) {
        const bool on = button.Contains(x, y);
        if (on && !button.enabled)
            continue;
        changed = changed || button.hover != on;
        button.hover = on;
    }
    if (changed)
        update();
}

void MenuDisplayType::ClearHover()
{
    bool changed = false;
    for (StripButton& button : buttons_) {
        changed = changed || button.hover;
        button.hover = false;
    }
    if (changed)
        update();
}

void MenuDisplayType::paintEvent(QPaintEvent* /*event*/)
{
    // The window may have moved to a screen of another density.
    if (ownPictures_ && normal_.devicePixelRatio() != devicePixelRatioF())
        LoadStripBitmaps();
    QPainter painter(this);
    if (!HasBitmaps()) {
        painter.fillRect(rect(), kBareStrip);
        return;
    }
    painter.drawImage(0, 0, normal_);
    // A part of a picture is given in its own pixels.
    const auto source = [](const QImage& picture, const QRect& part) {
        const qreal ratio = picture.devicePixelRatio();
        return QRectF(part.x() * ratio, part.y() * ratio, part.width() * ratio, part.height() * ratio);
    };
    for (const StripButton& button : buttons_) {
        if (!button.enabled)
            painter.drawImage(QRectF(RectOf(button)), disabled_, source(disabled_, RectOf(button)));
    }
    for (const StripButton& button : buttons_) {
        if (button.hover)
            painter.drawImage(QRectF(RectOf(button)), hover_, source(hover_, RectOf(button)));
    }
}

void MenuDisplayType::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (rect().contains(point))
        UpdateHover(point.x(), point.y());
    else
        ClearHover(); // dragged off the strip with a button held
    QWidget::mouseMoveEvent(event);
}

void MenuDisplayType::mousePressEvent(QMouseEvent* event)
{
    QWidget::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    const QPoint point = event->position().toPoint();
    for (const StripButton& button : buttons_) {
        if (!button.enabled || !button.Contains(point.x(), point.y()))
            continue;
        if (QWidget* target = parentWidget())
            QCoreApplication::postEvent(target, new StripCommandEvent(button.commandId));
        return;
    }
}

void MenuDisplayType::leaveEvent(QEvent* event)
{
    ClearHover();
    QWidget::leaveEvent(event);
}

void MenuDisplayType::focusOutEvent(QFocusEvent* event)
{
    ClearHover();
    QWidget::focusOutEvent(event);
}

} // namespace pelorin
