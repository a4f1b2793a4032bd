#include "scene/SceneDevice.h"

#include "scene/SceneMesh.h"
#include "scene/SceneTextures.h"

#include <QImage>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>

#include <cassert>
#include <cstddef>

namespace pelorin {

namespace {

enum Attribute : GLuint { kPosition, kNormal, kDiffuse, kFirst, kSecond };

// Lighting is computed per vertex, as a fixed-function pipeline does. The vertices'
// own colour (opaque white) is the diffuse reflectance, the material's the ambient;
// the light has no attenuation, and every vertex of the scene is well within its
// range of 1000.
constexpr const char* kVertexShader = R"(
attribute vec3 position;
attribute vec3 normal;
attribute vec4 diffuse;
attribute vec2 firstCoordinates;
attribute vec2 secondCoordinates;
uniform mat4 viewProjection;
uniform vec3 lightPosition;
uniform vec3 lightDiffuse;
uniform vec3 ambient;
varying vec3 litColour;
varying vec3 tint;
varying vec2 first;
varying vec2 second;
void main()
{
    gl_Position = viewProjection * vec4(position, 1.0);
    // The colour is stored as ARGB, so its bytes arrive as blue, green, red, alpha.
    vec3 reflectance = diffuse.bgr;
    float facing = max(dot(normal, normalize(lightPosition - position)), 0.0);
    litColour = clamp(ambient + reflectance * lightDiffuse * facing, 0.0, 1.0);
    tint = reflectance;
    first = firstCoordinates;
    second = secondCoordinates;
}
)";

constexpr const char* kFragmentShader = R"(
#ifdef GL_ES
precision mediump float;
#endif
uniform sampler2D stageZero;
uniform sampler2D stageOne;
uniform int lit;
uniform int overlay;
varying vec3 litColour;
varying vec3 tint;
varying vec2 first;
varying vec2 second;
void main()
{
    vec3 colour = texture2D(stageZero, first).rgb;
    // Unlit meshes (the cubes) take their vertices' colour as a tint: white for a
    // plain cube, a pale colour behind the letters of the selected entry.
    if (lit != 0)
        colour *= litColour;
    else
        colour *= tint;
    if (overlay != 0)
        colour *= texture2D(stageOne, second).rgb;
    gl_FragColor = vec4(colour, 1.0);
}
)";

// The fixed light of the scene: a white point light up and to the front left of
// face 1, and a dim grey ambient.
constexpr float kLightPosition[3] = {-10.0f, 5.0f, -7.0f};
constexpr float kLightDiffuse = 1.0f;
constexpr float kLightAmbient = 0.8f;
constexpr float kMaterialAmbient = 0.5f;
constexpr float kGlobalAmbient = 17.0f / 255.0f;

std::unique_ptr<QOpenGLShaderProgram> MakeProgram()
{
    auto program = std::make_unique<QOpenGLShaderProgram>();
    if (!program->addShaderFromSourceCode(QOpenGLShader::Vertex, kVertexShader) ||
        !program->addShaderFromSourceCode(QOpenGLShader::Fragment, kFragmentShader))
        return nullptr;
    program->bindAttributeLocation("position", kPosition);
    program->bindAttributeLocation("normal", kNormal);
    program->bindAttributeLocation("diffuse", kDiffuse);
    program->bindAttributeLocation("firstCoordinates", kFirst);
    program->bindAttributeLocation("secondCoordinates", kSecond);
    if (!program->link())
        return nullptr;
    return program;
}

// What the scene needs beyond a context: shader programs, framebuffer objects (the
// view draws into one) and a program that compiles.
bool CanRunScene(QOpenGLContext& context)
{
    const QSurfaceFormat format = context.format();
    if (format.majorVersion() < 2)
        return false;
    if (!QOpenGLShaderProgram::hasOpenGLShaderPrograms(&context) ||
        !QOpenGLFramebufferObject::hasOpenGLFramebufferObjects())
        return false;
    return MakeProgram() != nullptr;
}

void SetAttribute(QOpenGLFunctions& gl, GLuint attribute, GLint size, GLenum type, size_t offset)
{
    const GLboolean normalised = type == GL_UNSIGNED_BYTE ? GL_TRUE : GL_FALSE;
    gl.glVertexAttribPointer(attribute, size, type, normalised, sizeof(MeshVertex),
                             reinterpret_cast<const void*>(offset));
}

} // namespace

int32_t SceneDevice::Probe(const QSurfaceFormat& format)
{
    QOpenGLContext* const previous = QOpenGLContext::currentContext();
    QSurface* const previousSurface = previous ? previous->surface() : nullptr;
    int32_t stage = 0;
    {
        QOffscreenSurface surface;
        surface.setFormat(format);
        surface.create();
        stage = ProbeOn(surface);
    }
    if (previous)
        previous->makeCurrent(previousSurface);
    return stage;
}

