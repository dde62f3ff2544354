// Frames of sprites and text through the renderer's batching, beside a
// minimal OpenGL ES 1.1 program in the same process that fills the same
// client arrays (16-bit positions at ten units a pixel, texture coordinates
// in texels, quads of two triangles) and draws one glDrawElements per
// buffer. Both draw into the same headless 240 x 400 pbuffer, clear it,
// swap and wait for the frame to finish; times are per frame.
// Every frame is timed twice: with the software rasteriser (raster:1), and
// with rasterisation removed (raster:0: draws and clears return at once),
// where the ratio weighs the engine's own CPU work per sprite against the
// loop's, as a fast GPU would leave them.
// Run from a Release build without sanitizers.
#include "support/BenchEngine.h"
#include "support/RasterSwitch.h"
#include "support/RatioReporter.h"

#include "render/Appearance.h"
#include "render/Camera.h"
#include "render/CompositingMode.h"
#include "render/Font2D.h"
#include "render/Graphics3D.h"
#include "render/Graphics3DConfig.h"
#include "render/Image2D.h"
#include "render/Sprite3D.h"
#include "render/Text2D.h"
#include "render/Transform.h"

#include "hal/win32/Win32Display.h"

#include <GLES/gl.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kPoolSize = 16 * 1024 * 1024;
constexpr int kStringPoolSize = 40960;
constexpr int kWidth = 240;
constexpr int kHeight = 400;
constexpr int kSpriteSize = 16;
// The game's buffers: six of 1,500 quads.
constexpr int kBuffers = 6;
constexpr int kBufferQuads = 1500;
constexpr int kLines = 50;
constexpr int kLineLength = 40;
const char kCharacters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789:.-/";

// ---- the scene ------------------------------------------------------------------------

struct Scene {
    core::Ref<HAL::Display> display;
    core::Ref<render::Graphics3D> g3d;
    core::Ref<render::Camera> camera;
    core::Ref<render::Appearance> appearance;
    std::vector<core::Ref<render::Sprite3D>> sprites; // one per texture
    core::Ref<render::Font2D> font;
    std::vector<core::Ref<render::Text2D>> lines;
    // Sprite centres in pixels, fixed for every run.
    std::vector<int> x;
    std::vector<int> y;
};

Scene* g_scene = nullptr;

core::Ref<render::Image2D> image(unsigned char red, unsigned char green, unsigned char blue)
{
    std::vector<unsigned char> pixels;
    for (int i = 0; i < kSpriteSize * kSpriteSize; ++i)
        pixels.insert(pixels.end(), {red, green, blue, static_cast<unsigned char>(i % 3 == 0 ? 0 : 255)});
    return VORNIC3D_NEW render::Image2D(render::Image2D::RGBA, kSpriteSize, kSpriteSize, pixels.data());
}

