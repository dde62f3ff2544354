// Sprites and texts are drawn as camera-facing quads collected in the
// batching buffers. A quad is placed in the camera's axes (the node's
// position turned by the inverse camera rotation) and the batch is drawn
// with the camera rotation as its model transform, so every quad faces the
// camera wherever its node stands.
#include "OGLES2/MeshBuffer.h"
#include "OGLES2/OGLES_Graphics3D.h"

#include "BatchMesh.h"
#include "Font2DBitmap.h"

#include "render/Appearance.h"
#include "render/Camera.h"
#include "render/Graphics3DException.h"
#include "render/Image2D.h"
#include "render/IndexBuffer.h"
#include "render/Mesh.h"
#include "render/Sprite3D.h"
#include "render/Text2D.h"
#include "render/Texture2D.h"

#include "core/Assert.h"

#include <cmath>

namespace render {

namespace {

// A node's place before the camera: its position in the camera's axes and
// its depth in front of the camera. Only the translations of the node and
// of the view (the inverse camera transform, by rows) and the camera's
// rotation take part.
struct CameraSplit {
    CameraSplit(const float* v, const Transform& transform)
    {
        float t[16];
        transform.get(t);
        const float x = t[3];
        const float y = t[7];
        const float z = t[11];
        position[0] = v[0] * x + v[1] * y + v[2] * z;
        position[1] = v[4] * x + v[5] * y + v[6] * z;
        position[2] = v[8] * x + v[9] * y + v[10] * z;
        depth = std::fabs(position[2] + v[11]);
    }

