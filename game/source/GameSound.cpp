#include "GameSound.h"

#include "GameGlobals.h"
#include "MediaPath.h"

#include "hal/System.h"

namespace game {

namespace {

bool soundsOn()
{
    return GameGlobals::get().m_sounds != 0;
}

} // namespace

void playMediaSound(const char* fileName)
{
    VORNIC3D_CHECK(fileName != nullptr);
    if (soundsOn())
        HAL::playSound(mediaPath(fileName));
}

void stopMediaSound()
{
    if (soundsOn())
        HAL::stopSound();
}

} // namespace game
