#include "FuzzEngine.h"

#include "core/Debug.h"
#include "core/Globals.h"
#include "core/MemoryManager.h"
#include "core/MemoryManagerConfig.h"
#include "core/StringPool.h"
#include "render/Graphics3D.h"
#include "render/M3G_Loader.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace fuzzsupport {

namespace {

// The game's main pool, nothing larger can be had on the phone, and its
// string pool.
constexpr int kGamePoolSize = 5242880;
constexpr int kGameStringPoolSize = 40960;

void* heapAlloc(int size)
{
    if (size > kGamePoolSize)
        throw core::MemoryManagerException("MemoryManager: memory full");
    return std::malloc(static_cast<std::size_t>(size));
}

void heapFree(void* pointer)
{
    std::free(pointer);
}

core::MemoryManager* heapManager(const char* name)
{
    core::MemoryManagerConfig config;
    config.name = name;
    config.myAlloc = heapAlloc;
    config.myFree = heapFree;
    return new core::MemoryManager(kGamePoolSize, name, &config);
}

bool onGamePools()
{
    const char* setting = std::getenv("VORNIC3D_FUZZ_GAME_POOLS");
    return setting != nullptr && std::strcmp(setting, "1") == 0;
}

} // namespace

void startEngine()
{
    static bool started = false;
    if (started)
        return;
    started = true;
    core::Globals::initClass();
    core::Debug::initClass();
    core::Globals* globals = core::Globals::get();
    if (onGamePools()) {
        globals->m_memoryManager = new core::MemoryManager(kGamePoolSize, "MemoryManager", nullptr);
        globals->m_stringPoolMemoryManager = new core::MemoryManager(kGameStringPoolSize, "StringPool", nullptr);
    } else {
        globals->m_memoryManager = heapManager("MemoryManager");
        globals->m_stringPoolMemoryManager = heapManager("StringPool");
    }
    globals->m_stringPool = new core::StringPool();
    // Appearances, vertex buffers and textures ask the renderer for its
    // limits; one made without a display draws nothing.
    globals->m_graphics3D = render::Graphics3D::createGraphics3D(render::Graphics3D::OPENGL_ES, nullptr, nullptr);
    // A scene file's external references would reach the file system (the
    // harness of loads by path turns them on in a scratch folder of its own).
    render::M3G_Loader::setExternalReferencesEnabled(false);
}

bool isSceneGraphRefusal(const AssertationFailedException& e)
{
    const std::string path = e.sourceFile;
    const std::string file = path.substr(path.find_last_of('/') + 1);
    const bool reader = file.rfind("M3G_", 0) == 0 || file.rfind("PNG_Loader", 0) == 0 || file.rfind("Loader", 0) == 0;
    return !reader && path.find("/core/") == std::string::npos;
}

} // namespace fuzzsupport
