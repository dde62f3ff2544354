#include "OGLESTest.h"
#include "SceneGraphTest.h"

#include "render/Appearance.h"
#include "render/Background.h"
#include "render/CompositingMode.h"
#include "render/Fog.h"
#include "render/Image2D.h"
#include "render/PolygonMode.h"
#include "render/Texture2D.h"
#include "render/TriangleListArray.h"
#include "render/VertexArray.h"

#include <functional>

namespace {

using render::Appearance;
using render::CompositingMode;
using render::PolygonMode;
using render::Transform;
using testsupport::accepted;
using testsupport::hexColor;
using testsupport::nearColor;
using testsupport::outcomeOf;
using testsupport::refused;

// One primitive set at a time, under a camera whose units are pixels.
class OGLESDrawTest : public testsupport::OGLESTest {
protected:
    void SetUp() override
    {
        OGLESTest::SetUp();
        g3d().bindTarget(nullptr);
        useScreenCamera();
    }
    // The whole frame as one rectangle of the default colour `argb`, at depth
    // z, drawn with `appearance` (an empty one when null).
    void fill(std::uint32_t argb, Appearance* appearance = nullptr, int z = 0, bool clockwise = false)
    {
        core::Ref<render::VertexBuffer> vertices = rectangle(0, 0, kWidth, kHeight, z);
        vertices->setDefaultColor(argb);
        core::Ref<Appearance> empty = VORNIC3D_NEW Appearance();
        g3d().render(vertices.get(), rectangleTriangles(clockwise).get(),
                     appearance != nullptr ? appearance : empty.get(), Transform());
    }
    static core::Ref<Appearance> with(CompositingMode* compositingMode)
    {
        core::Ref<Appearance> appearance = VORNIC3D_NEW Appearance();
        appearance->setCompositingMode(compositingMode);
        return appearance;
    }
    std::string centre() { return hexColor(pixelAt(kWidth / 2, kHeight / 2)); }
    // A new renderer with `config`, bound to the screen under the camera.
    void restartWith(const render::Graphics3DConfig& config)
    {
        g3d().releaseTarget();
        restartRenderer(config);
        g3d().bindTarget(nullptr);
        useScreenCamera();
    }
};

core::Ref<render::VertexArray> colorArray(int components, std::uint32_t argb)
{
    core::Ref<render::VertexArray> colors = VORNIC3D_NEW render::VertexArray(4, components, render::VertexArray::BYTE);
    signed char values[16] = {};
    for (int v = 0; v < 4; ++v) {
        const unsigned char rgba[] = {static_cast<unsigned char>(argb >> 16), static_cast<unsigned char>(argb >> 8),
                                      static_cast<unsigned char>(argb), static_cast<unsigned char>(argb >> 24)};
        for (int c = 0; c < components; ++c)
            values[v * components + c] = static_cast<signed char>(rgba[c]);
    }
    colors->set(0, 4, values);
    return colors;
}

} // namespace

// ---- placement ---------------------------------------------------------------------------------

// Scale 2 and bias (4, 6), moved 10 along x: the 10 x 10 rectangle covers
// (14, 6) to (34, 26).
TEST_F(OGLESDrawTest, PositionsAreScaledBiasedAndTransformed)
{
    clearTo(kBlack);
    core::Ref<render::VertexBuffer> vertices = rectangle(0, 0, 10, 10);
    const float bias[] = {4.0f, 6.0f, 0.0f};
    vertices->setPositions(vertices->getPositions(nullptr), 2.0f, bias);
    vertices->setDefaultColor(kRed);
    core::Ref<Appearance> appearance = VORNIC3D_NEW Appearance();
    g3d().render(vertices.get(), rectangleTriangles().get(), appearance.get(), translation(10, 0, 0));
    // The corner pixels, then the pixels just beyond them.
    EXPECT_EQ((std::array{pixelAt(14, 6), pixelAt(33, 25)}), (std::array{kRed, kRed}));
    EXPECT_EQ((std::array{pixelAt(13, 6), pixelAt(34, 25), pixelAt(33, 26), pixelAt(14, 5)}),
              (std::array{kBlack, kBlack, kBlack, kBlack}));
}

