#pragma once

#include "render/Object3D.h"

namespace render {

// How drawn fragments meet the target: depth test and write, colour and
// alpha write, the alpha-test threshold, a depth offset and the blending
// with the frame buffer.
// Contract: only stores checked values: blending one of the six modes,
// threshold within 0..1 (the getters check again before they answer).
class CompositingMode : public Object3D {
public:
    // ONE_DST_ALPHA: source factor one, destination factor destination alpha.
    enum Blending { ALPHA = 64, ALPHA_ADD = 65, MODULATE = 66, MODULATE_X2 = 67, REPLACE = 68, ONE_DST_ALPHA = 69 };

    CompositingMode();
    ~CompositingMode() noexcept(false) override;

    void setBlending(int mode);
    int getBlending() const;
    void setAlphaThreshold(float threshold);
    float getAlphaThreshold() const;
    void setDepthOffset(float factor, float units);
    float getDepthOffsetFactor() const { return m_depthOffsetFactor; }
    float getDepthOffsetUnits() const { return m_depthOffsetUnits; }

    // ---- switches ----
    void setDepthTestEnable(bool enable) { m_depthTestEnable = enable; }
    bool isDepthTestEnabled() const { return m_depthTestEnable; }
    void setDepthWriteEnable(bool enable) { m_depthWriteEnable = enable; }
    bool isDepthWriteEnabled() const { return m_depthWriteEnable; }
    void setColorWriteEnable(bool enable) { m_colorWriteEnable = enable; }
    bool isColorWriteEnabled() const { return m_colorWriteEnable; }
    void setAlphaWriteEnable(bool enable) { m_alphaWriteEnable = enable; }
    bool isAlphaWriteEnabled() const { return m_alphaWriteEnable; }

private:
    float m_alphaThreshold = 0.0f;
    float m_depthOffsetFactor = 0.0f;
    float m_depthOffsetUnits = 0.0f;
    bool m_depthTestEnable = true;
    bool m_depthWriteEnable = true;
    bool m_colorWriteEnable = true;
    bool m_alphaWriteEnable = true;
    int m_blending = REPLACE;
};

} // namespace render
