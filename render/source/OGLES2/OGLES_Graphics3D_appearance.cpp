// An appearance's components turned into device state. A draw without a
// component gets that component's defaults, applied only when the device
// does not hold them already; each component that is applied clears its own
// record, so the next draw without it restores the defaults.
#include "OGLES2/GLColor.h"
#include "OGLES2/GLMatrix.h"
#include "OGLES2/HWCheck.h"
#include "OGLES2/OGLES2_Texture2D.h"
#include "OGLES2/OGLES_Graphics3D.h"

#include "render/Appearance.h"
#include "render/CompositingMode.h"
#include "render/Fog.h"
#include "render/Material.h"
#include "render/PolygonMode.h"

#include "core/Assert.h"
#include "core/Debug.h"

#include <GLES/gl.h>

namespace render {

namespace {

// Hint bit that keeps every draw untextured.
constexpr int kHintNoTextures = 32;

// OpenGL ES's own default material.
constexpr GLfloat kDefaultAmbient[] = {0.2f, 0.2f, 0.2f, 1.0f};
constexpr GLfloat kDefaultDiffuse[] = {0.8f, 0.8f, 0.8f, 1.0f};
constexpr GLfloat kDefaultEmission[] = {0.0f, 0.0f, 0.0f, 1.0f};
constexpr GLfloat kDefaultSpecular[] = {0.0f, 0.0f, 0.0f, 1.0f};

} // namespace

// ---- appearance -----------------------------------------------------------------------------

void OGLES_Graphics3D::handleAppearance(Appearance* appearance)
{
    if (appearance == nullptr) {
        handleAppearanceMaterial(nullptr);
        handleAppearancePolygonMode(nullptr);
        handleAppearanceCompositingMode(nullptr);
        handleAppearanceFog(nullptr);
        if (m_config.texturing)
            removeTexture();
        return;
    }
    if (appearance->getLayer() != 0)
        core::Debug::printf(core::Debug::LEVEL_WARNING,
                            "handleAppearance : Graphics3D does not provide layer functionality (layer:%d)\n",
                            appearance->getLayer());
    handleAppearanceMaterial(appearance->getMaterial());
    handleAppearancePolygonMode(appearance->getPolygonMode());
    handleAppearanceCompositingMode(appearance->getCompositingMode());
    handleAppearanceFog(appearance->getFog());
    if (m_config.texturing) {
        Texture2D* texture = appearance->getTexture(0);
        if ((m_hints & kHintNoTextures) == 0 && texture != nullptr) {
            glEnable(GL_TEXTURE_2D);
            glMatrixMode(GL_TEXTURE);
            handleAppearanceTexture2D(texture);
            glMatrixMode(GL_MODELVIEW);
        } else {
            removeTexture();
        }
    }
    OGLES_HW_CHECK("OpenGLES error");
}

// ---- material ------------------------------------------------------------------------------------

void OGLES_Graphics3D::handleAppearanceMaterial(Material* material)
{
    if (material != nullptr) {
        m_materialDefaultsApplied = false;
        glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, material->getShininess());
        if (!material->isVertexColorTrackingEnabled()) {
            glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, GLColor::fromRGB(material->getColor(Material::AMBIENT)).rgba);
            glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, GLColor::fromARGB(material->getColor(Material::DIFFUSE)).rgba);
        } else {
            glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, kDefaultAmbient);
            glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, kDefaultDiffuse);
            glEnable(GL_COLOR_MATERIAL);
            m_vertexColorState = true;
        }
        glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, GLColor::fromRGB(material->getColor(Material::EMISSIVE)).rgba);
        glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, GLColor::fromRGB(material->getColor(Material::SPECULAR)).rgba);
    } else if (!m_materialDefaultsApplied) {
        m_materialDefaultsApplied = true;
        glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 0.0f);
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, kDefaultAmbient);
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, kDefaultDiffuse);
        glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, kDefaultEmission);
        glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, kDefaultSpecular);
    }
    OGLES_HW_CHECK("OpenGLES error");
}

// ---- polygon mode ----------------------------------------------------------------------------------

void OGLES_Graphics3D::handleAppearancePolygonMode(PolygonMode* polygonMode)
{
    if (polygonMode == nullptr) {
        if (m_polygonModeDefaultsApplied)
            return;
        m_polygonModeDefaultsApplied = true;
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glShadeModel(GL_SMOOTH);
        glFrontFace(GL_CCW);
        glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
        glLightModelf(GL_LIGHT_MODEL_TWO_SIDE, 0.0f);
        glLineWidth(1.0f);
        return;
    }
    m_polygonModeDefaultsApplied = false;
    switch (polygonMode->getCulling()) {
    case PolygonMode::CULL_BACK:
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        break;
    case PolygonMode::CULL_FRONT:
        glEnable(GL_CULL_FACE);
        glCullFace(GL_FRONT);
        break;
    case PolygonMode::CULL_NONE: glDisable(GL_CULL_FACE); break;
    default:
        VORNIC3D_ASSERT(false,
                        "Graphics3D : handleAppearancePolygonMode : PolygonMode has invalid culling information");
    }
    switch (polygonMode->getShading()) {
    case PolygonMode::SHADE_FLAT: glShadeModel(GL_FLAT); break;
    case PolygonMode::SHADE_SMOOTH: glShadeModel(GL_SMOOTH); break;
    default:
        VORNIC3D_ASSERT(false,
                        "Graphics3D : handleAppearancePolygonMode : PolygonMode has invalid shading information");
    }
    switch (polygonMode->getWinding()) {
    case PolygonMode::WINDING_CCW: glFrontFace(GL_CCW); break;
    case PolygonMode::WINDING_CW: glFrontFace(GL_CW); break;
    default:
        VORNIC3D_ASSERT(false,
                        "Graphics3D : handleAppearancePolygonMode : PolygonMode has invalid winding information");
    }
    glLineWidth(polygonMode->getLineWidth());
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, polygonMode->isPerspectiveCorrectionEnabled() ? GL_NICEST : GL_FASTEST);
    glLightModelf(GL_LIGHT_MODEL_TWO_SIDE, polygonMode->isTwoSidedLightingEnabled() ? 1.0f : 0.0f);
    if (polygonMode->isLocalCameraLightingEnabled())
        core::Debug::printf(core::Debug::LEVEL_WARNING, "LocalCameraLighting does not provide functionality\n");
}

