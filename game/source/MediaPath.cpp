#include "MediaPath.h"

#include "File.h"
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
    return dynamic_cast<render::Image2D*>(list[0].get());
}

core::Ref<render::Image2D> loadMediaImage(const char* fileName)
{
    core::Ref<render::Image2D> image = loadFirstImage(mediaPath(fileName));
    VORNIC3D_CHECK(image != nullptr);
    return image;
}

} // namespace game
