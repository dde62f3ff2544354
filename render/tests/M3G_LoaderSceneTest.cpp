#include "M3G_LoaderFixture.h"

#include "core/Debug.h"
#include "render/AnimationController.h"
#include "render/AnimationTrack.h"
#include "render/Appearance.h"
#include "render/Image2D.h"
#include "render/KeyframeSequence.h"

#include <optional>
#include <sstream>
#include <string>
#include <vector>

using namespace testsupport;
using namespace render;

// Records the writers write too are read back whole by the writers' round
// trip (M3G_WriterTest); the rows here are the checks and what the writers
// cannot write.

namespace {

// Mutable without pixels: its record ends after the height.
Bytes image(unsigned format, std::uint32_t width, std::uint32_t height, const Bytes& palette = {},
            const std::optional<Bytes>& pixels = std::nullopt)
{
    M3GRecord record;
    record.u8(format).u8(pixels ? 0 : 1).u32(width).u32(height);
    if (pixels)
        record.u32(static_cast<std::uint32_t>(palette.size()))
            .bytes(palette)
            .u32(static_cast<std::uint32_t>(pixels->size()))
            .bytes(*pixels);
    return sceneObject(10, record);
}

Bytes appearance(unsigned layer)
{
    return sceneObject(3, M3GRecord().u8(layer).u32(0).u32(0).u32(0).u32(0).u32Array({}));
}

Bytes texture(std::uint32_t image, unsigned levelFilter)
{
    return sceneObject(17, M3GRecord().u32(image).u8(1).u8(2).u8(3).u8(228).u8(240).u8(240).u8(levelFilter).u8(210));
}

// Speed 2, the reference point (sequence 0.5 at world time 4).
Bytes controller(float weight, std::int32_t start, std::int32_t end)
{
    return sceneObject(1, M3GRecord()
                              .f32(2)
                              .f32(weight)
                              .u32(static_cast<std::uint32_t>(start))
                              .u32(static_cast<std::uint32_t>(end))
                              .f32(0.5f)
                              .u32(4));
}

// A sequence header (interpolation, repeat mode, encoding, duration, valid
// range 0..1, counts) and its keyframes as given.
Bytes sequence(unsigned interpolation, unsigned encoding, std::uint32_t duration, std::uint32_t components,
               std::uint32_t keyframes, const Bytes& body, unsigned repeat = 193)
{
    return sceneObject(19, M3GRecord()
                               .u8(interpolation)
                               .u8(repeat)
                               .u8(encoding)
                               .u32(duration)
                               .u32(0)
                               .u32(1)
                               .u32(components)
                               .u32(keyframes)
                               .bytes(body));
}

Bytes track(std::uint32_t sequence, std::uint32_t controller, std::uint32_t property)
{
    return sceneObject(2, M3GRecord().u32(sequence).u32(controller).u32(property));
}

// What the reader sets on each class, as one line.
std::string describe(Object3D* object)
{
    std::ostringstream o;
    if (auto* a = dynamic_cast<Appearance*>(object))
        o << "layer " << a->getLayer();
    if (auto* i = dynamic_cast<Image2D*>(object))
        o << "image " << i->getFormat() << ' ' << i->getWidth() << 'x' << i->getHeight() << " first "
          << int(i->getPixels()[0]);
    if (auto* c = dynamic_cast<AnimationController*>(object))
        o << "speed " << c->getSpeed() << " weight " << c->getWeight() << " interval " << c->getActiveIntervalStart()
          << ',' << c->getActiveIntervalEnd() << " at " << c->getPosition(10);
    if (auto* t = dynamic_cast<AnimationTrack*>(object))
        o << "property " << t->getTargetProperty() << " controller " << !!t->getController();
    if (auto* k = dynamic_cast<KeyframeSequence*>(object)) {
        o << "duration " << k->getDuration() << " repeat " << k->getRepeatMode() << " keyframes";
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
    const Bytes first = M3GRecord().u32(0).f32(1); // a keyframe: its time and values
    const char* badImage = "Pixel data size does not match the image size.";
    const char* badPalette = "Palette size not correct for the image format.";
    expectRefusals({
        {"layer 64", fileOf({appearance(64)}), "Appearance layer is not correct."},
        {"blending 69", fileOf({sceneObject(6, M3GRecord().u8(1).u8(0).u8(1).u8(0).u8(69).u8(255).f32(0).f32(0))}),
         "CompositingMode blending mode is not correct."},
        {"culling 163", fileOf({sceneObject(8, M3GRecord().u8(163).u8(164).u8(168).u8(1).u8(0).u8(1))}),
         "Polygon mode culling not correct value."},
        {"no image, bad filters too", fileOf({texture(0, 0)}), "No image set for texture."},
        {"level filter 211", fileOf({rgb, texture(2, 211)}), "Unknown level filter."},
        {"luminance, even mutable", fileOf({image(97, 1, 1)}), "Unsuported image format."},
        {"immutable without pixels", fileOf({image(99, 1, 1, {}, Bytes())}),
         "No pixels specified for immutable object"},
        // 2^32 pixels of 4 bytes: 0 in 32 bits.
        {"65536 x 65536", fileOf({image(100, 65536, 65536)}), "Image size too big."},
        {"a byte short", fileOf({image(99, 2, 2, {}, Bytes(11, 7))}), badImage},
        {"palette of 257 entries", fileOf({image(99, 1, 1, Bytes(771, 0), Bytes{0})}), badPalette},
        {"palette of 5 RGB bytes", fileOf({image(99, 1, 1, Bytes(5, 0), Bytes{0})}), badPalette},
        // Nothing after the type is read.
        {"screen camera", fileOf({sceneObject(5, M3GRecord().u8(51))}), "Camera projection type not correct."},
        {"light mode 132",
         fileOf({sceneObject(12, M3GRecord().f32s({1, 0, 0}).bytes({1, 2, 3, 132}).f32s({2, 45, 64}))}),
         "The Light mode field does not hold a valid enumerated value, as specified in the class definition."},
        {"fog mode 82", fileOf({sceneObject(7, M3GRecord().u8(0).u8(0).u8(0).u8(82))}),
         "Fog mode must be render::Fog::EXPONENTIAL or render::Fog::LINEAR."},
        {"fog density 0", fileOf({sceneObject(7, M3GRecord().u8(0).u8(0).u8(0).u8(80).f32(0))}),
         "Exponential fog density not greater than zero."},
        {"image mode X 34", fileOf({sceneObject(4, M3GRecord().u32(0).u32(0).u8(34).u8(32).bytes(Bytes(18, 0)))}),
         "Background image mode X is not valid enum value."},
        {"no keyframes", fileOf({sequence(176, 0, 1, 1, 0, {})}),
         "Keyframe count is less than or equal to zero in KeyframeSequence."},
        {"no components", fileOf({sequence(176, 0, 1, 0, 1, M3GRecord().u32(0))}),
         "Component count is less than or equal to zero in KeyframeSequence."},
        {"duration 2^31", fileOf({sequence(176, 0, 0x80000000u, 1, 1, first)}),
         "Duration less than zero in KeyframeSequence."},
        {"encoding 3: the header only", fileOf({sequence(176, 3, 1, 1, 1, {})}), "Unknown KeyframeSequence encoding."},
        {"keyframes beyond the data", fileOf({sequence(176, 0, 1, 1, 0x40000000u, first)}), "Small stream buffer",
         kOuter},
        {"no sequence", fileOf({track(0, 0, 256)}), "KeyframeSequence is 0 in AnimationTrack."},
        {"property 277", fileOf({sequence(176, 0, 1, 1, 1, first), track(2, 0, 277)}),
         "Invalid target property ID value in AnimationTrack."},
        {"interval -1 .. -2", fileOf({controller(1, -1, -2)}),
         "AnimationController start time is greater than end time."},
        {"weight -0.5", fileOf({controller(-0.5f, 0, 0)}), "AnimationController weight less than 0."},
        // Values only the scene graph refuses.
        {"shininess 129", fileOf({sceneObject(13, M3GRecord().bytes(Bytes(13, 0)).f32(129).u8(0))}),
         "IllegalArgumentException", "", Refusal::kSetterAssertion},
        {"a SQUAD sequence", fileOf({sequence(179, 0, 1, 1, 1, first)}),
         "No implementation: Normalize SLERP/SQUAD values...", "", Refusal::kSetterAssertion},
    });
}

// ---- loaded content ---------------------------------------------------------------------

TEST_F(M3G_LoaderTest, SceneRecordsLoadAsWritten)
{
    const Bytes seq = sequence(176, 0, 100, 2, 2, M3GRecord().u32(0).f32s({1, 2}).u32(50).f32s({3, 4}));
    const struct {
        const char* name;
        std::vector<Bytes> objects;
        std::string state; // of the last root
    } cases[] = {
        {"the highest layer", {appearance(63)}, "layer 63"},
        // The palette's other entries are black.
        {"palette of 16 entries", {image(100, 2, 1, Bytes(64, 9), Bytes{15, 0})}, "image 100 2x1 first 15"},
        {"controller", {controller(0, 5, 5)}, "speed 2 weight 0 interval 5,5 at 12.5"},
        {"float keyframes", {seq}, "duration 100 repeat 193 keyframes 0,1,2 50,3,4"},
        {"byte keyframes",
         {sequence(180, 1, 1, 1, 2, M3GRecord().f32(1).f32(2).u32(0).u8(0).u32(7).u8(255))},
         "keyframes 0,1 7,3"},
        {"16-bit keyframes",
         {sequence(177, 2, 1, 1, 1, M3GRecord().f32(0).f32(1).u32(3).u16(65535), 192)},
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
    const Bytes group = m3gObject(
        9, joined({object3DRecord(0, {3, 3}), transformableRecord(), nodeRecord(), M3GRecord().u32Array({})}));
    const Objects out = load(fileOf({seq, track(2, 0, 256), group}));
    ASSERT_EQ(out.m_size, 1);
    EXPECT_EQ(out[0]->getAnimationTrackCount(), 2);
}

// The decompression buffer and a loaded image are tagged with the reader
// functions that take them, as the level-5 lines show: a compressed section
// takes one block more than the same section stored, under the section's
// reader.
TEST_F(M3G_LoaderTest, MemoryIsTaggedWithTheReaderThatTookIt)
{
    core::Debug::setVerbosity(core::Debug::LEVEL_NORMAL);
    const auto blocksTakenBy = [&](const Bytes& file, const std::string& function) {
        clearLog();
        load(file);
        return countOf(log(), " bytes (render::M3G_Loader::" + function + "(");
    };
    const Bytes group = groupObject();
    EXPECT_EQ(blocksTakenBy(fileOf({group}, 1), "getSectionObjectStream"),
              blocksTakenBy(fileOf({group}), "getSectionObjectStream") + 1);
    const struct {
        const char* name;
        Bytes object;
    } images[] = {
        {"mutable", image(99, 2, 2)},
        {"immutable", image(99, 1, 1, {}, Bytes{1, 2, 3})},
        {"with a palette", image(100, 2, 1, Bytes(64, 9), Bytes{15, 0})},
    };
    for (const auto& c : images) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(blocksTakenBy(fileOf({c.object}), "parseImage2D"), 1) << log();
    }
}
