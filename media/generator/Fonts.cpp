#include "Fonts.h"

#include "Glyphs.h"
#include "OutputFile.h"
#include "PngWriter.h"

#include <cstdio>
#include <cstring>

namespace media {

namespace {

constexpr int kCellHeight = 32;

struct FontLayout {
    const char* descriptionName;
    const char* imageName;
    const char* purpose; // the description's comment
    int cellWidth;
    // The box the strokes fill inside a cell, in cell pixels.
    float inkLeft, inkTop, inkRight, inkBottom;
    GlyphStyle style;
};

int nextPowerOfTwo(int value)
{
    int size = 1;
    while (size < value)
        size *= 2;
    return size;
}

std::string description(const FontLayout& font, int characters)
{
    char width[8];
    std::snprintf(width, sizeof width, "%04X", static_cast<unsigned>(font.cellWidth));
    std::string text = "B\n";
    text += std::string("'") + font.purpose + "'\n";
    text += "'" + std::to_string(characters) + " cells of " + std::to_string(font.cellWidth) + " x " +
            std::to_string(kCellHeight) + " pixels in one row, in the order of the last line'\n";
    text += std::string(width) + " 'cell width in pixels, hexadecimal'\n";
    text += "N 'no separator colour'\n";
    text += "\"media/" + std::string(font.imageName) + "\"\n";
    text += std::string(kFontCharacters) + "\n";
    return text;
}

void writeFont(const std::string& folder, const FontLayout& font)
{
    const int characters = static_cast<int>(std::strlen(kFontCharacters));
    Canvas canvas(nextPowerOfTwo(characters * font.cellWidth), kCellHeight);
    for (int i = 0; i < characters; ++i) {
        const int x = i * font.cellWidth;
        canvas.setClip(x, 0, x + font.cellWidth, kCellHeight);
        drawGlyph(canvas, kFontCharacters[i], static_cast<float>(x) + font.inkLeft, font.inkTop,
                  static_cast<float>(x) + font.inkRight, font.inkBottom, font.style);
    }
    writePng(folder, font.imageName, canvas.width(), canvas.height(), 4, canvas.toRgba());

    const std::string text = description(font, characters);
    writeOutputFile(folder, font.descriptionName, std::vector<std::uint8_t>(text.begin(), text.end()));
}

} // namespace

void writeFonts(const std::string& folder)
{
    // The HUD draws the small font at 9 x 32 pixels a character, so its cell
    // is exactly that: the texture is shown one to one.
    const GlyphStyle small{0.75f, 0.6f, rgb(0xFFFFFF), rgb(0xD8E4FF), rgb(0x0A0A20, 0.75f), 1.0f};
    writeFont(folder, {"simple_font_file.txt", "simple_font_file.png", "Small font of the HUD", 9, 1.0f, 3.0f, 8.0f,
                       15.0f, small});

    // The large font is shown 18 pixels wide in the menu and twice its cell
    // width in the intro, from a cell 10 wide: its strokes are drawn for a
    // 1.8 times wider screen. The intro's "PRODUCTION" so spans 200 of the
    // phone's 240 pixels.
    const GlyphStyle large{1.3f, 1.0f, rgb(0xFFFFFF), rgb(0xBFD0F0), rgb(0x0A0A20, 0.85f), 1.8f};
    writeFont(folder, {"simple_font_file2.txt", "simple_font_file2.png", "Large font of menu, intro and level end", 10,
                       1.4f, 3.0f, 8.6f, 17.0f, large});
}

} // namespace media
