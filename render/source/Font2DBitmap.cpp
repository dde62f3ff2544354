#include "Font2DBitmap.h"

#include "BatchMesh.h"
#include "BuiltInFont.h"

#include "render/FontException.h"
#include "render/Image2D.h"
#include "render/IndexBuffer.h"
#include "render/Loader.h"
#include "render/Text2D.h"
#include "render/Transform.h"
#include "render/TriangleListArray.h"
#include "render/VertexBuffer.h"

#include "hal/File.h"

#include "core/Assert.h"
#include "core/Debug.h"
#include "core/MemoryManager.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace render {

namespace {

constexpr int kMaxCharacters = 1024;
// Texts from a file are cut in the log: a longer line would turn a load
// into the log's own exception.
constexpr int kLoggedTextLength = 180;
constexpr int kMax16Bit = 32767;

// The stored bytes of a description: apostrophes open and close comments,
// which are dropped with carriage returns, line feeds and tabs, and spaces
// when asked.
class DescriptionReader {
public:
    explicit DescriptionReader(HAL::File& file) : m_file(file) {}

    // The next stored byte; false at the end of the file.
    bool next(bool skipSpaces, char& out)
    {
        unsigned char byte = 0;
        while (m_file.fread(&byte, 1) == 1) {
            if (byte == '\'') {
                m_inComment = !m_inComment;
                continue;
            }
            if (m_inComment || byte == '\r' || byte == '\n' || byte == '\t' || (skipSpaces && byte == ' '))
                continue;
            out = static_cast<char>(byte);
            return true;
        }
        return false;
    }

    // `count` stored bytes; the end of the file before them throws.
    void read(char* buffer, int count, bool skipSpaces)
    {
        VORNIC3D_CHECK(buffer != nullptr && count >= 1);
        for (int i = 0; i < count; ++i)
            if (!next(skipSpaces, buffer[i]))
                throw FontException("Font2D file does not have data");
    }

private:
    HAL::File& m_file;
    bool m_inComment = false;
};

// Four stored bytes read as a hexadecimal number.
int readHexField(DescriptionReader& reader, const char* failure)
{
    char field[5] = {};
    reader.read(field, 4, true);
    unsigned int value = 0;
    if (std::sscanf(field, "%X", &value) != 1)
        throw FontException(failure);
    return static_cast<int>(value);
}

// One character's quad, its edges in stored units: every too-big test
// before the too-small ones, each in the order x, y, z. Positions are
// checked as floats: converting one outside the 16-bit range would be
// undefined. Written so that NaN fails too.
void checkQuad(float left, float right, float bottom, float top, float z)
{
    VORNIC3D_ASSERT(left < 32767.0f && right < 32767.0f, "Font x position is too big");
    VORNIC3D_ASSERT(bottom < 32767.0f && top < 32767.0f, "Font y position is too big");
    VORNIC3D_ASSERT(z < 32767.0f, "Font z position is too big");
    VORNIC3D_ASSERT(left > -32768.0f && right > -32768.0f, "Font x position is too small");
    VORNIC3D_ASSERT(bottom > -32768.0f && top > -32768.0f, "Font y position is too small");
    VORNIC3D_ASSERT(z > -32768.0f, "Font z position is too small");
}

} // namespace

// ---- life cycle -----------------------------------------------------------------------

Font2DBitmap::Font2DBitmap() : m_glyphs(256, 0.9f)
{
    const core::Ref<Image2D> image = createBuiltInFontImage();
    setImage(image.get());
    createFont(kBuiltInFontCharacters, kBuiltInFontGlyphCount, kBuiltInFontGlyphCount * kBuiltInFontCellSize,
               kBuiltInFontCellSize);
}

