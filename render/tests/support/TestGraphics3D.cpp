#include "TestGraphics3D.h"

#include "TestTexture2D.h"

namespace testsupport {

TestGraphics3D::TestGraphics3D(HAL::Display* display) : m_display(display)
{
    m_properties.supportAntialiasing = true;
    m_properties.supportDithering = true;
    m_properties.supportMipmapping = true;
    m_properties.supportPerspectiveCorrection = true;
    m_properties.maxLights = 8;
    m_properties.maxTextureDimension = 256;
    m_properties.maxSpriteCropDimension = 1024;
    m_properties.maxTransformsPerVertex = 2;
    m_properties.numTextureUnits = 1;
}

render::Texture2D* TestGraphics3D::createNewTexture()
{
    return VORNIC3D_NEW TestTexture2D();
}

} // namespace testsupport
