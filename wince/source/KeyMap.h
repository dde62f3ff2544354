// Stands in for: the phone's keyboard driver, which names keys by
// virtual-key codes (internal). Limits: letters, digits, F1 to F24, the
// editing, arrow and modifier keys; other keys have no code. Depends on:
// SDL2's key codes.
#pragma once

#include <cstdint>

// The virtual-key code of an SDL key code, 0 for a key without one. Letters
// give 'A' to 'Z' whatever the shift state, digits '0' to '9', F1 to F24
// give 0x70 to 0x87; both shift, control and alt keys give VK_SHIFT,
// VK_CONTROL and VK_MENU.
int virtualKeyFromSdl(std::int32_t sdlKeycode);

// The character a key types (for WM_CHAR), 0 when it types none: letters in
// lower case, or upper case when `shift`; digits; space, return, escape,
// backspace and tab as their control characters.
char16_t characterOfVirtualKey(int virtualKey, bool shift);
