#include "OGLES2/OGLES2_Texture2D.h"

#include "OGLES2/OGLES_Graphics3D.h"
#include "OGLES2/TexturePixels.h"

#include "render/Image2D.h"

#include "hal/Display.h"

#include "core/Assert.h"

#include <GLES/gl.h>

namespace render {

namespace {

// A power of two from 1 to 32768.
bool isLegalSize(int size)
{
    return size >= 1 && size <= 0x8000 && (size & (size - 1)) == 0;
}

GLint wrapping(int mode)
{
    return mode == Texture2D::WRAP_REPEAT ? GL_REPEAT : GL_CLAMP_TO_EDGE;
}

// With the mipmapped level filters the magnification follows the level
// filter, as a magnified texture has only its base level to sample.
void filters(int levelFilter, int imageFilter, GLint& minification, GLint& magnification)
{
    const bool nearest = imageFilter == Texture2D::FILTER_NEAREST;
    switch (levelFilter) {
    case Texture2D::FILTER_BASE_LEVEL: minification = magnification = nearest ? GL_NEAREST : GL_LINEAR; return;
    case Texture2D::FILTER_LINEAR:
        minification = nearest ? GL_NEAREST_MIPMAP_LINEAR : GL_LINEAR_MIPMAP_LINEAR;
        magnification = GL_LINEAR;
        return;
    case Texture2D::FILTER_NEAREST:
        minification = nearest ? GL_NEAREST_MIPMAP_NEAREST : GL_LINEAR_MIPMAP_NEAREST;
        magnification = GL_NEAREST;
        return;
    default: throw Vornic3DException("You sure have some weird Filtering modes...");
    }
}

} // namespace

// ---- device values ------------------------------------------------------------------

unsigned int OGLES2_Texture2D::getDeviceFormat(int imageFormat)
{
    switch (imageFormat) {
    case Image2D::ALPHA: return GL_ALPHA;
    case Image2D::LUMINANCE: return GL_LUMINANCE;
    case Image2D::LUMINANCE_ALPHA: return GL_LUMINANCE_ALPHA;
    case Image2D::RGB: return GL_RGB;
    case Image2D::RGBA: return GL_RGBA;
    default: return 0;
    }
}

int OGLES2_Texture2D::getEnvironmentMode(int blending)
{
    switch (blending) {
    case FUNC_ADD: return GL_ADD;
    case FUNC_BLEND: return GL_BLEND;
    case FUNC_DECAL: return GL_DECAL;
    case FUNC_MODULATE: return GL_MODULATE;
    case FUNC_REPLACE: return GL_REPLACE;
    default: return 0;
    }
}

// ---- life cycle ---------------------------------------------------------------------

OGLES2_Texture2D::OGLES2_Texture2D(Image2D* image)
{
    if (image != nullptr)
        setImage(image);
}

OGLES2_Texture2D::~OGLES2_Texture2D() noexcept(false)
{
    deleteGLTexture();
}

void OGLES2_Texture2D::deleteGLTexture()
{
    if (m_glTexture == 0)
        return;
    // Deleting a bound texture binds texture 0.
    glDeleteTextures(1, &m_glTexture);
    m_glTexture = 0;
    OGLES_Graphics3D::forgetBoundTexture();
}

// ---- upload ---------------------------------------------------------------------------

void OGLES2_Texture2D::setImage(Image2D* image)
{
    VORNIC3D_CHECK(image != nullptr);
    VORNIC3D_ASSERT(isLegalSize(image->getWidth()), "setImage failed because image width is illegal");
    VORNIC3D_ASSERT(isLegalSize(image->getHeight()), "setImage failed because image height is illegal");
    m_image = image;

    const GLint wrapS = wrapping(getWrappingS());
    const GLint wrapT = wrapping(getWrappingT());
    const GLenum format = getDeviceFormat(image->getFormat());
    if (format == 0)
        throw Vornic3DException("Image2D format is not supported in OGLES2_Texture2D!");
    GLint minification = 0;
    GLint magnification = 0;
    filters(getLevelFilter(), getImageFilter(), minification, magnification);
    const GLint environment = getEnvironmentMode(getBlending());
    if (environment == 0)
        throw Vornic3DException("Unknown Blending mode used.");
    const TexturePixels pixels(*image);

    deleteGLTexture();
    glGenTextures(1, &m_glTexture);
    glBindTexture(GL_TEXTURE_2D, m_glTexture);
    OGLES_Graphics3D::forgetBoundTexture();
    glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrapS);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrapT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minification);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magnification);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, environment);
    // Rows of one- and three-byte pixels need not fill whole 4-byte words.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), image->getWidth(), image->getHeight(), 0, format,
                 GL_UNSIGNED_BYTE, pixels.data());

    // The display names the texture in its log line for either error.
    HAL::Display* display = Graphics3D::getInstance()->getDisplay();
    VORNIC3D_CHECK(display == nullptr || display->checkError("Texture2D"));
    glBindTexture(GL_TEXTURE_2D, 0);
}

} // namespace render
