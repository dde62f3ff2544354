#pragma once

#include "PngWriter.h"

#include <string>

namespace testsupport {

// A PNG chunk as a file stores it, for tests that damage or build files by
// hand: big-endian length, type, data and the CRC over type and data.
Bytes pngChunk(const std::string& type, const Bytes& data);

} // namespace testsupport
