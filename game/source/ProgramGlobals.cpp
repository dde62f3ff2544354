#include "ProgramGlobals.h"

namespace game {

// Every variable with its start value, once, by topic as the header lists
// them: the definitions and the reset are both made from this list.
// g_menuLastX and g_menuLastY start at -2, no position a tap can have.
#define VORNIC3D_PROGRAM_GLOBALS(X)                                                                                    \
    X(float, g_screenWidth, 240.0f)                                                                                    \
    X(float, g_screenHeight, 400.0f)                                                                                   \
    X(int, g_vanishCooldown, 0)                                                                                        \
    X(bool, g_updateHalf, false)                                                                                       \
    X(int, g_levelClock, 0)                                                                                            \
    X(int, g_slideStep, 0)                                                                                             \
    X(int, g_frameIndex, 0)                                                                                            \
    X(int, g_flickerPhase, 0)                                                                                          \
    X(int, g_blinkTimer, 0)                                                                                            \
    X(bool, g_blinkOn, false)                                                                                          \
    X(bool, g_steerX, false)                                                                                           \
    X(bool, g_steerY, false)                                                                                           \
    X(bool, g_menuStylusDown, false)                                                                                   \
    X(float, g_menuLastX, -2.0f)                                                                                       \
    X(float, g_menuLastY, -2.0f)

#define VORNIC3D_DEFINE(type, name, start) type name = start;
VORNIC3D_PROGRAM_GLOBALS(VORNIC3D_DEFINE)
#undef VORNIC3D_DEFINE

void resetProgramGlobals()
{
#define VORNIC3D_RESET(type, name, start) name = start;
    VORNIC3D_PROGRAM_GLOBALS(VORNIC3D_RESET)
#undef VORNIC3D_RESET
}

#undef VORNIC3D_PROGRAM_GLOBALS

} // namespace game
