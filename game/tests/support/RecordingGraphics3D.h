#pragma once

#include "TestGraphics3D.h"

#include "render/Transform.h"

#include <vector>

namespace gametest {

// The test renderer that also remembers what the game asks of it: every node
// drawn with its transform, and the camera last set (which getCamera then
// answers, as a real renderer does).
class RecordingGraphics3D : public testsupport::TestGraphics3D {
public:
    struct Drawn {
        const render::Node* node;
        render::Transform transform;
    };

    using TestGraphics3D::render;
    void render(render::Node* node, const render::Transform& transform) override;
    void setCamera(render::Camera* camera, const render::Transform& transform) override;
    render::Camera* getCamera(render::Transform* transform) override;

    std::vector<Drawn> m_drawn;
    render::Camera* m_camera = nullptr;
    render::Transform m_cameraTransform;
    int m_cameraSets = 0;
};

} // namespace gametest
