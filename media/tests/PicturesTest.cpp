#include "GameMediaTest.h"

#include "render/Image2D.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using mediatest::sample;
using render::Image2D;

class PicturesTest : public mediatest::GameMediaTest {};

struct Rect {
    const char* what;
    int x, y, w, h;
    bool round; // its corners lie outside the shape
};

// Every cell the game crops from the sheet, with the size it crops.
const Rect kCells[] = {
    {"player", 0, 0, 32, 32, true},
    {"block", 32, 0, 32, 32, false},
    {"star", 64, 0, 32, 32, true},
    {"arrow", 96, 0, 32, 32, true},
    {"lift", 128, 0, 32, 32, false},
    {"walker", 160, 0, 32, 32, true},
    {"crackable", 192, 0, 32, 32, false},
    {"cracked", 224, 0, 32, 32, false},
    {"platform end", 0, 32, 32, 16, false},
    {"spring bar", 32, 32, 64, 16, true},
    {"marker", 96, 32, 32, 32, true},
    {"timed platform", 128, 32, 64, 32, false},
    {"brake", 192, 32, 32, 32, false},
    {"pusher 1", 224, 32, 32, 8, false},
    {"pusher 2", 224, 40, 32, 8, false},
    {"pusher 3", 224, 48, 32, 8, false},
    {"swinging bar", 0, 48, 96, 16, true},
    {"HUD band", 0, 64, 256, 32, false},
    {"moving bar", 0, 96, 64, 16, true},
    {"turning bar", 64, 96, 192, 16, true},
    {"beam", 0, 112, 32, 64, false},
    {"crate", 32, 112, 32, 32, false},
    {"barrier", 64, 112, 32, 32, false},
    {"ledge", 96, 112, 64, 16, false},
    {"long block", 160, 112, 96, 32, false},
    {"key", 32, 144, 32, 32, true},
    {"door", 64, 144, 32, 64, false},
    {"block in a row", 96, 144, 32, 32, false},
    {"block in a column", 128, 144, 32, 32, false},
    {"block at a corner", 160, 144, 32, 32, false},
    {"platform middle", 192, 144, 32, 16, false},
    {"platform alone", 192, 160, 32, 16, false},
};

// The mean luminance, and the mean difference of neighbouring pixels across
// the columns (rows, when `rows`) i and i + 1, wrapping.
double meanLuminance(const Image2D& png)
{
    double sum = 0;
    for (int y = 0; y < png.getHeight(); ++y)
        for (int x = 0; x < png.getWidth(); ++x)
            sum += 0.299 * sample(png, x, y, 0) + 0.587 * sample(png, x, y, 1) + 0.114 * sample(png, x, y, 2);
    return sum / (png.getWidth() * png.getHeight());
}

double step(const Image2D& png, int i, bool rows)
{
    double sum = 0;
    const int n = rows ? png.getWidth() : png.getHeight();
    for (int j = 0; j < n; ++j)
        for (int c = 0; c < 3; ++c) {
            const int a = rows ? sample(png, j, i, c) : sample(png, i, j, c);
            const int b =
                rows ? sample(png, j, (i + 1) % png.getHeight(), c) : sample(png, (i + 1) % png.getWidth(), j, c);
            sum += std::abs(a - b);
        }
    return sum / (3.0 * n);
}

} // namespace

// Each cell holds a picture (round ones leave their corners clear), nothing
// is drawn outside the cells, and the HUD band, which the game stretches ten
// times sideways, is the same in every column.
TEST_F(PicturesTest, EverySheetCellHoldsItsPictureAndNothingElseIsDrawn)
{
    const core::Ref<Image2D> sheet = loadImage(mediaPath("sprites.png"));
    ASSERT_NE(sheet, nullptr);
    std::vector<bool> covered(256 * 256, false);
    for (const Rect& cell : kCells) {
        SCOPED_TRACE(cell.what);
        int visible = 0;
        for (int y = cell.y; y < cell.y + cell.h; ++y)
            for (int x = cell.x; x < cell.x + cell.w; ++x) {
                visible += sample(*sheet, x, y, 3) >= 64 ? 1 : 0;
                covered[static_cast<std::size_t>(y * 256 + x)] = true;
            }
        EXPECT_GT(visible, cell.w * cell.h / 8);
        for (int x : {cell.x, cell.x + cell.w - 1})
            for (int y : {cell.y, cell.y + cell.h - 1})
                EXPECT_TRUE(!cell.round || sample(*sheet, x, y, 3) == 0) << "corner (" << x << ", " << y << ")";
    }
    int strays = 0;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            strays += !covered[static_cast<std::size_t>(y * 256 + x)] && sample(*sheet, x, y, 3) != 0 ? 1 : 0;
            for (int c = 0; c < 4 && y >= 64 && y < 96; ++c)
                ASSERT_EQ(sample(*sheet, 0, y, c), sample(*sheet, x, y, c)) << "HUD band at (" << x << ", " << y << ")";
        }
    EXPECT_EQ(0, strays) << "pixels outside every cell";
}

// Dark enough for the bright sprites to stand out; the play backgrounds tile
// without a seam: the step from the last column (row) to the first is no
// larger than steps inside.
TEST_F(PicturesTest, BackgroundsAreDarkAndTileSeamlessly)
{
    for (const char* name : {"BG1.png", "BG2.png", "BG3.png", "tausta.png"}) {
        SCOPED_TRACE(name);
        const core::Ref<Image2D> png = loadImage(mediaPath(name));
        ASSERT_NE(png, nullptr);
        EXPECT_LT(meanLuminance(*png), 60.0);
        if (std::string(name) == "tausta.png")
            continue; // the menu backdrop is shown once, never tiled
        for (bool rows : {false, true}) {
            const int n = rows ? png->getHeight() : png->getWidth();
            double inside = 0;
            for (int i = 0; i + 1 < n; ++i)
                inside = std::max(inside, step(*png, i, rows));
            EXPECT_LE(step(*png, n - 1, rows), inside) << (rows ? "rows" : "columns");
        }
    }
}