    float position[3];
    float depth;
};

// The rows of the transform that places a quad at the split's position,
// sized (sx, sy, sz): the pure translation, then the scale. Each row is
// checked as it is made, as Transform::set checks them.
slmath::mat4 placementRows(const CameraSplit& split, float sx, float sy, float sz)
{
    slmath::mat4 rows(0.0f);
    rows[0] = slmath::vec4(sx, 0.0f, 0.0f, split.position[0]);
    rows[1] = slmath::vec4(0.0f, sy, 0.0f, split.position[1]);
    rows[2] = slmath::vec4(0.0f, 0.0f, sz, split.position[2]);
    rows[3] = slmath::vec4(0.0f, 0.0f, 0.0f, 1.0f);
    return rows;
}

// A sprite's quad is made from the translation and the x and y scale of
// its placement alone; the rows are checked as placementRows checks them.
QuadPlacement spritePlacementOf(const CameraSplit& split, float sx, float sy, float sz)
{
    const slmath::vec4 row0(sx, 0.0f, 0.0f, split.position[0]);
    const slmath::vec4 row1(0.0f, sy, 0.0f, split.position[1]);
    const slmath::vec4 row2(0.0f, 0.0f, sz, split.position[2]);
    return {row0.w, row1.w, row2.w, row0.x, row1.y};
}

// Passes over the buffers before a node that fits none fails: a sprite gets
// three, a text two a buffer (OGLES_Graphics3D::handleText2D). Every pass
// after the first starts on free buffers.
constexpr int kSpritePasses = 3;

// What does not fit: the bare assertion, or the failure's text.
[[noreturn]] void failPlacement(const char* failure)
{
    if (failure == nullptr)
        VORNIC3D_CHECK(false);
    VORNIC3D_ASSERT(false, failure);
}

// The rotation of a camera transform, its translation removed.
Transform rotationOf(const Transform& transform)
{
    float m[16];
    transform.get(m);
    m[3] = m[7] = m[11] = 0.0f;
    Transform rotation;
    rotation.set(m);
    return rotation;
}

} // namespace

// ---- buffers --------------------------------------------------------------------------------

// A claimed buffer that takes nothing after all is freed again without a
// draw, so a node that fits no buffer leaves no empty batch behind and no
// buffer counted as used. Each pass ends with every batch it could not use
// drawn, so that a node that fails still leaves everything batched before it
// on the frame. The camera translation is the renderer's own
// (currentViewRows): the flushes on the way draw meshes, which never work it
// out again.
template <typename Write>
void OGLES_Graphics3D::placeInBuffers(Texture2D* texture, Appearance* appearance, Batched batched, int passes,
                                      const char* failure, const Transform& cameraTranslation, Write write)
{
    const bool texts = batched == Batched::TEXTS;
    for (int pass = 0; pass < passes; ++pass) {
        for (int i = 0; i < m_dynamicBuffers.m_size; ++i) {
            MeshBuffer* buffer = m_dynamicBuffers[i].get();
            VORNIC3D_CHECK(buffer != nullptr && buffer->m_mesh != nullptr);
            const bool claimed = buffer->isFree();
            if (claimed) {
                VORNIC3D_CHECK(buffer->m_texture == nullptr);
                buffer->m_texture = texture;
                buffer->m_mesh->setAppearance(0, appearance);
                // A text's appearance keeps its own texture until the flush:
                // a mesh drawn with it meanwhile is not drawn with the font.
                if (!texts)
                    appearance->setTexture(0, texture);
            }
            if (buffer->m_texture != texture || (texts && buffer->m_mesh->getAppearance(0) != appearance) ||
                (buffer->m_camera != nullptr && buffer->m_camera != m_camera))
                continue;
            IndexBuffer* indices = buffer->m_arrays.triangles;
            const int count = indices->getIndexCount();
            int written = count;
            try {
                if (buffer->m_camera != m_camera)
                    buffer->m_camera = m_camera;
                buffer->m_cameraTranslation = cameraTranslation;
                written = write(*buffer, count);
            } catch (...) {
                if (claimed)
                    buffer->empty();
                throw;
            }
            if (written != count) {
                indices->setIndexCount(written);
                return;
            }
            if (claimed)
                buffer->empty();
            else
                flushDynamicBuffer(buffer);
        }
        flushDynamicBuffers();
    }
    failPlacement(failure);
}

// A flush in the middle of a world render, whose projection is loaded once,
// loads the batch camera's projection and then the world camera's again.
void OGLES_Graphics3D::flushDynamicBuffer(MeshBuffer* buffer)
{
    VORNIC3D_CHECK(buffer != nullptr);
    VORNIC3D_CHECK(buffer->m_mesh != nullptr);
    VORNIC3D_CHECK(buffer->m_camera != nullptr);
    VORNIC3D_CHECK(buffer->m_texture != nullptr);
    const Transform model = rotationOf(m_cameraTransform);
    Appearance* appearance = buffer->m_mesh->getAppearance(0);
    VORNIC3D_CHECK(appearance != nullptr);

    const bool otherCamera = m_camera != buffer->m_camera;
    const bool projectionLoaded = !m_loadProjection;
    Transform savedTransform;
    const core::Ref<Camera> savedCamera = getCamera(&savedTransform);
    if (otherCamera) {
        Transform batchCamera(model);
        batchCamera.postMultiply(buffer->m_cameraTranslation);
        setCamera(buffer->m_camera.get(), batchCamera);
        m_loadProjection = true;
    }
    // The buffer is freed and the camera set back also after a failed draw,
    // so that one bad batch does not fail every later frame.
    const auto finish = [&] {
        buffer->empty();
        if (otherCamera) {
            setCamera(savedCamera.get(), savedTransform);
            if (projectionLoaded) {
                handleCamera(-1);
                m_loadProjection = false;
            }
        }
    };
    try {
        appearance->setTexture(0, buffer->m_texture.get());
        renderNode(buffer->m_mesh.get(), model);
    } catch (...) {
        finish();
        throw;
    }
    finish();
    ++m_buffersUsedCount;
}

// ---- sprites --------------------------------------------------------------------------------

// A buffer takes the sprite when it holds the sprite's texture under the
// current camera; the appearance of its first quad serves every quad in it.
// Unscaled sprites keep their crop's size in screen pixels under a
// perspective camera, and in camera units (pixels with a screen-sized
// parallel camera) under any other; scaled ones are crop-sized in world
// units.
void OGLES_Graphics3D::handleSprite3D(Sprite3D* sprite, const Transform& transform)
{
    VORNIC3D_CHECK(sprite != nullptr);
    Texture2D* texture = sprite->getTexture();
    Appearance* appearance = sprite->getAppearance();
    // Checked before any buffer is claimed: a buffer claimed without an
    // appearance would fail every later end of frame.
    VORNIC3D_CHECK(appearance != nullptr);
    const CameraSplit split(currentViewRows(), transform);
    float size[3] = {1.0f, 1.0f, 1.0f};
    if (sprite->isScaled()) {
        size[0] = static_cast<float>(sprite->getCropWidth());
        size[1] = static_cast<float>(sprite->getCropHeight());
    } else {
        VORNIC3D_CHECK(m_camera != nullptr);
        const auto width = static_cast<float>(sprite->getImage()->getWidth());
        const float pixel = pixelSizeAt(split.depth);
        if (pixel > 0.0f) {
            const slmath::vec3& scale = sprite->getScale();
            const float s = width * pixel;
            size[0] = scale.x * s;
            size[1] = scale.y * s;
            size[2] = scale.z * s;
        } else {
            size[0] = width;
            size[1] = width;
        }
    }
    const QuadPlacement quad = spritePlacementOf(split, size[0], size[1], size[2]);
    placeInBuffers(
        texture, appearance, Batched::SPRITES, kSpritePasses, nullptr, m_currentCameraTranslation,
        [&](MeshBuffer& buffer, int count) { return sprite->renderSprite3DToMesh(buffer.m_arrays, count, quad); });
}

void OGLES_Graphics3D::knowCurrentView()
{
    Transform view(m_cameraTransform);
    view.invert();
    view.get(m_currentViewRows);
    Transform translation;
    translation.postTranslate(-m_currentViewRows[3], -m_currentViewRows[7], -m_currentViewRows[11]);
    m_currentCameraTranslation = translation;
    m_currentViewKnown = true;
}

float OGLES_Graphics3D::pixelSizeAt(float depth) const
{
    if (m_camera->getProjectionParameters(nullptr) != Camera::PERSPECTIVE)
        return 0.0f;
    float parameters[4] = {};
    m_camera->getProjectionParameters(parameters);
    const double halfFieldOfView = std::tan(static_cast<double>(parameters[0]) * 0.00872665);
    return static_cast<float>(1.0 / (static_cast<double>(m_viewportWidth) * 0.5) * parameters[1] * depth *
                              halfFieldOfView);
}

// ---- texts ------------------------------------------------------------------------------------

// A buffer takes the text when it holds the text's own appearance object,
// the font's texture and the current camera; texts sharing the default
// appearance and a font thus share a buffer. With render flag 0 one unit of
// text size is one screen pixel also under a perspective camera; otherwise,
// and under any other camera, one world unit.
void OGLES_Graphics3D::handleText2D(Text2D* text, const Transform& transform)
{
    VORNIC3D_CHECK(text != nullptr);
    auto* font = dynamic_cast<Font2DBitmap*>(text->getFont());
    VORNIC3D_ASSERT(font != nullptr, "Text2D does not provide Font2D information");
    const CameraSplit split(currentViewRows(), transform);
    float s = 1.0f;
    if (text->getRenderFlag() == 0) {
        VORNIC3D_CHECK(m_camera != nullptr);
        const float pixel = pixelSizeAt(split.depth);
        if (pixel > 0.0f)
            s = pixel;
    }
    const Transform place(placementRows(split, s, s, s));
    // The camera the text is placed under is held for the call: the flushes
    // on the way make the batches' own cameras current for a while.
    core::Ref<Camera> camera = m_camera;
    try {
        placeInBuffers(font->getTexture(), text->getAppearance(), Batched::TEXTS, 2 * m_dynamicBuffers.m_size,
                       "can not buffer texts (too small buffer size?)", m_currentCameraTranslation,
                       [&](MeshBuffer& buffer, int count) {
                           return font->renderBitmapFontToMesh(buffer.m_mesh.get(), count, text, place);
                       });
    } catch (Graphics3DException) {
        camera = nullptr;
        throw;
    }
}

} // namespace render
