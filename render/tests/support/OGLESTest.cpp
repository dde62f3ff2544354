#include "OGLESTest.h"

#include "hal/win32/Win32Display.h"
#include "hal/win32/Win32WindowState.h"

#include "BatchMeshes.h"
#include "BuiltInFont.h"

#include "render/Background.h"
#include "render/TriangleListArray.h"
#include "render/VertexArray.h"

#include "core/Globals.h"

#include "wince/TestApi.h"

#include <GLES/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace testsupport {

// ---- fixture ----------------------------------------------------------------------

void OGLESTest::SetUp()
{
    EngineTest::SetUp();
    WinceTestReset();
    HAL::windowState() = HAL::Win32WindowState{};
    HAL::DisplayConfig setup{0,
                             0,
                             static_cast<std::int16_t>(m_width),
                             static_cast<std::int16_t>(m_height),
                             32,
                             "renderer test",
                             HAL::DisplayConfig::WINDOW_MODE_WINDOWED};
    const HAL::Win32Display::SurfaceFormat exact{8, 8, 8, 8, 24};
    m_display = VORNIC3D_NEW HAL::Win32Display(&setup, nullptr, &exact);
    restartRenderer(defaultConfig());
}

void OGLESTest::TearDown()
{
    core::Globals::get()->m_graphics3D = nullptr;
    m_renderer = nullptr;
    m_screenCamera = nullptr;
    m_display = nullptr;
    HAL::windowState() = HAL::Win32WindowState{};
    WinceTestReset();
    EngineTest::TearDown();
}

render::Graphics3DConfig OGLESTest::defaultConfig()
{
    render::Graphics3DConfig config;
    config.lighting = true;
    config.texturing = true;
    config.vertex_colors = true;
    config.max_dynamic_buffers = 2;
    config.max_dynamic_buffer_size = 16;
    config.type = render::Graphics3D::OPENGL_ES;
    return config;
}

void OGLESTest::restartRenderer(const render::Graphics3DConfig& config)
{
    core::Globals::get()->m_graphics3D = nullptr;
    m_renderer = nullptr;
    m_renderer = render::Graphics3D::createGraphics3D(render::Graphics3D::OPENGL_ES, m_display.get(), &config);
    core::Globals::get()->m_graphics3D = m_renderer.get();
}

void OGLESTest::restartOnScreen(const render::Graphics3DConfig& config)
{
    m_renderer->releaseTarget();
    restartRenderer(config);
    m_renderer->bindTarget(nullptr);
    useScreenCamera();
}

// ---- scenes -------------------------------------------------------------------------

core::Ref<render::VertexBuffer> OGLESTest::rectangle(int x0, int y0, int x1, int y1, int z)
{
    const auto array = [](int components, std::vector<short> values) {
        core::Ref<render::VertexArray> result =
            VORNIC3D_NEW render::VertexArray(4, components, render::VertexArray::SHORT);
        result->set(0, 4, values.data());
        return result;
    };
    const auto s = [](int value) { return static_cast<short>(value); };
    core::Ref<render::VertexBuffer> vertices = VORNIC3D_NEW render::VertexBuffer();
    vertices->setPositions(
        array(3, {s(x0), s(y0), s(z), s(x1), s(y0), s(z), s(x1), s(y1), s(z), s(x0), s(y1), s(z)}).get(), 1.0f,
        nullptr);
    vertices->setTexCoords(0, array(2, {0, 1, 1, 1, 1, 0, 0, 0}).get(), 1.0f, nullptr);
    vertices->setNormals(array(3, {0, 0, 127, 0, 0, 127, 0, 0, 127, 0, 0, 127}).get());
    return vertices;
}

core::Ref<render::IndexBuffer> OGLESTest::rectangleTriangles(bool clockwise)
{
    const unsigned short counterClockwise[] = {0, 1, 3, 2, 3, 1};
    const unsigned short reversed[] = {0, 3, 1, 2, 1, 3};
    return VORNIC3D_NEW render::TriangleListArray(clockwise ? reversed : counterClockwise, 6);
}

render::Camera* OGLESTest::useScreenCamera()
{
    if (m_screenCamera == nullptr) {
        m_screenCamera = VORNIC3D_NEW render::Camera();
        m_screenCamera->setParallel(0.0f, static_cast<float>(m_width), 0.0f, static_cast<float>(m_height), -100.0f,
                                    100.0f);
    }
    m_renderer->setCamera(m_screenCamera.get(), render::Transform());
    return m_screenCamera.get();
}

