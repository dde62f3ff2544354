#pragma once

namespace game {

// What a tile code of a level image makes: a level image holds one code per
// cell (the red byte of its pixel), 0 to kLastTileCode. The table and the
// neighbour rules are pure data; GameLevel::load applies them.
struct TileKind {
    // A sheet cell: top-left corner and size in sheet pixels.
    struct Cell {
        int x;
        int y;
        int width;
        int height;
    };

    bool makesObject;
    int type;
    int flags;
    // The picture; its size is also the object's size in world units.
    Cell picture;
    // Added to the cell's centre, then the turn about z in degrees.
    float atX;
    float atY;
    float turn;
    // Pictures the object is switched to while playing, put into the atlas
    // before the object is made (at most two).
    int extraCount;
    Cell extra[2];
};

constexpr int kLastTileCode = 28;
constexpr int kTileStart = 2;
constexpr int kTileBlock = 1;
constexpr int kTileThinPlatform = 3;
constexpr int kTileStar = 4;
constexpr int kTileBarrier = 17;

// The row of a code from 0 to kLastTileCode (the bare assertion otherwise).
const TileKind& tileKind(int code);

// The neighbour rules: the picture or flags a tile takes from the codes of
// the cells left, right, above and below it (0 outside the image).
TileKind::Cell blockPicture(int left, int right, int up, int down);
TileKind::Cell thinPlatformPicture(int left, int right);
int barrierFlags(int up, int down);

} // namespace game
