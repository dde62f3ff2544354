#pragma once

#include "core/MemoryManagerConfig.h"
#include "hal/DisplayConfig.h"
#include "render/Graphics3DConfig.h"

#include <cstdint>

namespace framework {

// Everything the engine is configured with, compiled in: the constructor
// holds the defaults and the application factory overwrites what it needs
// before any engine singleton exists. Built by value on the caller's stack;
// the renderer copies its part, so the record need not outlive start-up.
// A pool size of 0 takes the default HAL::System reports; start-up writes
// the size actually used back into the record.
struct FrameworkSettings {
    FrameworkSettings();

    core::MemoryManagerConfig memory_config;
    std::int32_t memory_size = 0;
    core::MemoryManagerConfig string_pool_config;
    std::int32_t string_pool_size = 0;
    HAL::DisplayConfig display_config;
    bool console = true;
    render::Graphics3DConfig graphics_config;
};

} // namespace framework
