#include "scene/MainDisplayType.h"

#include "scene/SceneRenderer.h"

#include <QMouseEvent>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QWheelEvent>

#include <cmath>

namespace pelorin {

namespace {

QSurfaceFormat SceneFormat()
{
    QSurfaceFormat format = QSurfaceFormat::defaultFormat();
    format.setDepthBufferSize(24);
    format.setSamples(0);
    return format;
}

} // namespace

MainDisplayType::MainDisplayType(QWidget* parent) : QOpenGLWidget(parent)
{
    setObjectName(QStringLiteral("Main"));
    setFormat(SceneFormat());
}

MainDisplayType::~MainDisplayType()
{
    ReleaseDevice();
    // The base class destroys the context next; this object is no longer there to
    // hear of it.
    if (QOpenGLContext* const current = context())
        disconnect(current, nullptr, this, nullptr);
}

void MainDisplayType::SetRenderer(SceneRenderer* renderer)
{
    // A renderer's GL objects live in this view's context: the one handed back
    // gives them up now, while the view can still make it current.
    if (renderer_ && renderer_ != renderer)
        renderer_->ReleaseScene();
    renderer_ = renderer;
    update();
}

QRect MainDisplayType::ClientViewport() const
{
    const qreal ratio = devicePixelRatioF();
    const int border = static_cast<int>(std::lround(kBorder * ratio));
    const int width = static_cast<int>(std::lround(this->width() * ratio));
    const int height = static_cast<int>(std::lround(this->height() * ratio));
    return QRect(border, border, std::max(width - 2 * border, 0), std::max(height - 2 * border, 0));
}

void MainDisplayType::initializeGL()
{
    // The context goes when the view closes and when it moves to another window;
    // the renderer's objects must go first, while the context can still be made
    // current. A new context gets them again on its first frame.
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &MainDisplayType::ReleaseDevice);
}

void MainDisplayType::paintGL()
{
    QOpenGLFunctions& gl = *context()->functions();
    const QColor border = palette().color(QPalette::WindowText);
    gl.glDisable(GL_SCISSOR_TEST);
    gl.glClearColor(border.redF(), border.greenF(), border.blueF(), 1.0f);
    gl.glClear(GL_COLOR_BUFFER_BIT);
    if (renderer_)
        renderer_->RenderFrame();
}

void MainDisplayType::ReleaseDevice()
{
    if (renderer_)
        renderer_->ReleaseScene();
}

void MainDisplayType::mouseMoveEvent(QMouseEvent* event)
{
    if (renderer_) {
        const QPoint at = event->position().toPoint();
        OrbitDrag(renderer_->camera, event->buttons().testFlag(Qt::LeftButton), at.x(), at.y());
        update();
    }
    event->accept();
}

void MainDisplayType::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        if (renderer_) {
            const QPoint at = event->position().toPoint();
            OrbitPress(renderer_->camera, at.x(), at.y());
        }
        setFocus(Qt::MouseFocusReason);
    }
    event->accept();
}

void MainDisplayType::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && renderer_)
        OrbitRelease(renderer_->camera);
    event->accept();
}

void MainDisplayType::wheelEvent(QWheelEvent* event)
{
    // Each notch of the wheel is one step, whatever its size; a sideways scroll is
    // no zoom.
    const int delta = event->angleDelta().y();
    if (delta != 0 && renderer_) {
        OrbitZoom(renderer_->camera, delta > 0);
        update();
    }
    event->accept();
}

} // namespace pelorin
