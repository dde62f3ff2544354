// Writing meshes; morphing and skinned meshes fill their own records, then stop.
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

#include <cmath>
#include <cstdint>

namespace render {

namespace {

// The bound nodes from `node` down, each with its runs: depth-first in
// child order, the order in which the mesh itself walks its skeleton.
template <typename Visit>
void forEachBinding(const SkinnedMesh& mesh, Node* node, const Visit& visit)
{
    if (const auto* runs = mesh.getBoneWeights(node))
        visit(node, *runs);
    if (const auto* group = dynamic_cast<const Group*>(node)) {
        for (int i = 0; i < group->getChildCount(); ++i)
            forEachBinding(mesh, group->getChild(i), visit);
    }
}

// The weight a run was bound with: the mesh keeps only its share of 65535.
std::int32_t givenWeight(float share)
{
    const double given = std::round(static_cast<double>(share) * 65535.0);
    return given < static_cast<double>(INT32_MAX) ? static_cast<std::int32_t>(given) : INT32_MAX;
}

} // namespace

// ---- records --------------------------------------------------------------------------

void M3G_Loader::setToStruct(M3G_Mesh& record, Mesh* mesh)
{
    VORNIC3D_CHECK(mesh != nullptr);
    record.vertexBuffer = getObjectIndex(mesh->getVertexBuffer());
    record.submeshes.setSize(mesh->getSubmeshCount());
    for (int i = 0; i < record.submeshes.m_size; ++i) {
        record.submeshes[i].indexBuffer = getObjectIndex(mesh->getIndexBuffer(i));
        record.submeshes[i].appearance = getObjectIndex(mesh->getAppearance(i));
    }
}

void M3G_Loader::setToStruct(M3G_MorphingMesh& record, MorphingMesh* mesh)
{
    VORNIC3D_CHECK(mesh != nullptr);
    record.morphTargets.setSize(mesh->getMorphTargetCount());
    for (int i = 0; i < record.morphTargets.m_size; ++i) {
        record.morphTargets[i].morphTarget = getObjectIndex(mesh->getMorphTarget(i));
        record.morphTargets[i].initialWeight = mesh->getWeights()[i];
    }
}

void M3G_Loader::setToStruct(M3G_SkinnedMesh& record, SkinnedMesh* mesh)
{
    VORNIC3D_CHECK(mesh != nullptr);
    Group* skeleton = mesh->getSkeleton();
    record.skeleton = getObjectIndex(skeleton);
    forEachBinding(*mesh, skeleton, [&](Node* bone, const core::Vector<SkinnedMesh::WeightInfo>& runs) {
        const std::uint32_t position = getObjectIndex(bone);
        for (int i = 0; i < runs.m_size; ++i) {
            M3G_TransformReference reference;
            reference.transformNode = position;
            reference.firstVertex = static_cast<std::uint32_t>(runs[i].firstVertex);
            reference.vertexCount = static_cast<std::uint32_t>(runs[i].vertexCount);
            reference.weight = givenWeight(runs[i].weight);
            record.transformReferences.pushBack(reference);
        }
    });
}

// ---- save members ---------------------------------------------------------------------

void M3G_Loader::saveMesh(Object3D* object)
{
    saveRecords<M3G_Object3D, M3G_Transformable, M3G_Node, M3G_Mesh>(savedAs<Mesh>(object));
}

void M3G_Loader::saveMorphingMesh(Object3D* object)
{
    refuseRecord<M3G_MorphingMesh, M3G_Object3D, M3G_Transformable, M3G_Node, M3G_Mesh>(savedAs<MorphingMesh>(object),
                                                                                        "Not tested!");
}

void M3G_Loader::saveSkinnedMesh(Object3D* object)
{
    refuseRecord<M3G_SkinnedMesh, M3G_Object3D, M3G_Transformable, M3G_Node, M3G_Mesh>(savedAs<SkinnedMesh>(object),
                                                                                       "No implementation!");
}

} // namespace render
