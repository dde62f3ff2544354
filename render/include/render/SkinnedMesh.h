#pragma once

#include "render/DeformedPositions.h"
#include "render/Mesh.h"
#include "render/Transform.h"

#include "core/HashTable.h"

namespace render {

class Group;

// A mesh whose positions follow a skeleton: a group whose descendant nodes
// are bones, each bound to runs of vertices with a weight. The renderer calls
// calcVertices_for_testing whenever it meets the mesh, which rewrites the
// vertex buffer's 16-bit positions from the unskinned copy taken at
// construction: p' = sum over the runs covering p of share x (W x W_rest^-1)
// x p, where W is the product of the composite transforms from the skeleton
// down to the bone, nodes without a binding included, W_rest the same
// product at the bone's first binding, and the shares of a vertex sum to 1.
// So a skin whose skeleton has not moved since binding keeps its unskinned
// positions.
// Contract: positions must have three 16-bit components. The skeleton hangs
// below the mesh (its parent link names the mesh, without the mesh holding
// it as a child) until the mesh dies. Only the skeleton and the group
// children below it are bones; addTransform checks every argument, the run
// against the mesh's vertices included, before it changes anything.
class SkinnedMesh : public Mesh {
public:
    // One run of vertices bound to a bone.
    class WeightInfo {
    public:
        float weight = 0.0f; // the given weight / 65535
        int firstVertex = 0;
        int vertexCount = 0;
    };

    SkinnedMesh(VertexBuffer* vertices, const core::Vector<core::Ref<IndexBuffer>>& indexBuffers,
                const core::Vector<core::Ref<Appearance>>& appearances, Group* skeleton);
    ~SkinnedMesh() noexcept(false) override;

    Group* getSkeleton() const;
    // The runs bound to `bone`, in the order they were added; null for a
    // node never bound. Lets a writer list the mesh's bindings. The lookup
    // takes and drops a reference: `bone` must be held elsewhere, as the
    // skeleton's nodes are.
    const core::Vector<WeightInfo>* getBoneWeights(Node* bone) const;

    // Binds vertices firstVertex .. firstVertex + numVertices - 1 to the bone
    // with weight / 65535 (weight >= 1). A later call for the same bone adds
    // a run and keeps the first rest transform.
    void addTransform(Node* bone, int weight, int firstVertex, int numVertices);
    // Recomputes the positions from the skeleton's current pose; vertices
    // that no run covers keep their unskinned values.
    void calcVertices_for_testing();

private:
    using Weights = core::Vector<WeightInfo>;

    void initSkinnedMeshBuffers(Group* skeleton);
    void freeBuffers();
    void handleChildBone(Node* bone, const Transform& parent);
    void addBoneShare(const Transform& skinning, const Weights& weights);

    core::HashTable<core::Ref<Node>, core::Ref<Weights>> m_weights;
    // W_rest^-1 of each bound bone, taken and inverted once, at its first
    // binding.
    core::HashTable<core::Ref<Node>, Transform> m_restInverses;
    core::Ref<Group> m_skeleton;
    // The unskinned positions are the copy taken at construction.
    DeformedPositions m_positions;
    float* m_weightSums = nullptr;
    float* m_accumulators = nullptr;
};

} // namespace render