Font2DBitmap::Font2DBitmap(HAL::File* file) : m_glyphs(256, 0.9f)
{
    VORNIC3D_ASSERT(file != nullptr, "Font2DBitmap : file parameter is 0");
    core::Debug::printf(core::Debug::LEVEL_PLAIN, "load a bitmap font : %.*s\n", kLoggedTextLength,
                        file->getPath().c_str());
    DescriptionReader reader(*file);
    const int width = readHexField(reader, "Font2DBitmap : font file can not read font width");
    core::Debug::printf(core::Debug::LEVEL_PLAIN, "font width is %d pixels\n", width);

    char marker = 0;
    reader.read(&marker, 1, true);
    if (marker == 'C') {
        const int red = readHexField(reader, "Font2DBitmap : font file has illegal data (Color RED info)");
        const int green = readHexField(reader, "Font2DBitmap : font file has illegal data (Color GREEN info)");
        const int blue = readHexField(reader, "Font2DBitmap : font file has illegal data (Color BLUE info)");
        core::Debug::printf(core::Debug::LEVEL_PLAIN, "font separator color is %X %X %X\n", static_cast<unsigned>(red),
                            static_cast<unsigned>(green), static_cast<unsigned>(blue));
    } else {
        core::Debug::printf(core::Debug::LEVEL_PLAIN, "font does not have separator color\n");
    }

    char quote = 0;
    reader.read(&quote, 1, true);
    if (quote != '"')
        throw FontException("Font2DBitmap error");
    std::string name;
    for (char c = 0; reader.read(&c, 1, false), c != '"';)
        name += c;
    core::Debug::printf(core::Debug::LEVEL_PLAIN, "font file name %.*s\n", kLoggedTextLength, name.c_str());

    // The first character is read with spaces skipped, the rest with spaces
    // kept: a space may be a glyph of its own.
    unsigned short chars[kMaxCharacters];
    char list[kMaxCharacters + 1] = {};
    int count = 0;
    for (char c = 0; count < kMaxCharacters && reader.next(count == 0, c); ++count) {
        chars[count] = static_cast<unsigned char>(c);
        list[count] = c;
    }
    core::Debug::printf(core::Debug::LEVEL_PLAIN, "font file has %d chars = %.*s\n", count, kLoggedTextLength, list);
    VORNIC3D_ASSERT(count > 0, "Font2DBitmap : font file does not provide char information");
    // Cells are kept in 16 bits.
    if (width < 1 || width > kMax16Bit)
        throw FontException("Font2DBitmap : font width is out of range");

    loadImage(name.c_str());
    createFont(chars, count, count * width, m_texture->getImage()->getHeight());
}

// The file stays open: it is the caller's.
Font2DBitmap::~Font2DBitmap() noexcept(false)
{
    if (m_charBuffer != nullptr)
        VORNIC3D_FREE(m_charBuffer);
}

// ---- image and glyphs -----------------------------------------------------------------

void Font2DBitmap::loadImage(const char* name)
{
    // A path without a file name is the file layer's misuse, not a file.
    const std::size_t length = std::strlen(name);
    if (length == 0 || name[length - 1] == '/' || name[length - 1] == '\\')
        throw FontException("Font2DBitmap : font file does not name an image");
    Loader::Objects objects;
    Loader::load(HAL::File::getWorkingDirectory() + name, objects);
    Image2D* image = dynamic_cast<Image2D*>(objects[0].get());
    VORNIC3D_CHECK(image != nullptr);
    VORNIC3D_CHECK(image->getHeight() < kMax16Bit);
    setImage(image);
}

void Font2DBitmap::setImage(Image2D* image)
{
    m_texture = createTextureFromImage(image);
}

// A character listed twice keeps its first cell (the table warns).
void Font2DBitmap::createFont(const unsigned short* chars, int count, int width, int height)
{
    VORNIC3D_CHECK(m_texture != nullptr);
    VORNIC3D_CHECK(chars != nullptr && count >= 1 && count < kMax16Bit);
    const Image2D* image = m_texture->getImage();
    VORNIC3D_CHECK(image != nullptr);
    VORNIC3D_CHECK(height >= 1 && height < kMax16Bit);
    const int cell = width / count;
    VORNIC3D_CHECK(cell >= 1 && cell <= kMax16Bit);
    const float texScaleS = 1.0f / static_cast<float>(image->getWidth());
    const float texScaleT = 0.999f / (static_cast<float>(image->getHeight()) * texScaleS);

    int x = 0;
    int y = 0;
    for (int i = 0; i < count; ++i) {
        // Every glyph must stay within the 16-bit texture coordinates it is
        // drawn with.
        if (x + cell > kMax16Bit || y + height > kMax16Bit ||
            !(static_cast<float>(y + height) * texScaleT < static_cast<float>(kMax16Bit)))
            throw FontException("Font2DBitmap : font image is too big for its glyphs");
        CharInfo glyph;
        glyph.x = static_cast<std::int16_t>(x);
        glyph.y = static_cast<std::int16_t>(y);
        glyph.w = static_cast<std::int16_t>(cell);
        glyph.h = static_cast<std::int16_t>(height);
        m_glyphs.put(chars[i], glyph);
        x += cell;
        if (x >= image->getWidth()) {
            y += height;
            x = 0;
        }
    }
    m_sizeX = static_cast<std::int16_t>(cell);
    m_sizeY = static_cast<std::int16_t>(height);
    m_texScaleS = texScaleS;
    m_texScaleT = texScaleT;
}

// ---- queries --------------------------------------------------------------------------

int Font2DBitmap::getSizeX()
{
    VORNIC3D_CHECK(m_sizeX >= 1);
    return m_sizeX;
}

int Font2DBitmap::getSizeY()
{
    VORNIC3D_CHECK(m_sizeY >= 1);
    return m_sizeY;
}

