#pragma once

#include "render/DeformedPositions.h"
#include "render/Mesh.h"

#include <cstdint>

namespace render {

// A mesh whose positions are blended from its base vertex buffer and morph
// target buffers under one weight per target. setWeights blends and writes
// the result straight into the base buffer's 16-bit positions (nothing
// recomputes it per frame): base + (sum of the weighted target deltas) / n,
// n the number of targets whose weight is beyond +-0.01, on the raw 16-bit
// values (the targets' scale and bias are not looked at).
// Contract: the base and every target have positions of three 16-bit
// components, and every target at least as many vertices as the base;
// construction refuses anything else. A copy of the base positions taken at
// construction is what the blend starts from, so changing the base buffer's
// values afterwards has no lasting effect.
class MorphingMesh : public Mesh {
public:
    MorphingMesh(VertexBuffer* base, const core::Vector<core::Ref<VertexBuffer>>& targets,
                 const core::Vector<core::Ref<IndexBuffer>>& indexBuffers,
                 const core::Vector<core::Ref<Appearance>>& appearances);
    ~MorphingMesh() noexcept(false) override;

    // One weight per target, 0.0 after construction.
    const core::Vector<float>& getWeights() const { return m_weights; }
    int getMorphTargetCount() const { return m_targets.m_size; }
    // index 0..count-1.
    VertexBuffer* getMorphTarget(int index) const;

    // Exactly one weight per target. Blends only when a weight differs from
    // the stored one.
    void setWeights(const core::Vector<float>& weights);

private:
    void initMorphingMeshBuffers();
    void handleTarget(VertexBuffer* target, float weight);

    core::Vector<float> m_weights;
    core::Vector<core::Ref<VertexBuffer>> m_targets;
    // Three per vertex, 32 bits wide so that summed deltas do not wrap.
    std::int32_t* m_deltaAccumulator = nullptr;
    // The base values are the copy taken at construction.
    DeformedPositions m_positions;
};

} // namespace render
