#include "render/Material.h"

#include "core/Assert.h"

namespace render {

// ---- life cycle -------------------------------------------------------------

Material::Material() = default;

Material::~Material() noexcept(false) = default;

// ---- colours ------------------------------------------------------------------------

void Material::setColor(int targetMask, unsigned int argb)
{
    VORNIC3D_ASSERT((targetMask & (AMBIENT | DIFFUSE | EMISSIVE | SPECULAR)) != 0, "IllegalArgumentException");
    if (targetMask & AMBIENT)
        m_ambientColor = argb;
    if (targetMask & DIFFUSE)
        m_diffuseColor = argb;
    if (targetMask & EMISSIVE)
        m_emissiveColor = argb;
    if (targetMask & SPECULAR)
        m_specularColor = argb;
}

unsigned int Material::getColor(int target) const
{
    switch (target) {
    case AMBIENT: return m_ambientColor;
    case DIFFUSE: return m_diffuseColor;
    case EMISSIVE: return m_emissiveColor;
    case SPECULAR: return m_specularColor;
    default: VORNIC3D_ASSERT(false, "IllegalArgumentException");
    }
    return 0;
}

void Material::setShininess(float shininess)
{
    VORNIC3D_ASSERT(shininess >= 0.0f && shininess <= 128.0f, "IllegalArgumentException");
    m_shininess = shininess;
}

} // namespace render
