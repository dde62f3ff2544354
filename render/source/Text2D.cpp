#include "render/Text2D.h"

#include "OverlayAppearance.h"

#include "render/Appearance.h"
#include "render/Font2D.h"

#include "core/Assert.h"
#include "core/Globals.h"

namespace render {

namespace {

// The cell sizes are kept in 16 bits.
constexpr int kMaxSize = 32767;

} // namespace

// ---- life cycle -------------------------------------------------------------

Text2D::Text2D(bool ownAppearance) : m_text(" ")
{
    createDefaultAppearance(ownAppearance);
}

// The members go in reverse order: appearance, font, then the text.
Text2D::~Text2D() noexcept(false) = default;

// The shared appearance is registered without a reference: the texts keep
// it alive, and it clears the slot when it dies.
void Text2D::createDefaultAppearance(bool ownAppearance)
{
    core::Globals* globals = core::Globals::get();
    VORNIC3D_CHECK(globals != nullptr);
    if (globals->m_defaultTextAppearance != nullptr && !ownAppearance) {
        m_appearance = globals->m_defaultTextAppearance;
        return;
    }
    core::Ref<Appearance> appearance = createOverlayAppearance();
    m_appearance = appearance;
    if (!ownAppearance)
        globals->m_defaultTextAppearance = appearance.get();
}

// ---- cell size ----------------------------------------------------------------------
//
// A size beyond 16 bits is refused here rather than stored wrapped, where
// it would fail only when the text is drawn.

void Text2D::setSize(int x, int y)
{
    VORNIC3D_ASSERT(x >= 1, "Text2D : setSize failed because size_in_pixels_x value is too small");
    VORNIC3D_ASSERT(y >= 1, "Text2D : setSize failed because size_in_pixels_y value is too small");
    VORNIC3D_CHECK(x <= kMaxSize && y <= kMaxSize);
    m_sizeX = static_cast<std::int16_t>(x);
    m_sizeY = static_cast<std::int16_t>(y);
}

int Text2D::getSizeX() const
{
    VORNIC3D_CHECK(m_sizeX >= 1);
    return m_sizeX;
}

int Text2D::getSizeY() const
{
    VORNIC3D_CHECK(m_sizeY >= 1);
    return m_sizeY;
}

// ---- font and appearance --------------------------------------------------------------

// The font is held before its sizes are taken: a font with a bad size
// fails here with the font already set.
void Text2D::setFont(Font2D* font)
{
    VORNIC3D_ASSERT(font != nullptr, "Text2D setFont failed because font parameter is 0");
    m_font = font;
    setSize(font->getSizeX(), font->getSizeY());
}

Font2D* Text2D::getFont() const
{
    VORNIC3D_ASSERT(m_font != nullptr, "Text2D does not have a font");
    VORNIC3D_CHECK(m_sizeX >= 1 && m_sizeY >= 1);
    return m_font.get();
}

void Text2D::setAppearance(Appearance* appearance)
{
    m_appearance = appearance;
}

Appearance* Text2D::getAppearance() const
{
    VORNIC3D_CHECK(m_appearance != nullptr);
    return m_appearance.get();
}

} // namespace render
