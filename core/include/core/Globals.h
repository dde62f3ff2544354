#pragma once

namespace HAL {
class System;
}
namespace render {
class Appearance;
class Graphics3D;
} // namespace render

namespace core {

class Debug;
class MemoryManager;
class StringPool;

// The registry of the engine's singletons: seven pointer slots, nothing else.
// Contract: the framework creates each singleton, stores it here, clears the
// slot and deletes the object itself; the registry owns none of them and
// checks at its destruction that every slot but the default text appearance
// was cleared. All access goes through get(), which fails without a registry.
class Globals {
public:
    static void initClass();
    static void deInitClass();
    static Globals* get();

    Debug* m_debug = nullptr;
    MemoryManager* m_memoryManager = nullptr;
    MemoryManager* m_stringPoolMemoryManager = nullptr;
    render::Graphics3D* m_graphics3D = nullptr;
    // The appearance shared by texts made without one; held without a
    // reference, and cleared by that appearance when it dies.
    render::Appearance* m_defaultTextAppearance = nullptr;
    StringPool* m_stringPool = nullptr;
    HAL::System* m_system = nullptr;

    Globals(const Globals&) = delete;
    Globals& operator=(const Globals&) = delete;

private:
    Globals() = default;
    ~Globals() noexcept(false);

    static Globals* s_instance;
};

} // namespace core
