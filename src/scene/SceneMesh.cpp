#include "scene/SceneMesh.h"

#include "scene/SceneDevice.h"

namespace pelorin {

SceneMesh::SceneMesh(std::shared_ptr<SceneDevice> device) : device_(std::move(device))
{
    if (device_)
        device_->Adopt(*this);
}

SceneMesh::~SceneMesh()
{
    if (device_)
        device_->Retire(*this);
}

} // namespace pelorin