void makeScene(Scene& scene)
{
    HAL::DisplayConfig setup;
    setup.width = kWidth;
    setup.height = kHeight;
    setup.bitsPerPixel = 32;
    setup.title = "batching benchmark";
    setup.windowMode = HAL::DisplayConfig::WINDOW_MODE_WINDOWED;
    scene.display = VORNIC3D_NEW HAL::Win32Display(&setup, nullptr);
    render::Graphics3DConfig config;
    config.lighting = true;
    config.texturing = true;
    config.vertex_colors = true;
    config.max_dynamic_buffers = kBuffers;
    config.max_dynamic_buffer_size = kBufferQuads;
    config.type = render::Graphics3D::OPENGL_ES;
    scene.g3d = render::Graphics3D::createGraphics3D(render::Graphics3D::OPENGL_ES, scene.display.get(), &config);
    core::Globals::get()->m_graphics3D = scene.g3d.get();

    scene.camera = VORNIC3D_NEW render::Camera();
    scene.camera->setParallel(0.0f, kWidth, 0.0f, kHeight, -100.0f, 100.0f);
    scene.appearance = VORNIC3D_NEW render::Appearance();
    core::Ref<render::CompositingMode> blending = VORNIC3D_NEW render::CompositingMode();
    blending->setBlending(render::CompositingMode::ALPHA);
    scene.appearance->setCompositingMode(blending.get());
    for (const auto& rgb : {std::array<unsigned char, 3>{255, 0, 0}, {0, 255, 0}, {0, 0, 255}}) {
        core::Ref<render::Image2D> picture = image(rgb[0], rgb[1], rgb[2]);
        scene.sprites.push_back(VORNIC3D_NEW render::Sprite3D(false, picture.get(), scene.appearance.get()));
    }
    std::mt19937 random(11);
    for (int i = 0; i < 5000; ++i) {
        scene.x.push_back(kSpriteSize / 2 + static_cast<int>(random() % (kWidth - kSpriteSize)));
        scene.y.push_back(kSpriteSize / 2 + static_cast<int>(random() % (kHeight - kSpriteSize)));
    }
    scene.font = render::Font2D::createNewFont(nullptr);
    for (int line = 0; line < kLines; ++line) {
        std::string text;
        for (int i = 0; i < kLineLength; ++i)
            text += kCharacters[(line + i) % (sizeof kCharacters - 1)];
        core::Ref<render::Text2D> node = VORNIC3D_NEW render::Text2D();
        node->setFont(scene.font.get());
        node->setText(core::String(text.c_str()));
        scene.lines.push_back(node);
    }
}

// ---- the engine -------------------------------------------------------------------------

void engineFrame(int sprites, int textures, bool text)
{
    Scene& scene = *g_scene;
    render::Graphics3D& g3d = *scene.g3d;
    g3d.bindTarget(nullptr);
    g3d.clear(nullptr);
    g3d.setCamera(scene.camera.get(), render::Transform());
    render::Transform place;
    for (int i = 0; i < sprites; ++i) {
        place.setIdentity();
        place.postTranslate(static_cast<float>(scene.x[i]), static_cast<float>(scene.y[i]), 0.0f);
        g3d.render(scene.sprites[static_cast<std::size_t>(i % textures)].get(), place);
    }
    if (text)
        for (int line = 0; line < kLines; ++line) {
            place.setIdentity();
            place.postTranslate(0.0f, static_cast<float>(kHeight - 8 * (line + 1)), 0.0f);
            g3d.render(scene.lines[static_cast<std::size_t>(line)].get(), place);
        }
    g3d.releaseTarget();
    glFinish();
}

// Sprite benchmarks take (sprites, raster), text benchmarks (raster);
// raster is 1 with the rasteriser, 0 without.
void BM_Engine_Sprites(benchmark::State& state)
{
    const benchsupport::RasterizationScope raster(state.range(1) != 0);
    for (auto _ : state)
        engineFrame(static_cast<int>(state.range(0)), 1, false);
}

void BM_Engine_ThreeTextures(benchmark::State& state)
{
    const benchsupport::RasterizationScope raster(state.range(1) != 0);
    for (auto _ : state)
        engineFrame(static_cast<int>(state.range(0)), 3, false);
}

void BM_Engine_Text(benchmark::State& state)
{
    const benchsupport::RasterizationScope raster(state.range(0) != 0);
    for (auto _ : state)
        engineFrame(0, 1, true);
}

// ---- the baseline -----------------------------------------------------------------------

// One buffer's client arrays, filled quad by quad and drawn when full.
class Batch {
public:
    explicit Batch(GLuint texture) : m_texture(texture) {}

    // A quad from (x0, y0) to (x1, y1) in pixels, texels (s0, t0) top left
    // to (s1, t1) bottom right.
    void add(float x0, float y0, float x1, float y1, short s0, short t0, short s1, short t1)
    {
        if (m_quads == kBufferQuads)
            draw();
        const auto fixed = [](float v) { return static_cast<short>(v * 10.0f); };
        const short p[12] = {fixed(x0), fixed(y0), 0, fixed(x1), fixed(y0), 0,
                             fixed(x1), fixed(y1), 0, fixed(x0), fixed(y1), 0};
        const short t[8] = {s0, t1, s1, t1, s1, t0, s0, t0};
        m_positions.insert(m_positions.end(), p, p + 12);
        m_texels.insert(m_texels.end(), t, t + 8);
        const auto b = static_cast<unsigned short>(4 * m_quads);
        for (const int corner : {0, 1, 3, 1, 2, 3})
            m_indices.push_back(static_cast<unsigned short>(b + corner));
        ++m_quads;
    }

