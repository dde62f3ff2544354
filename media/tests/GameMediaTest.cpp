#include "GameMediaTest.h"

#include "render/Font2D.h"
#include "render/Image2D.h"
#include "render/Loader.h"

#include "File.h"

namespace mediatest {

void GameMediaTest::SetUp()
{
    OGLESTest::SetUp();
    render::Graphics3DConfig config = defaultConfig();
    config.max_dynamic_buffers = 6;
    config.max_dynamic_buffer_size = 1500;
    restartRenderer(config);
}

core::String GameMediaTest::mediaPath(const char* name)
{
    return HAL::File::getWorkingDirectory() + "\\media\\" + name;
}

core::Ref<render::Image2D> GameMediaTest::loadImage(const char* name)
{
    render::Loader::Objects objects;
    render::Loader::load(mediaPath(name), objects);
    return objects.m_size > 0 ? dynamic_cast<render::Image2D*>(objects[0].get()) : nullptr;
}

core::Ref<render::Font2D> GameMediaTest::loadFont(const char* name)
{
    return render::Font2D::createNewFont(mediaPath(name).c_str());
}

} // namespace mediatest
