#include "RecordingGraphics3D.h"

#include "render/Text2D.h"

namespace gametest {

void RecordingGraphics3D::render(render::Node* node, const render::Transform& transform)
{
    m_drawn.push_back({node, transform});
    if (auto* text = dynamic_cast<render::Text2D*>(node)) {
        m_drawn.back().text = text->getText().c_str();
        m_drawn.back().sizeX = text->getSizeX();
        m_drawn.back().sizeY = text->getSizeY();
        m_drawn.back().appearance = text->getAppearance();
    }
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
