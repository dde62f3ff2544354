#include "BatchMesh.h"

#include "render/Graphics3D.h"
#include "render/IndexBuffer.h"
#include "render/Mesh.h"
#include "render/Texture2D.h"
#include "render/VertexArray.h"
#include "render/VertexBuffer.h"

#include "core/Assert.h"

#include <algorithm>

namespace render {

BatchMeshArrays batchMeshArrays(Mesh* mesh, int indexCount)
{
    VORNIC3D_CHECK(mesh != nullptr);
    VertexBuffer* vertices = mesh->getVertexBuffer();
    VORNIC3D_CHECK(vertices != nullptr);
    VertexArray* positions = vertices->getPositions(nullptr);
    VertexArray* coordinates = vertices->getTexCoords(0, nullptr);
    VORNIC3D_CHECK(positions != nullptr && coordinates != nullptr);
    IndexBuffer* triangles = mesh->getIndexBuffer(0);
    VORNIC3D_CHECK(triangles != nullptr);
    unsigned short* indices = triangles->getIndices();
    VORNIC3D_CHECK(positions->getData() != nullptr && coordinates->getData() != nullptr && indices != nullptr);
    // The entry before indexCount is read for the base vertex.
    VORNIC3D_CHECK(indexCount >= 0 && indexCount <= triangles->getCapacity());
    VORNIC3D_CHECK(positions->getComponentType() == VertexArray::SHORT && positions->getComponentCount() == 3);
    VORNIC3D_CHECK(coordinates->getComponentType() == VertexArray::SHORT && coordinates->getComponentCount() == 2);
    return {vertices,
            static_cast<short*>(positions->getData()),
            static_cast<short*>(coordinates->getData()),
            triangles,
            indices,
            std::min(positions->getVertexCount(), coordinates->getVertexCount())};
}

core::Ref<Texture2D> createTextureFromImage(Image2D* image)
{
    VORNIC3D_CHECK(image != nullptr);
    Graphics3D* graphics = Graphics3D::getInstance();
    VORNIC3D_CHECK(graphics != nullptr);
    core::Ref<Texture2D> texture = graphics->createNewTexture();
    VORNIC3D_CHECK(texture != nullptr);
    texture->setImage(image);
    return texture;
}

} // namespace render
