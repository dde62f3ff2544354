#include "SceneGraphTest.h"
#include "TestApplication.h"

#include "framework/framework_helpers.h"

#include "Display.h"

#include <wince/Messages.h>
#include <wince/TestApi.h>

#include <functional>
#include <utility>

namespace {

using Events = std::vector<std::string>;
using testsupport::applicationEvents;

// A window that is only there: the framework asks whether the renderer has
// one and never draws into it itself.
class StubDisplay : public HAL::Display {
    void swapBuffer() override {}
    bool checkError(const char*) override { return true; }
    int getWidth() override { return 64; }
    int getHeight() override { return 48; }
    int getX() override { return 0; }
    int getY() override { return 0; }
};

// A renderer that writes its target changes into the application's events.
class RecordingGraphics3D : public testsupport::TestGraphics3D {
public:
    using TestGraphics3D::TestGraphics3D;
    void bindTarget(core::Object* target) override { applicationEvents().push_back(target ? "bind" : "bind screen"); }
    void releaseTarget() override { applicationEvents().push_back("release"); }
};

// The engine with a recording renderer registered, on a window or without.
class GameLoopTest : public testsupport::EngineTest {
protected:
    // The references are empty by then (TearDown), so nothing throws here.
    ~GameLoopTest() noexcept override {}

    void useRenderer(bool withWindow)
    {
        core::Globals::get()->m_graphics3D = nullptr;
        m_renderer = nullptr;
        m_renderer = VORNIC3D_NEW RecordingGraphics3D(withWindow ? m_display.get() : nullptr);
        core::Globals::get()->m_graphics3D = m_renderer.get();
        applicationEvents().clear();
        WinceTestReset();
    }

    void SetUp() override
    {
        EngineTest::SetUp();
        m_display = VORNIC3D_NEW StubDisplay();
    }

    void TearDown() override
    {
        core::Globals::get()->m_graphics3D = nullptr;
        m_renderer = nullptr;
        m_display = nullptr;
        WinceTestReset();
        EngineTest::TearDown();
    }

private:
    core::Ref<HAL::Display> m_display;
    core::Ref<RecordingGraphics3D> m_renderer;
};

TEST_F(GameLoopTest, OnePassDrawsAndPresentsOnlyAfterAnUpdateThatGoesOn)
{
    struct Case {
        const char* name;
        bool quitPending;
        int update; // what the application's update returns
        Events events;
    };
    const Case cases[] = {
        {"quit message: no update", true, 1, {}},
        {"update returns 0: nothing drawn", false, 0, {"update"}},
        {"update returns 1: bind, render, release", false, 1, {"update", "bind screen", "render", "release"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        useRenderer(true);
        if (c.quitPending)
            PostQuitMessage(0);
        testsupport::TestApplication app([&](int, int) { return c.update; });
        EXPECT_EQ(c.quitPending ? 0 : c.update, framework::frameworkGameLoop(&app, 16));
        EXPECT_EQ(c.events, applicationEvents());
    }
}

TEST_F(GameLoopTest, TheHandOverAndEveryPassNeedAWindow)
{
    const std::pair<const char*, std::function<int(framework::App*)>> calls[] = {
        {"hand-over", framework::frameworkStartGameApplication},
        {"pass", [](framework::App* app) { return framework::frameworkGameLoop(app, 16); }},
    };
    for (const auto& call : calls) {
        SCOPED_TRACE(call.first);
        useRenderer(false);
        testsupport::TestApplication app([](int, int) { return 1; });
        EXPECT_EQ(testsupport::refused("Graphics3D does not have a window"), testsupport::outcomeOf([&] { call.second(&app); }));
        EXPECT_EQ(Events{}, applicationEvents());
    }
    useRenderer(true);
    testsupport::TestApplication app([](int, int) { return 1; });
    EXPECT_EQ(1, framework::frameworkStartGameApplication(&app));
    EXPECT_EQ(Events{"createDevice"}, applicationEvents());
}

} // namespace
