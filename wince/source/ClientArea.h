// Stands in for: the window manager's answer to "where is this window's
// client area" (internal). Limits: top-level windows only. Depends on:
// WindowTable, SdlVideo.
#pragma once

#include "wince/Types.h"

#include <optional>

// A client area in screen coordinates.
struct ClientArea {
    int x;
    int y;
    int width;
    int height;

    bool contains(POINT screenPoint) const
    {
        const long long dx = static_cast<long long>(screenPoint.x) - x;
        const long long dy = static_cast<long long>(screenPoint.y) - y;
        return dx >= 0 && dy >= 0 && dx < width && dy < height;
    }
};

// The window's client area: from SDL for a real window, from its record
// without video. Nothing for a window that does not exist.
std::optional<ClientArea> clientAreaOf(HWND window);
