#include "BatchMeshes.h"
#include "SceneGraphTest.h"

#include "Font2DBitmap.h"
#include "PngWriter.h"
#include "TempFolder.h"

#include "render/FontException.h"
#include "render/Image2D.h"
#include "render/Mesh.h"
#include "render/Text2D.h"
#include "render/TriangleListArray.h"
#include "render/VertexArray.h"
#include "render/VertexBuffer.h"

#include "File.h"
#include "HALException.h"

#include "core/IOException.h"

#include <algorithm>
#include <cstring>
#include <vector>

using render::Font2D;
using render::Font2DBitmap;
using render::Mesh;
using render::Transform;
using render::VertexArray;
using testsupport::batchMesh;
using testsupport::Indices;
using testsupport::outcomeOf;
using testsupport::positionsOf;
using testsupport::scalesOf;
using testsupport::Shorts;
using testsupport::snapshot;
using testsupport::texelsOf;
using testsupport::refused;

namespace {

class Font2DBitmapTest : public testsupport::SceneGraphTest {
protected:
    // An RGBA image in the test's folder, named as a description names its
    // image.
    std::string image(const std::string& name, int width, int height) const
    {
        testsupport::PngImage png;
        png.width = width;
        png.height = height;
        png.colorType = 6; // RGBA
        png.rows.assign(static_cast<std::size_t>(width * height * 4), 0xFF);
        const testsupport::Bytes bytes = testsupport::writePng(png);
        m_folder.put(name, std::string(bytes.begin(), bytes.end()));
        return named(name);
    }

    // A file of the test's folder by its path from the executable's folder.
    std::string named(const std::string& name) const
    {
        const std::string executableFolder = HAL::File::getWorkingDirectory().c_str();
        std::string up;
        for (std::size_t i = 1; i < executableFolder.size(); ++i)
            if (executableFolder[i] == '/')
                up += "../";
        return up + m_folder.at(name).substr(1);
    }

    // The font of the description 'B' + `text`, as its cell size and the
    // cells of `chars` ("-" for none), or the exception it ends in.
    std::string load(const std::string& text, const std::string& chars = "ABC ")
    {
        m_folder.put("font.txt", "B" + text);
        try {
            core::Ref<Font2D> font = Font2D::createNewFont(m_folder.at("font.txt").c_str());
            auto& bitmap = dynamic_cast<Font2DBitmap&>(*font);
            std::string result = std::to_string(font->getSizeX()) + "x" + std::to_string(font->getSizeY());
            for (const char c : chars) {
                const Font2DBitmap::CharInfo* glyph = bitmap.findGlyph(static_cast<unsigned char>(c));
                result += glyph == nullptr ? std::string(" -")
                                           : " " + std::to_string(glyph->x) + "," + std::to_string(glyph->y);
            }
            return result;
        } catch (const render::FontException& e) {
            return std::string("FontException: ") + e.message;
        } catch (const AssertationFailedException& e) {
            return std::string("assertion: ") + e.message;
        } catch (const HAL::HALException& e) {
            return std::string("HALException: ") + e.message;
        } catch (const core::IOException&) {
            return "IOException";
        }
    }

    testsupport::TempFolder m_folder;
};

// '@' in a description stands for the image's name.
std::string replaced(std::string text, const std::string& name)
{
    const std::size_t at = text.find('@');
    return at == std::string::npos ? text : text.replace(at, 1, name);
}

Transform translation(float x, float y, float z)
{
    Transform t;
    t.postTranslate(x, y, z);
    return t;
}

} // namespace

// ---- description files ----------------------------------------------------------------------

