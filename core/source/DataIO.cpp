#include "core/DataIO.h"

#include "core/Debug.h"
#include "core/DebugException.h"
#include "core/IOException.h"

#include <cfloat>
#include <cstring>

namespace core {

namespace {

constexpr char kSmallBuffer[] = "Small stream buffer";
constexpr char kInvalidFloat[] = "Invalid floating point number";

bool isFiniteFloat(float value)
{
    // False for NaN too.
    return value >= -FLT_MAX && value <= FLT_MAX;
}

} // namespace

// ---- life cycle -----------------------------------------------------------------

DataIO::DataIO(const unsigned char* block, int size)
    : data(const_cast<unsigned char*>(block)), bytesLeft(size), name("")
{
}

DataIO::DataIO(const DataIO& other, int size) : Object(), data(other.data), bytesLeft(0), name(other.name)
{
    if (size < 0 || size > other.available())
        ioError(other.name, kSmallBuffer);
    bytesLeft = size;
}

DataIO::~DataIO()
{
    data = nullptr;
    bytesLeft = 0;
}

unsigned char* DataIO::getCurrentPointer() const
{
    VORNIC3D_CHECK(data != nullptr);
    return data;
}

// ---- reads ------------------------------------------------------------------------

void DataIO::getStreamData(float& value)
{
    require(4);
    VORNIC3D_CHECK(data != nullptr);
    const auto bits = readLittleEndian<std::uint32_t>();
    float read;
    std::memcpy(&read, &bits, sizeof read);
    if (!isFiniteFloat(read))
        ioError(name, kInvalidFloat);
    value = read;
}

void DataIO::getStreamData(String& value)
{
    const std::int64_t limit = available();
    require(1);
    VORNIC3D_CHECK(data != nullptr);
    // The terminator is looked for only within the block.
    const void* end = std::memchr(data, 0, static_cast<std::size_t>(limit));
    if (end == nullptr)
        ioError(name, kSmallBuffer);
    value = reinterpret_cast<const char*>(data);
    advance(static_cast<int>(static_cast<const unsigned char*>(end) - data) + 1);
}

void DataIO::getStreamData(Vector<unsigned char>& values)
{
    require(4);
    VORNIC3D_CHECK(data != nullptr);
    const auto count = detail::littleEndian<std::uint32_t>(data);
    // Checked before the vector is sized: a hostile count must not drain the pool.
    require(4 + static_cast<std::int64_t>(count));
    values.setSize(static_cast<int>(count));
    advance(4);
    if (count > 0)
        std::memcpy(values.m_data, data, count);
    advance(static_cast<int>(count));
}

// ---- writes -----------------------------------------------------------------------

void DataIO::setStreamData(float value)
{
    if (!isFiniteFloat(value))
        ioError(name, kInvalidFloat);
    require(4);
    VORNIC3D_CHECK(data != nullptr);
    if (value == 0.0f)
        value = 0.0f; // -0 as +0
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    writeBits(bits, 4);
}

// ---- helpers ----------------------------------------------------------------------

void DataIO::require(std::int64_t bytes) const
{
    if (bytes > available())
        ioError(name, kSmallBuffer);
}

void DataIO::advance(int bytes)
{
    data += bytes;
    bytesLeft -= bytes;
}

void DataIO::writeBits(std::uint32_t bits, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        data[i] = static_cast<unsigned char>(bits >> (8 * i));
    advance(bytes);
}

void DataIO::ioError(const String& name, const char* message)
{
    try {
        Debug::printf(Debug::LEVEL_ERROR, "IO error (%s): \"%s\"\n", name.c_str(), message);
    } catch (const DebugException&) {
        // A name too long for the log line: the exception below still carries it.
    }
    throw IOException(message, name);
}

} // namespace core
