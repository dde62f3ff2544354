// Render targets, their release and clearing.
#include "OGLES2/GLColor.h"
#include "OGLES2/HWCheck.h"
#include "OGLES2/OGLES2_Texture2D.h"
#include "OGLES2/OGLES_Graphics3D.h"

#include "render/Appearance.h"
#include "render/Background.h"
#include "render/Camera.h"
#include "render/Image2D.h"
#include "render/Mesh.h"
#include "render/Texture2D.h"

#include "hal/Display.h"

#include "core/Assert.h"

#include <GLES/gl.h>

namespace render {

// ---- binding ----------------------------------------------------------------------------

void OGLES_Graphics3D::bindTarget(core::Object* target, bool depthBufferEnabled, int hints)
{
    VORNIC3D_ASSERT(hints >= 0 && hints <= 0xFF, "bindTarget : invalid hints value");
    OGLES_HW_CHECK("OpenGLES error before bindTarget");
    m_hints = hints;
    bindTarget(target);
    m_depthBufferEnabled = depthBufferEnabled;
    OGLES_HW_CHECK("OpenGLES error");
}

void OGLES_Graphics3D::bindTarget(core::Object* target)
{
    if (!m_internalObjectsCreated)
        createInternalObjects();
    auto* texture = dynamic_cast<OGLES2_Texture2D*>(target);
    OGLES_HW_CHECK("OpenGLES error before bindTarget");

    if (texture != nullptr) {
        // Checked before anything is stored: a refused texture leaves the
        // frame as it was. The drawing goes to the bound frame and is copied
        // into the texture at its release.
        VORNIC3D_CHECK(m_target != nullptr);
        const Image2D* image = texture->getImage();
        VORNIC3D_ASSERT(image != nullptr, "bindTarget : texture has no image");
        VORNIC3D_ASSERT(image->getWidth() <= m_properties.maxViewportWidth &&
                            image->getHeight() <= m_properties.maxViewportHeight,
                        "bindTarget : target is Image2D but image size is bigger than viewport");
        m_targetTexture = texture;
    } else {
        VORNIC3D_CHECK(m_screenWidth != 0 && m_screenHeight != 0);
        m_target = target != nullptr ? target : this;
    }
    m_depthBufferEnabled = true;
    OGLES_HW_CHECK("OpenGLES error");
}

// ---- release ----------------------------------------------------------------------------

void OGLES_Graphics3D::releaseTarget()
{
    OGLES_HW_CHECK("OpenGLES error before releaseTarget");
    // The overlay's lines are batched first, so the flush draws them too.
    if (m_target != nullptr && m_targetTexture == nullptr)
        renderDebugInfo();
    flushDynamicBuffers();

    if (m_targetTexture != nullptr) {
        copyFrameToTargetTexture();
        return;
    }
    VORNIC3D_ASSERT(m_target != nullptr, "releaseTarget failed because target is 0");
    VORNIC3D_CHECK(m_display != nullptr);
    m_display->swapBuffer();
    m_hints = 1;
    m_target = nullptr;
    OGLES_HW_CHECK("OpenGLES error after releaseTarget");
}

// The lower left corner of the bound frame, the texture's size, becomes the
// texture's image on the device (row 0 the bottom row, as OpenGL ES copies);
// then the frame is cleared for the drawing that goes on in it.
void OGLES_Graphics3D::copyFrameToTargetTexture()
{
    const Image2D* image = m_targetTexture->getImage();
    VORNIC3D_CHECK(image != nullptr);
    const GLenum format = OGLES2_Texture2D::getDeviceFormat(image->getFormat());
    VORNIC3D_ASSERT(format != 0, "can not render to texture because target texture format is invalid");
    m_boundTexture = m_targetTexture->getGLTexture();
    glBindTexture(GL_TEXTURE_2D, m_boundTexture);
    glCopyTexImage2D(GL_TEXTURE_2D, 0, format, 0, 0, image->getWidth(), image->getHeight(), 0);
    OGLES_HW_CHECK("OpenGLES error. glCopyTexImage2D or glCopyTexSubImage2D failed. The platform can not copy "
                   "a screen to your texture");
    m_targetTexture = nullptr;
    clear(nullptr);
    m_hints = 1;
}

// ---- clearing ---------------------------------------------------------------------------

void OGLES_Graphics3D::clear(Background* background)
{
    VORNIC3D_ASSERT(m_target != nullptr, "clear : failed. call bindTarget-method before clear.");
    // A draw may have left colour writes off, which would keep the colour
    // buffer from being cleared; the next draw sets its own mask again.
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    if (background == nullptr) {
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    } else {
        GLbitfield mask = GL_STENCIL_BUFFER_BIT;
        if (background->isDepthClearEnabled())
            mask |= GL_DEPTH_BUFFER_BIT;
        if (background->isColorClearEnabled())
            mask |= GL_COLOR_BUFFER_BIT;
        const GLColor color = GLColor::fromARGB(background->getColor());
        glClearColor(color.rgba[0], color.rgba[1], color.rgba[2], color.rgba[3]);
        glClear(mask);
        if (background->getImage() != nullptr)
            drawBackgroundImage(*background);
    }
    emptyDynamicBuffers();
    OGLES_HW_CHECK("OpenGLES error");
}

// ---- background image ---------------------------------------------------------------------

namespace {

// Where the background polygon (the screen's size) and its texture go for one
// axis of the crop, counted from the image's left and top edges: BORDER
// stretches the crop over the screen, showing the image once and the clear
// colour around it; REPEAT keeps the polygon on the screen and tiles the
// texture from the crop. The screen's y axis runs upward, the image's rows
// downward.
struct AxisPlacement {
    float polygonScale = 1.0f;
    float polygonTranslation = 0.0f;
    float textureScale = 1.0f;
    float textureTranslation = 0.0f;
};

AxisPlacement placeAxis(int mode, float screen, float image, float cropOrigin, float cropSize, bool vertical)
{
    AxisPlacement result;
    if (mode == Background::REPEAT) {
        result.textureScale = cropSize / image;
        result.textureTranslation = cropOrigin / image;
    } else {
        result.polygonScale = image / cropSize;
        result.polygonTranslation =
            vertical ? screen * (cropSize + cropOrigin - image) / cropSize : -cropOrigin * screen / cropSize;
    }
    return result;
}

} // namespace

void OGLES_Graphics3D::drawBackgroundImage(Background& background)
{
    Image2D* image = background.getImage();
    // An empty crop shows nothing of the image.
    if (background.getCropWidth() == 0 || background.getCropHeight() == 0)
        return;
    Transform savedTransform;
    const core::Ref<Camera> savedCamera = getCamera(&savedTransform);
    const auto* targetImage = dynamic_cast<Image2D*>(m_target);
    VORNIC3D_ASSERT(targetImage == nullptr || targetImage->getFormat() == image->getFormat(),
                    "clear : failed. background parameter is invalid");
    if (image != m_backgroundImage)
        createBackgroundImagePolygon(image);
    VORNIC3D_CHECK(m_backgroundPolygon != nullptr && m_backgroundTexture != nullptr);

    const float screenWidth = m_screenWidth;
    const float screenHeight = m_screenHeight;
    const AxisPlacement x =
        placeAxis(background.getImageModeX(), screenWidth, static_cast<float>(image->getWidth()),
                  static_cast<float>(background.getCropX()), static_cast<float>(background.getCropWidth()), false);
    const AxisPlacement y =
        placeAxis(background.getImageModeY(), screenHeight, static_cast<float>(image->getHeight()),
                  static_cast<float>(background.getCropY()), static_cast<float>(background.getCropHeight()), true);
    Transform placement;
    placement.postTranslate(x.polygonTranslation, y.polygonTranslation, 0.0f);
    placement.postScale(x.polygonScale, y.polygonScale, 1.0f);
    m_backgroundTexture->setScale(x.textureScale, y.textureScale, 1.0f);
    m_backgroundTexture->setTranslation(x.textureTranslation, y.textureTranslation, 0.0f);

    setCamera(m_quadCamera.get(), Transform());
    m_lightingState = false;
    try {
        render(m_backgroundPolygon.get(), placement);
    } catch (...) {
        m_lightingState = true;
        setCamera(savedCamera.get(), savedTransform);
        throw;
    }
    m_lightingState = true;
    setCamera(savedCamera.get(), savedTransform);
}

void OGLES_Graphics3D::createBackgroundImagePolygon(Image2D* image)
{
    VORNIC3D_CHECK(image != nullptr && image != m_backgroundImage);
    if (m_backgroundPolygon == nullptr) {
        m_backgroundPolygon = create2DPolygonWithDefaultAppearance(image, m_screenWidth, m_screenHeight, 1);
    } else {
        Appearance* appearance = m_backgroundPolygon->getAppearance(0);
        VORNIC3D_CHECK(appearance != nullptr && appearance->getTexture(0) != nullptr);
        appearance->getTexture(0)->setImage(image);
    }
    m_backgroundTexture = m_backgroundPolygon->getAppearance(0)->getTexture(0);
    m_backgroundImage = image;
}

} // namespace render
