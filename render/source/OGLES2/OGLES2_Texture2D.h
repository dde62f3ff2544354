#pragma once

#include "render/Texture2D.h"

namespace render {

// The OpenGL ES texture: one device texture name holding the whole image
// with mipmaps the device generates, and the image's sampling settings.
// Contract: made by the renderer (createNewTexture) while its display's
// context is current, which stays current for the texture's life. Every
// setImage, including those the sampling setters issue, deletes the name and
// uploads anew under a new one; a refused image (not a power of two from 1
// to 32768 on either side) changes nothing, while an unknown format, filter
// or blending value throws Vornic3DException itself after the image was
// taken, leaving the previous upload on the device. One- and two-channel
// images and palette images are repacked for the device on the way, as the
// image keeps every format but RGB at four bytes a pixel.
class OGLES2_Texture2D : public Texture2D {
public:
    explicit OGLES2_Texture2D(Image2D* image = nullptr);
    // Deletes the device texture (name 0 is ignored by the device).
    ~OGLES2_Texture2D() noexcept(false) override;

    void setImage(Image2D* image) override;

    // The device texture name; 0 before the first upload.
    unsigned int getGLTexture() const { return m_glTexture; }

    // ---- device values, 0 for a value the device has none for ----
    // The pixel format of an Image2D format.
    static unsigned int getDeviceFormat(int imageFormat);
    // The texture environment mode of a Texture2D blending.
    static int getEnvironmentMode(int blending);

private:
    void deleteGLTexture();

    unsigned int m_glTexture = 0;
};

} // namespace render
