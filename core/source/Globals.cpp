#include "core/Globals.h"

#include "core/Assert.h"

#include <new>

namespace core {

Globals* Globals::s_instance = nullptr;

void Globals::initClass()
{
    VORNIC3D_CHECK(s_instance == nullptr);
    s_instance = new (std::nothrow) Globals;
}

void Globals::deInitClass()
{
    VORNIC3D_CHECK(s_instance != nullptr);
    Globals* registry = s_instance;
    // Cleared first, so a failed check below leaves no half-destroyed registry.
    s_instance = nullptr;
    delete registry;
}

Globals* Globals::get()
{
    VORNIC3D_CHECK(s_instance != nullptr);
    return s_instance;
}

Globals::~Globals() noexcept(false)
{
    VORNIC3D_CHECK(m_debug == nullptr);
    VORNIC3D_CHECK(m_memoryManager == nullptr);
    VORNIC3D_CHECK(m_stringPoolMemoryManager == nullptr);
    VORNIC3D_CHECK(m_graphics3D == nullptr);
    VORNIC3D_CHECK(m_stringPool == nullptr);
    VORNIC3D_CHECK(m_system == nullptr);
}

} // namespace core
