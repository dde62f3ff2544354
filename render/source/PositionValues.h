#pragma once

#include <cstdint>

namespace render {

// Conversions of the deformed meshes (skinned and morphing) between float
// arithmetic and the 16-bit position values they rewrite. Bone transforms and
// morph weights come from files and can push a value anywhere, where a plain
// float-to-int cast is undefined; these conversions stay defined and agree
// with the plain cast wherever that is.

// Truncates toward zero; a value beyond the int range gives the range's
// nearer end, NaN gives 0.
inline std::int32_t truncateToInt(float value)
{
    if (!(value == value))
        return 0;
    if (value >= 2147483648.0f)
        return INT32_MAX;
    if (value <= -2147483648.0f)
        return INT32_MIN;
    return static_cast<std::int32_t>(value);
}

// The low 16 bits, as the stored position value.
inline std::int16_t lowSixteenBits(std::int32_t value)
{
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint32_t>(value) & 0xFFFFu));
}

} // namespace render
