#include "LevelTiles.h"

#include "GameObject.h"

#include "core/Assert.h"

namespace game {

namespace {

using G = GameObject;
constexpr int kTile = G::OBJ_BOX | G::OBJ_STATIC;
// The player and walkers carry 0x10, which no rule reads.
constexpr int kCreature = 0x10;

constexpr TileKind kNothing = {false, 0, 0, {0, 0, 0, 0}, 0, 0, 0, 0, {}};

constexpr TileKind tile(int type, int flags, TileKind::Cell picture, float atX = 0, float atY = 0, float turn = 0)
{
    return {true, type, flags, picture, atX, atY, turn, 0, {}};
}

constexpr TileKind withExtra(TileKind kind, TileKind::Cell first)
{
    kind.extraCount = 1;
    kind.extra[0] = first;
    return kind;
}

constexpr TileKind withExtras(TileKind kind, TileKind::Cell first, TileKind::Cell second)
{
    kind.extraCount = 2;
    kind.extra[0] = first;
    kind.extra[1] = second;
    return kind;
}

const TileKind kTiles[kLastTileCode + 1] = {
    kNothing,                                                               // 0 empty
    tile(G::TYPE_BLOCK, kTile, {32, 0, 32, 32}),                            // 1 block, by neighbours
    kNothing,                                                               // 2 the player's start
    tile(G::TYPE_THIN_PLATFORM, kTile, {0, 32, 32, 16}),                    // 3 thin platform, by neighbours
    tile(G::TYPE_STAR, G::OBJ_THROB | G::OBJ_NO_PHYSICS | G::OBJ_SPIN, {64, 0, 32, 32}),
    tile(G::TYPE_SPINNING_BAR, kTile | G::OBJ_SPIN, {32, 32, 64, 16}, 0, -20),
    tile(G::TYPE_SWINGING_BAR, kTile | G::OBJ_SWING, {0, 48, 96, 16}),
    tile(G::TYPE_BOUNCER, kTile | G::OBJ_PULSE, {32, 32, 64, 16}),
    tile(G::TYPE_EARLY_PLATFORM, kTile, {128, 32, 64, 32}),
    tile(G::TYPE_WALKER, G::OBJ_LETHAL | G::OBJ_PULSE | kCreature, {160, 0, 32, 32}),
    tile(G::TYPE_LATE_PLATFORM, kTile, {128, 32, 64, 32}),                  // 10
    tile(G::TYPE_LIFT, G::OBJ_NO_PHYSICS, {128, 0, 32, 32}),
    withExtra(tile(G::TYPE_CRACKABLE, kTile, {192, 0, 32, 32}), {224, 0, 32, 32}),
    tile(G::TYPE_CRACKED, kTile, {224, 0, 32, 32}),
    tile(G::TYPE_BRAKE, kTile, {192, 32, 32, 32}),
    withExtras(tile(G::TYPE_PUSHER, kTile, {224, 32, 32, 8}), {224, 40, 32, 8}, {224, 48, 32, 8}),
    tile(G::TYPE_CRATE, kTile, {32, 112, 32, 32}),
    tile(G::TYPE_BARRIER, G::OBJ_LETHAL | kTile, {64, 112, 32, 32}),        // 17, flags by neighbours
    tile(G::TYPE_MOVING_BAR, G::OBJ_BOB | kTile, {0, 96, 64, 16}, 0, 0, 90),
    tile(G::TYPE_MOVING_BAR, G::OBJ_SWAY | kTile, {0, 96, 64, 16}),
    tile(G::TYPE_LONG_BLOCK, kTile, {160, 112, 96, 32}),                    // 20
    tile(G::TYPE_LONG_BLOCK, kTile, {160, 112, 96, 32}, 0, 0, -90),
    tile(G::TYPE_KEY, G::OBJ_NO_PHYSICS | G::OBJ_WOBBLE, {32, 144, 32, 32}),
    tile(G::TYPE_DOOR, kTile, {64, 144, 32, 64}, 0, 16),
    tile(G::TYPE_LEDGE, kTile, {96, 112, 64, 16}, 16, 0),
    tile(G::TYPE_TURNING_BAR, kTile, {64, 96, 192, 16}),
    tile(G::TYPE_RISING_BEAM, G::OBJ_LETHAL | kTile, {0, 112, 32, 64}),
    withExtra(tile(G::TYPE_SLIDING_BEAM, G::OBJ_LETHAL | kTile, {0, 112, 32, 64}, 0, 0, 90), {0, 112, 32, 64}),
    withExtra(tile(G::TYPE_SCROLLING_BEAM, G::OBJ_LETHAL | kTile, {0, 112, 32, 32}, 0, 0, 90), {0, 112, 32, 64}),
};

} // namespace

const TileKind& tileKind(int code)
{
    VORNIC3D_CHECK(code >= 0 && code <= kLastTileCode);
    return kTiles[code];
}

// ---- neighbour rules -------------------------------------------------------------------

TileKind::Cell blockPicture(int left, int right, int up, int down)
{
    // Only a block counts as a like neighbour and only an empty cell as
    // open; any other code breaks the vertical cases.
    TileKind::Cell picture = {32, 0, 32, 32};
    const bool sideways = left == kTileBlock || right == kTileBlock;
    if (left == kTileBlock && right == kTileBlock)
        picture = {96, 144, 32, 32};
    if (up == kTileBlock && down == kTileBlock)
        picture = {128, 144, 32, 32};
    else if (((up == kTileBlock && down == 0) || (up == 0 && down == kTileBlock)) && sideways)
        picture = {160, 144, 32, 32};
    return picture;
}

TileKind::Cell thinPlatformPicture(int left, int right)
{
    const int like = (left == kTileThinPlatform ? 1 : 0) + (right == kTileThinPlatform ? 1 : 0);
    if (like == 2)
        return {192, 144, 32, 16};
    if (like == 0)
        return {192, 160, 32, 16};
    return {0, 32, 32, 16};
}

int barrierFlags(int up, int down)
{
    const int flags = GameObject::OBJ_LETHAL | kTile;
    return up == kTileBarrier || down == kTileBarrier ? flags | GameObject::OBJ_TURN_90 : flags;
}

} // namespace game
