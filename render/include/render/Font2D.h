#pragma once

#include "render/Object3D.h"

namespace render {

// A font for texts: glyphs in character cells of one size. The bitmap font
// is the only kind; the renderer's text pass asks it for the quads.
// Contract: abstract; fonts are made by createNewFont, whose caller takes
// the first reference. Cell sizes are in pixels, the renderer's text unit.
class Font2D : public Object3D {
public:
    ~Font2D() noexcept(false) override;

    virtual int getSizeX() = 0;
    virtual int getSizeY() = 0;

    // No file name: the built-in font. Otherwise the file must start with
    // the byte 'B' (a bitmap-font description); anything else logs and
    // throws "createNewFont : can not create a font". The file is closed
    // and released on every path.
    static Font2D* createNewFont(const char* fileName);

protected:
    Font2D();
};

} // namespace render
