// The reader's primitives beside core::DataIO's own, its colours and its log lines.
#include "render/M3G_Loader.h"

#include "core/Debug.h"

#include <cstring>

namespace render {

namespace {

constexpr char kSmallBuffer[] = "Small stream buffer";

} // namespace

// ---- primitives ---------------------------------------------------------------------
//
// Integers, floats, strings and counted arrays of integers are
// core::DataIO's own reads, which check the bytes left before they size or
// copy anything.

bool M3G_Loader::readBoolean(core::DataIO& stream)
{
    unsigned char value = 0;
    stream.getStreamData(value);
    if (value > 1)
        core::DataIO::ioError(stream.name, "Deserialized boolean data not '1' or '0'.");
    return value == 1;
}

int M3G_Loader::skipString(core::DataIO& stream)
{
    const std::int64_t left = stream.available();
    const void* end = left > 0 ? std::memchr(stream.data, 0, static_cast<std::size_t>(left)) : nullptr;
    if (end == nullptr)
        core::DataIO::ioError(stream.name, kSmallBuffer);
    const auto length = static_cast<int>(static_cast<const unsigned char*>(end) - stream.data);
    stream.advance(length + 1);
    return length;
}

unsigned int M3G_Loader::packRGB(const unsigned char* rgb)
{
    return static_cast<unsigned int>(rgb[0]) << 16 | static_cast<unsigned int>(rgb[1]) << 8 | rgb[2];
}

unsigned int M3G_Loader::packARGB(const unsigned char* rgba)
{
    return static_cast<unsigned int>(rgba[3]) << 24 | packRGB(rgba);
}

// ---- reports --------------------------------------------------------------------------

void M3G_Loader::logProgress(const char* text)
{
    core::Debug::printf(core::Debug::LEVEL_PLAIN, "%s", text);
}

void M3G_Loader::parseWarning(const char* message)
{
    core::Debug::printf(core::Debug::LEVEL_WARNING, "Parse warning: \"%s\"\n", message);
}

} // namespace render
