#include "GameMediaTest.h"

#include "Font2DBitmap.h"

#include "render/Image2D.h"
#include "render/Text2D.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using render::Font2DBitmap;

class FontsTest : public mediatest::GameMediaTest {
protected:
    void SetUp() override
    {
        GameMediaTest::SetUp();
        useScreenCamera();
        g3d().bindTarget(nullptr);
    }
};

const char* const kFonts[] = {"simple_font_file.txt", "simple_font_file2.txt"};

// The font's glyphs of the characters 1 to 127, ordered by their cell.
std::vector<std::pair<char, Font2DBitmap::CharInfo>> cellsOf(const Font2DBitmap& font)
{
    std::vector<std::pair<char, Font2DBitmap::CharInfo>> cells;
    for (int c = 1; c < 128; ++c)
        if (const Font2DBitmap::CharInfo* glyph = font.findGlyph(static_cast<unsigned short>(c)))
            cells.push_back({static_cast<char>(c), *glyph});
    std::sort(cells.begin(), cells.end(), [](const auto& a, const auto& b) { return a.second.x < b.second.x; });
    return cells;
}

} // namespace

// Each character has its own cell, in order along one row from the left
// edge (a character listed twice would leave its second cell without one);
// a glyph's ink stays off its cell's edges (filtering there would mix in
// the neighbouring glyph), the space is empty, and nothing lies beyond the
// last cell.
TEST_F(FontsTest, FontImagesHoldOneGlyphPerCell)
{
    for (const char* name : kFonts) {
        SCOPED_TRACE(name);
        const core::Ref<render::Font2D> loaded = loadFont(name);
        const auto& font = dynamic_cast<const Font2DBitmap&>(*loaded);
        const render::Image2D& image = *font.getTexture()->getImage();
        ASSERT_EQ(image.getFormat(), render::Image2D::RGBA);
        const int width = image.getWidth();
        const int height = image.getHeight();
        const auto alphaAt = [&](int x, int y) { return image.getPixels()[4 * (y * width + x) + 3]; };

        int x0 = 0;
        for (const auto& [character, g] : cellsOf(font)) {
            SCOPED_TRACE(std::string("glyph '") + character + "'");
            ASSERT_EQ((std::vector<int>{g.x, g.y, g.h}), (std::vector<int>{x0, 0, height}));
            x0 += g.w;
            int ink = 0;
            int edge = 0;
            for (int y = 0; y < height; ++y)
                for (int x = g.x; x < g.x + g.w; ++x) {
                    ink += alphaAt(x, y) >= 128 ? 1 : 0;
                    const bool onEdge = x == g.x || x == g.x + g.w - 1 || y == 0 || y == height - 1;
                    edge += onEdge && alphaAt(x, y) > 0 ? 1 : 0;
                }
            EXPECT_EQ(edge, 0);
            EXPECT_EQ(ink > 0, character != ' ');
        }
        int beyond = 0;
        for (int y = 0; y < height; ++y)
            for (int x = x0; x < width; ++x)
                beyond += alphaAt(x, y) > 0 ? 1 : 0;
        EXPECT_EQ(beyond, 0) << "beyond the last cell";
    }
}

// Everything the game writes with its two fonts: the intro, the menu and its
// level list, the credits, the HUD and the level's end, with numbers as they
// come out of the formats ("%d", "%.2f", a negative time included). Each is
// drawn from its first cell into its last, and nowhere else.
TEST_F(FontsTest, FontsDrawEveryTextTheGameDraws)
{
    std::vector<std::string> texts = {
        "DORVANEL",
        "PRODUCTION",
        "PRESENTS",
        "SELECT LEVEL",
        "START GAME",
        "INFO",
        "QUIT GAME",
        "13 : UNAVAILABLE",
        "RECORD : 998.00 SEC",
        "PROGRAMMING:",
        "ART:",
        "VERSION:",
        "1.0",
        "GAME ENGINE:",
        "VORNIC3D",
        "STARS : 3/5",
        "TIME  : -0.02",
        "KEYS : 1",
        "READY",
        "GO",
        "GAME OVER",
        "LEVEL",
        "COMPLETED",
        "TIME : 12.35",
        "NEW RECORD",
        "0123456789",
        // The credits' names are the game's own choice: every capital.
        "ABCDEFGHIJKLMNOPQRSTUVWXYZ",
    };
    for (const mediatest::LevelRow& row : mediatest::levelTable()) {
        texts.push_back("LEVEL : " + row.displayName);
        texts.push_back("1 : " + row.displayName);
    }
    constexpr int kBaseline = 4;
    for (const char* name : kFonts) {
        const core::Ref<render::Font2D> font = loadFont(name);
        const int cell = font->getSizeX();
        for (const std::string& characters : texts) {
            SCOPED_TRACE(std::string(name) + ": \"" + characters + "\"");
            core::Ref<render::Text2D> text = VORNIC3D_NEW render::Text2D();
            text->setFont(font.get());
            text->setText(core::String(characters.c_str()));
            clearTo(kBlack);
            g3d().render(text.get(), translation(0.0f, static_cast<float>(kBaseline), 0.0f));
            g3d().releaseTarget();
            int x = 0, y = 0, w = 0, h = 0;
            ASSERT_EQ(std::sscanf(extentOf(kBlack).c_str(), "%d,%d %dx%d", &x, &y, &w, &h), 4);
            const int last = static_cast<int>(characters.size()) - 1;
            EXPECT_LT(x, cell);
            EXPECT_GT(x + w, last * cell);
            EXPECT_LE(x + w, (last + 1) * cell);
            EXPECT_GE(y, kBaseline);
            EXPECT_LE(y + h, kBaseline + font->getSizeY());
            g3d().bindTarget(nullptr);
        }
    }
}
