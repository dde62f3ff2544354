#include "render/Sprite3D.h"

#include "BatchMesh.h"

#include "render/Appearance.h"
#include "render/Graphics3D.h"
#include "render/Graphics3DProperties.h"
#include "render/Image2D.h"
#include "render/IndexBuffer.h"
#include "render/Mesh.h"
#include "render/Texture2D.h"
#include "render/VertexBuffer.h"

#include "core/Assert.h"
#include "slmath/vec3.h"

#include <algorithm>
#include <cmath>

namespace render {

namespace {

// The stored range of a position; the comparisons are false for NaN.
bool isPositionInRange(float value)
{
    return value >= -32767.0f && value <= 32766.0f;
}

bool isTexelInRange(float value)
{
    return value >= -32768.0f && value <= 32767.0f;
}

} // namespace

// ---- life cycle -------------------------------------------------------------

Sprite3D::Sprite3D(bool scaled, Image2D* image, Appearance* appearance)
    : m_image(image), m_appearance(appearance), m_scaled(scaled)
{
    VORNIC3D_ASSERT(image != nullptr, "Sprite3D constructor failed. image parameter is 0");
    m_texture = createTextureFromImage(image);
    initSprite3D();
}

// The members go in reverse order: image, appearance, texture, transform.
Sprite3D::~Sprite3D() noexcept(false) = default;

void Sprite3D::initSprite3D()
{
    VORNIC3D_CHECK(m_image != nullptr);
    const int width = m_image->getWidth();
    const int height = m_image->getHeight();
    setCrop(0, 0, width, height);
    m_textureAspect = static_cast<float>(width) / static_cast<float>(height);
    m_quadAspect = m_textureAspect;
    m_texelScale = 1.0f / static_cast<float>(width);
}

// ---- image and texture ------------------------------------------------------------

void Sprite3D::setImage(Image2D* image)
{
    VORNIC3D_ASSERT(image != nullptr, "Sprite3D setImage failed. image parameter is 0");
    checkCrop(0, 0, image->getWidth(), image->getHeight());
    core::Ref<Texture2D> texture = createTextureFromImage(image);
    m_image = image;
    m_texture = texture;
    // The aspects and the texel scale follow the new image too; kept from
    // the old one, an image of another size would draw stretched.
    initSprite3D();
}

Image2D* Sprite3D::getImage() const
{
    VORNIC3D_ASSERT(m_image != nullptr, "Sprite3D getImage failed. Sprite3D does not have an image");
    return m_image.get();
}

Texture2D* Sprite3D::getTexture() const
{
    VORNIC3D_ASSERT(m_texture != nullptr, "Sprite3D getTexture failed. Sprite3D does not have a texture");
    return m_texture.get();
}

// ---- crop and sprite transform --------------------------------------------------------

void Sprite3D::setCrop(int x, int y, int width, int height)
{
    checkCrop(x, y, width, height);
    m_cropX = x;
    m_cropY = y;
    m_cropWidth = width;
    m_cropHeight = height;
}

// Summed wide: the values are not bounded below.
void Sprite3D::checkCrop(long long x, long long y, long long width, long long height) const
{
    Graphics3D* graphics = Graphics3D::getInstance();
    VORNIC3D_CHECK(graphics != nullptr);
    const int limit = graphics->getProperties().maxSpriteCropDimension;
    VORNIC3D_ASSERT(x + width <= limit && y + height <= limit,
                    "Sprite3D setCrop failed. width or height parameter is too big");
}

void Sprite3D::setSpriteTransform(const Transform* transform)
{
    if (transform == nullptr) {
        m_spriteTransformEnabled = false;
        return;
    }
    m_spriteTransform = *transform;
    m_spriteTransformEnabled = true;
}

// ---- batching ---------------------------------------------------------------------------

// Each point (x, y, z) is turned about the centre by the sprite transform,
// whose translation is added too, and truncated; the caller range-checks
// the floats before they become 16-bit values.
void Sprite3D::rotateXYZPoints(float* points, int count, float cx, float cy, float cz) const
{
    VORNIC3D_CHECK(count > 0);
    VORNIC3D_CHECK(points != nullptr);
    for (int i = 0; i < count; ++i) {
        float* p = points + 3 * i;
        const slmath::vec3 d(p[0] - cx, p[1] - cy, p[2] - cz);
        Transform moved = m_spriteTransform;
        moved.postTranslate(d.x, d.y, d.z);
        float m[16];
        moved.get(m);
        p[0] = std::trunc(m[3] + cx);
        p[1] = std::trunc(m[7] + cy);
        p[2] = std::trunc(m[11] + cz);
    }
}

// The crop cut to the image: it sizes and textures the quad, while the
// crop as set places it.
void Sprite3D::clampCrop(const Image2D& image, long long* width, long long* height) const
{
    *width = m_cropWidth;
    if (m_cropX + *width > image.getWidth())
        *width = image.getWidth() - m_cropX;
    *height = m_cropHeight;
    if (m_cropY + *height > image.getHeight())
        *height = image.getHeight() - m_cropY;
}

// Only the translation and the x and y scale of the transform are used.
// Every value stays a float until its range is checked: converting one out
// of range would be undefined.
void Sprite3D::computeCorners(const Image2D& image, const Transform& transform, float* corners) const
{
    float m[16];
    transform.get(m);
    const float cx = std::trunc(m[3] * kFixedPointUnits);
    const float cy = std::trunc(m[7] * kFixedPointUnits);
    const float cz = std::trunc(m[11] * kFixedPointUnits);
    const float sx = m[0];
    const float sy = m[5];
    long long cw = 0;
    long long ch = 0;
    clampCrop(image, &cw, &ch);
    const float w = static_cast<float>(image.getWidth());
    const float quadHeight = static_cast<float>(image.getHeight()) * m_quadAspect;
    const float left = std::trunc(cx - static_cast<float>(m_cropWidth) * sx * 5.0f / w);
    const float top = std::trunc(cy + static_cast<float>(m_cropHeight) * sy * 5.0f / quadHeight);
    const float right = std::trunc(left + static_cast<float>(cw) * sx * 10.0f / w);
    const float bottom = std::trunc(top - static_cast<float>(ch) * sy * 10.0f / quadHeight);
    VORNIC3D_ASSERT(isPositionInRange(left), "Sprite3D rendering failed because x-position is invalid");
    VORNIC3D_ASSERT(isPositionInRange(top), "Sprite3D rendering failed because y-position is invalid");
    VORNIC3D_ASSERT(isPositionInRange(cz), "Sprite3D rendering failed because z-position is invalid");
    VORNIC3D_ASSERT(isPositionInRange(right), "Sprite3D rendering failed because x+width-position is invalid");
    VORNIC3D_ASSERT(isPositionInRange(bottom), "Sprite3D rendering failed because y+height-position is invalid");

    const float quad[12] = {right, bottom, cz, left, bottom, cz, left, top, cz, right, top, cz};
    std::copy(quad, quad + 12, corners);
    if (!m_spriteTransformEnabled)
        return;
    rotateXYZPoints(corners, 4, cx, cy, cz);
    for (int i = 0; i < 12; i += 3) {
        VORNIC3D_ASSERT(isPositionInRange(corners[i]), "Sprite3D rendering failed because x-position is invalid");
        VORNIC3D_ASSERT(isPositionInRange(corners[i + 1]), "Sprite3D rendering failed because y-position is invalid");
        VORNIC3D_ASSERT(isPositionInRange(corners[i + 2]), "Sprite3D rendering failed because z-position is invalid");
    }
}

// s in texels; t stretched by the aspect, so that the texel scale
// (1 / width) serves both axes. The stretched values must still fit.
void Sprite3D::computeTexels(const Image2D& image, short* texels) const
{
    long long cw = 0;
    long long ch = 0;
    clampCrop(image, &cw, &ch);
    const long long s0 = m_cropX;
    const long long s1 = m_cropX + cw;
    VORNIC3D_CHECK(s1 <= 32767);
    VORNIC3D_CHECK(m_cropY + ch <= 32767);
    VORNIC3D_CHECK(s1 >= -32768);
    VORNIC3D_CHECK(m_cropY + ch >= -32768);
    VORNIC3D_CHECK(s0 >= -32767 && s0 <= 32766);
    VORNIC3D_CHECK(m_cropY >= -32767 && m_cropY <= 32766);
    const float tBottom = std::trunc(static_cast<float>(m_cropY + ch) * m_textureAspect);
    const float tTop = std::trunc(static_cast<float>(m_cropY) * m_textureAspect);
    VORNIC3D_CHECK(isTexelInRange(tBottom) && isTexelInRange(tTop));
    const long long quad[8] = {s1, static_cast<long long>(tBottom), s0, static_cast<long long>(tBottom),
                               s0, static_cast<long long>(tTop),    s1, static_cast<long long>(tTop)};
    for (int i = 0; i < 8; ++i)
        texels[i] = static_cast<short>(quad[i]);
}

int Sprite3D::renderSprite3DToMesh(Mesh* mesh, int indexCount, const Transform& transform) const
{
    VORNIC3D_CHECK(mesh != nullptr);
    VORNIC3D_CHECK(m_texture != nullptr);
    VORNIC3D_ASSERT(m_appearance != nullptr, "renderSprite3DToMesh failed because appearance is 0");
    const Image2D* image = m_texture->getImage();
    VORNIC3D_CHECK(image != nullptr);
    const BatchMeshArrays arrays = batchMeshArrays(mesh, indexCount);

    // Room for four vertices behind the last quad and six indices. The
    // quad's own indices are made from the base vertex, so they never point
    // past the room tested here.
    const int base = arrays.baseVertex(indexCount);
    if (arrays.vertexRoom < base + 4 || indexCount + 6 > arrays.triangles->getCapacity())
        return indexCount;

    float corners[12];
    computeCorners(*image, transform, corners);
    short texels[8];
    computeTexels(*image, texels);

    // Nothing is changed before every check has passed.
    arrays.vertices->setTexScaleBias(0, m_texelScale, nullptr);
    arrays.vertices->setPositionScaleBias(kFixedPointScale, nullptr);
    short* p = arrays.positions + 3 * base;
    for (int i = 0; i < 12; ++i)
        p[i] = static_cast<short>(corners[i]);
    std::copy(texels, texels + 8, arrays.texels + 2 * base);
    // Two counter-clockwise triangles: (0, 3, 1) and (2, 1, 3).
    const int order[6] = {0, 3, 1, 2, 1, 3};
    for (int i = 0; i < 6; ++i)
        arrays.indices[indexCount + i] = static_cast<unsigned short>(base + order[i]);
    return indexCount + 6;
}

} // namespace render