int32_t SceneDevice::ProbeOn(QOffscreenSurface& surface)
{
    QOpenGLContext context;
    context.setFormat(surface.requestedFormat());
    if (!context.create())
        return 1;
    if (!surface.isValid() || !context.makeCurrent(&surface))
        return 1;
    const int32_t stage = CanRunScene(context) ? 0 : 2;
    context.doneCurrent();
    return stage;
}

SceneDevice::SceneDevice(QOpenGLContext& context) : context_(&context), gl_(context.functions())
{
    assert(QOpenGLContext::currentContext() == &context && "a device is made while its context is current");
}

SceneDevice::~SceneDevice()
{
    // Normally released while current; otherwise the context went first.
    if (!released_)
        Abandon();
}

bool SceneDevice::Create()
{
    program_ = MakeProgram();
    if (!program_)
        return false;
    viewProjection_ = program_->uniformLocation("viewProjection");
    lit_ = program_->uniformLocation("lit");
    overlay_ = program_->uniformLocation("overlay");
    program_->bind();
    program_->setUniformValue("stageZero", 0);
    program_->setUniformValue("stageOne", 1);
    SetupLighting();

    const GLuint white = 0xFFFFFFFFu;
    gl_->glGenTextures(1, &white_);
    gl_->glBindTexture(GL_TEXTURE_2D, white_);
    gl_->glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, &white);
    gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    return true;
}

void SceneDevice::SetupLighting()
{
    const float ambient = kMaterialAmbient * (kGlobalAmbient + kLightAmbient);
    program_->setUniformValue("lightPosition", kLightPosition[0], kLightPosition[1], kLightPosition[2]);
    program_->setUniformValue("lightDiffuse", kLightDiffuse, kLightDiffuse, kLightDiffuse);
    program_->setUniformValue("ambient", ambient, ambient, ambient);
}

void SceneDevice::LoadTexture(int32_t slot, const QImage& image)
{
    assert(slot >= 0 && slot < kSlotCount && "no such texture slot");
    if (released_ || image.isNull() || slots_[static_cast<size_t>(slot)] != 0)
        return;
    GLint largest = 0;
    gl_->glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    QImage pixels = image.convertToFormat(QImage::Format_RGBA8888);
    if (largest > 0 && (pixels.width() > largest || pixels.height() > largest))
        pixels = pixels.scaled(std::min(pixels.width(), largest), std::min(pixels.height(), largest),
                               Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    GLuint& texture = slots_[static_cast<size_t>(slot)];
    gl_->glGenTextures(1, &texture);
    gl_->glBindTexture(GL_TEXTURE_2D, texture);
    // Row 0 of the picture is v = 0: tile k of an atlas lies between k/N and (k+1)/N
    // counted from the top. The smaller levels are made here rather than by the
    // driver: a software renderer draws them with shaders it must first compile,
    // which costs a second of start-up; halving the picture costs milliseconds.
    for (GLint level = 0;; ++level) {
        gl_->glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA, pixels.width(), pixels.height(), 0, GL_RGBA,
                          GL_UNSIGNED_BYTE, pixels.constBits());
        if (pixels.width() == 1 && pixels.height() == 1)
            break;
        pixels = pixels.scaled(std::max(1, pixels.width() / 2), std::max(1, pixels.height() / 2),
                               Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    gl_->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    bound_.fill(0);
}

bool SceneDevice::Upload(SceneMesh& mesh, const MeshBuilder& builder)
{
    assert(mesh.device_.get() == this && mesh.vertexBuffer_ == 0 && "a mesh is built once, on its own device");
    mesh.vertexCount = builder.VertexCount();
    mesh.triangleCount = builder.TriangleCount();
    mesh.textureSlot = builder.textureSlot;
    std::vector<MeshVertex> vertices;
    std::vector<uint32_t> indices;
    if (released_ || !builder.Vertices(vertices) || !builder.Indices(indices))
        return false;
    GLuint buffers[2] = {};
    gl_->glGenBuffers(2, buffers);
    gl_->glBindBuffer(GL_ARRAY_BUFFER, buffers[0]);
    gl_->glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(MeshVertex)),
                      vertices.data(), GL_STATIC_DRAW);
    gl_->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers[1]);
    gl_->glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(uint32_t)),
                      indices.data(), GL_STATIC_DRAW);
    mesh.vertexBuffer_ = buffers[0];
    mesh.indexBuffer_ = buffers[1];
    return true;
}

