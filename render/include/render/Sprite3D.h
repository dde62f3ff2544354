#pragma once

#include "render/Node.h"
#include "render/Transform.h"

namespace render {

class Appearance;
struct BatchMeshArrays;
class Image2D;
class Mesh;
struct QuadPlacement;
class Texture2D;

// A node drawn as one textured, camera-facing rectangle cut from an image
// (the crop, in image pixels), with an optional extra transform of its own
// that turns the rectangle's corners about its centre.
// Contract: made only while the renderer singleton exists, which makes the
// sprite's own texture from the image's pixels at construction and at each
// setImage, and bounds the crop (maxSpriteCropDimension). Sprites are never
// drawn one by one: the renderer's batching appends each as one quad to a
// shared batch mesh with renderSprite3DToMesh, in 16-bit fixed point (ten
// units per model unit, texture coordinates in texels). The appearance may
// be null; the batching then refuses the sprite.
class Sprite3D : public Node {
public:
    Sprite3D(bool scaled, Image2D* image, Appearance* appearance);
    ~Sprite3D() noexcept(false) override;

    // ---- image and texture ----
    // Makes a new texture from the image and crops to the whole image.
    void setImage(Image2D* image);
    Image2D* getImage() const;
    Texture2D* getTexture() const;
    Appearance* getAppearance() const { return m_appearance.get(); }
    // Read by the batching: a scaled sprite is crop-sized in world units.
    bool isScaled() const { return m_scaled; }

    // ---- crop ----
    // x + width and y + height within the renderer's bound; negative values
    // are allowed (the quad then leaves the image).
    void setCrop(int x, int y, int width, int height);
    int getCropWidth() const { return m_cropWidth; }
    int getCropHeight() const { return m_cropHeight; }

    // Null removes the extra transform; otherwise it is copied.
    void setSpriteTransform(const Transform* transform);

    // ---- batching ----
    // Appends the quad (4 vertices, 6 indices) behind the first indexCount
    // indices of the mesh's submesh 0, placed by the transform's translation
    // and sized by its x and y scale; sets the mesh's position and texture
    // scales. Returns the new index count, or indexCount unchanged (and the
    // mesh untouched) when the quad does not fit. The mesh must have 16-bit
    // positions of 3 and texture coordinates of 2 components.
    int renderSprite3DToMesh(Mesh* mesh, int indexCount, const Transform& transform) const;
    // The same for the renderer's batch buffers: the mesh's arrays as
    // batchMeshArrays gave them once, and the transform's translation and x
    // and y scale, all of it that places the quad.
    int renderSprite3DToMesh(const BatchMeshArrays& arrays, int indexCount, const QuadPlacement& placement) const;

private:
    // A quad in fixed point: its edges and centre; its corners, counter-
    // clockwise from the lower right, once a sprite transform turned them;
    // and the texture coordinates of its edges.
    struct QuadEdges {
        float left;
        float right;
        float top;
        float bottom;
        float cx;
        float cy;
        float cz;
    };
    struct QuadCorners {
        float x[4];
        float y[4];
        float z[4];
    };
    struct TexelEdges {
        short left;
        short right;
        short bottom;
        short top;
    };
    // The crop cut to the image: it sizes and textures the quad, while the
    // crop as set places it. Summed wide: the crop is not bounded below.
    struct CropSize {
        long long width;
        long long height;
    };

    void initSprite3D();
    void checkCrop(long long x, long long y, long long width, long long height) const;
    void rotateXYZPoints(float* points, int count, float cx, float cy, float cz) const;
    CropSize clampCrop(const Image2D& image) const;
    // The checks every quad begins with; the image of the sprite's texture.
    const Image2D& imageToBatch() const;
    int appendQuad(const Image2D& image, const BatchMeshArrays& arrays, int indexCount,
                   const QuadPlacement& placement) const;
    // Range-checked.
    QuadEdges computeEdges(const Image2D& image, const CropSize& crop, const QuadPlacement& placement) const;
    QuadCorners turnCorners(const QuadEdges& edges) const;
    TexelEdges computeTexels(const CropSize& crop) const;
    TexelEdges texelsFor(const CropSize& crop) const;

    core::Ref<Image2D> m_image;
    core::Ref<Appearance> m_appearance;
    core::Ref<Texture2D> m_texture;
    Transform m_spriteTransform;
    float m_textureAspect = 1.0f;
    float m_quadAspect = 1.0f;
    float m_texelScale = 1.0f;
    int m_cropX = 0;
    int m_cropY = 0;
    int m_cropWidth = 0;
    int m_cropHeight = 0;
    bool m_scaled;
    bool m_spriteTransformEnabled = false;
    // The texels of the last quad and the crop they were made from (x, y
    // and the size cut to the image); unknown after a new image, whose
    // aspect they depend on too.
    mutable TexelEdges m_texels{};
    mutable long long m_texelsCrop[4] = {};
    mutable bool m_texelsKnown = false;
};

} // namespace render
