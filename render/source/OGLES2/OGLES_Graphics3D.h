#pragma once

#include "render/Graphics3D.h"
#include "render/Graphics3DConfig.h"
#include "render/Graphics3DProperties.h"
#include "render/Transform.h"

#include "core/Ref.h"
#include "core/Vector.h"

#include <cstdint>

namespace HAL {
class Display;
}

namespace render {

class OGLES2_Texture2D;

// The OpenGL ES 1.1 renderer: render targets (the screen or a texture),
// viewport and depth range, clearing, and the device state every draw needs.
// Contract: made only by Graphics3D::createGraphics3D. With a display, the
// display's context must be current for the renderer's whole life; without
// one the renderer keeps its lists and limits but draws nothing, and its
// device checks pass with a notice. A frame is bindTarget (screen),
// drawing, releaseTarget (swap); a texture target is bound inside a screen
// frame and released into the texture, which leaves the screen bound.
// Every operation checks the device's error state before and after its
// OpenGL ES work and throws the engine assertion when the display reports
// an error. The sources are split by topic: set-up, properties and
// viewport here (OGLES_Graphics3D.cpp), targets and clearing
// (OGLES_Graphics3D_targets.cpp).
class OGLES_Graphics3D : public Graphics3D {
public:
    OGLES_Graphics3D(HAL::Display* display, const Graphics3DConfig* config);
    ~OGLES_Graphics3D() noexcept(false) override;

    // The back end's textures bind, upload and delete device textures behind
    // the renderer's back; each such change makes the renderer that draws on
    // the current context bind afresh at its next textured draw.
    static void forgetBoundTexture();

    // ---- lights ----
    int addLight(Light* light, const Transform& transform) override;
    void resetLights() override;
    void setLight(int index, Light* light, const Transform& transform) override;
    void setDefaultLight(Light* light) override;
    Light* getLight(int index, Transform* transform) override;
    int getLightCount() override;
    Light* getDefaultLight() override;

    // ---- targets ----
    void bindTarget(core::Object* target, bool depthBufferEnabled, int hints) override;
    void bindTarget(core::Object* target) override;
    void clear(Background* background) override;
    void releaseTarget() override;

    // ---- drawing ----
    void render(World* world) override;
    void render(Texture2D* texture, const Transform& transform, Appearance* appearance) override;
    void render(VertexBuffer* vertices, IndexBuffer* triangles, Appearance* appearance, const Transform& transform,
                int scope) override;
    void render(VertexBuffer* vertices, IndexBuffer* triangles, Appearance* appearance,
                const Transform& transform) override;
    void render(Node* node, const Transform& transform) override;

    // ---- camera, viewport, depth range ----
    void setCamera(Camera* camera, const Transform& transform) override;
    Camera* getCamera(Transform* transform) override;
    void setDepthRange(float nearValue, float farValue) override;
    void setViewport(int x, int y, int width, int height) override;

    // ---- state queries ----
    float getDepthRangeFar() override;
    float getDepthRangeNear() override;
    int getHints() override;
    core::Object* getTarget() override { return m_target; }
    int getViewportHeight() override { return m_viewportHeight; }
    int getViewportWidth() override { return m_viewportWidth; }
    int getViewportX() override { return m_viewportX; }
    int getViewportY() override { return m_viewportY; }
    bool isDepthBufferEnabled() override { return m_depthBufferEnabled; }

    // ---- device ----
    Texture2D* createNewTexture() override;
    HAL::Display* getDisplay() override { return m_display.get(); }
    const Graphics3DProperties& getProperties() override { return m_properties; }

private:
    // ---- set-up (OGLES_Graphics3D.cpp) ----
    void initGraphics3D();
    // True when the display reports no error for `function`; without a
    // display, true after a notice.
    bool checkHWErrors(const char* function);

    // ---- targets (OGLES_Graphics3D_targets.cpp) ----
    void copyFrameToTargetTexture();

    // ---- internal objects (OGLES_Graphics3D_internal.cpp) ----
    // Made once, at the first bindTarget, sized by the display.
    void createInternalObjects();
    void drawBackgroundImage(Background& background);
    // The end-of-frame flush of the batching buffers, and their emptying at
    // a clear.
    void flushDynamicBuffers();
    void emptyDynamicBuffers();

    // The renderer drawing on the current context (the one with a display
    // made last), for forgetBoundTexture.
    static OGLES_Graphics3D* s_current;

    Graphics3DConfig m_config;
    Graphics3DProperties m_properties;
    core::Ref<HAL::Display> m_display;

    // ---- camera and lights ----
    core::Ref<Camera> m_camera;
    Transform m_cameraTransform;
    core::Vector<core::Ref<Light>> m_lights;
    core::Vector<Transform> m_lightTransforms;
    core::Ref<Light> m_defaultLight;
    bool m_defaultLightPending = true;

    // ---- internal objects ----
    // The camera of screen-space quads: the background and drawn textures.
    core::Ref<Camera> m_quadCamera;
    bool m_internalObjectsCreated = false;

    // ---- target ----
    // The renderer itself stands for the screen.
    core::Object* m_target = nullptr;
    OGLES2_Texture2D* m_targetTexture = nullptr;
    float m_depthRangeNear = -1.0f;
    float m_depthRangeFar = -1.0f;
    int m_hints = 1;
    int m_viewportX = 0;
    int m_viewportY = 0;
    int m_viewportWidth = 0;
    int m_viewportHeight = 0;
    std::int16_t m_screenWidth = 0;
    std::int16_t m_screenHeight = 0;
    bool m_depthBufferEnabled = false;

    // ---- device state caches ----
    // The texture name bound to GL_TEXTURE_2D; kUnknownTexture after a
    // texture changed the binding.
    static constexpr unsigned int kUnknownTexture = ~0u;
    unsigned int m_boundTexture = 0;
    // The projection and the lights must be loaded at the next draw.
    bool m_loadProjection = true;
    bool m_loadLights = true;

    // ---- frame statistics ----
    int m_cameraSetCount = 0;
};

} // namespace render
