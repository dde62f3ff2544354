#include "render/Texture2D.h"

#include "render/Image2D.h"

#include "core/Assert.h"

namespace render {

// ---- life cycle -------------------------------------------------------------

Texture2D::Texture2D() = default;

Texture2D::~Texture2D() noexcept(false) = default;

// ---- sampling ------------------------------------------------------------------------

void Texture2D::setBlendColor(unsigned int rgb)
{
    VORNIC3D_ASSERT(rgb < 0xFF000000u, "setBlendColor color value is invalid (use RGB)");
    m_blendColor = rgb & 0x00FFFFFFu;
    reapplyImage();
}

void Texture2D::setBlending(int function)
{
    m_blending = function;
    reapplyImage();
}

void Texture2D::setFiltering(int levelFilter, int imageFilter)
{
    m_levelFilter = levelFilter;
    m_imageFilter = imageFilter;
    reapplyImage();
}

void Texture2D::setWrapping(int wrapS, int wrapT)
{
    m_wrappingS = wrapS;
    m_wrappingT = wrapT;
    reapplyImage();
}

// The back end rebuilds its device texture only in setImage; without an
// image the new value waits for the first one. The image is held here too,
// so a back end that drops its reference before taking the new one cannot
// destroy it on the way.
void Texture2D::reapplyImage()
{
    const core::Ref<Image2D> image = m_image;
    if (image != nullptr)
        setImage(image.get());
}

} // namespace render
