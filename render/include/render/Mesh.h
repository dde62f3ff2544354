#pragma once

#include "render/Node.h"

namespace render {

class Appearance;
class IndexBuffer;
class VertexBuffer;

// The node that draws triangles: one vertex buffer shared by any number of
// submeshes, submesh i drawing index buffer i with appearance i.
// Contract: every index buffer is present; an appearance may be empty (the
// renderer then draws with defaults). The index-buffer and appearance lists
// are parallel by index but not forced to one length: an index inside the
// submesh count but past the appearances fails the vector's own check. All
// three kinds are held by counted reference and may be shared. Skinned and
// morphing meshes derive from it and rewrite the vertex buffer's positions.
class Mesh : public Node {
public:
    // One submesh; the renderer's internal meshes.
    Mesh(VertexBuffer* vertices, IndexBuffer* triangles, Appearance* appearance);
    // Any number of submeshes; the vertex buffer may be null here (the file
    // reader and the deformed meshes set everything up in this form).
    Mesh(VertexBuffer* vertices, const core::Vector<core::Ref<IndexBuffer>>& triangles,
         const core::Vector<core::Ref<Appearance>>& appearances);
    ~Mesh() noexcept(false) override;

    VertexBuffer* getVertexBuffer() const { return m_vertexBuffer.get(); }
    int getSubmeshCount() const { return m_indexBuffers.m_size; }
    // index 0..submesh count-1, else the bare assertion.
    IndexBuffer* getIndexBuffer(int index) const;
    Appearance* getAppearance(int index) const;
    // Null clears the submesh's appearance.
    void setAppearance(int index, Appearance* appearance);

private:
    core::Ref<VertexBuffer> m_vertexBuffer;
    core::Vector<core::Ref<IndexBuffer>> m_indexBuffers;
    core::Vector<core::Ref<Appearance>> m_appearances;
};

} // namespace render
