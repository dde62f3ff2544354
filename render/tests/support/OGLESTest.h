#pragma once

#include "EngineTest.h"

#include "render/Camera.h"
#include "render/Graphics3D.h"
#include "render/Graphics3DConfig.h"
#include "render/Image2D.h"
#include "render/IndexBuffer.h"
#include "render/VertexBuffer.h"

#include "hal/Display.h"

#include "core/Ref.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

// The engine with the real OpenGL ES renderer as the renderer singleton,
// drawing into a headless display: a kWidth x kHeight pbuffer on Mesa's
// surfaceless platform with exactly 8 bits per channel, alpha included, and
// a 24-bit depth buffer, so that every pixel read back is exact. Every test
// draws for real, reads pixels back and is a leak test: scene objects must
// be held by the test body's own references, gone before TearDown.
// Tests that need other renderer switches call restartRenderer; fixtures
// that need a larger frame pass its size to the constructor.
class OGLESTest : public EngineTest {
protected:
    static constexpr int kWidth = 64;
    static constexpr int kHeight = 48;

    OGLESTest() = default;
    OGLESTest(int width, int height) : m_width(width), m_height(height) {}

    // Colours as 0xAARRGGBB, as the engine writes them.
    static constexpr std::uint32_t kBlack = 0xFF000000u;
    static constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
    static constexpr std::uint32_t kRed = 0xFFFF0000u;
    static constexpr std::uint32_t kGreen = 0xFF00FF00u;
    static constexpr std::uint32_t kBlue = 0xFF0000FFu;
    static constexpr std::uint32_t kYellow = 0xFFFFFF00u;
    static constexpr std::uint32_t kClear = 0x00000000u; // what clear(null) leaves

    // The references are empty by then (TearDown), so nothing throws here.
    ~OGLESTest() noexcept override {}

    void SetUp() override;
    void TearDown() override;

    // The game's switches with lighting, texturing and vertex colours on, no
    // default light, no overlay, and two small batching buffers.
    static render::Graphics3DConfig defaultConfig();
    // Replaces the renderer (if any) by a new one made with `config` on the
    // same display.
    void restartRenderer(const render::Graphics3DConfig& config);
    // Ends the screen frame, restarts the renderer and binds the screen again
    // under the screen camera.
    void restartOnScreen(const render::Graphics3DConfig& config);

    render::Graphics3D& g3d() { return *m_renderer; }
    HAL::Display& display() { return *m_display; }

    // ---- scenes ----
    // A rectangle from (x0, y0) to (x1, y1) at depth z: 16-bit positions
    // (scale 1), its corners counter-clockwise from the lower left, with
    // texture coordinates that put an image's row 0 at the top, and normals
    // toward +z.
    static core::Ref<render::VertexBuffer> rectangle(int x0, int y0, int x1, int y1, int z = 0);
    // The rectangle's two triangles, counter-clockwise or clockwise as seen
    // from +z.
    static core::Ref<render::IndexBuffer> rectangleTriangles(bool clockwise = false);
    // A parallel camera whose units are the frame's pixels (the fixture's
    // size), eye at z 0
    // looking toward -z, seeing z from -100 to 100; made the renderer's
    // camera with an identity transform. The fixture holds it.
    render::Camera* useScreenCamera();
    // A size x size RGBA image in four colours: red, green above blue,
    // yellow; an opaque RGBA image of one colour.
    static core::Ref<render::Image2D> quadrants(int size = 8);
    static core::Ref<render::Image2D> plain(std::uint32_t argb, int width = 4, int height = 4);
    // Clears the bound frame to `argb` (colour and depth).
    void clearTo(std::uint32_t argb);
    static render::Transform translation(float x, float y, float z);

    // The pixel at (x, y) of the frame being drawn, counted from its lower
    // left corner as OpenGL ES counts, as 0xAARRGGBB.
    static std::uint32_t pixelAt(int x, int y);
    // The colours around (x, y), d pixels away: upper left, upper right,
    // lower left, lower right.
    static std::array<std::string, 4> around(int x, int y, int d = 2);
    // The smallest rectangle holding every pixel of the frame that is not
    // `background`, as "x,y wxh" (its lower left corner); "none" without any.
    std::string extentOf(std::uint32_t background) const;
    // The `cells` characters of the built-in font drawn in cells of 8 x 8
    // glyph pixels, each `scale` x `scale` frame pixels, from (x, y)
    // rightward, each cell's lower left corner at its place: a frame pixel is
    // ink when its red is above 127. '?' for a cell that is no glyph of the
    // font.
    static std::string builtInTextAt(int x, int y, int cells, int scale = 1);

private:
    int m_width = kWidth;
    int m_height = kHeight;
    core::Ref<HAL::Display> m_display;
    core::Ref<render::Graphics3D> m_renderer;
    core::Ref<render::Camera> m_screenCamera;
};

// What around() sees at the centre of an upright quadrants() image.
extern const std::array<std::string, 4> kUpright;

// Each channel of `actual` within `tolerance` of `expected`'s, for blended
// and lit pixels; both are printed in hexadecimal when they differ.
testing::AssertionResult nearColor(std::uint32_t actual, std::uint32_t expected, int tolerance = 2);

// A colour in hexadecimal, for the messages of exact comparisons.
std::string hexColor(std::uint32_t color);

} // namespace testsupport
