#include "render/Object3D_reference_helpers.h"

#include "render/AnimationController.h"
#include "render/AnimationTrack.h"
#include "render/Appearance.h"
#include "render/Background.h"
#include "render/Camera.h"
#include "render/CompositingMode.h"
#include "render/Fog.h"
#include "render/Font2D.h"
#include "render/Graphics3D.h"
#include "render/Graphics3DProperties.h"
#include "render/Group.h"
#include "render/Image2D.h"
#include "render/IndexBuffer.h"
#include "render/Material.h"
#include "render/Mesh.h"
#include "render/PolygonMode.h"
#include "render/SkinnedMesh.h"
#include "render/Sprite3D.h"
#include "render/Text2D.h"
#include "render/Texture2D.h"
#include "render/VertexArray.h"
#include "render/VertexBuffer.h"
#include "render/World.h"

#include "core/Assert.h"

namespace render {

namespace {

// Appends a present reference; 1 when there was one.
int listReference(Object3D* reference, core::Vector<Object3D*>* out)
{
    if (reference == nullptr)
        return 0;
    if (out != nullptr)
        out->pushBack(reference);
    return 1;
}

// Read at every call: the renderer may have been replaced since.
int textureUnitCount()
{
    return Graphics3D::getInstance()->getProperties().numTextureUnits;
}

} // namespace

// ---- dispatch -------------------------------------------------------------------

int getSubRefs(Object3D* object, core::Vector<Object3D*>* out)
{
    if (auto* group = dynamic_cast<Group*>(object))
        return getRefsGroupAndWorld(group, out);
    if (auto* background = dynamic_cast<Background*>(object))
        return getRefsBackground(background, out);
    if (auto* appearance = dynamic_cast<Appearance*>(object))
        return getRefsAppearance(appearance, out);
    if (auto* mesh = dynamic_cast<Mesh*>(object)) {
        const int count = getRefsMesh(mesh, out);
        if (auto* skinned = dynamic_cast<SkinnedMesh*>(mesh))
            return count + getRefsSkinnedMesh(skinned, out);
        return count;
    }
    if (auto* texture = dynamic_cast<Texture2D*>(object))
        return getRefsTexture2D(texture, out);
    if (auto* track = dynamic_cast<AnimationTrack*>(object))
        return getRefsAnimationTrack(track, out);
    if (auto* sprite = dynamic_cast<Sprite3D*>(object))
        return getRefsSprite3D(sprite, out);
    if (auto* text = dynamic_cast<Text2D*>(object))
        return getRefsText2D(text, out);
    if (auto* vertices = dynamic_cast<VertexBuffer*>(object))
        return getRefsVertexBuffer(vertices, out);
    return 0;
}

// ---- reference functions ------------------------------------------------------------

int getRefsGroupAndWorld(Group* group, core::Vector<Object3D*>* out)
{
    VORNIC3D_CHECK(group != nullptr);
    int count = 0;
    if (auto* world = dynamic_cast<World*>(group)) {
        count += listReference(world->getBackground(), out);
        count += listReference(world->getActiveCamera(), out);
    }
    for (int i = 0; i < group->getChildCount(); ++i)
        count += listReference(group->getChild(i), out);
    return count;
}

int getRefsBackground(Background* background, core::Vector<Object3D*>* out)
{
    VORNIC3D_CHECK(background != nullptr);
    return listReference(background->getImage(), out);
}

int getRefsAppearance(Appearance* appearance, core::Vector<Object3D*>* out)
{
    VORNIC3D_CHECK(appearance != nullptr);
    int count = listReference(appearance->getCompositingMode(), out);
    count += listReference(appearance->getMaterial(), out);
    count += listReference(appearance->getPolygonMode(), out);
    const int units = textureUnitCount();
    VORNIC3D_ASSERT(units >= 1, "numTextureUnits has illegal value");
    for (int unit = 0; unit < units; ++unit)
        count += listReference(appearance->getTexture(unit), out);
    count += listReference(appearance->getFog(), out);
    return count;
}

int getRefsMesh(Mesh* mesh, core::Vector<Object3D*>* out)
{
    VORNIC3D_CHECK(mesh != nullptr);
    int count = 0;
    for (int i = 0; i < mesh->getSubmeshCount(); ++i) {
        count += listReference(mesh->getAppearance(i), out);
        count += listReference(mesh->getIndexBuffer(i), out);
    }
    return count + listReference(mesh->getVertexBuffer(), out);
}

int getRefsSkinnedMesh(SkinnedMesh* mesh, core::Vector<Object3D*>* out)
{
    VORNIC3D_CHECK(mesh != nullptr);
    return listReference(mesh->getSkeleton(), out);
}

int getRefsTexture2D(Texture2D* texture, core::Vector<Object3D*>* out)
{
    VORNIC3D_CHECK(texture != nullptr);
    return listReference(texture->getImage(), out);
}

int getRefsAnimationTrack(AnimationTrack* track, core::Vector<Object3D*>* out)
{
    VORNIC3D_CHECK(track != nullptr);
    int count = listReference(track->getController(), out);
    for (int i = 0; i < track->getAnimationTrackCount(); ++i)
        count += listReference(track->getAnimationTrack(i), out);
    return count;
}

int getRefsSprite3D(Sprite3D* sprite, core::Vector<Object3D*>* out)
{
    VORNIC3D_CHECK(sprite != nullptr);
    const int count = listReference(sprite->getAppearance(), out);
    return count + listReference(sprite->getImage(), out);
}

int getRefsText2D(Text2D* text, core::Vector<Object3D*>* out)
{
    VORNIC3D_CHECK(text != nullptr);
    const int count = listReference(text->getFont(), out);
    return count + listReference(text->getAppearance(), out);
}

int getRefsVertexBuffer(VertexBuffer* vertices, core::Vector<Object3D*>* out)
{
    VORNIC3D_CHECK(vertices != nullptr);
    int count = listReference(vertices->getPositions(nullptr), out);
    count += listReference(vertices->getNormals(), out);
    count += listReference(vertices->getColors(), out);
    const int units = textureUnitCount();
    for (int unit = 0; unit < units; ++unit)
        count += listReference(vertices->getTexCoords(unit, nullptr), out);
    return count;
}

} // namespace render
