#pragma once

#include "scene/BoxPicking.h"

#include <QFrame>
#include <QSurfaceFormat>

class QOpenGLWidget;

namespace pelorin {

class SceneCanvas;
class SceneRenderer;

/// The scene view: a bordered child window in which the renderer draws the box, and
/// which turns the box with the mouse. A left drag turns it about its vertical axis,
/// the wheel moves the eye nearer or farther, and a left press takes the keyboard
/// focus. A left click (press and release within kClickSlop pixels) on a cube
/// announces the cell it picked; the keys go to whoever watches the view's events.
///
/// The picture is drawn into an OpenGL surface inside the border, made only once
/// OpenGL is known to work: a window that holds such a surface cannot even show
/// without OpenGL. Until the main window hands over a renderer, the view leaves
/// the camera alone.
class MainDisplayType final : public QFrame {
    Q_OBJECT

public:
    static constexpr int kControlId = 1234;
    /// A press and release at most this many pixels apart are a click, not a drag.
    static constexpr int kClickSlop = 3;

    explicit MainDisplayType(QWidget* parent = nullptr);
    ~MainDisplayType() override;

    /// Hands over the renderer (borrowed; null takes it back).
    void SetRenderer(SceneRenderer* renderer);
    SceneRenderer* Renderer() const { return renderer_; }

    /// The format of the picture's OpenGL surface.
    static QSurfaceFormat SceneFormat();
    /// Makes the picture's OpenGL surface inside the border (once).
    QOpenGLWidget* CreateCanvas();
    /// The picture's surface, or null when there is no OpenGL.
    QOpenGLWidget* Canvas() const;
    /// Has the next frame drawn soon.
    void Redraw();
    /// The cube under a point of the view (its own coordinates, border included).
    BoxHit PickAt(QPointF at) const;

Q_SIGNALS:
    /// A left click picked the cube of this cell (an index into the game's cells).
    void CellClicked(int32_t cell);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    SceneRenderer* renderer_ = nullptr;
    SceneCanvas* canvas_ = nullptr; ///< a child, when there is OpenGL
    QPoint pressedAt_;
    bool dragged_ = false; ///< the pointer went further than a click since the press
};

} // namespace pelorin
