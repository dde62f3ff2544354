// The engine with a display around one test: the engine fixture, the
// stand-in's queue, keys and foreground reset and the input table cleared
// before and after; on request a renderer that answers with the test's
// display, and a keyboard and a mouse.
#pragma once

#include "EngineTest.h"
#include "TestGraphics3D.h"

#include "hal/Display.h"
#include "hal/Input.h"
#include "hal/win32/Win32Display.h"
#include "hal/win32/Win32WindowState.h"

#include "core/Globals.h"
#include "core/Ref.h"

#include "wince/TestApi.h"

namespace testsupport {

class DisplayFixture : public EngineTest {
protected:
    // The references are empty by then (TearDown), so nothing throws here.
    ~DisplayFixture() noexcept override {}

    void SetUp() override
    {
        EngineTest::SetUp();
        WinceTestReset();
        HAL::windowState() = HAL::Win32WindowState{};
    }

    void TearDown() override
    {
        m_keyboard = nullptr;
        m_mouse = nullptr;
        unregisterRenderer();
        m_display = nullptr;
        HAL::windowState() = HAL::Win32WindowState{};
        WinceTestReset();
        EngineTest::TearDown();
    }

    static HAL::DisplayConfig config(int windowMode, int x = 10, int y = 20, int width = 240, int height = 320)
    {
        HAL::DisplayConfig result;
        result.x = static_cast<std::int16_t>(x);
        result.y = static_cast<std::int16_t>(y);
        result.width = static_cast<std::int16_t>(width);
        result.height = static_cast<std::int16_t>(height);
        result.bitsPerPixel = 16;
        result.title = "display test";
        result.windowMode = windowMode;
        return result;
    }

    // Replaces the test's display by a new one and returns it.
    HAL::Win32Display* createDisplay(const HAL::DisplayConfig& setup, void* host = nullptr)
    {
        m_display = nullptr;
        m_display = HAL::Display::createDisplayHandle(&setup, host);
        return display();
    }
    HAL::Win32Display* display() const { return dynamic_cast<HAL::Win32Display*>(m_display.get()); }
    HWND window() const { return display()->getWindowHandle(); }

    // The display of `setup` with the renderer answering with it, a keyboard
    // and a mouse.
    void startInput(const HAL::DisplayConfig& setup)
    {
        ASSERT_NE(createDisplay(setup), nullptr);
        registerRenderer();
        m_keyboard = HAL::Input::createInputHandle(HAL::INPUT_DEVICE_KEYBOARD);
        m_mouse = HAL::Input::createInputHandle(HAL::INPUT_DEVICE_MOUSE);
    }

    void registerRenderer()
    {
        m_renderer = VORNIC3D_NEW TestGraphics3D(m_display.get());
        core::Globals::get()->m_graphics3D = m_renderer.get();
    }
    void unregisterRenderer()
    {
        core::Globals::get()->m_graphics3D = nullptr;
        m_renderer = nullptr;
    }

    core::Ref<HAL::Display> m_display;
    core::Ref<TestGraphics3D> m_renderer;
    core::Ref<HAL::Input> m_keyboard;
    core::Ref<HAL::Input> m_mouse;
};

} // namespace testsupport
