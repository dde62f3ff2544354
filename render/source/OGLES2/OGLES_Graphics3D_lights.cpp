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
    if (!m_lightingState) {
        glDisable(GL_LIGHTING);
        return;
    }
    int count = m_lights.m_size;
    bool withDefault = false;
    if (m_defaultLight != nullptr &&
        (count == 0 || (count == 1 && m_lights[0]->getMode() == Light::AMBIENT))) {
        withDefault = true;
        ++count;
    }
    if (count == 0) {
        glDisable(GL_LIGHTING);
        return;
    }
    glDisable(GL_LIGHTING);
    for (int i = 0; i < kDeviceLights; ++i)
        glDisable(static_cast<GLenum>(GL_LIGHT0 + i));
    glMatrixMode(GL_MODELVIEW);

    bool used = false;
    for (int i = 0; i < count; ++i) {
        VORNIC3D_ASSERT(i < kDeviceLights, "render : Graphics3D does not support this light ID");
        const auto id = static_cast<GLenum>(GL_LIGHT0 + i);

        Light* light = nullptr;
        Transform space;
        if (withDefault && i == 0) {
            light = m_defaultLight.get();
            light->setTransform(m_cameraTransform);
        } else {
            light = getLight(withDefault ? i - 1 : i, &space);
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

        const GLfloat black[] = {0.0f, 0.0f, 0.0f, 1.0f};
        const GLfloat none[] = {0.0f, 0.0f, 0.0f, 0.0f};
        const GLfloat down[] = {0.0f, 0.0f, -1.0f};
        glLightfv(id, GL_AMBIENT, black);
        glLightfv(id, GL_SPECULAR, none);
        glLightfv(id, GL_DIFFUSE, none);
        glLightfv(id, GL_SPOT_DIRECTION, down);
        glLightf(id, GL_SPOT_CUTOFF, 180.0f);
        glLightf(id, GL_SPOT_EXPONENT, 0.0f);

        const GLColor color = GLColor::fromRGB(light->getColor(), light->getIntensity());
        const GLfloat atInfinity[] = {0.0f, 0.0f, 0.0f, 0.0f};
        // Along the light's -z axis: the direction it comes from is +z.
        const GLfloat fromPlusZ[] = {0.0f, 0.0f, 1.0f, 0.0f};
        const GLfloat atOrigin[] = {0.0f, 0.0f, 0.0f, 1.0f};
        const auto attenuate = [&] {
            glLightf(id, GL_CONSTANT_ATTENUATION, light->getConstantAttenuation());
            glLightf(id, GL_LINEAR_ATTENUATION, light->getLinearAttenuation());
            glLightf(id, GL_QUADRATIC_ATTENUATION, light->getQuadraticAttenuation());
        };
        switch (light->getMode()) {
        case Light::AMBIENT:
            glLightfv(id, GL_AMBIENT, color.rgba);
            glLightfv(id, GL_POSITION, atInfinity);
            break;
        case Light::DIRECTIONAL:
            glLightfv(id, GL_DIFFUSE, color.rgba);
            glLightfv(id, GL_POSITION, fromPlusZ);
            break;
        case Light::OMNI:
            glLightfv(id, GL_DIFFUSE, color.rgba);
            glLightfv(id, GL_SPECULAR, color.rgba);
            attenuate();
            glLightfv(id, GL_POSITION, atOrigin);
            break;
        case Light::SPOT:
            glLightfv(id, GL_DIFFUSE, color.rgba);
            glLightf(id, GL_SPOT_EXPONENT, light->getSpotExponent());
            attenuate();
            glLightf(id, GL_SPOT_CUTOFF, light->getSpotAngle());
            glLightfv(id, GL_SPOT_DIRECTION, down);
            glLightfv(id, GL_POSITION, atOrigin);
            break;
        default:
            glPopMatrix();
            VORNIC3D_ASSERT(false, "render : invalid light mode (not supported)");
        }
        glEnable(id);
        glPopMatrix();
        used = true;
    }
    if (used)
        glEnable(GL_LIGHTING);
    OGLES_HW_CHECK("OpenGLES error");
}

} // namespace render
