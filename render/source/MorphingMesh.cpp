#include "render/MorphingMesh.h"

#include "render/VertexArray.h"
#include "render/VertexBuffer.h"

#include "core/Assert.h"
#include "core/MemoryManager.h"

#include <cstring>

namespace render {

namespace {

// Targets whose weight lies within +-0.01 are left out of the blend.
constexpr float kWeightThreshold = 0.01f;

// A target's positions: three 16-bit components, else the bare assertion.
const VertexArray* shortPositionsOf(const VertexBuffer* target)
{
    const VertexArray* positions = target->getPositions(nullptr);
    VORNIC3D_CHECK(positions != nullptr);
    VORNIC3D_CHECK(positions->getComponentCount() == 3);
    VORNIC3D_CHECK(positions->getComponentType() == VertexArray::SHORT);
    return positions;
}

std::int32_t saturatedSum(std::int32_t a, std::int32_t b)
{
    const std::int64_t sum = static_cast<std::int64_t>(a) + b;
    if (sum > INT32_MAX)
        return INT32_MAX;
    if (sum < INT32_MIN)
        return INT32_MIN;
    return static_cast<std::int32_t>(sum);
}

} // namespace

// ---- life cycle -------------------------------------------------------------

MorphingMesh::MorphingMesh(VertexBuffer* base, const core::Vector<core::Ref<VertexBuffer>>& targets,
                           const core::Vector<core::Ref<IndexBuffer>>& indexBuffers,
                           const core::Vector<core::Ref<Appearance>>& appearances)
    : Mesh(base, indexBuffers, appearances), m_targets(targets)
{
    initMorphingMeshBuffers();
}

MorphingMesh::~MorphingMesh() noexcept(false)
{
    if (m_deltaAccumulator != nullptr)
        VORNIC3D_FREE(m_deltaAccumulator);
}

void MorphingMesh::initMorphingMeshBuffers()
{
    m_positions.take(getVertexBuffer());
    const int count = m_positions.vertexCount;
    VORNIC3D_ASSERT(m_targets.m_size > 0, "MorphingMesh failed because targets size is 0");
    for (int i = 0; i < m_targets.m_size; ++i)
        VORNIC3D_ASSERT(m_targets[i] != nullptr, "targets element is 0");
    // The blend reads as many vertices from every target as the base has.
    for (int i = 0; i < m_targets.m_size; ++i) {
        const VertexArray* target = shortPositionsOf(m_targets[i].get());
        VORNIC3D_ASSERT(target->getVertexCount() >= count, "targets element has fewer vertices than the base");
    }
    // The weights first: the accumulator is taken last, when nothing can fail after it.
    m_weights.setSize(m_targets.m_size, 0.0f);
    const int accumulatorSize = 3 * count * static_cast<int>(sizeof(std::int32_t));
    m_deltaAccumulator = static_cast<std::int32_t*>(VORNIC3D_ALLOC(accumulatorSize));
    std::memset(m_deltaAccumulator, 0, static_cast<std::size_t>(accumulatorSize));
}

// ---- targets and weights ---------------------------------------------------------------

VertexBuffer* MorphingMesh::getMorphTarget(int index) const
{
    VORNIC3D_ASSERT(index >= 0 && index < m_targets.m_size,
                    "MorphingMesh getMorphTarget failed because index is invalid");
    return m_targets[index].get();
}

void MorphingMesh::setWeights(const core::Vector<float>& weights)
{
    VORNIC3D_ASSERT(weights.m_size >= m_targets.m_size,
                    "MorphingMesh setWeights failed because weights.size < getMorphTargetCount()");
    VORNIC3D_CHECK(weights.m_size <= m_targets.m_size);
    int changed = 0;
    for (int i = 0; i < weights.m_size; ++i)
        if (weights[i] != m_weights[i])
            ++changed;
    if (changed == 0)
        return;

    m_weights = weights;
    std::memset(m_deltaAccumulator, 0, sizeof(std::int32_t) * 3 * m_positions.vertexCount);
    int applied = 0;
    for (int i = 0; i < m_targets.m_size; ++i) {
        const float w = m_weights[i];
        if (w > kWeightThreshold || w < -kWeightThreshold) {
            handleTarget(m_targets[i].get(), w);
            ++applied;
        }
    }
    if (applied == 0) {
        m_positions.restore();
        return;
    }
    const short* base = m_positions.originalValues;
    const auto targetCount = static_cast<float>(applied);
    for (int i = 0; i < 3 * m_positions.vertexCount; ++i) {
        const float blended = static_cast<float>(m_deltaAccumulator[i]) / targetCount + static_cast<float>(base[i]);
        m_positions.live[i] = DeformedPositions::toStored(blended);
    }
}

// Adds (target - base) x weight, truncated, to the accumulator.
void MorphingMesh::handleTarget(VertexBuffer* target, float weight)
{
    const VertexArray* positions = shortPositionsOf(target);
    // The target's positions may have been replaced since construction.
    VORNIC3D_CHECK(positions->getVertexCount() >= m_positions.vertexCount);
    const auto* values = static_cast<const short*>(positions->getData());
    const short* base = m_positions.originalValues;
    VORNIC3D_CHECK(values != nullptr && m_deltaAccumulator != nullptr);
    for (int i = 0; i < 3 * m_positions.vertexCount; ++i) {
        const int difference = values[i] - base[i];
        const std::int32_t delta = DeformedPositions::truncateToInt(static_cast<float>(difference) * weight);
        m_deltaAccumulator[i] = saturatedSum(m_deltaAccumulator[i], delta);
    }
}

} // namespace render
