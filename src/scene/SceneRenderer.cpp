#include "scene/SceneRenderer.h"

#include "foundation/StartupClock.h"
#include "game/Game.h"
#include "scene/GridScene.h"
#include "scene/MainDisplayType.h"
#include "scene/SceneDevice.h"
#include "scene/SceneMesh.h"
#include "scene/SceneTextures.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

#include <cmath>
#include <malloc.h>

namespace pelorin {

namespace {

// The projection maps depth to 0..1; OpenGL clips to -1..1, so z becomes 2z - w.
constexpr Matrix4 kDepthToGl = {1.0f, 0.0f, 0.0f,  0.0f, 0.0f, 1.0f, 0.0f, 0.0f,
                                0.0f, 0.0f, 2.0f,  0.0f, 0.0f, 0.0f, -1.0f, 1.0f};

} // namespace

SceneRenderer::SceneRenderer() = default;

SceneRenderer::~SceneRenderer()
{
    ReleaseScene();
    if (view_ && view_->Renderer() == this)
        view_->SetRenderer(nullptr);
}

bool SceneRenderer::InitDevice(MainDisplayType& view)
{
    view_ = &view;
    if (probe_.valid()) {
        initStage_ = probe_.get();
        probeSurface_.reset();
        // What the probe's thread freed stays with that thread's heap unless given back.
        malloc_trim(0);
    } else {
        initStage_ = SceneDevice::Probe(MainDisplayType::SceneFormat());
    }
    startup_clock::Mark("device probed");
    // No failure of this back end maps onto a listed detail code.
    initDetail_ = 0;
    if (initStage_ != 0)
        return false;
    canvas_ = view.CreateCanvas();
    return true;
}

void SceneRenderer::StartProbe()
{
    if (probe_.valid() || !QOpenGLContext::supportsThreadedOpenGL())
        return;
    // A surface is made on the user-interface thread; a context may be made and
    // used on any.
    probeSurface_ = std::make_unique<QOffscreenSurface>();
    probeSurface_->setFormat(MainDisplayType::SceneFormat());
    probeSurface_->create();
    probe_ = std::async(std::launch::async, [surface = probeSurface_.get()] { return SceneDevice::ProbeOn(*surface); });
}

QString SceneRenderer::InitFailureMessage() const
{
    return QString::asprintf("Cannot initialise OpenGL graphics. Code=%ld.%ld", static_cast<long>(initStage_),
                             static_cast<long>(initDetail_));
}

void SceneRenderer::LoadResourceTexture(int32_t resourceId)
{
    if (slotsUsed_ == kMaxTextures)
        return;
    slotPictures_[static_cast<size_t>(slotsUsed_++)] = resourceId;
}

void SceneRenderer::RenderFrame()
{
    if (initStage_ != 0 || !canvas_ || !EnsureDevice())
        return;
    device_->DeleteRetired();
    UploadTextures();
    startup_clock::Mark("textures");
    ClearTarget();
    SetupCamera();
    // The core box comes first in a frame and so sees the stage state the frame
    // began with; drawn after the cubes it keeps that state, and the depth test
    // spares the wall that the ring hides.
    const bool unlitAtStart = device_->StageZeroUnlit();
    DrawCells();
    for (const auto& mesh : staticMeshes_)
        device_->Draw(*mesh, unlitAtStart);
    startup_clock::Mark("first frame");
}

void SceneRenderer::DrawCells()
{
    if (!game_)
        return;
    // Nearer faces first, for the same reason. Twins share one view, held by one of
    // them only, so each physical cell is drawn once.
    for (const int32_t face : FacesNearestFirst(camera)) {
        for (int k = 0; k < kSide * kSide; ++k) {
            if (CellView* view = game_->At(face * kSide * kSide + k).view.get())
                DrawCellView(*this, *view);
        }
    }
}

bool SceneRenderer::EnsureDevice()
{
    QOpenGLContext* const context = canvas_->context();
    if (!context || QOpenGLContext::currentContext() != context)
        return false;
    if (device_ && device_->Context() == context)
        return true;
    // A device of a context that went without notice: its objects went with it.
    staticMeshes_.clear();
    device_.reset();

    auto device = std::make_shared<SceneDevice>(*context);
    if (!device->Create()) {
        device->Release();
        initStage_ = 2;
        return false;
    }
    device_ = std::move(device);
    slotsUploaded_ = 0;
    BuildCore(*this);
    startup_clock::Mark("scene device made");
    return true;
}

void SceneRenderer::UploadTextures()
{
    for (; slotsUploaded_ < slotsUsed_; ++slotsUploaded_)
        device_->LoadTexture(slotsUploaded_, ScenePicture(slotPictures_[static_cast<size_t>(slotsUploaded_)]));
}

void SceneRenderer::ClearTarget()
{
    QOpenGLFunctions& gl = *canvas_->context()->functions();
    // The whole surface, in device pixels: on a high-density screen the picture
    // fills the same part of the window.
    const qreal ratio = canvas_->devicePixelRatioF();
    gl.glViewport(0, 0, static_cast<GLsizei>(std::lround(canvas_->width() * ratio)),
                  static_cast<GLsizei>(std::lround(canvas_->height() * ratio)));
    gl.glDisable(GL_SCISSOR_TEST);
    gl.glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    gl.glClearDepthf(1.0f);
    gl.glDepthMask(GL_TRUE);
    gl.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void SceneRenderer::SetupCamera()
{
    device_->BeginFrame(Multiply(ViewProjection(camera), kDepthToGl));
}

void SceneRenderer::ReleaseScene()
{
    if (!device_)
        return;
    if (canvas_ && canvas_->context()) {
        canvas_->makeCurrent();
        device_->Release();
        canvas_->doneCurrent();
    } else {
        device_->Abandon();
    }
    staticMeshes_.clear();
    device_.reset();
}

std::unique_ptr<SceneMesh> SceneRenderer::CreateMesh() const
{
    return std::make_unique<SceneMesh>(device_);
}

bool SceneRenderer::BuildMesh(SceneMesh& mesh, const MeshBuilder& builder)
{
    return IsLive(mesh) && device_->Upload(mesh, builder);
}

void SceneRenderer::DrawMesh(const SceneMesh& mesh)
{
    if (IsLive(mesh))
        device_->Draw(mesh, device_->StageZeroUnlit());
}

bool SceneRenderer::IsLive(const SceneMesh& mesh) const
{
    return device_ && mesh.Device() == device_.get();
}

void SceneRenderer::AddStaticMesh(std::unique_ptr<SceneMesh> mesh)
{
    staticMeshes_.push_back(std::move(mesh));
}

int32_t SceneRenderer::MeshCount() const
{
    return device_ ? device_->MeshCount() : 0;
}

int32_t SceneRenderer::RetiredBufferCount() const
{
    return device_ ? device_->RetiredCount() : 0;
}

} // namespace pelorin
