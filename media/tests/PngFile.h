#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mediatest {

// A PNG file as the media check sees it: its chunk types in file order, the
// header's fields and the pixels libpng decodes (8-bit, rows from the top,
// as many channels as the file has). Any error or warning of libpng, a bad
// signature or a chunk running past the end leaves `error` set.
struct PngFile {
    std::string error;
    std::vector<std::string> chunks;
    int width = 0;
    int height = 0;
    int bitDepth = 0;
    int colourType = 0; // 2 RGB, 6 RGBA
    int interlace = 0;
    int channels = 0;
    std::vector<std::uint8_t> pixels;

    // The byte of channel c of pixel (x, y).
    std::uint8_t at(int x, int y, int c) const
    {
        return pixels[static_cast<std::size_t>((y * width + x) * channels + c)];
    }
};

PngFile readPng(const std::string& path);

} // namespace mediatest
