#include "M3G_LoaderFixture.h"

#include "render/AnimationController.h"
#include "render/AnimationTrack.h"
#include "render/Appearance.h"
#include "render/Background.h"
#include "render/Camera.h"
#include "render/CompositingMode.h"
#include "render/Fog.h"
#include "render/Image2D.h"
#include "render/KeyframeSequence.h"
#include "render/Light.h"
#include "render/Material.h"
#include "render/PolygonMode.h"
#include "render/Texture2D.h"
#include "render/Transform.h"
#include "render/World.h"

#include <optional>
#include <sstream>
#include <string>
#include <vector>

using testsupport::Bytes;
using testsupport::M3GRecord;
using testsupport::sceneObject;
using namespace render;

namespace {

using Objects = testsupport::Objects;
using M3G_LoaderTest = testsupport::M3G_LoaderTest;

constexpr char kNil[] = "Reference to unloaded object detected. Reference is nil.";
constexpr char kBadImage[] = "Pixel data size does not match the image size.";
constexpr char kBadPalette[] = "Palette size not correct for the image format.";

Bytes fileOf(const std::vector<Bytes>& objects)
{
    return testsupport::m3gFile(testsupport::joined(objects));
}

Bytes withFloats(M3GRecord record, const std::vector<float>& values)
{
    for (float value : values)
        record.f32(value);
    return record;
}

// Mutable without pixels: its record ends after the height.
Bytes image(unsigned format, std::uint32_t width, std::uint32_t height, const Bytes& palette = {},
            const std::optional<Bytes>& pixels = std::nullopt)
{
    M3GRecord record;
    record.u8(format).u8(pixels ? 0 : 1).u32(width).u32(height);
    if (pixels)
        record.u32(static_cast<std::uint32_t>(palette.size())).bytes(palette).u32(
            static_cast<std::uint32_t>(pixels->size())).bytes(*pixels);
    return sceneObject(10, record);
}

Bytes appearance(unsigned layer, std::uint32_t compositing, std::uint32_t fog, std::uint32_t polygon,
                 std::uint32_t material, const std::vector<std::uint32_t>& textures = {})
{
    M3GRecord record;
    record.u8(layer).u32(compositing).u32(fog).u32(polygon).u32(material);
    return sceneObject(3, record.u32Array(textures));
}

Bytes texture(std::uint32_t image, unsigned blending, unsigned wrapS, unsigned levelFilter, unsigned imageFilter)
{
    return sceneObject(17, M3GRecord().u32(image).u8(1).u8(2).u8(3).u8(blending).u8(wrapS).u8(240).u8(levelFilter).u8(
                               imageFilter));
}

Bytes material(float shininess)
{
    return sceneObject(13, M3GRecord().u8(1).u8(2).u8(3).u8(4).u8(5).u8(6).u8(7).u8(8).u8(9).u8(10).u8(11).u8(12).u8(
                               13).f32(shininess).u8(1));
}

Bytes light(unsigned mode, float constant, float spotAngle)
{
    return sceneObject(12, M3GRecord().f32(constant).f32(0.5f).f32(0.25f).u8(1).u8(2).u8(3).u8(mode).f32(2).f32(
                               spotAngle).f32(64));
}

Bytes background(std::uint32_t image, unsigned modeX, unsigned modeY, std::int32_t cropWidth)
{
    return sceneObject(4, M3GRecord().u8(1).u8(2).u8(3).u8(4).u32(image).u8(modeX).u8(modeY).u32(8).u32(8).u32(
                              static_cast<std::uint32_t>(cropWidth)).u32(16).u8(0).u8(1));
}

Bytes compositing(unsigned blending)
{
    return sceneObject(6, M3GRecord().u8(1).u8(0).u8(1).u8(0).u8(blending).u8(255).f32(0.5f).f32(-2));
}

Bytes polygon(unsigned culling, unsigned winding)
{
    return sceneObject(8, M3GRecord().u8(culling).u8(164).u8(winding).u8(1).u8(0).u8(1));
}

Bytes camera(unsigned type, const std::vector<float>& values)
{
    return sceneObject(5, withFloats(M3GRecord().u8(type), values));
}

Bytes world(std::uint32_t camera, std::uint32_t background)
{
    return sceneObject(22, M3GRecord().u32(camera).u32(background));
}

// Speed 2, the reference point (sequence 0.5 at world time 4).
Bytes controller(float weight, std::int32_t start, std::int32_t end)
{
    return sceneObject(1, M3GRecord().f32(2).f32(weight).u32(static_cast<std::uint32_t>(start)).u32(
                              static_cast<std::uint32_t>(end)).f32(0.5f).u32(4));
}

// A sequence header (interpolation, repeat mode, encoding, duration, valid
// range 0..1, counts) and its keyframes as given.
Bytes sequence(unsigned interpolation, unsigned encoding, std::uint32_t duration, std::uint32_t components,
               std::uint32_t keyframes, const Bytes& body, unsigned repeat = 193)
{
    return sceneObject(19, M3GRecord().u8(interpolation).u8(repeat).u8(encoding).u32(duration).u32(0).u32(1).u32(
                               components).u32(keyframes).bytes(body));
}

Bytes track(std::uint32_t sequence, std::uint32_t controller, std::uint32_t property)
{
    return sceneObject(2, M3GRecord().u32(sequence).u32(controller).u32(property));
}

// One float keyframe: its time and its values.
Bytes keyframe(std::uint32_t time, const std::vector<float>& values)
{
    return withFloats(M3GRecord().u32(time), values);
}

// What the reader sets on each class, as one line.
std::string describe(Object3D* object)
{
    std::ostringstream o;
    o << std::hex;
    if (auto* a = dynamic_cast<Appearance*>(object))
        o << "layer " << std::dec << a->getLayer() << " parts " << !!a->getCompositingMode() << !!a->getFog()
          << !!a->getPolygonMode() << !!a->getMaterial() << !!a->getTexture(0);
    if (auto* c = dynamic_cast<CompositingMode*>(object))
        o << "blend " << std::dec << c->getBlending() << " threshold " << c->getAlphaThreshold() << " writes "
          << c->isDepthTestEnabled() << c->isDepthWriteEnabled() << c->isColorWriteEnabled()
          << c->isAlphaWriteEnabled() << " offset " << c->getDepthOffsetFactor() << ',' << c->getDepthOffsetUnits();
    if (auto* m = dynamic_cast<Material*>(object))
        o << "colours " << m->getColor(Material::AMBIENT) << ',' << m->getColor(Material::DIFFUSE) << ','
          << m->getColor(Material::EMISSIVE) << ',' << m->getColor(Material::SPECULAR) << " shininess " << std::dec
          << m->getShininess() << " tracking " << m->isVertexColorTrackingEnabled();
    if (auto* t = dynamic_cast<Texture2D*>(object))
        o << "blend colour " << t->getBlendColor() << std::dec << " blending " << t->getBlending() << " wrap "
          << t->getWrappingS() << ',' << t->getWrappingT() << " filters " << t->getLevelFilter() << ','
          << t->getImageFilter() << " image " << t->getImage()->getWidth();
    if (auto* i = dynamic_cast<Image2D*>(object))
        o << std::dec << "image " << i->getFormat() << ' ' << i->getWidth() << 'x' << i->getHeight() << " mutable "
          << i->isMutable() << " first " << int(i->getPixels()[0]);
    if (auto* c = dynamic_cast<Camera*>(object)) {
        float p[4] = {};
        float m[16];
        Transform projection;
        o << std::dec << "projection " << c->getProjectionParameters(p) << ' ' << p[0] << ',' << p[1] << ',' << p[2]
          << ',' << p[3] << " m1 " << (c->getProjection(&projection), projection.get(m), m[1]);
    }
    if (auto* l = dynamic_cast<Light*>(object))
        o << "mode " << std::dec << l->getMode() << std::hex << " colour " << l->getColor() << std::dec
          << " attenuation " << l->getConstantAttenuation() << ',' << l->getLinearAttenuation() << ','
          << l->getQuadraticAttenuation() << " intensity " << l->getIntensity() << " spot " << l->getSpotAngle()
          << ',' << l->getSpotExponent();
    if (auto* f = dynamic_cast<Fog*>(object))
        o << "fog " << f->getColor() << std::dec << ' ' << f->getMode() << ' ' << f->getDensity() << ' '
          << f->getNearDistance() << ',' << f->getFarDistance();
    if (auto* b = dynamic_cast<Background*>(object))
        o << "colour " << b->getColor() << std::dec << " clears " << b->isColorClearEnabled()
          << b->isDepthClearEnabled() << " modes " << b->getImageModeX() << ',' << b->getImageModeY() << " crop "
          << b->getCropX() << ',' << b->getCropY() << ',' << b->getCropWidth() << ',' << b->getCropHeight()
          << " image " << !!b->getImage();
    if (auto* w = dynamic_cast<World*>(object))
        o << "camera " << !!w->getActiveCamera() << " background " << !!w->getBackground();
    if (auto* c = dynamic_cast<AnimationController*>(object))
        o << std::dec << "speed " << c->getSpeed() << " weight " << c->getWeight() << " interval "
          << c->getActiveIntervalStart() << ',' << c->getActiveIntervalEnd() << " at " << c->getPosition(10);
    if (auto* t = dynamic_cast<AnimationTrack*>(object))
        o << std::dec << "property " << t->getTargetProperty() << " controller " << !!t->getController();
    if (auto* k = dynamic_cast<KeyframeSequence*>(object)) {
        o << std::dec << "duration " << k->getDuration() << " repeat " << k->getRepeatMode() << " keyframes";
        std::vector<float> values(static_cast<std::size_t>(k->getComponentCount()));
        for (int i = 0; i < k->getKeyframeCount(); ++i) {
            o << ' ' << k->getKeyframe(i, values.data(), k->getComponentCount());
            for (float value : values)
                o << ',' << value;
        }
    }
    return o.str();
}

} // namespace

