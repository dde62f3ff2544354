// Reading meshes, morphing meshes and skinned meshes.
#include "render/M3G_Loader.h"

#include "M3G_RecordIO.h"
#include "core/Assert.h"
#include "render/Appearance.h"
#include "render/Group.h"
#include "render/IndexBuffer.h"
#include "render/Loader_helpers.h"
#include "render/MorphingMesh.h"
#include "render/SkinnedMesh.h"
#include "render/VertexBuffer.h"

namespace render {

namespace {

// Drawing reads the vertex that each index names, so no index may reach the
// vertex count.
void checkIndices(const core::Vector<core::Ref<IndexBuffer>>& indexBuffers, const VertexBuffer& vertices)
{
    const int vertexCount = vertices.getVertexCount();
    for (int i = 0; i < indexBuffers.m_size; ++i) {
        const IndexBuffer& buffer = *indexBuffers[i];
        const unsigned short* indices = buffer.getIndices();
        const int count = buffer.getIndexCount();
        // Only the largest index matters; one pass without an early exit
        // lets the compiler vectorise it.
        unsigned short largest = 0;
        for (int k = 0; k < count; ++k)
            largest = indices[k] > largest ? indices[k] : largest;
        if (count > 0 && largest >= vertexCount)
            parseError("Index of a submesh beyond the vertex count of the mesh.");
    }
}

// The blend reads as many positions of each target as the base has.
void checkMorphTargets(const core::Vector<core::Ref<VertexBuffer>>& targets, const VertexBuffer& base)
{
    for (int i = 0; i < targets.m_size; ++i) {
        const VertexArray* positions = targets[i]->getPositions(nullptr);
        if (positions == nullptr)
            parseError("Morph target has no positions.");
        if (positions->getVertexCount() < base.getVertexCount())
            parseError("Morph target has fewer vertices than the mesh.");
    }
}

// Each run indexes the mesh's vertices; summed in 64 bits, as two numbers
// of the file may pass the int range together.
void checkSkinningRun(const M3G_TransformReference& run, int vertexCount)
{
    if (run.weight < 1)
        parseError("Bone weight less than 1 in SkinnedMesh.");
    if (run.vertexCount == 0 ||
        static_cast<std::uint64_t>(run.firstVertex) + run.vertexCount > static_cast<std::uint64_t>(vertexCount))
        parseError("Bone vertices beyond the vertex count of SkinnedMesh.");
}

} // namespace

// Every mesh's records before its own: read whole, then applied once the
// mesh exists.
struct M3G_Loader::MeshBase {
    M3G_Object3D object3D;
    M3G_Transformable transformable;
    M3G_Node node;
    M3G_Mesh mesh;
    core::Vector<core::Ref<IndexBuffer>> indexBuffers;
    core::Vector<core::Ref<Appearance>> appearances;
    core::Ref<VertexBuffer> vertexBuffer;
};

// ---- records --------------------------------------------------------------------------

void M3G_Loader::check(const M3G_Mesh& record)
{
    if (record.vertexBuffer == 0)
        parseError("Vertex buffer not specified for mesh.");
    if (record.submeshes.m_size == 0)
        parseError("Submeshes not specified for mesh.");
    for (int i = 0; i < record.submeshes.m_size; ++i) {
        if (record.submeshes[i].indexBuffer == 0)
            parseError("Not all index buffers are specified for mesh.");
        if (record.submeshes[i].appearance == 0)
            parseError("Not all appearances are specified for mesh.");
    }
}

// ---- the shared part ------------------------------------------------------------------

void M3G_Loader::readMeshBase(MeshBase& base)
{
    readRecord(base.object3D);
    readRecord(base.transformable);
    readRecord(base.node);
    readRecord(base.mesh);
}

void M3G_Loader::applyMeshBase(Mesh* mesh, const MeshBase& base)
{
    setToClass(mesh, base.object3D);
    setToClass(mesh, base.transformable);
    setToClass(mesh, base.node);
}

// ---- parse functions ------------------------------------------------------------------
//
// Every field is read before any reference is resolved; the base records'
// own references (tracks, alignment nodes) are resolved last, as they are
// applied.

core::Ref<Object3D> M3G_Loader::parseMesh()
{
    MeshBase base;
    readMeshBase(base);
    resolveMeshReferences(base);
    core::Ref<Mesh> mesh = VORNIC3D_NEW Mesh(base.vertexBuffer.get(), base.indexBuffers, base.appearances);
    applyMeshBase(mesh.get(), base);
    return core::Ref<Object3D>(mesh);
}

core::Ref<Object3D> M3G_Loader::parseMorphingMesh()
{
    MeshBase base;
    readMeshBase(base);
    M3G_MorphingMesh record;
    readRecord(record);
    resolveMeshReferences(base);
    core::Vector<core::Ref<VertexBuffer>> targets;
    for (int i = 0; i < record.morphTargets.m_size; ++i)
        targets.pushBack(getRef<VertexBuffer>(record.morphTargets[i].morphTarget));
    checkMorphTargets(targets, *base.vertexBuffer);

    core::Ref<MorphingMesh> mesh =
        VORNIC3D_NEW MorphingMesh(base.vertexBuffer.get(), targets, base.indexBuffers, base.appearances);
    applyMeshBase(mesh.get(), base);
    setToClass(mesh.get(), record);
    return core::Ref<Object3D>(mesh);
}

core::Ref<Object3D> M3G_Loader::parseSkinnedMesh()
{
    MeshBase base;
    readMeshBase(base);
    M3G_SkinnedMesh record;
    readRecord(record);
    resolveMeshReferences(base);
    const core::Ref<Group> skeleton = getRef<Group>(record.skeleton);
    // The mesh becomes the skeleton's parent: a second parent would leave
    // the first one's child list naming a node that no longer names it.
    if (skeleton->getParent() != nullptr)
        parseError("Skeleton of SkinnedMesh already has a parent.");

    core::Ref<SkinnedMesh> mesh =
        VORNIC3D_NEW SkinnedMesh(base.vertexBuffer.get(), base.indexBuffers, base.appearances, skeleton.get());
    applyMeshBase(mesh.get(), base);
    setToClass(mesh.get(), record);
    return core::Ref<Object3D>(mesh);
}

void M3G_Loader::resolveMeshReferences(MeshBase& base)
{
    for (int i = 0; i < base.mesh.submeshes.m_size; ++i) {
        base.indexBuffers.pushBack(getRef<IndexBuffer>(base.mesh.submeshes[i].indexBuffer));
        base.appearances.pushBack(getRef<Appearance>(base.mesh.submeshes[i].appearance));
    }
    base.vertexBuffer = getRef<VertexBuffer>(base.mesh.vertexBuffer);
    checkIndices(base.indexBuffers, *base.vertexBuffer);
}

// ---- class records --------------------------------------------------------------------

void M3G_Loader::setToClass(MorphingMesh* mesh, const M3G_MorphingMesh& record)
{
    VORNIC3D_CHECK(mesh != nullptr);
    core::Vector<float> weights;
    weights.setSize(record.morphTargets.m_size);
    for (int i = 0; i < record.morphTargets.m_size; ++i)
        weights[i] = record.morphTargets[i].initialWeight;
    mesh->setWeights(weights);
}

void M3G_Loader::check(const M3G_SkinnedMesh& record)
{
    if (record.skeleton == 0)
        parseError("No skeleton set for SkinnedMesh.");
}

void M3G_Loader::setToClass(SkinnedMesh* mesh, const M3G_SkinnedMesh& record)
{
    VORNIC3D_CHECK(mesh != nullptr);
    const int vertexCount = mesh->getVertexBuffer()->getVertexCount();
    for (int i = 0; i < record.transformReferences.m_size; ++i) {
        const M3G_TransformReference& run = record.transformReferences[i];
        const core::Ref<Node> bone = getRef<Node>(run.transformNode);
        checkSkinningRun(run, vertexCount);
        const auto first = static_cast<int>(run.firstVertex);
        mesh->addTransform(bone.get(), run.weight, first, static_cast<int>(run.vertexCount));
    }
}

} // namespace render
