#include "OverlayAppearance.h"

#include "render/CompositingMode.h"
#include "render/Material.h"
#include "render/PolygonMode.h"

namespace render {

core::Ref<Appearance> createOverlayAppearance()
{
    core::Ref<Appearance> appearance = VORNIC3D_NEW Appearance();
    core::Ref<PolygonMode> polygonMode = VORNIC3D_NEW PolygonMode();
    polygonMode->setCulling(PolygonMode::CULL_NONE);
    core::Ref<CompositingMode> compositingMode = VORNIC3D_NEW CompositingMode();
    compositingMode->setBlending(CompositingMode::ALPHA);
    compositingMode->setDepthTestEnable(false);
    compositingMode->setDepthWriteEnable(false);
    core::Ref<Material> material = VORNIC3D_NEW Material();
    material->setColor(Material::AMBIENT, 0x00FFFFFFu);
    material->setColor(Material::DIFFUSE, 0xFFFFFFFFu);
    appearance->setPolygonMode(polygonMode.get());
    appearance->setCompositingMode(compositingMode.get());
    appearance->setMaterial(material.get());
    return appearance;
}

} // namespace render
