#include "PngFiles.h"

#include <zlib.h>

namespace testsupport {

Bytes pngChunk(const std::string& type, const Bytes& data)
{
    Bytes chunk;
    const auto put = [&](unsigned long value) {
        for (int shift = 24; shift >= 0; shift -= 8)
            chunk.push_back(static_cast<unsigned char>(value >> shift));
    };
    put(data.size());
    chunk.insert(chunk.end(), type.begin(), type.begin() + 4);
    chunk.insert(chunk.end(), data.begin(), data.end());
    put(crc32(0L, chunk.data() + 4, static_cast<uInt>(data.size() + 4)));
    return chunk;
}

} // namespace testsupport
