#include "PngFiles.h"

#include <zlib.h>

#include <algorithm>

namespace testsupport {

namespace {

void putBigEndian(unsigned char* at, unsigned long value)
{
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<unsigned char>(value >> (24 - 8 * i));
}

} // namespace

Bytes pngChunk(const std::string& type, const Bytes& data)
{
    // Sized first and filled in place: length, type, data, CRC.
    Bytes chunk(data.size() + 12);
    putBigEndian(chunk.data(), data.size());
    std::copy(type.begin(), type.begin() + 4, chunk.begin() + 4);
    std::copy(data.begin(), data.end(), chunk.begin() + 8);
    const uLong crc = crc32(0L, chunk.data() + 4, static_cast<uInt>(data.size() + 4));
    putBigEndian(chunk.data() + 8 + data.size(), crc);
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
    Bytes header(13, 0);
    putBigEndian(header.data(), width);
    putBigEndian(header.data() + 4, height);
    header[8] = static_cast<unsigned char>(bitDepth);
    header[9] = static_cast<unsigned char>(colorType);
    return header;
}

Bytes pngSignature()
{
    return {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
}

} // namespace testsupport
