#pragma once

#include "Canvas.h"

namespace media {

// The colours the pictures share, so sprites, backgrounds and logo read as
// one set: bright, outlined shapes over dark backdrops.
struct Tone {
    Rgba light, base, dark;
};

namespace palette {

inline Rgba ink()
{
    return rgb(0x16142A);
} // every outline
inline Tone steel()
{
    return {rgb(0x9CC0F0), rgb(0x4E79B8), rgb(0x25406E)};
}
inline Tone sand()
{
    return {rgb(0xF0D6A0), rgb(0xC9A26A), rgb(0x7E5E34)};
}
inline Tone wood()
{
    return {rgb(0xE6B070), rgb(0xB87838), rgb(0x6E4018)};
}
inline Tone green()
{
    return {rgb(0xB4F49A), rgb(0x58C84E), rgb(0x2A6E28)};
}
inline Tone orange()
{
    return {rgb(0xFFE9A0), rgb(0xFF9A2E), rgb(0xB84E0C)};
}
inline Tone red()
{
    return {rgb(0xFF9AA0), rgb(0xE8384A), rgb(0x7E1424)};
}
inline Tone cyan()
{
    return {rgb(0xC8FAFF), rgb(0x40D0EC), rgb(0x166E96)};
}
inline Tone purple()
{
    return {rgb(0xD8A4F8), rgb(0x8E4EC0), rgb(0x46226E)};
}
inline Tone gold()
{
    return {rgb(0xFFF6B0), rgb(0xFFCC30), rgb(0xB07808)};
}
inline Tone stone()
{
    return {rgb(0xC8C4BC), rgb(0x8C8880), rgb(0x4C4842)};
}
inline Tone teal()
{
    return {rgb(0x9EF0E0), rgb(0x32A898), rgb(0x155A52)};
}

} // namespace palette

} // namespace media
