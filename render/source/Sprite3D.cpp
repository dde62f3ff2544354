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
    m_texelsKnown = false;
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
// the floats before they become 16-bit values. The point's offset d from the
// centre becomes the translation column of S x T(d), summed term by term as
// Transform::postTranslate sums it; a sprite transform or a column that is
// not finite takes that product itself, which fails as it always has.
void Sprite3D::rotateXYZPoints(float* points, int count, float cx, float cy, float cz) const
{
    VORNIC3D_CHECK(count > 0);
    VORNIC3D_CHECK(points != nullptr);
    slmath::mat4 rows(1.0f);
    m_spriteTransform.getMatrix(rows);
    const bool finite = slmath::isFinite(rows);
    for (int i = 0; i < count; ++i) {
        float* p = points + 3 * i;
        const slmath::vec3 d(p[0] - cx, p[1] - cy, p[2] - cz);
        float column[4];
        bool columnFinite = true;
        for (unsigned row = 0; row < 4; ++row) {
            const slmath::vec4& s = rows[row];
            column[row] = ((s.w + d.z * s.z) + d.y * s.y) + d.x * s.x;
            columnFinite = columnFinite && slmath::isFinite(column[row]);
        }
        if (!finite || !columnFinite) {
            Transform moved = m_spriteTransform;
            moved.postTranslate(d.x, d.y, d.z);
            float m[16];
            moved.get(m);
            column[0] = m[3];
            column[1] = m[7];
            column[2] = m[11];
        }
        p[0] = std::trunc(column[0] + cx);
        p[1] = std::trunc(column[1] + cy);
        p[2] = std::trunc(column[2] + cz);
    }
}

// The crop cut to the image: it sizes and textures the quad, while the
// crop as set places it.
Sprite3D::CropSize Sprite3D::clampCrop(const Image2D& image) const
{
    CropSize crop = {m_cropWidth, m_cropHeight};
    if (m_cropX + crop.width > image.getWidth())
        crop.width = image.getWidth() - m_cropX;
    if (m_cropY + crop.height > image.getHeight())
        crop.height = image.getHeight() - m_cropY;
    return crop;
}

// Only the translation and the x and y scale of the transform are used.
// Every value stays a float until its range is checked: converting one out
// of range would be undefined.
Sprite3D::QuadEdges Sprite3D::computeEdges(const Image2D& image, const CropSize& crop,
                                           const QuadPlacement& placement) const
{
    QuadEdges edges;
    edges.cx = std::trunc(placement.x * kFixedPointUnits);
    edges.cy = std::trunc(placement.y * kFixedPointUnits);
    edges.cz = std::trunc(placement.z * kFixedPointUnits);
    const float sx = placement.scaleX;
    const float sy = placement.scaleY;
    const float w = static_cast<float>(image.getWidth());
    const float quadHeight = static_cast<float>(image.getHeight()) * m_quadAspect;
    // Each term is truncated before it is added, so an edge never depends on
    // the sign of the sum it lands in.
    edges.left = edges.cx - std::trunc(static_cast<float>(m_cropWidth) * sx * 5.0f / w);
    edges.top = edges.cy + std::trunc(static_cast<float>(m_cropHeight) * sy * 5.0f / quadHeight);
    edges.right = edges.left + std::trunc(static_cast<float>(crop.width) * sx * 10.0f / w);
    edges.bottom = edges.top - std::trunc(static_cast<float>(crop.height) * sy * 10.0f / quadHeight);
    VORNIC3D_ASSERT(isPositionInRange(edges.left), "Sprite3D rendering failed because x-position is invalid");
    VORNIC3D_ASSERT(isPositionInRange(edges.top), "Sprite3D rendering failed because y-position is invalid");
    VORNIC3D_ASSERT(isPositionInRange(edges.cz), "Sprite3D rendering failed because z-position is invalid");
    VORNIC3D_ASSERT(isPositionInRange(edges.right), "Sprite3D rendering failed because x+width-position is invalid");
    VORNIC3D_ASSERT(isPositionInRange(edges.bottom), "Sprite3D rendering failed because y+height-position is invalid");
    return edges;
}

// The corners counter-clockwise from the lower right, turned about the
// centre by the sprite transform.
Sprite3D::QuadCorners Sprite3D::turnCorners(const QuadEdges& edges) const
{
    float points[12] = {edges.right, edges.bottom, edges.cz, edges.left,  edges.bottom, edges.cz,
                        edges.left,  edges.top,    edges.cz, edges.right, edges.top,    edges.cz};
    rotateXYZPoints(points, 4, edges.cx, edges.cy, edges.cz);
    QuadCorners corners;
    for (int i = 0; i < 4; ++i) {
        corners.x[i] = points[3 * i];
        corners.y[i] = points[3 * i + 1];
        corners.z[i] = points[3 * i + 2];
        VORNIC3D_ASSERT(isPositionInRange(corners.x[i]), "Sprite3D rendering failed because x-position is invalid");
        VORNIC3D_ASSERT(isPositionInRange(corners.y[i]), "Sprite3D rendering failed because y-position is invalid");
        VORNIC3D_ASSERT(isPositionInRange(corners.z[i]), "Sprite3D rendering failed because z-position is invalid");
    }
    return corners;
}

