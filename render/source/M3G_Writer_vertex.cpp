// Writing vertex arrays, vertex buffers and triangle strips.
#include "render/M3G_Loader.h"

#include "M3G_RecordIO.h"
#include "core/Assert.h"
#include "render/Loader_helpers.h"
#include "render/TriangleStripArray.h"
#include "render/VertexArray.h"
#include "render/VertexBuffer.h"

#include <cstring>

namespace render {

namespace {

constexpr int kByteLimit = 255;
constexpr int kVertexCountLimit = 65535;

} // namespace

// ---- VertexArray ----------------------------------------------------------------------

void M3G_Loader::setToStruct(M3G_VertexArray& record, VertexArray* array)
{
    VORNIC3D_CHECK(array != nullptr);
    const int vertexCount = array->getVertexCount();
    const int componentCount = array->getComponentCount();
    const int componentSize = array->getComponentType();
    if (vertexCount > kVertexCountLimit)
        parseError("Too big vertex count in VertexArray!");
    if (componentCount > kByteLimit)
        parseError("Too big component count in VertexArray!");
    if (componentSize > kByteLimit)
        parseError("Too big component type in VertexArray!");
    record.componentSize = static_cast<unsigned char>(componentSize);
    record.componentCount = static_cast<unsigned char>(componentCount);
    // The values as they are: the array keeps no differences.
    record.encoding = 0;
    record.vertexCount = static_cast<std::uint16_t>(vertexCount);
    const int count = vertexCount * componentCount;
    if (componentSize == VertexArray::BYTE) {
        record.byteValues.setSize(count);
        if (count > 0)
            std::memcpy(record.byteValues.m_data, array->getData(), static_cast<std::size_t>(count));
    } else {
        record.shortValues.setSize(count);
        if (count > 0)
            std::memcpy(record.shortValues.m_data, array->getData(), static_cast<std::size_t>(count) * sizeof(short));
    }
}

void M3G_Loader::saveVertexArray(Object3D* object)
{
    saveRecords<M3G_Object3D, M3G_VertexArray>(savedAs<VertexArray>(object));
}

// ---- VertexBuffer ---------------------------------------------------------------------

void M3G_Loader::setToStruct(M3G_VertexBuffer& record, VertexBuffer* buffer)
{
    VORNIC3D_CHECK(buffer != nullptr);
    unpackARGB(buffer->getDefaultColor(), record.defaultColor);
    float scaleBias[4] = {};
    record.positions = getObjectIndex(buffer->getPositions(scaleBias));
    record.positionScale = scaleBias[0];
    for (int i = 0; i < 3; ++i)
        record.positionBias[i] = scaleBias[i + 1];
    record.normals = getObjectIndex(buffer->getNormals());
    record.colors = getObjectIndex(buffer->getColors());
    // The file cannot leave a unit out, so the units that have coordinates
    // follow each other and read back from unit 0 on.
    for (int unit = 0; unit < buffer->getTexCoordUnitCount(); ++unit) {
        const VertexArray* coordinates = buffer->getTexCoords(unit, scaleBias);
        if (coordinates == nullptr)
            continue;
        M3G_TextureCoordinate set;
        set.textureCoordinates = getObjectIndex(coordinates);
        set.textureCoordinatesScale = scaleBias[0];
        for (int i = 0; i < 3; ++i)
            set.textureCoordinatesBias[i] = scaleBias[i + 1];
        record.textureCoordinates.pushBack(set);
    }
}

void M3G_Loader::saveVertexBuffer(Object3D* object)
{
    saveRecords<M3G_Object3D, M3G_VertexBuffer>(savedAs<VertexBuffer>(object));
}

// ---- TriangleStripArray ---------------------------------------------------------------

void M3G_Loader::setToStruct(M3G_TriangleStripArray& record, TriangleStripArray* strips)
{
    VORNIC3D_CHECK(strips != nullptr);
    // Explicit 16-bit indices: the width the strip array itself holds.
    record.encoding = M3G_TriangleStripArray::kExplicitIndices | M3G_TriangleStripArray::kWidth16;
    const int count = strips->getIndexCount();
    record.indices16.setSize(count);
    if (count > 0)
        std::memcpy(record.indices16.m_data, strips->getIndices(), sizeof(std::uint16_t) * record.indices16.m_size);
    // The array holds a triangle list, its strips long gone: one strip of 3
    // per triangle reads back as the same triangles, where one strip of all
    // the indices would read back as other ones.
    record.stripLengths.setSize(count / 3, 3);
}

void M3G_Loader::saveTriangleStripArray(Object3D* object)
{
    saveRecords<M3G_Object3D, M3G_TriangleStripArray>(savedAs<TriangleStripArray>(object));
}

} // namespace render
