#include "scene/OrbitCamera.h"

#include "scene/GridScene.h"

#include <cmath>
#include <cstdlib>

namespace pelorin {

namespace {

using Vector3 = std::array<float, 3>;

// π in single precision, as every angle of the camera is computed.
constexpr float kPi = 3.1415927f;
constexpr float kFieldOfView = 0.7853982f;
constexpr float kAspect = 1.0f;
constexpr float kNearPlane = 1.0f;
constexpr float kFarPlane = 1000.0f;

Vector3 Subtract(const Vector3& a, const Vector3& b)
{
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

float Dot(const Vector3& a, const Vector3& b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

Vector3 Cross(const Vector3& a, const Vector3& b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

Vector3 Normalise(const Vector3& v)
{
    const float length = std::sqrt(Dot(v, v));
    return length > 0.0f ? Vector3{v[0] / length, v[1] / length, v[2] / length} : v;
}

} // namespace

Matrix4 Multiply(const Matrix4& a, const Matrix4& b)
{
    Matrix4 result{};
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k)
                sum += a[static_cast<size_t>(row * 4 + k)] * b[static_cast<size_t>(k * 4 + column)];
            result[static_cast<size_t>(row * 4 + column)] = sum;
        }
    }
    return result;
}

Matrix4 LookAtLH(const Vector3& eye, const Vector3& at, const Vector3& up)
{
    const Vector3 zAxis = Normalise(Subtract(at, eye));
    const Vector3 xAxis = Normalise(Cross(up, zAxis));
    const Vector3 yAxis = Cross(zAxis, xAxis);
    return {xAxis[0], yAxis[0], zAxis[0], 0.0f,
            xAxis[1], yAxis[1], zAxis[1], 0.0f,
            xAxis[2], yAxis[2], zAxis[2], 0.0f,
            -Dot(xAxis, eye), -Dot(yAxis, eye), -Dot(zAxis, eye), 1.0f};
}

Matrix4 PerspectiveFovLH(float fovY, float aspect, float zNear, float zFar)
{
    const float yScale = 1.0f / std::tan(fovY / 2.0f);
    const float xScale = yScale / aspect;
    const float depth = zFar / (zFar - zNear);
    return {xScale, 0.0f, 0.0f, 0.0f,
            0.0f, yScale, 0.0f, 0.0f,
            0.0f, 0.0f, depth, 1.0f,
            0.0f, 0.0f, -zNear * depth, 0.0f};
}

OrbitCamera::OrbitCamera()
{
    UpdateEye(*this);
}

void UpdateEye(OrbitCamera& camera)
{
    const float yawDegrees = static_cast<float>(camera.yaw * 360.0);
    const float pitchDegrees = static_cast<float>(camera.pitch * 90.0);
    const float yawRadians = yawDegrees * kPi / 180.0f;
    const float pitchRadians = pitchDegrees * kPi / 180.0f;
    const float horizontal = -(std::cos(pitchRadians) * camera.distance);
    camera.eyeX = std::sin(yawRadians) * horizontal + kBoxCentre;
    camera.eyeZ = std::cos(yawRadians) * horizontal + kBoxCentre;
    camera.eyeY = std::sin(pitchRadians) * camera.distance + kBoxCentre;
}

void OrbitDrag(OrbitCamera& camera, bool leftButton, int32_t x, int32_t y)
{
    if (!leftButton)
        return;
    // The player's hand wins over a turn to the selected entry.
    camera.turnStep = 0;
    if (camera.lastX == -1 && camera.lastY == -1) {
        // The first drag starts from the start angle, or from where a turn left it.
        camera.baseYaw = camera.yaw;
        camera.basePitch = 0.0f;
        camera.dragOriginX = x;
        camera.dragOriginY = y;
    } else if (std::abs(camera.lastX - x) > OrbitCamera::kJumpPixels ||
               std::abs(camera.lastY - y) > OrbitCamera::kJumpPixels) {
        // The pointer jumped (the button was pressed elsewhere, or the pointer came
        // back into the view): carry on from here without turning the box.
        camera.baseYaw = camera.yaw;
        camera.basePitch = camera.pitch;
        camera.dragOriginX = x;
        camera.dragOriginY = y;
    }
    camera.yaw = static_cast<float>(camera.baseYaw + (x - camera.dragOriginX) / OrbitCamera::kPixelsPerTurn);
    camera.pitch = 0.0f;
    if (camera.yaw > 1.0f)
        camera.yaw -= 1.0f;
    if (camera.yaw < 0.0f)
        camera.yaw += 1.0f;
    camera.lastX = x;
    camera.lastY = y;
    UpdateEye(camera);
}

void OrbitZoom(OrbitCamera& camera, bool outward)
{
    camera.distance = outward ? camera.distance * OrbitCamera::kZoomStep : camera.distance / OrbitCamera::kZoomStep;
    if (camera.distance < OrbitCamera::kNearest)
        camera.distance = OrbitCamera::kNearest;
    if (camera.distance > OrbitCamera::kFarthest)
        camera.distance = OrbitCamera::kFarthest;
    UpdateEye(camera);
}

void OrbitPress(OrbitCamera& camera, int32_t x, int32_t y)
{
    camera.dragOriginX = x;
    camera.dragOriginY = y;
}

void OrbitRelease(OrbitCamera& camera)
{
    camera.baseYaw = camera.yaw;
    camera.basePitch = camera.pitch;
}

float FaceYaw(int32_t face)
{
    constexpr std::array<float, 4> kYaws = {0.25f, 0.0f, 0.75f, 0.5f};
    return kYaws[static_cast<size_t>(face & 3)];
}

bool StartTurn(OrbitCamera& camera, int32_t face)
{
    // The shorter way round: a difference of -0.5 to 0.5 turns.
    float by = FaceYaw(face) - camera.yaw;
    by -= std::round(by);
    if (std::abs(by) < OrbitCamera::kSquareEnough)
        return false;
    camera.turnFrom = camera.yaw;
    camera.turnBy = by;
    camera.turnStep = 1;
    return true;
}

bool TurnTick(OrbitCamera& camera)
{
    if (camera.turnStep == 0)
        return false;
    // Eased in and out, so the box neither jerks away nor stops abruptly.
    const float share = static_cast<float>(camera.turnStep) / OrbitCamera::kTurnTicks;
    const float eased = share * share * (3.0f - 2.0f * share);
    float yaw = camera.turnFrom + camera.turnBy * eased;
    yaw -= std::floor(yaw);
    camera.yaw = yaw;
    camera.baseYaw = yaw;
    camera.turnStep = camera.turnStep < OrbitCamera::kTurnTicks ? camera.turnStep + 1 : 0;
    UpdateEye(camera);
    return true;
}

bool IsTurning(const OrbitCamera& camera)
{
    return camera.turnStep != 0;
}

Matrix4 ViewProjection(const OrbitCamera& camera)
{
    const Matrix4 view = LookAtLH({camera.eyeX, camera.eyeY, camera.eyeZ}, {kBoxCentre, kBoxCentre, kBoxCentre},
                                  {0.0f, 1.0f, 0.0f});
    return Multiply(view, PerspectiveFovLH(kFieldOfView, kAspect, kNearPlane, kFarPlane));
}

} // namespace pelorin
