#include "MediaManifest.h"
#include "PngFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

using mediatest::PngFile;

PngFile committed(const std::string& name)
{
    return mediatest::readPng(mediatest::mediaFolder() + "/" + name);
}

struct Rect {
    const char* what;
    int x, y, w, h;
    bool round; // its corners lie outside the shape
};

// Every cell the game crops from the sheet, with the size it crops.
const Rect kCells[] = {
    {"player", 0, 0, 32, 32, true},           {"block", 32, 0, 32, 32, false},
    {"star", 64, 0, 32, 32, true},            {"arrow", 96, 0, 32, 32, true},
    {"lift", 128, 0, 32, 32, false},          {"walker", 160, 0, 32, 32, true},
    {"crackable", 192, 0, 32, 32, false},     {"cracked", 224, 0, 32, 32, false},
    {"platform end", 0, 32, 32, 16, false},   {"spring bar", 32, 32, 64, 16, true},
    {"marker", 96, 32, 32, 32, true},         {"timed platform", 128, 32, 64, 32, false},
    {"brake", 192, 32, 32, 32, false},        {"pusher 1", 224, 32, 32, 8, false},
    {"pusher 2", 224, 40, 32, 8, false},      {"pusher 3", 224, 48, 32, 8, false},
    {"swinging bar", 0, 48, 96, 16, true},    {"HUD band", 0, 64, 256, 32, false},
    {"moving bar", 0, 96, 64, 16, true},      {"turning bar", 64, 96, 192, 16, true},
    {"beam", 0, 112, 32, 64, false},          {"crate", 32, 112, 32, 32, false},
    {"barrier", 64, 112, 32, 32, false},      {"ledge", 96, 112, 64, 16, false},
    {"long block", 160, 112, 96, 32, false},  {"key", 32, 144, 32, 32, true},
    {"door", 64, 144, 32, 64, false},          {"block in a row", 96, 144, 32, 32, false},
    {"block in a column", 128, 144, 32, 32, false}, {"block at a corner", 160, 144, 32, 32, false},
    {"platform middle", 192, 144, 32, 16, false}, {"platform alone", 192, 160, 32, 16, false},
};

bool inCell(int x, int y)
{
    for (const Rect& cell : kCells) {
        if (x >= cell.x && y >= cell.y && x < cell.x + cell.w && y < cell.y + cell.h)
            return true;
    }
    return false;
}

double luminance(const PngFile& png, int x, int y)
{
    return 0.299 * png.at(x, y, 0) + 0.587 * png.at(x, y, 1) + 0.114 * png.at(x, y, 2);
}

// Mean difference of neighbouring pixels across the columns x and x + 1
// (wrapping), or across rows when `rows`.
double step(const PngFile& png, int i, bool rows)
{
    double sum = 0;
    const int n = rows ? png.width : png.height;
    for (int j = 0; j < n; ++j) {
        for (int c = 0; c < 3; ++c) {
            const int a = rows ? png.at(j, i, c) : png.at(i, j, c);
            const int b = rows ? png.at(j, (i + 1) % png.height, c) : png.at((i + 1) % png.width, j, c);
            sum += std::abs(a - b);
        }
    }
    return sum / (3.0 * n);
}

} // namespace

// ---- the sprite sheet ---------------------------------------------------------------

TEST(PicturesTest, EverySheetCellHoldsItsPictureAndNothingElseIsDrawn)
{
    const PngFile sheet = committed("sprites.png");
    ASSERT_EQ("", sheet.error);
    ASSERT_EQ(4, sheet.channels);
    for (const Rect& cell : kCells) {
        SCOPED_TRACE(cell.what);
        int visible = 0;
        for (int y = cell.y; y < cell.y + cell.h; ++y) {
            for (int x = cell.x; x < cell.x + cell.w; ++x)
                visible += sheet.at(x, y, 3) >= 64 ? 1 : 0;
        }
        EXPECT_GT(visible, cell.w * cell.h / 8);
        if (cell.round) {
            for (int x : {cell.x, cell.x + cell.w - 1}) {
                for (int y : {cell.y, cell.y + cell.h - 1})
                    EXPECT_EQ(0, sheet.at(x, y, 3)) << "corner (" << x << ", " << y << ")";
            }
        }
    }
    int strays = 0;
    for (int y = 0; y < sheet.height; ++y) {
        for (int x = 0; x < sheet.width; ++x)
            strays += !inCell(x, y) && sheet.at(x, y, 3) != 0 ? 1 : 0;
    }
    EXPECT_EQ(0, strays) << "pixels outside every cell";
}

// The game stretches the band ten times sideways: every column is the same.
TEST(PicturesTest, HudBandIsTheSameInEveryColumn)
{
    const PngFile sheet = committed("sprites.png");
    ASSERT_EQ("", sheet.error);
    for (int y = 64; y < 96; ++y) {
        for (int x = 1; x < 256; ++x) {
            for (int c = 0; c < 4; ++c)
                ASSERT_EQ(sheet.at(0, y, c), sheet.at(x, y, c)) << "(" << x << ", " << y << ")";
        }
    }
}

// ---- backgrounds and effects --------------------------------------------------------

// Dark enough for the bright sprites to stand out, and seamless: the step
// from the last column (row) to the first is no larger than steps inside.
TEST(PicturesTest, BackgroundsAreDarkAndTileSeamlessly)
{
    for (const char* name : {"BG1.png", "BG2.png", "BG3.png"}) {
        SCOPED_TRACE(name);
        const PngFile png = committed(name);
        ASSERT_EQ("", png.error);
        double sum = 0;
        for (int y = 0; y < png.height; ++y) {
            for (int x = 0; x < png.width; ++x)
                sum += luminance(png, x, y);
        }
        EXPECT_LT(sum / (png.width * png.height), 60.0);
        for (bool rows : {false, true}) {
            const int n = rows ? png.height : png.width;
            double inside = 0;
            for (int i = 0; i + 1 < n; ++i)
                inside = std::max(inside, step(png, i, rows));
            EXPECT_LE(step(png, n - 1, rows), inside) << (rows ? "top and bottom" : "left and right");
        }
    }
    const PngFile backdrop = committed("tausta.png");
    ASSERT_EQ("", backdrop.error);
    double sum = 0;
    for (int y = 0; y < backdrop.height; ++y) {
        for (int x = 0; x < backdrop.width; ++x)
            sum += luminance(backdrop, x, y);
    }
    EXPECT_LT(sum / (backdrop.width * backdrop.height), 60.0) << "tausta.png";
}

// Pictures the game scales up over the screen or fades in on black end in
// transparent pixels all round.
TEST(PicturesTest, DustAndLogoFadeOutAtTheirBorders)
{
    for (const char* name : {"dust.png", "tessly_mordane_logo_2.png"}) {
        SCOPED_TRACE(name);
        const PngFile png = committed(name);
        ASSERT_EQ("", png.error);
        ASSERT_EQ(4, png.channels);
        int opaque = 0;
        for (int y = 0; y < png.height; ++y) {
            for (int x = 0; x < png.width; ++x) {
                const bool border = x == 0 || y == 0 || x == png.width - 1 || y == png.height - 1;
                if (border) {
                    ASSERT_EQ(0, png.at(x, y, 3)) << "(" << x << ", " << y << ")";
                }
                opaque += png.at(x, y, 3) > 200 ? 1 : 0;
            }
        }
        EXPECT_GT(opaque, 0);
    }
}
