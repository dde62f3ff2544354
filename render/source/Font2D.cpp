#include "render/Font2D.h"

#include "Font2DBitmap.h"

#include "hal/File.h"

#include "core/Assert.h"
#include "core/String.h"

namespace render {

namespace {

// ---- bitmap fonts -------------------------------------------------------------
//
// The one kind of font is the bitmap font: the built-in one, and the one that
// reads the rest of an open description file after its 'B'.

Font2D* createBuiltInFont()
{
    return VORNIC3D_NEW Font2DBitmap();
}

Font2D* createBitmapFont(HAL::File* file)
{
    return VORNIC3D_NEW Font2DBitmap(file);
}

} // namespace

// ---- life cycle -------------------------------------------------------------

Font2D::Font2D() = default;

Font2D::~Font2D() noexcept(false) = default;

// ---- making fonts ---------------------------------------------------------------

Font2D* Font2D::createNewFont(const char* fileName)
{
    if (fileName == nullptr)
        return createBuiltInFont();
    // Released, and so closed, on every way out, the font reader's failures
    // included.
    const core::Ref<HAL::File> file = HAL::File::createFileHandle(core::String(fileName));
    VORNIC3D_CHECK(file != nullptr);
    file->fopen("r");
    unsigned char first = 0;
    const bool isBitmapFont = file->fread(&first, 1) == 1 && first == 'B';
    VORNIC3D_ASSERT(isBitmapFont, "createNewFont : can not create a font");
    Font2D* font = createBitmapFont(file.get());
    VORNIC3D_CHECK(font != nullptr);
    return font;
}

} // namespace render
