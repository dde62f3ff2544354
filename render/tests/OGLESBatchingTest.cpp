#include "OGLESTest.h"
#include "OGLES_Graphics3DInspector.h"
#include "SceneGraphTest.h"

#include "render/Appearance.h"
#include "render/Font2D.h"
#include "render/Sprite3D.h"
#include "render/Text2D.h"
#include "render/Texture2D.h"

#include <vector>

namespace {

using render::OGLES_Graphics3DInspector;
using render::Sprite3D;
using render::Transform;
using testsupport::hexColor;
using testsupport::kUpright;

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
    static core::Ref<Sprite3D> sprite(render::Image2D* image, render::Appearance* appearance = nullptr,
                                      bool scaled = false)
    {
        core::Ref<render::Appearance> own = VORNIC3D_NEW render::Appearance();
        return VORNIC3D_NEW Sprite3D(scaled, image, appearance != nullptr ? appearance : own.get());
    }
    static core::Ref<render::Text2D> text(render::Font2D* font, const char* characters)
    {
        core::Ref<render::Text2D> result = VORNIC3D_NEW render::Text2D();
        result->setFont(font);
        result->setText(core::String(characters));
        return result;
    }
    int buffersUsed() { return OGLES_Graphics3DInspector::buffersUsed(g3d()); }
};

} // namespace

// ---- one sprite -------------------------------------------------------------------------------

// A 16 x 16 image in four colours centred on the middle of the frame: under
// the screen camera whole, cropped to its upper right quadrant (green) and
// scaled (crop-sized in world units); under a camera 60 degrees high,
// straight ahead, where only a scaled sprite shrinks with its distance.
TEST_F(OGLESBatchingTest, ASpriteIsItsCropCentredOnItsPlace)
{
    core::Ref<render::Image2D> image = quadrants(16);
    core::Ref<render::Camera> perspective = VORNIC3D_NEW render::Camera();
    perspective->setPerspective(60.0f, static_cast<float>(kWidth) / kHeight, 1.0f, 1000.0f);
    const struct {
        bool scaled;
        int cropX, cropWidth;
        float depth; // 0: under the screen camera; else 16 units span 48 / (2 depth tan 30) pixels
        const char* extent;
    } cases[] = {
        {false, 0, 16, 0, "24,16 16x16"}, {false, 8, 8, 0, "28,20 8x8"},     {true, 0, 16, 0, "24,16 16x16"},
        {true, 8, 8, 0, "30,22 4x4"},     {false, 0, 16, 30, "24,16 16x16"}, {true, 0, 16, 50, "25,17 14x14"},
        {true, 0, 16, 100, "29,21 6x6"},
    };
    const std::string g = hexColor(kGreen);
    const std::array<std::string, 4> allGreen = {g, g, g, g};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.scaled << " " << c.extent << " at " << c.depth);
        if (c.depth > 0)
            g3d().setCamera(perspective.get(), Transform());
        core::Ref<Sprite3D> s = sprite(image.get(), nullptr, c.scaled);
        s->setCrop(c.cropX, 0, c.cropWidth, c.cropWidth);
        g3d().render(s.get(), c.depth > 0 ? translation(0, 0, -c.depth) : translation(32, 24, 0));
        g3d().releaseTarget();
        EXPECT_EQ(extentOf(kBlack), c.extent);
        EXPECT_EQ(around(32, 24, 1), c.cropWidth == 16 ? kUpright : allGreen);
        startFrame();
    }
}

// ---- buffers ----------------------------------------------------------------------------------