// ---- polygon mode --------------------------------------------------------------------------------

// Rows run in order on one frame: a draw without a polygon mode must not
// keep what the draw before it set.
TEST_F(OGLESDrawTest, CullingFollowsWindingAndDefaultsComeBack)
{
    const struct { const char* what; int culling, winding; bool withMode, clockwise, visible; } cases[] = {
        {"defaults, counter-clockwise", 0, 0, false, false, true},
        {"defaults, clockwise", 0, 0, false, true, false},
        {"back, clockwise winding", PolygonMode::CULL_BACK, PolygonMode::WINDING_CW, true, true, true},
        {"defaults after clockwise winding", 0, 0, false, true, false},
        {"front", PolygonMode::CULL_FRONT, PolygonMode::WINDING_CCW, true, false, false},
        {"front, clockwise", PolygonMode::CULL_FRONT, PolygonMode::WINDING_CCW, true, true, true},
        {"none", PolygonMode::CULL_NONE, PolygonMode::WINDING_CCW, true, true, true},
        {"defaults after none", 0, 0, false, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        clearTo(kBlack);
        core::Ref<Appearance> appearance = VORNIC3D_NEW Appearance();
        if (c.withMode) {
            core::Ref<PolygonMode> mode = VORNIC3D_NEW PolygonMode();
            mode->setCulling(c.culling);
            mode->setWinding(c.winding);
            appearance->setPolygonMode(mode.get());
        }
        fill(kGreen, appearance.get(), 0, c.clockwise);
        EXPECT_EQ(centre(), hexColor(c.visible ? kGreen : kBlack));
    }
}

// ---- colours ---------------------------------------------------------------------------------------

TEST_F(OGLESDrawTest, VertexColoursOrTheDefaultColour)
{
    core::Ref<render::VertexBuffer> plain = rectangle(0, 0, kWidth, kHeight);
    plain->setDefaultColor(kGreen);
    core::Ref<render::VertexBuffer> colored = rectangle(0, 0, kWidth, kHeight);
    colored->setColors(colorArray(4, kRed).get());
    colored->setDefaultColor(kGreen);
    core::Ref<render::VertexBuffer> rgb = rectangle(0, 0, kWidth, kHeight);
    rgb->setColors(colorArray(3, kRed).get());
    rgb->setDefaultColor(kGreen);
    const unsigned short beyond[] = {0, 1, 3, 2, 3, 4};
    core::Ref<render::IndexBuffer> wrong = VORNIC3D_NEW render::TriangleListArray(beyond, 6);
    core::Ref<Appearance> appearance = VORNIC3D_NEW Appearance();
    const auto draw = [&](render::VertexBuffer* vertices, render::IndexBuffer* triangles = nullptr) {
        clearTo(kBlack);
        g3d().render(vertices, triangles != nullptr ? triangles : rectangleTriangles().get(), appearance.get(),
                     Transform());
        return centre();
    };
    EXPECT_EQ(draw(plain.get()), hexColor(kGreen));
    EXPECT_EQ(draw(colored.get()), hexColor(kRed));
    EXPECT_EQ(draw(plain.get()), hexColor(kGreen));

    // Colours the device cannot take and indices beyond the vertices are
    // refused before any array is enabled, and leave none behind.
    EXPECT_EQ(outcomeOf([&] { draw(rgb.get()); }),
              refused("OGLES_Graphics3D handleColors failed because color component count != 4"));
    EXPECT_EQ(outcomeOf([&] { draw(colored.get(), wrong.get()); }),
              refused("handleIndex : index beyond the vertex count"));
    EXPECT_EQ(centre(), hexColor(kBlack));
    EXPECT_EQ(draw(plain.get()), hexColor(kGreen));

    render::Graphics3DConfig config = defaultConfig();
    config.vertex_colors = false;
    restartWith(config);
    EXPECT_EQ(draw(colored.get()), hexColor(kGreen));
    EXPECT_EQ(draw(rgb.get()), hexColor(kGreen));
}

// ---- compositing ---------------------------------------------------------------------------------

TEST_F(OGLESDrawTest, SixBlendingModes)
{
    const std::uint32_t destination = 0x804080C0u;
    const std::uint32_t source = 0x80804020u;
    const struct { int blending; std::uint32_t expected; } cases[] = {
        {CompositingMode::ALPHA, 0x80606070u},     {CompositingMode::ALPHA_ADD, 0xC080A0D0u},
        {CompositingMode::MODULATE, 0x40202018u},  {CompositingMode::MODULATE_X2, 0x81404030u},
        {CompositingMode::REPLACE, 0x80804020u},   {CompositingMode::ONE_DST_ALPHA, 0xC0A08080u},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.blending);
        clearTo(destination);
        core::Ref<CompositingMode> mode = VORNIC3D_NEW CompositingMode();
        mode->setBlending(c.blending);
        fill(source, with(mode.get()).get());
        EXPECT_TRUE(nearColor(pixelAt(kWidth / 2, kHeight / 2), c.expected));
    }
}

