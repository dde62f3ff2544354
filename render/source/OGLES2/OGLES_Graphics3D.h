#pragma once

#include "render/Graphics3D.h"
#include "render/Graphics3DConfig.h"
#include "render/Graphics3DProperties.h"
#include "render/Node.h"
#include "render/Transform.h"

#include "core/Ref.h"
#include "core/Vector.h"

#include <cstdint>
#include <typeinfo>

namespace HAL {
class Display;
}

namespace core {
class String;
}

namespace render {

class CompositingMode;
class Fog;
class Group;
class Image2D;
class Material;
class Mesh;
class OGLES2_Texture2D;
class PolygonMode;
class Sprite3D;
class Text2D;
class Texture2D;
class VertexArray;

// The OpenGL ES 1.1 renderer: render targets (the screen or a texture),
// viewport and depth range, clearing with a background colour and image,
// the walk over worlds and nodes under a camera and lights, and the mapping
// of vertex data and appearances to device state, one indexed draw a
// submesh.
// Contract: made only by Graphics3D::createGraphics3D. With a display, the
// display's context must be current for the renderer's whole life; without
// one the renderer keeps its lists and limits but draws nothing, and its
// device checks pass with a notice. A frame is bindTarget (screen),
// drawing, releaseTarget (swap); a texture target is bound inside a screen
// frame and released into the texture, which leaves the screen bound. A
// world render loads its camera and lights once; every other draw loads
// them itself. The projection matrix holds the camera's projection alone
// and each model-view matrix the camera's view times the model transform,
// so lighting and fog are computed in eye space. A light's list transform
// is the space the light node lives in: the light is placed by it and then
// by its own composite transform.
// A skinned mesh is skinned anew at every draw and draws its skin, then the
// meshes its skeleton carries.
// Sprites and texts become camera-facing quads in the batching buffers
// (OGLES_Graphics3D_batching), one draw a buffer when it is full, when every
// buffer is taken by other textures or cameras, and at the release of the
// target, which draws the debug overlay's lines first (screen frames only).
// Every operation checks the device's error state before and after its
// OpenGL ES work and throws the engine assertion when the display reports
// an error; a failed draw leaves no vertex array enabled. The sources are
// split by topic, one file a section below.
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
    class MeshBuffer;
    friend class OGLES_Graphics3DInspector; // the tests' view of the frame statistics

    // ---- set-up (OGLES_Graphics3D.cpp) ----
    void initGraphics3D();
    // True when the display reports no error for `function`; without a
    // display, true after a notice.
    bool checkHWErrors(const char* function);

    // ---- targets and clearing (OGLES_Graphics3D_targets.cpp) ----
    void copyFrameToTargetTexture();
    void drawBackgroundImage(Background& background);
    void createBackgroundImagePolygon(Image2D* image);

    // ---- internal objects (OGLES_Graphics3D_internal.cpp) ----
    // Made once, at the first bindTarget, sized by the display.
    void createInternalObjects();
    // Quads a mesh can hold: their vertices are numbered with 16-bit
    // indices, four a quad.
    static constexpr int kMaxBufferQuads = 65535 / 4;
    // `count` quads of width x height with texture coordinates 0..1 (the
    // image's row 0 at the top) and no appearance.
    core::Ref<Mesh> createMesh(int width, int height, int count);
    // createMesh with an overlay appearance (createOverlayAppearance) whose
    // texture is the given Texture2D, or a new one of the given Image2D, or
    // none for null.
    core::Ref<Mesh> create2DPolygonWithDefaultAppearance(Object3D* textureOrImage, int width, int height, int count);
    void createDynamicBuffers();
    // Draws every used buffer, in order; and drops them at a clear.
    void flushDynamicBuffers();
    void emptyDynamicBuffers();

