// Stands in for: the screen's device context. Limits: see wince/Gdi.h.
// Depends on: nothing.
#include "wince/Gdi.h"

// The one device context; nothing reads it.
struct WinceDc {};

namespace {

WinceDc screenDc;

} // namespace

HDC GetDC(HWND)
{
    return &screenDc;
}

int GetDeviceCaps(HDC dc, int index)
{
    if (dc != &screenDc)
        return 0;
    switch (index) {
    case BITSPIXEL: return 16;
    case PLANES: return 1;
    default: return 0;
    }
}

int ReleaseDC(HWND, HDC dc)
{
    return dc == &screenDc ? 1 : 0;
}
