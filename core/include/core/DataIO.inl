#pragma once

#include "core/Assert.h"

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace core {

namespace detail {

// The integer types the cursor moves: 8-bit unsigned, 16-bit and 32-bit.
template <typename T>
constexpr bool isStreamInteger()
{
    return std::is_integral<T>::value && !std::is_same<T, bool>::value &&
           (std::is_same<T, unsigned char>::value || sizeof(T) == 2 || sizeof(T) == 4);
}

// The little-endian integer in the sizeof(T) bytes at `bytes`: the one
// decode of every read, its length known to the compiler, so that the
// counted arrays' loop vectorises.
template <typename T>
T littleEndian(const unsigned char* bytes)
{
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        bits |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
    return static_cast<T>(bits);
}

} // namespace detail

// ---- reads ----------------------------------------------------------------------

template <typename T>
void DataIO::getStreamData(T& value)
{
    static_assert(detail::isStreamInteger<T>(), "DataIO reads 8-bit unsigned, 16-bit and 32-bit integers");
    require(static_cast<std::int64_t>(sizeof(T)));
    VORNIC3D_CHECK(data != nullptr);
    value = readLittleEndian<T>();
}

template <typename T>
void DataIO::getStreamData(Vector<T>& values)
{
    static_assert(detail::isStreamInteger<T>() && sizeof(T) > 1,
                  "DataIO reads counted arrays of 16-bit and 32-bit integers");
    require(4);
    VORNIC3D_CHECK(data != nullptr);
    const auto count = detail::littleEndian<std::uint32_t>(data);
    // The whole array is checked before anything is sized or consumed, so a
    // hostile count can neither pass the end of the block nor drain the pool.
    require(4 + static_cast<std::int64_t>(count) * static_cast<std::int64_t>(sizeof(T)));
    values.setSize(static_cast<int>(count));
    advance(4);
    // Decoded in one loop the compiler can vectorise: index and vertex
    // arrays are most of a scene file.
    for (std::uint32_t i = 0; i < count; ++i)
        values.m_data[i] = detail::littleEndian<T>(data + i * sizeof(T));
    advance(static_cast<int>(count * sizeof(T)));
}

template <typename T>
T DataIO::readLittleEndian()
{
    const T value = detail::littleEndian<T>(data);
    advance(static_cast<int>(sizeof(T)));
    return value;
}

// ---- writes ---------------------------------------------------------------------

template <typename T>
void DataIO::setStreamData(T value)
{
    static_assert(detail::isStreamInteger<T>(), "DataIO writes 8-bit unsigned, 16-bit and 32-bit integers");
    require(static_cast<std::int64_t>(sizeof(T)));
    VORNIC3D_CHECK(data != nullptr);
    writeBits(static_cast<std::uint32_t>(value), static_cast<int>(sizeof(T)));
}

} // namespace core
