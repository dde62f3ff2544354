#pragma once

#include "render/Object3D.h"

namespace render {

// The fog component of an appearance: exponential (by density) or linear
// (between a near and a far distance), in an RGB colour.
// Contract: only stores checked values; the colour is stored masked with
// 0xFFFFFF; the distances are not checked (near may equal or pass far).
class Fog : public Object3D {
public:
    enum Mode { EXPONENTIAL = 80, LINEAR = 81 };

    Fog();
    ~Fog() noexcept(false) override;

    void setMode(int mode);
    int getMode() const { return m_mode; }
    void setColor(unsigned int rgb) { m_color = rgb & 0xFFFFFFu; }
    unsigned int getColor() const { return m_color; }
    // Above 0.
    void setDensity(float density);
    float getDensity() const { return m_density; }
    void setLinear(float nearDistance, float farDistance);
    float getNearDistance() const { return m_nearDistance; }
    float getFarDistance() const { return m_farDistance; }

private:
    unsigned int m_color = 0;
    float m_density = 1.0f;
    float m_nearDistance = 0.0f;
    float m_farDistance = 1.0f;
    int m_mode = LINEAR;
};

} // namespace render
