#pragma once

#include "render/Object3D.h"

namespace render {

class Image2D;

// How a world or a render target is cleared: a colour (all four channels
// kept), the two clear switches, and an optional RGB or RGBA image shown
// through a crop rectangle, bordered or repeated per axis.
// Contract: only stores checked values; the image is held by counted
// reference and, once set, can be replaced but not removed. Setting it
// crops to the whole image.
class Background : public Object3D {
public:
    enum ImageMode { BORDER = 32, REPEAT = 33 };

    Background();
    ~Background() noexcept(false) override;

    // ---- clearing ----
    void setColor(unsigned int argb) { m_color = argb; }
    unsigned int getColor() const { return m_color; }
    void setDepthClearEnable(bool enable) { m_depthClearEnable = enable; }
    bool isDepthClearEnabled() const { return m_depthClearEnable; }
    void setColorClearEnable(bool enable) { m_colorClearEnable = enable; }
    bool isColorClearEnabled() const { return m_colorClearEnable; }

    // ---- image ----
    // An image of format RGB or RGBA.
    void setImage(Image2D* image);
    Image2D* getImage() const { return m_image.get(); }
    // Each BORDER or REPEAT.
    void setImageMode(int modeX, int modeY);
    int getImageModeX() const { return m_imageModeX; }
    int getImageModeY() const { return m_imageModeY; }
    // width and height >= 0; x and y may be negative.
    void setCrop(int x, int y, int width, int height);
    int getCropX() const { return m_cropX; }
    int getCropY() const { return m_cropY; }
    int getCropWidth() const { return m_cropWidth; }
    int getCropHeight() const { return m_cropHeight; }

private:
    unsigned int m_color = 0;
    core::Ref<Image2D> m_image;
    int m_imageModeX = BORDER;
    int m_imageModeY = BORDER;
    int m_cropX = 0;
    int m_cropY = 0;
    int m_cropWidth = 0;
    int m_cropHeight = 0;
    bool m_depthClearEnable = true;
    bool m_colorClearEnable = true;
};

} // namespace render
