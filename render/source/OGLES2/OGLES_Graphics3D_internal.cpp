// The objects the renderer makes for its own drawing.
#include "OGLES2/OGLES_Graphics3D.h"

#include "render/Camera.h"
#include "render/Light.h"

#include "core/Assert.h"

namespace render {

// ---- creation ---------------------------------------------------------------------------

void OGLES_Graphics3D::createInternalObjects()
{
    VORNIC3D_CHECK(m_screenWidth != 0 && m_screenHeight != 0);
    if (m_defaultLightPending && m_config.default_light) {
        m_defaultLightPending = false;
        m_defaultLight = VORNIC3D_NEW Light();
        m_defaultLight->setMode(Light::DIRECTIONAL);
    }
    if (m_quadCamera == nullptr) {
        m_quadCamera = VORNIC3D_NEW Camera();
        m_quadCamera->setParallel(0.0f, static_cast<float>(m_screenWidth), 0.0f, static_cast<float>(m_screenHeight),
                                  0.0f, 1000.0f);
    }
    m_internalObjectsCreated = true;
}

// ---- background -------------------------------------------------------------------------

void OGLES_Graphics3D::drawBackgroundImage(Background&)
{
    VORNIC3D_CHECK(false);
}

// ---- batching buffers ---------------------------------------------------------------------

void OGLES_Graphics3D::flushDynamicBuffers() {}

void OGLES_Graphics3D::emptyDynamicBuffers() {}

} // namespace render
