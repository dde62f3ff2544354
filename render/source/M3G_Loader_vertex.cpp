// Reading vertex arrays, vertex buffers and triangle strips.
#include "render/M3G_Loader.h"

#include "M3G_RecordIO.h"
#include "core/Assert.h"
#include "core/Debug.h"
#include "render/Loader_helpers.h"
#include "render/TriangleStripArray.h"
#include "render/VertexArray.h"
#include "render/VertexBuffer.h"

namespace render {

namespace {

using Strips = M3G_TriangleStripArray;
constexpr std::uint32_t kLargestIndex = 65535;

// Each component of vertex v (v >= 1) plus the same component of the decoded
// vertex v - 1, wrapping in the component's own width.
template <typename Value, typename Wide>
void decodeDifferences(core::Vector<Value>& values, int componentCount)
{
    for (int i = componentCount; i < values.m_size; ++i)
        values.m_data[i] = static_cast<Value>(static_cast<Wide>(values.m_data[i] + values.m_data[i - componentCount]));
}

// The file's strip lengths as the constructor takes them; their sum is
// known to lie within the indices given.
core::Vector<int> stripLengthsOf(const core::Vector<std::uint32_t>& lengths)
{
    core::Vector<int> checked;
    checked.setSize(lengths.m_size);
    for (int i = 0; i < lengths.m_size; ++i)
        checked.m_data[i] = static_cast<int>(lengths.m_data[i]);
    return checked;
}

// 32-bit or 8-bit indices as the 16-bit indices the strip array holds.
template <typename Index>
core::Vector<unsigned short> narrowedIndices(const core::Vector<Index>& indices)
{
    core::Vector<unsigned short> narrow;
    narrow.setSize(indices.m_size);
    for (int i = 0; i < indices.m_size; ++i) {
        if (static_cast<std::uint32_t>(indices.m_data[i]) > kLargestIndex)
            parseError("Too big data in triangle strip. Values must be in range -32768 ... 32767");
        narrow.m_data[i] = static_cast<unsigned short>(indices.m_data[i]);
    }
    return narrow;
}

} // namespace

// ---- VertexArray ----------------------------------------------------------------------

void M3G_Loader::setToClass(VertexArray* array, M3G_VertexArray& record)
{
    VORNIC3D_CHECK(array != nullptr);
    const int count = record.vertexCount;
    if (record.componentSize == VertexArray::BYTE) {
        if (record.encoding == 1)
            decodeDifferences<signed char, unsigned char>(record.byteValues, record.componentCount);
        array->set(0, count, record.byteValues.m_data);
    } else {
        if (record.encoding == 1)
            decodeDifferences<short, unsigned short>(record.shortValues, record.componentCount);
        array->set(0, count, record.shortValues.m_data);
    }
}

void M3G_Loader::check(const M3G_VertexArray& record)
{
    if (record.vertexCount == 0)
        parseError("Zero vertex count in vertex array.");
    if (record.componentCount < 2 || record.componentCount > 4)
        parseError("Component Count out of range.");
    if (record.componentSize != VertexArray::BYTE && record.componentSize != VertexArray::SHORT)
        parseError("Component size out of range.");
    if (record.encoding > 1)
        parseError("Invalid component encoding");
}

core::Ref<Object3D> M3G_Loader::parseVertexArray()
{
    M3G_Object3D object3D;
    readRecord(object3D);
    M3G_VertexArray record;
    readRecord(record);
    core::Debug::printf(core::Debug::LEVEL_PLAIN, "    VertexCount:%d, ComponentCount:%d, ComponentSize:%d\n",
                        record.vertexCount, record.componentCount, record.componentSize);

    core::Ref<VertexArray> array =
        VORNIC3D_NEW VertexArray(record.vertexCount, record.componentCount, record.componentSize);
    setToClass(array.get(), object3D);
    setToClass(array.get(), record);
    return core::Ref<Object3D>(array);
}

// ---- VertexBuffer ---------------------------------------------------------------------

void M3G_Loader::setToClass(VertexBuffer* buffer, const M3G_VertexBuffer& record)
{
    VORNIC3D_CHECK(buffer != nullptr);
    if (record.normals != 0)
        buffer->setNormals(getRef<VertexArray>(record.normals).get());
    if (record.colors != 0) {
        const core::Ref<VertexArray> colors = getRef<VertexArray>(record.colors);
        if (colors->getComponentType() != VertexArray::BYTE)
            parseError("Referenced colors object does not have correct component type. Should be 1.");
        if (colors->getComponentCount() != 3 && colors->getComponentCount() != 4)
            parseError("Component count is not 3 or 4 in colors data.");
        buffer->setColors(colors.get());
    }
    if (record.positions != 0) {
        const core::Ref<VertexArray> positions = getRef<VertexArray>(record.positions);
        if (positions->getComponentCount() != 3)
            parseError("Component count is not 3 in positions data.");
        buffer->setPositions(positions.get(), record.positionScale, record.positionBias);
    }
    for (int unit = 0; unit < record.textureCoordinates.m_size; ++unit) {
        const M3G_TextureCoordinate& set = record.textureCoordinates[unit];
        buffer->setTexCoords(unit, getRef<VertexArray>(set.textureCoordinates).get(), set.textureCoordinatesScale,
                             set.textureCoordinatesBias);
    }
    buffer->setDefaultColor(packARGB(record.defaultColor));
}

core::Ref<Object3D> M3G_Loader::parseVertexBuffer()
{
    return parseRecords<M3G_Object3D, M3G_VertexBuffer>(VORNIC3D_NEW VertexBuffer());
}

// ---- TriangleStripArray ---------------------------------------------------------------

// An unchecked sum of the strip lengths would walk the constructor past
// the end of the indices.
void M3G_Loader::check(const M3G_TriangleStripArray& record)
{
    if (record.stripLengths.m_size == 0)
        parseError("Strip Lengths are 0 in TriangleStripArray.");
    int indexCount = 0;
    switch (record.encoding) {
    case Strips::kExplicitIndices | Strips::kWidth32:
        indexCount = record.indices32.m_size;
        if (indexCount == 0)
            parseError("Raw indices length is 0 in TriangleStripArray.");
        break;
    case Strips::kExplicitIndices | Strips::kWidth8:
        indexCount = record.indices8.m_size;
        if (indexCount == 0)
            parseError("Byte indices length is 0 in TriangleStripArray.");
        break;
    case Strips::kExplicitIndices | Strips::kWidth16:
        indexCount = record.indices16.m_size;
        if (indexCount == 0)
            parseError("Uint16 indices length is 0 in TriangleStripArray.");
        break;
    default: parseError("Unsupported encoding in TriangleStripArray.");
    }
    std::uint64_t sum = 0;
    for (int i = 0; i < record.stripLengths.m_size; ++i)
        sum += record.stripLengths.m_data[i];
    if (sum > static_cast<std::uint64_t>(indexCount))
        parseError("Strip lengths exceed the index count in TriangleStripArray.");
}

core::Ref<Object3D> M3G_Loader::parseTriangleStripArray()
{
    M3G_Object3D object3D;
    readRecord(object3D);
    M3G_TriangleStripArray record;
    readRecord(record);

    core::Vector<unsigned short> narrowed;
    const core::Vector<unsigned short>* indices = &record.indices16;
    if (record.encoding == (Strips::kExplicitIndices | Strips::kWidth32)) {
        narrowed = narrowedIndices(record.indices32);
        indices = &narrowed;
    } else if (record.encoding == (Strips::kExplicitIndices | Strips::kWidth8)) {
        narrowed = narrowedIndices(record.indices8);
        indices = &narrowed;
    }
    const core::Vector<int> lengths = stripLengthsOf(record.stripLengths);

    core::Ref<TriangleStripArray> strips =
        VORNIC3D_NEW TriangleStripArray(indices->m_data, lengths.m_data, lengths.m_size);
    setToClass(strips.get(), object3D);
    return core::Ref<Object3D>(strips);
}

} // namespace render
