#pragma once

#include <array>
#include <cstdint>

namespace pelorin {

/// A 4 × 4 matrix in row-major order for row vectors (v' = v · M), as the view and
/// projection of a left-handed scene are usually written.
using Matrix4 = std::array<float, 16>;

Matrix4 Multiply(const Matrix4& a, const Matrix4& b);
/// A left-handed view matrix: the eye looks along +z towards `at`, y is up.
Matrix4 LookAtLH(const std::array<float, 3>& eye, const std::array<float, 3>& at, const std::array<float, 3>& up);
/// A left-handed perspective projection to depth 0 (near) .. 1 (far).
Matrix4 PerspectiveFovLH(float fovY, float aspect, float zNear, float zFar);

/// The orbit camera: the eye circles the middle of the box at `distance`, turned by
/// `yaw` (in turns: 0.25 faces face 0 square on, 0 face 1, 0.5 face 3, 0.75 face 2).
/// A full turn takes kPixelsPerTurn pixels of horizontal drag; vertical movement
/// never tilts the view.
struct OrbitCamera {
    static constexpr double kPixelsPerTurn = 658.0;
    /// A larger step between two pointer moves is a jump, not a drag.
    static constexpr int32_t kJumpPixels = 20;
    static constexpr float kZoomStep = 1.1f;
    static constexpr float kNearest = 15.0f;
    static constexpr float kFarthest = 30.0f;
    static constexpr float kStartYaw = 0.25f;
    /// A turn to a face takes this many ticks of the window's 30 ms timer.
    static constexpr int32_t kTurnTicks = 9;
    /// A face less than this far from square on (in turns) is not turned to.
    static constexpr float kSquareEnough = 1.0f / 16.0f;

    OrbitCamera();

    int32_t dragOriginX = 0;
    int32_t dragOriginY = 0;
    float baseYaw = kStartYaw;
    float basePitch = 0.0f;
    float yaw = kStartYaw;   ///< turns, 0 to 1
    float pitch = 0.0f;      ///< quarter turns; always 0
    int32_t lastX = -1;      ///< last pointer position of a drag, -1 = none yet
    int32_t lastY = -1;
    float distance = kNearest;
    float eyeX = 0.0f;
    float eyeY = 0.0f;
    float eyeZ = 0.0f;
    // A turn under way: from turnFrom by turnBy (in turns), step turnStep of
    // kTurnTicks; turnStep 0 when none runs.
    float turnFrom = 0.0f;
    float turnBy = 0.0f;
    int32_t turnStep = 0;
};

/// Places the eye from yaw, pitch and distance.
void UpdateEye(OrbitCamera& camera);
/// A pointer move over the view: with the left button held, turns the box.
void OrbitDrag(OrbitCamera& camera, bool leftButton, int32_t x, int32_t y);
/// One wheel step: the eye moves 1.1 times farther (outward) or nearer, within
/// 15 to 30.
void OrbitZoom(OrbitCamera& camera, bool outward);
/// The left button went down at (x, y): a drag measures from there.
void OrbitPress(OrbitCamera& camera, int32_t x, int32_t y);
/// The left button came up: the next drag starts from the angle reached.
void OrbitRelease(OrbitCamera& camera);

/// The yaw that shows a face square on.
float FaceYaw(int32_t face);
/// Starts turning the box the shorter way round until the face is square on; false,
/// and nothing started, when it nearly is already (within kSquareEnough).
bool StartTurn(OrbitCamera& camera, int32_t face);
/// One tick of a turn under way: the next eased step. False when none runs.
bool TurnTick(OrbitCamera& camera);
bool IsTurning(const OrbitCamera& camera);

/// View times projection: the eye looks at the middle of the box with a vertical
/// field of view of π/4, aspect 1 (the picture is stretched to the view's shape),
/// near plane 1 and far plane 1000.
Matrix4 ViewProjection(const OrbitCamera& camera);

} // namespace pelorin
