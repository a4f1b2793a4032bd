#pragma once

#include "game/Game.h"

#include <qopengl.h>

#include <cstdint>
#include <memory>

namespace pelorin {

class SceneDevice;

/// One drawable mesh: a vertex and an index buffer on the device it was built on,
/// the texture slot it shows and how its two texture stages combine. Cell views own
/// the cubes; the renderer owns its static meshes.
class SceneMesh final : public CellMesh {
public:
    enum BlendMode : int32_t {
        kSingleTexture = 1,    ///< the slot's texture alone (lit while the device is fresh)
        kLetterWithNumber = 2, ///< the letter tile times the number tile, unlit
    };

    explicit SceneMesh(std::shared_ptr<SceneDevice> device);
    /// Hands the buffers back to their device, which deletes them the next time its
    /// context is current: the game model releases meshes while none is.
    ~SceneMesh() override;
    SceneMesh(const SceneMesh&) = delete;
    SceneMesh& operator=(const SceneMesh&) = delete;

    int32_t vertexCount = 0;
    int32_t triangleCount = 0;
    int32_t textureSlot = -1; ///< -1 = none
    int32_t blendMode = kLetterWithNumber;

    /// The device that holds the buffers (null when it was made without one).
    const SceneDevice* Device() const { return device_.get(); }
    /// Both buffers exist and hold the whole mesh.
    bool Drawable() const { return vertexBuffer_ != 0 && indexBuffer_ != 0; }

private:
    friend class SceneDevice;
    std::shared_ptr<SceneDevice> device_;
    GLuint vertexBuffer_ = 0;
    GLuint indexBuffer_ = 0;
};

} // namespace pelorin
