// Sprites and texts are drawn as quads collected in the batching buffers.
#include "OGLES2/OGLES_Graphics3D.h"

#include "core/Assert.h"

namespace render {

// No buffers are made yet, so no sprite or text can be placed and no buffer
// is ever in use.

void OGLES_Graphics3D::handleSprite3D(Sprite3D*, const Transform&)
{
    VORNIC3D_ASSERT(false, "handleSprite3D : sprite batching is not available");
}

void OGLES_Graphics3D::handleText2D(Text2D*, const Transform&)
{
    VORNIC3D_ASSERT(false, "handleText2D : text batching is not available");
}

void OGLES_Graphics3D::flushDynamicBuffer(MeshBuffer*, const Transform*)
{
    VORNIC3D_CHECK(false);
}

} // namespace render
