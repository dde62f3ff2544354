#include "hal/win32/Win32WindowState.h"

namespace HAL {

Win32WindowState& windowState()
{
    static Win32WindowState state;
    return state;
}

} // namespace HAL