// ---- refused records --------------------------------------------------------------------

TEST_F(M3G_LoaderTest, BadSceneRecordsAreRefused)
{
    const Bytes rgb = image(99, 2, 2, {}, Bytes(12, 7));
    const Bytes first = keyframe(0, {1});
    const Bytes seq = sequence(176, 0, 1, 1, 1, first);
    expectRefusals({
        {"layer 64", fileOf({appearance(64, 0, 0, 0, 0)}), "Appearance layer is not correct.", ""},
        {"texture entry 0", fileOf({appearance(0, 0, 0, 0, 0, {0})}), kNil, ""},
        {"more textures than units", fileOf({rgb, texture(2, 228, 240, 208, 210), appearance(0, 0, 0, 0, 0, {3, 3})}),
         "Vornic3D exception", ""},
        {"blending 69", fileOf({compositing(69)}), "CompositingMode blending mode is not correct.", ""},
        {"culling 163", fileOf({polygon(163, 168)}), "Polygon mode culling not correct value.", ""},
        {"shininess 128.5", fileOf({material(128.5f)}), "IllegalArgumentException", ""},
        {"no image, bad filters too", fileOf({texture(0, 0, 0, 0, 0)}), "No image set for texture.", ""},
        {"level filter 211", fileOf({rgb, texture(2, 228, 240, 211, 210)}), "Unknown level filter.", ""},
        {"luminance, even mutable", fileOf({image(97, 1, 1)}), "Unsuported image format.", ""},
        {"immutable without pixels", fileOf({image(99, 1, 1, {}, Bytes())}), "No pixels specified for immutable object",
         ""},
        {"65536 x 65536", fileOf({image(100, 65536, 65536)}), "Image size too big.", ""},
        {"width beyond int", fileOf({image(99, 0x80000001u, 1)}), "Image size too big.", ""},
        {"a byte short", fileOf({image(99, 2, 2, {}, Bytes(11, 7))}), kBadImage, ""},
        {"palette of 257 entries", fileOf({image(99, 1, 1, Bytes(771, 0), Bytes{0})}), kBadPalette, ""},
        {"palette of 5 RGB bytes", fileOf({image(99, 1, 1, Bytes(5, 0), Bytes{0})}), kBadPalette, ""},
        {"palette image of RGB pixels", fileOf({image(99, 2, 1, Bytes(48, 0), Bytes(6, 0))}), kBadImage, ""},
        // Nothing after the type is read.
        {"screen camera", fileOf({camera(51, {})}), "Camera projection type not correct.", ""},
        {"light mode 132", fileOf({light(132, 1, 45)}),
         "The Light mode field does not hold a valid enumerated value, as specified in the class definition.", ""},
        {"fog mode 82", fileOf({sceneObject(7, M3GRecord().u8(0).u8(0).u8(0).u8(82))}),
         "Fog mode must be render::Fog::EXPONENTIAL or render::Fog::LINEAR.", ""},
        {"fog density 0", fileOf({sceneObject(7, M3GRecord().u8(0).u8(0).u8(0).u8(80).f32(0))}),
         "Exponential fog density not greater than zero.", ""},
        {"image mode X 34", fileOf({background(0, 34, 32, 16)}), "Background image mode X is not valid enum value.",
         ""},
        {"negative crop", fileOf({background(0, 32, 32, -1)}), "IllegalArgumentException", ""},
        {"no keyframes", fileOf({sequence(176, 0, 1, 1, 0, {})}),
         "Keyframe count is less than or equal to zero in KeyframeSequence.", ""},
        {"no components", fileOf({sequence(176, 0, 1, 0, 1, M3GRecord().u32(0))}),
         "Component count is less than or equal to zero in KeyframeSequence.", ""},
        {"duration 2^31", fileOf({sequence(176, 0, 0x80000000u, 1, 1, first)}),
         "Duration less than zero in KeyframeSequence.", ""},
        {"encoding 3: the header only", fileOf({sequence(176, 3, 1, 1, 1, {})}), "Unknown KeyframeSequence encoding.",
         ""},
        {"SQUAD", fileOf({sequence(179, 0, 1, 1, 1, first)}), "No implementation: Normalize SLERP/SQUAD values...", ""},
        {"keyframes beyond the data", fileOf({sequence(176, 0, 1, 1, 0x40000000u, first)}), "Small stream buffer",
         "Unknown data source"},
        {"no sequence", fileOf({track(0, 0, 256)}), "KeyframeSequence is 0 in AnimationTrack.", ""},
        {"property 277", fileOf({seq, track(2, 0, 277)}), "Invalid target property ID value in AnimationTrack.", ""},
        {"interval -1 .. -2", fileOf({controller(1, -1, -2)}),
         "AnimationController start time is greater than end time.", ""},
        {"weight -0.5", fileOf({controller(-0.5f, 0, 0)}), "AnimationController weight less than 0.", ""},
    });
}

