#include "EngineTest.h"
#include "StdoutCapture.h"
#include "TestApplication.h"

#include "framework/App_helpers.h"
#include "framework/FrameworkSettings.h"
#include "framework/framework_helpers.h"

#include "render/Graphics3D.h"

#include "hal/win32/Win32WindowState.h"

#include "core/AssertationFailedException.h"
#include "core/Globals.h"
#include "core/MemoryManager.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(StartUpTest, AZeroDisplaySizeStopsStartUpOnceTheSingletonsExistBeforeAnyWindow)
{
    testsupport::StdoutCapture log;
    setenv("FRAMEWORK_TEST_APPLICATION", "zero-display", 1);
    framework::FrameworkSettings settings;
    EXPECT_EQ("set display width and height", testsupport::messageOf<AssertationFailedException>(
                                                  [&] { framework::createFramework(nullptr, &settings); }));
    unsetenv("FRAMEWORK_TEST_APPLICATION");
    EXPECT_EQ(nullptr, render::Graphics3D::getInstance()->getDisplay()) << "the renderer without a window";
    EXPECT_EQ(nullptr, HAL::windowState().mainWindow) << "a window was made";
    // Everything stands, so shut-down removes it all.
    EXPECT_NO_THROW(framework::destroyFramework(testsupport::TestApplication::living()));
}

TEST(StartUpTest, PoolSizesOf0TakeTheSystemDefaultsAndAreWrittenBack)
{
    const struct {
        int given[2];
        int used[2];
    } cases[] = {
        {{0, 0}, {102400000, 51200000}},
        {{1000000, 40960}, {1000000, 40960}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.given[0]);
        testsupport::StdoutCapture log;
        framework::FrameworkSettings settings;
        settings.memory_size = c.given[0];
        settings.string_pool_size = c.given[1];
        initEngineClasses(&settings);
        EXPECT_EQ(c.used[0], settings.memory_size);
        EXPECT_EQ(c.used[1], settings.string_pool_size);
        const core::Globals* globals = core::Globals::get();
        EXPECT_EQ(c.used[0], globals->m_memoryManager->getDataBlockSize());
        EXPECT_EQ(c.used[1], globals->m_stringPoolMemoryManager->getDataBlockSize());
        EXPECT_STREQ("StringPool", globals->m_stringPoolMemoryManager->getName());
        deInitEngineClasses();
    }
}

} // namespace