    // ---- sprite and text batching (OGLES_Graphics3D_batching.cpp) ----
    void handleSprite3D(Sprite3D* sprite, const Transform& transform);
    void handleText2D(Text2D* text, const Transform& transform);
    // Draws a used buffer, placed by the current camera's rotation, and
    // frees it.
    void flushDynamicBuffer(MeshBuffer* buffer);
    // What a buffer batches. A sprite's appearance takes the texture as it
    // claims a buffer, and the buffer takes any sprite of that texture; a
    // text's appearance must be the buffer's own and gets the texture only
    // when the batch is drawn.
    enum class Batched { SPRITES, TEXTS };
    // Writes a node's quads with `write` (buffer, index count) -> new index
    // count, the count unchanged when they do not fit: into the first
    // buffer that holds `texture` under the current camera (and
    // `appearance` too for texts) or the first free one, claimed for them.
    // A full buffer is drawn and the search goes on behind it; after each
    // pass every used buffer is drawn and, up to `passes` passes, it starts
    // again. What does not fit an empty buffer fails with `failure` (null:
    // the bare assertion), nothing left batched.
    template <typename Write>
    void placeInBuffers(Texture2D* texture, Appearance* appearance, Batched batched, int passes, const char* failure,
                        const Transform& cameraTranslation, Write write);
    // Screen pixels per world unit at `depth` in front of a perspective
    // camera; 0 for any other projection.
    float pixelSizeAt(float depth) const;
    // The current camera's view (the inverse of its transform), by rows,
    // and the translation by the camera's position in its own axes (the
    // negated translation of the view), with which every quad is placed:
    // worked out at their first use after setCamera, so that a frame of
    // sprites inverts the camera once. A camera transform without an
    // inverse throws at every use, as its inversion would.
    const float* currentViewRows()
    {
        if (!m_currentViewKnown)
            knowCurrentView();
        return m_currentViewRows;
    }
    void knowCurrentView();

    // ---- debug overlay (OGLES_Graphics3D_debug.cpp) ----
    // The end of a screen frame: the frame rate, the overlay's lines, the
    // counters set to 0.
    void renderDebugInfo();
    void renderDebugString(const core::String& text);
    // The box of the mesh's stored positions, as one line strip.
    void renderDebugMesh(Mesh* mesh, const Transform& transform);

    // ---- traversal (OGLES_Graphics3D_traversal.cpp) ----
    void renderNode(Node* node, const Transform& transform);
    // The kinds of node the walk tells apart, by dynamic_cast; the kind of
    // the last class asked about is remembered (m_lastNodeType).
    enum class NodeKind { SPRITE, TEXT, MESH, SKINNED_MESH, GROUP, OTHER };
    NodeKind kindOf(Node* node)
    {
        const std::type_info* type = &typeid(*node);
        return type == m_lastNodeType ? m_lastNodeKind : classify(node, type);
    }
    NodeKind classify(Node* node, const std::type_info* type);
    // Groups and worlds draw their sprites, meshes and groups; texts and
    // other nodes in them are not drawn.
    static bool isDrawnInGroups(NodeKind kind);
    // Adds the lights below `group` (the world when null), each with the
    // transform of the space it lives in: `parentTransform` times the
    // composite transforms of the groups between.
    void findLights(World* world, Group* group, const Transform& parentTransform);
    void handleCamera(int scope);

    // ---- the low-level draw (OGLES_Graphics3D_draw.cpp) ----
    void lowLevelRender(VertexBuffer* vertices, IndexBuffer* indices, Appearance* appearance,
                        const Transform& transform, int scope);
    void handleHints();
    void handlePositions(VertexArray* positions, const float* scaleBias);
    void handleColors(VertexBuffer* vertices);
    void handleNormals(VertexArray* normals);
    void handleTextureCoord(VertexArray* coordinates, const float* scaleBias);
    void handleDefaultColor(VertexBuffer* vertices);
    void handleIndex(IndexBuffer* indices);
    // The model-view matrix: the loaded view, then the model transform.
    void loadModelView(const Transform& model);
    // What every draw leaves behind, also a failed one: no vertex arrays,
    // no colour material, blending or alpha test, depth test and writes on.
    void resetDrawState();

    // ---- appearance (OGLES_Graphics3D_appearance.cpp) ----
    void handleAppearance(Appearance* appearance);
    void handleAppearanceMaterial(Material* material);
    void handleAppearancePolygonMode(PolygonMode* polygonMode);
    void handleAppearanceCompositingMode(CompositingMode* compositingMode);
    void handleAppearanceFog(Fog* fog);
    // The texture matrix mode is current.
    void handleAppearanceTexture2D(Texture2D* texture);
    void removeTexture();

