// Stands in for: the phone's keyboard driver (internal). Limits: see
// KeyMap.h. Depends on: SDL2's key codes (SDL_keycode.h only).
#include "KeyMap.h"

#include "wince/Input.h"

#include <SDL_keycode.h>

int virtualKeyFromSdl(std::int32_t code)
{
    if (code >= SDLK_a && code <= SDLK_z)
        return 'A' + (code - SDLK_a);
    if (code >= SDLK_0 && code <= SDLK_9)
        return '0' + (code - SDLK_0);
    // SDL numbers F1-F12 and F13-F24 in two separate runs.
    if (code >= SDLK_F1 && code <= SDLK_F12)
        return VK_F1 + (code - SDLK_F1);
    if (code >= SDLK_F13 && code <= SDLK_F24)
        return VK_F1 + 12 + (code - SDLK_F13);

    struct Pair {
        std::int32_t sdl;
        int virtualKey;
    };
    static constexpr Pair pairs[] = {
        {SDLK_ESCAPE, VK_ESCAPE},  {SDLK_RETURN, VK_RETURN}, {SDLK_KP_ENTER, VK_RETURN}, {SDLK_SPACE, VK_SPACE},
        {SDLK_BACKSPACE, VK_BACK}, {SDLK_TAB, VK_TAB},       {SDLK_LEFT, VK_LEFT},       {SDLK_UP, VK_UP},
        {SDLK_RIGHT, VK_RIGHT},    {SDLK_DOWN, VK_DOWN},     {SDLK_PAGEUP, VK_PRIOR},    {SDLK_PAGEDOWN, VK_NEXT},
        {SDLK_HOME, VK_HOME},      {SDLK_END, VK_END},       {SDLK_INSERT, VK_INSERT},   {SDLK_DELETE, VK_DELETE},
        {SDLK_LSHIFT, VK_SHIFT},   {SDLK_RSHIFT, VK_SHIFT},  {SDLK_LCTRL, VK_CONTROL},   {SDLK_RCTRL, VK_CONTROL},
        {SDLK_LALT, VK_MENU},      {SDLK_RALT, VK_MENU},
    };
    for (const Pair& pair : pairs)
        if (pair.sdl == code)
            return pair.virtualKey;
    return 0;
}

char16_t characterOfVirtualKey(int virtualKey, bool shift)
{
    if (virtualKey >= 'A' && virtualKey <= 'Z')
        return static_cast<char16_t>(shift ? virtualKey : virtualKey - 'A' + 'a');
    if (virtualKey >= '0' && virtualKey <= '9')
        return static_cast<char16_t>(virtualKey);
    switch (virtualKey) {
    case VK_SPACE: return u' ';
    case VK_RETURN: return u'\r';
    case VK_ESCAPE: return 0x1B;
    case VK_BACK: return 0x08;
    case VK_TAB: return u'\t';
    default: return 0;
    }
}
