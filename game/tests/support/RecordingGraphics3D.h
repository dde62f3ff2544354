#pragma once

#include "TestGraphics3D.h"

#include "render/Transform.h"

#include <string>
#include <vector>

namespace gametest {

// The test renderer that also remembers what the game asks of it: every node
// drawn with its transform (a text also with its text, cell size and
// appearance at that moment) and the camera last set (which getCamera then answers, as a real
// renderer does).
class RecordingGraphics3D : public testsupport::TestGraphics3D {
public:
    struct Drawn {
        Drawn(const render::Node* drawnNode, const render::Transform& at) : node(drawnNode), transform(at) {}

        const render::Node* node;
        render::Transform transform;
        std::string text;
        int sizeX = 0;
        int sizeY = 0;
        const render::Appearance* appearance = nullptr;
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
