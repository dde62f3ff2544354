// Writing the base records every scene class starts with, and groups.
#include "render/M3G_Loader.h"

#include "M3G_RecordIO.h"
#include "core/Assert.h"
#include "render/AnimationTrack.h"
#include "render/Group.h"
#include "render/Loader_helpers.h"
#include "render/Node.h"
#include "render/Transform.h"
#include "render/World.h"

namespace render {

// ---- Object3D ---------------------------------------------------------------------------

void M3G_Loader::setToStruct(M3G_Object3D& record, Object3D* object)
{
    VORNIC3D_CHECK(object != nullptr);
    record.userID = static_cast<std::uint32_t>(object->getUserID());
    record.animationTracks.setSize(object->getAnimationTrackCount());
    for (int i = 0; i < record.animationTracks.m_size; ++i)
        record.animationTracks[i] = getObjectIndex(object->getAnimationTrack(i));
    // The reader refuses user parameters, so none is ever written.
    if (object->getUserObject() != nullptr)
        parseWarning("user parameters in Object3D is not supported.");
}

// ---- Transformable ----------------------------------------------------------------------

void M3G_Loader::setToStruct(M3G_Transformable& record, Transformable* object)
{
    VORNIC3D_CHECK(object != nullptr);
    // Both parts, always: together they are the whole transform.
    record.hasComponentTransform = true;
    const slmath::vec3& translation = object->getTranslation();
    const slmath::vec3& scale = object->getScale();
    const float* orientation = object->getOrientation();
    for (unsigned i = 0; i < 3; ++i) {
        record.translation[i] = translation[i];
        record.scale[i] = scale[i];
        record.orientationAxis[i] = orientation[i];
    }
    record.orientationAngle = orientation[3];
    record.hasGeneralTransform = true;
    object->getTransform().get(record.transform);
}

// ---- Node -------------------------------------------------------------------------------

void M3G_Loader::setToStruct(M3G_Node& record, Node* object)
{
    VORNIC3D_CHECK(object != nullptr);
    const float alpha = object->getAlphaFactor();
    if (!(alpha >= 0.0f && alpha <= 1.0f))
        parseError("Invalid alpha factor in Node");
    record.enableRendering = object->isRenderingEnabled();
    record.enablePicking = object->isPickingEnabled();
    record.alphaFactor = static_cast<unsigned char>(alpha * 255.0);
    record.scope = static_cast<std::uint32_t>(object->getScope());
    // The node does not tell its reference nodes, so its alignment cannot
    // be written; it reads back unaligned.
    const int zTarget = object->getAlignmentTarget(Node::Z_AXIS);
    const int yTarget = object->getAlignmentTarget(Node::Y_AXIS);
    record.hasAlignment = zTarget != Node::NONE || yTarget != Node::NONE;
    if (record.hasAlignment) {
        parseWarning("Node aligment not supported.");
        record.zTarget = Node::NONE;
        record.yTarget = Node::NONE;
        record.zReference = 0;
        record.yReference = 0;
    }
}

// ---- Group ------------------------------------------------------------------------------

void M3G_Loader::setToStruct(M3G_Group& record, Group* object)
{
    VORNIC3D_CHECK(object != nullptr);
    record.children.setSize(object->getChildCount());
    for (int i = 0; i < record.children.m_size; ++i) {
        const Node* child = object->getChild(i);
        VORNIC3D_CHECK(child != nullptr);
        record.children[i] = getObjectIndex(child);
    }
}

void M3G_Loader::saveGroup(Object3D* object)
{
    // A world is a group with a record of its own.
    Group* group = savedAs<Group>(dynamic_cast<World*>(object) == nullptr ? object : nullptr);
    saveRecords<M3G_Object3D, M3G_Transformable, M3G_Node, M3G_Group>(group);
}

} // namespace render