// The image is 32 x 8: four cells of 8 fit a row.
TEST_F(Font2DBitmapTest, DescriptionsAreReadAsTheirFormatSays)
{
    const std::string name = image("cells.png", 32, 8);
    const std::string row = image("row.png", 256, 1);
    const std::string many(1024, 'A');
    const struct {
        const char* name;
        std::string text;
        std::string font;
        const char* logged;
    } cases[] = {
        {"plain", "0008X\"@\"ABC", "8x8 0,0 8,0 16,0 -", "font does not have separator color\n"},
        {"separator colour", "0008C00FF 0080 0000\"@\"AB", "8x8 0,0 8,0 - -", "font separator color is FF 80 0\n"},
        {"comments, line ends and tabs", "'a'00\r\n08\t'b'N \"'c'@\"'d'A\nB'e'C", "8x8 0,0 8,0 16,0 -",
         "font file name "},
        {"first blank skipped, later ones kept", "0008N\"@\" A B", "8x8 0,0 16,0 - 8,0", "font file has 3 chars"},
        {"a character twice keeps its first cell", "0008N\"@\"ABA", "8x8 0,0 8,0 - -", "WARNING"},
        {"cells wrap at the image's edge", "0008N\"@\"XYZ CAB", "8x8 8,8 16,8 0,8 24,0", "font width is 8 pixels"},
        {"the list ends after 1024", "0008N\"@\"" + many + "B", "8x8 0,0 - - -", "font file has 1024 chars = AAAA"},
        {"empty", "", "FontException: Font2D file does not have data", ""},
        {"width cut short", "00", "FontException: Font2D file does not have data", ""},
        {"width not a number", "zz08N\"@\"A", "FontException: Font2DBitmap : font file can not read font width", ""},
        {"red", "0008Cxxxx", "FontException: Font2DBitmap : font file has illegal data (Color RED info)", ""},
        {"green", "0008C0001yyyy", "FontException: Font2DBitmap : font file has illegal data (Color GREEN info)", ""},
        {"blue", "0008C00010002", "FontException: Font2D file does not have data", ""},
        {"no opening quote", "0008N@\"A", "FontException: Font2DBitmap error", ""},
        {"no closing quote", "0008N\"@", "FontException: Font2D file does not have data", ""},
        {"no characters", "0008N\"@\" \r\n", "assertion: Font2DBitmap : font file does not provide char information",
         ""},
        {"width 0", "0000N\"@\"A", "FontException: Font2DBitmap : font width is out of range", ""},
        {"width beyond 16 bits", "8000N\"@\"A", "FontException: Font2DBitmap : font width is out of range", ""},
        {"glyph rows beyond 16 bits", "0100N\"" + row + "\"" + std::string(200, 'A'),
         "FontException: Font2DBitmap : font image is too big for its glyphs", ""},
        {"no image name", "0008N\"\"A", "FontException: Font2DBitmap : font file does not name an image", ""},
        {"image missing", "0008N\"none.png\"A", "HALException: GeneralFile: can not open the file", ""},
        {"image no picture", "0008N\"" + named("font.txt") + "\"A", "IOException", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        clearLog();
        EXPECT_EQ(load(replaced(c.text, name), "ABC "), c.font);
        EXPECT_NE(log().find(c.logged), std::string::npos) << log();
    }
}

// ---- the built-in font ------------------------------------------------------------------------

TEST_F(Font2DBitmapTest, BuiltInFontHasItsCellsInRowsOfSixteen)
{
    core::Ref<Font2D> font = Font2D::createNewFont(nullptr);
    auto& bitmap = dynamic_cast<Font2DBitmap&>(*font);
    EXPECT_EQ(font->getSizeX(), 8);
    EXPECT_EQ(font->getSizeY(), 8);
    const struct {
        unsigned short code;
        int x, y;
    } cells[] = {{'A', 0, 0}, {'P', 120, 0}, {'Q', 0, 8}, {0x00C5, 80, 8}, {'0', 104, 8}, {' ', 88, 16}};
    for (const auto& c : cells) {
        SCOPED_TRACE(c.code);
        const Font2DBitmap::CharInfo* glyph = bitmap.findGlyph(c.code);
        ASSERT_NE(glyph, nullptr);
        EXPECT_EQ(std::vector<int>({glyph->x, glyph->y, glyph->w, glyph->h}), std::vector<int>({c.x, c.y, 8, 8}));
    }
    EXPECT_EQ(bitmap.findGlyph('a'), nullptr);
    EXPECT_EQ(bitmap.getTexture()->getImage()->getWidth(), 128);
}

// ---- quads in the batch mesh ----------------------------------------------------------------------

// Ten units a pixel; texture rows stretched by 0.999 x 128 / 32.
TEST_F(Font2DBitmapTest, QuadsFollowTheTextsCellsAfterTheLastQuad)
{
    core::Ref<Font2D> font = Font2D::createNewFont(nullptr);
    auto& bitmap = dynamic_cast<Font2DBitmap&>(*font);
    core::Ref<render::Text2D> text = VORNIC3D_NEW render::Text2D();
    text->setFont(font.get());
    text->setText(core::String("AQ "));
    core::Ref<Mesh> mesh = batchMesh(6, 6);
    Transform doubled = translation(1, 2, 3);
    doubled.postScale(2, 1, 1);

    // The first quad is a text's too: the next one follows its last index.
    text->setText(core::String("B"));
    EXPECT_EQ(bitmap.renderBitmapFontToMesh(mesh.get(), 0, text.get(), Transform()), 6);
    text->setText(core::String("AQ "));
    EXPECT_EQ(bitmap.renderBitmapFontToMesh(mesh.get(), 6, text.get(), doubled), 24);
    EXPECT_EQ(positionsOf(*mesh, 4, 4),
              (Shorts{10, 20, 30, 170, 20, 30, 170, 100, 30, 10, 100, 30}));
    EXPECT_EQ(texelsOf(*mesh, 4, 12),
              (Shorts{0, 31, 8, 31, 8, 0, 0, 0, 0, 63, 8, 63, 8, 31, 0, 31, 88, 95, 96, 95, 96, 63, 88, 63}));
    EXPECT_EQ(testsupport::indicesOf(*mesh, 6, 12), (Indices{4, 5, 7, 5, 6, 7, 8, 9, 11, 9, 10, 11}));
    EXPECT_EQ(scalesOf(*mesh), (std::vector<float>{0.1f, 0, 0, 0, 1.0f / 128, 0, 0, 0}));
}

// A buffer of Q quads takes at most Q - 2 characters of one text; vertices
// are counted as vertices.
TEST_F(Font2DBitmapTest, TextFitsWhenItsVerticesAndIndicesDo)
{
    core::Ref<Font2D> font = Font2D::createNewFont(nullptr);
    auto& bitmap = dynamic_cast<Font2DBitmap&>(*font);
    core::Ref<render::Text2D> text = VORNIC3D_NEW render::Text2D();
    text->setFont(font.get());
    const struct {
        const char* name;
        int vertexQuads, indexQuads;
        const char* before;
        const char* text;
        bool fits;
    } cases[] = {
        {"Q - 2 into an empty buffer", 6, 6, "", "ABCD", true},
        {"Q - 1 into an empty buffer", 6, 6, "", "ABCDE", false},
        {"the last vertices behind a quad", 4, 8, "A", "ABC", true},
        {"one vertex quad short", 4, 8, "A", "ABCD", false},
        {"behind Q - 2 quads", 4, 4, "AB", "A", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        core::Ref<Mesh> mesh = batchMesh(c.vertexQuads, c.indexQuads);
        int count = 0;
        if (c.before[0] != 0) {
            text->setText(core::String(c.before));
            count = bitmap.renderBitmapFontToMesh(mesh.get(), 0, text.get(), Transform());
        }
        text->setText(core::String(c.text));
        const std::vector<float> before = snapshot(*mesh);
        const int length = static_cast<int>(std::strlen(c.text));
        EXPECT_EQ(bitmap.renderBitmapFontToMesh(mesh.get(), count, text.get(), Transform()),
                  c.fits ? count + 6 * length : count);
        if (!c.fits) {
            EXPECT_EQ(snapshot(*mesh), before);
        }
    }
}

TEST_F(Font2DBitmapTest, BadTextsAreRefusedBeforeAnythingIsWritten)
{
    core::Ref<Font2D> font = Font2D::createNewFont(nullptr);
    auto& bitmap = dynamic_cast<Font2DBitmap&>(*font);
    core::Ref<render::Text2D> text = VORNIC3D_NEW render::Text2D();
    text->setFont(font.get());
    core::Ref<Mesh> mesh = batchMesh(8, 8);
    const struct {
        const char* name;
        const char* text;
        Transform transform;
        testsupport::Outcome outcome;
    } cases[] = {
        {"x", "A", translation(3300, 0, 0), refused("Font x position is too big")},
        {"right edge", "AB", translation(3262, 0, 0), refused("Font x position is too big")},
        {"beyond any integer", "A", translation(-1e9f, 0, 0), refused("Font x position is too small")},
        {"top edge", "A", translation(0, 3276, 0), refused("Font y position is too big")},
        {"bottom", "A", translation(0, -3276.8f, 0), refused("Font y position is too small")},
        {"z", "A", translation(0, 0, 3300), refused("Font z position is too big")},
        {"a character outside the font", "AbC", Transform(),
         refused("Font2D does not include a character which is used in this text")},
        {"empty", "", Transform(), testsupport::bare()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        text->setText(core::String(c.text));
        const std::vector<float> before = snapshot(*mesh);
        EXPECT_EQ(outcomeOf([&] { bitmap.renderBitmapFontToMesh(mesh.get(), 0, text.get(), c.transform); }),
                  c.outcome);
        EXPECT_EQ(snapshot(*mesh), before);
    }
    EXPECT_NE(log().find("can not render text2D because text length is 0"), std::string::npos);
    text->setText(core::String("A"));
    EXPECT_EQ(bitmap.renderBitmapFontToMesh(mesh.get(), 0, text.get(), translation(3268.6f, -3276.7f, -3276.7f)), 6);
}
