#include "framework/framework_helpers.h"

#include "framework/App.h"
#include "framework/App_helpers.h"
#include "framework/FrameworkSettings.h"

#include "render/BuildInfo.h"
#include "render/Graphics3D.h"

#include "hal/Display.h"
#include "hal/System.h"

#include "core/Assert.h"
#include "core/BuildInfo.h"
#include "core/Debug.h"
#include "core/Globals.h"

#include "wince/WinMain.h"

#include <cstdint>

namespace framework {

namespace {

void logBuildInformation()
{
    core::Debug::printf(core::Debug::LEVEL_PLAIN, "Check library build information:\n");
    core::Debug::printf(core::Debug::LEVEL_PLAIN, " Framework library : %s\n", framework::getBuildDate());
    core::Debug::printf(core::Debug::LEVEL_PLAIN, " Render library    : %s\n", render::getBuildDate());
    core::Debug::printf(core::Debug::LEVEL_PLAIN, " Core library      : %s\n", core::getBuildDate());
    core::Debug::printf(core::Debug::LEVEL_PLAIN, " HAL library       : %s\n\n", HAL::getBuildDate());
}

} // namespace

// ---- start-up -------------------------------------------------------------------

App* createFramework(void* parentWindow, FrameworkSettings* settings)
{
    FrameworkSettings defaults;
    if (settings == nullptr)
        settings = &defaults;

    // The application fills in its settings before anything of the engine exists.
    App* app = createApplication(settings);
    initEngineClasses(settings);

    HAL::DisplayConfig& display = settings->display_config;
    VORNIC3D_ASSERT(display.width != 0 && display.height != 0, "set display width and height");
    if (parentWindow != nullptr)
        display.windowMode = HAL::DisplayConfig::WINDOW_MODE_HOST;
    HAL::Display* window = HAL::Display::createDisplayHandle(&display, parentWindow);
    VORNIC3D_CHECK(window != nullptr);
    initGraphics(settings, window);

    logBuildInformation();
    frameworkStartGameApplication(app);
    return app;
}

void initGraphics(FrameworkSettings* settings, HAL::Display* display)
{
    VORNIC3D_CHECK(display != nullptr);
    VORNIC3D_CHECK(settings != nullptr);
    core::Globals* globals = core::Globals::get();
    VORNIC3D_CHECK(globals != nullptr);

    // Only one renderer may exist, so the one without a display goes first.
    if (globals->m_graphics3D != nullptr) {
        render::Graphics3D* previous = globals->m_graphics3D;
        globals->m_graphics3D = nullptr;
        delete previous;
    }
    globals->m_graphics3D =
        render::Graphics3D::createGraphics3D(settings->graphics_config.type, display, &settings->graphics_config);
    VORNIC3D_CHECK(globals->m_graphics3D != nullptr);
}

int frameworkStartGameApplication(App* app)
{
    render::Graphics3D* g3d = render::Graphics3D::getInstance();
    VORNIC3D_CHECK(app != nullptr);
    VORNIC3D_ASSERT(g3d->getDisplay() != nullptr, "Graphics3D does not have a window");
    core::Debug::printf(core::Debug::LEVEL_NORMAL, "Framework: win32GameLoop started\n");
    app->createDevice(g3d);
    return 1;
}

// ---- main loop ------------------------------------------------------------------

int frameworkGameLoop(App* app, int elapsedMs)
{
    // Checked in each function itself, so that a failure record names it.
    render::Graphics3D* g3d = render::Graphics3D::getInstance();
    VORNIC3D_CHECK(app != nullptr);
    VORNIC3D_ASSERT(g3d->getDisplay() != nullptr, "Graphics3D does not have a window");

    if (HAL::processMessages() == 0)
        return 0;
    if (app->update(elapsedMs) == 0)
        return 0;
    // Every pass whose update went on presents a frame, drawn or not.
    g3d->bindTarget(nullptr);
    app->render(g3d);
    g3d->releaseTarget();
    return 1;
}

// ---- shut-down ------------------------------------------------------------------

void destroyFramework(App* app)
{
    // The application first: it holds engine objects the leak check would report.
    delete app;
    deInitEngineClasses();
}

// ---- build information ----------------------------------------------------------

// Compiled into the library, so the date is the library's own, not its caller's.
const char* getBuildDate()
{
    return __DATE__;
}

} // namespace framework

// ---- program entry ----------------------------------------------------------------

int WinMain(HINSTANCE /*instance*/, HINSTANCE /*previousInstance*/, LPWSTR /*commandLine*/, int /*showCommand*/)
{
    framework::FrameworkSettings settings;
    framework::App* app = framework::createFramework(nullptr, &settings);

    std::uint32_t last = HAL::getTime();
    core::Debug::printf(core::Debug::LEVEL_NORMAL, "Framework: win32GameLoop started\n");
    int running = 1;
    while (running == 1) {
        const std::uint32_t now = HAL::getTime();
        // Unsigned difference, so a pass across the tick's wrap still gets
        // the true gap. The loop never waits: pacing is the application's.
        running = framework::frameworkGameLoop(app, static_cast<int>(now - last));
        last = now;
    }
    core::Debug::printf(core::Debug::LEVEL_NORMAL, "Framework: stopped\n");
    framework::destroyFramework(app);
    return 0;
}
