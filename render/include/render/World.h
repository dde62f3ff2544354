#pragma once

#include "render/Group.h"

namespace render {

class Background;
class Camera;

// The root group of a scene, with the camera that views it and the
// background that clears the target before it is drawn.
// Contract: both are held by counted reference; the active camera can be
// replaced but not removed, the background can be removed with null. A world
// is never the child of a group.
class World : public Group {
public:
    World();
    ~World() noexcept(false) override;

    // A null camera logs and throws.
    void setActiveCamera(Camera* camera);
    Camera* getActiveCamera() const { return m_activeCamera.get(); }
    void setBackground(Background* background);
    Background* getBackground() const { return m_background.get(); }

private:
    core::Ref<Camera> m_activeCamera;
    core::Ref<Background> m_background;
};

} // namespace render
