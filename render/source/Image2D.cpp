#include "render/Image2D.h"

#include "core/Assert.h"
#include "core/MemoryManager.h"

#include <climits>
#include <cstdint>
#include <cstring>

namespace render {

namespace {

constexpr int kPaletteEntries = 256;
constexpr char kIllegalArgument[] = "IllegalArgumentException";

// Whether width * height * bytesPerPixel stays within the pool's int sizes:
// a damaged header, say, must be refused instead of wrapping around.
bool fitsBlock(int width, int height, int bytesPerPixel)
{
    return static_cast<std::int64_t>(width) * height * bytesPerPixel <= INT_MAX;
}

} // namespace

// ---- construction -------------------------------------------------------------
//
// Every check comes before the first block is taken, so a refused image
// holds nothing; the checks and the blocks are in the constructors
// themselves, so the assertion record and the allocation table name them.

Image2D::Image2D(int format, int width, int height)
    : m_width(width), m_height(height), m_format(format), m_mutable(true)
{
    VORNIC3D_ASSERT(width >= 1, kIllegalArgument);
    VORNIC3D_ASSERT(height >= 1, kIllegalArgument);
    const int bytesPerPixel = getBpp(format);
    VORNIC3D_ASSERT(fitsBlock(width, height, bytesPerPixel), kIllegalArgument);
    const int size = width * height * bytesPerPixel;
    m_pixels = static_cast<unsigned char*>(VORNIC3D_ALLOC(size));
    for (int at = 0; at < size; at += bytesPerPixel) {
        m_pixels[at] = 255;
        m_pixels[at + 1] = 255;
        m_pixels[at + 2] = 255;
        if (bytesPerPixel == 4)
            m_pixels[at + 3] = 0;
    }
}

Image2D::Image2D(int format, int width, int height, const unsigned char* pixels)
    : m_width(width), m_height(height), m_format(format), m_mutable(false)
{
    VORNIC3D_ASSERT(width >= 1, kIllegalArgument);
    VORNIC3D_ASSERT(height >= 1, kIllegalArgument);
    VORNIC3D_ASSERT(pixels != nullptr, "NullPointerException ");
    const int bytesPerPixel = getBpp(format);
    VORNIC3D_ASSERT(fitsBlock(width, height, bytesPerPixel), kIllegalArgument);
    const int size = width * height * bytesPerPixel;
    m_pixels = static_cast<unsigned char*>(VORNIC3D_ALLOC(size));
    std::memcpy(m_pixels, pixels, static_cast<std::size_t>(size));
}

Image2D::Image2D(int format, int width, int height, const unsigned char* indices, const unsigned char* palette)
    : m_width(width), m_height(height), m_format(format), m_mutable(false)
{
    VORNIC3D_ASSERT(width >= 1, kIllegalArgument);
    VORNIC3D_ASSERT(height >= 1, kIllegalArgument);
    VORNIC3D_ASSERT(indices != nullptr, "NullPointerException ");
    VORNIC3D_ASSERT(palette != nullptr, "NullPointerException ");
    const int paletteSize = kPaletteEntries * getBpp(format);
    VORNIC3D_ASSERT(fitsBlock(width, height, 1), kIllegalArgument);
    const int indexSize = width * height;
    m_pixels = static_cast<unsigned char*>(VORNIC3D_ALLOC(indexSize));
    try {
        m_palette = static_cast<unsigned char*>(VORNIC3D_ALLOC(paletteSize));
    } catch (...) {
        // No destructor runs for a half-made object.
        VORNIC3D_FREE(m_pixels);
        throw;
    }
    std::memcpy(m_pixels, indices, static_cast<std::size_t>(indexSize));
    std::memcpy(m_palette, palette, static_cast<std::size_t>(paletteSize));
}

Image2D::~Image2D() noexcept(false)
{
    if (m_pixels != nullptr)
        VORNIC3D_FREE(m_pixels);
    if (m_palette != nullptr)
        VORNIC3D_FREE(m_palette);
}

// ---- formats ------------------------------------------------------------------------

int Image2D::getBpp(int format)
{
    switch (format) {
    case RGB: return 3;
    case ALPHA:
    case LUMINANCE:
    case LUMINANCE_ALPHA:
    case RGBA: return 4;
    default: VORNIC3D_ASSERT(false, kIllegalArgument);
    }
    return 0;
}

} // namespace render
