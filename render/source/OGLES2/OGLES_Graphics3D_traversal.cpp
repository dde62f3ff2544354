// The drawing entry points, the walk over the scene graph and the camera's
// projection.
#include "OGLES2/GLMatrix.h"
#include "OGLES2/HWCheck.h"
#include "OGLES2/OGLES_Graphics3D.h"

#include "render/Appearance.h"
#include "render/Camera.h"
#include "render/Group.h"
#include "render/Image2D.h"
#include "render/Light.h"
#include "render/Mesh.h"
#include "render/SkinnedMesh.h"
#include "render/Sprite3D.h"
#include "render/Text2D.h"
#include "render/Texture2D.h"
#include "render/World.h"

#include "core/Assert.h"

#include <GLES/gl.h>

#include <typeinfo>

namespace render {

namespace {

// A node's composite transform by value.
Transform compositeOf(const Transformable& node)
{
    Transform result;
    node.getCompositeTransform(&result);
    return result;
}

// The node's transform to the world, as the walk composes it for the nodes
// it draws: its own composite after those of its ancestors below the world
// (up to the root, for a node outside it).
Transform worldTransformOf(const Node& node, const World& world)
{
    Transform result = compositeOf(node);
    for (const Node* parent = node.getParent(); parent != nullptr && parent != &world; parent = parent->getParent()) {
        Transform above = compositeOf(*parent);
        above.postMultiply(result);
        result = above;
    }
    return result;
}

} // namespace

// ---- entry points -----------------------------------------------------------------------

// Camera and lights are loaded once for the whole world; a failure part-way
// hands later draws back their own loading.
void OGLES_Graphics3D::render(World* world)
{
    VORNIC3D_ASSERT(world != nullptr, "world parameter is 0");
    Camera* camera = world->getActiveCamera();
    VORNIC3D_ASSERT(camera != nullptr, "World does not have an active camera");
    // A camera inside a group looks from where its groups put it.
    setCamera(camera, worldTransformOf(*camera, *world));
    resetLights();
    clear(world->getBackground());
    findLights(world, nullptr, Transform());

    VORNIC3D_CHECK(m_loadLights && m_loadProjection);
    try {
        // The camera first: the lights are placed with its view.
        handleCamera(-1);
        m_loadProjection = false;
        handleLights(-1);
        m_loadLights = false;
        for (int i = 0; i < world->getChildCount(); ++i) {
            Node* child = world->getChild(i);
            VORNIC3D_CHECK(child != nullptr);
            if (isDrawnInGroups(kindOf(child)))
                renderNode(child, compositeOf(*child));
        }
    } catch (...) {
        m_loadLights = true;
        m_loadProjection = true;
        throw;
    }
    m_loadLights = true;
    m_loadProjection = true;
}

void OGLES_Graphics3D::render(Node* node, const Transform& transform)
{
    VORNIC3D_ASSERT(node != nullptr, "node parameter is 0");
    renderNode(node, transform);
}

void OGLES_Graphics3D::render(VertexBuffer* vertices, IndexBuffer* triangles, Appearance* appearance,
                              const Transform& transform, int scope)
{
    VORNIC3D_ASSERT(vertices != nullptr, "vertices parameter is 0");
    VORNIC3D_ASSERT(triangles != nullptr, "triangles parameter is 0");
    VORNIC3D_ASSERT(appearance != nullptr, "appearance parameter is 0");
    lowLevelRender(vertices, triangles, appearance, transform, scope);
}

void OGLES_Graphics3D::render(VertexBuffer* vertices, IndexBuffer* triangles, Appearance* appearance,
                              const Transform& transform)
{
    render(vertices, triangles, appearance, transform, -1);
}

// The texture as a quad of its image's size centred on the transform's
// origin, in the current parallel camera's space, or in screen pixels
// (the quad camera's) under a perspective camera or none.
void OGLES_Graphics3D::render(Texture2D* texture, const Transform& transform, Appearance* appearance)
{
    VORNIC3D_ASSERT(texture != nullptr, "render failed because texture parameter is 0");
    VORNIC3D_CHECK(m_quadMesh != nullptr);
    Transform savedTransform;
    const core::Ref<Camera> savedCamera = getCamera(&savedTransform);
    const int projection =
        savedCamera != nullptr ? savedCamera->getProjectionParameters(nullptr) : static_cast<int>(Camera::PERSPECTIVE);

    // Held here: while the application's appearance stands in, the mesh no
    // longer holds its own.
    const core::Ref<Appearance> own = m_quadMesh->getAppearance(0);
    Appearance* used = appearance != nullptr ? appearance : own.get();
    VORNIC3D_CHECK(used != nullptr && (appearance != nullptr || used->getCompositingMode() != nullptr));
    const Image2D* image = texture->getImage();
    VORNIC3D_CHECK(image != nullptr);

    const core::Ref<Texture2D> savedTexture = used->getTexture(0);
    used->setTexture(0, texture);
    if (projection == Camera::PERSPECTIVE)
        setCamera(m_quadCamera.get(), Transform());
    const auto width = static_cast<float>(image->getWidth());
    const auto height = static_cast<float>(image->getHeight());
    Transform placement(transform);
    placement.postTranslate(-width / 2.0f, -height / 2.0f, 0.0f);
    placement.postScale(width, height, 1.0f);
    if (used != own)
        m_quadMesh->setAppearance(0, used);

    const auto restore = [&] {
        if (used != own)
            m_quadMesh->setAppearance(0, own.get());
        if (projection == Camera::PERSPECTIVE)
            setCamera(savedCamera.get(), savedTransform);
        used->setTexture(0, savedTexture.get());
    };
    try {
        render(m_quadMesh.get(), placement);
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

// ---- the walk ---------------------------------------------------------------------------

void OGLES_Graphics3D::renderNode(Node* node, const Transform& transform)
{
    VORNIC3D_ASSERT(node != nullptr, "node parameter is 0");
    const NodeKind kind = kindOf(node);
    VORNIC3D_CHECK(kind != NodeKind::OTHER);
    VORNIC3D_ASSERT(m_camera != nullptr, "Graphics3D : active camera is missing");
    if (!node->isRenderingEnabled())
        return;

    if (kind == NodeKind::TEXT) {
        handleText2D(static_cast<Text2D*>(node), transform);
    } else if (kind == NodeKind::SPRITE) {
        handleSprite3D(static_cast<Sprite3D*>(node), transform);
    } else if (kind == NodeKind::MESH || kind == NodeKind::SKINNED_MESH) {
        auto* mesh = static_cast<Mesh*>(node);
        auto* skinned = kind == NodeKind::SKINNED_MESH ? static_cast<SkinnedMesh*>(mesh) : nullptr;
        // The skin follows the bones' pose of this frame.
        if (skinned != nullptr)
            skinned->calcVertices_for_testing();
        for (int i = 0; i < mesh->getSubmeshCount(); ++i)
            lowLevelRender(mesh->getVertexBuffer(), mesh->getIndexBuffer(i), mesh->getAppearance(i), transform,
                           mesh->getScope());
        // The skeleton hangs below the mesh, and bones may carry meshes of
        // their own: they stand where the skin's bones do.
        if (skinned != nullptr) {
            Group* skeleton = skinned->getSkeleton();
            Transform skeletonTransform(transform);
            skeletonTransform.postMultiply(compositeOf(*skeleton));
            renderNode(skeleton, skeletonTransform);
        }
        if (m_config.debug_meshes)
            renderDebugMesh(mesh, transform);
    } else {
        VORNIC3D_ASSERT(kind == NodeKind::GROUP, "render failed! invalid node information");
        auto* group = static_cast<Group*>(node);
        for (int i = 0; i < group->getChildCount(); ++i) {
            Node* child = group->getChild(i);
            if (!isDrawnInGroups(kindOf(child)) || (child->getScope() & group->getScope()) == 0)
                continue;
            Transform childTransform(transform);
            childTransform.postMultiply(compositeOf(*child));
            renderNode(child, childTransform);
        }
    }
}

// The casts exclude each other but for the skinned mesh, which is a mesh;
// a frame draws long runs of nodes of one class (the game's sprites), for
// which one comparison of their type stands for the casts.
OGLES_Graphics3D::NodeKind OGLES_Graphics3D::classify(Node* node, const std::type_info* type)
{
    NodeKind kind = NodeKind::OTHER;
    if (dynamic_cast<Sprite3D*>(node) != nullptr)
        kind = NodeKind::SPRITE;
    else if (dynamic_cast<Text2D*>(node) != nullptr)
        kind = NodeKind::TEXT;
    else if (dynamic_cast<SkinnedMesh*>(node) != nullptr)
        kind = NodeKind::SKINNED_MESH;
    else if (dynamic_cast<Mesh*>(node) != nullptr)
        kind = NodeKind::MESH;
    else if (dynamic_cast<Group*>(node) != nullptr)
        kind = NodeKind::GROUP;
    m_lastNodeType = type;
    m_lastNodeKind = kind;
    return kind;
}

bool OGLES_Graphics3D::isDrawnInGroups(NodeKind kind)
{
    return kind == NodeKind::SPRITE || kind == NodeKind::MESH || kind == NodeKind::SKINNED_MESH ||
           kind == NodeKind::GROUP;
}

void OGLES_Graphics3D::findLights(World* world, Group* group, const Transform& parentTransform)
{
    VORNIC3D_CHECK(world != nullptr);
    Group* walked = group != nullptr ? group : world;
    for (int i = 0; i < walked->getChildCount(); ++i) {
        Node* child = walked->getChild(i);
        VORNIC3D_CHECK(child != nullptr);
        if (auto* light = dynamic_cast<Light*>(child)) {
            addLight(light, parentTransform);
        } else if (auto* childGroup = dynamic_cast<Group*>(child)) {
            Transform childTransform(parentTransform);
            childTransform.postMultiply(compositeOf(*childGroup));
            findLights(world, childGroup, childTransform);
        }
    }
}

// ---- camera -------------------------------------------------------------------------------

// The projection matrix holds the projection alone and the view goes into
// every model-view matrix (loadModelView), so that the device lights, shades
// and fogs in eye space: with the view in the projection it would do so in
// world space, as seen from the world's z axis and measured from its origin.
void OGLES_Graphics3D::handleCamera(int scope)
{
    if (!m_loadProjection)
        return;
    VORNIC3D_ASSERT(m_camera != nullptr, "handleCamera failed. camera is missing");
    if ((m_camera->getScope() & scope) == 0)
        return;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    Transform projection;
    m_camera->getProjection(&projection);
    Transform view(m_cameraTransform);
    view.invert();
    multiplyGLMatrix(projection);
    m_viewTransform = view;
}

} // namespace render
