#include "OGLESTest.h"
#include "OGLES_Graphics3DInspector.h"
#include "SceneGraphTest.h"

#include "Font2DBitmap.h"

#include "render/Appearance.h"
#include "render/Font2D.h"
#include "render/Text2D.h"

#include "File.h"

#include <vector>

namespace {

using render::Font2D;
using render::OGLES_Graphics3DInspector;
using render::Text2D;
using testsupport::nearColor;
using testsupport::outcomeOf;
using testsupport::refused;

using Picture = std::vector<std::string>;

class OGLESTextTest : public testsupport::OGLESTest {
protected:
    // The font is gone by then (TearDown).
    ~OGLESTextTest() noexcept override {}

    void SetUp() override
    {
        OGLESTest::SetUp();
        m_font = Font2D::createNewFont(nullptr);
        g3d().bindTarget(nullptr);
        clearTo(kBlack);
        useScreenCamera();
    }
    void TearDown() override
    {
        m_font = nullptr;
        OGLESTest::TearDown();
    }
    core::Ref<Text2D> text(const char* characters, Font2D* font = nullptr)
    {
        core::Ref<Text2D> result = VORNIC3D_NEW Text2D();
        result->setFont(font != nullptr ? font : m_font.get());
        result->setText(core::String(characters));
        return result;
    }
    // The eight rows of a glyph, each pixel `scale` x `scale`.
    static Picture glyph(std::initializer_list<unsigned char> rows, int scale)
    {
        Picture picture;
        for (const unsigned char row : rows) {
            std::string line;
            for (int column = 0; column < 8; ++column)
                line += std::string(static_cast<std::size_t>(scale), (row << column & 0x80) != 0 ? '#' : '.');
            for (int i = 0; i < scale; ++i)
                picture.push_back(line);
        }
        return picture;
    }

    core::Ref<Font2D> m_font;
};

} // namespace

// ---- the built-in font ----------------------------------------------------------------------------

TEST_F(OGLESTextTest, BuiltInGlyphsAreDrawnPixelForPixel)
{
    core::Ref<Text2D> a = text("A");
    g3d().render(a.get(), translation(3, 5, 0));
    a->setSize(16, 16);
    g3d().render(a.get(), translation(20, 5, 0));
    // An appearance of its own that culls back faces: the quads face the
    // camera.
    core::Ref<Text2D> line = text("AB 09:/-.");
    core::Ref<render::Appearance> culling = VORNIC3D_NEW render::Appearance();
    line->setAppearance(culling.get());
    g3d().render(line.get(), translation(0, 30, 0));
    g3d().releaseTarget();

    const auto a8 = glyph({0x7C, 0xC6, 0xC6, 0xFE, 0xC6, 0xC6, 0xC6, 0x00}, 1);
    EXPECT_EQ(pictureAt(3, 5, 8, 8), a8);
    EXPECT_EQ(pictureAt(20, 5, 16, 16), glyph({0x7C, 0xC6, 0xC6, 0xFE, 0xC6, 0xC6, 0xC6, 0x00}, 2));
    EXPECT_EQ(builtInTextAt(0, 30, 8), "AB 09:/-");
    EXPECT_EQ(OGLES_Graphics3DInspector::counters(g3d()).buffersUsed, 2);
}

TEST_F(OGLESTextTest, TextsThatCannotBeDrawnFailAndLeaveTheFrameAsItWas)
{
    const std::string fifteen(15, 'A');
    const struct {
        const char* name;
        std::string characters;
        testsupport::Outcome outcome;
    } cases[] = {
        {"a character outside the font", "Ab", refused("Font2D does not include a character which is used in this text")},
        {"longer than a buffer takes", fifteen, refused("can not buffer texts (too small buffer size?)")},
        {"just short enough", fifteen.substr(1), testsupport::accepted()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        core::Ref<Text2D> t = text(c.characters.c_str());
        EXPECT_EQ(outcomeOf([&] { g3d().render(t.get(), translation(0, 0, 0)); }), c.outcome);
    }
    g3d().releaseTarget();
    EXPECT_EQ(builtInTextAt(0, 0, 8), "AAAAAAAA");
    EXPECT_EQ(OGLES_Graphics3DInspector::counters(g3d()).buffersUsed, 1);
}

// ---- the game's fonts ------------------------------------------------------------------------------

// Each glyph is drawn at its cell's size exactly as the font image holds it,
// over the black frame.
TEST_F(OGLESTextTest, TheGamesFontsLoadAndDrawTheirImagesCells)
{
    const struct {
        const char* file;
        int width;
    } fonts[] = {
        {"media/simple_font_file.txt", 9},
        {"media/simple_font_file2.txt", 10},
    };
    const core::String folder = HAL::File::getWorkingDirectory();
    for (const auto& f : fonts) {
        SCOPED_TRACE(f.file);
        clearTo(kBlack);
        core::Ref<Font2D> font = Font2D::createNewFont((folder + f.file).c_str());
        EXPECT_EQ(font->getSizeX(), f.width);
        EXPECT_EQ(font->getSizeY(), 32);
        // An appearance of its own, which lets the font's image go with it:
        // the test's pool holds one such image at a time.
        core::Ref<Text2D> t = VORNIC3D_NEW Text2D(true);
        t->setFont(font.get());
        t->setText(core::String("K7"));
        g3d().render(t.get(), translation(1, 2, 0));
        g3d().releaseTarget();
        EXPECT_NE(extentOf(kBlack), "none");

        // The image the description names, as the font loaded it.
        const render::Image2D* image = dynamic_cast<render::Font2DBitmap&>(*font).getTexture()->getImage();
        EXPECT_EQ(image->getWidth(), 512);
        // 'K' is the 11th cell, '7' the 35th.
        int differences = 0;
        for (const int cell : {10, 34})
            for (int row = 0; row < 32; ++row)
                for (int column = 0; column < f.width; ++column) {
                    const unsigned char* p =
                        image->getPixels() + 4 * (row * image->getWidth() + cell * f.width + column);
                    const auto over = [&](int channel) { return static_cast<std::uint32_t>(p[channel] * p[3] / 255); };
                    const std::uint32_t expected = 0xFF000000u | over(0) << 16 | over(1) << 8 | over(2);
                    const int x = 1 + (cell == 34 ? f.width : 0) + column;
                    const std::uint32_t drawn = pixelAt(x, 2 + 31 - row) | 0xFF000000u;
                    differences += nearColor(drawn, expected) ? 0 : 1;
                }
        EXPECT_EQ(differences, 0);
        g3d().bindTarget(nullptr);
    }
}
