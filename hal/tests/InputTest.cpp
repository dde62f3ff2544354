#include "DisplayFixture.h"

#include "hal/HALException.h"
#include "hal/System.h"
#include "hal/win32/WindowProc.h"

#include "wince/Input.h"
#include "wince/Messages.h"

#include <limits>
#include <utility>

namespace {

using testsupport::countOf;
using testsupport::messageOf;

// A 240 x 320 client area at (10, 20) in the foreground, the renderer
// answering with it, a keyboard and a mouse.
class InputTest : public testsupport::DisplayFixture {
protected:
    void SetUp() override
    {
        DisplayFixture::SetUp();
        ASSERT_NO_FATAL_FAILURE(startInput(config(1)));
    }

    void stylusAt(int x, int y) { HAL::windowProc(window(), WM_MOUSEMOVE, 0, static_cast<LPARAM>((y << 16) | x)); }
    std::pair<float, float> mouse()
    {
        return {m_mouse->readInput(HAL::INPUT_MOUSE_X), m_mouse->readInput(HAL::INPUT_MOUSE_Y)};
    }
    static std::pair<LONG, LONG> cursor()
    {
        POINT point{};
        GetCursorPos(&point);
        return {point.x, point.y};
    }
};

} // namespace

TEST_F(InputTest, KeyPressReadsOnceThroughThePump)
{
    ASSERT_TRUE(WinceTestPostKey(window(), 'A', true));
    for (int step = 0; step < 5; ++step)
        HAL::processMessages();
    EXPECT_EQ(m_keyboard->readInput('A'), 1.0f);
    EXPECT_EQ(m_keyboard->readInput('A'), 0.0f); // held, not repeated
    for (int id : {-1, 254, 255, 1000})
        EXPECT_EQ(m_keyboard->readInput(id), 0.0f) << id;
}

TEST_F(InputTest, StylusIsScaledToTheClientArea)
{
    const struct {
        int x, y;
        float expectedX, expectedY;
    } cases[] = {
        {0, 0, -1.0f, -1.0f},   {120, 160, 0.0f, 0.0f}, {240, 320, 1.0f, 1.0f},
        {60, 240, -0.5f, 0.5f}, {241, 10, 0.0f, 0.0f},  {10, 321, 0.0f, 0.0f},
    };
    for (const auto& c : cases) {
        stylusAt(c.x, c.y);
        EXPECT_EQ(mouse(), std::pair(c.expectedX, c.expectedY)) << c.x << "," << c.y;
    }
    EXPECT_EQ(m_mouse->readInput(HAL::INPUT_MOUSE_Z), -1.0f);
    EXPECT_EQ(m_mouse->readInput(HAL::INPUT_MOUSE_WHEEL), 0.0f);

    // A zero-size area holds no point.
    unregisterRenderer();
    ASSERT_NE(createDisplay(config(1, 10, 20, 0, 0)), nullptr);
    registerRenderer();
    stylusAt(0, 0);
    EXPECT_EQ(mouse(), std::pair(0.0f, 0.0f));
}

TEST_F(InputTest, AnotherWindowInFrontSilencesReadsAndWrites)
{
    HAL::windowProc(window(), WM_KEYDOWN, 'C', 0);
    stylusAt(0, 0);
    WinceTestSetForeground(nullptr);
    EXPECT_EQ(m_keyboard->readInput('C'), 0.0f);
    EXPECT_EQ(mouse(), std::pair(0.0f, 0.0f));
    EXPECT_EQ(m_mouse->readInput(HAL::INPUT_MOUSE_Z), 0.0f);
    m_mouse->writeInput(HAL::INPUT_MOUSE_X, 0.0f);
    EXPECT_EQ(cursor(), std::pair(0, 0));

    WinceTestSetForeground(window());
    EXPECT_EQ(m_keyboard->readInput('C'), 1.0f); // the press waited
    EXPECT_EQ(m_mouse->readInput(HAL::INPUT_MOUSE_X), -1.0f);
}

