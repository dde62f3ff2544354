// Stands in for: the screen metrics. Limits: only the screen's width and
// height; the screen is a virtual phone screen, never the desktop's, so the
// game lays itself out as on the phone. Depends on: getenv.
#pragma once

#include "wince/Types.h"

constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;

// The virtual screen's width (SM_CXSCREEN) or height (SM_CYSCREEN) in
// pixels: 240 x 400, or the environment variable VORNIC3D_SCREEN given as
// "WxH" in decimal with both values from 1 to 32767 (anything else keeps
// the default). Read on every call; needs no window. 0 for any other index.
int GetSystemMetrics(int index);
