// Raw bytes as a WAV file the game plays: through PlaySoundW, as the game's
// sounds reach the stand-in's sound player, on SDL's silent dummy audio
// driver. The sound plays on in the background while the next input comes,
// so the device's conversion meets the inputs too. A file is played or
// refused (FALSE); anything else (a crash, a hang, a sanitizer's report) is
// a finding.
#include "FuzzFile.h"

#include "wince/Sound.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 1 << 20)
        return 0;
    const std::string path =
        fuzzsupport::writeInputFile("sound.wav", std::string(reinterpret_cast<const char*>(data), size));
    const std::u16string widened(path.begin(), path.end());
    PlaySoundW(widened.c_str(), nullptr, SND_ASYNC);
    return 0;
}
