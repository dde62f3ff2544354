#include "ProgramGlobals.h"

namespace game {

namespace {

constexpr float kStartScreenWidth = 240.0f;
constexpr float kStartScreenHeight = 400.0f;
// Before the menu's first release: no position a tap can have.
constexpr float kNoMenuRelease = -2.0f;

} // namespace

// Defined by topic, as the header lists them.
float g_screenWidth = kStartScreenWidth, g_screenHeight = kStartScreenHeight;
int g_vanishCooldown = 0;
bool g_updateHalf = false, g_blinkOn = false;
int g_levelClock = 0, g_slideStep = 0, g_frameIndex = 0, g_flickerPhase = 0, g_blinkTimer = 0;
bool g_steerX = false, g_steerY = false;
bool g_menuStylusDown = false;
float g_menuLastX = kNoMenuRelease, g_menuLastY = kNoMenuRelease;

void resetProgramGlobals()
{
    g_screenWidth = kStartScreenWidth;
    g_screenHeight = kStartScreenHeight;
    g_vanishCooldown = 0;
    g_updateHalf = false;
    g_levelClock = 0;
    g_slideStep = 0;
    g_frameIndex = 0;
    g_flickerPhase = 0;
    g_blinkTimer = 0;
    g_blinkOn = false;
    g_steerX = false;
    g_steerY = false;
    g_menuStylusDown = false;
    g_menuLastX = kNoMenuRelease;
    g_menuLastY = kNoMenuRelease;
}

} // namespace game