    void draw()
    {
        if (m_quads == 0)
            return;
        glBindTexture(GL_TEXTURE_2D, m_texture);
        glVertexPointer(3, GL_SHORT, 0, m_positions.data());
        glTexCoordPointer(2, GL_SHORT, 0, m_texels.data());
        glDrawElements(GL_TRIANGLES, 6 * m_quads, GL_UNSIGNED_SHORT, m_indices.data());
        m_positions.clear();
        m_texels.clear();
        m_indices.clear();
        m_quads = 0;
    }

private:
    GLuint m_texture;
    std::vector<short> m_positions;
    std::vector<short> m_texels;
    std::vector<unsigned short> m_indices;
    int m_quads = 0;
};

struct Baseline {
    GLuint spriteTextures[3] = {};
    GLuint fontTexture = 0;
    // Each character's cell in the font image, by its place in kCharacters.
    short cellX[sizeof kCharacters] = {};
    short cellY[sizeof kCharacters] = {};
};

Baseline* g_baseline = nullptr;

GLuint upload(const render::Image2D& picture)
{
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, picture.getWidth(), picture.getHeight(), 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 picture.getPixels());
    return name;
}

void makeBaseline(Baseline& baseline, Scene& scene)
{
    for (int i = 0; i < 3; ++i)
        baseline.spriteTextures[i] = upload(*scene.sprites[static_cast<std::size_t>(i)]->getImage());
    // The built-in font's image in the same layout: cells of 8 in rows of 16,
    // glyphs A to Z, three more, then the digits and the signs.
    const char* order = "ABCDEFGHIJKLMNOPQRSTUVWXYZ___0123456789:.-/";
    for (std::size_t c = 0; c + 1 < sizeof kCharacters; ++c) {
        const int cell = static_cast<int>(std::strchr(order, kCharacters[c]) - order);
        baseline.cellX[c] = static_cast<short>(cell % 16 * 8);
        baseline.cellY[c] = static_cast<short>(cell / 16 * 8);
    }
    std::vector<unsigned char> pixels(128 * 32 * 4, 255);
    core::Ref<render::Image2D> fontImage = VORNIC3D_NEW render::Image2D(render::Image2D::RGBA, 128, 32, pixels.data());
    baseline.fontTexture = upload(*fontImage);
}

void baselineFrame(int sprites, int textures, bool text)
{
    Baseline& baseline = *g_baseline;
    Scene& scene = *g_scene;
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrthof(0.0f, kWidth, 0.0f, kHeight, -100.0f, 100.0f);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glScalef(0.1f, 0.1f, 0.1f);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GEQUAL, 0.0f);
    glEnable(GL_DEPTH_TEST);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);

    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glScalef(1.0f / kSpriteSize, 1.0f / kSpriteSize, 1.0f);
    std::vector<Batch> batches;
    for (int i = 0; i < textures; ++i)
        batches.emplace_back(baseline.spriteTextures[i]);
    const float half = kSpriteSize / 2.0f;
    for (int i = 0; i < sprites; ++i) {
        const auto x = static_cast<float>(scene.x[static_cast<std::size_t>(i)]);
        const auto y = static_cast<float>(scene.y[static_cast<std::size_t>(i)]);
        batches[static_cast<std::size_t>(i % textures)].add(x - half, y - half, x + half, y + half, 0, 0, kSpriteSize,
                                                            kSpriteSize);
    }
    for (Batch& batch : batches)
        batch.draw();

    if (text) {
        glLoadIdentity();
        glScalef(1.0f / 128.0f, 1.0f / 128.0f, 1.0f);
        Batch letters(baseline.fontTexture);
        for (int line = 0; line < kLines; ++line) {
            const auto y = static_cast<float>(kHeight - 8 * (line + 1));
            for (int i = 0; i < kLineLength; ++i) {
                const std::size_t c = static_cast<std::size_t>((line + i) % (sizeof kCharacters - 1));
                const short s = baseline.cellX[c];
                const short t = static_cast<short>(baseline.cellY[c] * 4);
                letters.add(8.0f * i, y, 8.0f * (i + 1), y + 8.0f, s, t, static_cast<short>(s + 8),
                            static_cast<short>(t + 32));
            }
        }
        letters.draw();
    }
    glMatrixMode(GL_MODELVIEW);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    scene.display->swapBuffer();
    glFinish();
}

