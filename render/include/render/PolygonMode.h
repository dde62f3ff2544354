#pragma once

#include "render/Object3D.h"

namespace render {

// How polygons are rasterised and lit: culling, shading, winding, line
// width and the two-sided lighting, local camera lighting and perspective
// correction switches.
// Contract: only stores checked values; the line width has no setter and
// stays 1.
class PolygonMode : public Object3D {
public:
    enum Culling { CULL_BACK = 160, CULL_FRONT = 161, CULL_NONE = 162 };
    enum Shading { SHADE_FLAT = 164, SHADE_SMOOTH = 165 };
    enum Winding { WINDING_CCW = 168, WINDING_CW = 169 };

    PolygonMode();
    ~PolygonMode() noexcept(false) override;

    void setCulling(int mode);
    int getCulling() const { return m_culling; }
    void setShading(int mode);
    int getShading() const { return m_shading; }
    void setWinding(int mode);
    int getWinding() const { return m_winding; }
    float getLineWidth() const { return m_lineWidth; }

    // ---- switches ----
    void setTwoSidedLightingEnabled(bool enable) { m_twoSidedLighting = enable; }
    bool isTwoSidedLightingEnabled() const { return m_twoSidedLighting; }
    void setLocalCameraLightingEnabled(bool enable) { m_localCameraLighting = enable; }
    bool isLocalCameraLightingEnabled() const { return m_localCameraLighting; }
    void setPerspectiveCorrectionEnabled(bool enable) { m_perspectiveCorrection = enable; }
    bool isPerspectiveCorrectionEnabled() const { return m_perspectiveCorrection; }

private:
    float m_lineWidth = 1.0f;
    int m_culling = CULL_BACK;
    int m_shading = SHADE_SMOOTH;
    int m_winding = WINDING_CCW;
    bool m_twoSidedLighting = false;
    bool m_localCameraLighting = false;
    bool m_perspectiveCorrection = false;
};

} // namespace render
