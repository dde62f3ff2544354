#include "OGLES2/OGLES_Graphics3D.h"

#include "OGLES2/FixedProperties.h"
#include "OGLES2/HWCheck.h"
#include "OGLES2/MeshBuffer.h"
#include "OGLES2/OGLES2_Texture2D.h"

#include "render/Camera.h"
#include "render/Light.h"
#include "render/Text2D.h"

#include "hal/Display.h"

#include "core/Assert.h"
#include "core/Debug.h"

#include <GLES/gl.h>

#include <algorithm>

namespace render {

OGLES_Graphics3D* OGLES_Graphics3D::s_current = nullptr;

// ---- factory --------------------------------------------------------------------------

Graphics3D* Graphics3D::createGraphics3D(int type, HAL::Display* display, const Graphics3DConfig* config)
{
    if (type == OPENGL_ES) {
        Graphics3D* renderer = VORNIC3D_NEW OGLES_Graphics3D(display, config);
        VORNIC3D_CHECK(renderer != nullptr);
        return renderer;
    }
    VORNIC3D_ASSERT(type != DIRECT3D_MOBILE, "enable QUICK_AND_DIRTY_D3D_MOBILE_SUPPORT_FOR_SAMSUNG_OMNIA_ENABLED "
                                             "flag if you want to use Direct3D Mobile");
    VORNIC3D_ASSERT(false, "createGraphics3D : invalid type");
    return nullptr;
}

// ---- life cycle -----------------------------------------------------------------------

OGLES_Graphics3D::OGLES_Graphics3D(HAL::Display* display, const Graphics3DConfig* config) : m_display(display)
{
    if (config != nullptr)
        m_config = *config;
    initGraphics3D();
    if (m_display != nullptr)
        s_current = this;
}

OGLES_Graphics3D::~OGLES_Graphics3D() noexcept(false)
{
    if (s_current == this)
        s_current = nullptr;
    if (m_display == nullptr)
        core::Debug::printf(core::Debug::LEVEL_WARNING, "delete dummy OGLES_Graphics3D object\n");
}

void OGLES_Graphics3D::initGraphics3D()
{
    m_properties = fixedProperties();
    if (m_display == nullptr) {
        core::Debug::printf(core::Debug::LEVEL_WARNING, "OGLES_Graphics3D created without functionality\n");
        return;
    }

    m_screenWidth = static_cast<std::int16_t>(m_display->getWidth());
    m_screenHeight = static_cast<std::int16_t>(m_display->getHeight());
    OGLES_HW_CHECK("OpenGLES error");

    GLint limits[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, limits);
    OGLES_HW_CHECK("OpenGLES error");
    const int smaller = std::min(limits[0], limits[1]);
    if (smaller < 256)
        core::Debug::printf(core::Debug::LEVEL_WARNING, "Graphics3D getProperties : maxViewportDimension < 256\n");
    m_properties.maxViewportWidth = limits[0];
    m_properties.maxViewportHeight = limits[1];
    m_properties.maxViewportDimension = smaller;
    OGLES_HW_CHECK("OpenGLES error");

    resetLights();
    glClearDepthf(1.0f);
    core::Debug::printf(core::Debug::LEVEL_NORMAL, "Graphics3D: setGraphics3DDefaults\n");
    setViewport(0, 0, m_screenWidth, m_screenHeight);
    setDepthRange(0.0f, 1.0f);
    glLineWidth(1.0f);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const GLfloat ambient[] = {0.0f, 0.0f, 0.0f, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glEnable(GL_NORMALIZE);
    // Another renderer may have drawn on this context before; a renderer
    // with lighting or texturing switched off never touches these again.
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    m_boundTexture = 0;
    m_loadProjection = true;
    m_loadLights = true;
    OGLES_HW_CHECK("OpenGLES error");
}

// ---- device ---------------------------------------------------------------------------

bool OGLES_Graphics3D::checkHWErrors(const char* function)
{
    if (m_display == nullptr) {
        core::Debug::printf(core::Debug::LEVEL_WARNING,
                            "Can not check Graphics3D HW errors because you do not have a display\n");
        return true;
    }
    return m_display->checkError(function);
}

void OGLES_Graphics3D::forgetBoundTexture()
{
    if (s_current != nullptr)
        s_current->m_boundTexture = kUnknownTexture;
}

Texture2D* OGLES_Graphics3D::createNewTexture()
{
    // Checked before the texture is made, so a failure leaves no object behind.
    OGLES_HW_CHECK("OpenGLES error : createNewTexture");
    Texture2D* texture = VORNIC3D_NEW OGLES2_Texture2D();
    VORNIC3D_CHECK(texture != nullptr);
    return texture;
}

// ---- viewport, depth range, hints -------------------------------------------------------

void OGLES_Graphics3D::setViewport(int x, int y, int width, int height)
{
    VORNIC3D_ASSERT(width >= 1, "setViewport : width <= 0");
    VORNIC3D_ASSERT(height >= 1, "setViewport : height <= 0");
    VORNIC3D_ASSERT(width <= m_properties.maxViewportWidth, "setViewport : width > m_properties.maxViewportWidth");
    VORNIC3D_ASSERT(height <= m_properties.maxViewportHeight, "setViewport : height > m_properties.maxViewportHeight");
    if (x == m_viewportX && y == m_viewportY && width == m_viewportWidth && height == m_viewportHeight)
        return;
    if (width > m_screenWidth || height > m_screenHeight)
        core::Debug::printf(core::Debug::LEVEL_WARNING, "setViewport : viewport is bigger than screen\n");
    m_viewportX = x;
    m_viewportY = y;
    m_viewportWidth = width;
    m_viewportHeight = height;
    glViewport(x, y, width, height);
    OGLES_HW_CHECK("OpenGLES error");
}

namespace {

// Written so that NaN fails too.
bool isDepthValue(float value)
{
    return value >= 0.0f && value <= 1.0f;
}

} // namespace

void OGLES_Graphics3D::setDepthRange(float nearValue, float farValue)
{
    VORNIC3D_ASSERT(isDepthValue(nearValue), "setDepthRange : near_range has invalid data");
    VORNIC3D_ASSERT(isDepthValue(farValue), "setDepthRange : far_range has invalid data");
    m_depthRangeNear = nearValue;
    m_depthRangeFar = farValue;
    glDepthRangef(nearValue, farValue);
    OGLES_HW_CHECK("OpenGLES error");
}

float OGLES_Graphics3D::getDepthRangeNear()
{
    VORNIC3D_ASSERT(isDepthValue(m_depthRangeNear), "getDepthRangeNear : m_depthNearRange has invalid data");
    return m_depthRangeNear;
}

float OGLES_Graphics3D::getDepthRangeFar()
{
    VORNIC3D_ASSERT(isDepthValue(m_depthRangeFar), "getDepthRangeFar : m_depthFarRange has invalid data");
    return m_depthRangeFar;
}

int OGLES_Graphics3D::getHints()
{
    VORNIC3D_ASSERT(m_hints >= 0 && m_hints <= 0xFF, "getHints : invalid hints value");
    return m_hints;
}

// ---- camera -----------------------------------------------------------------------------

void OGLES_Graphics3D::setCamera(Camera* camera, const Transform& transform)
{
    m_cameraTransform = transform;
    m_camera = camera;
    m_currentViewKnown = false;
    ++m_cameraSetCount;
}

Camera* OGLES_Graphics3D::getCamera(Transform* transform)
{
    if (transform != nullptr)
        *transform = m_cameraTransform;
    return m_camera.get();
}

// ---- light list -------------------------------------------------------------------------

int OGLES_Graphics3D::addLight(Light* light, const Transform& transform)
{
    VORNIC3D_ASSERT(light != nullptr, "light parameter is 0");
    m_lights.pushBack(light);
    m_lightTransforms.pushBack(transform);
    VORNIC3D_CHECK(m_lights.m_size == m_lightTransforms.m_size);
    return m_lights.m_size - 1;
}

void OGLES_Graphics3D::setLight(int index, Light* light, const Transform& transform)
{
    VORNIC3D_ASSERT(light != nullptr, "light parameter is 0");
    VORNIC3D_ASSERT(index >= 0, "setLight : index parameter is < 0");
    VORNIC3D_ASSERT(index < m_lights.m_size, "setLight : index parameter is too big");
    VORNIC3D_ASSERT(index < m_lightTransforms.m_size, "setLight : lightTransform internal error");
    m_lights[index] = light;
    m_lightTransforms[index] = transform;
}

Light* OGLES_Graphics3D::getLight(int index, Transform* transform)
{
    VORNIC3D_ASSERT(index >= 0, "getLight : index parameter is < 0");
    VORNIC3D_ASSERT(index < getLightCount(), "getLight : index parameter is too big");
    if (transform != nullptr)
        *transform = m_lightTransforms[index];
    return m_lights[index].get();
}

int OGLES_Graphics3D::getLightCount()
{
    return m_lights.m_size;
}

void OGLES_Graphics3D::resetLights()
{
    m_lights.removeAll();
    m_lightTransforms.removeAll();
}

void OGLES_Graphics3D::setDefaultLight(Light* light)
{
    m_defaultLightPending = false;
    m_defaultLight = light;
}

Light* OGLES_Graphics3D::getDefaultLight()
{
    return m_defaultLight.get();
}

} // namespace render
