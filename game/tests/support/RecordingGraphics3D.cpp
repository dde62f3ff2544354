#include "RecordingGraphics3D.h"

namespace gametest {

void RecordingGraphics3D::render(render::Node* node, const render::Transform& transform)
{
    m_drawn.push_back({node, transform});
}

void RecordingGraphics3D::setCamera(render::Camera* camera, const render::Transform& transform)
{
    m_camera = camera;
    m_cameraTransform = transform;
    ++m_cameraSets;
}

render::Camera* RecordingGraphics3D::getCamera(render::Transform* transform)
{
    if (transform != nullptr)
        *transform = m_cameraTransform;
    return m_camera;
}

} // namespace gametest
