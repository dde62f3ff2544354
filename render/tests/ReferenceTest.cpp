#include "SceneGraphTest.h"

#include "render/AnimationController.h"
#include "render/AnimationTrack.h"
#include "render/Appearance.h"
#include "render/Background.h"
#include "render/Camera.h"
#include "render/Fog.h"
#include "render/KeyframeSequence.h"
#include "render/Material.h"
#include "render/MorphingMesh.h"
#include "render/SkinnedMesh.h"
#include "render/TriangleListArray.h"
#include "render/VertexArray.h"
#include "render/VertexBuffer.h"
#include "render/World.h"

#include <vector>

using render::Object3D;
using namespace testsupport;

namespace {

class ReferenceTest : public SceneGraphTest {};

std::vector<Object3D*> referencesOf(Object3D& object)
{
    core::Vector<Object3D*> out;
    const int count = object.getReferences(&out);
    EXPECT_EQ(count, out.m_size);
    return std::vector<Object3D*>(out.m_data, out.m_data + out.m_size);
}

} // namespace

TEST_F(ReferenceTest, EachClassListsItsReferencesInItsOrder)
{
    core::Ref<render::World> world = VORNIC3D_NEW render::World();
    core::Ref<render::Group> child0 = VORNIC3D_NEW render::Group();
    core::Ref<render::Camera> camera = VORNIC3D_NEW render::Camera();
    core::Ref<render::Background> background = VORNIC3D_NEW render::Background();
    world->addChild(child0.get());
    world->setBackground(background.get());
    world->setActiveCamera(camera.get());
    world->addChild(camera.get());
    EXPECT_EQ(outcomeOf([&] { world->setActiveCamera(nullptr); }),
              refused("can not set camera because camera pointer is 0"));
    EXPECT_EQ(referencesOf(*world),
              (std::vector<Object3D*>{background.get(), camera.get(), child0.get(), camera.get()}));
    EXPECT_EQ(referencesOf(*child0), std::vector<Object3D*>{});

    core::Ref<render::Appearance> appearance = VORNIC3D_NEW render::Appearance();
    core::Ref<render::Fog> fog = VORNIC3D_NEW render::Fog();
    core::Ref<render::Material> material = VORNIC3D_NEW render::Material();
    appearance->setFog(fog.get());
    appearance->setMaterial(material.get());
    EXPECT_EQ(referencesOf(*appearance), (std::vector<Object3D*>{material.get(), fog.get()}));

    core::Ref<render::KeyframeSequence> sequence = VORNIC3D_NEW render::KeyframeSequence(1, 1, 176);
    core::Ref<render::AnimationTrack> track = VORNIC3D_NEW render::AnimationTrack(sequence.get(), 256);
    core::Ref<render::AnimationTrack> inner = VORNIC3D_NEW render::AnimationTrack(sequence.get(), 256);
    core::Ref<render::AnimationController> controller = VORNIC3D_NEW render::AnimationController();
    track->addAnimationTrack(inner.get());
    track->setController(controller.get());
    EXPECT_EQ(referencesOf(*track), (std::vector<Object3D*>{controller.get(), inner.get()}));

    // Two submeshes, the second without an appearance.
    core::Ref<render::VertexArray> positions = VORNIC3D_NEW render::VertexArray(3, 3, 2);
    core::Ref<render::VertexBuffer> vertices = VORNIC3D_NEW render::VertexBuffer();
    vertices->setPositions(positions.get(), 1.0f, nullptr);
    EXPECT_EQ(referencesOf(*vertices), std::vector<Object3D*>{positions.get()});
    const unsigned short triangle[] = {0, 1, 2};
    core::Ref<render::IndexBuffer> list0 = VORNIC3D_NEW render::TriangleListArray(triangle, 3);
    core::Ref<render::IndexBuffer> list1 = VORNIC3D_NEW render::TriangleListArray(triangle, 3);
    const auto submeshes = vectorOf(std::vector<core::Ref<render::IndexBuffer>>{list0, list1});
    const auto appearances = vectorOf(std::vector<core::Ref<render::Appearance>>{appearance, nullptr});
    const std::vector<Object3D*> meshReferences = {appearance.get(), list0.get(), list1.get(), vertices.get()};
    core::Ref<render::Mesh> mesh = VORNIC3D_NEW render::Mesh(vertices.get(), submeshes, appearances);
    EXPECT_EQ(referencesOf(*mesh), meshReferences);
    const auto targets = vectorOf(std::vector<core::Ref<render::VertexBuffer>>{vertices});
    core::Ref<render::Mesh> morphing =
        VORNIC3D_NEW render::MorphingMesh(vertices.get(), targets, submeshes, appearances);
    EXPECT_EQ(referencesOf(*morphing), meshReferences);
    core::Ref<render::Group> skeleton = VORNIC3D_NEW render::Group();
    core::Ref<render::Mesh> skinned =
        VORNIC3D_NEW render::SkinnedMesh(vertices.get(), submeshes, appearances, skeleton.get());
    std::vector<Object3D*> skinnedReferences = meshReferences;
    skinnedReferences.push_back(skeleton.get());
    EXPECT_EQ(referencesOf(*skinned), skinnedReferences);
}

TEST_F(ReferenceTest, FailuresKeepWhatWasAppended)
{
    core::Ref<render::Appearance> appearance = VORNIC3D_NEW render::Appearance();
    core::Ref<render::Material> material = VORNIC3D_NEW render::Material();
    appearance->setMaterial(material.get());
    renderer().properties().numTextureUnits = 0;
    core::Vector<Object3D*> out;
    EXPECT_EQ(outcomeOf([&] { appearance->getReferences(&out); }), refused("numTextureUnits has illegal value"));
    EXPECT_EQ(out.m_size, 1);
    EXPECT_EQ(outcomeOf([&] { appearance->getReferences(nullptr); }), bare());
}
