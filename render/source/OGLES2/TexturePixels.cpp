#include "OGLES2/TexturePixels.h"

#include "render/Image2D.h"

#include "core/Assert.h"
#include "core/MemoryManager.h"

namespace render {

namespace {

// Bytes a device pixel takes for an image format; 0 for an unknown one.
int channelsOf(int format)
{
    switch (format) {
    case Image2D::ALPHA:
    case Image2D::LUMINANCE: return 1;
    case Image2D::LUMINANCE_ALPHA: return 2;
    case Image2D::RGB: return 3;
    case Image2D::RGBA: return 4;
    default: return 0;
    }
}

} // namespace

// ---- repacking ----------------------------------------------------------------------

TexturePixels::TexturePixels(const Image2D& image)
{
    const int channels = channelsOf(image.getFormat());
    const int stored = Image2D::getBpp(image.getFormat());
    const unsigned char* palette = image.getPalette();
    if (palette == nullptr && stored == channels) {
        m_data = image.getPixels();
        return;
    }
    VORNIC3D_CHECK(channels >= 1 && channels <= 4);

    // The image's sizes were checked for the pool when it was made.
    const int count = image.getWidth() * image.getHeight();
    m_repacked = static_cast<unsigned char*>(VORNIC3D_ALLOC(count * channels));
    const unsigned char* source = image.getPixels();
    const int format = image.getFormat();
    unsigned char* out = m_repacked;
    for (int i = 0; i < count; ++i) {
        // A palette image holds one index a pixel; any byte names one of
        // its 256 entries.
        const unsigned char* pixel = palette != nullptr ? palette + source[i] * stored : source + i * stored;
        switch (format) {
        case Image2D::ALPHA: *out++ = pixel[3]; break;
        case Image2D::LUMINANCE: *out++ = pixel[0]; break;
        case Image2D::LUMINANCE_ALPHA:
            *out++ = pixel[0];
            *out++ = pixel[3];
            break;
        default:
            for (int c = 0; c < channels; ++c)
                *out++ = pixel[c];
            break;
        }
    }
    m_data = m_repacked;
}

TexturePixels::~TexturePixels() noexcept(false)
{
    if (m_repacked != nullptr)
        VORNIC3D_FREE(m_repacked);
}

} // namespace render
