#include "render/Appearance.h"

#include "render/CompositingMode.h"
#include "render/Fog.h"
#include "render/Graphics3D.h"
#include "render/Graphics3DProperties.h"
#include "render/Material.h"
#include "render/PolygonMode.h"
#include "render/Texture2D.h"

#include "core/Assert.h"
#include "core/Globals.h"

namespace render {

// ---- life cycle -------------------------------------------------------------

Appearance::Appearance()
{
    Graphics3D* graphics = Graphics3D::getInstance();
    VORNIC3D_CHECK(graphics != nullptr);
    const Graphics3DProperties& properties = graphics->getProperties();
    m_textures.setSize(properties.numTextureUnits);
}

// The members go in reverse order: polygon mode, material, fog, compositing
// mode, then the texture units.
Appearance::~Appearance() noexcept(false)
{
    // The registry keeps the shared text appearance without a reference;
    // once it dies, the next text builds a new one instead of using a
    // dangling pointer.
    core::Globals* globals = core::Globals::get();
    if (globals->m_defaultTextAppearance == this)
        globals->m_defaultTextAppearance = nullptr;
}

void Appearance::setLayer(int layer)
{
    VORNIC3D_CHECK(layer >= -63 && layer <= 63);
    m_layer = layer;
}

// ---- components ---------------------------------------------------------------------

void Appearance::setCompositingMode(CompositingMode* compositingMode)
{
    m_compositingMode = compositingMode;
}

void Appearance::setFog(Fog* fog)
{
    m_fog = fog;
}

void Appearance::setMaterial(Material* material)
{
    m_material = material;
}

void Appearance::setPolygonMode(PolygonMode* polygonMode)
{
    m_polygonMode = polygonMode;
}

// ---- texture units ------------------------------------------------------------------
//
// The unit count is checked here, a negative unit by the vector's own bounds
// check.

void Appearance::setTexture(int unit, Texture2D* texture)
{
    VORNIC3D_CHECK(unit < m_textures.m_size);
    m_textures[unit] = texture;
}

Texture2D* Appearance::getTexture(int unit) const
{
    VORNIC3D_CHECK(unit < m_textures.m_size);
    return m_textures[unit].get();
}

} // namespace render
