#pragma once

#include "Bytes.h"

namespace testsupport {

// A PNG image described sample by sample, for libpng's writer: `rows` holds
// the rows in the file's own layout (samples below 8 bits packed from the
// high bit, 16-bit samples high byte first), top row first.
struct PngImage {
    int width = 1;
    int height = 1;
    int colorType = 2; // PNG_COLOR_TYPE_RGB
    int bitDepth = 8;
    bool interlaced = false;
    Bytes rows;
    Bytes palette;      // R, G, B per entry (colour type 3)
    Bytes transparency; // the tRNS alpha of each palette entry, when given
};

// The PNG file libpng writes for `image`. An image libpng refuses aborts the
// program: test images are made to be valid.
Bytes writePng(const PngImage& image);

} // namespace testsupport
