#include "KeyMap.h"

#include "wince/Input.h"

#include <SDL2/SDL_keycode.h>
#include <gtest/gtest.h>

TEST(KeyMap, SdlKeysBecomeVirtualKeyCodes)
{
    struct Case {
        SDL_Keycode sdl;
        int virtualKey;
    };
    // The letters, digits and F keys are ranges of SDL codes (F13 starts a
    // second run); test the ends of each.
    const Case cases[] = {
        {SDLK_a, 'A'},         {SDLK_z, 'Z'},       {SDLK_0, '0'},      {SDLK_9, '9'},
        {SDLK_F1, 0x70},       {SDLK_F3, 114},      {SDLK_F12, 0x7B},   {SDLK_F13, 0x7C},
        {SDLK_F24, 0x87},      {SDLK_ESCAPE, 0x1B}, {SDLK_RETURN, 0x0D}, {SDLK_SPACE, 0x20},
        {SDLK_LEFT, 0x25},     {SDLK_DOWN, 0x28},   {SDLK_RSHIFT, VK_SHIFT},
        {SDLK_UNKNOWN, 0},     {SDLK_CAPSLOCK, 0},  {SDLK_KP_5, 0},     {-1, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(virtualKeyFromSdl(c.sdl), c.virtualKey) << "SDL key " << c.sdl;
}
