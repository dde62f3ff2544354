#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace media {

// Encodes 8-bit RGB (channels 3) or RGBA (channels 4) pixels, rows from the
// top, as a PNG without interlace and with no chunk but IHDR, IDAT and IEND:
// no time stamp, no colour-space chunks, so the file depends on nothing but
// the pixels (and the zlib that compresses them). Throws std::runtime_error
// with libpng's message, or when the sizes do not match the pixels.
std::vector<std::uint8_t> encodePng(int width, int height, int channels, const std::vector<std::uint8_t>& pixels);

// encodePng, written to folder + "/" + name.
void writePng(const std::string& folder, const std::string& name, int width, int height, int channels,
              const std::vector<std::uint8_t>& pixels);

} // namespace media
