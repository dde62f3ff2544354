#pragma once

#include "render/Transformable.h"

namespace render {

class Image2D;

// The scene-graph side of a texture: the image it shows and how it is
// sampled and combined (blend colour, blending function, wrapping,
// filtering); its transformable part is the texture-coordinate transform.
// Contract: abstract; textures come from Graphics3D::createNewTexture, whose
// back end fills setImage: it holds the image in m_image and rebuilds the
// device texture. Every sampling setter calls setImage again with the held
// image, so the device texture follows each change; their values are
// checked only by the back end then, so a bad value stored while no image is
// held fails at the next setImage.
class Texture2D : public Transformable {
public:
    enum Blending { FUNC_ADD = 224, FUNC_BLEND = 225, FUNC_DECAL = 226, FUNC_MODULATE = 227, FUNC_REPLACE = 228 };
    enum Wrapping { WRAP_CLAMP = 240, WRAP_REPEAT = 241 };
    enum Filter { FILTER_BASE_LEVEL = 208, FILTER_LINEAR = 209, FILTER_NEAREST = 210 };

    ~Texture2D() noexcept(false) override;

    virtual void setImage(Image2D* image) = 0;
    // Null when none.
    Image2D* getImage() const { return m_image.get(); }

    // ---- sampling (each calls setImage again while an image is held) ----
    // RGB only: an alpha byte of 0xFF is refused, any other is dropped.
    void setBlendColor(unsigned int rgb);
    unsigned int getBlendColor() const { return m_blendColor; }
    void setBlending(int function);
    int getBlending() const { return m_blending; }
    void setFiltering(int levelFilter, int imageFilter);
    int getLevelFilter() const { return m_levelFilter; }
    int getImageFilter() const { return m_imageFilter; }
    void setWrapping(int wrapS, int wrapT);
    int getWrappingS() const { return m_wrappingS; }
    int getWrappingT() const { return m_wrappingT; }

protected:
    Texture2D();

    // Set by the back end's setImage.
    core::Ref<Image2D> m_image;

private:
    void reapplyImage();

    unsigned int m_blendColor = 0;
    int m_blending = FUNC_MODULATE;
    int m_wrappingS = WRAP_REPEAT;
    int m_wrappingT = WRAP_REPEAT;
    int m_levelFilter = FILTER_BASE_LEVEL;
    int m_imageFilter = FILTER_NEAREST;
};

} // namespace render
