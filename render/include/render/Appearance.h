#pragma once

#include "render/Object3D.h"

namespace render {

class CompositingMode;
class Fog;
class Material;
class PolygonMode;
class Texture2D;

// How a submesh, a sprite or a text is drawn: four optional components
// (compositing mode, fog, material, polygon mode), one texture per texture
// unit and a layer.
// Contract: made only while the renderer singleton exists, whose
// numTextureUnits property fixes the unit count for the appearance's life.
// Components and textures are held by counted reference and may be shared
// by many appearances; null removes one. When the appearance serving as the
// default text appearance dies, it clears that registry slot, so the slot
// never names a dead object.
class Appearance : public Object3D {
public:
    Appearance();
    ~Appearance() noexcept(false) override;

    // -63..63, else the bare assertion.
    void setLayer(int layer);
    int getLayer() const { return m_layer; }

    // ---- components ----
    void setCompositingMode(CompositingMode* compositingMode);
    CompositingMode* getCompositingMode() const { return m_compositingMode.get(); }
    void setFog(Fog* fog);
    Fog* getFog() const { return m_fog.get(); }
    void setMaterial(Material* material);
    Material* getMaterial() const { return m_material.get(); }
    void setPolygonMode(PolygonMode* polygonMode);
    PolygonMode* getPolygonMode() const { return m_polygonMode.get(); }

    // ---- texture units (0..count-1, else the bare assertion) ----
    void setTexture(int unit, Texture2D* texture);
    Texture2D* getTexture(int unit) const;

private:
    core::Vector<core::Ref<Texture2D>> m_textures;
    core::Ref<CompositingMode> m_compositingMode;
    core::Ref<Fog> m_fog;
    core::Ref<Material> m_material;
    core::Ref<PolygonMode> m_polygonMode;
    int m_layer = 0;
};

} // namespace render
