#pragma once

#include "core/Object.h"
#include "core/Vector.h"

namespace HAL {
class Display;
}

namespace render {

class Appearance;
class Background;
class Camera;
class IndexBuffer;
class Light;
class Node;
class Object3D;
class Texture2D;
class Transform;
class VertexBuffer;
class World;
struct Graphics3DConfig;
struct Graphics3DProperties;

// The engine's one rendering interface: targets, clearing, drawing, camera
// and lights, renderer limits and texture creation all go through it.
// Contract: exactly one instance at a time, registered by the framework in
// the Graphics3D slot of core::Globals and found with getInstance; a back end
// can be constructed only while that slot is empty, so the previous renderer
// must be deleted and its slot cleared first. Back ends implement every
// operation; the factory that picks one comes with the back end.
class Graphics3D : public core::Object {
public:
    // The renderer type word of Graphics3DConfig::type.
    enum Type { OPENGL_ES = 1, DIRECT3D_MOBILE = 2 };

    // A new renderer of `type` (OPENGL_ES; DIRECT3D_MOBILE and any other
    // value are refused) drawing into `display`; without a display it draws
    // nothing, without a configuration it takes an all-zero one. The caller
    // takes the first reference and registers it in core::Globals.
    static Graphics3D* createGraphics3D(int type, HAL::Display* display, const Graphics3DConfig* config);

    // The registered renderer; the engine assertion when there is no
    // registry or nothing is registered.
    static Graphics3D* getInstance();

    ~Graphics3D() noexcept(false) override;

    // ---- lights ----
    virtual int addLight(Light* light, const Transform& transform) = 0;

    // ---- targets ----
    virtual void bindTarget(core::Object* target, bool depthBufferEnabled, int hints) = 0;
    virtual void bindTarget(core::Object* target) = 0;
    virtual void clear(Background* background) = 0;
    virtual void releaseTarget() = 0;

    // ---- drawing ----
    virtual void render(World* world) = 0;
    virtual void render(Texture2D* texture, const Transform& transform, Appearance* appearance) = 0;
    virtual void render(VertexBuffer* vertices, IndexBuffer* triangles, Appearance* appearance,
                        const Transform& transform, int scope) = 0;
    virtual void render(VertexBuffer* vertices, IndexBuffer* triangles, Appearance* appearance,
                        const Transform& transform) = 0;
    virtual void render(Node* node, const Transform& transform) = 0;

    // ---- camera, lights and viewport ----
    virtual void resetLights() = 0;
    virtual void setCamera(Camera* camera, const Transform& transform) = 0;
    virtual void setDepthRange(float nearValue, float farValue) = 0;
    virtual void setLight(int index, Light* light, const Transform& transform) = 0;
    virtual void setDefaultLight(Light* light) = 0;
    virtual void setViewport(int x, int y, int width, int height) = 0;

    // ---- state queries ----
    virtual Camera* getCamera(Transform* transform) = 0;
    virtual float getDepthRangeFar() = 0;
    virtual float getDepthRangeNear() = 0;
    virtual int getHints() = 0;
    virtual Light* getLight(int index, Transform* transform) = 0;
    virtual int getLightCount() = 0;
    virtual core::Object* getTarget() = 0;
    virtual int getViewportHeight() = 0;
    virtual int getViewportWidth() = 0;
    virtual int getViewportX() = 0;
    virtual int getViewportY() = 0;
    virtual bool isDepthBufferEnabled() = 0;

    // ---- device ----
    virtual Texture2D* createNewTexture() = 0;
    // Null for a renderer made without a display.
    virtual HAL::Display* getDisplay() = 0;
    virtual const Graphics3DProperties& getProperties() = 0;
    virtual Light* getDefaultLight() = 0;

    Graphics3D(const Graphics3D&) = delete;
    Graphics3D& operator=(const Graphics3D&) = delete;

protected:
    // Fails unless core::Globals exists and holds no renderer yet.
    Graphics3D();

private:
    // Part of every renderer's layout; no operation fills or reads it yet.
    core::Vector<Object3D*> m_objects;
};

} // namespace render
