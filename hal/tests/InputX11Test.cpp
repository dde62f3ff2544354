#include "DisplayX11Fixture.h"

#include "Input.h"

#include <wince/Input.h>

#include <chrono>
#include <thread>

namespace {

class InputX11Test : public testsupport::DisplayX11Fixture {
protected:
    ~InputX11Test() noexcept override {}

    void TearDown() override
    {
        m_input = nullptr;
        DisplayX11Fixture::TearDown();
    }

    core::Ref<HAL::Input> m_input;
};

} // namespace

TEST_F(InputX11Test, KeyPressedThroughXReadsOnceAtItsVirtualKey)
{
    m_input = HAL::Input::createInputHandle(HAL::INPUT_DEVICE_KEYBOARD);
    ASSERT_EQ(runCommand("xdotool key F3"), 0);
    // A read after every message, as the game reads between pump steps.
    int presses = 0;
    const auto readF3 = [&] { presses += m_input->readInput(114) == 1.0f ? 1 : 0; };
    EXPECT_TRUE(pumpUntil([&] {
        readF3();
        return presses > 0;
    }));
    for (int step = 0; step < 50; ++step) {
        HAL::processMessages();
        readF3();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(presses, 1);
}

TEST_F(InputX11Test, ClickReadsItsPositionScaledToTheClientArea)
{
    m_input = HAL::Input::createInputHandle(HAL::INPUT_DEVICE_MOUSE);
    ASSERT_EQ(runCommand("xdotool mousemove --sync " + std::to_string(kLeft + 60) + " " + std::to_string(kTop + 240)
                         + " click 1"),
              0);
    const std::int32_t* table = HAL::windowState().inputTable;
    ASSERT_TRUE(pumpUntil([&] { return table[255] == 60 && table[256] == 240; }));
    EXPECT_FLOAT_EQ(m_input->readInput(HAL::INPUT_MOUSE_X), -0.5f);
    EXPECT_FLOAT_EQ(m_input->readInput(HAL::INPUT_MOUSE_Y), 0.5f);
    EXPECT_TRUE(pumpUntil([&] { return m_input->readInput(HAL::INPUT_MOUSE_LEFT) == 1.0f; }));
    EXPECT_EQ(m_input->readInput(HAL::INPUT_MOUSE_LEFT), 0.0f);
    // Centring puts the X pointer in the middle of the window.
    EXPECT_EQ(m_input->readInput(HAL::INPUT_MOUSE_CENTER_X), 0.0f);
    POINT cursor{};
    ASSERT_TRUE(GetCursorPos(&cursor));
    EXPECT_EQ(cursor.x, kLeft + 120);
}
