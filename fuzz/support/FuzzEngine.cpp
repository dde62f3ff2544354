#include "FuzzEngine.h"

#include "core/Debug.h"
#include "core/Globals.h"
#include "core/MemoryManager.h"
#include "core/MemoryManagerConfig.h"
#include "core/StringPool.h"
#include "render/Graphics3D.h"
#include "render/M3G_Loader.h"

#include <cstdlib>
#include <string>

namespace fuzzsupport {

namespace {

// The game's main pool: nothing larger can be had on the phone.
constexpr int kGamePoolSize = 5242880;

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
    globals->m_memoryManager = heapManager("MemoryManager");
    globals->m_stringPoolMemoryManager = heapManager("StringPool");
    globals->m_stringPool = new core::StringPool();
    // Appearances, vertex buffers and textures ask the renderer for its
    // limits; one made without a display draws nothing.
    globals->m_graphics3D = render::Graphics3D::createGraphics3D(render::Graphics3D::OPENGL_ES, nullptr, nullptr);
    // A scene file's external references would reach the file system.
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
