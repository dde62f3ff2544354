#include "framework/App_helpers.h"

#include "framework/FrameworkSettings.h"

#include "render/Graphics3D.h"

#include "hal/System.h"

#include "core/Assert.h"
#include "core/Debug.h"
#include "core/Globals.h"
#include "core/MemoryManager.h"
#include "core/StringPool.h"

#include <new>

namespace {

// Deletes a singleton and empties its slot.
template <typename T>
void removeSingleton(T*& slot)
{
    T* object = slot;
    slot = nullptr;
    delete object;
}

} // namespace

// ---- creation ---------------------------------------------------------------------

void initEngineClasses(framework::FrameworkSettings* settings)
{
    framework::FrameworkSettings defaults;
    if (settings == nullptr)
        settings = &defaults;

    core::Globals::initClass();
    core::Debug::initClass();
    core::Globals* globals = core::Globals::get();
    VORNIC3D_CHECK(globals != nullptr);

    globals->m_system = new (std::nothrow) HAL::System(settings->console);
    VORNIC3D_CHECK(globals->m_system != nullptr);

    // Written back, so later readers of the record see the sizes in use.
    const HAL::SystemInfo info = HAL::System::getSystemInfo();
    if (settings->memory_size == 0)
        settings->memory_size = info.defaultMemoryPoolSize;
    if (settings->string_pool_size == 0)
        settings->string_pool_size = info.defaultStringPoolSize;

    globals->m_memoryManager =
        new core::MemoryManager(settings->memory_size, settings->memory_config.name, &settings->memory_config);
    globals->m_stringPoolMemoryManager = new core::MemoryManager(
        settings->string_pool_size, settings->string_pool_config.name, &settings->string_pool_config);
    globals->m_stringPool = new core::StringPool();
    emptyFunction(globals->m_system);

    // A renderer without a display, so that Graphics3D::getInstance answers
    // before the window exists.
    globals->m_graphics3D = render::Graphics3D::createGraphics3D(settings->graphics_config.type, nullptr, nullptr);

    VORNIC3D_CHECK(globals->m_memoryManager != nullptr);
    VORNIC3D_CHECK(globals->m_stringPoolMemoryManager != nullptr);
    VORNIC3D_CHECK(globals->m_system != nullptr);
    VORNIC3D_CHECK(globals->m_debug != nullptr);
    VORNIC3D_CHECK(globals->m_graphics3D != nullptr);
    VORNIC3D_CHECK(globals->m_stringPool != nullptr);

    core::Debug::printf(core::Debug::LEVEL_NORMAL, "configure memory manager : %s (%d bytes)\n",
                        settings->memory_config.name, static_cast<int>(settings->memory_size));
    core::Debug::printf(core::Debug::LEVEL_NORMAL, "configure string pool    : %s (%d bytes)\n",
                        settings->string_pool_config.name, static_cast<int>(settings->string_pool_size));
}

// ---- removal ----------------------------------------------------------------------

void deInitEngineClasses()
{
    core::Globals* globals = core::Globals::get();
    VORNIC3D_CHECK(globals != nullptr);
    VORNIC3D_CHECK(globals->m_memoryManager != nullptr);
    VORNIC3D_CHECK(globals->m_stringPoolMemoryManager != nullptr);
    VORNIC3D_CHECK(globals->m_system != nullptr);
    VORNIC3D_CHECK(globals->m_debug != nullptr);
    VORNIC3D_CHECK(globals->m_stringPool != nullptr);

    // Out of the slot before it goes: nothing may reach a renderer that is
    // being destroyed.
    removeSingleton(globals->m_graphics3D);
    emptyFunction(globals->m_system);
    core::Debug::closeOutputFile();
    // The texts go back to the string pool's manager before its leak check.
    removeSingleton(globals->m_stringPool);

    globals->m_memoryManager->debugMonitorCheck();
    globals->m_stringPoolMemoryManager->debugMonitorCheck();

    removeSingleton(globals->m_memoryManager);
    removeSingleton(globals->m_stringPoolMemoryManager);
    removeSingleton(globals->m_system);
    core::Debug::deInitClass();
    core::Globals::deInitClass();
}
