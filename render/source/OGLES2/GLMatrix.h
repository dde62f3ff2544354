#pragma once

#include "render/Transform.h"

#include "slmath/mat4.h"

#include <GLES/gl.h>

namespace render {

// Multiplies the current OpenGL ES matrix by `transform`. The transform keeps
// its floats by rows and the device takes them by columns, so it gets the
// transpose of the stored block.
inline void multiplyGLMatrix(const Transform& transform)
{
    slmath::mat4 rows(1.0f);
    transform.getMatrix(rows);
    const slmath::mat4 columns = slmath::transpose(rows);
    glMultMatrixf(&columns[0].x);
}

} // namespace render
