#pragma once

namespace game {

// The screen's size in pixels: 240 x 400 until the application factory sets
// them from the real screen, before anything else of the game runs. The
// game's layout and drawing read them.
extern float g_screenWidth;
extern float g_screenHeight;

} // namespace game
