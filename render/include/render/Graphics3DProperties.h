#pragma once

#include <cstdint>

namespace render {

// The renderer's limits, fixed when the renderer is made and read by the
// scene graph (texture units, sprite crop bound) and the renderer itself
// (viewport bounds). The viewport limits are 0 for a renderer without a
// display, which has no device to ask.
struct Graphics3DProperties {
    bool supportAntialiasing = false;
    bool supportTrueColor = false;
    bool supportDithering = false;
    bool supportMipmapping = false;
    bool supportPerspectiveCorrection = false;
    bool supportLocalCameraLighting = false;
    std::int32_t maxLights = 0;
    std::int32_t maxViewportWidth = 0;
    std::int32_t maxViewportHeight = 0;
    std::int32_t maxViewportDimension = 0;
    std::int32_t maxTextureDimension = 0;
    std::int32_t maxSpriteCropDimension = 0;
    std::int32_t maxTransformsPerVertex = 0;
    std::int32_t numTextureUnits = 0;
};

} // namespace render
