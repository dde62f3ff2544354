// Drawing entry points and the walk over the scene graph.
#include "OGLES2/OGLES_Graphics3D.h"

#include "core/Assert.h"

namespace render {

void OGLES_Graphics3D::render(World*)
{
    VORNIC3D_CHECK(false);
}

void OGLES_Graphics3D::render(Texture2D*, const Transform&, Appearance*)
{
    VORNIC3D_CHECK(false);
}

void OGLES_Graphics3D::render(VertexBuffer*, IndexBuffer*, Appearance*, const Transform&, int)
{
    VORNIC3D_CHECK(false);
}

void OGLES_Graphics3D::render(VertexBuffer*, IndexBuffer*, Appearance*, const Transform&)
{
    VORNIC3D_CHECK(false);
}

void OGLES_Graphics3D::render(Node*, const Transform&)
{
    VORNIC3D_CHECK(false);
}

} // namespace render
