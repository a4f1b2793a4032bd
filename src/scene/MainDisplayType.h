#pragma once

#include <QOpenGLWidget>

namespace pelorin {

class SceneRenderer;

/// The scene view: a bordered child window in which the renderer draws the box, and
/// which turns the box with the mouse. A left drag turns it about its vertical axis,
/// the wheel moves the eye nearer or farther, and a left press takes the keyboard
/// focus. The mouse never picks cells.
///
/// Until the main window hands it a renderer, the view draws only its border and
/// leaves the camera alone.
class MainDisplayType final : public QOpenGLWidget {
    Q_OBJECT

public:
    static constexpr int kControlId = 1234;
    /// The one-pixel border drawn around the picture.
    static constexpr int kBorder = 1;

    explicit MainDisplayType(QWidget* parent = nullptr);
    /// Releases the renderer's GL objects while the context is still current.
    ~MainDisplayType() override;

    /// Hands over the renderer (borrowed; null takes it back).
    void SetRenderer(SceneRenderer* renderer);
    SceneRenderer* Renderer() const { return renderer_; }

    /// The picture's area inside the border, in device pixels: on a high-density
    /// screen the picture fills the same part of the window.
    QRect ClientViewport() const;

protected:
    void initializeGL() override;
    void paintGL() override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void ReleaseDevice();

    SceneRenderer* renderer_ = nullptr;
};

} // namespace pelorin
