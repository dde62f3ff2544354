#include "M3G_LoaderFixture.h"

#include "core/Debug.h"
#include "render/AnimationController.h"
#include "render/Appearance.h"
#include "render/Background.h"
#include "render/Camera.h"
#include "render/CompositingMode.h"
#include "render/Fog.h"
#include "render/Graphics3D.h"
#include "render/Image2D.h"
#include "render/IndexBuffer.h"
#include "render/Light.h"
#include "render/Material.h"
#include "render/Mesh.h"
#include "render/PolygonMode.h"
#include "render/SkinnedMesh.h"
#include "render/Sprite3D.h"
#include "render/Texture2D.h"
#include "render/Transform.h"
#include "render/TriangleStripArray.h"
#include "render/VertexArray.h"
#include "render/VertexBuffer.h"
#include "render/World.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

using namespace testsupport;
using namespace render;

namespace {

using Type = M3G_ObjectType;

// One object of a file with its object type; the file's objects in order.
struct Entry {
    Type type;
    core::Ref<Object3D> object;
};
using Scene = std::vector<Entry>;

// Writes every record of `scene` with one writer whose index table follows
// the file (nil, header, then the objects), each framed with its type and
// length into `objects` and kept bare in `records`. `room` bounds each
// record. A refusal ends the writing: its text is the result and `objects`
// holds what the refused record wrote.
std::string writeScene(const Scene& scene, Bytes& objects, std::vector<Bytes>* records = nullptr, int room = 4096)
{
    M3G_Loader writer;
    writer.addToIndexTable(nullptr);
    writer.addToIndexTable(nullptr);
    for (const Entry& entry : scene) {
        writer.addToIndexTable(entry.object.get());
        Bytes record(static_cast<std::size_t>(room));
        core::Ref<core::DataIO> stream(VORNIC3D_NEW core::DataIO(record.data(), room));
        writer.setSectionStream(stream.get());
        try {
            writer.saveObject(entry.type, entry.object.get());
        } catch (const Vornic3DException& e) {
            objects.assign(record.begin(), record.end() - stream->bytesLeft);
            return e.message;
        }
        record.resize(record.size() - static_cast<std::size_t>(stream->bytesLeft));
        objects = joined({objects, m3gObject(static_cast<int>(entry.type), record)});
        if (records != nullptr)
            records->push_back(record);
    }
    return "";
}

// Every object the roots hold, by its user id.
void collect(Object3D* object, std::map<int, Object3D*>& byID)
{
    byID[object->getUserID()] = object;
    core::Vector<Object3D*> references;
    object->getReferences(&references);
    for (int i = 0; i < references.m_size; ++i)
        collect(references[i], byID);
}

template <typename T, typename... Args>
core::Ref<T> make(Args... args)
{
    return core::Ref<T>(VORNIC3D_NEW T(args...));
}

template <typename Value>
core::Ref<VertexArray> array(int components, const std::vector<Value>& values)
{
    const int vertices = static_cast<int>(values.size()) / components;
    auto made = make<VertexArray>(vertices, components, static_cast<int>(sizeof(Value)));
    made->set(0, vertices, values.data());
    return made;
}

core::Ref<Image2D> image(int format, int width, int height, bool palette = false)
{
    const Bytes pixels(static_cast<std::size_t>(width * height * 4), 3);
    const Bytes colours(256 * 4, 9);
    if (palette)
        return make<Image2D>(format, width, height, pixels.data(), colours.data());
    return make<Image2D>(format, width, height, pixels.data());
}

core::Ref<Texture2D> texture(Image2D* image)
{
    core::Ref<Texture2D> made(Graphics3D::getInstance()->createNewTexture());
    made->setImage(image);
    return made;
}

// A strip of five indices: three triangles, the middle one turned.
core::Ref<TriangleStripArray> strips()
{
    const unsigned short indices[] = {0, 1, 2, 3, 0};
    const int lengths[] = {5};
    return make<TriangleStripArray>(indices, lengths, 1);
}

// A scene of every scene class: the background's image (2), the background
// (3), a generic (4) and a perspective camera (5), a light (6), a group
// holding the light (7), a world holding the camera and the group (8) and a
// parallel camera (9).
Scene sceneClasses()
{
    const auto picture = image(Image2D::RGBA, 4, 4);
    auto background = make<Background>();
    background->setColor(0x80402010);
    background->setImage(picture.get());
    background->setImageMode(Background::REPEAT, Background::BORDER);
    background->setCrop(1, 1, 2, 2);
    background->setDepthClearEnable(false);
    auto generic = make<Camera>();
    Transform projection;
    projection.postTranslate(1, 2, 3);
    generic->setGeneric(projection);
    auto camera = make<Camera>();
    camera->setPerspective(60, 1.5f, 1, 100);
    auto parallel = make<Camera>();
    parallel->setParallel(10, 2, 1, 100);
    auto light = make<Light>();
    light->setMode(Light::SPOT);
    light->setAttenuation(1, 0.5f, 0.25f);
    light->setColor(0x102030);
    light->setIntensity(2);
    light->setSpotAngle(30);
    light->setSpotExponent(64);
    auto group = make<Group>();
    group->addChild(light.get());
    group->setTranslation(1, 2, 3);
    group->setScale(4, 5, 6);
    group->setOrientation(90, 0, 0, 2);
    Transform transform;
    const float rows[16] = {1, 0, 0, 7, 0, 1, 0, 8, 0, 0, 1, 9, 0, 0, 0, 1};
    transform.set(rows);
    group->setTransform(transform);
    group->setAlphaFactor(0.2f);
    group->setRenderingEnable(false);
    group->setPickingEnable(false);
    group->setScope(5);
    auto world = make<World>();
    world->addChild(camera.get());
    world->addChild(group.get());
    world->setActiveCamera(camera.get());
    world->setBackground(background.get());
    return {{Type::IMAGE_2D, picture}, {Type::BACKGROUND, background}, {Type::CAMERA, generic},
            {Type::CAMERA, camera},    {Type::LIGHT, light},           {Type::GROUP, group},
            {Type::WORLD, world},      {Type::CAMERA, parallel}};
}

// The appearance classes: a compositing mode (2), two fogs (3, 4), a polygon
// mode (5), a material (6), an image (7), its texture (8) and an appearance
// of all of them but the first fog, its texture on unit 1 (9).
Scene appearanceClasses()
{
    auto compositing = make<CompositingMode>();
    compositing->setDepthTestEnable(false);
    compositing->setColorWriteEnable(false);
    compositing->setBlending(CompositingMode::MODULATE_X2);
    compositing->setAlphaThreshold(0.5f);
    compositing->setDepthOffset(-0.0f, 2.5f);
    auto dense = make<Fog>();
    dense->setDensity(0.5f);
    auto fog = make<Fog>();
    fog->setColor(0x010203);
    fog->setMode(Fog::LINEAR);
    fog->setLinear(1, 50);
    auto polygon = make<PolygonMode>();
    polygon->setCulling(PolygonMode::CULL_FRONT);
    polygon->setShading(PolygonMode::SHADE_FLAT);
    polygon->setWinding(PolygonMode::WINDING_CW);
    polygon->setTwoSidedLightingEnabled(true);
    polygon->setPerspectiveCorrectionEnabled(true);
    auto material = make<Material>();
    material->setColor(Material::AMBIENT, 0x010203);
    material->setColor(Material::DIFFUSE, 0x04050607);
    material->setColor(Material::EMISSIVE, 0x08090A);
    material->setColor(Material::SPECULAR, 0x0B0C0D);
    material->setShininess(20);
    material->setVertexColorTrackingEnabled(true);
    const auto picture = image(Image2D::RGB, 2, 2);
    auto sampler = texture(picture.get());
    sampler->setTranslation(0.5f, 0, 0);
    sampler->setBlendColor(0x112233);
    sampler->setBlending(Texture2D::FUNC_DECAL);
    sampler->setWrapping(Texture2D::WRAP_CLAMP, Texture2D::WRAP_REPEAT);
    sampler->setFiltering(Texture2D::FILTER_LINEAR, Texture2D::FILTER_NEAREST);
    auto appearance = make<Appearance>();
    appearance->setLayer(-5);
    appearance->setCompositingMode(compositing.get());
    appearance->setFog(fog.get());
    appearance->setPolygonMode(polygon.get());
    appearance->setMaterial(material.get());
    appearance->setTexture(1, sampler.get());
    return {{Type::COMPOSITING_MODE, compositing},
            {Type::FOG, dense},
            {Type::FOG, fog},
            {Type::POLYGON_MODE, polygon},
            {Type::MATERIAL, material},
            {Type::IMAGE_2D, picture},
            {Type::TEXTURE_2D, sampler},
            {Type::APPEARANCE, appearance}};
}

// The geometry classes: positions (2), normals (3), colours (4) and texture
// coordinates (5) of four vertices, their buffer with the coordinates on unit
// 1 (6), an 8-bit array (7), strips (8), an appearance (9) and a mesh (10).
Scene geometryClasses()
{
    const auto positions = array<short>(3, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, -12});
    const auto normals = array<short>(3, {0, 0, 1, 0, 1, 0, 1, 0, 0, 0, 0, -1});
    const auto colors = array<signed char>(4, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
    const auto coordinates = array<short>(2, {0, 1, 2, 3, 4, 5, 6, 7});
    auto buffer = make<VertexBuffer>();
    const float bias[3] = {1, 2, 3};
    const float texBias[3] = {0.25f, 0.5f, 9};
    buffer->setPositions(positions.get(), 0.5f, bias);
    buffer->setNormals(normals.get());
    buffer->setColors(colors.get());
    buffer->setTexCoords(1, coordinates.get(), 2, texBias);
    buffer->setDefaultColor(0x80FF0010);
    const auto triangles = strips();
    const auto appearance = make<Appearance>();
    return {{Type::VERTEX_ARRAY, positions},
            {Type::VERTEX_ARRAY, normals},
            {Type::VERTEX_ARRAY, colors},
            {Type::VERTEX_ARRAY, coordinates},
            {Type::VERTEX_BUFFER, buffer},
            {Type::VERTEX_ARRAY, array<signed char>(3, {1, -2, 3, 4, 5, -6})},
            {Type::TRIANGLE_STRIP_ARRAY, triangles},
            {Type::APPEARANCE, appearance},
            {Type::MESH, make<Mesh>(buffer.get(), triangles.get(), appearance.get())}};
}

} // namespace