// s in texels; t stretched by the aspect, so that the texel scale
// (1 / width) serves both axes. The stretched values must still fit.
Sprite3D::TexelEdges Sprite3D::computeTexels(const CropSize& crop) const
{
    const long long cw = crop.width;
    const long long ch = crop.height;
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
    return {static_cast<short>(s0), static_cast<short>(s1), static_cast<short>(tBottom), static_cast<short>(tTop)};
}

int Sprite3D::renderSprite3DToMesh(Mesh* mesh, int indexCount, const Transform& transform) const
{
    VORNIC3D_CHECK(mesh != nullptr);
    const Image2D& image = imageToBatch();
    const BatchMeshArrays arrays = batchMeshArrays(mesh, indexCount);
    float m[16];
    transform.get(m);
    return appendQuad(image, arrays, indexCount, {m[3], m[7], m[11], m[0], m[5]});
}

int Sprite3D::renderSprite3DToMesh(const BatchMeshArrays& arrays, int indexCount, const QuadPlacement& placement) const
{
    const Image2D& image = imageToBatch();
    // The index count is checked as batchMeshArrays checks it.
    VORNIC3D_CHECK(indexCount >= 0 && indexCount <= arrays.triangles->getCapacity());
    return appendQuad(image, arrays, indexCount, placement);
}

const Image2D& Sprite3D::imageToBatch() const
{
    VORNIC3D_CHECK(m_texture != nullptr);
    VORNIC3D_ASSERT(m_appearance != nullptr, "renderSprite3DToMesh failed because appearance is 0");
    const Image2D* image = m_texture->getImage();
    VORNIC3D_CHECK(image != nullptr);
    return *image;
}

// A function of the crop (set, and cut to the image) and the texture aspect
// alone: a sprite drawn again with them unchanged reuses its texels, which
// passed their checks with the same values.
Sprite3D::TexelEdges Sprite3D::texelsFor(const CropSize& crop) const
{
    const long long key[4] = {m_cropX, m_cropY, crop.width, crop.height};
    if (!m_texelsKnown || !std::equal(key, key + 4, m_texelsCrop)) {
        m_texels = computeTexels(crop);
        std::copy(key, key + 4, m_texelsCrop);
        m_texelsKnown = true;
    }
    return m_texels;
}

// The corners and texels are kept apart from the arrays until every check
// has passed; each value is then written on its own.
int Sprite3D::appendQuad(const Image2D& image, const BatchMeshArrays& arrays, int indexCount,
                         const QuadPlacement& placement) const
{
    // Room for four vertices behind the last quad and six indices. The
    // quad's own indices are made from the base vertex, so they never point
    // past the room tested here.
    const int base = arrays.baseVertex(indexCount);
    if (arrays.vertexRoom < base + 4 || indexCount + 6 > arrays.triangles->getCapacity())
        return indexCount;

    const CropSize crop = clampCrop(image);
    const QuadEdges edges = computeEdges(image, crop, placement);
    QuadCorners turned{};
    if (m_spriteTransformEnabled)
        turned = turnCorners(edges);
    const TexelEdges texels = texelsFor(crop);

    // Nothing is changed before every check has passed. Corners and their
    // texels go counter-clockwise from the lower right.
    arrays.vertices->setTexScaleBias(0, m_texelScale, nullptr);
    arrays.vertices->setPositionScaleBias(kFixedPointScale, nullptr);
    short* p = arrays.positions + 3 * base;
    if (m_spriteTransformEnabled) {
        for (int i = 0; i < 4; ++i) {
            p[3 * i] = static_cast<short>(turned.x[i]);
            p[3 * i + 1] = static_cast<short>(turned.y[i]);
            p[3 * i + 2] = static_cast<short>(turned.z[i]);
        }
    } else {
        const auto z = static_cast<short>(edges.cz);
        const auto corner = [p, z](int i, float x, float y) {
            p[3 * i] = static_cast<short>(x);
            p[3 * i + 1] = static_cast<short>(y);
            p[3 * i + 2] = z;
        };
        corner(0, edges.right, edges.bottom);
        corner(1, edges.left, edges.bottom);
        corner(2, edges.left, edges.top);
        corner(3, edges.right, edges.top);
    }
    short* t = arrays.texels + 2 * base;
    const auto texel = [t](int i, short s, short tt) {
        t[2 * i] = s;
        t[2 * i + 1] = tt;
    };
    texel(0, texels.right, texels.bottom);
    texel(1, texels.left, texels.bottom);
    texel(2, texels.left, texels.top);
    texel(3, texels.right, texels.top);
    // Two counter-clockwise triangles: (0, 3, 1) and (2, 1, 3).
    const int order[6] = {0, 3, 1, 2, 1, 3};
    for (int i = 0; i < 6; ++i)
        arrays.indices[indexCount + i] = static_cast<unsigned short>(base + order[i]);
    return indexCount + 6;
}

} // namespace render
