#include "BatchMeshes.h"

#include "render/IndexBuffer.h"
#include "render/TriangleListArray.h"
#include "render/VertexArray.h"
#include "render/VertexBuffer.h"

namespace testsupport {

namespace {

Shorts valuesOf(const render::VertexArray& array, int firstVertex, int count)
{
    const int n = array.getComponentCount();
    const auto* data = static_cast<const short*>(array.getData());
    return Shorts(data + n * firstVertex, data + n * (firstVertex + count));
}

} // namespace

render::Transform translation(float x, float y, float z)
{
    render::Transform t;
    t.postTranslate(x, y, z);
    return t;
}

core::Ref<render::Mesh> batchMesh(int quads, int indexQuads)
{
    using render::VertexArray;
    core::Ref<render::VertexBuffer> vertices = VORNIC3D_NEW render::VertexBuffer();
    vertices->setPositions(VORNIC3D_NEW VertexArray(4 * quads, 3, VertexArray::SHORT), 1.0f, nullptr);
    vertices->setTexCoords(0, VORNIC3D_NEW VertexArray(4 * quads, 2, VertexArray::SHORT), 1.0f, nullptr);
    Indices indices;
    for (int q = 0; q < indexQuads; ++q)
        for (int corner : {0, 3, 1, 2, 3, 1})
            indices.push_back(static_cast<unsigned short>(4 * q + corner));
    core::Ref<render::IndexBuffer> triangles =
        VORNIC3D_NEW render::TriangleListArray(indices.data(), static_cast<int>(indices.size()));
    return VORNIC3D_NEW render::Mesh(vertices.get(), triangles.get(), nullptr);
}

Shorts positionsOf(render::Mesh& mesh, int firstVertex, int count)
{
    return valuesOf(*mesh.getVertexBuffer()->getPositions(nullptr), firstVertex, count);
}

Shorts texelsOf(render::Mesh& mesh, int firstVertex, int count)
{
    return valuesOf(*mesh.getVertexBuffer()->getTexCoords(0, nullptr), firstVertex, count);
}

Indices indicesOf(render::Mesh& mesh, int first, int count)
{
    const unsigned short* data = mesh.getIndexBuffer(0)->getIndices();
    return Indices(data + first, data + first + count);
}

std::vector<float> scalesOf(render::Mesh& mesh)
{
    std::vector<float> scales(8);
    mesh.getVertexBuffer()->getPositions(scales.data());
    mesh.getVertexBuffer()->getTexCoords(0, scales.data() + 4);
    return scales;
}

std::vector<float> snapshot(render::Mesh& mesh)
{
    const int count = mesh.getVertexBuffer()->getVertexCount();
    std::vector<float> all = scalesOf(mesh);
    for (short v : positionsOf(mesh, 0, count))
        all.push_back(v);
    for (short v : texelsOf(mesh, 0, count))
        all.push_back(v);
    for (unsigned short i : indicesOf(mesh, 0, mesh.getIndexBuffer(0)->getCapacity()))
        all.push_back(i);
    return all;
}

} // namespace testsupport
