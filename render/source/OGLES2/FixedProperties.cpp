// The OpenGL ES renderer's fixed limits.
#include "OGLES2/FixedProperties.h"

namespace render {

Graphics3DProperties fixedProperties()
{
    Graphics3DProperties properties;
    properties.supportAntialiasing = true;
    properties.supportTrueColor = false;
    properties.supportDithering = true;
    properties.supportMipmapping = true;
    properties.supportPerspectiveCorrection = true;
    properties.supportLocalCameraLighting = false;
    properties.maxLights = 8;
    properties.maxTextureDimension = 256;
    properties.maxSpriteCropDimension = 1024;
    properties.maxTransformsPerVertex = 2;
    properties.numTextureUnits = 1;
    return properties;
}

} // namespace render
