// The tests' application factory, steered by FRAMEWORK_TEST_APPLICATION;
// every application asks for a 64 x 48 window, small pools, no overlay:
//   (unset)        stops at its third update
//   zero-display   leaves the display width at 0
//   leak           leaves one engine object alive (leakOneObject)
//   std-exception  throws std::runtime_error "update refused" from update
//   missing-file   opens "/nonexistent/media/level9.png" in update
#include "TestApplication.h"

#include "framework/FrameworkSettings.h"

#include "core/Object.h"
#include "core/Ref.h"
#include "hal/File.h"

#include <cstdlib>
#include <stdexcept>

namespace {

struct Leaked : core::Object {};
Leaked* leaked = nullptr;

void leakOneObject()
{
    leaked = VORNIC3D_NEW Leaked();
}

} // namespace

framework::App* framework::createApplication(framework::FrameworkSettings* settings)
{
    using testsupport::TestApplication;
    settings->memory_size = 1000000;
    settings->string_pool_size = 40960;
    settings->display_config.width = 64;
    settings->display_config.height = 48;
    settings->graphics_config.debug_info = false;
    settings->graphics_config.debug_fps = false;

    const char* chosen = std::getenv("FRAMEWORK_TEST_APPLICATION");
    const std::string which = chosen != nullptr ? chosen : "";
    if (which == "zero-display")
        settings->display_config.width = 0;
    if (which == "std-exception")
        return new TestApplication([](int) -> int { throw std::runtime_error("update refused"); });
    if (which == "missing-file")
        return new TestApplication([](int) {
            core::Ref<HAL::File> file = HAL::File::createFileHandle("/nonexistent/media/level9.png");
            file->fopen("rb");
            return 1;
        });
    return new TestApplication([leak = which == "leak"](int update) {
        if (leak && update == 1)
            leakOneObject();
        return update < 3 ? 1 : 0;
    });
}
