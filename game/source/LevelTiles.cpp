#include "LevelTiles.h"

#include "GameObject.h"

#include "core/Assert.h"

namespace game {

namespace {

using G = GameObject;
constexpr int kTile = G::OBJ_BOX | G::OBJ_STATIC;

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

// One row a code, in code order (checked below), so a row reads as what the
// code makes.
struct TileRow {
    TileCode code;
    TileKind kind;
};

constexpr TileRow kTiles[kLastTileCode + 1] = {
    {TILE_EMPTY, kNothing},
    {TILE_BLOCK, tile(G::TYPE_BLOCK, kTile, {32, 0, 32, 32})},
    {TILE_START, kNothing},
    {TILE_THIN_PLATFORM, tile(G::TYPE_THIN_PLATFORM, kTile, {0, 32, 32, 16})},
    {TILE_STAR, tile(G::TYPE_STAR, G::OBJ_THROB | G::OBJ_NO_PHYSICS | G::OBJ_SPIN, {64, 0, 32, 32})},
    {TILE_SPINNING_BAR, tile(G::TYPE_SPINNING_BAR, kTile | G::OBJ_SPIN, {32, 32, 64, 16}, 0, -20)},
    {TILE_SWINGING_BAR, tile(G::TYPE_SWINGING_BAR, kTile | G::OBJ_SWING, {0, 48, 96, 16})},
    {TILE_BOUNCER, tile(G::TYPE_BOUNCER, kTile | G::OBJ_PULSE, {32, 32, 64, 16})},
    {TILE_EARLY_PLATFORM, tile(G::TYPE_EARLY_PLATFORM, kTile, {128, 32, 64, 32})},
    {TILE_WALKER, tile(G::TYPE_WALKER, G::OBJ_LETHAL | G::OBJ_PULSE | G::OBJ_CREATURE, {160, 0, 32, 32})},
    {TILE_LATE_PLATFORM, tile(G::TYPE_LATE_PLATFORM, kTile, {128, 32, 64, 32})},
    {TILE_LIFT, tile(G::TYPE_LIFT, G::OBJ_NO_PHYSICS, {128, 0, 32, 32})},
    {TILE_CRACKABLE, withExtra(tile(G::TYPE_CRACKABLE, kTile, {192, 0, 32, 32}), {224, 0, 32, 32})},
    {TILE_CRACKED, tile(G::TYPE_CRACKED, kTile, {224, 0, 32, 32})},
    {TILE_BRAKE, tile(G::TYPE_BRAKE, kTile, {192, 32, 32, 32})},
    {TILE_PUSHER, withExtras(tile(G::TYPE_PUSHER, kTile, {224, 32, 32, 8}), {224, 40, 32, 8}, {224, 48, 32, 8})},
    {TILE_CRATE, tile(G::TYPE_CRATE, kTile, {32, 112, 32, 32})},
    {TILE_BARRIER, tile(G::TYPE_BARRIER, G::OBJ_LETHAL | kTile, {64, 112, 32, 32})},
    {TILE_BOBBING_BAR, tile(G::TYPE_MOVING_BAR, G::OBJ_BOB | kTile, {0, 96, 64, 16}, 0, 0, 90)},
    {TILE_SWAYING_BAR, tile(G::TYPE_MOVING_BAR, G::OBJ_SWAY | kTile, {0, 96, 64, 16})},
    {TILE_LONG_BLOCK, tile(G::TYPE_LONG_BLOCK, kTile, {160, 112, 96, 32})},
    {TILE_UPRIGHT_LONG_BLOCK, tile(G::TYPE_LONG_BLOCK, kTile, {160, 112, 96, 32}, 0, 0, -90)},
    {TILE_KEY, tile(G::TYPE_KEY, G::OBJ_NO_PHYSICS | G::OBJ_WOBBLE, {32, 144, 32, 32})},
    {TILE_DOOR, tile(G::TYPE_DOOR, kTile, {64, 144, 32, 64}, 0, 16)},
    {TILE_LEDGE, tile(G::TYPE_LEDGE, kTile, {96, 112, 64, 16}, 16, 0)},
    {TILE_TURNING_BAR, tile(G::TYPE_TURNING_BAR, kTile, {64, 96, 192, 16})},
    {TILE_RISING_BEAM, tile(G::TYPE_RISING_BEAM, G::OBJ_LETHAL | kTile, {0, 112, 32, 64})},
    {TILE_SLIDING_BEAM,
     withExtra(tile(G::TYPE_SLIDING_BEAM, G::OBJ_LETHAL | kTile, {0, 112, 32, 64}, 0, 0, 90), {0, 112, 32, 64})},
    {TILE_SCROLLING_BEAM,
     withExtra(tile(G::TYPE_SCROLLING_BEAM, G::OBJ_LETHAL | kTile, {0, 112, 32, 32}, 0, 0, 90), {0, 112, 32, 64})},
};

constexpr bool rowsInCodeOrder()
{
    for (int code = 0; code <= kLastTileCode; ++code)
        if (kTiles[code].code != code)
            return false;
    return true;
}
static_assert(rowsInCodeOrder(), "kTiles is indexed by tile code");

} // namespace

const TileKind& tileKind(int code)
{
    VORNIC3D_CHECK(code >= 0 && code <= kLastTileCode);
    return kTiles[code].kind;
}

// ---- neighbour rules -------------------------------------------------------------------

TileKind::Cell blockPicture(int left, int right, int up, int down)
{
    // Only a block counts as a like neighbour and only an empty cell as
    // open; any other code breaks the vertical cases.
    TileKind::Cell picture = {32, 0, 32, 32};
    const bool sideways = left == TILE_BLOCK || right == TILE_BLOCK;
    if (left == TILE_BLOCK && right == TILE_BLOCK)
        picture = {96, 144, 32, 32};
    if (up == TILE_BLOCK && down == TILE_BLOCK)
        picture = {128, 144, 32, 32};
    else if (((up == TILE_BLOCK && down == TILE_EMPTY) || (up == TILE_EMPTY && down == TILE_BLOCK)) && sideways)
        picture = {160, 144, 32, 32};
    return picture;
}

TileKind::Cell thinPlatformPicture(int left, int right)
{
    const int like = (left == TILE_THIN_PLATFORM ? 1 : 0) + (right == TILE_THIN_PLATFORM ? 1 : 0);
    if (like == 2)
        return {192, 144, 32, 16};
    if (like == 0)
        return {192, 160, 32, 16};
    return {0, 32, 32, 16};
}

int barrierFlags(int up, int down)
{
    const int flags = GameObject::OBJ_LETHAL | kTile;
    return up == TILE_BARRIER || down == TILE_BARRIER ? flags | GameObject::OBJ_TURN_90 : flags;
}

} // namespace game
