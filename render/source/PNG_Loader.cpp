#include "render/PNG_Loader.h"

#include "core/Assert.h"
#include "core/DataIO.h"
#include "core/MemoryManager.h"
#include "render/Image2D.h"
#include "render/Loader_helpers.h"

#include <png.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace render {

namespace {

constexpr unsigned int kSignatureLength = 8;
constexpr char kNoMemory[] = "Couldn't allocate memory for image.";

// One load: libpng's structures, the buffers and libpng's last message. It
// lives in load's frame, so that after a long jump out of libpng everything
// taken so far can still be found and released.
struct PngRead {
    png_structp png = nullptr;
    png_infop info = nullptr;
    core::DataIO* cursor = nullptr;
    bool hasHeader = false;
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int channels = 0;
    int bitDepth = 0;
    std::size_t rowBytes = 0;
    unsigned char* pixels = nullptr;
    png_bytep* rows = nullptr;
    char message[256] = {};
};

// ---- the libpng calls -------------------------------------------------------------
//
// Each libpng call runs inside one of these two functions, whose setjmp is the
// target of pngErrorCallback's long jump: they return false when libpng gave
// up, with its text in read.message. A long jump skips no destructor, since
// neither these frames nor the callbacks hold an object that has one.

bool readHeader(PngRead& read, png_error_ptr onError, png_rw_ptr onRead)
{
    if (setjmp(png_jmpbuf(read.png)) != 0)
        return false;
    // Warnings end the load as errors do.
    png_set_error_fn(read.png, &read, onError, onError);
    png_set_read_fn(read.png, read.cursor, onRead);
    png_set_sig_bytes(read.png, static_cast<int>(kSignatureLength));
    png_read_info(read.png, read.info);

    int bitDepth = 0;
    int colorType = 0;
    if (png_get_IHDR(read.png, read.info, &read.width, &read.height, &bitDepth, &colorType, nullptr, nullptr,
                     nullptr) == 0)
        return true;
    read.hasHeader = true;
    if ((colorType & PNG_COLOR_MASK_ALPHA) == 0)
        png_set_strip_alpha(read.png);
    if (bitDepth > 8)
        png_set_strip_16(read.png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
        // One or two grey channels would not fill the RGB or RGBA image made
        // for them: grey becomes colour.
        png_set_expand_gray_1_2_4_to_8(read.png);
        png_set_gray_to_rgb(read.png);
    }
    if (colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(read.png);
    // Without it libpng 1.6 warns on every interlaced file, which would end
    // the load.
    png_set_interlace_handling(read.png);
    png_read_update_info(read.png, read.info);

    read.width = png_get_image_width(read.png, read.info);
    read.height = png_get_image_height(read.png, read.info);
    read.rowBytes = png_get_rowbytes(read.png, read.info);
    read.channels = png_get_channels(read.png, read.info);
    read.bitDepth = png_get_bit_depth(read.png, read.info);
    return true;
}

bool readRows(PngRead& read)
{
    if (setjmp(png_jmpbuf(read.png)) != 0)
        return false;
    png_read_image(read.png, read.rows);
    return true;
}

// ---- buffers ---------------------------------------------------------------------------

// Rows x bytes, refused with the allocation message when the pool could never
// grant it (its int sizes included): both factors come from the file, and the
// pool would end such a request in its assertion.
int blockSize(std::uint64_t count, std::uint64_t bytes)
{
    if (bytes == 0 || count > INT_MAX / bytes)
        parseError(kNoMemory);
    const auto size = static_cast<std::int64_t>(count * bytes);
    if (!core::MemoryManager::getMemoryInfo()->canHold(size))
        parseError(kNoMemory);
    return static_cast<int>(size);
}

void release(PngRead& read)
{
    if (read.pixels != nullptr)
        VORNIC3D_FREE(read.pixels);
    if (read.rows != nullptr)
        VORNIC3D_FREE(read.rows);
    if (read.png != nullptr)
        png_destroy_read_struct(&read.png, read.info != nullptr ? &read.info : nullptr, nullptr);
}

} // namespace

// ---- reading ---------------------------------------------------------------------------

bool PNG_Loader::canHandle(const unsigned char* data, unsigned int length)
{
    VORNIC3D_CHECK(data != nullptr);
    if (length < kSignatureLength)
        parseError("Too small file!");
    return png_sig_cmp(data, 0, kSignatureLength) == 0;
}

void PNG_Loader::load(const unsigned char* data, unsigned int length, core::Vector<core::Ref<Object3D>>& out)
{
    VORNIC3D_CHECK(data != nullptr);
    VORNIC3D_CHECK(length <= INT_MAX);
    if (length < kSignatureLength)
        parseError("Too small file!");

    PngRead read;
    try {
        read.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        if (read.png == nullptr)
            parseError("Couldn't create PNG read struct.");
        read.info = png_create_info_struct(read.png);
        if (read.info == nullptr)
            parseError("Couldn't create info struct");

        // The signature was checked already and is not fed to libpng.
        core::DataIO cursor(data + kSignatureLength, static_cast<int>(length - kSignatureLength));
        read.cursor = &cursor;
        if (!readHeader(read, pngErrorCallback, pngReadCallback))
            parseError(read.message);
        if (!read.hasHeader)
            parseError("Couldn't get IHDR.");
        // The transformations leave 8-bit RGB or RGBA; anything else cannot
        // become an Image2D.
        const std::uint64_t pixelBytes = static_cast<std::uint64_t>(read.channels) * read.width;
        if ((read.channels != 3 && read.channels != 4) || read.bitDepth != 8 || read.rowBytes != pixelBytes)
            parseError("Unsupported PNG pixel format.");

        // libpng writes the rows straight into the pixel block, top row first,
        // so the pixels are not copied once more.
        const int imageSize = blockSize(read.height, read.rowBytes);
        const int rowsSize = blockSize(read.height, sizeof(png_bytep));
        read.pixels = static_cast<unsigned char*>(VORNIC3D_ALLOC(imageSize));
        read.rows = static_cast<png_bytep*>(VORNIC3D_ALLOC(rowsSize));
        if (read.pixels == nullptr || read.rows == nullptr)
            parseError(kNoMemory);
        for (png_uint_32 row = 0; row < read.height; ++row)
            read.rows[row] = read.pixels + row * read.rowBytes;
        if (!readRows(read))
            parseError(read.message);

        const int format = read.channels == 3 ? Image2D::RGB : Image2D::RGBA;
        core::Ref<Object3D> image =
            VORNIC3D_NEW Image2D(format, static_cast<int>(read.width), static_cast<int>(read.height), read.pixels);
        out.pushBack(image);
    } catch (...) {
        release(read);
        throw;
    }
    release(read);
}

// ---- libpng callbacks ------------------------------------------------------------------

void PNG_Loader::pngErrorCallback(png_struct_def* png, const char* message)
{
    // The text may live in the frame the jump leaves: keep a copy.
    auto* read = static_cast<PngRead*>(png_get_error_ptr(png));
    std::snprintf(read->message, sizeof read->message, "%s", message != nullptr ? message : "");
    png_longjmp(png, 1);
}

void PNG_Loader::pngReadCallback(png_struct_def* png, unsigned char* destination, std::size_t length)
{
    auto* cursor = static_cast<core::DataIO*>(png_get_io_ptr(png));
    // libpng's error path long-jumps, so the cursor's own throwing check is not used here.
    if (static_cast<std::uint64_t>(cursor->available()) < length)
        png_error(png, "Small stream buffer");
    std::memcpy(destination, cursor->data, length);
    cursor->advance(static_cast<int>(length));
}

} // namespace render
