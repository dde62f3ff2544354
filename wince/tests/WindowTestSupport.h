// A window of a class of its own whose procedure records every message, for
// the tests of the message queue, windows and input. The stand-in's state
// (queue, keys, foreground, cursor) is reset before and after.
#pragma once

#include "wince/Messages.h"
#include "wince/TestApi.h"
#include "wince/Window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

struct RecordedMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

inline std::vector<RecordedMessage>& recordedMessages()
{
    static std::vector<RecordedMessage> messages;
    return messages;
}

inline LRESULT recordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    recordedMessages().push_back({window, message, wParam, lParam});
    return DefWindowProcW(window, message, wParam, lParam);
}

class TestWindow {
public:
    explicit TestWindow(const char16_t* className, DWORD style = WS_VISIBLE, int x = 0, int y = 0,
                        int width = 240, int height = 400, WNDPROC procedure = recordingProcedure)
        : m_className(className)
    {
        WNDCLASSW windowClass{};
        windowClass.style = CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = procedure;
        windowClass.lpszClassName = className;
        m_registered = RegisterClassW(&windowClass) != 0;
        m_window = CreateWindowExW(0, className, u"test", style, x, y, width, height, nullptr,
                                   nullptr, nullptr, nullptr);
    }

    ~TestWindow()
    {
        if (m_window != nullptr)
            DestroyWindow(m_window);
        if (m_registered)
            UnregisterClassW(m_className.c_str(), nullptr);
    }

    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND handle() const { return m_window; }

    // For tests that destroy the window themselves.
    void forget() { m_window = nullptr; }

private:
    std::u16string m_className;
    bool m_registered = false;
    HWND m_window = nullptr;
};

class StandInTest : public testing::Test {
protected:
    void SetUp() override
    {
        WinceTestReset();
        recordedMessages().clear();
    }
    void TearDown() override { WinceTestReset(); }
};
