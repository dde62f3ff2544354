#pragma once

#include "render/Font2D.h"
#include "render/Texture2D.h"

#include "core/HashTable.h"
#include "core/Ref.h"
#include "core/String.h"

#include <cstdint>

namespace HAL {
class File;
}

namespace render {

class Mesh;
class Text2D;
class Transform;

// The bitmap font: glyphs in equal cells of one texture image, either the
// built-in font or one read from a description file (after its first byte
// 'B': the cell width as four hexadecimal digits, an optional separator
// colour after a 'C', the quoted image name relative to the executable's
// folder, then the characters of the cells in order; carriage returns, line
// feeds and tabs are ignored and apostrophes enclose comments).
// Contract: made by Font2D::createNewFont while the renderer singleton
// exists (it makes the texture). The file is the caller's: the reader only
// reads from it. A description that cannot be read throws FontException,
// a missing image the file layer's or the loader's exception; a font that
// is made always has a texture, cells of at least 1 x 1 pixel and glyph
// rectangles that fit the 16-bit texture coordinates of the batch meshes.
class Font2DBitmap : public Font2D {
public:
    // A glyph's rectangle in the font image, in pixels, rows counted from
    // the image's top.
    struct CharInfo {
        std::int16_t x = 0;
        std::int16_t y = 0;
        std::int16_t w = 0;
        std::int16_t h = 0;
    };

    // The built-in font.
    Font2DBitmap();
    // Reads a description from an open file positioned after its 'B'.
    explicit Font2DBitmap(HAL::File* file);
    ~Font2DBitmap() noexcept(false) override;

    // ---- cells and texture ----
    int getSizeX() override;
    int getSizeY() override;
    Texture2D* getTexture() const;
    // The glyph of a character; null when the font has none.
    const CharInfo* findGlyph(unsigned short code) const;

    // ---- batching ----
    // Appends one quad per character of the text (its cell size, the
    // transform's translation and x and y scale; rotation is ignored)
    // behind the first indexCount indices of the mesh's submesh 0, which
    // must be a 16-bit triangle list with 3-component 16-bit positions and
    // 2-component 16-bit texture coordinates, and sets the mesh's position
    // and texture scales. Returns the new index count, or indexCount with
    // the mesh untouched when the text does not fit. An empty text, a
    // character outside the font or a position outside the 16-bit range
    // fails before anything is written.
    int renderBitmapFontToMesh(Mesh* mesh, int indexCount, Text2D* text, const Transform& transform);

private:
    void loadImage(const char* name);
    void setImage(Image2D* image);
    // One glyph a character, `width` / count pixels wide and `height` high,
    // in rows that wrap at the image's width.
    void createFont(const unsigned short* chars, int count, int width, int height);
    // The text's UTF-16 units in m_charBuffer, its byte order mark first.
    const unsigned short* copyText(const core::String& text);

    unsigned short* m_charBuffer = nullptr;
    int m_charBufferSize = 0;
    core::Ref<Texture2D> m_texture;
    core::HashTable<unsigned short, CharInfo> m_glyphs;
    std::int16_t m_sizeX = 0;
    std::int16_t m_sizeY = 0;
    // Texture rows per image row, with the texel scale 1 / image width
    // serving both axes.
    float m_texScaleT = 1.0f;
    float m_texScaleS = 1.0f;
};

} // namespace render
