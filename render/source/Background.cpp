#include "render/Background.h"

#include "render/Image2D.h"

#include "core/Assert.h"

namespace render {

// ---- life cycle -------------------------------------------------------------

Background::Background() = default;

Background::~Background() noexcept(false) = default;

// ---- image ------------------------------------------------------------------------

void Background::setImage(Image2D* image)
{
    VORNIC3D_ASSERT(image != nullptr && (image->getFormat() == Image2D::RGB || image->getFormat() == Image2D::RGBA),
                    "IllegalArgumentException");
    m_image = image;
    setCrop(0, 0, image->getWidth(), image->getHeight());
}

void Background::setImageMode(int modeX, int modeY)
{
    VORNIC3D_ASSERT(modeX == BORDER || modeX == REPEAT, "IllegalArgumentException");
    VORNIC3D_ASSERT(modeY == BORDER || modeY == REPEAT, "IllegalArgumentException");
    m_imageModeX = modeX;
    m_imageModeY = modeY;
}

void Background::setCrop(int x, int y, int width, int height)
{
    VORNIC3D_ASSERT(width >= 0, "IllegalArgumentException");
    VORNIC3D_ASSERT(height >= 0, "IllegalArgumentException");
    m_cropX = x;
    m_cropY = y;
    m_cropWidth = width;
    m_cropHeight = height;
}

} // namespace render
