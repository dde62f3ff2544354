#include "PngWriter.h"

#include "OutputFile.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <stdexcept>

namespace media {

namespace {

// libpng is C: its errors leave through longjmp back into encodeRows, which
// therefore holds no object with a destructor; the message is kept here.
struct Encoder {
    std::vector<std::uint8_t>* out;
    char message[256];
};

void onError(png_structp png, png_const_charp message)
{
    auto* encoder = static_cast<Encoder*>(png_get_error_ptr(png));
    std::strncpy(encoder->message, message, sizeof encoder->message - 1);
    png_longjmp(png, 1);
}

// A warning would mean the file is not what we asked for.
void onWarning(png_structp png, png_const_charp message)
{
    onError(png, message);
}

void onWrite(png_structp png, png_bytep data, png_size_t length)
{
    auto* encoder = static_cast<Encoder*>(png_get_io_ptr(png));
    encoder->out->insert(encoder->out->end(), data, data + length);
}

void onFlush(png_structp) {}

// False with encoder.message set when libpng failed.
bool encodeRows(Encoder& encoder, int width, int height, int channels, png_bytepp rows)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &encoder, onError, onWarning);
    if (png == nullptr) {
        std::strcpy(encoder.message, "cannot create the PNG write structure");
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        std::strcpy(encoder.message, "cannot create the PNG info structure");
        return false;
    }
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &encoder, onWrite, onFlush);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_rows(png, info, rows);
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

std::vector<std::uint8_t> encodePng(int width, int height, int channels, const std::vector<std::uint8_t>& pixels)
{
    if (width < 1 || height < 1 || (channels != 3 && channels != 4) ||
        pixels.size() !=
            static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * static_cast<std::size_t>(channels))
        throw std::runtime_error("PNG: pixel data does not match the image size");

    std::vector<png_bytep> rows(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        rows[static_cast<std::size_t>(y)] =
            const_cast<png_bytep>(pixels.data()) +
            static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * static_cast<std::size_t>(channels);

    std::vector<std::uint8_t> out;
    Encoder encoder{&out, {}};
    if (!encodeRows(encoder, width, height, channels, rows.data()))
        throw std::runtime_error(std::string("PNG: ") + encoder.message);
    return out;
}

void writePng(const std::string& folder, const std::string& name, int width, int height, int channels,
              const std::vector<std::uint8_t>& pixels)
{
    writeOutputFile(folder, name, encodePng(width, height, channels, pixels));
}

} // namespace media
