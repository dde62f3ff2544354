#pragma once

#include <cstdint>

namespace render {

// The renderer's configuration, part of the framework's start-up settings and
// copied whole by the renderer when it is made. A value-initialised record is
// all zero, which is what a renderer made without a configuration uses.
struct Graphics3DConfig {
    bool debug_info = false;    // overlay text lines at the end of a screen frame
    bool debug_fps = false;     // frame-rate line in the log
    bool debug_meshes = false;  // bounding box drawn after each mesh
    bool default_light = false; // internal directional light unless one is set
    bool lighting = false;
    bool texturing = false;
    bool vertex_colors = false;
    std::int32_t max_dynamic_buffers = 0;     // batching buffers, above 0
    std::int32_t max_dynamic_buffer_size = 0; // quads per batching buffer
    std::int32_t type = 0;                    // a Graphics3D::Type
};

} // namespace render
