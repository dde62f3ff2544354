#include "render/World.h"

#include "render/Background.h"
#include "render/Camera.h"

#include "core/Assert.h"

namespace render {

// ---- life cycle -------------------------------------------------------------

World::World() = default;

// The background goes first, then the camera, then the group with its
// children.
World::~World() noexcept(false) = default;

// ---- camera and background -------------------------------------------------------

void World::setActiveCamera(Camera* camera)
{
    VORNIC3D_ASSERT(camera != nullptr, "can not set camera because camera pointer is 0");
    m_activeCamera = camera;
}

void World::setBackground(Background* background)
{
    m_background = background;
}

} // namespace render