    // ---- lights (OGLES_Graphics3D_lights.cpp) ----
    void handleLights(int scope);

    // The renderer drawing on the current context (the one with a display
    // made last), for forgetBoundTexture.
    static OGLES_Graphics3D* s_current;

    Graphics3DConfig m_config;
    Graphics3DProperties m_properties;
    core::Ref<HAL::Display> m_display;

    // ---- camera and lights ----
    core::Ref<Camera> m_camera;
    Transform m_cameraTransform;
    // The view of the loaded projection (the inverse of its camera's
    // transform), which every model-view matrix starts with.
    Transform m_viewTransform;
    // Of the current camera (currentViewRows), while known.
    float m_currentViewRows[16] = {};
    Transform m_currentCameraTranslation;
    bool m_currentViewKnown = false;
    core::Vector<core::Ref<Light>> m_lights;
    core::Vector<Transform> m_lightTransforms;
    core::Ref<Light> m_defaultLight;
    bool m_defaultLightPending = true;

    // ---- internal objects ----
    // max_dynamic_buffers buffers once the internal objects exist.
    core::Vector<core::Ref<MeshBuffer>> m_dynamicBuffers;
    // The camera of screen-space quads: the background and drawn textures.
    core::Ref<Camera> m_quadCamera;
    // The overlay's camera (the screen in pixels), its one text node with
    // the built-in font, and where that text draws its next line.
    core::Ref<Camera> m_debugCamera;
    core::Ref<Text2D> m_debugText;
    Transform m_debugTextTransform;
    // A unit quad for drawing a texture.
    core::Ref<Mesh> m_quadMesh;
    // The screen-sized quad of the background image, made at its first use.
    core::Ref<Mesh> m_backgroundPolygon;
    core::Ref<Texture2D> m_backgroundTexture;
    // The image the background polygon shows; its texture holds it.
    Image2D* m_backgroundImage = nullptr;
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

    // ---- traversal ----
    // The class of the last node kindOf was asked about, and its kind.
    const std::type_info* m_lastNodeType = nullptr;
    NodeKind m_lastNodeKind = NodeKind::OTHER;

    // ---- drawing state ----
    // False while the background is drawn: no lights then.
    bool m_lightingState = true;
    // Set while a material tracks the vertex colours.
    bool m_vertexColorState = false;
    // The vertex count of the positions of the draw in progress.
    int m_vertexCount = 0;

    // ---- device state caches ----
    // The texture name bound to GL_TEXTURE_2D; kUnknownTexture after a
    // texture changed the binding.
    static constexpr unsigned int kUnknownTexture = ~0u;
    unsigned int m_boundTexture = kUnknownTexture;
    // The last default colour given to the device, while it is known there
    // (a draw with a colour array leaves the current colour undefined).
    unsigned int m_lastDefaultColor = 0;
    bool m_lastDefaultColorKnown = false;
    // The hints applied to the device last.
    int m_appliedHints = -1;
    // Set while the device holds the defaults of each appearance
    // component, so a draw without that component need not apply them.
    bool m_materialDefaultsApplied = false;
    bool m_polygonModeDefaultsApplied = false;
    bool m_compositingModeDefaultsApplied = false;
    // The projection and the lights must be loaded at the next draw.
    bool m_loadProjection = true;
    bool m_loadLights = true;

    // ---- frame statistics ----
    // Screen frames finished; never reset.
    int m_frameNumber = 0;
    // The tick of the previous frame's end; 0 before the first.
    std::uint32_t m_lastFrameTime = 0;
    // Milliseconds gathered toward the next frame rate, the frames in them,
    // and the frames of the last full second.
    int m_measuredTime = 0;
    int m_framesCounted = 0;
    int m_frameRate = 0;
    // Counted from one screen frame's end to the next.
    int m_drawCount = 0;
    int m_drawCallCount = 0;
    int m_indexCount = 0;
    int m_cameraSetCount = 0;
    int m_buffersUsedCount = 0;
};

} // namespace render
