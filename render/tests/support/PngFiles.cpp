#include "PngFiles.h"

#include <zlib.h>

namespace testsupport {

namespace {

void putBigEndian(Bytes& out, unsigned long value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<unsigned char>(value >> shift));
}

} // namespace

Bytes pngChunk(const std::string& type, const Bytes& data)
{
    Bytes chunk;
    putBigEndian(chunk, data.size());
    chunk.insert(chunk.end(), type.begin(), type.end());
    chunk.insert(chunk.end(), data.begin(), data.end());
    const uLong crc = crc32(0L, chunk.data() + 4, static_cast<uInt>(chunk.size() - 4));
    putBigEndian(chunk, crc);
    return chunk;
}

std::size_t findPngChunk(const Bytes& file, const std::string& type)
{
    std::size_t at = 8;
    while (at + 8 <= file.size()) {
        const std::size_t length = static_cast<std::size_t>(file[at]) << 24 | file[at + 1] << 16 |
                                   file[at + 2] << 8 | file[at + 3];
        if (std::string(file.begin() + static_cast<long>(at) + 4, file.begin() + static_cast<long>(at) + 8) == type)
            return at;
        at += length + 12;
    }
    return file.size();
}

Bytes pngHeader(unsigned width, unsigned height, int bitDepth, int colorType)
{
    Bytes header;
    putBigEndian(header, width);
    putBigEndian(header, height);
    header.push_back(static_cast<unsigned char>(bitDepth));
    header.push_back(static_cast<unsigned char>(colorType));
    header.insert(header.end(), {0, 0, 0});
    return header;
}

Bytes pngSignature()
{
    return {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
}

} // namespace testsupport
