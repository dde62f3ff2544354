#pragma once

namespace game {

// The tile codes of a level image: one per cell, the red byte of its pixel,
// counted from 0 in this order (the level files hold them, so the order is
// fixed). They are not the object types (GameObject::Type) the tiles make:
// the crackable block is tile TILE_CRACKABLE (12) and makes TYPE_CRACKABLE
// (14).
enum TileCode {
    TILE_EMPTY,         // 0
    TILE_BLOCK,         // its picture by its neighbours
    TILE_START,         // the player's start; makes nothing
    TILE_THIN_PLATFORM, // its picture by its neighbours
    TILE_STAR,
    TILE_SPINNING_BAR, // 5
    TILE_SWINGING_BAR,
    TILE_BOUNCER,
    TILE_EARLY_PLATFORM,
    TILE_WALKER,
    TILE_LATE_PLATFORM, // 10
    TILE_LIFT,
    TILE_CRACKABLE,
    TILE_CRACKED,
    TILE_BRAKE,
    TILE_PUSHER, // 15
    TILE_CRATE,
    TILE_BARRIER,     // its flags by its neighbours
    TILE_BOBBING_BAR, // upright
    TILE_SWAYING_BAR,
    TILE_LONG_BLOCK, // 20
    TILE_UPRIGHT_LONG_BLOCK,
    TILE_KEY,
    TILE_DOOR,
    TILE_LEDGE,
    TILE_TURNING_BAR, // 25
    TILE_RISING_BEAM,
    TILE_SLIDING_BEAM,
    TILE_SCROLLING_BEAM, // 28
};
constexpr int kLastTileCode = TILE_SCROLLING_BEAM;
static_assert(kLastTileCode == 28, "the codes of the level files");

// What a tile code makes. The table and the neighbour rules are pure data;
// GameLevel::load applies them.
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

// The row of a code from 0 to kLastTileCode (the bare assertion otherwise).
const TileKind& tileKind(int code);

// The neighbour rules: the picture or flags a tile takes from the codes of
// the cells left, right, above and below it (0 outside the image).
TileKind::Cell blockPicture(int left, int right, int up, int down);
TileKind::Cell thinPlatformPicture(int left, int right);
int barrierFlags(int up, int down);

} // namespace game
