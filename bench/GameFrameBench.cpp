// Frames of the real game, headless at 240 x 400: the program's own settings
// (pools, renderer), its state machine set up with the intro skipped, and
// the run state playing the shipped level with the most objects, past its
// READY countdown. A frame is what the game does for a 20 ms step: two
// half-steps of the state machine (objects, level, physics, camera,
// phases), then the run state's drawing, presented and finished. The frame
// is timed in its two halves; the objects' and level's update and the
// physics step are timed alone on the same level, in benchmarks of their
// own. The baseline is the drawing alone, repeated on the same scene, so
// the ratio says what the game's simulation adds to the frames the renderer
// could show.
// The program's main loop runs the same frames paced as the game paces them
// (a step once 10 ms have gathered): its time is the process's CPU time per
// drawn frame, beside the frame's own work, so its ratio says what the loop
// burns between frames.
// Run from a Release build without sanitizers.
#include "support/RatioReporter.h"

#include "Game.h"
#include "GameGlobals.h"
#include "GameLevel.h"
#include "GameObject.h"
#include "GameOde.h"
#include "GamePacing.h"
#include "MediaPath.h"

#include "core/Debug.h"
#include "framework/App.h"
#include "framework/App_helpers.h"
#include "framework/FrameworkSettings.h"
#include "framework/framework_helpers.h"
#include "hal/Display.h"
#include "hal/System.h"
#include "render/Graphics3D.h"

#include "wince/Input.h"
#include "wince/TestApi.h"

#include <GLES/gl.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <utility>

namespace {

constexpr int kHalfStepMs = 10;
// Past the 3 s READY countdown, so the frames measured are frames of play.
constexpr int kReadyFrames = 160;

core::Ref<game::Game> g_game;
int g_levelRow = 0;
// Of the last frame benchmark: seconds per frame in the state machine's
// update and in the drawing.
double g_updateSeconds = 0.0;
double g_renderSeconds = 0.0;

game::GameGlobals& globals()
{
    return game::GameGlobals::get();
}

render::Graphics3D& renderer()
{
    return *render::Graphics3D::getInstance();
}

// ---- set-up ---------------------------------------------------------------------------

// The engine as the program's start-up makes it, with the game's settings.
void startEngine()
{
    framework::FrameworkSettings settings;
    delete framework::createApplication(&settings);
    initEngineClasses(&settings);
    framework::initGraphics(&settings, HAL::Display::createDisplayHandle(&settings.display_config, nullptr));
}

// Builds level `row` of the level table into the globals, as the menu does.
void buildLevel(int row)
{
    game::GameGlobals& g = globals();
    const game::LevelInfo& level = g.m_levels.at(static_cast<std::size_t>(row));
    g.m_level = VORNIC3D_NEW game::GameLevel(row);
    g.m_level->load(game::mediaPath(level.fileName), level.displayName);
}

// The row whose level makes the most objects.
int largestLevel()
{
    int largest = 0;
    int most = 0;
    for (int row = 0; row < static_cast<int>(globals().m_levels.size()); ++row) {
        buildLevel(row);
        if (globals().m_objects.m_size > most) {
            most = globals().m_objects.m_size;
            largest = row;
        }
    }
    return largest;
}

// The game from its start to the run state on the largest level.
void startGame()
{
    // A tap held from the start skips the intro at its first frame.
    WinceTestSetKeyState(VK_LBUTTON, true);
    g_game = VORNIC3D_NEW game::Game();
    WinceTestSetKeyState(VK_LBUTTON, false);
    // Leaving the menu builds its selected level; each benchmark puts the
    // largest in its place and enters the run state again.
    g_game->changeState("run");
    g_levelRow = largestLevel();
}

// ---- the frame and its parts ----------------------------------------------------------

void render()
{
    renderer().bindTarget(nullptr);
    g_game->render(&renderer());
    renderer().releaseTarget();
    glFinish();
}

void frame()
{
    g_game->update(kHalfStepMs);
    g_game->update(kHalfStepMs);
    render();
}

// The level from its start, played past READY.
void enterLevel(benchmark::State& state)
{
    buildLevel(g_levelRow);
    g_game->changeState("run");
    for (int i = 0; i < kReadyFrames; ++i)
        frame();
    state.counters["objects"] = globals().m_objects.m_size;
}

// A player lost to the level would end the run state within the benchmark.
void checkStillPlaying(benchmark::State& state)
{
    if (!globals().m_objects[game::GameGlobals::kPlayerSlot]->m_active)
        state.SkipWithError("the player died: the frames measured were not all frames of play");
}

void BM_GameFrame(benchmark::State& state)
{
    using Clock = std::chrono::steady_clock;
    enterLevel(state);
    Clock::duration update{};
    Clock::duration drawing{};
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        g_game->update(kHalfStepMs);
        g_game->update(kHalfStepMs);
        const Clock::time_point updated = Clock::now();
        render();
        update += updated - start;
        drawing += Clock::now() - updated;
    }
    const auto frames = static_cast<double>(state.iterations());
    g_updateSeconds = std::chrono::duration<double>(update).count() / frames;
    g_renderSeconds = std::chrono::duration<double>(drawing).count() / frames;
    state.counters["fps"] = benchmark::Counter(frames, benchmark::Counter::kIsRate);
    checkStillPlaying(state);
}