// ---- compositing mode --------------------------------------------------------------------------------

void OGLES_Graphics3D::handleAppearanceCompositingMode(CompositingMode* compositingMode)
{
    glAlphaFunc(GL_GEQUAL, 0.0f);
    glDepthFunc(GL_LEQUAL);
    if (compositingMode == nullptr) {
        if (!m_compositingModeDefaultsApplied) {
            m_compositingModeDefaultsApplied = true;
            glEnable(GL_ALPHA_TEST);
            glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
            glPolygonOffset(0.0f, 0.0f);
        }
        OGLES_HW_CHECK("OpenGLES error");
        return;
    }
    m_compositingModeDefaultsApplied = false;
    glEnable(GL_BLEND);
    switch (compositingMode->getBlending()) {
    case CompositingMode::ALPHA: glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA); break;
    case CompositingMode::ALPHA_ADD: glBlendFunc(GL_SRC_ALPHA, GL_ONE); break;
    case CompositingMode::MODULATE: glBlendFunc(GL_DST_COLOR, GL_ZERO); break;
    case CompositingMode::MODULATE_X2: glBlendFunc(GL_DST_COLOR, GL_SRC_COLOR); break;
    case CompositingMode::REPLACE: glBlendFunc(GL_ONE, GL_ZERO); break;
    case CompositingMode::ONE_DST_ALPHA: glBlendFunc(GL_ONE, GL_DST_ALPHA); break;
    default: VORNIC3D_ASSERT(false, "Graphics3D : handleAppearanceCompositingMode : blending is illegal");
    }
    glPolygonOffset(compositingMode->getDepthOffsetFactor(), compositingMode->getDepthOffsetUnits());
    if (m_depthBufferEnabled) {
        glDepthMask(compositingMode->isDepthWriteEnabled() ? GL_TRUE : GL_FALSE);
        if (compositingMode->isDepthTestEnabled())
            glEnable(GL_DEPTH_TEST);
        else
            glDisable(GL_DEPTH_TEST);
    }
    const GLboolean colorWrite = compositingMode->isColorWriteEnabled() ? GL_TRUE : GL_FALSE;
    glColorMask(colorWrite, colorWrite, colorWrite, compositingMode->isAlphaWriteEnabled() ? GL_TRUE : GL_FALSE);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GEQUAL, compositingMode->getAlphaThreshold());
    OGLES_HW_CHECK("OpenGLES error");
}

// ---- fog --------------------------------------------------------------------------------------------

void OGLES_Graphics3D::handleAppearanceFog(Fog* fog)
{
    if (fog == nullptr) {
        glDisable(GL_FOG);
        OGLES_HW_CHECK("OpenGLES error");
        return;
    }
    glEnable(GL_FOG);
    switch (fog->getMode()) {
    case Fog::EXPONENTIAL:
        glFogf(GL_FOG_MODE, static_cast<GLfloat>(GL_EXP));
        glFogf(GL_FOG_DENSITY, fog->getDensity());
        break;
    case Fog::LINEAR:
        glFogf(GL_FOG_MODE, static_cast<GLfloat>(GL_LINEAR));
        glFogf(GL_FOG_START, fog->getNearDistance());
        glFogf(GL_FOG_END, fog->getFarDistance());
        break;
    default: VORNIC3D_ASSERT(false, "Graphics3D : handleAppearanceFog : fog mode is illegal");
    }
    glFogfv(GL_FOG_COLOR, GLColor::fromRGB(fog->getColor()).rgba);
    OGLES_HW_CHECK("OpenGLES error");
}

// ---- texture ------------------------------------------------------------------------------------------

void OGLES_Graphics3D::handleAppearanceTexture2D(Texture2D* texture)
{
    auto* deviceTexture = dynamic_cast<OGLES2_Texture2D*>(texture);
    VORNIC3D_ASSERT(deviceTexture != nullptr, "handleAppearanceTexture2D : invalid texture format");
    const GLuint name = deviceTexture->getGLTexture();
    VORNIC3D_ASSERT(name != 0, "handleAppearanceTexture2D : getGLTexture returns 0");
    Transform composite;
    texture->getCompositeTransform(&composite);
    multiplyGLMatrix(composite);
    if (name != m_boundTexture) {
        glBindTexture(GL_TEXTURE_2D, name);
        m_boundTexture = name;
    }

    const GLint mode = OGLES2_Texture2D::getEnvironmentMode(texture->getBlending());
    VORNIC3D_ASSERT(mode != 0, "handleAppearanceTexture2D : Unknown blending");
    // Only the blend environment mixes in a colour of its own.
    const GLColor color = GLColor::fromRGB(mode == GL_BLEND ? texture->getBlendColor() : 0xFFFFFFu);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, mode);
    glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, color.rgba);
    OGLES_HW_CHECK("OpenGLES error");
}

void OGLES_Graphics3D::removeTexture()
{
    glDisable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    m_boundTexture = 0;
    OGLES_HW_CHECK("OpenGLES error");
}

} // namespace render
