#pragma once

#include "render/Image2D.h"
#include "render/Texture2D.h"

#include "core/Assert.h"

namespace testsupport {

// A texture without a device: setImage holds the image (a null one is the
// bare assertion, as in every back end) and counts the calls, so a test sees
// each rebuild the scene graph asks for.
class TestTexture2D : public render::Texture2D {
public:
    void setImage(render::Image2D* image) override
    {
        VORNIC3D_CHECK(image != nullptr);
        m_image = image;
        ++m_setImageCount;
    }
    int getSetImageCount() const { return m_setImageCount; }

private:
    int m_setImageCount = 0;
};

} // namespace testsupport
