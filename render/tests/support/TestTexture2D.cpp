#include "TestTexture2D.h"

#include "render/Image2D.h"

#include "core/Assert.h"

namespace testsupport {

void TestTexture2D::setImage(render::Image2D* image)
{
    VORNIC3D_CHECK(image != nullptr);
    m_image = image;
    ++m_setImageCount;
}

} // namespace testsupport
