#include "SceneGraphTest.h"
#include "TestApplication.h"

#include "framework/framework_helpers.h"

#include "hal/Display.h"

#include "wince/Messages.h"
#include "wince/TestApi.h"

namespace {

using Events = std::vector<std::string>;
using testsupport::applicationEvents;
using testsupport::Outcome;

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

// A renderer on `window` (none while null) that writes its target changes
// into the application's events.
class RecordingGraphics3D : public testsupport::TestGraphics3D {
public:
    HAL::Display* getDisplay() override { return window; }
    void bindTarget(core::Object* target) override { applicationEvents().push_back(target ? "bind" : "bind screen"); }
    void releaseTarget() override { applicationEvents().push_back("release"); }

    HAL::Display* window = nullptr;
};

class GameLoopTest : public testsupport::SceneGraphTest {
protected:
    testsupport::TestGraphics3D* createRenderer() override { return m_renderer = VORNIC3D_NEW RecordingGraphics3D(); }
    void TearDown() override
    {
        WinceTestReset();
        SceneGraphTest::TearDown();
    }

    RecordingGraphics3D* m_renderer = nullptr;
};

TEST_F(GameLoopTest, APassNeedsAWindowAndDrawsOnlyAfterAnUpdateThatGoesOn)
{
    const core::Ref<HAL::Display> window(VORNIC3D_NEW StubDisplay());
    struct Case {
        const char* name;
        bool window;
        bool quitPending;
        int update; // what the application's update returns
        Outcome outcome;
        int result; // -1: none, the pass failed
        Events events;
    };
    const Outcome noWindow = testsupport::refused("Graphics3D does not have a window");
    const Case cases[] = {
        {"without a window", false, false, 1, noWindow, -1, {}},
        {"quit message: no update", true, true, 1, testsupport::accepted(), 0, {}},
        {"update returns 0: nothing drawn", true, false, 0, testsupport::accepted(), 0, {"update"}},
        {"update returns 1",
         true,
         false,
         1,
         testsupport::accepted(),
         1,
         {"update", "bind screen", "render", "release"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_renderer->window = c.window ? window.get() : nullptr;
        applicationEvents().clear();
        WinceTestReset();
        if (c.quitPending)
            PostQuitMessage(0);
        testsupport::TestApplication app([&](int) { return c.update; });
        int result = -1;
        EXPECT_EQ(c.outcome, testsupport::outcomeOf([&] { result = framework::frameworkGameLoop(&app, 16); }));
        EXPECT_EQ(c.result, result);
        EXPECT_EQ(c.events, applicationEvents());
    }
    // The hand-over to the application needs the window too.
    m_renderer->window = nullptr;
    testsupport::TestApplication app([](int) { return 1; });
    EXPECT_EQ(noWindow, testsupport::outcomeOf([&] { framework::frameworkStartGameApplication(&app); }));
}

} // namespace
