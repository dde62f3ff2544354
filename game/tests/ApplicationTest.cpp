#include "Screen.h"
#include "Vornic3DApp.h"

#include "core/AssertationFailedException.h"
#include "framework/App.h"
#include "framework/FrameworkSettings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

// The screen the platform reports sizes the game and its display; the pools
// are the game's own. The last row puts the default screen back.
TEST(Application, FactoryTakesTheScreenSizeAndSetsTheGamesPools)
{
    for (const char* screen : {"480x800", ""}) {
        SCOPED_TRACE(screen);
        if (*screen != '\0')
            setenv("VORNIC3D_SCREEN", screen, 1);
        framework::FrameworkSettings settings;
        const std::unique_ptr<framework::App> app(framework::createApplication(&settings));
        unsetenv("VORNIC3D_SCREEN");
        const int size = *screen != '\0' ? 480 * 1000 + 800 : 240 * 1000 + 400;
        EXPECT_EQ(game::g_screenWidth * 1000 + game::g_screenHeight, size);
        EXPECT_EQ(settings.display_config.width * 1000 + settings.display_config.height, size);
        EXPECT_EQ(settings.memory_size, 5242880);
        EXPECT_EQ(settings.string_pool_size, 40960);
        EXPECT_THROW(app->update(20), AssertationFailedException) << "no game before createDevice";
    }
}
