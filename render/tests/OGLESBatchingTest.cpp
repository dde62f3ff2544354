#include "OGLESTest.h"
#include "OGLES_Graphics3DInspector.h"
#include "SceneGraphTest.h"

#include "render/Appearance.h"
#include "render/Sprite3D.h"

#include <vector>

namespace {

using render::OGLES_Graphics3DInspector;
using render::Sprite3D;
using render::Transform;
using testsupport::hexColor;
using testsupport::kUpright;
using testsupport::outcomeOf;
using testsupport::refused;

class OGLESBatchingTest : public testsupport::OGLESTest {
protected:
    void SetUp() override
    {
        OGLESTest::SetUp();
        startFrame();
    }
    void startFrame()
    {
        g3d().bindTarget(nullptr);
        clearTo(kBlack);
        useScreenCamera();
    }
    // Buffers of `quads` quads each.
    void useBuffers(int count, int quads)
    {
        render::Graphics3DConfig config = defaultConfig();
        config.max_dynamic_buffers = count;
        config.max_dynamic_buffer_size = quads;
        restartRenderer(config);
        startFrame();
    }
    static core::Ref<render::Image2D> plain(std::uint32_t argb, int size = 4)
    {
        const std::vector<unsigned char> pixel = {static_cast<unsigned char>(argb >> 16),
                                                  static_cast<unsigned char>(argb >> 8),
                                                  static_cast<unsigned char>(argb), 0xFF};
        std::vector<unsigned char> pixels;
        for (int i = 0; i < size * size; ++i)
            pixels.insert(pixels.end(), pixel.begin(), pixel.end());
        return VORNIC3D_NEW render::Image2D(render::Image2D::RGBA, size, size, pixels.data());
    }
    static core::Ref<Sprite3D> sprite(render::Image2D* image, render::Appearance* appearance = nullptr,
                                      bool scaled = false)
    {
        core::Ref<render::Appearance> own = VORNIC3D_NEW render::Appearance();
        return VORNIC3D_NEW Sprite3D(scaled, image, appearance != nullptr ? appearance : own.get());
    }
    int buffersUsed() { return OGLES_Graphics3DInspector::counters(g3d()).buffersUsed; }
};

} // namespace

// ---- one sprite -------------------------------------------------------------------------------

// A 16 x 16 image centred on (32, 24): whole, cropped to its upper right
// quadrant, and scaled (crop-sized in world units).
TEST_F(OGLESBatchingTest, ASpriteIsItsCropCentredOnItsPlace)
{
    core::Ref<render::Image2D> image = quadrants(16);
    const struct {
        const char* name;
        bool scaled;
        int cropX, cropY, cropWidth, cropHeight;
        const char* extent;
        std::uint32_t centre;
    } cases[] = {
        {"whole", false, 0, 0, 16, 16, "24,16 16x16", 0},
        {"cropped", false, 8, 0, 8, 8, "28,20 8x8", kGreen},
        {"scaled, whole", true, 0, 0, 16, 16, "24,16 16x16", 0},
        {"scaled, cropped", true, 8, 0, 8, 8, "30,22 4x4", kGreen},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        clearTo(kBlack);
        core::Ref<Sprite3D> s = sprite(image.get(), nullptr, c.scaled);
        s->setCrop(c.cropX, c.cropY, c.cropWidth, c.cropHeight);
        g3d().render(s.get(), translation(32, 24, 0));
        g3d().releaseTarget();
        EXPECT_EQ(extentOf(kBlack), c.extent);
        if (c.centre == 0)
            EXPECT_EQ(around(32, 24, 8), kUpright);
        else
            EXPECT_EQ(around(32, 24, 1), (std::array<std::string, 4>{hexColor(c.centre), hexColor(c.centre),
                                                                       hexColor(c.centre), hexColor(c.centre)}));
        g3d().bindTarget(nullptr);
    }
}

// Camera 60 degrees high; the sprite straight ahead at two depths.
TEST_F(OGLESBatchingTest, UnderPerspectiveASpriteKeepsItsPixelSize)
{
    core::Ref<render::Image2D> image = quadrants(16);
    core::Ref<render::Camera> camera = VORNIC3D_NEW render::Camera();
    camera->setPerspective(60.0f, static_cast<float>(kWidth) / kHeight, 1.0f, 1000.0f);
    const struct {
        bool scaled;
        float depth;
        int width;
    } cases[] = {{false, 10, 16}, {false, 30, 16}, {true, 50, 13}, {true, 100, 7}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.scaled ? "scaled" : "unscaled") << " at " << c.depth);
        clearTo(kBlack);
        g3d().setCamera(camera.get(), Transform());
        core::Ref<Sprite3D> s = sprite(image.get(), nullptr, c.scaled);
        g3d().render(s.get(), translation(0, 0, -c.depth));
        g3d().releaseTarget();
        const std::string extent = extentOf(kBlack);
        const int width = std::stoi(extent.substr(extent.find(' ') + 1));
        EXPECT_NEAR(width, c.width, 1) << extent;
        g3d().bindTarget(nullptr);
    }
}

// ---- buffers ----------------------------------------------------------------------------------

