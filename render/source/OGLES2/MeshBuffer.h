#pragma once

#include "OGLES2/OGLES_Graphics3D.h"

#include "render/Camera.h"
#include "render/Mesh.h"
#include "render/Transform.h"

namespace render {

// One batching buffer: a mesh that collects camera-facing quads sharing one
// texture and one camera, drawn in one call when full or when the frame
// ends. Free while its mesh has no appearance on submesh 0; then the camera
// and texture are null and the index count is 0.
class OGLES_Graphics3D::MeshBuffer : public core::Object {
public:
    // The camera current when the quads were made; null while free.
    core::Ref<Camera> m_camera;
    // The camera position in the camera's own axes, for the quads' placement.
    Transform m_cameraTranslation;
    // Identity, and again after every flush.
    Transform m_modelTransform;
    core::Ref<Mesh> m_mesh;
    // The texture of every quad; not counted, null while free.
    Texture2D* m_texture = nullptr;
    // False: the batch is drawn without lights.
    bool m_lighting = true;
};

} // namespace render
