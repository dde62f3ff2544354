#include "render/PolygonMode.h"

#include "core/Assert.h"

namespace render {

// ---- life cycle -------------------------------------------------------------

PolygonMode::PolygonMode() = default;

PolygonMode::~PolygonMode() noexcept(false) = default;

// ---- checked setters ------------------------------------------------------------

void PolygonMode::setCulling(int mode)
{
    VORNIC3D_CHECK(mode == CULL_BACK || mode == CULL_FRONT || mode == CULL_NONE);
    m_culling = mode;
}

void PolygonMode::setShading(int mode)
{
    VORNIC3D_CHECK(mode == SHADE_FLAT || mode == SHADE_SMOOTH);
    m_shading = mode;
}

void PolygonMode::setWinding(int mode)
{
    VORNIC3D_CHECK(mode == WINDING_CCW || mode == WINDING_CW);
    m_winding = mode;
}

} // namespace render