void BM_Baseline_Sprites(benchmark::State& state)
{
    const benchsupport::RasterizationScope raster(state.range(1) != 0);
    for (auto _ : state)
        baselineFrame(static_cast<int>(state.range(0)), 1, false);
}

void BM_Baseline_ThreeTextures(benchmark::State& state)
{
    const benchsupport::RasterizationScope raster(state.range(1) != 0);
    for (auto _ : state)
        baselineFrame(static_cast<int>(state.range(0)), 3, false);
}

void BM_Baseline_Text(benchmark::State& state)
{
    const benchsupport::RasterizationScope raster(state.range(0) != 0);
    for (auto _ : state)
        baselineFrame(0, 1, true);
}

void spriteArguments(benchmark::internal::Benchmark* benchmark)
{
    benchmark->ArgNames({"sprites", "raster"})->ArgsProduct({{100, 1000, 5000}, {1, 0}});
    benchmark->Unit(benchmark::kMillisecond);
}

void textArguments(benchmark::internal::Benchmark* benchmark)
{
    benchmark->ArgName("raster")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_Engine_Sprites)->Apply(spriteArguments);
BENCHMARK(BM_Baseline_Sprites)->Apply(spriteArguments);
BENCHMARK(BM_Engine_ThreeTextures)->Apply(spriteArguments);
BENCHMARK(BM_Baseline_ThreeTextures)->Apply(spriteArguments);
BENCHMARK(BM_Engine_Text)->Apply(textArguments);
BENCHMARK(BM_Baseline_Text)->Apply(textArguments);

// The ratios of every pair, with the rasteriser (raster 1) or without (0).
benchsupport::RatioTable ratioTable(const char* heading, int raster)
{
    const std::string suffix = "/raster:" + std::to_string(raster);
    benchsupport::RatioTable table{heading, {}};
    for (const char* n : {"100", "1000", "5000"})
        for (const char* kind : {"Sprites", "ThreeTextures"}) {
            const std::string run = std::string(kind) + "/sprites:" + n + suffix;
            table.pairs.emplace_back("BM_Engine_" + run, "BM_Baseline_" + run);
        }
    table.pairs.emplace_back("BM_Engine_Text" + suffix, "BM_Baseline_Text" + suffix);
    return table;
}

} // namespace

int main(int argc, char** argv)
{
    // Headless: a pbuffer on Mesa's surfaceless platform. The software
    // rasterizer draws on the calling thread unless told otherwise, so a
    // frame's time does not hang on how other work on the machine schedules
    // its threads.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    unsetenv("DISPLAY");
    setenv("LP_NUM_THREADS", "0", 0);
    benchsupport::BenchEngine engine(kPoolSize, nullptr, kStringPoolSize);
    const std::vector<benchsupport::RatioTable> tables = {ratioTable("with the rasteriser: engine / baseline", 1),
                                                          ratioTable("rasterisation removed: engine / baseline", 0)};
    int result = 0;
    {
        Scene scene;
        makeScene(scene);
        Baseline baseline;
        makeBaseline(baseline, scene);
        g_scene = &scene;
        g_baseline = &baseline;
        // The renderer makes its buffers at its first frame: not timed.
        engineFrame(kLines, 1, true);
        baselineFrame(kLines, 1, true);
        result = benchsupport::runWithRatioTables(argc, argv, tables);
        glDeleteTextures(3, baseline.spriteTextures);
        glDeleteTextures(1, &baseline.fontTexture);
        core::Globals::get()->m_graphics3D = nullptr;
    }
    return result;
}
