#include "render/M3G_Loader.h"

#include "core/Assert.h"
#include "render/AnimationTrack.h"
#include "render/Group.h"
#include "render/Loader_helpers.h"
#include "render/M3G_Records.h"
#include "render/Node.h"
#include "render/Transform.h"

namespace render {

namespace {

// The smallest user parameter: its id and the count of its bytes.
constexpr int kUserParameterMinLength = 8;

} // namespace

// ---- Object3D ---------------------------------------------------------------------------

void M3G_Loader::readObject3D(M3G_Object3D& record, core::DataIO& stream)
{
    stream.getStreamData(record.userID);
    stream.getStreamData(record.animationTracks);
    stream.getStreamData(record.userParameterCount);
    requireElements(stream, record.userParameterCount, kUserParameterMinLength);
    record.userParameters.setSize(static_cast<int>(record.userParameterCount));
    for (int i = 0; i < record.userParameters.m_size; ++i) {
        M3G_UserParameter& parameter = record.userParameters[i];
        stream.getStreamData(parameter.parameterID);
        stream.getStreamData(parameter.parameterValue);
    }
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

void M3G_Loader::readObject3DPart(M3G_Object3D& record)
{
    readObject3D(record, *m_sectionStream);
    if (record.userParameterCount != 0)
        parseError("User parameters not yet supported by loader.");
}

void M3G_Loader::parseObject3DPart(Object3D* object)
{
    M3G_Object3D record;
    readObject3DPart(record);
    setToClass(object, record);
}

// ---- Transformable ----------------------------------------------------------------------

void M3G_Loader::readTransformable(M3G_Transformable& record, core::DataIO& stream)
{
    record.hasComponentTransform = readBoolean(stream);
    if (record.hasComponentTransform) {
        for (float& value : record.translation)
            value = readFloat32(stream);
        for (float& value : record.scale)
            value = readFloat32(stream);
        record.orientationAngle = readFloat32(stream);
        for (float& value : record.orientationAxis)
            value = readFloat32(stream);
    }
    record.hasGeneralTransform = readBoolean(stream);
    if (record.hasGeneralTransform) {
        for (float& value : record.transform)
            value = readFloat32(stream);
    }
}

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

void M3G_Loader::parseTransformablePart(Transformable* object)
{
    M3G_Transformable record;
    readTransformable(record, *m_sectionStream);
    setToClass(object, record);
}

// ---- Node -------------------------------------------------------------------------------

void M3G_Loader::readNode(M3G_Node& record, core::DataIO& stream)
{
    record.enableRendering = readBoolean(stream);
    record.enablePicking = readBoolean(stream);
    stream.getStreamData(record.alphaFactor);
    stream.getStreamData(record.scope);
    record.hasAlignment = readBoolean(stream);
    if (record.hasAlignment) {
        stream.getStreamData(record.zTarget);
        stream.getStreamData(record.yTarget);
        stream.getStreamData(record.zReference);
        stream.getStreamData(record.yReference);
    }
}

void M3G_Loader::validateNodeAlignment(const M3G_Node& record)
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

void M3G_Loader::parseNodePart(Node* object)
{
    M3G_Node record;
    readNode(record, *m_sectionStream);
    validateNodeAlignment(record);
    setToClass(object, record);
}

// ---- Group ------------------------------------------------------------------------------

void M3G_Loader::readGroup(M3G_Group& record, core::DataIO& stream)
{
    stream.getStreamData(record.children);
}

void M3G_Loader::setToClass(Group* object, const M3G_Group& record)
{
    VORNIC3D_CHECK(object != nullptr);
    for (int i = 0; i < record.children.m_size; ++i) {
        const core::Ref<Node> child = getRef<Node>(record.children[i]);
        object->addChild(child.get());
    }
}

void M3G_Loader::parseGroupPart(Group* object)
{
    M3G_Group record;
    readGroup(record, *m_sectionStream);
    setToClass(object, record);
}

core::Ref<Object3D> M3G_Loader::parseGroup()
{
    core::Ref<Group> group = VORNIC3D_NEW Group();
    parseObject3DPart(group.get());
    parseTransformablePart(group.get());
    parseNodePart(group.get());
    parseGroupPart(group.get());
    return core::Ref<Object3D>(group);
}

} // namespace render
