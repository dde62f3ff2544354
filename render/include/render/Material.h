#pragma once

#include "render/Object3D.h"

namespace render {

// The lit colour of a surface: ambient, diffuse, emissive and specular
// colours (0xAARRGGBB, stored as given), shininess, and whether vertex
// colours stand in for the ambient and diffuse colours.
// Contract: only stores checked values; colour targets are bits that may be
// ORed to set several colours at once, but are read one at a time.
class Material : public Object3D {
public:
    enum ColorTarget { AMBIENT = 0x400, DIFFUSE = 0x800, EMISSIVE = 0x1000, SPECULAR = 0x2000 };

    Material();
    ~Material() noexcept(false) override;

    // Sets each colour whose bit is in targetMask; other bits are ignored,
    // but at least one target bit must be set.
    void setColor(int targetMask, unsigned int argb);
    // target exactly one of the four bits.
    unsigned int getColor(int target) const;
    // 0..128.
    void setShininess(float shininess);
    float getShininess() const { return m_shininess; }
    void setVertexColorTrackingEnabled(bool enable) { m_vertexColorTracking = enable; }
    bool isVertexColorTrackingEnabled() const { return m_vertexColorTracking; }

private:
    unsigned int m_ambientColor = 0x00333333u;
    unsigned int m_diffuseColor = 0xFFCCCCCCu;
    unsigned int m_emissiveColor = 0;
    unsigned int m_specularColor = 0;
    float m_shininess = 0.0f;
    bool m_vertexColorTracking = false;
};

} // namespace render
