#pragma once

#include "TestTexture2D.h"

#include "OGLES2/FixedProperties.h"

#include "render/Graphics3D.h"
#include "render/Graphics3DProperties.h"

namespace testsupport {

// A renderer that draws nothing, for tests of the code that asks the renderer
// singleton (the inputs, the scene graph's property readers and texture
// makers). getDisplay answers the display it was given; the properties start
// as the OpenGL ES renderer's fixed limits (viewport limits 0, as without a
// display) and may be changed through properties() before the objects that
// read them are made; createNewTexture makes a TestTexture2D, the caller
// taking the first reference. Registers itself nowhere: tests (or
// SceneGraphTest) put it into the Graphics3D slot and clear the slot before
// deleting it.
class TestGraphics3D : public render::Graphics3D {
public:
    explicit TestGraphics3D(HAL::Display* display = nullptr)
        : m_display(display), m_properties(render::fixedProperties())
    {
    }

    // ---- what tests read and set ----
    HAL::Display* getDisplay() override { return m_display; }
    const render::Graphics3DProperties& getProperties() override { return m_properties; }
    render::Graphics3DProperties& properties() { return m_properties; }
    render::Texture2D* createNewTexture() override { return VORNIC3D_NEW TestTexture2D(); }

    // ---- everything else does nothing ----
    int addLight(render::Light*, const render::Transform&) override { return 0; }
    void bindTarget(core::Object*, bool, int) override {}
    void bindTarget(core::Object*) override {}
    void clear(render::Background*) override {}
    void releaseTarget() override {}
    void render(render::World*) override {}
    void render(render::Texture2D*, const render::Transform&, render::Appearance*) override {}
    void render(render::VertexBuffer*, render::IndexBuffer*, render::Appearance*, const render::Transform&,
                int) override
    {
    }
    void render(render::VertexBuffer*, render::IndexBuffer*, render::Appearance*, const render::Transform&) override {}
    void render(render::Node*, const render::Transform&) override {}
    void resetLights() override {}
    void setCamera(render::Camera*, const render::Transform&) override {}
    void setDepthRange(float, float) override {}
    void setLight(int, render::Light*, const render::Transform&) override {}
    void setDefaultLight(render::Light*) override {}
    void setViewport(int, int, int, int) override {}
    render::Camera* getCamera(render::Transform*) override { return nullptr; }
    float getDepthRangeFar() override { return 1.0f; }
    float getDepthRangeNear() override { return 0.0f; }
    int getHints() override { return 0; }
    render::Light* getLight(int, render::Transform*) override { return nullptr; }
    int getLightCount() override { return 0; }
    core::Object* getTarget() override { return nullptr; }
    int getViewportHeight() override { return 0; }
    int getViewportWidth() override { return 0; }
    int getViewportX() override { return 0; }
    int getViewportY() override { return 0; }
    bool isDepthBufferEnabled() override { return false; }
    render::Light* getDefaultLight() override { return nullptr; }

private:
    HAL::Display* m_display;
    render::Graphics3DProperties m_properties;
};

} // namespace testsupport
