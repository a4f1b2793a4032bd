#include "scene/MainDisplayType.h"

#include "scene/SceneRenderer.h"

#include <QMouseEvent>
#include <QOpenGLContext>
#include <QOpenGLWidget>
#include <QWheelEvent>

namespace pelorin {

/// The OpenGL surface of the picture. It leaves the mouse to the view around it and
/// hands painting and the loss of its context to the renderer.
class SceneCanvas final : public QOpenGLWidget {
public:
    explicit SceneCanvas(QWidget* parent) : QOpenGLWidget(parent)
    {
        setObjectName(QStringLiteral("Canvas"));
        setFormat(MainDisplayType::SceneFormat());
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    ~SceneCanvas() override
    {
        Release();
        // The base class destroys the context next; this object is no longer there
        // to hear of it.
        if (QOpenGLContext* const current = context())
            disconnect(current, nullptr, this, nullptr);
    }

    SceneRenderer* renderer = nullptr;

protected:
    void initializeGL() override
    {
        // The context goes when the view closes and when it moves to another
        // window; the renderer's objects must go first, while the context can still
        // be made current. A new context gets them again on its first frame.
        connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, [this] { Release(); });
    }

    void paintGL() override
    {
        if (renderer)
            renderer->RenderFrame();
    }

private:
    void Release()
    {
        if (renderer)
            renderer->ReleaseScene();
    }
};

MainDisplayType::MainDisplayType(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Main"));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    // Tab reaches the box, where the keys type into the cubes.
    setFocusPolicy(Qt::StrongFocus);
}

MainDisplayType::~MainDisplayType() = default;

void MainDisplayType::SetRenderer(SceneRenderer* renderer)
{
    // A renderer's GL objects live in this view's context: the one handed back
    // gives them up now, while the view can still make it current.
    if (renderer_ && renderer_ != renderer)
        renderer_->ReleaseScene();
    renderer_ = renderer;
    if (canvas_)
        canvas_->renderer = renderer;
    Redraw();
}

QSurfaceFormat MainDisplayType::SceneFormat()
{
    QSurfaceFormat format = QSurfaceFormat::defaultFormat();
    format.setDepthBufferSize(24);
    format.setSamples(0);
    return format;
}

QOpenGLWidget* MainDisplayType::CreateCanvas()
{
    if (!canvas_) {
        canvas_ = new SceneCanvas(this);
        canvas_->renderer = renderer_;
        canvas_->setGeometry(contentsRect());
        canvas_->show();
    }
    return canvas_;
}

QOpenGLWidget* MainDisplayType::Canvas() const
{
    return canvas_;
}

void MainDisplayType::Redraw()
{
    if (canvas_)
        canvas_->update();
}

void MainDisplayType::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    if (canvas_)
        canvas_->setGeometry(contentsRect());
}

void MainDisplayType::mouseMoveEvent(QMouseEvent* event)
{
    if (renderer_) {
        const QPoint at = event->position().toPoint();
        if (event->buttons().testFlag(Qt::LeftButton) && (at - pressedAt_).manhattanLength() > kClickSlop)
            dragged_ = true;
        OrbitDrag(renderer_->camera, event->buttons().testFlag(Qt::LeftButton), at.x(), at.y());
        Redraw();
    }
    event->accept();
}

BoxHit MainDisplayType::PickAt(QPointF at) const
{
    const Game* game = renderer_ ? renderer_->GameShown() : nullptr;
    if (!game || !canvas_)
        return {};
    // The picture fills the contents; a pixel's centre lies half a pixel in.
    const QRect picture = contentsRect();
    const QPointF inside = at - picture.topLeft() + QPointF(0.5, 0.5);
    return PickCell(renderer_->camera, picture.width(), picture.height(), *game, inside.x(), inside.y());
}

void MainDisplayType::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        pressedAt_ = event->position().toPoint();
        dragged_ = false;
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
    if (event->button() == Qt::LeftButton && renderer_) {
        OrbitRelease(renderer_->camera);
        const QPoint at = event->position().toPoint();
        if (!dragged_ && (at - pressedAt_).manhattanLength() <= kClickSlop) {
            const BoxHit hit = PickAt(event->position());
            if (hit.cell >= 0)
                Q_EMIT CellClicked(hit.cell);
        }
    }
    event->accept();
}

// The border shows where the keys go: the highlight colour while the box has the
// focus.
void MainDisplayType::focusInEvent(QFocusEvent* event)
{
    QPalette focused = palette();
    focused.setColor(QPalette::WindowText, focused.color(QPalette::Highlight));
    setPalette(focused);
    QFrame::focusInEvent(event);
}

void MainDisplayType::focusOutEvent(QFocusEvent* event)
{
    setPalette(QPalette());
    QFrame::focusOutEvent(event);
}

void MainDisplayType::wheelEvent(QWheelEvent* event)
{
    // Each notch of the wheel is one step, whatever its size; a sideways scroll is
    // no zoom.
    const int delta = event->angleDelta().y();
    if (delta != 0 && renderer_) {
        OrbitZoom(renderer_->camera, delta > 0);
        Redraw();
    }
    event->accept();
}

} // namespace pelorin