// Two buffers of ten quads; 4 x 4 sprites in a row. The eleventh fills the
// second buffer after the first was drawn full and freed; every buffer used
// is flushed at the frame's end.
TEST_F(OGLESBatchingTest, EverySpriteIsDrawnWhateverBufferItFellInto)
{
    render::Graphics3DConfig config = defaultConfig();
    config.max_dynamic_buffer_size = 10;
    restartRenderer(config);
    core::Ref<render::Image2D> red = plain(kRed);
    core::Ref<Sprite3D> s = sprite(red.get());
    const struct {
        int sprites, midFrame, endOfFrame;
    } cases[] = {{10, 0, 1}, {11, 1, 1}, {21, 1, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sprites);
        startFrame();
        // The counter still holds the previous frame's end.
        const int before = buffersUsed();
        for (int i = 0; i < c.sprites; ++i)
            g3d().render(s.get(),
                         translation(static_cast<float>(3 + 6 * (i % 10)), static_cast<float>(3 + 6 * (i / 10)), 0));
        EXPECT_EQ(buffersUsed() - before, c.midFrame);
        g3d().releaseTarget();
        EXPECT_EQ(buffersUsed(), c.endOfFrame);
        std::string drawn;
        for (int i = 0; i < c.sprites; ++i)
            drawn += pixelAt(3 + 6 * (i % 10), 3 + 6 * (i / 10)) == kRed ? '#' : '.';
        EXPECT_EQ(drawn, std::string(static_cast<std::size_t>(c.sprites), '#'));
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
        g3d().render(sprites[static_cast<std::size_t>(order[i])].get(),
                     translation(static_cast<float>(4 + 8 * i), 20, 0));
    EXPECT_EQ(buffersUsed(), 4);
    sprites[0] = nullptr;
    g3d().releaseTarget();
    EXPECT_EQ(buffersUsed(), 2);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(hexColor(pixelAt(4 + 8 * i, 20)), hexColor(colors[order[i]])) << i;
}

// A batch made under one camera and drawn while another is current keeps
// its own camera's position; the current camera is set back. A clear drops
// what was batched before it.
TEST_F(OGLESBatchingTest, ABatchIsDrawnWithTheCameraItWasMadeUnderUnlessCleared)
{
    core::Ref<render::Image2D> red = plain(kRed);
    core::Ref<render::Image2D> green = plain(kGreen);
    core::Ref<Sprite3D> first = sprite(red.get());
    core::Ref<Sprite3D> second = sprite(green.get());
    render::Camera* screen = useScreenCamera();
    g3d().render(second.get(), translation(50, 40, 0));
    clearTo(kBlack);
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

// A sprite without an appearance is refused before it claims a buffer: the
// sprites around it are drawn when the frame ends.
TEST_F(OGLESBatchingTest, ASpriteWithoutAppearanceIsRefusedAndTheFrameGoesOn)
{
    core::Ref<render::Image2D> red = plain(kRed);
    core::Ref<render::Image2D> green = plain(kGreen);
    core::Ref<Sprite3D> before = sprite(red.get());
    core::Ref<Sprite3D> bare = VORNIC3D_NEW Sprite3D(false, green.get(), nullptr);
    core::Ref<Sprite3D> after = sprite(green.get());
    g3d().render(before.get(), translation(10, 10, 0));
    EXPECT_EQ(testsupport::outcomeOf([&] { g3d().render(bare.get(), translation(30, 10, 0)); }), testsupport::bare());
    g3d().render(after.get(), translation(50, 10, 0));
    g3d().releaseTarget();
    EXPECT_EQ(buffersUsed(), 2);
    EXPECT_EQ(hexColor(pixelAt(10, 10)), hexColor(kRed));
    EXPECT_EQ(hexColor(pixelAt(30, 10)), hexColor(kBlack));
    EXPECT_EQ(hexColor(pixelAt(50, 10)), hexColor(kGreen));
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
        EXPECT_EQ(testsupport::outcomeOf([&] { g3d().bindTarget(nullptr); }), testsupport::refused(c.message));
    }
}

// ---- texts ------------------------------------------------------------------------------------

// A text at a size of its own, twice its font's, and one at its font's size
// with an appearance of its own that culls back faces (the quads face the
// camera), which goes into a buffer of its own.
TEST_F(OGLESBatchingTest, BuiltInGlyphsAreDrawnPixelForPixel)
{
    core::Ref<render::Font2D> font = render::Font2D::createNewFont(nullptr);
    core::Ref<render::Text2D> a = text(font.get(), "A");
    a->setSize(16, 16);
    g3d().render(a.get(), translation(20, 5, 0));
    core::Ref<render::Text2D> line = text(font.get(), "AB 09:/-.");
    core::Ref<render::Appearance> culling = VORNIC3D_NEW render::Appearance();
    line->setAppearance(culling.get());
    g3d().render(line.get(), translation(0, 30, 0));
    g3d().releaseTarget();

    EXPECT_EQ(builtInTextAt(20, 5, 1, 2), "A");
    EXPECT_EQ(builtInTextAt(0, 30, 8), "AB 09:/-");
    EXPECT_EQ(buffersUsed(), 2);
}

// A text's appearance gets the font's texture only when its batch is
// drawn: a mesh drawn with that appearance in the meantime keeps the
// appearance's own texture.
TEST_F(OGLESBatchingTest, ATextsAppearanceTakesTheFontTextureOnlyWhenItsBatchIsDrawn)
{
    core::Ref<render::Font2D> font = render::Font2D::createNewFont(nullptr);
    core::Ref<render::Image2D> red = plain(kRed);
    core::Ref<render::Texture2D> own = g3d().createNewTexture();
    own->setImage(red.get());
    core::Ref<render::Appearance> shared = VORNIC3D_NEW render::Appearance();
    shared->setTexture(0, own.get());
    core::Ref<render::Text2D> t = text(font.get(), "A");
    t->setAppearance(shared.get());
    g3d().render(t.get(), translation(0, 30, 0));
    EXPECT_EQ(shared->getTexture(0), own.get());

    core::Ref<render::VertexBuffer> square = rectangle(40, 0, 60, 20);
    square->setDefaultColor(kWhite);
    g3d().render(square.get(), rectangleTriangles().get(), shared.get(), Transform());
    EXPECT_EQ(hexColor(pixelAt(50, 10)), hexColor(kRed));
    g3d().releaseTarget();
    EXPECT_EQ(builtInTextAt(0, 30, 1), "A");
    EXPECT_NE(shared->getTexture(0), own.get());
}

// A buffer of 16 quads takes texts of up to 14 characters.
TEST_F(OGLESBatchingTest, TextsThatCannotBeDrawnFailAndLeaveTheFrameAsItWas)
{
    core::Ref<render::Font2D> font = render::Font2D::createNewFont(nullptr);
    const char* const missing = "Font2D does not include a character which is used in this text";
    const struct {
        const char* characters;
        float x, y;
        testsupport::Outcome outcome;
    } cases[] = {
        {"Ab", 0, 0, testsupport::refused(missing)},
        // A glyph first, then the place: x, y and z too big before too small.
        {"b", 4000, 0, testsupport::refused(missing)},
        {"A", -5000, 5000, testsupport::refused("Font y position is too big")},
        {"AAAAAAAAAAAAAAA", 0, 0, testsupport::refused("can not buffer texts (too small buffer size?)")},
        {"AAAAAAAAAAAAAA", 0, 0, testsupport::accepted()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.characters);
        core::Ref<render::Text2D> t = text(font.get(), c.characters);
        EXPECT_EQ(testsupport::outcomeOf([&] { g3d().render(t.get(), translation(c.x, c.y, 0)); }), c.outcome);
    }
    g3d().releaseTarget();
    EXPECT_EQ(builtInTextAt(0, 0, 8), "AAAAAAAA");
    EXPECT_EQ(buffersUsed(), 1);
}

// Sprites batched in one buffer or both, then a text too long for any: the
// call fails only after drawing every batch, so the sprites are on the frame
// before its release, which then has nothing left to draw. A buffer claimed
// for the text and left empty is not drawn.
TEST_F(OGLESBatchingTest, ATextThatFitsNoBufferFailsAfterDrawingEveryBatch)
{
    core::Ref<render::Font2D> font = render::Font2D::createNewFont(nullptr);
    core::Ref<render::Text2D> tooLong = text(font.get(), "AAAAAAAAAAAAAAA");
    core::Ref<render::Image2D> images[] = {plain(kRed), plain(kGreen)};
    const std::uint32_t colors[] = {kRed, kGreen};
    for (int sprites = 1; sprites <= 2; ++sprites) {
        SCOPED_TRACE(sprites);
        std::vector<core::Ref<Sprite3D>> batched;
        for (int i = 0; i < sprites; ++i) {
            batched.push_back(sprite(images[i].get()));
            g3d().render(batched.back().get(), translation(static_cast<float>(10 + 20 * i), 10, 0));
        }
        EXPECT_EQ(hexColor(pixelAt(10, 10)), hexColor(kBlack));
        const int before = buffersUsed();
        EXPECT_EQ(testsupport::outcomeOf([&] { g3d().render(tooLong.get(), translation(0, 30, 0)); }),
                  testsupport::refused("can not buffer texts (too small buffer size?)"));
        for (int i = 0; i < sprites; ++i)
            EXPECT_EQ(hexColor(pixelAt(10 + 20 * i, 10)), hexColor(colors[i])) << i;
        EXPECT_EQ(buffersUsed() - before, sprites);
        g3d().releaseTarget();
        EXPECT_EQ(buffersUsed(), 0);
        startFrame();
    }
}
