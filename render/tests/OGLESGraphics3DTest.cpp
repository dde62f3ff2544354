#include "OGLESTest.h"
#include "SceneGraphTest.h"

#include "render/Background.h"
#include "render/Graphics3DProperties.h"
#include "render/Image2D.h"
#include "render/Texture2D.h"

#include <GLES/gl.h>

#include <array>
#include <cmath>

namespace {

using testsupport::accepted;
using testsupport::countOf;
using testsupport::hexColor;
using testsupport::outcomeOf;
using testsupport::refused;

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
    const struct { int type; testsupport::Outcome outcome; } cases[] = {
        {2, refused("enable QUICK_AND_DIRTY_D3D_MOBILE_SUPPORT_FOR_SAMSUNG_OMNIA_ENABLED flag if you want to use "
                    "Direct3D Mobile")},
        {0, refused("createGraphics3D : invalid type")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        EXPECT_EQ(outcomeOf([&] { render::Graphics3D::createGraphics3D(c.type, nullptr, nullptr); }), c.outcome);
    }

    core::Ref<render::Graphics3D> dummy = render::Graphics3D::createGraphics3D(1, nullptr, nullptr);
    EXPECT_EQ(countOf(log(), "OGLES_Graphics3D created without functionality\n"), 1);
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

TEST_F(OGLESGraphics3DTest, StartsWithTheScreenViewportAndTheDevicesLimits)
{
    GLint limits[2] = {};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, limits);
    const render::Graphics3DProperties& p = g3d().getProperties();
    EXPECT_EQ((std::array{p.maxViewportWidth, p.maxViewportHeight}), (std::array{limits[0], limits[1]}));
    EXPECT_EQ(viewport(), (std::array{0, 0, kWidth, kHeight}));
    EXPECT_EQ(deviceViewport(), (std::array{0, 0, kWidth, kHeight}));
    EXPECT_EQ(std::pair(g3d().getDepthRangeNear(), g3d().getDepthRangeFar()), std::pair(0.0f, 1.0f));
    EXPECT_EQ(g3d().getTarget(), nullptr);
    EXPECT_EQ(outcomeOf([&] { render::Graphics3D::createGraphics3D(1, &display(), nullptr); }),
              refused("Graphics3D object is available. Can not create a new one."));
}

// ---- viewport, depth range, hints ---------------------------------------------------------

TEST_F(OGLESGraphics3DTest, ViewportChecksItsSizeAndSkipsAnUnchangedOne)
{
    const int widthLimit = g3d().getProperties().maxViewportWidth;
    const int heightLimit = g3d().getProperties().maxViewportHeight;
    const struct { std::array<int, 4> v; testsupport::Outcome outcome; bool bigWarning; } cases[] = {
        {{8, 4, 32, 16}, accepted(), false},
        {{-4, -4, kWidth + 8, kHeight}, accepted(), true},
        {{0, 0, 0, 10}, refused("setViewport : width <= 0"), false},
        {{0, 0, 10, -1}, refused("setViewport : height <= 0"), false},
        {{0, 0, widthLimit + 1, 10}, refused("setViewport : width > m_properties.maxViewportWidth"), false},
        {{0, 0, 10, heightLimit + 1}, refused("setViewport : height > m_properties.maxViewportHeight"), false},
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
    // The same values again do not reach the device.
    glViewport(1, 2, 3, 4);
    g3d().setViewport(0, 0, kWidth, kHeight);
    EXPECT_EQ(deviceViewport(), (std::array{1, 2, 3, 4}));
}

TEST_F(OGLESGraphics3DTest, DepthRangeAndHintsAreChecked)
{
    const struct { float nearValue, farValue; testsupport::Outcome outcome; } cases[] = {
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
    EXPECT_EQ(std::pair(g3d().getHints(), g3d().isDepthBufferEnabled()), std::pair(0x14, false));
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

    // A texture target's release copies, clears and leaves the screen bound;
    // the next release swaps.
    g3d().bindTarget(small.get(), true, 4);
    g3d().releaseTarget();
    EXPECT_EQ(g3d().getTarget(), &g3d());
    EXPECT_EQ(g3d().getHints(), 1);
    EXPECT_EQ(outcomeOf([&] { g3d().releaseTarget(); }), accepted());
    EXPECT_EQ(g3d().getTarget(), nullptr);
}

// ---- clearing -------------------------------------------------------------------------------

TEST_F(OGLESGraphics3DTest, ClearTakesTheBackgroundsColourAndSwitches)
{
    g3d().bindTarget(nullptr);
    core::Ref<render::Background> background = VORNIC3D_NEW render::Background();
    const struct { std::uint32_t color; bool colorClear; std::uint32_t expected; } cases[] = {
        {0x80123456u, true, 0x80123456u},
        {0xFF00FF00u, false, 0x80123456u}, // colour left alone
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