TEST_F(OGLESDrawTest, AlphaThresholdAndWriteMasks)
{
    const struct { const char* what; float threshold; bool colorWrite, alphaWrite; std::uint32_t source, expected; }
    cases[] = {
        {"alpha above the threshold", 0.5f, true, true, 0x80FF0000u, 0x80FF0000u},
        {"alpha below the threshold", 0.5f, true, true, 0x7FFF0000u, kBlue},
        {"colour writes off", 0.0f, false, true, 0x80FF0000u, 0x800000FFu},
        {"alpha writes off", 0.0f, true, false, 0x80FF0000u, 0xFFFF0000u},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        clearTo(kBlue);
        core::Ref<CompositingMode> mode = VORNIC3D_NEW CompositingMode();
        mode->setAlphaThreshold(c.threshold);
        mode->setColorWriteEnable(c.colorWrite);
        mode->setAlphaWriteEnable(c.alphaWrite);
        fill(c.source, with(mode.get()).get());
        EXPECT_EQ(centre(), hexColor(c.expected));
        // A draw without compositing mode writes everything again.
        fill(kGreen);
        EXPECT_EQ(centre(), hexColor(kGreen));
    }
}

TEST_F(OGLESDrawTest, DepthTestAndWrite)
{
    // Red near (z 10) first, then blue far (z -10).
    const struct { const char* what; bool test, write, depthBuffer; std::uint32_t expected; } cases[] = {
        {"tested and written", true, true, true, kRed},
        {"far not tested", false, true, true, kBlue},
        {"near not written", true, false, true, kBlue},
        {"no depth buffer for the frame", true, true, false, kBlue},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        g3d().releaseTarget();
        g3d().bindTarget(nullptr, c.depthBuffer, 1);
        clearTo(kBlack);
        core::Ref<CompositingMode> near = VORNIC3D_NEW CompositingMode();
        near->setDepthWriteEnable(c.write);
        core::Ref<CompositingMode> far = VORNIC3D_NEW CompositingMode();
        far->setDepthTestEnable(c.test);
        fill(kRed, with(near.get()).get(), 10);
        fill(kBlue, with(far.get()).get(), -10);
        EXPECT_EQ(centre(), hexColor(c.expected));
    }

    // A background that keeps the depth buffer keeps the near rectangle's depth.
    g3d().releaseTarget();
    g3d().bindTarget(nullptr);
    for (const bool depthClear : {true, false}) {
        SCOPED_TRACE(depthClear);
        clearTo(kBlack);
        fill(kRed, nullptr, 10);
        core::Ref<render::Background> background = VORNIC3D_NEW render::Background();
        background->setDepthClearEnable(depthClear);
        g3d().clear(background.get());
        fill(kBlue, nullptr, -10);
        EXPECT_EQ(centre(), hexColor(depthClear ? kBlue : kClear));
    }
}

