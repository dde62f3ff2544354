#pragma once

#include "core/String.h"
#include "render/Node.h"

#include <cstdint>

namespace render {

class Appearance;
class Font2D;

// A node that shows one line of text in a font, each character drawn in a
// cell of getSizeX x getSizeY pixels.
// Contract: ready to draw once it has a font, which also sets the cell size
// (setSize may change it afterwards). Texts made without an appearance of
// their own share one default appearance (culling off, alpha blending, no
// depth test or write, white material), so they fall into one batch; it is
// kept in core::Globals without a reference, lives as long as a holder, and
// the next text builds a new one after it died. Setters check before they
// store.
class Text2D : public Node {
public:
    // ownAppearance: a new appearance of its own instead of the shared one.
    explicit Text2D(bool ownAppearance = false);
    ~Text2D() noexcept(false) override;

    void setText(const core::String& text) { m_text = text; }
    core::String& getText() { return m_text; }

    // ---- cell size in pixels, 1..32767 each ----
    void setSize(int x, int y);
    int getSizeX() const;
    int getSizeY() const;

    // ---- font and appearance ----
    // Holds the font and takes its cell size.
    void setFont(Font2D* font);
    // Logs and throws without a font.
    Font2D* getFont() const;
    // Null allowed; the text then cannot be drawn until it has one again.
    void setAppearance(Appearance* appearance);
    Appearance* getAppearance() const;

    // Always 0: the text is sized in screen pixels in perspective views.
    unsigned char getRenderFlag() const { return m_renderFlag; }

private:
    void createDefaultAppearance(bool ownAppearance);

    core::String m_text;
    core::Ref<Font2D> m_font;
    core::Ref<Appearance> m_appearance;
    std::int16_t m_sizeX = 0;
    std::int16_t m_sizeY = 0;
    unsigned char m_renderFlag = 0;
};

} // namespace render
