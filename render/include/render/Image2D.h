#pragma once

#include "render/Object3D.h"

namespace render {

// The engine's picture: width x height pixels of 8-bit channels in one of
// five formats, optionally one index byte per pixel into a 256-entry
// palette. The source of every texture, a background's or sprite's picture,
// a possible render target.
// Contract: pixels are stored rows tightly packed, row 0 first, 3 bytes
// (R, G, B) per pixel for RGB and 4 bytes (R, G, B, A) for every other
// format, the one- and two-channel formats included. Both blocks come from
// the main pool and are owned by the image. Only the blank image is mutable,
// and it changes only by writes into getPixels(). A refused construction
// holds no block.
class Image2D : public Object3D {
public:
    enum Format { ALPHA = 96, LUMINANCE = 97, LUMINANCE_ALPHA = 98, RGB = 99, RGBA = 100 };

    // Mutable and blank: white, with alpha 0 in the 4-byte formats.
    Image2D(int format, int width, int height);
    // Immutable; copies width * height * getBpp(format) bytes.
    Image2D(int format, int width, int height, const unsigned char* pixels);
    // Immutable; copies width * height index bytes and 256 * getBpp(format)
    // palette bytes.
    Image2D(int format, int width, int height, const unsigned char* indices, const unsigned char* palette);
    ~Image2D() noexcept(false) override;

    // Bytes per stored pixel: 3 for RGB, 4 for the other formats; any other
    // value logs and throws.
    static int getBpp(int format);

    int getFormat() const { return m_format; }
    int getWidth() const { return m_width; }
    int getHeight() const { return m_height; }
    bool isMutable() const { return m_mutable; }
    // The pixel block (the index block of a palette image).
    unsigned char* getPixels() { return m_pixels; }
    const unsigned char* getPixels() const { return m_pixels; }
    // Null when the image has no palette.
    unsigned char* getPalette() { return m_palette; }
    const unsigned char* getPalette() const { return m_palette; }

private:
    int m_width;
    int m_height;
    int m_format;
    unsigned char* m_palette = nullptr;
    unsigned char* m_pixels = nullptr;
    bool m_mutable;
};

} // namespace render
