#pragma once

#include "render/Font2D.h"

namespace gametest {

// A font of fixed 10 x 32 cells (the large media font's), standing in for
// the bitmap fonts where a test needs only their sizes.
class CellFont : public render::Font2D {
public:
    int getSizeX() override { return 10; }
    int getSizeY() override { return 32; }
};

// Fills the globals as the game's set-up leaves them, without its files and
// its intro: the level table, the light, both fonts (CellFont), the intro's
// text node, the keyboard and stylus inputs, a plain backdrop and the four
// sprite slots with a dust sprite in slot 1. The physics world and the
// camera must exist.
void fillSetUpGlobals();

} // namespace gametest