// ---- loaded content ---------------------------------------------------------------------

TEST_F(M3G_LoaderTest, SceneRecordsLoadAsWritten)
{
    const Bytes rgb = image(99, 2, 2, {}, Bytes(12, 7));
    const Bytes linearFog = sceneObject(7, withFloats(M3GRecord().u8(1).u8(2).u8(3).u8(81), {2, 9}));
    const Bytes seq = sequence(176, 0, 100, 2, 2, testsupport::joined({keyframe(0, {1, 2}), keyframe(50, {3, 4})}));
    const struct {
        const char* name;
        std::vector<Bytes> objects;
        std::string state; // of the last root
    } cases[] = {
        {"appearance of every part",
         {compositing(64), linearFog, polygon(162, 169), material(0), rgb, texture(6, 224, 241, 209, 208),
          appearance(0xC1, 2, 3, 4, 5, {7})},
         "layer -63 parts 11111"},
        {"appearance of no part", {appearance(63, 0, 0, 0, 0)}, "layer 63 parts 00000"},
        {"compositing mode", {compositing(64)}, "blend 64 threshold 1 writes 1010 offset 0.5,-2"},
        {"material", {material(128)}, "colours 10203,7040506,8090a,b0c0d shininess 128 tracking 1"},
        {"texture", {rgb, texture(2, 224, 241, 209, 208)},
         "blend colour 10203 blending 224 wrap 241,240 filters 209,208 image 2"},
        // The palette's other entries are black.
        {"palette of 16 entries", {image(100, 2, 1, Bytes(64, 9), Bytes{15, 0})}, "image 100 2x1 mutable 0 first 15"},
        {"mutable image", {image(99, 3, 5)}, "image 99 3x5 mutable 1 first 255"},
        {"generic camera", {camera(48, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16})},
         "projection 48 0,0,0,0 m1 2"},
        {"parallel camera", {camera(49, {10, 2, 1, 100})}, "projection 49 10,2,1,100"},
        {"perspective camera", {camera(50, {60, 1.5f, 1, 50})}, "projection 50 60,1.5,1,50"},
        {"ambient light keeps every field", {light(128, 1, 45)},
         "mode 128 colour 10203 attenuation 1,0.5,0.25 intensity 2 spot 45,64"},
        {"linear fog", {linearFog}, "fog 10203 81 1 2,9"},
        {"exponential fog", {sceneObject(7, M3GRecord().u8(1).u8(2).u8(3).u8(80).f32(0.5f))}, "fog 10203 80 0.5 0,1"},
        {"background crop over its image", {rgb, background(2, 32, 33, 16)},
         "colour 4010203 clears 10 modes 32,33 crop 8,8,16,16 image 1"},
        {"world of a camera and a background", {camera(50, {60, 1, 1, 2}), background(0, 32, 32, 0), world(2, 3)},
         "camera 1 background 1"},
        {"world of neither", {world(0, 0)}, "camera 0 background 0"},
        {"controller", {controller(0, 5, 5)}, "speed 2 weight 0 interval 5,5 at 12.5"},
        {"float keyframes", {seq}, "duration 100 repeat 193 keyframes 0,1,2 50,3,4"},
        {"byte keyframes", {sequence(180, 1, 1, 1, 2, M3GRecord().f32(1).f32(2).u32(0).u8(0).u32(7).u8(255))},
         "keyframes 0,1 7,3"},
        {"16-bit keyframes", {sequence(177, 2, 1, 1, 1, M3GRecord().f32(0).f32(1).u32(3).u16(65535), 192)},
         "repeat 192 keyframes 3,1"},
        {"track with a controller", {controller(1, 0, 0), seq, track(3, 2, 276)}, "property 276 controller 1"},
        {"track without a controller", {seq, track(2, 0, 256)}, "property 256 controller 0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Objects out = load(fileOf(c.objects));
        ASSERT_EQ(out.m_size, 1);
        const std::string state = describe(out[0].get());
        EXPECT_NE(state.find(c.state), std::string::npos) << state;
    }
    // Tracks listed in an object's base record reach it, the same one twice too.
    M3GRecord group;
    group.bytes(testsupport::object3DRecord(0, {3, 3})).bytes(testsupport::transformableRecord());
    group.bytes(testsupport::nodeRecord()).u32Array({});
    const Objects out = load(fileOf({seq, track(2, 0, 256), testsupport::m3gObject(9, group)}));
    ASSERT_EQ(out.m_size, 1);
    EXPECT_EQ(out[0]->getAnimationTrackCount(), 2);
}
