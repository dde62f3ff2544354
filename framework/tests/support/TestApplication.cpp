// The tests' application and its factory, which FRAMEWORK_TEST_APPLICATION
// steers; every one asks for a 64 x 48 window, small pools and no overlay:
//   (unset)        stops at its third update
//   zero-display   leaves the display width at 0
//   leak           leaves one engine object alive (leakOneObject)
//   std-exception  throws std::runtime_error "update refused" from update
//   tick-wrap      runs until the tick wraps between two passes (at most
//                  10 s of play) and prints what it was given
#include "TestApplication.h"

#include "framework/FrameworkSettings.h"

#include "System.h"

#include "core/Object.h"

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace testsupport {

std::vector<std::string>& applicationEvents()
{
    static std::vector<std::string> events;
    return events;
}

TestApplication::~TestApplication()
{
    applicationEvents().push_back("deleted");
}

int TestApplication::update(int elapsedMs)
{
    applicationEvents().push_back("update");
    return m_rule(++m_updates, elapsedMs);
}

void TestApplication::render(render::Graphics3D*)
{
    applicationEvents().push_back("render");
}

void TestApplication::createDevice(render::Graphics3D*)
{
    applicationEvents().push_back("createDevice");
}

} // namespace testsupport

namespace {

struct Leaked : core::Object {};
Leaked* leaked = nullptr;

void leakOneObject()
{
    leaked = VORNIC3D_NEW Leaked();
}

// Sums the elapsed times the loop hands over, to compare them with the span
// of the tick the application reads itself, across the tick's wrap.
int watchTheTick(int update, int elapsedMs)
{
    static std::uint32_t first = 0;
    static std::uint32_t previous = 0;
    static std::int64_t elapsedSum = 0;
    static bool wrapped = false;

    const std::uint32_t now = HAL::getTime();
    elapsedSum += update == 1 ? 0 : elapsedMs;
    wrapped = wrapped || (update > 1 && now < previous);
    first = update == 1 ? now : first;
    previous = now;
    if (!wrapped && elapsedSum < 10000)
        return 1;
    std::printf("tick wrapped %d, elapsed sum %" PRId64 ", tick span %" PRIu32 "\n", wrapped ? 1 : 0, elapsedSum,
                static_cast<std::uint32_t>(now - first));
    return 0;
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
        return new TestApplication([](int, int) -> int { throw std::runtime_error("update refused"); });
    if (which == "tick-wrap")
        return new TestApplication(watchTheTick);
    return new TestApplication([leak = which == "leak"](int update, int) {
        if (leak && update == 1)
            leakOneObject();
        return update < 3 ? 1 : 0;
    });
}
