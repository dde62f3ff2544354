#include "render/VertexArray.h"

#include "core/Assert.h"
#include "core/Debug.h"
#include "core/MemoryManager.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace render {

namespace {

constexpr int kMaxVertices = 65535;

// The smallest and largest value of each of the N components of `count`
// vertices. The values are folded in runs of N x 16, each slot of a run
// keeping its own extremes, so that the compiler can use vector minimum and
// maximum instructions; the slots are folded into their components at the
// end. Each run is copied out first: 8-bit values may alias anything, which
// would keep the compiler from holding the extremes in registers.
template <typename T, int N>
void findComponentRange(const T* values, int count, int (&low)[3], int (&high)[3])
{
    constexpr int kRun = N * 16;
    T lowest[N];
    T highest[N];
    for (int c = 0; c < N; ++c)
        lowest[c] = highest[c] = values[c];
    const int total = count * N;
    const int runsEnd = total / kRun * kRun;
    if (runsEnd > 0) {
        T runLowest[kRun];
        T runHighest[kRun];
        for (int i = 0; i < kRun; ++i)
            runLowest[i] = runHighest[i] = values[i];
        for (int at = kRun; at < runsEnd; at += kRun) {
            T run[kRun];
            std::copy(values + at, values + at + kRun, run);
            for (int i = 0; i < kRun; ++i) {
                runLowest[i] = run[i] < runLowest[i] ? run[i] : runLowest[i];
                runHighest[i] = run[i] > runHighest[i] ? run[i] : runHighest[i];
            }
        }
        for (int i = 0; i < kRun; ++i) {
            lowest[i % N] = std::min(lowest[i % N], runLowest[i]);
            highest[i % N] = std::max(highest[i % N], runHighest[i]);
        }
    }
    // A run holds whole vertices, so the rest starts with a first component.
    for (int i = runsEnd; i < total; ++i) {
        lowest[i % N] = std::min(lowest[i % N], values[i]);
        highest[i % N] = std::max(highest[i % N], values[i]);
    }
    for (int c = 0; c < N; ++c) {
        low[c] = lowest[c];
        high[c] = highest[c];
    }
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
// wants the extent the array has ever had. The values are scanned once, in
// their own type; a two-component array's box keeps z = 0.
void VertexArray::findMaxAndMin()
{
    VORNIC3D_CHECK(m_data != nullptr);
    VORNIC3D_CHECK(m_componentType == BYTE || m_componentType == SHORT);
    if (m_componentCount == 4)
        return;
    int low[3] = {0, 0, 0};
    int high[3] = {0, 0, 0};
    const auto* bytes = static_cast<const std::int8_t*>(m_data);
    const auto* shorts = static_cast<const std::int16_t*>(m_data);
    if (m_componentType == BYTE && m_componentCount == 2)
        findComponentRange<std::int8_t, 2>(bytes, m_vertexCount, low, high);
    else if (m_componentType == BYTE)
        findComponentRange<std::int8_t, 3>(bytes, m_vertexCount, low, high);
    else if (m_componentCount == 2)
        findComponentRange<std::int16_t, 2>(shorts, m_vertexCount, low, high);
    else
        findComponentRange<std::int16_t, 3>(shorts, m_vertexCount, low, high);

    const slmath::vec3 lowest(static_cast<float>(low[0]), static_cast<float>(low[1]), static_cast<float>(low[2]));
    const slmath::vec3 highest(static_cast<float>(high[0]), static_cast<float>(high[1]), static_cast<float>(high[2]));
    if (!m_MinMaxInfoAvailable) {
        m_boxMin = lowest;
        m_boxMax = highest;
        m_MinMaxInfoAvailable = true;
        return;
    }
    for (unsigned axis = 0; axis < 3; ++axis) {
        m_boxMin[axis] = std::min(m_boxMin[axis], lowest[axis]);
        m_boxMax[axis] = std::max(m_boxMax[axis], highest[axis]);
    }
}

} // namespace render
