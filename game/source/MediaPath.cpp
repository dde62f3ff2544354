#include "MediaPath.h"

#include "FileFailure.h"
#include "LoggedText.h"

#include "core/Debug.h"
#include "hal/File.h"
#include "render/Image2D.h"
#include "render/Loader.h"

namespace game {

core::String mediaPath(const char* fileName)
{
    return HAL::File::getWorkingDirectory() + "\\media\\" + fileName;
}

core::Ref<render::Image2D> loadFirstImage(const core::String& path)
{
    render::Loader::Objects list;
    render::Loader::load(path, list);
    // A scene file may hold no root object at all.
    return list.m_size > 0 ? dynamic_cast<render::Image2D*>(list[0].get()) : nullptr;
}

core::Ref<render::Image2D> loadMediaImage(const char* fileName)
{
    const core::String path = mediaPath(fileName);
    core::Ref<render::Image2D> image = loadFirstImage(path);
    if (image == nullptr) {
        core::Debug::printf(core::Debug::LEVEL_ERROR, "Game: %s holds no image\n", loggedPath(path.c_str()));
        GAME_FAIL_ON_FILE(path.c_str());
    }
    return image;
}

} // namespace game
