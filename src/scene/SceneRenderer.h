#pragma once

#include "scene/OrbitCamera.h"

#include <QOpenGLWidget>
#include <QPointer>
#include <QString>

#include <array>
#include <cstdint>
#include <future>
#include <memory>
#include <vector>

class QOffscreenSurface;

namespace pelorin {

class Game;
class MainDisplayType;
class MeshBuilder;
class SceneDevice;
class SceneMesh;

/// Draws the box: the core box and a cube for every open cell of the current game,
/// seen through the orbit camera, into the scene view.
///
/// The renderer keeps what outlives an OpenGL context: the texture slot table, the
/// camera and the game it shows. Everything on the GL side lives in a SceneDevice,
/// made on the first frame drawn on a context and released while that context is
/// still current when it goes (the view closes or is moved to another window); a
/// later context gets a new device with the same textures, core box and cubes.
///
/// User-interface thread only (but for the thread of StartProbe, which touches
/// nothing of the renderer's).
class SceneRenderer {
public:
    static constexpr int32_t kMaxTextures = 64;

    SceneRenderer();
    /// Releases every GL object, with the view's context current.
    ~SceneRenderer();
    SceneRenderer(const SceneRenderer&) = delete;
    SceneRenderer& operator=(const SceneRenderer&) = delete;

    /// Binds the renderer to its view and checks that an OpenGL context able to draw
    /// the scene can be had; if so, the view gets its OpenGL surface. On false,
    /// InitStage says why (1: no context, 2: the context lacks what the scene needs)
    /// and every drawing call does nothing.
    bool InitDevice(MainDisplayType& view);
    /// Starts InitDevice's check on a thread of its own, where the platform allows
    /// OpenGL there: loading the driver and compiling the scene's program then go on
    /// while the start-up load does. InitDevice waits for it.
    void StartProbe();
    int32_t InitStage() const { return initStage_; }
    int32_t InitDetail() const { return initDetail_; }
    /// The text the main window shows when InitDevice failed.
    QString InitFailureMessage() const;

    /// Puts a picture of the program (SceneTextures.h) into the next texture slot,
    /// whether or not it exists; an unknown picture leaves its slot empty. At most
    /// kMaxTextures loads count.
    void LoadResourceTexture(int32_t resourceId);

    /// The game whose cells are drawn: borrowed, normally the application's current
    /// game; null draws the core box alone.
    void SetGame(Game* game) { game_ = game; }
    const Game* GameShown() const { return game_; }

    /// Draws one frame. The view's surface calls it while painting, with its context
    /// current; it does nothing without a device.
    void RenderFrame();
    /// Releases every GL object (textures, static meshes, the cubes of the cell
    /// views, the program) while the view's context is current. The slot table, the
    /// camera and the cell views stay; the next frame builds everything again.
    void ReleaseScene();

    /// The orbit camera; it keeps its state for the renderer's life, across games.
    OrbitCamera camera;

    // Meshes, for the grid scene.

    /// A new mesh on the current device (none without a device).
    std::unique_ptr<SceneMesh> CreateMesh() const;
    /// Fills a mesh's buffers from a builder; false when it cannot.
    bool BuildMesh(SceneMesh& mesh, const MeshBuilder& builder);
    /// Draws a mesh of the current device; others draw nothing.
    void DrawMesh(const SceneMesh& mesh);
    /// Whether a mesh was built on the current device (a mesh of a device that is
    /// gone must be built again).
    bool IsLive(const SceneMesh& mesh) const;
    /// Takes a mesh that is drawn first in every frame.
    void AddStaticMesh(std::unique_ptr<SceneMesh> mesh);

    // What tests and benchmarks watch.

    bool HasDevice() const { return device_ != nullptr; }
    /// Meshes on the device (the core box and every cube built), 0 without one.
    int32_t MeshCount() const;
    /// Buffers of released meshes that wait for the next frame to be deleted.
    int32_t RetiredBufferCount() const;
    /// Cubes built since the renderer was made.
    int64_t CubesBuilt() const { return cubesBuilt_; }
    void CountCubeBuilt() { ++cubesBuilt_; }

private:
    bool EnsureDevice();
    void DrawCells();
    void UploadTextures();
    void ClearTarget();
    void SetupCamera();

    QPointer<MainDisplayType> view_;
    QPointer<QOpenGLWidget> canvas_; ///< the view's OpenGL surface, once there is one
    Game* game_ = nullptr;
    int32_t initStage_ = 0;
    int32_t initDetail_ = 0;
    std::array<int32_t, kMaxTextures> slotPictures_{};
    int32_t slotsUsed_ = 0;
    int32_t slotsUploaded_ = 0;
    std::shared_ptr<SceneDevice> device_;
    std::vector<std::unique_ptr<SceneMesh>> staticMeshes_;
    int64_t cubesBuilt_ = 0;
    // The surface outlives the probe that uses it: the future, declared after it,
    // goes first and waits for the thread.
    std::unique_ptr<QOffscreenSurface> probeSurface_;
    std::future<int32_t> probe_;
};

} // namespace pelorin