namespace {

core::Ref<render::Image2D> fourColours(int width, int height, const std::array<std::uint32_t, 4>& colours)
{
    std::vector<unsigned char> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = colours[(y < height / 2 ? 0 : 2) + (x < width / 2 ? 0 : 1)];
            pixels.insert(pixels.end(), {static_cast<unsigned char>(c >> 16), static_cast<unsigned char>(c >> 8),
                                         static_cast<unsigned char>(c), 0xFF});
        }
    return VORNIC3D_NEW render::Image2D(render::Image2D::RGBA, width, height, pixels.data());
}

} // namespace

core::Ref<render::Image2D> OGLESTest::quadrants(int size)
{
    return fourColours(size, size, {kRed, kGreen, kBlue, kYellow});
}

core::Ref<render::Image2D> OGLESTest::plain(std::uint32_t argb, int width, int height)
{
    return fourColours(width, height, {argb, argb, argb, argb});
}

void OGLESTest::clearTo(std::uint32_t argb)
{
    core::Ref<render::Background> background = VORNIC3D_NEW render::Background();
    background->setColor(argb);
    m_renderer->clear(background.get());
}

render::Transform OGLESTest::translation(float x, float y, float z)
{
    return testsupport::translation(x, y, z);
}

// ---- pixels -------------------------------------------------------------------------

namespace {

// The RGBA bytes OpenGL ES reads back, as 0xAARRGGBB.
std::uint32_t argbOf(const GLubyte* rgba)
{
    return static_cast<std::uint32_t>(rgba[3]) << 24 | static_cast<std::uint32_t>(rgba[0]) << 16 |
           static_cast<std::uint32_t>(rgba[1]) << 8 | rgba[2];
}

} // namespace

std::uint32_t OGLESTest::pixelAt(int x, int y)
{
    GLubyte rgba[4] = {};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return argbOf(rgba);
}

std::array<std::string, 4> OGLESTest::around(int x, int y, int d)
{
    return {hexColor(pixelAt(x - d, y + d - 1)), hexColor(pixelAt(x + d - 1, y + d - 1)),
            hexColor(pixelAt(x - d, y - d)), hexColor(pixelAt(x + d - 1, y - d))};
}

std::string OGLESTest::extentOf(std::uint32_t background) const
{
    std::vector<GLubyte> rgba(static_cast<std::size_t>(m_width * m_height * 4));
    glReadPixels(0, 0, m_width, m_height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    int x0 = m_width, y0 = m_height, x1 = -1, y1 = -1;
    for (int i = 0; i < m_width * m_height; ++i) {
        if (argbOf(&rgba[static_cast<std::size_t>(i) * 4]) == background)
            continue;
        x0 = std::min(x0, i % m_width), x1 = std::max(x1, i % m_width);
        y0 = std::min(y0, i / m_width), y1 = std::max(y1, i / m_width);
    }
    if (x1 < 0)
        return "none";
    return std::to_string(x0) + "," + std::to_string(y0) + " " + std::to_string(x1 - x0 + 1) + "x" +
           std::to_string(y1 - y0 + 1);
}

std::string OGLESTest::builtInTextAt(int x, int y, int cells, int scale)
{
    std::string text;
    for (int cell = 0; cell < cells; ++cell) {
        std::vector<bool> ink;
        for (int row = 8 * scale - 1; row >= 0; --row)
            for (int column = 0; column < 8 * scale; ++column)
                ink.push_back((pixelAt(x + 8 * scale * cell + column, y + row) >> 16 & 0xFFu) > 127);
        char found = '?';
        for (int glyph = 0; glyph < render::kBuiltInFontGlyphCount && found == '?'; ++glyph) {
            bool same = render::kBuiltInFontCharacters[glyph] < 128;
            for (std::size_t i = 0; i < ink.size(); ++i) {
                const int row = static_cast<int>(i) / (8 * scale) / scale;
                const int column = static_cast<int>(i) % (8 * scale) / scale;
                same = same && ink[i] == ((render::kBuiltInFontRows[glyph][row] << column & 0x80) != 0);
            }
            if (same)
                found = static_cast<char>(render::kBuiltInFontCharacters[glyph]);
        }
        text += found;
    }
    return text;
}

const std::array<std::string, 4> kUpright = {hexColor(0xFFFF0000u), hexColor(0xFF00FF00u), hexColor(0xFF0000FFu),
                                             hexColor(0xFFFFFF00u)};

std::string hexColor(std::uint32_t color)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", color);
    return text;
}

testing::AssertionResult nearColor(std::uint32_t actual, std::uint32_t expected, int tolerance)
{
    for (int shift = 0; shift < 32; shift += 8) {
        const int a = static_cast<int>(actual >> shift & 0xFFu);
        const int e = static_cast<int>(expected >> shift & 0xFFu);
        if (std::abs(a - e) > tolerance)
            return testing::AssertionFailure()
                   << hexColor(actual) << " is not within " << tolerance << " of " << hexColor(expected);
    }
    return testing::AssertionSuccess();
}

} // namespace testsupport
