// Writing meshes; morphing and skinned meshes stop before their own records.
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
    // The mesh does not tell its bone runs: only the skeleton is filled.
    record.skeleton = getObjectIndex(mesh->getSkeleton());
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
