#include "FuzzEngine.h"

#include "GamePools.h"

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

void* heapAlloc(int size)
{
    if (size > game::kMainPoolSize)
        throw core::MemoryManagerException(core::MemoryManager::kMemoryFull);
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
    return new core::MemoryManager(game::kMainPoolSize, name, &config);
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
        globals->m_memoryManager = new core::MemoryManager(game::kMainPoolSize, "MemoryManager", nullptr);
        globals->m_stringPoolMemoryManager = new core::MemoryManager(game::kStringPoolSize, "StringPool", nullptr);
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

const char* sourceRoot()
{
    return VORNIC3D_SOURCE_ROOT;
}

bool isSceneGraphRefusal(const AssertationFailedException& e, const std::string& root)
{
    // Matched below the root, so that no folder above it (a checkout under
    // one named "core" or "render") changes the answer.
    const std::string path = e.sourceFile;
    if (path.compare(0, root.size(), root) != 0)
        return false;
    const std::string inProject = path.substr(root.size());
    const bool sceneGraph = inProject.rfind("render/source/", 0) == 0 || inProject.rfind("external/slmath/", 0) == 0;
    const std::string file = inProject.substr(inProject.find_last_of('/') + 1);
    const bool reader = file.rfind("M3G_", 0) == 0 || file.rfind("PNG_Loader", 0) == 0 || file.rfind("Loader", 0) == 0;
    return sceneGraph && !reader;
}

} // namespace fuzzsupport