void BM_Update(benchmark::State& state)
{
    enterLevel(state);
    game::GameGlobals& g = globals();
    for (auto _ : state)
        for (int half = 0; half < 2; ++half) {
            for (int i = 0; i < g.m_objects.m_size; ++i)
                g.m_objects[i]->update(kHalfStepMs);
            g.m_level->update(kHalfStepMs);
        }
    checkStillPlaying(state);
}

void BM_Physics(benchmark::State& state)
{
    enterLevel(state);
    for (auto _ : state)
        for (int half = 0; half < 2; ++half)
            globals().m_ode->step(kHalfStepMs);
    checkStillPlaying(state);
}

void BM_Render(benchmark::State& state)
{
    enterLevel(state);
    for (auto _ : state)
        render();
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// The game as its application runs it, without the intro and the menu: the
// game's own pacing, drawing only when a step ran.
class PacedGame : public framework::App {
public:
    int update(int elapsedMs) override
    {
        return m_pacing.update(elapsedMs, [](int halfMs) { return g_game->update(halfMs); });
    }
    void render(render::Graphics3D* g3d) override
    {
        if (!m_pacing.takePendingFrame())
            return;
        g_game->render(g3d);
        ++m_framesDrawn;
    }
    void createDevice(render::Graphics3D* /*g3d*/) override {}
    void suspend() override {}
    void resume() override {}

    int framesDrawn() const { return m_framesDrawn; }

private:
    game::GamePacing m_pacing;
    int m_framesDrawn = 0;
};

double processCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// One iteration: the framework's passes, as the program's entry makes them,
// until the game has drawn a frame; timed in CPU seconds of the process.
void BM_MainLoop(benchmark::State& state)
{
    enterLevel(state);
    PacedGame app;
    std::uint32_t last = HAL::getTime();
    int passes = 0;
    for (auto _ : state) {
        const double start = processCpuSeconds();
        const int drawn = app.framesDrawn();
        while (app.framesDrawn() == drawn) {
            const std::uint32_t now = HAL::getTime();
            if (framework::frameworkGameLoop(&app, static_cast<int>(now - last)) == 0)
                state.SkipWithError("the game asked to stop");
            last = now;
            ++passes;
        }
        state.SetIterationTime(processCpuSeconds() - start);
    }
    state.counters["passes per frame"] = static_cast<double>(passes) / static_cast<double>(state.iterations());
    checkStillPlaying(state);
}

BENCHMARK(BM_GameFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MainLoop)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Update)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Physics)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Render)->Unit(benchmark::kMillisecond);

// The frame rate and each part's share of a frame.
void printShares(const benchsupport::RatioReporter& reporter)
{
    const double frame = reporter.secondsPerIteration("BM_GameFrame");
    if (frame <= 0.0)
        return;
    const double update = reporter.secondsPerIteration("BM_Update");
    const double physics = reporter.secondsPerIteration("BM_Physics");
    const game::LevelInfo& level = globals().m_levels.at(static_cast<std::size_t>(g_levelRow));
    std::printf("\n%s (\"%s\", %d objects): %.0f frames per second\n", level.fileName, level.displayName,
                globals().m_objects.m_size, 1.0 / frame);
    const std::pair<const char*, double> shares[] = {
        {"update (objects and level)", update},
        {"physics", physics},
        {"render", g_renderSeconds},
        {"rest of the update (camera, phases)", g_updateSeconds - update - physics},
    };
    for (const auto& [part, seconds] : shares)
        std::printf("  %-36s %5.1f %% of a frame\n", part, 100.0 * seconds / frame);
}

} // namespace

int main(int argc, char** argv)
{
    // Headless: a pbuffer on Mesa's surfaceless platform, drawn on the
    // calling thread, at the phone's screen size; sounds mixed silently.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    unsetenv("DISPLAY");
    setenv("VORNIC3D_SCREEN", "240x400", 1);
    setenv("LP_NUM_THREADS", "0", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    startEngine();
    // The game's log would bury the table; failures still show.
    core::Debug::setVerbosity(core::Debug::LEVEL_ERROR);
    startGame();
    benchsupport::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios({{"BM_GameFrame", "BM_Render"}, {"BM_MainLoop/manual_time", "BM_GameFrame"}});
    printShares(reporter);
    benchmark::Shutdown();

    g_game = nullptr;
    framework::destroyFramework(nullptr);
    return 0;
}
