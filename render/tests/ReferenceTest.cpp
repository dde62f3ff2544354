#include "SceneGraphTest.h"

#include "render/AnimationController.h"
#include "render/AnimationTrack.h"
#include "render/Appearance.h"
#include "render/Background.h"
#include "render/Camera.h"
#include "render/CompositingMode.h"
#include "render/Fog.h"
#include "render/Font2D.h"
#include "render/Graphics3D.h"
#include "render/Group.h"
#include "render/Image2D.h"
#include "render/KeyframeSequence.h"
#include "render/Light.h"
#include "render/Material.h"
#include "render/MorphingMesh.h"
#include "render/Object3D_reference_helpers.h"
#include "render/PolygonMode.h"
#include "render/SkinnedMesh.h"
#include "render/Sprite3D.h"
#include "render/Text2D.h"
#include "render/Texture2D.h"
#include "render/TriangleListArray.h"
#include "render/VertexArray.h"
#include "render/VertexBuffer.h"
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

// The bitmap font's place: a text needs some font.
struct SquareFont : render::Font2D {
    int getSizeX() override { return 8; }
    int getSizeY() override { return 8; }
};

template <typename T>
core::Vector<core::Ref<T>> vectorOf(const std::vector<T*>& objects)
{
    core::Vector<core::Ref<T>> v;
    for (T* object : objects)
        v.pushBack(core::Ref<T>(object));
    return v;
}

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
    auto* positions = keep(VORNIC3D_NEW render::VertexArray(3, 3, 2));
    auto* normals = keep(VORNIC3D_NEW render::VertexArray(3, 3, 2));
    auto* colors = keep(VORNIC3D_NEW render::VertexArray(3, 4, 1));
    auto* coordinates = keep(VORNIC3D_NEW render::VertexArray(3, 2, 2));
    auto* vertices = keep(VORNIC3D_NEW render::VertexBuffer());
    vertices->setPositions(positions, 1.0f, nullptr);
    auto* target = keep(VORNIC3D_NEW render::VertexBuffer());
    target->setPositions(positions, 1.0f, nullptr);
    const unsigned short triangle[] = {0, 1, 2};
    auto* triangles0 = keep(VORNIC3D_NEW render::TriangleListArray(triangle, 3));
    auto* triangles1 = keep(VORNIC3D_NEW render::TriangleListArray(triangle, 3));
    auto* appearance0 = keep(VORNIC3D_NEW render::Appearance());
    auto* appearance1 = keep(VORNIC3D_NEW render::Appearance());
    const auto submeshes = vectorOf<render::IndexBuffer>({triangles0, triangles1});
    const auto appearances = vectorOf<render::Appearance>({appearance0, appearance1});
    auto* skeleton = keep(VORNIC3D_NEW render::Group());
    auto* font = keep(VORNIC3D_NEW SquareFont());

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
        {"mesh: each submesh's appearance and triangles, then the vertices",
         [&] { return keep(VORNIC3D_NEW render::Mesh(vertices, submeshes, appearances)); },
         {appearance0, triangles0, appearance1, triangles1, vertices}},
        {"skinned mesh: the skeleton last",
         [&] { return keep(VORNIC3D_NEW render::SkinnedMesh(vertices, submeshes, appearances, skeleton)); },
         {appearance0, triangles0, appearance1, triangles1, vertices, skeleton}},
        {"morphing mesh: no targets",
         [&] {
             const auto targets = vectorOf<render::VertexBuffer>({target});
             return keep(VORNIC3D_NEW render::MorphingMesh(vertices, targets, submeshes, appearances));
         },
         {appearance0, triangles0, appearance1, triangles1, vertices}},
        {"vertex buffer: positions, normals, colours, coordinates",
         [&] {
             auto* v = keep(VORNIC3D_NEW render::VertexBuffer());
             v->setTexCoords(0, coordinates, 1.0f, nullptr);
             v->setColors(colors);
             v->setNormals(normals);
             v->setPositions(positions, 1.0f, nullptr);
             return v;
         },
         {positions, normals, colors, coordinates}},
        {"sprite: appearance, image",
         [&] { return keep(VORNIC3D_NEW render::Sprite3D(true, image, appearance0)); }, {appearance0, image}},
        {"text: font, appearance",
         [&] {
             auto* t = keep(VORNIC3D_NEW render::Text2D(true));
             t->setFont(font);
             return t;
         },
         {font, nullptr}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.object);
        Object3D* object = c.make();
        std::vector<Object3D*> expected = c.references;
        // A text's own appearance is known only once it is made.
        for (Object3D*& e : expected)
            if (e == nullptr)
                e = dynamic_cast<render::Text2D&>(*object).getAppearance();
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
