#include "OGLESTest.h"
#include "SceneGraphTest.h"

#include "render/Background.h"
#include "render/Graphics3DProperties.h"
#include "render/Image2D.h"
#include "render/Texture2D.h"

#include <GLES/gl.h>

#include <array>
#include <cmath>
#include <tuple>
#include <vector>

namespace {

using testsupport::accepted;
using testsupport::countOf;
using testsupport::hexColor;
using testsupport::outcomeOf;
using testsupport::refused;

constexpr std::uint32_t kMagenta = 0xFFFF00FFu;

class OGLESGraphics3DTest : public testsupport::OGLESTest {
protected:
    std::array<int, 4> viewport()
    {
        return {g3d().getViewportX(), g3d().getViewportY(), g3d().getViewportWidth(), g3d().getViewportHeight()};
    }
    static std::array<int, 4> deviceViewport()
    {
        GLint v[4] = {};
        glGetIntegerv(GL_VIEWPORT, v);
        return {v[0], v[1], v[2], v[3]};
    }
    void expectEverywhere(std::uint32_t color)
    {
        for (const auto& [x, y] : {std::pair{0, 0}, {kWidth - 1, kHeight - 1}, {kWidth / 2, kHeight / 2}}) {
            EXPECT_EQ(hexColor(pixelAt(x, y)), hexColor(color)) << x << "," << y;
        }
    }
};

// A renderer made without a display: the framework's first instance.
using OGLESGraphics3DWithoutDisplayTest = testsupport::EngineTest;

} // namespace

// ---- factory and start state ------------------------------------------------------------

