#pragma once

#include "scene/MeshBuilder.h"

#include <QOpenGLShaderProgram>
#include <qopengl.h>

#include <array>
#include <cstdint>
#include <memory>
#include <unordered_set>
#include <vector>

class QImage;
class QOpenGLContext;
class QOpenGLFunctions;
class QOffscreenSurface;
class QSurfaceFormat;

namespace pelorin {

class SceneMesh;

/// What the scene keeps of one OpenGL context: the shader program, the textures of
/// the slots, and the buffers of every mesh built on it.
///
/// A device lives from the first frame drawn on a context until that context goes.
/// Every GL call happens while its context is current; meshes that are released at
/// other times (the game model releases them during play) only hand their buffers
/// back, and the device deletes them at the start of the next frame. Release()
/// deletes everything, the buffers of meshes that still exist included; those
/// meshes then belong to a released device and are rebuilt on the next one.
///
/// The program reproduces a fixed-function pipeline of two texture stages: stage 0
/// shows a mesh's texture, lit by one point light per vertex until the first
/// letter-with-number mesh is drawn, and unlit from then on (the stage's state
/// persists on the device); stage 1 multiplies the number atlas over it.
class SceneDevice {
public:
    static constexpr int32_t kSlotCount = 64;

    /// 0 when a context of the format can run the scene; 1 when no context can be
    /// had; 2 when the context lacks what the scene needs. Leaves the current context
    /// as it found it.
    static int32_t Probe(const QSurfaceFormat& format);
    /// The same test on a surface made beforehand on the user-interface thread, from
    /// a thread that has no current context: for probing while other work goes on.
    static int32_t ProbeOn(QOffscreenSurface& surface);

    /// For the current context.
    explicit SceneDevice(QOpenGLContext& context);
    ~SceneDevice();
    SceneDevice(const SceneDevice&) = delete;
    SceneDevice& operator=(const SceneDevice&) = delete;

    /// Compiles the program and sets up the light; false when the context cannot run it.
    bool Create();
    QOpenGLContext* Context() const { return context_; }

    /// Uploads a texture into a slot (shrunk if the context cannot hold its size; the
    /// picture keeps its mapping over u and v).
    void LoadTexture(int32_t slot, const QImage& image);

    /// Creates the mesh's buffers and fills them; false (and nothing drawable) when
    /// the builder is inconsistent.
    bool Upload(SceneMesh& mesh, const MeshBuilder& builder);

    /// Sets the frame's fixed state and the camera; the context must be current.
    void BeginFrame(const std::array<float, 16>& viewProjection);
    /// Draws a mesh of this device. A single-texture mesh shows its texture lit
    /// unless `stageZeroUnlit`; a letter-with-number mesh is unlit and makes stage 0
    /// unlit for the device's life.
    void Draw(const SceneMesh& mesh, bool stageZeroUnlit);
    /// Whether a letter-with-number mesh has been drawn on this device.
    bool StageZeroUnlit() const { return stageZeroUnlit_; }

    /// Deletes the buffers that released meshes handed back.
    void DeleteRetired();
    /// Deletes every GL object of the device while its context is current.
    void Release();
    /// Forgets every GL object without a GL call: their context is already gone.
    void Abandon();

    /// Meshes built on this device that still exist.
    int32_t MeshCount() const { return static_cast<int32_t>(meshes_.size()); }
    /// Buffers handed back and not yet deleted.
    int32_t RetiredCount() const { return static_cast<int32_t>(retired_.size()); }

private:
    friend class SceneMesh;
    void Adopt(SceneMesh& mesh);
    void Retire(SceneMesh& mesh);
    void SetupLighting();
    void BindTexture(int unit, GLuint texture);
    /// Sets an on/off uniform unless it already has the value.
    void SetSwitch(int location, int& current, bool on);
    GLuint SlotTexture(int32_t slot) const;
    void Forget();

    QOpenGLContext* context_;
    QOpenGLFunctions* gl_;
    bool released_ = false;
    std::unique_ptr<QOpenGLShaderProgram> program_;
    std::array<GLuint, kSlotCount> slots_{};
    GLuint white_ = 0; ///< stands in for an empty slot
    std::unordered_set<SceneMesh*> meshes_;
    std::vector<GLuint> retired_;

    // The stage state that persists from one draw to the next.
    bool stageZeroUnlit_ = false;
    // What the program and the texture units hold now, to skip repeated settings.
    std::array<GLuint, 2> bound_{};
    int litValue_ = -1;
    int overlayValue_ = -1;

    // Uniform locations.
    int viewProjection_ = -1;
    int lit_ = -1;
    int overlay_ = -1;
};

} // namespace pelorin
