// The light list turned into OpenGL ES lights.
#include "OGLES2/GLColor.h"
#include "OGLES2/GLMatrix.h"
#include "OGLES2/HWCheck.h"
#include "OGLES2/OGLES_Graphics3D.h"

#include "render/Light.h"

#include "core/Assert.h"

#include <GLES/gl.h>

namespace render {

namespace {

constexpr int kDeviceLights = 8;
// The device's defaults for a light that is no spot: no cone, no falloff.
constexpr GLfloat kNoSpotCutoff = 180.0f;
constexpr GLfloat kNoSpotExponent = 0.0f;
const GLfloat kBlack[] = {0.0f, 0.0f, 0.0f, 1.0f};
const GLfloat kNone[] = {0.0f, 0.0f, 0.0f, 0.0f};
// Positions and directions in the light's own space: along its -z axis, so
// the direction it comes from is +z; at infinity (w 0) or at its origin.
const GLfloat kDown[] = {0.0f, 0.0f, -1.0f};
const GLfloat kAtInfinity[] = {0.0f, 0.0f, 0.0f, 0.0f};
const GLfloat kFromPlusZ[] = {0.0f, 0.0f, 1.0f, 0.0f};
const GLfloat kAtOrigin[] = {0.0f, 0.0f, 0.0f, 1.0f};

// Which lights become device lights, in device order: the renderer's default
// light first when it joins (a scene without lights, or lit only by one
// ambient light), then the list's.
struct LightChoice {
    int count;
    bool withDefault;
};

LightChoice chooseLights(const core::Vector<core::Ref<Light>>& lights, const Light* defaultLight)
{
    const int count = lights.m_size;
    if (defaultLight != nullptr && (count == 0 || (count == 1 && lights[0]->getMode() == Light::AMBIENT)))
        return {count + 1, true};
    return {count, false};
}

void attenuate(GLenum id, const Light& light)
{
    glLightf(id, GL_CONSTANT_ATTENUATION, light.getConstantAttenuation());
    glLightf(id, GL_LINEAR_ATTENUATION, light.getLinearAttenuation());
    glLightf(id, GL_QUADRATIC_ATTENUATION, light.getQuadraticAttenuation());
}

// Device light `id` as `light`, placed by the current model-view matrix: every
// term first at what no mode uses, then the mode's own. An unknown mode pops
// the matrix the caller pushed before the assertion.
void loadDeviceLight(GLenum id, const Light& light)
{
    glLightfv(id, GL_AMBIENT, kBlack);
    glLightfv(id, GL_SPECULAR, kNone);
    glLightfv(id, GL_DIFFUSE, kNone);
    glLightfv(id, GL_SPOT_DIRECTION, kDown);
    glLightf(id, GL_SPOT_CUTOFF, kNoSpotCutoff);
    glLightf(id, GL_SPOT_EXPONENT, kNoSpotExponent);

    const GLColor color = GLColor::fromRGB(light.getColor(), light.getIntensity());
    switch (light.getMode()) {
    case Light::AMBIENT:
        glLightfv(id, GL_AMBIENT, color.rgba);
        glLightfv(id, GL_POSITION, kAtInfinity);
        break;
    case Light::DIRECTIONAL:
        glLightfv(id, GL_DIFFUSE, color.rgba);
        glLightfv(id, GL_POSITION, kFromPlusZ);
        break;
    case Light::OMNI:
        glLightfv(id, GL_DIFFUSE, color.rgba);
        glLightfv(id, GL_SPECULAR, color.rgba);
        attenuate(id, light);
        glLightfv(id, GL_POSITION, kAtOrigin);
        break;
    case Light::SPOT:
        glLightfv(id, GL_DIFFUSE, color.rgba);
        glLightf(id, GL_SPOT_EXPONENT, light.getSpotExponent());
        attenuate(id, light);
        glLightf(id, GL_SPOT_CUTOFF, light.getSpotAngle());
        glLightfv(id, GL_SPOT_DIRECTION, kDown);
        glLightfv(id, GL_POSITION, kAtOrigin);
        break;
    default: glPopMatrix(); VORNIC3D_ASSERT(false, "render : invalid light mode (not supported)");
    }
}

} // namespace

// Lights are placed in eye space, with the view of the loaded projection, as
// the draws' vertices are: each light goes where its list transform (the
// space it lives in) and then its own composite transform put it in the
// world. The renderer's default light travels with the camera; it lights a
// scene without lights, and joins a scene lit only by an ambient light.
void OGLES_Graphics3D::handleLights(int scope)
{
    if (!m_loadLights || !m_config.lighting)
        return;
    const LightChoice choice = chooseLights(m_lights, m_defaultLight.get());
    glDisable(GL_LIGHTING);
    if (!m_lightingState || choice.count == 0)
        return;
    for (int i = 0; i < kDeviceLights; ++i)
        glDisable(static_cast<GLenum>(GL_LIGHT0 + i));
    glMatrixMode(GL_MODELVIEW);

    bool used = false;
    for (int i = 0; i < choice.count; ++i) {
        VORNIC3D_ASSERT(i < kDeviceLights, "render : Graphics3D does not support this light ID");
        const auto id = static_cast<GLenum>(GL_LIGHT0 + i);

        Light* light = nullptr;
        Transform space;
        if (choice.withDefault && i == 0) {
            light = m_defaultLight.get();
            light->setTransform(m_cameraTransform);
        } else {
            light = getLight(choice.withDefault ? i - 1 : i, &space);
        }
        if ((light->getScope() & scope) == 0 || !light->isRenderingEnabled())
            continue;

        glPushMatrix();
        glLoadIdentity();
        multiplyGLMatrix(m_viewTransform);
        multiplyGLMatrix(space);
        Transform composite;
        light->getCompositeTransform(&composite);
        multiplyGLMatrix(composite);
        loadDeviceLight(id, *light);
        glEnable(id);
        glPopMatrix();
        used = true;
    }
    if (used)
        glEnable(GL_LIGHTING);
    OGLES_HW_CHECK("OpenGLES error");
}

} // namespace render
