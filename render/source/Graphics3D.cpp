#include "render/Graphics3D.h"

#include "core/Assert.h"
#include "core/Globals.h"

namespace render {

// ---- singleton access -----------------------------------------------------------

Graphics3D* Graphics3D::getInstance()
{
    core::Globals* globals = nullptr;
    try {
        globals = core::Globals::get();
    } catch (const AssertationFailedException&) {
        // No registry means no log either (it lives in the registry), so the
        // text can only travel in the exception.
        throw AssertationFailedException("Graphics3D::getInstance failed because Globals is uninitialized", __FILE__,
                                         VORNIC3D_FUNCTION, __LINE__);
    }
    VORNIC3D_ASSERT(globals->m_graphics3D != nullptr,
                    "Graphics3D::getInstance failed because Globals does not include Graphics3D object");
    return globals->m_graphics3D;
}

// ---- life cycle -------------------------------------------------------------------

Graphics3D::Graphics3D()
{
    core::Globals* globals = core::Globals::get();
    VORNIC3D_ASSERT(globals->m_graphics3D == nullptr, "Graphics3D object is available. Can not create a new one.");
}

Graphics3D::~Graphics3D() noexcept(false) = default;

} // namespace render
