// Reading the base records every scene class starts with, and groups.
#include "render/M3G_Loader.h"

#include "M3G_RecordIO.h"
#include "core/Assert.h"
#include "render/AnimationTrack.h"
#include "render/Group.h"
#include "render/Loader_helpers.h"
#include "render/Node.h"
#include "render/Transform.h"

namespace render {

// ---- Object3D ---------------------------------------------------------------------------

void M3G_Loader::check(const M3G_Object3D& record)
{
    if (record.userParameters.m_size != 0)
        parseError("User parameters not yet supported by loader.");
}

void M3G_Loader::setToClass(Object3D* object, const M3G_Object3D& record)
{
    VORNIC3D_CHECK(object != nullptr);
    for (int i = 0; i < record.animationTracks.m_size; ++i) {
        const core::Ref<AnimationTrack> track = getRef<AnimationTrack>(record.animationTracks[i]);
        object->addAnimationTrack(track.get());
    }
    object->setUserID(static_cast<int>(record.userID));
}

// ---- Transformable ----------------------------------------------------------------------

void M3G_Loader::setToClass(Transformable* object, const M3G_Transformable& record)
{
    VORNIC3D_CHECK(object != nullptr);
    if (record.hasComponentTransform) {
        object->setTranslation(record.translation[0], record.translation[1], record.translation[2]);
        object->setScale(record.scale[0], record.scale[1], record.scale[2]);
        // No rotation, written as a zero axis: the setter cannot normalise
        // that axis, and the orientation as constructed already means it.
        const float* axis = record.orientationAxis;
        const bool zeroAxis = axis[0] == 0.0f && axis[1] == 0.0f && axis[2] == 0.0f;
        const bool noRotation = zeroAxis && record.orientationAngle == 0.0f;
        if (!noRotation)
            object->setOrientation(record.orientationAngle, axis[0], axis[1], axis[2]);
    }
    if (record.hasGeneralTransform) {
        Transform transform;
        transform.set(record.transform);
        object->setTransform(transform);
    }
}

// ---- Node -------------------------------------------------------------------------------

void M3G_Loader::check(const M3G_Node& record)
{
    if (!record.hasAlignment)
        return;
    const int z = record.zTarget;
    const int y = record.yTarget;
    if (z != Node::NONE && z != Node::ORIGIN && z != Node::Z_AXIS)
        parseError("Node aligment: Invalid z-target axis");
    if (y != Node::NONE && y != Node::ORIGIN && y != Node::Y_AXIS)
        parseError("Node aligment: Invalid y-target axis");
    if (z == Node::Z_AXIS && record.zReference == 0)
        parseWarning("Node aligment: z-axis reference object is 0 when z-target is Z_AXIS");
    if (y == Node::Y_AXIS && record.yReference == 0)
        parseWarning("Node aligment: y-axis reference object is 0 when y-target is Y_AXIS");
    if (z == Node::ORIGIN && record.zReference != 0)
        parseWarning("Node aligment: z-axis reference object is not 0 when z-target is ORIGIN");
    if (y == Node::ORIGIN && record.yReference != 0)
        parseWarning("Node aligment: y-axis reference object is not 0 when y-target is ORIGIN");
}

void M3G_Loader::setToClass(Node* object, const M3G_Node& record)
{
    VORNIC3D_CHECK(object != nullptr);
    object->setRenderingEnable(record.enableRendering);
    object->setPickingEnable(record.enablePicking);
    object->setScope(static_cast<int>(record.scope));
    // The single nearest 1/255, so that 255 gives exactly 1.
    object->setAlphaFactor(static_cast<float>(record.alphaFactor) * (1.0f / 255.0f));
    if (record.hasAlignment) {
        core::Ref<Node> zReference;
        core::Ref<Node> yReference;
        if (record.zReference != 0)
            zReference = getRef<Node>(record.zReference);
        if (record.yReference != 0)
            yReference = getRef<Node>(record.yReference);
        object->setAlignment(zReference.get(), record.zTarget, yReference.get(), record.yTarget);
    }
}

// ---- Group ------------------------------------------------------------------------------

void M3G_Loader::setToClass(Group* object, const M3G_Group& record)
{
    VORNIC3D_CHECK(object != nullptr);
    for (int i = 0; i < record.children.m_size; ++i) {
        const core::Ref<Node> child = getRef<Node>(record.children[i]);
        object->addChild(child.get());
    }
}

core::Ref<Object3D> M3G_Loader::parseGroup()
{
    return parseRecords<M3G_Object3D, M3G_Transformable, M3G_Node, M3G_Group>(VORNIC3D_NEW Group());
}

} // namespace render
