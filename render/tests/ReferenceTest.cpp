#include "SceneGraphTest.h"

#include "render/AnimationController.h"
#include "render/AnimationTrack.h"
#include "render/Appearance.h"
#include "render/Background.h"
#include "render/Camera.h"
#include "render/CompositingMode.h"
#include "render/Fog.h"
#include "render/Graphics3D.h"
#include "render/Group.h"
#include "render/Image2D.h"
#include "render/KeyframeSequence.h"
#include "render/Light.h"
#include "render/Material.h"
#include "render/Object3D_reference_helpers.h"
#include "render/PolygonMode.h"
#include "render/Texture2D.h"
#include "render/World.h"

#include <functional>
#include <vector>

using render::Object3D;
using testsupport::bare;
using testsupport::outcomeOf;
using testsupport::refused;

namespace {

class ReferenceTest : public testsupport::SceneGraphTest {
protected:
    // Objects the cases refer to; held here, so the listed pointers stay valid.
    template <typename T>
    T* keep(T* object)
    {
        m_kept.push_back(core::Ref<Object3D>(object));
        return object;
    }
    void TearDown() override
    {
        m_kept.clear();
        SceneGraphTest::TearDown();
    }

private:
    std::vector<core::Ref<Object3D>> m_kept;
};

std::vector<Object3D*> listOf(const core::Vector<Object3D*>& v)
{
    return std::vector<Object3D*>(v.m_data, v.m_data + v.m_size);
}

} // namespace

TEST_F(ReferenceTest, EachClassListsItsReferencesInItsOrder)
{
    auto* image = keep(VORNIC3D_NEW render::Image2D(render::Image2D::RGB, 4, 4));
    auto* camera = keep(VORNIC3D_NEW render::Camera());
    auto* light = keep(VORNIC3D_NEW render::Light());
    auto* background = keep(VORNIC3D_NEW render::Background());
    auto* child = keep(VORNIC3D_NEW render::Group());
    auto* texture = keep(render::Graphics3D::getInstance()->createNewTexture());
    auto* compositing = keep(VORNIC3D_NEW render::CompositingMode());
    auto* material = keep(VORNIC3D_NEW render::Material());
    auto* polygon = keep(VORNIC3D_NEW render::PolygonMode());
    auto* fog = keep(VORNIC3D_NEW render::Fog());
    auto* sequence = keep(VORNIC3D_NEW render::KeyframeSequence(1, 1, 176));
    auto* controller = keep(VORNIC3D_NEW render::AnimationController());
    auto* inner = keep(VORNIC3D_NEW render::AnimationTrack(sequence, 256));

    const struct {
        const char* object;
        std::function<Object3D*()> make;
        std::vector<Object3D*> references;
    } cases[] = {
        {"world: background, camera, children",
         [&] {
             auto* world = keep(VORNIC3D_NEW render::World());
             world->addChild(light);
             world->setBackground(background);
             world->setActiveCamera(camera);
             world->addChild(child);
             return world;
         },
         {background, camera, light, child}},
        {"world without camera and background", [&] { return keep(VORNIC3D_NEW render::World()); }, {}},
        {"empty group", [&] { return keep(VORNIC3D_NEW render::Group()); }, {}},
        {"camera", [&] { return keep(VORNIC3D_NEW render::Camera()); }, {}},
        {"background with an image",
         [&] {
             auto* b = keep(VORNIC3D_NEW render::Background());
             b->setImage(image);
             return b;
         },
         {image}},
        {"appearance: components, textures, fog",
         [&] {
             auto* a = keep(VORNIC3D_NEW render::Appearance());
             a->setFog(fog);
             a->setTexture(0, texture);
             a->setPolygonMode(polygon);
             a->setMaterial(material);
             a->setCompositingMode(compositing);
             return a;
         },
         {compositing, material, polygon, texture, fog}},
        {"appearance with a material only",
         [&] {
             auto* a = keep(VORNIC3D_NEW render::Appearance());
             a->setMaterial(material);
             return a;
         },
         {material}},
        {"texture with an image",
         [&] {
             texture->setImage(image);
             return texture;
         },
         {image}},
        {"track: controller, then its own tracks",
         [&] {
             auto* t = keep(VORNIC3D_NEW render::AnimationTrack(sequence, 260));
             t->addAnimationTrack(inner);
             t->setController(controller);
             t->addAnimationTrack(inner);
             return t;
         },
         {controller, inner, inner}},
        {"keyframe sequence", [&] { return sequence; }, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.object);
        Object3D* object = c.make();
        std::vector<Object3D*> expected = c.references;
        core::Vector<Object3D*> out;
        out.pushBack(image);
        EXPECT_EQ(object->getReferences(&out), static_cast<int>(expected.size()));
        expected.insert(expected.begin(), image);
        EXPECT_EQ(listOf(out), expected);
        EXPECT_EQ(render::getSubRefs(object, nullptr), static_cast<int>(expected.size()) - 1);
    }
}

TEST_F(ReferenceTest, FailuresKeepWhatWasAppended)
{
    core::Ref<render::Appearance> appearance = VORNIC3D_NEW render::Appearance();
    core::Ref<render::Material> material = VORNIC3D_NEW render::Material();
    appearance->setMaterial(material.get());
    renderer().properties().numTextureUnits = 0;
    core::Vector<Object3D*> out;
    EXPECT_EQ(outcomeOf([&] { appearance->getReferences(&out); }), refused("numTextureUnits has illegal value"));
    EXPECT_EQ(listOf(out), std::vector<Object3D*>{material.get()});

    EXPECT_EQ(outcomeOf([&] { appearance->getReferences(nullptr); }), bare());
    EXPECT_EQ(outcomeOf([] { render::getRefsGroupAndWorld(nullptr, nullptr); }), bare());
    EXPECT_EQ(outcomeOf([] { render::getRefsAnimationTrack(nullptr, nullptr); }), bare());
}