Texture2D* Font2DBitmap::getTexture() const
{
    VORNIC3D_CHECK(m_texture != nullptr);
    return m_texture.get();
}

const Font2DBitmap::CharInfo* Font2DBitmap::findGlyph(unsigned short code) const
{
    const auto* node = m_glyphs.findNode(code);
    return node != nullptr ? &node->value : nullptr;
}

// ---- batching -------------------------------------------------------------------------

const unsigned short* Font2DBitmap::copyText(const core::String& text)
{
    const int size = text.getDataSize();
    if (m_charBufferSize < size) {
        if (m_charBuffer != nullptr)
            VORNIC3D_FREE(m_charBuffer);
        m_charBufferSize = 0;
        m_charBuffer = static_cast<unsigned short*>(VORNIC3D_ALLOC(size));
        m_charBufferSize = size;
    }
    text.getData(m_charBuffer, m_charBufferSize, 0);
    return m_charBuffer;
}

// Each quad is two counter-clockwise triangles, so an appearance that culls
// back faces shows the text. Its last index is its last vertex, from which
// the next writer of the mesh, sprites included, takes its base.
int Font2DBitmap::renderBitmapFontToMesh(Mesh* mesh, int indexCount, Text2D* text, const Transform& transform)
{
    VORNIC3D_CHECK(text != nullptr);
    const int length = text->getText().length();
    if (length == 0) {
        core::Debug::printf(core::Debug::LEVEL_WARNING, "can not render text2D because text length is 0\n");
        VORNIC3D_CHECK(false);
    }
    VORNIC3D_CHECK(m_texture != nullptr && m_texture->getImage() != nullptr);
    const BatchMeshArrays arrays = batchMeshArrays(mesh, indexCount);
    VORNIC3D_ASSERT(dynamic_cast<TriangleListArray*>(arrays.triangles) != nullptr,
                    "Font2D rendering failed because destination Mesh does not store data in TriangleListArray");

    // Room: vertices counted as vertices, and indices for the text and one
    // quad more.
    const int base = arrays.baseVertex(indexCount);
    if (static_cast<long long>(indexCount) + 6LL * (length + 1) >= arrays.triangles->getCapacity() ||
        static_cast<long long>(base) + 4LL * length > arrays.vertexRoom)
        return indexCount;

    float m[16];
    transform.get(m);
    const float sx = m[0];
    const float sy = m[5];
    const float advance = static_cast<float>(text->getSizeX()) * sx * kFixedPointUnits;
    const float x0 = m[3] * kFixedPointUnits;
    const float y0 = m[7] * kFixedPointUnits;
    const float y1 = y0 + static_cast<float>(text->getSizeY()) * sy * kFixedPointUnits;
    const float z = m[11] * kFixedPointUnits;

    // Every character is checked before anything is written, each in turn:
    // its glyph, then its quad's edges, the row's start and the top included.
    const unsigned short* units = copyText(text->getText()) + 1;
    float end = x0;
    for (int i = 0; i < length; ++i) {
        VORNIC3D_ASSERT(findGlyph(units[i]) != nullptr,
                        "Font2D does not include a character which is used in this text");
        const float start = end;
        end += advance;
        checkQuad(start, end, y0, y1, z);
    }

    arrays.vertices->setTexScaleBias(0, m_texScaleS, nullptr);
    arrays.vertices->setPositionScaleBias(kFixedPointScale, nullptr);
    short* p = arrays.positions + 3 * base;
    short* t = arrays.texels + 2 * base;
    unsigned short* index = arrays.indices + indexCount;
    const auto bottom = static_cast<short>(y0);
    const auto top = static_cast<short>(y1);
    const auto depth = static_cast<short>(z);
    float x = x0;
    for (int i = 0; i < length; ++i) {
        const CharInfo& glyph = *findGlyph(units[i]);
        const auto left = static_cast<short>(x);
        x += advance;
        const auto right = static_cast<short>(x);
        const auto tTop = static_cast<short>(static_cast<float>(glyph.y) * m_texScaleT);
        const auto tBottom = static_cast<short>(static_cast<float>(glyph.y + glyph.h) * m_texScaleT);
        const auto s0 = glyph.x;
        const auto s1 = static_cast<short>(glyph.x + glyph.w);
        const short quad[12] = {left, bottom, depth, right, bottom, depth, right, top, depth, left, top, depth};
        const short texels[8] = {s0, tBottom, s1, tBottom, s1, tTop, s0, tTop};
        std::copy(quad, quad + 12, p + 12 * i);
        std::copy(texels, texels + 8, t + 8 * i);
        const int b = base + 4 * i;
        const int order[6] = {0, 1, 3, 1, 2, 3};
        for (int k = 0; k < 6; ++k)
            index[6 * i + k] = static_cast<unsigned short>(b + order[k]);
    }
    return indexCount + 6 * length;
}

} // namespace render
