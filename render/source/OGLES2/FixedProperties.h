#pragma once

#include "render/Graphics3DProperties.h"

namespace render {

// The OpenGL ES renderer's fixed limits: every property but the viewport's
// bounds, which only the device of a display can tell (they stay 0 here).
// The renderer starts from these, and so does the tests' renderer that
// draws nothing, so the two cannot drift apart.
Graphics3DProperties fixedProperties();

} // namespace render