// ---- the round trip ------------------------------------------------------------------------
//
// Each scene's objects take their file positions as user ids; the records
// named must end with the row's bytes, the file must load, and the loaded
// objects must write the same bytes again.

TEST_F(M3G_LoaderTest, EveryWritableClassReadsBackAsItWasWritten)
{
    renderer().properties().numTextureUnits = 2;
    const struct {
        const char* name;
        std::function<Scene()> build;
        std::map<int, Bytes> endings; // by file position
    } rows[] = {
        {"scene",
         sceneClasses,
         {{3, M3GRecord().bytes({0x40, 0x20, 0x10, 0x80}).u32(2).u8(33).u8(32).u32(1).u32(1).u32(2).u32(2).u8(0).u8(1)},
          {5, M3GRecord().u8(50).f32s({60, 1.5f, 1, 100})},
          {6, M3GRecord().f32s({1, 0.5f, 0.25f}).u8(0x10).u8(0x20).u8(0x30).u8(131).f32s({2, 30, 64})},
          // Both transforms, always.
          {7, M3GRecord()
                  .bytes(object3DRecord(7))
                  .u8(1)
                  .f32s({1, 2, 3, 4, 5, 6, 90, 0, 0, 1})
                  .u8(1)
                  .f32s({1, 0, 0, 7, 0, 1, 0, 8, 0, 0, 1, 9, 0, 0, 0, 1})
                  .u8(0)
                  .u8(0)
                  .u8(51)
                  .u32(5)
                  .u8(0)
                  .u32Array({6})},
          {8, M3GRecord().u32Array({5, 7}).u32(5).u32(3)}}},
        {"appearance",
         appearanceClasses,
         // A threshold of 0.5 truncates to 127; -0 is written as +0.
         {{2, M3GRecord().u8(0).u8(1).u8(0).u8(1).u8(67).u8(127).f32(0).f32(2.5f)},
          {4, M3GRecord().u8(1).u8(2).u8(3).u8(81).f32s({1, 50})},
          {5, M3GRecord().u8(161).u8(164).u8(169).u8(1).u8(0).u8(1)},
          {6, M3GRecord().bytes({1, 2, 3, 5, 6, 7, 4, 8, 9, 10, 11, 12, 13}).f32(20).u8(1)},
          {8, M3GRecord().u32(7).u8(0x11).u8(0x22).u8(0x33).u8(226).u8(240).u8(241).u8(209).u8(210)},
          // Unit 0 is empty: the texture is the only entry and reads back on unit 0.
          {9, M3GRecord().u8(0xFB).u32(2).u32(4).u32(5).u32(6).u32Array({8})}}},
        {"image",
         [] { return Scene{{Type::IMAGE_2D, make<Image2D>(Image2D::RGB, 4, 4)}, {Type::IMAGE_2D, image(Image2D::RGB, 2, 2, true)}}; },
         // A palette image: its 256 colours, then one index per pixel.
         {{3, M3GRecord().u32(768).bytes(Bytes(768, 9)).u32(4).bytes({3, 3, 3, 3})}}},
        {"geometry",
         geometryClasses,
         {{6, M3GRecord()
                  .bytes({0xFF, 0, 0x10, 0x80})
                  .u32(2)
                  .f32s({1, 2, 3, 0.5f})
                  .u32(3)
                  .u32(4)
                  .u32(1)
                  .u32(5)
                  .f32s({0.25f, 0.5f, 0, 2})},
          {7, M3GRecord().u8(1).u8(3).u8(0).u16(2).bytes({1, 0xFE, 3, 4, 5, 0xFA})},
          // The triangle list as strips of 3: one strip of all nine indices
          // would read back as seven other triangles.
          {8, M3GRecord().u8(130).u32(9).u16(0).u16(1).u16(2).u16(3).u16(2).u16(1).u16(2).u16(3).u16(0).u32Array(
                  {3, 3, 3})},
          {10, M3GRecord().u32(6).u32(1).u32(8).u32(9)}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const Scene scene = row.build();
        for (std::size_t i = 0; i < scene.size(); ++i)
            scene[i].object->setUserID(static_cast<int>(2 + i));
        Bytes objects;
        std::vector<Bytes> records;
        ASSERT_EQ(writeScene(scene, objects, &records), "");
        for (const auto& [position, ending] : row.endings) {
            SCOPED_TRACE(position);
            const Bytes& record = records.at(static_cast<std::size_t>(position - 2));
            EXPECT_EQ(Bytes(record.end() - static_cast<long>(std::min(record.size(), ending.size())), record.end()),
                      ending);
        }

        const Objects roots = load(m3gFile(objects));
        std::map<int, Object3D*> byID;
        for (int i = 0; i < roots.m_size; ++i)
            collect(roots[i].get(), byID);
        Scene loaded;
        for (std::size_t i = 0; i < scene.size(); ++i)
            loaded.push_back({scene[i].type, byID[static_cast<int>(2 + i)]});
        Bytes again;
        ASSERT_EQ(writeScene(loaded, again), "");
        EXPECT_EQ(again, objects);
    }
}

// ---- refusals ------------------------------------------------------------------------------

TEST_F(M3G_LoaderTest, RefusedObjectsKeepWhatWasWritten)
{
    auto screen = make<Camera>();
    screen->setParallel(0, 1, 0, 1, 1, 2);
    const auto empty = make<VertexBuffer>();
    const auto triangles = strips();
    const auto picture = image(Image2D::RGB, 2, 2);
    char outside[80];
    std::snprintf(outside, sizeof outside, "Object reference 0x%X not yet added to index table.",
                  static_cast<unsigned int>(reinterpret_cast<std::uintptr_t>(picture.get())));
    const char* mismatch = "Bug in save functionality. Object type mismatch.";
    // Object3D 12 bytes, Transformable 106, Node 8.
    const int node = 126;
    const struct {
        const char* name;
        Scene scene; // the last object is refused
        std::string failure;
        int written;
        int room = 4096;
    } rows[] = {
        {"a world as a group", {{Type::GROUP, make<World>()}}, mismatch, 0},
        {"a sprite", {{Type::SPRITE, make<Sprite3D>(false, picture.get(), nullptr)}}, "No implementation", 0},
        {"an animation controller", {{Type::ANIMATION_CONTROLLER, make<AnimationController>()}}, "Not tested!", 12},
        {"a mesh without an appearance",
         {{Type::VERTEX_BUFFER, empty},
          {Type::TRIANGLE_STRIP_ARRAY, triangles},
          {Type::MESH, make<Mesh>(empty.get(), triangles.get(), nullptr)}},
         "Not all appearances are specified for mesh.",
         node},
        {"a screen camera", {{Type::CAMERA, screen}}, "Camera projection type not correct.", node},
        {"an image of one channel", {{Type::IMAGE_2D, image(Image2D::ALPHA, 1, 1)}}, "Unsuported image format.", 12},
        {"a texture of an image outside the table", {{Type::TEXTURE_2D, texture(picture.get())}}, outside, 118},
        {"a material with 20 bytes of room", {{Type::MATERIAL, make<Material>()}}, "Small stream buffer", 20, 20},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Bytes objects;
        EXPECT_NE(writeScene(row.scene, objects, nullptr, row.room).find(row.failure), std::string::npos);
        EXPECT_EQ(objects.size(), static_cast<std::size_t>(row.written));
    }
}

TEST_F(M3G_LoaderTest, ASkinnedMeshRefersToItsSkeletonAndBonesBeforeItIsRefused)
{
    // A skeleton with a bound child, a grandchild bound below it and an
    // unbound child, on a mesh of four vertices.
    const auto positions = array<short>(3, {0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0});
    auto buffer = make<VertexBuffer>();
    const float bias[3] = {0, 0, 0};
    buffer->setPositions(positions.get(), 1, bias);
    const auto triangles = strips();
    const auto appearance = make<Appearance>();
    auto skeleton = make<Group>();
    auto bone = make<Group>();
    auto deepBone = make<Group>();
    auto unbound = make<Group>();
    skeleton->addChild(bone.get());
    skeleton->addChild(unbound.get());
    bone->addChild(deepBone.get());
    core::Vector<core::Ref<IndexBuffer>> indexBuffers;
    indexBuffers.pushBack(core::Ref<IndexBuffer>(triangles.get()));
    core::Vector<core::Ref<Appearance>> appearances;
    appearances.pushBack(appearance);
    core::Ref<SkinnedMesh> mesh(VORNIC3D_NEW SkinnedMesh(buffer.get(), indexBuffers, appearances, skeleton.get()));
    mesh->addTransform(bone.get(), 65535, 0, 2);
    mesh->addTransform(deepBone.get(), 100, 2, 2);
    mesh->addTransform(bone.get(), 7, 3, 1);

    const auto outside = [](const Object3D* object) {
        char message[80];
        std::snprintf(message, sizeof message, "Object reference 0x%X not yet added to index table.",
                      static_cast<unsigned int>(reinterpret_cast<std::uintptr_t>(object)));
        return std::string(message);
    };
    const std::vector<Object3D*> geometry = {buffer.get(), triangles.get(), appearance.get()};
    // Object3D 12 bytes, Transformable 106, Node 8, Mesh 16: the mesh's own
    // record is filled, never written.
    const std::size_t written = 142;
    const struct {
        const char* name;
        std::vector<Object3D*> table; // after the geometry
        std::string failure;
    } rows[] = {
        {"everything in the table", {skeleton.get(), bone.get(), deepBone.get(), unbound.get()}, "No implementation!"},
        {"an unbound node outside the table", {skeleton.get(), bone.get(), deepBone.get()}, "No implementation!"},
        {"the skeleton outside the table", {bone.get(), deepBone.get()}, outside(skeleton.get())},
        {"a bone outside the table", {skeleton.get(), deepBone.get(), unbound.get()}, outside(bone.get())},
        {"a bone below a bone outside the table", {skeleton.get(), bone.get(), unbound.get()}, outside(deepBone.get())},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        M3G_Loader writer;
        writer.addToIndexTable(nullptr);
        writer.addToIndexTable(nullptr);
        for (Object3D* object : geometry)
            writer.addToIndexTable(object);
        for (Object3D* object : row.table)
            writer.addToIndexTable(object);
        Bytes record(4096);
        core::Ref<core::DataIO> stream(VORNIC3D_NEW core::DataIO(record.data(), static_cast<int>(record.size())));
        writer.setSectionStream(stream.get());
        const std::string failure =
            messageOf<core::IOException>([&] { writer.saveObject(Type::SKINNED_MESH, mesh.get()); });
        EXPECT_EQ(failure, "IO Name: . Message: " + row.failure);
        EXPECT_EQ(record.size() - static_cast<std::size_t>(stream->bytesLeft), written);
    }
}

TEST_F(M3G_LoaderTest, AnAlignedNodeIsWrittenUnalignedAfterAWarning)
{
    auto group = make<Group>();
    group->setAlignment(nullptr, Node::ORIGIN, nullptr, Node::NONE);
    const int warnings = core::Debug::getWarningCount();
    Bytes objects;
    ASSERT_EQ(writeScene({{Type::GROUP, group}}, objects), "");
    EXPECT_EQ(core::Debug::getWarningCount() - warnings, 1);
    const Bytes unaligned = M3GRecord().u8(1).u8(144).u8(144).u32(0).u32(0).u32Array({});
    EXPECT_EQ(Bytes(objects.end() - 15, objects.end()), unaligned);
}