// ---- fog --------------------------------------------------------------------------------------------

// A black rectangle 50 units in front of the eye in white fog.
TEST_F(OGLESDrawTest, LinearAndExponentialFog)
{
    const struct { const char* what; std::function<void(render::Fog&)> set; std::uint32_t expected; } cases[] = {
        {"linear, half way", [](render::Fog& f) { f.setLinear(0.0f, 100.0f); }, 0xFF808080u},
        {"exponential", [](render::Fog& f) { f.setMode(render::Fog::EXPONENTIAL); f.setDensity(0.02f); }, 0xFFA1A1A1u},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        clearTo(kBlue);
        core::Ref<render::Fog> fog = VORNIC3D_NEW render::Fog();
        fog->setColor(0xFFFFFF);
        c.set(*fog);
        core::Ref<Appearance> appearance = VORNIC3D_NEW Appearance();
        appearance->setFog(fog.get());
        fill(kBlack, appearance.get(), -50);
        EXPECT_TRUE(nearColor(pixelAt(kWidth / 2, kHeight / 2), c.expected));
        fill(kBlack, nullptr, -50);
        EXPECT_EQ(centre(), hexColor(kBlack));
    }
}

// ---- textures ---------------------------------------------------------------------------------------

TEST_F(OGLESDrawTest, TextureEnvironments)
{
    const unsigned char texel[] = {0x80, 0x40, 0xC0, 0x80};
    core::Ref<render::Image2D> image = VORNIC3D_NEW render::Image2D(render::Image2D::RGBA, 1, 1, texel);
    core::Ref<render::Texture2D> texture = g3d().createNewTexture();
    texture->setImage(image.get());
    texture->setBlendColor(0x204060);
    core::Ref<Appearance> appearance = VORNIC3D_NEW Appearance();
    appearance->setTexture(0, texture.get());
    const struct { int blending; std::uint32_t expected; } cases[] = {
        {render::Texture2D::FUNC_REPLACE, 0x808040C0u}, {render::Texture2D::FUNC_MODULATE, 0x80802030u},
        {render::Texture2D::FUNC_DECAL, 0xFFBF6080u},   {render::Texture2D::FUNC_BLEND, 0x808F7058u},
        {render::Texture2D::FUNC_ADD, 0x80FFC0FFu},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.blending);
        clearTo(kBlack);
        texture->setBlending(c.blending);
        fill(0xFFFF8040u, appearance.get());
        EXPECT_TRUE(nearColor(pixelAt(kWidth / 2, kHeight / 2), c.expected));
    }

    // With texturing off the texture is not used.
    render::Graphics3DConfig config = defaultConfig();
    config.texturing = false;
    restartWith(config);
    fill(0xFFFF8040u, appearance.get());
    EXPECT_EQ(centre(), hexColor(0xFFFF8040u));
}

// Uploading another texture binds and unbinds it on the device; the next
// draw of the first texture must bind it again.
TEST_F(OGLESDrawTest, ADrawAfterAnotherUploadIsStillTextured)
{
    core::Ref<render::Image2D> image = plain(kRed, 1, 1);
    core::Ref<render::Texture2D> first = g3d().createNewTexture();
    first->setImage(image.get());
    core::Ref<Appearance> appearance = VORNIC3D_NEW Appearance();
    appearance->setTexture(0, first.get());

    clearTo(kBlack);
    fill(kWhite, appearance.get());
    EXPECT_EQ(centre(), hexColor(kRed));
    core::Ref<render::Texture2D> second = g3d().createNewTexture();
    second->setImage(image.get());
    fill(kWhite, appearance.get());
    EXPECT_EQ(centre(), hexColor(kRed));
    second = nullptr;
    fill(kWhite, appearance.get());
    EXPECT_EQ(centre(), hexColor(kRed));
}
