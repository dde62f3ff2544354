#include "Screen.h"

namespace game {

float g_screenWidth = 240.0f;
float g_screenHeight = 400.0f;

} // namespace game
