#pragma once

#include <vector>

namespace testsupport {

// The content of a file as the tests build it, byte by byte.
using Bytes = std::vector<unsigned char>;

} // namespace testsupport
