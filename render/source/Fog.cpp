#include "render/Fog.h"

#include "core/Assert.h"

namespace render {

// ---- life cycle -------------------------------------------------------------

Fog::Fog() = default;

Fog::~Fog() noexcept(false) = default;

// ---- setters --------------------------------------------------------------------

void Fog::setMode(int mode)
{
    VORNIC3D_ASSERT(mode == EXPONENTIAL || mode == LINEAR, "IllegalArgumentException");
    m_mode = mode;
}

void Fog::setDensity(float density)
{
    VORNIC3D_ASSERT(density > 0.0f, "IllegalArgumentException");
    m_density = density;
}

void Fog::setLinear(float nearDistance, float farDistance)
{
    m_nearDistance = nearDistance;
    m_farDistance = farDistance;
}

} // namespace render
