#pragma once

namespace game {

// The game's program-wide variables besides the GameGlobals object: plain
// values that start with the program and run on across levels and plays;
// the game itself puts back only the steering (g_steerX, g_steerY), cleared
// on entering "run". resetProgramGlobals gives every one its start value
// again, as a new program has it: test fixtures call it before each test,
// so that no test depends on the ones before it.

// ---- the screen ----
// The screen's size in pixels: 240 x 400 until the application factory sets
// them from the real screen, before anything else of the game runs. The
// game's layout and drawing read them.
extern float g_screenWidth;
extern float g_screenHeight;

// ---- the contact rules (ContactRules.cpp) ----
// Calls of the collision callback left before a cracked block can vanish; set
// by a crack and counted down on every call.
extern int g_vanishCooldown;

// ---- the level update (GameLevelUpdate.cpp) ----
extern bool g_updateHalf;  // every second update does the work
extern int g_levelClock;   // ms of working updates; the timed platforms take 4000 off
extern int g_slideStep;    // 2, 4, ... 62, -1 and again, one step per working update
extern int g_frameIndex;   // 1, 2, 0, ...
extern int g_flickerPhase; // 1, 0, ...
extern int g_blinkTimer;   // ms; every 3000 the barriers switch
extern bool g_blinkOn;

// ---- the run state's stylus steering (GameStateRunUpdate.cpp) ----
// Whether the steering toward the run state's target is under way, sideways
// and upward; cleared whenever "run" is entered.
extern bool g_steerX;
extern bool g_steerY;

// ---- the menu's stylus (GameStateMenu.cpp) ----
// Kept across visits: a press seen whose release is not handled yet, and the
// position of the last release acted on (-2 before any).
extern bool g_menuStylusDown;
extern float g_menuLastX;
extern float g_menuLastY;

// Every variable above back at its start value.
void resetProgramGlobals();

} // namespace game
