#pragma once

#include "OGLES2/OGLES_Graphics3D.h"

#include "BatchMesh.h"

#include "render/Camera.h"
#include "render/IndexBuffer.h"
#include "render/Mesh.h"
#include "render/Texture2D.h"
#include "render/Transform.h"

#include "core/Assert.h"

namespace render {

// One batching buffer: a mesh that collects camera-facing quads sharing one
// texture and one camera, drawn in one call when full or when the frame
// ends. Free while its mesh has no appearance on submesh 0; then the camera
// and texture are null and the index count is 0.
class OGLES_Graphics3D::MeshBuffer : public core::Object {
public:
    bool isFree() const { return m_mesh->getAppearance(0) == nullptr; }

    // Drops the quads and frees the buffer.
    void empty()
    {
        m_mesh->setAppearance(0, nullptr);
        m_texture = nullptr;
        m_camera = nullptr;
        IndexBuffer* indices = m_mesh->getIndexBuffer(0);
        VORNIC3D_CHECK(indices != nullptr);
        indices->setIndexCount(0);
    }

    // The camera current when the quads were made; null while free.
    core::Ref<Camera> m_camera;
    // The camera position in the camera's own axes, for the quads' placement.
    Transform m_cameraTranslation;
    core::Ref<Mesh> m_mesh;
    // The mesh's arrays and index buffer, checked once when it is made:
    // they stay with the mesh for its life.
    BatchMeshArrays m_arrays{};
    // The texture of every quad, null while free. Held, so that a sprite or
    // font let go before the frame ends leaves its quads drawable.
    core::Ref<Texture2D> m_texture;
};

} // namespace render