TEST_F(OGLESGraphics3DWithoutDisplayTest, FactoryRefusesOtherTypesAndMakesADummyWithoutADisplay)
{
    const struct {
        int type;
        testsupport::Outcome outcome;
    } cases[] = {
        {2, refused("enable QUICK_AND_DIRTY_D3D_MOBILE_SUPPORT_FOR_SAMSUNG_OMNIA_ENABLED flag if you want to use "
                    "Direct3D Mobile")},
        {0, refused("createGraphics3D : invalid type")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        EXPECT_EQ(outcomeOf([&] { render::Graphics3D::createGraphics3D(c.type, nullptr, nullptr); }), c.outcome);
    }

    core::Ref<render::Graphics3D> dummy = render::Graphics3D::createGraphics3D(1, nullptr, nullptr);
    EXPECT_EQ(outcomeOf([&] { dummy->getDepthRangeNear(); }),
              refused("getDepthRangeNear : m_depthNearRange has invalid data"));
    // Its device checks pass with a notice; its limits refuse every viewport.
    EXPECT_EQ(outcomeOf([&] { dummy->setDepthRange(0.25f, 0.75f); }), accepted());
    EXPECT_EQ(countOf(log(), "Can not check Graphics3D HW errors because you do not have a display"), 1);
    EXPECT_EQ(outcomeOf([&] { dummy->setViewport(0, 0, 1, 1); }),
              refused("setViewport : width > m_properties.maxViewportWidth"));
    dummy = nullptr;
    EXPECT_EQ(countOf(log(), "delete dummy OGLES_Graphics3D object\n"), 1);
}

// ---- viewport, depth range, hints ---------------------------------------------------------

// The renderer starts with the screen's viewport and the device's limits.
TEST_F(OGLESGraphics3DTest, ViewportStartsAtTheScreenAndChecksItsSize)
{
    GLint limits[2] = {};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, limits);
    const render::Graphics3DProperties& p = g3d().getProperties();
    EXPECT_EQ((std::array{p.maxViewportWidth, p.maxViewportHeight}), (std::array{limits[0], limits[1]}));
    EXPECT_EQ(viewport(), (std::array{0, 0, kWidth, kHeight}));
    EXPECT_EQ(deviceViewport(), (std::array{0, 0, kWidth, kHeight}));
    EXPECT_EQ(std::pair(g3d().getDepthRangeNear(), g3d().getDepthRangeFar()), std::pair(0.0f, 1.0f));
    EXPECT_EQ(outcomeOf([&] { render::Graphics3D::createGraphics3D(1, &display(), nullptr); }),
              refused("Graphics3D object is available. Can not create a new one."));

    const struct {
        std::array<int, 4> v;
        testsupport::Outcome outcome;
        bool bigWarning;
    } cases[] = {
        {{8, 4, 32, 16}, accepted(), false},
        {{-4, -4, kWidth + 8, kHeight}, accepted(), true},
        {{0, 0, 0, 10}, refused("setViewport : width <= 0"), false},
        {{0, 0, 10, -1}, refused("setViewport : height <= 0"), false},
        {{0, 0, limits[0] + 1, 10}, refused("setViewport : width > m_properties.maxViewportWidth"), false},
        {{0, 0, 10, limits[1] + 1}, refused("setViewport : height > m_properties.maxViewportHeight"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.v[0] << "," << c.v[1] << "," << c.v[2] << "," << c.v[3]);
        g3d().setViewport(0, 0, kWidth, kHeight);
        clearLog();
        EXPECT_EQ(outcomeOf([&] { g3d().setViewport(c.v[0], c.v[1], c.v[2], c.v[3]); }), c.outcome);
        const auto expected = c.outcome == accepted() ? c.v : std::array{0, 0, kWidth, kHeight};
        EXPECT_EQ(viewport(), expected);
        EXPECT_EQ(deviceViewport(), expected);
        EXPECT_EQ(countOf(log(), "setViewport : viewport is bigger than screen\n"), c.bigWarning ? 1 : 0);
    }
}

TEST_F(OGLESGraphics3DTest, DepthRangeAndHintsAreChecked)
{
    const struct {
        float nearValue, farValue;
        testsupport::Outcome outcome;
    } cases[] = {
        {1.0f, 0.25f, accepted()},
        {-0.01f, 0.5f, refused("setDepthRange : near_range has invalid data")},
        {0.5f, std::nanf(""), refused("setDepthRange : far_range has invalid data")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.nearValue << " " << c.farValue);
        g3d().setDepthRange(0.0f, 1.0f);
        EXPECT_EQ(outcomeOf([&] { g3d().setDepthRange(c.nearValue, c.farValue); }), c.outcome);
        GLfloat range[2] = {};
        glGetFloatv(GL_DEPTH_RANGE, range);
        const bool taken = c.outcome == accepted();
        EXPECT_EQ(std::pair(range[0], range[1]), taken ? std::pair(c.nearValue, c.farValue) : std::pair(0.0f, 1.0f));
        EXPECT_EQ(std::pair(g3d().getDepthRangeNear(), g3d().getDepthRangeFar()), std::pair(range[0], range[1]));
    }

    EXPECT_EQ(outcomeOf([&] { g3d().bindTarget(nullptr, true, 256); }), refused("bindTarget : invalid hints value"));
    EXPECT_EQ(g3d().getTarget(), nullptr);
    g3d().bindTarget(nullptr, false, 0x14);
    g3d().releaseTarget();
    EXPECT_EQ(g3d().getHints(), 1);
}

// ---- targets --------------------------------------------------------------------------------

TEST_F(OGLESGraphics3DTest, TargetsAreBoundInOrder)
{
    core::Ref<render::Texture2D> blank = g3d().createNewTexture();
    core::Ref<render::Texture2D> small = g3d().createNewTexture();
    core::Ref<render::Image2D> smallImage = VORNIC3D_NEW render::Image2D(render::Image2D::RGB, 8, 8);
    small->setImage(smallImage.get());
    // Wider than the device's viewport: the image is held although the
    // device refused the upload.
    core::Ref<render::Texture2D> wide = g3d().createNewTexture();
    core::Ref<render::Image2D> wideImage = VORNIC3D_NEW render::Image2D(render::Image2D::ALPHA, 32768, 1);
    EXPECT_EQ(outcomeOf([&] { wide->setImage(wideImage.get()); }), (testsupport::Outcome{"Vornic3D exception", true}));
    EXPECT_EQ(countOf(log(), "OpenGL ERROR (Texture2D): code = 1281 (0x501)\n"), 1);

    EXPECT_EQ(outcomeOf([&] { g3d().clear(nullptr); }),
              refused("clear : failed. call bindTarget-method before clear."));
    EXPECT_EQ(outcomeOf([&] { g3d().releaseTarget(); }), refused("releaseTarget failed because target is 0"));
    EXPECT_EQ(outcomeOf([&] { g3d().bindTarget(small.get()); }), testsupport::bare()); // no frame to draw in
    g3d().bindTarget(nullptr);
    EXPECT_EQ(g3d().getTarget(), &g3d());
    EXPECT_EQ(outcomeOf([&] { g3d().bindTarget(blank.get()); }), refused("bindTarget : texture has no image"));
    EXPECT_EQ(outcomeOf([&] { g3d().bindTarget(wide.get()); }),
              refused("bindTarget : target is Image2D but image size is bigger than viewport"));
    g3d().releaseTarget();
    EXPECT_EQ(g3d().getTarget(), nullptr);
}

// ---- clearing -------------------------------------------------------------------------------

TEST_F(OGLESGraphics3DTest, ClearTakesTheBackgroundsColourAndSwitches)
{
    g3d().bindTarget(nullptr);
    core::Ref<render::Background> background = VORNIC3D_NEW render::Background();
    const struct {
        std::uint32_t color;
        bool colorClear;
        std::uint32_t expected;
    } cases[] = {
        {0x80123456u, true, 0x80123456u}, {0xFF00FF00u, false, 0x80123456u}, // colour left alone
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(hexColor(c.color));
        background->setColor(c.color);
        background->setColorClearEnable(c.colorClear);
        g3d().clear(background.get());
        expectEverywhere(c.expected);
    }
    g3d().clear(nullptr);
    expectEverywhere(kClear);

    // Colour writes left off by a draw do not keep the colour from clearing.
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    background->setColor(kBlue);
    background->setColorClearEnable(true);
    g3d().clear(background.get());
    expectEverywhere(kBlue);
    g3d().releaseTarget();
}

// A 64 x 64 image in four colours (red, green above blue, yellow) on the
// 64 x 48 frame, over magenta. Crop y counts from the image's top row in both
// modes, so a crop of the frame's height at the bottom of a taller image
// shows the image's bottom.
TEST_F(OGLESGraphics3DTest, BackgroundImagesShowTheirCrop)
{
    const int B = render::Background::BORDER;
    const int R = render::Background::REPEAT;
    const struct {
        const char* what;
        int modeX, modeY;
        std::array<int, 4> crop;
        std::vector<std::tuple<int, int, std::uint32_t>> samples; // x, y, colour
    } cases[] = {
        {"bottom 48 rows, one to one",
         B,
         B,
         {0, 16, 64, 48},
         {{16, 40, kRed}, {48, 40, kGreen}, {16, 31, kBlue}, {16, 24, kBlue}, {48, 4, kYellow}}},
        {"upper left quarter", B, B, {0, 0, 32, 32}, {{1, 1, kRed}, {62, 1, kRed}, {1, 46, kRed}, {62, 46, kRed}}},
        {"shifted right",
         B,
         B,
         {-32, 0, 64, 64},
         {{16, 36, kMagenta}, {48, 36, kRed}, {16, 12, kMagenta}, {48, 12, kBlue}}},
        {"repeated shifted right",
         R,
         B,
         {-32, 0, 64, 64},
         {{16, 36, kGreen}, {48, 36, kRed}, {16, 12, kYellow}, {48, 12, kBlue}}},
        {"repeated from row 16", B, R, {0, 16, 64, 64}, {{16, 42, kRed}, {16, 24, kBlue}, {16, 6, kRed}}},
        {"repeated twice", R, R, {0, 0, 128, 128}, {{8, 42, kRed}, {24, 42, kGreen}, {40, 42, kRed}, {8, 30, kBlue}}},
        {"empty crop", B, B, {0, 0, 0, 0}, {{16, 36, kMagenta}, {48, 12, kMagenta}}},
    };
    g3d().bindTarget(nullptr);
    core::Ref<render::Image2D> picture = quadrants(64);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        core::Ref<render::Background> backdrop = VORNIC3D_NEW render::Background();
        backdrop->setColor(kMagenta);
        backdrop->setImage(picture.get());
        backdrop->setImageMode(c.modeX, c.modeY);
        backdrop->setCrop(c.crop[0], c.crop[1], c.crop[2], c.crop[3]);
        g3d().clear(backdrop.get());
        for (const auto& [x, y, color] : c.samples)
            EXPECT_EQ(hexColor(pixelAt(x, y)), hexColor(color)) << x << "," << y;
    }

    // Another image is uploaded in place of the last one, and drawn with the
    // colour not cleared.
    core::Ref<render::Image2D> second = plain(kGreen, 16, 16);
    core::Ref<render::Background> backdrop = VORNIC3D_NEW render::Background();
    backdrop->setImage(second.get());
    backdrop->setColorClearEnable(false);
    g3d().clear(backdrop.get());
    EXPECT_EQ(hexColor(pixelAt(16, 36)), hexColor(kGreen));
    g3d().releaseTarget();
}
