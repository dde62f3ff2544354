#include "framework/FrameworkSettings.h"

#include "render/Graphics3D.h"

namespace framework {

FrameworkSettings::FrameworkSettings()
{
    memory_config.name = "MemoryManager";
    string_pool_config.name = "StringPool";

    display_config.bitsPerPixel = 16;
    display_config.title = "Vornic3D application";
    display_config.windowMode = HAL::DisplayConfig::WINDOW_MODE_WINDOWED;

    graphics_config.debug_info = true;
    graphics_config.debug_fps = true;
    graphics_config.debug_meshes = false;
    graphics_config.default_light = true;
    graphics_config.lighting = true;
    graphics_config.texturing = true;
    graphics_config.vertex_colors = true;
    graphics_config.max_dynamic_buffers = 6;
    graphics_config.max_dynamic_buffer_size = 600;
    graphics_config.type = render::Graphics3D::OPENGL_ES;
}

} // namespace framework
