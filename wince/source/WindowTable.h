// Stands in for: the system's table of window classes and windows
// (internal). Limits: classes are known by name alone (the module is not
// part of the key); handles are numbers that are never reused, so a stale
// handle is simply unknown. Depends on: std::mutex; SDL2's window type by
// name only.
#pragma once

#include "wince/Window.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

struct SDL_Window;

// One window as the stand-in knows it. `native` is null without video.
struct WindowRecord {
    HWND handle = nullptr;
    WNDPROC procedure = nullptr;
    std::u16string className;
    DWORD style = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool visible = false;
    bool destroying = false;
    SDL_Window* native = nullptr;
    std::uint32_t nativeId = 0;
};

// Registered classes and live windows. Lookups return copies, so callers
// never hold a reference into the table while a window procedure runs (which
// may create or destroy windows). Locked; it calls nothing else while it
// holds its lock.
class WindowTable {
public:
    static WindowTable& instance();

    // ---- classes ----

    // 0 when the class exists already.
    ATOM registerClass(const std::u16string& name, UINT style, WNDPROC procedure);

    // False when the class does not exist or has windows.
    bool unregisterClass(const std::u16string& name);

    // The class's procedure, null for an unknown class.
    WNDPROC classProcedure(const std::u16string& name);

    // ---- windows ----

    // Enters the record under a new handle and returns it; null when its
    // class has gone meanwhile.
    HWND add(WindowRecord record);

    std::optional<WindowRecord> find(HWND window);
    HWND findNative(std::uint32_t nativeId);
    std::vector<WindowRecord> all();

    // Marks the window as being destroyed and returns it; nothing when it
    // does not exist or is being destroyed already.
    std::optional<WindowRecord> beginDestroy(HWND window);
    void remove(HWND window);

    // Sets the visible flag; returns the previous one (nothing for an
    // unknown window).
    std::optional<bool> setVisible(HWND window, bool visible);

private:
    struct WindowClass {
        UINT style;
        WNDPROC procedure;
        ATOM atom;
    };

    std::mutex m_lock;
    std::map<std::u16string, WindowClass> m_classes;
    std::map<HWND, WindowRecord> m_windows;
    std::uintptr_t m_nextHandle = 0x100;
    ATOM m_nextAtom = 0xC000;
};
