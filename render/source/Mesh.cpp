#include "render/Mesh.h"

#include "render/Appearance.h"
#include "render/IndexBuffer.h"
#include "render/VertexBuffer.h"

#include "core/Assert.h"

namespace render {

// ---- life cycle -------------------------------------------------------------

Mesh::Mesh(VertexBuffer* vertices, IndexBuffer* triangles, Appearance* appearance)
{
    VORNIC3D_CHECK(vertices != nullptr);
    VORNIC3D_CHECK(triangles != nullptr);
    m_vertexBuffer = vertices;
    m_indexBuffers.pushBack(core::Ref<IndexBuffer>(triangles));
    m_appearances.pushBack(core::Ref<Appearance>(appearance));
}

Mesh::Mesh(VertexBuffer* vertices, const core::Vector<core::Ref<IndexBuffer>>& triangles,
           const core::Vector<core::Ref<Appearance>>& appearances)
{
    for (int i = 0; i < triangles.m_size; ++i)
        VORNIC3D_CHECK(triangles[i] != nullptr);
    m_vertexBuffer = vertices;
    m_indexBuffers = triangles;
    m_appearances = appearances;
}

// The members go in reverse order: appearances, index buffers, then the
// vertex buffer.
Mesh::~Mesh() noexcept(false) = default;

// ---- submeshes -------------------------------------------------------------------

IndexBuffer* Mesh::getIndexBuffer(int index) const
{
    VORNIC3D_CHECK(index >= 0 && index < m_indexBuffers.m_size);
    return m_indexBuffers[index].get();
}

Appearance* Mesh::getAppearance(int index) const
{
    VORNIC3D_CHECK(index >= 0 && index < m_indexBuffers.m_size);
    return m_appearances[index].get();
}

void Mesh::setAppearance(int index, Appearance* appearance)
{
    VORNIC3D_CHECK(index >= 0 && index < m_indexBuffers.m_size);
    m_appearances[index] = appearance;
}

} // namespace render
