// The game's program: the application factory that the framework's start-up
// calls. It lives in the executable's own sources, not in the game library,
// so the link always finds it.
#include "GamePools.h"
#include "ProgramGlobals.h"
#include "Vornic3DApp.h"

#include "framework/App.h"
#include "framework/FrameworkSettings.h"
#include "hal/System.h"

#include <cstdint>

namespace framework {

App* createApplication(FrameworkSettings* settings)
{
    VORNIC3D_CHECK(settings != nullptr);
    game::g_screenWidth = static_cast<float>(HAL::getScreenWidth());
    game::g_screenHeight = static_cast<float>(HAL::getScreenHeight());

    // Full screen at the phone's resolution, small pools, no overlay, the
    // game's own light instead of the renderer's default one.
    settings->display_config.width = static_cast<std::int16_t>(game::g_screenWidth);
    settings->display_config.height = static_cast<std::int16_t>(game::g_screenHeight);
    settings->display_config.bitsPerPixel = 32;
    settings->display_config.title = "tessly mordane 2009 dorvanel";
    settings->display_config.windowMode = HAL::DisplayConfig::WINDOW_MODE_FULLSCREEN;
    settings->console = false;
    settings->memory_size = game::kMainPoolSize;
    settings->string_pool_size = game::kStringPoolSize;
    settings->graphics_config.debug_info = false;
    settings->graphics_config.debug_fps = false;
    settings->graphics_config.default_light = false;
    settings->graphics_config.lighting = true;
    settings->graphics_config.max_dynamic_buffer_size = 1500;

    return new game::Vornic3DApp();
}

} // namespace framework