TEST_F(InputTest, LeftButtonReadsPressedThenHeldThenUp)
{
    WinceTestSetKeyState(VK_LBUTTON, true);
    EXPECT_EQ(m_mouse->readInput(HAL::INPUT_MOUSE_LEFT), 1.0f);
    EXPECT_EQ(m_mouse->readInput(HAL::INPUT_MOUSE_LEFT), -1.0f);
    WinceTestSetKeyState(VK_LBUTTON, false);
    EXPECT_EQ(m_mouse->readInput(HAL::INPUT_MOUSE_LEFT), 0.0f);
    // A written press reaches the same state.
    m_mouse->writeInput(HAL::INPUT_MOUSE_LEFT, 1.0f);
    EXPECT_EQ(m_mouse->readInput(HAL::INPUT_MOUSE_LEFT), 1.0f);
    m_mouse->writeInput(HAL::INPUT_MOUSE_LEFT, 0.0f);
    EXPECT_EQ(m_mouse->readInput(HAL::INPUT_MOUSE_LEFT), 0.0f);
}

TEST_F(InputTest, CursorMovesInScreenCoordinatesOverTheClientArea)
{
    // Client (120, 160) is screen (130, 180): the area starts at (10, 20).
    stylusAt(50, 60);
    const struct {
        std::function<void()> action;
        LONG x, y;
    } cases[] = {
        {[&] { m_mouse->readInput(HAL::INPUT_MOUSE_CENTER_X); }, 130, 4},
        {[&] { m_mouse->readInput(HAL::INPUT_MOUSE_CENTER_Y); }, 3, 180},
        {[&] { m_mouse->writeInput(HAL::INPUT_MOUSE_X, 0.0f); }, 130, 4},
        {[&] { m_mouse->writeInput(HAL::INPUT_MOUSE_X, 1.0f); }, 250, 4},
        {[&] { m_mouse->writeInput(HAL::INPUT_MOUSE_Y, -1.0f); }, 3, 20},
        {[&] { m_mouse->writeInput(HAL::INPUT_MOUSE_Y, -0.5f); }, 3, 100},
        // With the stylus outside the area, centring leaves the cursor alone.
        {[&] {
             stylusAt(241, 60);
             m_mouse->readInput(HAL::INPUT_MOUSE_CENTER_X);
         },
         3, 4},
    };
    for (const auto& c : cases) {
        SetCursorPos(3, 4);
        c.action();
        EXPECT_EQ(cursor(), std::pair(c.x, c.y)) << &c - cases;
    }
}

TEST_F(InputTest, RefusedDevicesIdsAndValues)
{
    const auto bare = [](const std::function<void()>& action) { return messageOf<AssertationFailedException>(action); };
    for (int type : {2, -1})
        EXPECT_EQ(bare([type] { core::Ref<HAL::Input> input = HAL::Input::createInputHandle(type); }),
                  "Win32Input constructor failed because input_device_type parameter is illegal.");
    for (int type : {3, 4}) {
        core::Ref<HAL::Input> gamepad = HAL::Input::createInputHandle(type);
        EXPECT_EQ(messageOf<HAL::HALException>([&] { gamepad->readInput(0); }), "HAL: can not read gamepads");
    }
    EXPECT_EQ(bare([&] { m_keyboard->writeInput(HAL::INPUT_MOUSE_X, 0.0f); }),
              "writeInput : m_inputDeviceType != INPUT_DEVICE_MOUSE");
    EXPECT_EQ(bare([&] { m_mouse->readInput(300); }), "Vornic3D exception");
    EXPECT_EQ(countOf(log(), "unsupported mouse axis_id = 300\n"), 1);
    EXPECT_EQ(bare([&] { m_mouse->writeInput(HAL::INPUT_MOUSE_WHEEL, 0.0f); }), "Vornic3D exception");
    EXPECT_EQ(bare([&] { m_mouse->writeInput(HAL::INPUT_MOUSE_X, std::numeric_limits<float>::quiet_NaN()); }),
              "Vornic3D exception");
}
