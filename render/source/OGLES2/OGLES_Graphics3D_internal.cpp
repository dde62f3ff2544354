// The objects the renderer makes for its own drawing.
#include "OGLES2/MeshBuffer.h"
#include "OGLES2/OGLES_Graphics3D.h"
#include "OverlayAppearance.h"

#include "render/Appearance.h"
#include "render/Camera.h"
#include "render/Font2D.h"
#include "render/Image2D.h"
#include "render/IndexBuffer.h"
#include "render/Light.h"
#include "render/Mesh.h"
#include "render/Text2D.h"
#include "render/Texture2D.h"
#include "render/TriangleListArray.h"
#include "render/VertexArray.h"
#include "render/VertexBuffer.h"

#include "core/Assert.h"

#include <vector>

namespace render {

// ---- creation ---------------------------------------------------------------------------

// The background's polygon is made at its first use, at the size of the
// screen, with the image it shows. Objects sized by the display keep the
// size they had here.
void OGLES_Graphics3D::createInternalObjects()
{
    VORNIC3D_CHECK(m_screenWidth != 0 && m_screenHeight != 0);
    m_quadMesh = create2DPolygonWithDefaultAppearance(nullptr, 1, 1, 1);
    if (m_defaultLightPending && m_config.default_light) {
        m_defaultLightPending = false;
        m_defaultLight = VORNIC3D_NEW Light();
        m_defaultLight->setMode(Light::DIRECTIONAL);
    }
    const auto width = static_cast<float>(m_screenWidth);
    const auto height = static_cast<float>(m_screenHeight);
    if (m_quadCamera == nullptr) {
        m_quadCamera = VORNIC3D_NEW Camera();
        m_quadCamera->setParallel(0.0f, width, 0.0f, height, 0.0f, 1000.0f);
    }
    if (m_debugCamera == nullptr) {
        m_debugCamera = VORNIC3D_NEW Camera();
        m_debugCamera->setParallel(0.0f, width, 0.0f, height, 0.0f, 1000.0f);
    }
    // A full pool further on leaves the buffers made: the next try keeps them.
    if (m_dynamicBuffers.m_size == 0)
        createDynamicBuffers();
    const core::Ref<Font2D> font = Font2D::createNewFont(nullptr);
    m_debugText = VORNIC3D_NEW Text2D();
    m_debugText->setFont(font.get());
    m_debugTextTransform.setIdentity();
    m_internalObjectsCreated = true;
}

// The quads' vertices are numbered with 16-bit indices, four a quad.
void OGLES_Graphics3D::createDynamicBuffers()
{
    VORNIC3D_CHECK(m_dynamicBuffers.m_size == 0);
    VORNIC3D_ASSERT(m_config.max_dynamic_buffers > 0, "Graphics3D configuration error : max_dynamic_buffers <= 0");
    VORNIC3D_ASSERT(m_config.max_dynamic_buffer_size > 0,
                    "Graphics3D configuration error : max_dynamic_buffer_size <= 0");
    VORNIC3D_ASSERT(m_config.max_dynamic_buffer_size <= kMaxBufferQuads,
                    "Graphics3D configuration error : max_dynamic_buffer_size > 16383");
    // Made aside first: a failure part-way leaves no buffers, so the next
    // bindTarget can try again.
    core::Vector<core::Ref<MeshBuffer>> buffers;
    buffers.setSize(m_config.max_dynamic_buffers);
    for (int i = 0; i < buffers.m_size; ++i) {
        buffers[i] = VORNIC3D_NEW MeshBuffer();
        buffers[i]->m_mesh = createMesh(1, 1, m_config.max_dynamic_buffer_size);
        buffers[i]->m_arrays = batchMeshArrays(buffers[i]->m_mesh.get(), 0);
        buffers[i]->empty();
    }
    m_dynamicBuffers.setSize(buffers.m_size);
    for (int i = 0; i < buffers.m_size; ++i)
        m_dynamicBuffers[i] = buffers[i];
}

// ---- meshes -------------------------------------------------------------------------------

// Both triangles of a quad turn counter-clockwise, so a culling appearance
// shows the whole quad.
core::Ref<Mesh> OGLES_Graphics3D::createMesh(int width, int height, int count)
{
    VORNIC3D_CHECK(count > 0 && count <= kMaxBufferQuads);
    VORNIC3D_CHECK(width >= 0 && width <= 32767 && height >= 0 && height <= 32767);
    const auto w = static_cast<short>(width);
    const auto h = static_cast<short>(height);
    const short corners[] = {0, 0, 0, w, 0, 0, w, h, 0, 0, h, 0};
    // Row 0 of the image at the top of the quad.
    const short coordinates[] = {0, 1, 1, 1, 1, 0, 0, 0};
    std::vector<short> positions;
    std::vector<short> textureCoordinates;
    std::vector<unsigned short> indices;
    for (int q = 0; q < count; ++q) {
        positions.insert(positions.end(), std::begin(corners), std::end(corners));
        textureCoordinates.insert(textureCoordinates.end(), std::begin(coordinates), std::end(coordinates));
        for (const int corner : {0, 1, 3, 2, 3, 1})
            indices.push_back(static_cast<unsigned short>(4 * q + corner));
    }

    core::Ref<VertexArray> positionArray = VORNIC3D_NEW VertexArray(4 * count, 3, VertexArray::SHORT);
    positionArray->set(0, 4 * count, positions.data());
    core::Ref<VertexArray> coordinateArray = VORNIC3D_NEW VertexArray(4 * count, 2, VertexArray::SHORT);
    coordinateArray->set(0, 4 * count, textureCoordinates.data());
    core::Ref<VertexBuffer> vertices = VORNIC3D_NEW VertexBuffer();
    vertices->setPositions(positionArray.get(), 1.0f, nullptr);
    vertices->setTexCoords(0, coordinateArray.get(), 1.0f, nullptr);
    core::Ref<IndexBuffer> triangles = VORNIC3D_NEW TriangleListArray(indices.data(), 6 * count);
    core::Ref<Mesh> mesh = VORNIC3D_NEW Mesh(vertices.get(), triangles.get(), nullptr);
    VORNIC3D_CHECK(mesh != nullptr);
    return mesh;
}

core::Ref<Mesh> OGLES_Graphics3D::create2DPolygonWithDefaultAppearance(Object3D* textureOrImage, int width, int height,
                                                                       int count)
{
    VORNIC3D_CHECK(m_display != nullptr);
    VORNIC3D_CHECK(count >= 1);
    VORNIC3D_ASSERT(width >= 1 && height >= 1, "window size is too big (or small)");
    core::Ref<Mesh> mesh = createMesh(width, height, count);
    core::Ref<Appearance> appearance = createOverlayAppearance();
    if (auto* image = dynamic_cast<Image2D*>(textureOrImage)) {
        core::Ref<Texture2D> texture = createNewTexture();
        texture->setImage(image);
        appearance->setTexture(0, texture.get());
    } else if (auto* texture = dynamic_cast<Texture2D*>(textureOrImage)) {
        appearance->setTexture(0, texture);
    } else {
        VORNIC3D_CHECK(textureOrImage == nullptr);
    }
    mesh->setAppearance(0, appearance.get());
    return mesh;
}

// ---- batching buffers ---------------------------------------------------------------------

// Every used buffer is drawn: a buffer freed in the middle of a frame (full,
// or dropped after a failed text) may stand before used ones, whose quads
// would otherwise stay behind.
void OGLES_Graphics3D::flushDynamicBuffers()
{
    for (int i = 0; i < m_dynamicBuffers.m_size; ++i) {
        MeshBuffer* buffer = m_dynamicBuffers[i].get();
        VORNIC3D_CHECK(buffer != nullptr && buffer->m_mesh != nullptr);
        if (buffer->isFree())
            continue;
        VORNIC3D_CHECK(buffer->m_texture != nullptr);
        flushDynamicBuffer(buffer);
        VORNIC3D_CHECK(buffer->isFree());
    }
}

// Batches made before a clear would be drawn over it: they are dropped.
void OGLES_Graphics3D::emptyDynamicBuffers()
{
    for (int i = 0; i < m_dynamicBuffers.m_size; ++i) {
        MeshBuffer* buffer = m_dynamicBuffers[i].get();
        VORNIC3D_CHECK(buffer != nullptr && buffer->m_mesh != nullptr);
        if (!buffer->isFree())
            buffer->empty();
    }
}

} // namespace render
