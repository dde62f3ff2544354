#include "render/SkinnedMesh.h"

#include "core/Assert.h"
#include "core/Debug.h"
#include "core/MemoryManager.h"
#include "render/Group.h"

#include <cinttypes>
#include <cstdint>
#include <cstring>

namespace render {

namespace {

// 1/65535 as a float: the weight of 65535 is 1.0.
constexpr float kWeightScale = 1.5259022e-05f;

// True when node is root or lies below it through group children: the
// nodes the skinning walk visits. `out` then holds the composite transforms
// along that path multiplied from root down to node, the walk's own product.
bool transformDownTo(const Node* root, const Node* node, Transform* out)
{
    Transform composite;
    root->getCompositeTransform(&composite);
    if (root == node) {
        *out = composite;
        return true;
    }
    const auto* group = dynamic_cast<const Group*>(root);
    if (group == nullptr)
        return false;
    for (int i = 0; i < group->getChildCount(); ++i) {
        Transform below;
        if (transformDownTo(group->getChild(i), node, &below)) {
            composite.postMultiply(below);
            *out = composite;
            return true;
        }
    }
    return false;
}

} // namespace

// ---- life cycle -------------------------------------------------------------

SkinnedMesh::SkinnedMesh(VertexBuffer* vertices, const core::Vector<core::Ref<IndexBuffer>>& indexBuffers,
                         const core::Vector<core::Ref<Appearance>>& appearances, Group* skeleton)
    : Mesh(vertices, indexBuffers, appearances), m_weights(10, 0.5f), m_restInverses(10, 0.5f)
{
    VORNIC3D_ASSERT(vertices != nullptr, "SkinnedMesh failed because vertices parameter is 0");
    VORNIC3D_ASSERT(skeleton != nullptr, "SkinnedMesh failed because skeleton parameter is 0");
    initSkinnedMeshBuffers(skeleton);
}

SkinnedMesh::~SkinnedMesh() noexcept(false)
{
    freeBuffers();
    // A skeleton held elsewhere outlives the mesh and must not name it; a
    // skeleton taken over by another mesh since names that one.
    Node* skeleton = m_skeleton.get();
    if (skeleton != nullptr && skeleton->getParent() == this)
        skeleton->setParent(nullptr);
}

// Copies the positions as they are now (the unskinned pose) and takes the
// per-vertex blocks. The skeleton is linked to the mesh last, once nothing
// can fail: a refused mesh leaves it as it was.
void SkinnedMesh::initSkinnedMeshBuffers(Group* skeleton)
{
    VORNIC3D_CHECK(skeleton != nullptr);
    m_skeleton = skeleton;
    m_positions.take(getVertexBuffer());
    const int count = m_positions.vertexCount;
    try {
        m_weightSums = static_cast<float*>(VORNIC3D_ALLOC(count * static_cast<int>(sizeof(float))));
        m_accumulators = static_cast<float*>(VORNIC3D_ALLOC(3 * count * static_cast<int>(sizeof(float))));
    } catch (...) {
        // No destructor runs for a half-made mesh.
        freeBuffers();
        throw;
    }
    std::memset(m_weightSums, 0, sizeof(float) * count);
    std::memset(m_accumulators, 0, sizeof(float) * 3 * count);
    skeleton->setParent(this);
}

void SkinnedMesh::freeBuffers()
{
    if (m_weightSums != nullptr)
        VORNIC3D_FREE(m_weightSums);
    if (m_accumulators != nullptr)
        VORNIC3D_FREE(m_accumulators);
}

// ---- bones --------------------------------------------------------------------------

Group* SkinnedMesh::getSkeleton() const
{
    VORNIC3D_CHECK(m_skeleton != nullptr);
    return m_skeleton.get();
}

const core::Vector<SkinnedMesh::WeightInfo>* SkinnedMesh::getBoneWeights(Node* bone) const
{
    const auto* entry = m_weights.findNode(core::Ref<Node>(bone));
    return entry != nullptr ? entry->value.get() : nullptr;
}

void SkinnedMesh::addTransform(Node* bone, int weight, int firstVertex, int numVertices)
{
    VORNIC3D_ASSERT(bone != nullptr, "SkinnedMesh addTransform failed because bone parameter is 0");
    VORNIC3D_ASSERT(m_positions.original != nullptr,
                    "SkinnedMesh addTransform failed because m_originalVertexBuffer is 0");
    VORNIC3D_ASSERT(weight > 0, "SkinnedMesh addTransform failed because weight parameter is <= 0");
    VORNIC3D_ASSERT(numVertices > 0, "SkinnedMesh addTransform failed because numVertices parameter is <= 0");
    // In 64 bits: the sum of two ints from a file may leave the int range.
    const std::int64_t end = static_cast<std::int64_t>(firstVertex) + numVertices;
    VORNIC3D_ASSERT(end <= 65535, "SkinnedMesh addTransform failed because firstVertex+numVertices is > 65535");
    // The run indexes the per-vertex blocks, which hold exactly the mesh's vertices.
    VORNIC3D_ASSERT(firstVertex >= 0, "SkinnedMesh addTransform failed because firstVertex parameter is < 0");
    VORNIC3D_ASSERT(end <= m_positions.vertexCount,
                    "SkinnedMesh addTransform failed because firstVertex+numVertices is > vertex count");

    core::Debug::printf(core::Debug::LEVEL_PLAIN, "addTransform bone:0x%" PRIXPTR " first : %d num : %d\n",
                        reinterpret_cast<std::uintptr_t>(bone), firstVertex, numVertices);
    core::Debug::printf(core::Debug::LEVEL_PLAIN, "m_skeleton children : %d\n", m_skeleton->getChildCount());
    if (const auto* group = dynamic_cast<const Group*>(bone))
        core::Debug::printf(core::Debug::LEVEL_PLAIN, "bone (group) children : %d\n", group->getChildCount());
    // The rest transform is the walk's product for the bone as it stands
    // now, unbound nodes between included: with the bone's own transform
    // alone, an unbound node's offset would displace a skin at rest.
    Transform rest;
    const bool isBone = transformDownTo(m_skeleton.get(), bone, &rest);
    VORNIC3D_ASSERT(isBone, "bone is not the skeleton Group or one of its descendants");

    const float w = static_cast<float>(weight) * kWeightScale;
    const core::Ref<Node> key(bone);
    auto* entry = m_weights.findNode(key);
    if (entry == nullptr) {
        // The walk needs only the inverse of the rest transform: taken here,
        // once, so a singular one is refused before anything is stored.
        Transform restInverse(rest);
        restInverse.invert();
        m_weights.put(key, core::Ref<Weights>(VORNIC3D_NEW Weights()));
        m_restInverses.put(key, restInverse);
        entry = m_weights.findNode(key);
        VORNIC3D_CHECK(entry != nullptr);
    }
    Weights& runs = *entry->value;
    core::Debug::printf(core::Debug::LEVEL_PLAIN, "data size : %d\n", runs.m_size);
    WeightInfo run;
    run.weight = w;
    run.firstVertex = firstVertex;
    run.vertexCount = numVertices;
    runs.pushBack(run);
    for (int v = firstVertex; v < firstVertex + numVertices; ++v)
        m_weightSums[v] += w;
}

// ---- skinning -----------------------------------------------------------------------

void SkinnedMesh::calcVertices_for_testing()
{
    VORNIC3D_CHECK(m_skeleton != nullptr);
    m_positions.restore();
    std::memset(m_accumulators, 0, sizeof(float) * 3 * m_positions.vertexCount);
    handleChildBone(m_skeleton.get(), Transform());

    // A zero scale stores every position as the bias: a skinned one cannot
    // be stored, and the unskinned values stand.
    if (m_positions.scale == 0.0f)
        return;
    for (int v = 0; v < m_positions.vertexCount; ++v) {
        // Weights are positive: a vertex no run covers has a sum of 0.
        if (m_weightSums[v] == 0.0f)
            continue;
        for (int c = 0; c < 3; ++c) {
            const float stored = (m_accumulators[3 * v + c] - m_positions.bias[c]) / m_positions.scale;
            m_positions.live[3 * v + c] = DeformedPositions::toStored(stored);
        }
    }
}

// parent: the product of the composite transforms from the skeleton down to
// the bone's parent, now.
void SkinnedMesh::handleChildBone(Node* bone, const Transform& parent)
{
    VORNIC3D_CHECK(bone != nullptr);
    Transform current = parent;
    Transform composite;
    bone->getCompositeTransform(&composite);
    current.postMultiply(composite);

    const core::Ref<Node> key(bone);
    if (const auto* entry = m_weights.findNode(key)) {
        const auto* restInverse = m_restInverses.findNode(key);
        VORNIC3D_CHECK(restInverse != nullptr);
        Transform skinning = current;
        skinning.postMultiply(restInverse->value);
        addBoneShare(skinning, *entry->value);
    }
    if (auto* group = dynamic_cast<Group*>(bone)) {
        for (int i = 0; i < group->getChildCount(); ++i)
            handleChildBone(group->getChild(i), current);
    }
}

// Adds share x skinning x p to the accumulators of every vertex of the
// bone's runs, p the unskinned position decoded with the scale and bias.
// The skinning transform is affine: its last row is not used.
void SkinnedMesh::addBoneShare(const Transform& skinning, const Weights& weights)
{
    float m[16];
    skinning.get(m);
    const float scale = m_positions.scale;
    const float* bias = m_positions.bias;
    for (int r = 0; r < weights.m_size; ++r) {
        const WeightInfo& run = weights[r];
        for (int v = run.firstVertex; v < run.firstVertex + run.vertexCount; ++v) {
            const short* s = m_positions.originalValues + 3 * v;
            const float x = static_cast<float>(s[0]) * scale + bias[0];
            const float y = static_cast<float>(s[1]) * scale + bias[1];
            const float z = static_cast<float>(s[2]) * scale + bias[2];
            const float share = run.weight / m_weightSums[v];
            float* out = m_accumulators + 3 * v;
            out[0] += share * (m[0] * x + m[1] * y + m[2] * z + m[3]);
            out[1] += share * (m[4] * x + m[5] * y + m[6] * z + m[7]);
            out[2] += share * (m[8] * x + m[9] * y + m[10] * z + m[11]);
        }
    }
}

} // namespace render
