#pragma once

namespace render {

// A colour word 0xAARRGGBB as the four floats OpenGL ES takes: each channel
// c becomes c / 255 x intensity. The RGB form fixes alpha at 1 (lights,
// fog, most material colours); the ARGB form converts alpha too.
struct GLColor {
    float rgba[4];

    static GLColor fromRGB(unsigned int color, float intensity = 1.0f);
    static GLColor fromARGB(unsigned int color, float intensity = 1.0f);
};

inline GLColor GLColor::fromARGB(unsigned int color, float intensity)
{
    const auto channel = [&](int shift) { return static_cast<float>((color >> shift) & 0xFFu) / 255.0f * intensity; };
    return {{channel(16), channel(8), channel(0), channel(24)}};
}

inline GLColor GLColor::fromRGB(unsigned int color, float intensity)
{
    GLColor result = fromARGB(color, intensity);
    result.rgba[3] = 1.0f;
    return result;
}

} // namespace render
