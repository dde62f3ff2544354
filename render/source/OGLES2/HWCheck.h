#pragma once

#include "core/Assert.h"

// The renderer's device check, for its member functions: when the display
// reports an OpenGL ES or EGL error for the enclosing function (the display
// logs the code), logs `text` and throws the engine assertion with it. A
// renderer without a display passes with a notice.
#define OGLES_HW_CHECK(text) VORNIC3D_ASSERT(checkHWErrors(VORNIC3D_FUNCTION), (text))
