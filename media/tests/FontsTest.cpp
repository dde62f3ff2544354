#include "FontDescription.h"
#include "MediaManifest.h"
#include "OutputFile.h"
#include "PngFile.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using mediatest::FontDescription;
using mediatest::parseFontDescription;

FontDescription committedFont(const std::string& name)
{
    const std::vector<std::uint8_t> bytes = media::readInputFile(mediatest::mediaFolder() + "/" + name);
    return parseFontDescription(std::string(bytes.begin(), bytes.end()));
}

const char* const kFonts[] = {"simple_font_file.txt", "simple_font_file2.txt"};

bool isPowerOfTwo(int value)
{
    return value > 0 && (value & (value - 1)) == 0;
}

} // namespace

// ---- the reading rules --------------------------------------------------------------

TEST(FontsTest, DescriptionsAreReadByTheFontFileRules)
{
    const struct {
        const char* what;
        std::string text;
        std::string error;
        int width;
        std::string image;
        std::string characters;
    } cases[] = {
        {"plain", "B0008N\"a.png\"ABC", "", 8, "a.png", "ABC"},
        {"line ends, comments and spaces", "B\r\n'cells' 0 00A\tX \"media/my font.png\"\n AB 'C'D\n", "", 10,
         "media/my font.png", "AB D"},
        {"separator colour", "B0010C00FF 0000 00FF\"f.png\"Z", "", 16, "f.png", "Z"},
        {"not a font", "A0008N\"a.png\"ABC", "no 'B' first", 0, "", ""},
        {"no width", "BXYZWN\"a.png\"A", "no font width", 0, "", ""},
        {"bad colour", "B0008CGGGG00000000\"a.png\"A", "bad separator colour", 8, "", ""},
        {"no quote", "B0008Na.png\"A", "no opening quote", 8, "", ""},
        {"unclosed name", "B0008N\"a.png", "no closing quote", 8, "a.png", ""},
        {"no characters", "B0008N\"a.png\"\n", "no characters", 8, "a.png", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const FontDescription font = parseFontDescription(c.text);
        EXPECT_EQ(c.error, font.error);
        EXPECT_EQ(c.width, font.cellWidth);
        EXPECT_EQ(c.image, font.imageName);
        EXPECT_EQ(c.characters, font.characters);
    }
}

// ---- the game's fonts ---------------------------------------------------------------

// Each character has its own cell in one row; a glyph's ink stays off the
// cell's edges (filtering there would mix in the neighbouring glyph), the
// space is empty, and nothing lies beyond the last cell.
TEST(FontsTest, FontImagesHoldOneGlyphPerCell)
{
    for (const char* name : kFonts) {
        SCOPED_TRACE(name);
        const FontDescription font = committedFont(name);
        ASSERT_EQ("", font.error);
        ASSERT_EQ("media/", font.imageName.substr(0, 6)) << "relative to the executable's folder";
        EXPECT_EQ(font.characters.size(), std::set<char>(font.characters.begin(), font.characters.end()).size());

        const mediatest::PngFile png = mediatest::readPng(mediatest::mediaFolder() + "/" + font.imageName.substr(6));
        ASSERT_EQ("", png.error);
        ASSERT_EQ(4, png.channels);
        EXPECT_TRUE(isPowerOfTwo(png.width) && isPowerOfTwo(png.height));
        const int cells = static_cast<int>(font.characters.size());
        ASSERT_LE(cells * font.cellWidth, png.width);
        for (int cell = 0; cell <= cells; ++cell) {
            const int x0 = cell * font.cellWidth;
            const int x1 = cell == cells ? png.width : x0 + font.cellWidth;
            int ink = 0;
            int edge = 0;
            for (int y = 0; y < png.height; ++y) {
                for (int x = x0; x < x1; ++x) {
                    const int alpha = png.at(x, y, 3);
                    ink += alpha >= 128 ? 1 : 0;
                    const bool onEdge = x == x0 || x == x1 - 1 || y == 0 || y == png.height - 1;
                    edge += onEdge && alpha > 0 ? 1 : 0;
                }
            }
            const char c = cell == cells ? ' ' : font.characters[static_cast<std::size_t>(cell)];
            SCOPED_TRACE(cell == cells ? std::string("beyond the last cell") : std::string("glyph '") + c + "'");
            EXPECT_EQ(0, edge);
            if (c == ' ')
                EXPECT_EQ(0, ink);
            else
                EXPECT_LT(0, ink);
        }
    }
}

// Everything the game writes with its two fonts: the intro, the menu and its
// level list, the credits, the HUD and the level's end, with numbers as they
// come out of the formats ("%d", "%.2f", a negative time included).
TEST(FontsTest, FontsCoverEveryTextTheGameDraws)
{
    std::vector<std::string> texts = {
        "DORVANEL", "PRODUCTION", "PRESENTS",
        "SELECT LEVEL", "START GAME", "INFO", "QUIT GAME", "13 : UNAVAILABLE", "RECORD : 998.00 SEC",
        "PROGRAMMING:", "ART:", "VERSION:", "1.0", "GAME ENGINE:", "VORNIC3D",
        "STARS : 3/5", "TIME  : -0.02", "KEYS : 1", "READY", "GO", "GAME OVER", "LEVEL", "COMPLETED",
        "TIME : 12.35", "NEW RECORD", "0123456789",
        // The credits' names are the game's own choice: every capital.
        "ABCDEFGHIJKLMNOPQRSTUVWXYZ",
    };
    for (const mediatest::LevelRow& row : mediatest::levelTable()) {
        texts.push_back("LEVEL : " + row.displayName);
        texts.push_back("1 : " + row.displayName);
    }
    for (const char* name : kFonts) {
        const FontDescription font = committedFont(name);
        ASSERT_EQ("", font.error);
        for (const std::string& text : texts) {
            SCOPED_TRACE(std::string(name) + ": \"" + text + "\"");
            for (char c : text)
                EXPECT_NE(std::string::npos, font.characters.find(c)) << "no glyph for '" << c << "'";
        }
    }
}
