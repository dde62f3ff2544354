#include "GameObject.h"
#include "LevelTiles.h"

#include <gtest/gtest.h>

using game::GameObject;

namespace {

struct Picture {
    int x;
    int y;
};

} // namespace

TEST(LevelTiles, NeighbourRulesPickThePictureOrTheTurn)
{
    // Codes left, right, above and below; 0 is empty or outside the image.
    const struct { const char* what; int l, r, u, d; Picture block; } blocks[] = {
        {"alone", 0, 0, 0, 0, {32, 0}},
        {"middle of a row", 1, 1, 0, 0, {96, 144}},
        {"end of a row", 1, 0, 0, 0, {32, 0}},
        {"middle of a column", 0, 0, 1, 1, {128, 144}},
        {"middle of a column with sides", 1, 1, 1, 1, {128, 144}},
        {"top of a column, no side", 0, 0, 0, 1, {32, 0}},
        {"corner: side and below, open above", 0, 1, 0, 1, {160, 144}},
        {"corner: side and above, open below", 1, 0, 1, 0, {160, 144}},
        {"row end with another code above", 0, 1, 5, 1, {32, 0}},
        {"row middle below an open cell", 1, 1, 0, 1, {160, 144}},
    };
    for (const auto& c : blocks) {
        SCOPED_TRACE(c.what);
        const game::TileKind::Cell cell = game::blockPicture(c.l, c.r, c.u, c.d);
        EXPECT_EQ(cell.x * 1000 + cell.y, c.block.x * 1000 + c.block.y);
        EXPECT_EQ(cell.width * 100 + cell.height, 3232);
    }

    const struct { int l, r; Picture platform; } platforms[] = {
        {3, 3, {192, 144}}, {0, 0, {192, 160}}, {3, 0, {0, 32}}, {0, 3, {0, 32}}, {1, 1, {192, 160}},
    };
    for (const auto& c : platforms) {
        SCOPED_TRACE(c.l * 10 + c.r);
        const game::TileKind::Cell cell = game::thinPlatformPicture(c.l, c.r);
        EXPECT_EQ(cell.x * 1000 + cell.y, c.platform.x * 1000 + c.platform.y);
        EXPECT_EQ(cell.width * 100 + cell.height, 3216);
    }

    EXPECT_EQ(game::barrierFlags(17, 0), 0x1803);
    EXPECT_EQ(game::barrierFlags(0, 17), 0x1803);
    EXPECT_EQ(game::barrierFlags(0, 0), 0x1003);
    EXPECT_EQ(game::barrierFlags(1, 1), 0x1003);
}

TEST(LevelTiles, EveryCodeUpTo28HasARowAndNoneBeyond)
{
    int objects = 0;
    for (int code = 0; code <= game::kLastTileCode; ++code)
        objects += game::tileKind(code).makesObject ? 1 : 0;
    EXPECT_EQ(objects, 27) << "codes 0 and 2 make none";
    EXPECT_EQ(game::tileKind(23).type, GameObject::TYPE_DOOR);
    EXPECT_EQ(game::tileKind(9).flags, 0x1050);
    EXPECT_THROW(game::tileKind(29), AssertationFailedException);
    EXPECT_THROW(game::tileKind(-1), AssertationFailedException);
}
