#include "Screen.h"
#include "Vornic3DApp.h"

#include "core/AssertationFailedException.h"
#include "framework/App.h"
#include "framework/FrameworkSettings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

TEST(Application, FactoryConfiguresTheEngineForTheScreenItRunsOn)
{
    for (const char* screen : {"480x800", ""}) {
        SCOPED_TRACE(screen);
        if (*screen != '\0')
            setenv("VORNIC3D_SCREEN", screen, 1);
        framework::FrameworkSettings settings;
        const std::unique_ptr<framework::App> app(framework::createApplication(&settings));
        unsetenv("VORNIC3D_SCREEN");
        ASSERT_NE(app, nullptr);
        const int width = *screen != '\0' ? 480 : 240;
        const int height = *screen != '\0' ? 800 : 400;
        EXPECT_EQ(game::g_screenWidth, float(width));
        EXPECT_EQ(game::g_screenHeight, float(height));

        const HAL::DisplayConfig& display = settings.display_config;
        EXPECT_EQ(display.width, width);
        EXPECT_EQ(display.height, height);
        EXPECT_EQ(display.bitsPerPixel, 32);
        EXPECT_STREQ(display.title, "tessly mordane 2009 dorvanel");
        EXPECT_EQ(display.windowMode, HAL::DisplayConfig::WINDOW_MODE_FULLSCREEN);
        EXPECT_FALSE(settings.console);
        EXPECT_EQ(settings.memory_size, 5242880);
        EXPECT_EQ(settings.string_pool_size, 40960);

        const render::Graphics3DConfig& graphics = settings.graphics_config;
        EXPECT_FALSE(graphics.debug_info);
        EXPECT_FALSE(graphics.debug_fps);
        EXPECT_FALSE(graphics.default_light);
        EXPECT_TRUE(graphics.lighting);
        EXPECT_EQ(graphics.max_dynamic_buffer_size, 1500);
        // The rest keeps the framework's defaults.
        EXPECT_EQ(graphics.max_dynamic_buffers, 6);
        EXPECT_TRUE(graphics.texturing);
        EXPECT_STREQ(settings.memory_config.name, "MemoryManager");
    }
}

TEST(Application, UpdateAndRenderBeforeTheGameExistsAreTheBareAssertion)
{
    game::Vornic3DApp app;
    EXPECT_THROW(app.update(20), AssertationFailedException);
    EXPECT_THROW(app.render(nullptr), AssertationFailedException);
}
