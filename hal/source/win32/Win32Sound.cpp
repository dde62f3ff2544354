#include "hal/System.h"

#include "core/Debug.h"
#include "core/String.h"

#include "wince/Sound.h"

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
    if (PlaySoundW(units.c_str(), nullptr, SND_ASYNC) == TRUE)
        return true;
    // The program plays on silently; its log says why, once.
    static bool noDeviceReported = false;
    if (!noDeviceReported && waveOutGetNumDevs() == 0) {
        noDeviceReported = true;
        core::Debug::printf(core::Debug::LEVEL_WARNING, "HAL: no audio device can be opened; sounds are not played\n");
    }
    return false;
}

void stopSound()
{
    PlaySoundW(nullptr, nullptr, 0);
}

} // namespace HAL