void SceneDevice::BeginFrame(const std::array<float, 16>& viewProjection)
{
    gl_->glEnable(GL_DEPTH_TEST);
    gl_->glDepthFunc(GL_LEQUAL);
    gl_->glDepthMask(GL_TRUE);
    // Every face of the scene is wound clockwise as seen from outside.
    gl_->glEnable(GL_CULL_FACE);
    gl_->glFrontFace(GL_CW);
    gl_->glCullFace(GL_BACK);
    gl_->glDisable(GL_BLEND);
    program_->bind();
    // The matrix is written for row vectors; read column by column it is its own
    // transpose, which is what a column-vector shader needs.
    gl_->glUniformMatrix4fv(viewProjection_, 1, GL_FALSE, viewProjection.data());
    for (GLuint attribute = kPosition; attribute <= kSecond; ++attribute)
        gl_->glEnableVertexAttribArray(attribute);
    // Qt may have used the units between frames.
    bound_.fill(0);
    litValue_ = -1;
    overlayValue_ = -1;
}

void SceneDevice::Draw(const SceneMesh& mesh, bool stageZeroUnlit)
{
    assert(mesh.device_.get() == this && "a mesh is drawn on its own device");
    if (released_ || !mesh.Drawable())
        return;
    BindTexture(0, SlotTexture(mesh.textureSlot));
    const bool overlay = mesh.blendMode == SceneMesh::kLetterWithNumber;
    if (overlay) {
        // From the first letter cube on, stage 0 shows its texture alone, for this
        // device's life: the core box is lit only until then.
        stageZeroUnlit_ = true;
        stageZeroUnlit = true;
        BindTexture(1, SlotTexture(kNumberSlot));
    }
    SetSwitch(lit_, litValue_, !stageZeroUnlit);
    SetSwitch(overlay_, overlayValue_, overlay);

    gl_->glBindBuffer(GL_ARRAY_BUFFER, mesh.vertexBuffer_);
    gl_->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.indexBuffer_);
    SetAttribute(*gl_, kPosition, 3, GL_FLOAT, offsetof(MeshVertex, x));
    SetAttribute(*gl_, kNormal, 3, GL_FLOAT, offsetof(MeshVertex, nx));
    SetAttribute(*gl_, kDiffuse, 4, GL_UNSIGNED_BYTE, offsetof(MeshVertex, diffuse));
    SetAttribute(*gl_, kFirst, 2, GL_FLOAT, offsetof(MeshVertex, u0));
    SetAttribute(*gl_, kSecond, 2, GL_FLOAT, offsetof(MeshVertex, u1));
    gl_->glDrawElements(GL_TRIANGLES, mesh.triangleCount * 3, GL_UNSIGNED_INT, nullptr);
}

void SceneDevice::SetSwitch(int location, int& current, bool on)
{
    const int value = on ? 1 : 0;
    if (current == value)
        return;
    program_->setUniformValue(location, value);
    current = value;
}

void SceneDevice::BindTexture(int unit, GLuint texture)
{
    GLuint& bound = bound_[static_cast<size_t>(unit)];
    if (bound == texture)
        return;
    gl_->glActiveTexture(static_cast<GLenum>(GL_TEXTURE0 + unit));
    gl_->glBindTexture(GL_TEXTURE_2D, texture);
    bound = texture;
}

GLuint SceneDevice::SlotTexture(int32_t slot) const
{
    // An empty slot, or none, draws untextured.
    if (slot < 0 || slot >= kSlotCount || slots_[static_cast<size_t>(slot)] == 0)
        return white_;
    return slots_[static_cast<size_t>(slot)];
}

void SceneDevice::Adopt(SceneMesh& mesh)
{
    if (!released_)
        meshes_.insert(&mesh);
}

void SceneDevice::Retire(SceneMesh& mesh)
{
    if (released_)
        return;
    meshes_.erase(&mesh);
    for (const GLuint buffer : {mesh.vertexBuffer_, mesh.indexBuffer_}) {
        if (buffer != 0)
            retired_.push_back(buffer);
    }
}

void SceneDevice::DeleteRetired()
{
    if (released_ || retired_.empty())
        return;
    gl_->glDeleteBuffers(static_cast<GLsizei>(retired_.size()), retired_.data());
    retired_.clear();
}

void SceneDevice::Release()
{
    if (released_)
        return;
    assert(QOpenGLContext::currentContext() == context_ && "a device is released while its context is current");
    for (SceneMesh* mesh : meshes_) {
        for (const GLuint buffer : {mesh->vertexBuffer_, mesh->indexBuffer_}) {
            if (buffer != 0)
                retired_.push_back(buffer);
        }
    }
    DeleteRetired();
    for (GLuint& texture : slots_) {
        if (texture != 0)
            gl_->glDeleteTextures(1, &texture);
    }
    gl_->glDeleteTextures(1, &white_);
    program_.reset();
    Forget();
}

void SceneDevice::Abandon()
{
    Forget();
    program_.reset();
}

void SceneDevice::Forget()
{
    for (SceneMesh* mesh : meshes_) {
        mesh->vertexBuffer_ = 0;
        mesh->indexBuffer_ = 0;
    }
    meshes_.clear();
    retired_.clear();
    slots_.fill(0);
    white_ = 0;
    released_ = true;
}

} // namespace pelorin