// Two buffers of ten quads; 4 x 4 sprites in a row. The eleventh fills the
// second buffer after the first was drawn full and freed.
TEST_F(OGLESBatchingTest, EverySpriteIsDrawnWhateverBufferItFellInto)
{
    useBuffers(2, 10);
    core::Ref<render::Image2D> red = plain(kRed);
    core::Ref<Sprite3D> s = sprite(red.get());
    const struct {
        int sprites, midFrame, endOfFrame;
    } cases[] = {{9, 0, 1}, {10, 0, 1}, {11, 1, 1}, {21, 1, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sprites);
        clearTo(kBlack);
        // The counter still holds the previous frame's end.
        const int before = buffersUsed();
        for (int i = 0; i < c.sprites; ++i)
            g3d().render(s.get(), translation(static_cast<float>(3 + 6 * (i % 10)), static_cast<float>(3 + 6 * (i / 10)), 0));
        EXPECT_EQ(buffersUsed() - before, c.midFrame);
        g3d().releaseTarget();
        EXPECT_EQ(buffersUsed(), c.endOfFrame);
        std::string drawn;
        for (int i = 0; i < c.sprites; ++i)
            drawn += pixelAt(3 + 6 * (i % 10), 3 + 6 * (i / 10)) == kRed ? '#' : '.';
        EXPECT_EQ(drawn, std::string(static_cast<std::size_t>(c.sprites), '#'));
        startFrame();
    }
}

// Three textures take turns in two buffers, sharing one appearance, which
// the first sprite of a buffer lends to all of it: a texture that finds no
// buffer draws both. The red sprite is let go before the frame ends.
TEST_F(OGLESBatchingTest, InterleavedTexturesSharingAnAppearanceAreAllDrawn)
{
    core::Ref<render::Appearance> shared = VORNIC3D_NEW render::Appearance();
    core::Ref<render::Image2D> images[] = {plain(kRed), plain(kGreen), plain(kBlue)};
    std::vector<core::Ref<Sprite3D>> sprites;
    for (auto& image : images)
        sprites.push_back(sprite(image.get(), shared.get()));
    const std::uint32_t colors[] = {kRed, kGreen, kBlue};
    const int order[] = {0, 1, 0, 2, 1, 0, 1};
    for (int i = 0; i < 7; ++i)
        g3d().render(sprites[static_cast<std::size_t>(order[i])].get(), translation(static_cast<float>(4 + 8 * i), 20, 0));
    EXPECT_EQ(buffersUsed(), 4);
    sprites[0] = nullptr;
    g3d().releaseTarget();
    EXPECT_EQ(buffersUsed(), 2);
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(hexColor(pixelAt(4 + 8 * i, 20)), hexColor(colors[order[i]]));
    }
}

// A batch made under one camera and drawn while another is current keeps
// its own camera's position; the current camera is set back.
TEST_F(OGLESBatchingTest, ABatchIsDrawnWithTheCameraItWasMadeUnder)
{
    core::Ref<render::Image2D> red = plain(kRed);
    core::Ref<render::Image2D> green = plain(kGreen);
    core::Ref<Sprite3D> first = sprite(red.get());
    core::Ref<Sprite3D> second = sprite(green.get());
    render::Camera* screen = useScreenCamera();
    core::Ref<render::Camera> moved = VORNIC3D_NEW render::Camera();
    moved->setParallel(0.0f, kWidth, 0.0f, kHeight, -100.0f, 100.0f);
    g3d().setCamera(moved.get(), translation(10, 0, 0));
    g3d().render(first.get(), translation(42, 24, 0));
    g3d().setCamera(screen, Transform());
    g3d().render(second.get(), translation(10, 10, 0));
    g3d().releaseTarget();
    EXPECT_EQ(extentOf(kBlack), "8,8 26x18");
    EXPECT_EQ(hexColor(pixelAt(32, 24)), hexColor(kRed));
    EXPECT_EQ(hexColor(pixelAt(10, 10)), hexColor(kGreen));
    EXPECT_EQ(g3d().getCamera(nullptr), screen);
}

// A clear drops what was batched before it.
TEST_F(OGLESBatchingTest, AClearDropsTheBatches)
{
    core::Ref<render::Image2D> red = plain(kRed);
    core::Ref<Sprite3D> s = sprite(red.get());
    g3d().render(s.get(), translation(10, 10, 0));
    clearTo(kBlue);
    g3d().releaseTarget();
    EXPECT_EQ(extentOf(kBlue), "none");
}

TEST_F(OGLESBatchingTest, BufferSizesAreCheckedAtTheFirstBind)
{
    g3d().releaseTarget();
    const struct {
        int count, quads;
        const char* message;
    } cases[] = {
        {0, 16, "Graphics3D configuration error : max_dynamic_buffers <= 0"},
        {2, 0, "Graphics3D configuration error : max_dynamic_buffer_size <= 0"},
        {2, 16384, "Graphics3D configuration error : max_dynamic_buffer_size > 16383"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        render::Graphics3DConfig config = defaultConfig();
        config.max_dynamic_buffers = c.count;
        config.max_dynamic_buffer_size = c.quads;
        restartRenderer(config);
        EXPECT_EQ(outcomeOf([&] { g3d().bindTarget(nullptr); }), refused(c.message));
    }
}
