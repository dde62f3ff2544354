// Stands in for: the screen metrics. Limits: see wince/Metrics.h. Depends
// on: getenv.
#include "wince/Metrics.h"

#include <cstdlib>

namespace {

constexpr int defaultWidth = 240;
constexpr int defaultHeight = 400;
// Window sizes are 16-bit in the engine's display record.
constexpr int largestSide = 32767;

// Reads decimal digits at `text` into `value` (1..largestSide) and moves
// `text` past them; false for no digits, a value of 0 or one too large.
bool readSide(const char*& text, int& value)
{
    value = 0;
    const char* start = text;
    while (*text >= '0' && *text <= '9') {
        value = value * 10 + (*text - '0');
        if (value > largestSide)
            return false;
        ++text;
    }
    return text != start && value > 0;
}

struct Screen {
    int width;
    int height;
};

// "WxH", nothing more, nothing less; anything else keeps the phone's size.
Screen screen()
{
    const char* text = std::getenv("VORNIC3D_SCREEN");
    Screen parsed{};
    if (text == nullptr || !readSide(text, parsed.width) || (*text != 'x' && *text != 'X'))
        return Screen{defaultWidth, defaultHeight};
    ++text;
    if (!readSide(text, parsed.height) || *text != '\0')
        return Screen{defaultWidth, defaultHeight};
    return parsed;
}

} // namespace

int GetSystemMetrics(int index)
{
    switch (index) {
    case SM_CXSCREEN: return screen().width;
    case SM_CYSCREEN: return screen().height;
    default: return 0;
    }
}
