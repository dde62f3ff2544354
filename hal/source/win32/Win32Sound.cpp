#include "System.h"

#include "core/String.h"

#include <wince/Sound.h>

#include <string>

namespace HAL {

// ---- sound player -----------------------------------------------------------------

bool playSound(const core::String& path)
{
    // The whole path, unit by unit: a path is never cut to fit a buffer, so a
    // deep installation folder still finds its sounds.
    std::u16string units;
    const int length = path.length();
    units.reserve(static_cast<std::size_t>(length));
    for (int i = 0; i < length; ++i)
        units.push_back(static_cast<char16_t>(path.charAt(i)));
    return PlaySoundW(units.c_str(), nullptr, SND_ASYNC) == TRUE;
}

void stopSound()
{
    PlaySoundW(nullptr, nullptr, 0);
}

} // namespace HAL
