#pragma once

#include "render/Node.h"

namespace render {

// A node that lights meshes: ambient, directional (along its -z axis), omni
// or spot. The renderer turns it into an OpenGL ES light.
// Contract: only stores checked values; the colour is RGB (stored masked
// with 0xFFFFFF). Range checks are IEEE comparisons, so NaN fails them.
class Light : public Node {
public:
    enum Mode { AMBIENT = 128, DIRECTIONAL = 129, OMNI = 130, SPOT = 131 };

    Light();
    ~Light() noexcept(false) override;

    void setMode(int mode);
    int getMode() const { return m_mode; }
    void setColor(unsigned int rgb) { m_color = rgb & 0xFFFFFFu; }
    unsigned int getColor() const { return m_color; }
    // Any value, zero and negative included.
    void setIntensity(float intensity) { m_intensity = intensity; }
    float getIntensity() const { return m_intensity; }
    // Degrees, 0..90.
    void setSpotAngle(float angle);
    float getSpotAngle() const { return m_spotAngle; }
    // 0..128.
    void setSpotExponent(float exponent);
    float getSpotExponent() const { return m_spotExponent; }
    // All three >= 0 and at least one > 0.
    void setAttenuation(float constant, float linear, float quadratic);
    float getConstantAttenuation() const { return m_constantAttenuation; }
    float getLinearAttenuation() const { return m_linearAttenuation; }
    float getQuadraticAttenuation() const { return m_quadraticAttenuation; }

private:
    unsigned int m_color = 0xFFFFFFu;
    float m_intensity = 1.0f;
    float m_constantAttenuation = 1.0f;
    float m_linearAttenuation = 0.0f;
    float m_quadraticAttenuation = 0.0f;
    float m_spotAngle = 45.0f;
    float m_spotExponent = 0.0f;
    int m_mode = DIRECTIONAL;
};

} // namespace render
