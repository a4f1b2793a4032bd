#pragma once

#include <QFrame>
#include <QSurfaceFormat>

class QOpenGLWidget;

namespace pelorin {

class SceneCanvas;
class SceneRenderer;

/// The scene view: a bordered child window in which the renderer draws the box, and
/// which turns the box with the mouse. A left drag turns it about its vertical axis,
/// the wheel moves the eye nearer or farther, and a left press takes the keyboard
/// focus. The mouse never picks cells.
///
/// The picture is drawn into an OpenGL surface inside the border, made only once
/// OpenGL is known to work: a window that holds such a surface cannot even show
/// without OpenGL. Until the main window hands over a renderer, the view leaves
/// the camera alone.
class MainDisplayType final : public QFrame {
    Q_OBJECT

public:
    static constexpr int kControlId = 1234;

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

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    SceneRenderer* renderer_ = nullptr;
    SceneCanvas* canvas_ = nullptr; ///< a child, when there is OpenGL
};

} // namespace pelorin
