#include "OGLESTest.h"
#include "OGLES_Graphics3DInspector.h"
#include "SceneGraphTest.h"

#include "render/Appearance.h"
#include "render/Background.h"
#include "render/CompositingMode.h"
#include "render/Fog.h"
#include "render/Image2D.h"
#include "render/LineListArray.h"
#include "render/Mesh.h"
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
    std::string centre() { return hexColor(pixelAt(kWidth / 2, kHeight / 2)); }
};

// Opaque red at every corner as RGBA bytes; with three components the same
// bytes make a colour array the device cannot take.
core::Ref<render::VertexArray> redArray(int components)
{
    const signed char rgba[] = {-1, 0, 0, -1, -1, 0, 0, -1, -1, 0, 0, -1, -1, 0, 0, -1};
    core::Ref<render::VertexArray> colors = VORNIC3D_NEW render::VertexArray(4, components, render::VertexArray::BYTE);
    colors->set(0, 4, rgba);
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
    const struct {
        const char* what;
        int culling, winding;
        bool withMode, clockwise, visible;
    } cases[] = {
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
    colored->setColors(redArray(4).get());
    colored->setDefaultColor(kGreen);
    core::Ref<render::VertexBuffer> rgb = rectangle(0, 0, kWidth, kHeight);
    rgb->setColors(redArray(3).get());
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
    restartOnScreen(config);
    EXPECT_EQ(draw(colored.get()), hexColor(kGreen));
    EXPECT_EQ(draw(rgb.get()), hexColor(kGreen));
}

// ---- appearance components ---------------------------------------------------------------------

// Each row fills the frame over `destination` with `source` through one
// component of its appearance (for fog, 50 units in front of the eye in
// white fog); a draw without the component writes the plain source again.
TEST_F(OGLESDrawTest, AppearanceComponentsColourTheFillUntilLeftOut)
{
    const auto compositing = [](int blending, float threshold = 0, bool colorWrite = true, bool alphaWrite = true) {
        return [=](Appearance& a) {
            core::Ref<CompositingMode> mode = VORNIC3D_NEW CompositingMode();
            mode->setBlending(blending);
            mode->setAlphaThreshold(threshold);
            mode->setColorWriteEnable(colorWrite);
            mode->setAlphaWriteEnable(alphaWrite);
            a.setCompositingMode(mode.get());
        };
    };
    const auto fog = [](int mode, float density) {
        return [=](Appearance& a) {
            core::Ref<render::Fog> f = VORNIC3D_NEW render::Fog();
            f->setColor(0xFFFFFF);
            f->setMode(mode);
            f->setDensity(density);
            f->setLinear(0.0f, 100.0f);
            a.setFog(f.get());
        };
    };
    const unsigned char texel[] = {0x80, 0x40, 0xC0, 0x80};
    core::Ref<render::Image2D> image = VORNIC3D_NEW render::Image2D(render::Image2D::RGBA, 1, 1, texel);
    const auto textured = [&](int function) {
        return [&, function](Appearance& a) {
            core::Ref<render::Texture2D> texture = g3d().createNewTexture();
            texture->setImage(image.get());
            texture->setBlendColor(0x204060);
            texture->setBlending(function);
            a.setTexture(0, texture.get());
        };
    };
    using CM = CompositingMode;
    using T = render::Texture2D;
    const std::uint32_t half = 0x80FF0000u;
    const struct {
        const char* what;
        std::function<void(Appearance&)> set;
        std::uint32_t destination, source, expected;
        int z;
    } cases[] = {
        {"alpha", compositing(CM::ALPHA), 0x804080C0u, 0x80804020u, 0x80606070u, 0},
        {"alpha add", compositing(CM::ALPHA_ADD), 0x804080C0u, 0x80804020u, 0xC080A0D0u, 0},
        {"modulate", compositing(CM::MODULATE), 0x804080C0u, 0x80804020u, 0x40202018u, 0},
        {"modulate x2", compositing(CM::MODULATE_X2), 0x804080C0u, 0x80804020u, 0x81404030u, 0},
        {"replace", compositing(CM::REPLACE), 0x804080C0u, 0x80804020u, 0x80804020u, 0},
        {"one, destination alpha", compositing(CM::ONE_DST_ALPHA), 0x804080C0u, 0x80804020u, 0xC0A08080u, 0},
        {"alpha above the threshold", compositing(CM::REPLACE, 0.5f), kBlue, half, half, 0},
        {"alpha below the threshold", compositing(CM::REPLACE, 0.5f), kBlue, 0x7FFF0000u, kBlue, 0},
        {"colour writes off", compositing(CM::REPLACE, 0, false), kBlue, half, 0x800000FFu, 0},
        {"alpha writes off", compositing(CM::REPLACE, 0, true, false), kBlue, half, 0xFFFF0000u, 0},
        {"linear fog, half way", fog(render::Fog::LINEAR, 1), kBlue, kBlack, 0xFF808080u, -50},
        {"exponential fog", fog(render::Fog::EXPONENTIAL, 0.02f), kBlue, kBlack, 0xFFA1A1A1u, -50},
        {"texture, replace", textured(T::FUNC_REPLACE), kBlack, 0xFFFF8040u, 0x808040C0u, 0},
        {"texture, modulate", textured(T::FUNC_MODULATE), kBlack, 0xFFFF8040u, 0x80802030u, 0},
        {"texture, decal", textured(T::FUNC_DECAL), kBlack, 0xFFFF8040u, 0xFFBF6080u, 0},
        {"texture, blend", textured(T::FUNC_BLEND), kBlack, 0xFFFF8040u, 0x808F7058u, 0},
        {"texture, add", textured(T::FUNC_ADD), kBlack, 0xFFFF8040u, 0x80FFC0FFu, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        clearTo(c.destination);
        core::Ref<Appearance> appearance = VORNIC3D_NEW Appearance();
        c.set(*appearance);
        fill(c.source, appearance.get(), c.z);
        EXPECT_TRUE(nearColor(pixelAt(kWidth / 2, kHeight / 2), c.expected));
        fill(c.source, nullptr, c.z);
        EXPECT_EQ(centre(), hexColor(c.source));
    }

    // Uploading another texture binds and unbinds it on the device; the next
    // draw of the first texture must bind it again, as after a delete.
    core::Ref<Appearance> appearance = VORNIC3D_NEW Appearance();
    textured(T::FUNC_REPLACE)(*appearance);
    core::Ref<render::Texture2D> other = g3d().createNewTexture();
    for (const bool deleted : {false, true}) {
        SCOPED_TRACE(deleted);
        fill(0xFFFF8040u, appearance.get());
        if (deleted)
            other = nullptr;
        else
            other->setImage(image.get());
        fill(0xFFFF8040u, appearance.get());
        EXPECT_EQ(centre(), hexColor(0x808040C0u));
    }

    // With texturing off the texture is not used.
    render::Graphics3DConfig config = defaultConfig();
    config.texturing = false;
    restartOnScreen(config);
    fill(0xFFFF8040u, appearance.get());
    EXPECT_EQ(centre(), hexColor(0xFFFF8040u));
}

TEST_F(OGLESDrawTest, DepthTestAndWrite)
{
    // Red near (z 10) first, then blue far (z -10).
    const struct {
        const char* what;
        bool test, write, depthBuffer;
        std::uint32_t expected;
    } cases[] = {
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
        core::Ref<Appearance> near = VORNIC3D_NEW Appearance();
        near->setCompositingMode(VORNIC3D_NEW CompositingMode());
        near->getCompositingMode()->setDepthWriteEnable(c.write);
        core::Ref<Appearance> far = VORNIC3D_NEW Appearance();
        far->setCompositingMode(VORNIC3D_NEW CompositingMode());
        far->getCompositingMode()->setDepthTestEnable(c.test);
        fill(kRed, near.get(), 10);
        fill(kBlue, far.get(), -10);
        EXPECT_EQ(centre(), hexColor(c.expected));
    }

    // A background that keeps the depth buffer keeps the near rectangle's
    // depth (the rows above show that a clear resets it).
    g3d().releaseTarget();
    g3d().bindTarget(nullptr);
    clearTo(kBlack);
    fill(kRed, nullptr, 10);
    core::Ref<render::Background> background = VORNIC3D_NEW render::Background();
    background->setDepthClearEnable(false);
    g3d().clear(background.get());
    fill(kBlue, nullptr, -10);
    EXPECT_EQ(centre(), hexColor(kClear));
}

// ---- index buffers -------------------------------------------------------------------------------

// A mesh of line pairs draws lines, not triangles: the rectangle's bottom
// and right edges alone, on pixel centres so that each covers one row or
// column. The draw counts as one call of four indices.
TEST_F(OGLESDrawTest, ALineListDrawsItsPairsAsLines)
{
    clearTo(kBlack);
    core::Ref<render::VertexBuffer> vertices = rectangle(10, 10, 50, 40);
    const float bias[] = {0.5f, 0.5f, 0.0f};
    vertices->setPositions(vertices->getPositions(nullptr), 1.0f, bias);
    vertices->setDefaultColor(kRed);
    const unsigned short pairs[] = {0, 1, 1, 2};
    core::Ref<render::IndexBuffer> lines = VORNIC3D_NEW render::LineListArray(pairs, 4);
    core::Ref<Appearance> appearance = VORNIC3D_NEW Appearance();
    core::Ref<render::Mesh> mesh = VORNIC3D_NEW render::Mesh(vertices.get(), lines.get(), appearance.get());
    const int drawCalls = render::OGLES_Graphics3DInspector::drawCalls(g3d());
    const int indices = render::OGLES_Graphics3DInspector::indicesDrawn(g3d());
    g3d().render(mesh.get(), Transform());

    // The two edges, then beside the bottom one, the inside, the left and
    // top edges and beside the right one.
    const int points[][2] = {{30, 10}, {50, 25}, {30, 9}, {30, 11}, {30, 25}, {10, 25}, {30, 40}, {49, 25}, {51, 25}};
    std::string seen;
    for (const auto& p : points) {
        const std::uint32_t color = pixelAt(p[0], p[1]);
        seen += color == kRed ? '#' : color == kBlack ? '.' : '?';
    }
    EXPECT_EQ(seen, "##.......");
    EXPECT_EQ(render::OGLES_Graphics3DInspector::drawCalls(g3d()) - drawCalls, 1);
    EXPECT_EQ(render::OGLES_Graphics3DInspector::indicesDrawn(g3d()) - indices, 4);
}
