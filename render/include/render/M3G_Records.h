#pragma once

#include "core/Vector.h"

#include <cstdint>

namespace render {

// The records of an M3G file as render::M3G_Loader reads them: one plain
// struct per class, its fields in file order, read whole before it is
// checked and applied to the scene object (M3G_Loader::setToClass). Object
// indices stay numbers here; applying a record resolves them. Counted arrays
// are vectors sized to their count.

// ---- base records ------------------------------------------------------------------

struct M3G_UserParameter {
    std::uint32_t parameterID = 0;
    core::Vector<unsigned char> parameterValue;
};

struct M3G_Object3D {
    std::uint32_t userID = 0;
    core::Vector<std::uint32_t> animationTracks;
    std::uint32_t userParameterCount = 0;
    core::Vector<M3G_UserParameter> userParameters;
};

struct M3G_Transformable {
    bool hasComponentTransform = false;
    float translation[3] = {};
    float scale[3] = {};
    float orientationAngle = 0.0f;
    float orientationAxis[3] = {};
    bool hasGeneralTransform = false;
    // Row order, as the file stores it.
    float transform[16] = {};
};

struct M3G_Node {
    bool enableRendering = true;
    bool enablePicking = true;
    unsigned char alphaFactor = 255;
    std::uint32_t scope = 0;
    bool hasAlignment = false;
    unsigned char zTarget = 0;
    unsigned char yTarget = 0;
    std::uint32_t zReference = 0;
    std::uint32_t yReference = 0;
};

struct M3G_Group {
    core::Vector<std::uint32_t> children;
};

} // namespace render
