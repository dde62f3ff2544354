#include "render/VertexArray.h"

#include "core/Assert.h"
#include "core/Debug.h"
#include "core/MemoryManager.h"

#include <cstdint>
#include <cstring>

namespace render {

namespace {

constexpr int kMaxVertices = 65535;

// The signed value of component `index`, whichever width the block holds.
float componentAt(const void* data, int componentType, int index)
{
    if (componentType == VertexArray::BYTE)
        return static_cast<const std::int8_t*>(data)[index];
    return static_cast<const std::int16_t*>(data)[index];
}

} // namespace

// ---- life cycle -------------------------------------------------------------

VertexArray::VertexArray(int numVertices, int numComponents, int componentType)
    : m_vertexCount(numVertices), m_componentCount(numComponents), m_componentType(componentType)
{
    VORNIC3D_CHECK(numVertices >= 1 && numVertices <= kMaxVertices);
    VORNIC3D_CHECK(numComponents >= 2 && numComponents <= 4);
    VORNIC3D_CHECK(componentType == BYTE || componentType == SHORT);
    const int byteSize = numVertices * numComponents * componentType;
    m_data = VORNIC3D_ALLOC(byteSize);
    std::memset(m_data, 0, static_cast<std::size_t>(byteSize));
}

VertexArray::~VertexArray() noexcept(false)
{
    if (m_data != nullptr)
        VORNIC3D_FREE(m_data);
}

// ---- values -----------------------------------------------------------------------
//
// The range is checked as "numVertices fits behind firstVertex", so that no
// sum can overflow; a negative count is refused rather than turned into a
// huge copy.

void VertexArray::set(int firstVertex, int numVertices, const signed char* values)
{
    VORNIC3D_CHECK(values != nullptr);
    VORNIC3D_CHECK(m_componentType == BYTE);
    VORNIC3D_CHECK(firstVertex >= 0 && firstVertex <= m_vertexCount);
    VORNIC3D_CHECK(numVertices >= 0 && numVertices <= m_vertexCount - firstVertex);
    copyValues(firstVertex, numVertices, values);
}

void VertexArray::set(int firstVertex, int numVertices, const short* values)
{
    VORNIC3D_CHECK(values != nullptr);
    VORNIC3D_CHECK(firstVertex >= 0 && firstVertex <= m_vertexCount);
    VORNIC3D_CHECK(numVertices >= 0 && numVertices <= m_vertexCount - firstVertex);
    VORNIC3D_CHECK(m_componentType == SHORT);
    copyValues(firstVertex, numVertices, values);
}

void VertexArray::copyValues(int firstVertex, int numVertices, const void* values)
{
    const int vertexBytes = m_componentCount * m_componentType;
    std::memcpy(static_cast<std::uint8_t*>(m_data) + firstVertex * vertexBytes, values,
                static_cast<std::size_t>(numVertices * vertexBytes));
    findMaxAndMin();
}

void VertexArray::setComponentType(int componentType)
{
    if (componentType == m_componentType)
        return;
    if (componentType == SHORT && m_componentType == BYTE) {
        core::Debug::printf(core::Debug::LEVEL_PLAIN, "VertexBuffer : convert byte array to short array\n");
        const int count = m_vertexCount * m_componentCount;
        auto* converted = static_cast<std::int16_t*>(VORNIC3D_ALLOC(count * SHORT));
        const auto* bytes = static_cast<const std::int8_t*>(m_data);
        for (int i = 0; i < count; ++i)
            converted[i] = bytes[i];
        VORNIC3D_FREE(m_data);
        m_data = converted;
        m_componentType = SHORT;
        findMaxAndMin();
        return;
    }
    if (componentType == BYTE && m_componentType == SHORT) {
        core::Debug::printf(core::Debug::LEVEL_PLAIN, "VertexBuffer : convert short array to byte array \n");
        VORNIC3D_ASSERT(false, "setComponentType 2 -> 1 has problems!");
    }
    VORNIC3D_ASSERT(false, "setComponentType failed. invalid parameters");
}

// ---- bounding box -------------------------------------------------------------------

const slmath::vec3& VertexArray::getBoxMin() const
{
    VORNIC3D_ASSERT(m_MinMaxInfoAvailable, "VertexArray::getBoxMin failed (m_MinMaxInfoAvailable == false)");
    return m_boxMin;
}

const slmath::vec3& VertexArray::getBoxMax() const
{
    VORNIC3D_ASSERT(m_MinMaxInfoAvailable, "VertexArray::getBoxMax failed (m_MinMaxInfoAvailable == false)");
    return m_boxMax;
}

// The box is never reset, only widened: the debug drawing that reads it
// wants the extent the array has ever had.
void VertexArray::findMaxAndMin()
{
    VORNIC3D_CHECK(m_data != nullptr);
    VORNIC3D_CHECK(m_componentType == BYTE || m_componentType == SHORT);
    if (m_componentCount == 4)
        return;
    slmath::vec3 v;
    for (int vertex = 0; vertex < m_vertexCount; ++vertex) {
        for (int c = 0; c < m_componentCount; ++c)
            v[static_cast<unsigned>(c)] = componentAt(m_data, m_componentType, vertex * m_componentCount + c);
        if (!m_MinMaxInfoAvailable) {
            m_boxMin = v;
            m_boxMax = v;
            m_MinMaxInfoAvailable = true;
            continue;
        }
        for (unsigned axis = 0; axis < 3; ++axis) {
            if (v[axis] < m_boxMin[axis])
                m_boxMin[axis] = v[axis];
            if (v[axis] > m_boxMax[axis])
                m_boxMax[axis] = v[axis];
        }
    }
}

} // namespace render
