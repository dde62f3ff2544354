#pragma once

#include "PngWriter.h"

#include <string>

namespace testsupport {

// Pieces of PNG files for tests that damage or build files by hand.

// A chunk as a file stores it: big-endian length, type, data and the CRC
// over type and data.
Bytes pngChunk(const std::string& type, const Bytes& data);
// The offset of the first chunk of `type` in `file` (at its length field);
// the file's size when there is none.
std::size_t findPngChunk(const Bytes& file, const std::string& type);
// The 13 data bytes of an IHDR chunk.
Bytes pngHeader(unsigned width, unsigned height, int bitDepth, int colorType);
// The 8-byte signature.
Bytes pngSignature();

} // namespace testsupport
