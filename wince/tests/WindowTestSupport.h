// For the tests that drive the stand-in: windows of a class of their own
// whose procedure records every message, a fixture that resets the
// stand-in's state around each test, and colours drawn with OpenGL ES into
// the current surface and read back.
#pragma once

#include "wince/Messages.h"
#include "wince/TestApi.h"
#include "wince/Window.h"

#include <GLES/gl.h>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

// What a recording procedure was given, in the order it was given.
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

// A point as a pair, for comparisons that print both coordinates.
inline std::pair<LONG, LONG> xy(const POINT& point)
{
    return {point.x, point.y};
}

// A window of its own class, both gone with it.
class TestWindow {
public:
    explicit TestWindow(const char16_t* className, DWORD style = WS_VISIBLE, int x = 0, int y = 0, int width = 240,
                        int height = 400, WNDPROC procedure = recordingProcedure)
        : m_className(className)
    {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = procedure;
        windowClass.lpszClassName = className;
        RegisterClassW(&windowClass);
        m_window =
            CreateWindowExW(0, className, u"test", style, x, y, width, height, nullptr, nullptr, nullptr, nullptr);
    }

    ~TestWindow()
    {
        DestroyWindow(m_window);
        UnregisterClassW(m_className, nullptr);
    }

    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND handle() const { return m_window; }

    // For tests that destroy the window themselves.
    void forget() { m_window = nullptr; }

private:
    const char16_t* m_className;
    HWND m_window = nullptr;
};

// Queue, keys, foreground and cursor reset and no message recorded before
// each test; the stand-in reset again after it.
class StandInTest : public testing::Test {
protected:
    void SetUp() override
    {
        WinceTestReset();
        recordedMessages().clear();
    }
    void TearDown() override { WinceTestReset(); }
};

// ---- pixels, as 0xRRGGBB ----

inline void clearTo(unsigned long rgb)
{
    glClearColor((rgb >> 16 & 0xFF) / 255.0f, (rgb >> 8 & 0xFF) / 255.0f, (rgb & 0xFF) / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

inline unsigned long pixelAt(int x, int y)
{
    GLubyte rgba[4] = {};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return static_cast<unsigned long>(rgba[0]) << 16 | static_cast<unsigned long>(rgba[1]) << 8 | rgba[2];
}
