#pragma once

namespace render {

class Image2D;

// An image's pixels as the device takes them: rows tightly packed, row 0
// first, with only the format's own channels (alpha 1 byte, luminance 1,
// luminance-alpha 2, RGB 3, RGBA 4). The image keeps every format but RGB at
// four bytes R, G, B, A and a palette image keeps one index a pixel, so
// those are repacked into a block of the main pool (luminance from byte 0,
// alpha from byte 3; palette entries looked up first); RGB and RGBA images
// without a palette are passed as they are.
// Contract: the image must live and stay unchanged while this object lives;
// an unknown format is the caller's to refuse first.
class TexturePixels {
public:
    explicit TexturePixels(const Image2D& image);
    ~TexturePixels() noexcept(false);

    const unsigned char* data() const { return m_data; }

    TexturePixels(const TexturePixels&) = delete;
    TexturePixels& operator=(const TexturePixels&) = delete;

private:
    const unsigned char* m_data = nullptr;
    unsigned char* m_repacked = nullptr;
};

} // namespace render
