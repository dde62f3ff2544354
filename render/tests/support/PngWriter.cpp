#include "PngWriter.h"

#include <png.h>

namespace testsupport {

namespace {

void append(png_structp png, png_bytep data, std::size_t length)
{
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void flush(png_structp) {}

} // namespace

Bytes writePng(const PngImage& image)
{
    Bytes file;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &file, append, flush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height),
                 image.bitDepth, image.colorType, image.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (std::size_t at = 0; at + 2 < image.palette.size(); at += 3)
        palette.push_back({image.palette[at], image.palette[at + 1], image.palette[at + 2]});
    if (!palette.empty())
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    if (!image.transparency.empty())
        png_set_tRNS(png, info, image.transparency.data(), static_cast<int>(image.transparency.size()), nullptr);
    png_write_info(png, info);

    const std::size_t rowBytes = image.rows.size() / static_cast<std::size_t>(image.height);
    std::vector<png_bytep> rows;
    for (int row = 0; row < image.height; ++row)
        rows.push_back(const_cast<png_bytep>(image.rows.data()) + static_cast<std::size_t>(row) * rowBytes);
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return file;
}

} // namespace testsupport
