#include "PngFile.h"

#include "OutputFile.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <exception>

namespace mediatest {

namespace {

std::uint32_t bigEndian32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

// ---- chunks -------------------------------------------------------------------------

bool listChunks(const std::vector<std::uint8_t>& bytes, PngFile& png)
{
    static const std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (bytes.size() < 8 || std::memcmp(bytes.data(), signature, 8) != 0) {
        png.error = "no PNG signature";
        return false;
    }
    std::size_t offset = 8;
    while (offset + 12 <= bytes.size()) {
        const std::uint32_t length = bigEndian32(&bytes[offset]);
        if (length > bytes.size() - offset - 12) {
            png.error = "chunk runs past the end of the file";
            return false;
        }
        png.chunks.emplace_back(reinterpret_cast<const char*>(&bytes[offset + 4]), 4);
        if (png.chunks.back() == "IHDR" && length >= 13) {
            const std::uint8_t* header = &bytes[offset + 8];
            png.width = static_cast<int>(bigEndian32(header));
            png.height = static_cast<int>(bigEndian32(header + 4));
            png.bitDepth = header[8];
            png.colourType = header[9];
            png.interlace = header[12];
        }
        offset += 12 + length;
        if (png.chunks.back() == "IEND")
            break;
    }
    return true;
}

// ---- pixels -------------------------------------------------------------------------

struct Reader {
    const std::vector<std::uint8_t>* bytes;
    std::size_t offset;
    char message[256];
};

void onError(png_structp png, png_const_charp message)
{
    auto* reader = static_cast<Reader*>(png_get_error_ptr(png));
    std::strncpy(reader->message, message, sizeof reader->message - 1);
    png_longjmp(png, 1);
}

void onRead(png_structp png, png_bytep data, png_size_t length)
{
    auto* reader = static_cast<Reader*>(png_get_io_ptr(png));
    if (length > reader->bytes->size() - reader->offset)
        png_error(png, "file ends early");
    std::memcpy(data, reader->bytes->data() + reader->offset, length);
    reader->offset += length;
}

// libpng leaves through longjmp, so this holds nothing with a destructor;
// the row pointers point into `pixels`, sized from the header beforehand.
bool decode(Reader& reader, std::uint8_t* pixels, std::size_t size, int* channels)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &reader, onError, onError);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        std::strcpy(reader.message, "cannot create the read structures");
        return false;
    }
    png_bytep rows[4096];
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &reader, onRead);
    png_read_info(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    const png_size_t rowBytes = png_get_rowbytes(png, info);
    if (png_get_bit_depth(png, info) != 8 || height > 4096 || rowBytes * height != size)
        png_error(png, "not the 8-bit image its header promised");
    for (png_uint_32 y = 0; y < height; ++y)
        rows[y] = pixels + y * rowBytes;
    png_read_image(png, rows);
    png_read_end(png, nullptr);
    *channels = png_get_channels(png, info);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

} // namespace

PngFile readPng(const std::string& path)
{
    PngFile png;
    std::vector<std::uint8_t> bytes;
    try {
        bytes = media::readInputFile(path);
    } catch (const std::exception& error) {
        png.error = error.what();
        return png;
    }
    if (!listChunks(bytes, png))
        return png;
    const int perPixel = png.colourType == 6 ? 4 : png.colourType == 2 ? 3 : 0;
    if (perPixel == 0 || png.width < 1 || png.height < 1 || png.width > 4096 || png.height > 4096) {
        png.error = "not an RGB or RGBA image of a sensible size";
        return png;
    }
    png.pixels.resize(static_cast<std::size_t>(png.width * png.height * perPixel));
    Reader reader{&bytes, 0, {}};
    if (!decode(reader, png.pixels.data(), png.pixels.size(), &png.channels)) {
        png.error = reader.message;
        png.pixels.clear();
    }
    return png;
}

} // namespace mediatest
