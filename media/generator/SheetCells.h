#pragma once

#include "SheetDrawing.h"

namespace media {

// The pictures of the sprite sheet, one function per cell; each draws inside
// its cell only, and leaves alpha 0 wherever its shape is not.

// ---- terrain (SheetTerrain.cpp) ----
void drawBlock(Cell& cell);          // a lone solid block
void drawBlockRow(Cell& cell);       // a block between blocks left and right
void drawBlockColumn(Cell& cell);    // a block between blocks above and below
void drawBlockCorner(Cell& cell);    // a block at a corner of a mass of blocks
void drawPlatformEnd(Cell& cell);    // thin platform, an end of a run
void drawPlatformMiddle(Cell& cell); // thin platform inside a run
void drawPlatformAlone(Cell& cell);  // thin platform on its own
void drawCrate(Cell& cell);
void drawLongBlock(Cell& cell); // three cells wide
void drawLedge(Cell& cell);
void drawCrackable(Cell& cell);
void drawCracked(Cell& cell);
void drawBrake(Cell& cell);
void drawPusher(Cell& cell, int frame); // frames 0, 1, 2 scroll the arrows left
void drawTimedPlatform(Cell& cell);

// ---- bars (SheetTerrain.cpp) ----
void drawSpringBar(Cell& cell); // the spinning bar and the bouncer
void drawSwingBar(Cell& cell);
void drawMovingBar(Cell& cell); // the bobbing and the swaying bar
void drawTurningBar(Cell& cell);

// ---- actors, pickups, hazards and overlays (SheetActors.cpp) ----
void drawPlayer(Cell& cell);
void drawWalker(Cell& cell);
void drawStar(Cell& cell);
void drawKey(Cell& cell);
void drawDoor(Cell& cell);
void drawLift(Cell& cell);
void drawBarrier(Cell& cell);
void drawBeam(Cell& cell);
void drawArrow(Cell& cell); // points up
void drawMarker(Cell& cell);
void drawHudBand(Cell& cell);

} // namespace media
