// Sprites and texts are drawn as camera-facing quads collected in the
// batching buffers. A quad is placed in the camera's axes (the node's
// position turned by the inverse camera rotation) and the batch is drawn
// with the camera rotation as its model transform, so every quad faces the
// camera wherever its node stands.
#include "OGLES2/MeshBuffer.h"
#include "OGLES2/OGLES_Graphics3D.h"

#include "Font2DBitmap.h"

#include "render/Appearance.h"
#include "render/Camera.h"
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

// A node's place before the camera: its position in the camera's axes,
// its depth in front of the camera, and the camera's position in its own
// axes, from which a batch can be drawn with another camera current.
struct CameraSplit {
    float position[3];
    float depth;
    Transform cameraTranslation;
};

// Only the translations of the node and of the inverse camera transform and
// the camera's rotation take part.
CameraSplit splitCamera(const Transform& cameraTransform, const Transform& transform)
{
    Transform view(cameraTransform);
    view.invert();
    float v[16];
    view.get(v);
    float t[16];
    transform.get(t);
    CameraSplit split;
    for (int row = 0; row < 3; ++row)
        split.position[row] = v[4 * row] * t[3] + v[4 * row + 1] * t[7] + v[4 * row + 2] * t[11];
    split.depth = std::fabs(split.position[2] + v[11]);
    split.cameraTranslation.postTranslate(-v[3], -v[7], -v[11]);
    return split;
}

// The pure translation by the split's position, then a scale.
Transform placementOf(const CameraSplit& split, float sx, float sy, float sz)
{
    const float rows[16] = {sx,   0.0f, 0.0f, split.position[0], 0.0f, sy,   0.0f, split.position[1],
                            0.0f, 0.0f, sz,   split.position[2], 0.0f, 0.0f, 0.0f, 1.0f};
    Transform placement;
    placement.set(rows);
    return placement;
}

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

// A claimed buffer that takes nothing after all is freed again, so a failed
// node leaves no empty batch behind.
template <typename Write>
void OGLES_Graphics3D::placeInBuffers(Texture2D* texture, Appearance* appearance, bool sameAppearance,
                                      const char* failure, const Transform& cameraTranslation, Write write)
{
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < m_dynamicBuffers.m_size; ++i) {
            MeshBuffer* buffer = m_dynamicBuffers[i].get();
            VORNIC3D_CHECK(buffer != nullptr && buffer->m_mesh != nullptr);
            const bool claimed = buffer->isFree();
            if (claimed) {
                VORNIC3D_CHECK(buffer->m_texture == nullptr);
                buffer->m_texture = texture;
                buffer->m_mesh->setAppearance(0, appearance);
                appearance->setTexture(0, texture);
            }
            if (buffer->m_texture != texture || (sameAppearance && buffer->m_mesh->getAppearance(0) != appearance) ||
                (buffer->m_camera != nullptr && buffer->m_camera != m_camera))
                continue;
            IndexBuffer* indices = buffer->m_mesh->getIndexBuffer(0);
            VORNIC3D_CHECK(indices != nullptr);
            const int count = indices->getIndexCount();
            int written = count;
            try {
                buffer->m_camera = m_camera;
                buffer->m_cameraTranslation = cameraTranslation;
                written = write(buffer->m_mesh.get(), count);
            } catch (...) {
                if (claimed)
                    buffer->empty();
                throw;
            }
            if (written != count) {
                indices->setIndexCount(written);
                return;
            }
            if (claimed) {
                buffer->empty();
                failPlacement(failure);
            }
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
    VORNIC3D_ASSERT(appearance != nullptr, "renderSprite3DToMesh failed because appearance is 0");
    const CameraSplit split = splitCamera(m_cameraTransform, transform);
    Transform quad;
    if (sprite->isScaled()) {
        quad = placementOf(split, static_cast<float>(sprite->getCropWidth()),
                           static_cast<float>(sprite->getCropHeight()), 1.0f);
    } else {
        VORNIC3D_CHECK(m_camera != nullptr);
        const auto width = static_cast<float>(sprite->getImage()->getWidth());
        const float pixel = pixelSizeAt(split.depth);
        if (pixel > 0.0f) {
            const slmath::vec3& scale = sprite->getScale();
            const float s = width * pixel;
            quad = placementOf(split, scale.x * s, scale.y * s, scale.z * s);
        } else {
            quad = placementOf(split, width, width, 1.0f);
        }
    }
    placeInBuffers(texture, appearance, false, nullptr, split.cameraTranslation,
                   [&](Mesh* mesh, int count) { return sprite->renderSprite3DToMesh(mesh, count, quad); });
}

float OGLES_Graphics3D::pixelSizeAt(float depth) const
{
    float parameters[4] = {};
    if (m_camera->getProjectionParameters(parameters) != Camera::PERSPECTIVE)
        return 0.0f;
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
    const CameraSplit split = splitCamera(m_cameraTransform, transform);
    float s = 1.0f;
    if (text->getRenderFlag() == 0) {
        VORNIC3D_CHECK(m_camera != nullptr);
        const float pixel = pixelSizeAt(split.depth);
        if (pixel > 0.0f)
            s = pixel;
    }
    const Transform place = placementOf(split, s, s, s);
    placeInBuffers(font->getTexture(), text->getAppearance(), true, "can not buffer texts (too small buffer size?)",
                   split.cameraTranslation,
                   [&](Mesh* mesh, int count) { return font->renderBitmapFontToMesh(mesh, count, text, place); });
}

} // namespace render
