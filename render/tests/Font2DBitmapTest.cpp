#include "BatchMeshes.h"
#include "SceneGraphTest.h"

#include "Font2DBitmap.h"
#include "M3GFrame.h"
#include "PngWriter.h"
#include "TempFolder.h"

#include "render/FontException.h"
#include "render/Mesh.h"
#include "render/Text2D.h"

#include "hal/File.h"
#include "hal/HALException.h"

#include <cstring>
#include <vector>

using render::Font2D;
using render::Font2DBitmap;
using render::Mesh;
using render::Transform;
using namespace testsupport;

namespace {

// The built-in font and a text in it; ten units a pixel, texture rows
// stretched by 0.999 x 128 / 32.
class Font2DBitmapTest : public SceneGraphTest {
protected:
    // The references are empty by then (TearDown), so nothing throws here.
    ~Font2DBitmapTest() noexcept override {}
    void SetUp() override
    {
        SceneGraphTest::SetUp();
        m_font = Font2D::createNewFont(nullptr);
        m_text = VORNIC3D_NEW render::Text2D();
        m_text->setFont(m_font.get());
    }
    void TearDown() override
    {
        m_text = nullptr;
        m_font = nullptr;
        SceneGraphTest::TearDown();
    }
    // Places `text` after `count` indices; the new count.
    int place(Mesh& mesh, int count, const char* text, const Transform& transform = Transform())
    {
        m_text->setText(core::String(text));
        return dynamic_cast<Font2DBitmap&>(*m_font).renderBitmapFontToMesh(&mesh, count, m_text.get(), transform);
    }

    core::Ref<Font2D> m_font;
    core::Ref<render::Text2D> m_text;
};

} // namespace

// ---- description files ----------------------------------------------------------------------

// The font of the description 'B' + text, as its cell size and the cells of
// "ABC " ("-" for none), or the exception it ends in. The image is 32 x 8:
// four cells of 8 fit a row.
TEST_F(Font2DBitmapTest, DescriptionsAreReadAsTheirFormatSays)
{
    const TempFolder folder;
    // Files of the folder by their paths from the executable's folder.
    std::string up;
    for (const char c : std::string(HAL::File::getWorkingDirectory().c_str()).substr(1))
        up += c == '/' ? "../" : "";
    // Puts the file; its quoted path as a description names it.
    const auto quotedFile = [&](const std::string& name, const Bytes& bytes) {
        folder.put(name, std::string(bytes.begin(), bytes.end()));
        return "\"" + up + folder.at(name).substr(1) + "\"";
    };
    const auto image = [&](const std::string& name, int width, int height) {
        PngImage png;
        png.width = width;
        png.height = height;
        png.colorType = 6; // RGBA
        png.rows.assign(static_cast<std::size_t>(width * height * 4), 0xFF);
        return quotedFile(name, writePng(png));
    };
    const std::string cells = image("cells.png", 32, 8);
    const std::string row = image("row.png", 256, 1);
    const std::string group = quotedFile("group.m3g", m3gFile(groupObject()));
    const std::string empty = quotedFile("empty.m3g", m3gFile(Bytes()));
    // Mutable RGB images of one column: no pixels in the file.
    const auto column = [&](const std::string& name, std::uint32_t height) {
        return quotedFile(name, m3gFile(sceneObject(10, M3GRecord().u8(99).u8(1).u32(1).u32(height))));
    };
    const std::string highest = column("highest.m3g", 32766);
    const std::string tooHigh = column("too high.m3g", 32767);
    const std::string fe = "FontException: ";
    const struct {
        const char* name;
        std::string text;
        std::string font;
        const char* logged;
    } cases[] = {
        {"plain", "0008X" + cells + "ABC", "8x8 0,0 8,0 16,0 -", "font does not have separator color\n"},
        {"separator colour", "0008C00FF 0080 0000" + cells + "AB", "8x8 0,0 8,0 - -",
         "font separator color is FF 80 0\n"},
        {"comments, line ends and tabs", "'a'00\r\n08\t'b'N \"'c'" + cells.substr(1) + "'d'A\nB'e'C",
         "8x8 0,0 8,0 16,0 -", "font file name "},
        {"first blank skipped, later ones kept", "0008N" + cells + " A B", "8x8 0,0 16,0 - 8,0",
         "font file has 3 chars"},
        {"a character twice keeps its first cell", "0008N" + cells + "ABA", "8x8 0,0 8,0 - -", "WARNING"},
        {"cells wrap at the image's edge", "0008N" + cells + "XYZ CAB", "8x8 8,8 16,8 0,8 24,0",
         "font width is 8 pixels"},
        {"the list ends after 1024", "0008N" + cells + std::string(1024, 'A') + "B", "8x8 0,0 - - -",
         "font file has 1024 chars = AAAA"},
        {"empty", "", fe + "Font2D file does not have data", ""},
        {"width not a number", "zz08N" + cells + "A", fe + "Font2DBitmap : font file can not read font width", ""},
        {"red", "0008Cxxxx", fe + "Font2DBitmap : font file has illegal data (Color RED info)", ""},
        {"no opening quote", "0008N" + cells.substr(1) + "A", fe + "Font2DBitmap error", ""},
        {"no closing quote", "0008N" + cells.substr(0, cells.size() - 1), fe + "Font2D file does not have data", ""},
        {"no characters", "0008N" + cells + " \r\n",
         "assertion: Font2DBitmap : font file does not provide char information", ""},
        {"width 0", "0000N" + cells + "A", fe + "Font2DBitmap : font width is out of range", ""},
        {"width beyond 16 bits", "8000N" + cells + "A", fe + "Font2DBitmap : font width is out of range", ""},
        {"glyph rows beyond 16 bits", "0100N" + row + std::string(200, 'A'),
         fe + "Font2DBitmap : font image is too big for its glyphs", ""},
        {"no image name", "0008N\"\"A", fe + "Font2DBitmap : font file does not name an image", ""},
        {"image missing", "0008N\"none.png\"A", "HALException: GeneralFile: can not open the file", ""},
        {"a scene without an image", "0008N" + group + "A", "assertion: Vornic3D exception", "font file name "},
        {"an empty scene", "0008N" + empty + "A", "assertion: Vornic3D exception", "font file name "},
        {"image as high as a glyph may be", "0008N" + highest + "A", "8x32766 0,0 - - -", ""},
        {"image too high", "0008N" + tooHigh + "A", "assertion: Vornic3D exception", "font file name "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        clearLog();
        folder.put("font.txt", "B" + c.text);
        std::string result;
        try {
            core::Ref<Font2D> font = Font2D::createNewFont(folder.at("font.txt").c_str());
            result = std::to_string(font->getSizeX()) + "x" + std::to_string(font->getSizeY());
            for (const char ch : std::string("ABC ")) {
                const auto* glyph = dynamic_cast<Font2DBitmap&>(*font).findGlyph(static_cast<unsigned char>(ch));
                result += glyph == nullptr ? " -" : " " + std::to_string(glyph->x) + "," + std::to_string(glyph->y);
            }
        } catch (const render::FontException& e) {
            result = fe + e.message;
        } catch (const AssertationFailedException& e) {
            result = std::string("assertion: ") + e.message;
        } catch (const HAL::HALException& e) {
            result = std::string("HALException: ") + e.message;
        }
        EXPECT_EQ(result, c.font);
        EXPECT_NE(log().find(c.logged), std::string::npos) << log();
    }
}

// ---- quads in the batch mesh ----------------------------------------------------------------------

// The first quad is a text's too: the next text follows its last index.
TEST_F(Font2DBitmapTest, QuadsFollowTheTextsCellsAfterTheLastQuad)
{
    core::Ref<Mesh> mesh = batchMesh(6, 6);
    Transform doubled = translation(1, 2, 3);
    doubled.postScale(2, 1, 1);
    EXPECT_EQ(place(*mesh, 0, "B"), 6);
    EXPECT_EQ(place(*mesh, 6, "AQ ", doubled), 24);
    EXPECT_EQ(positionsOf(*mesh, 4, 4), (Shorts{10, 20, 30, 170, 20, 30, 170, 100, 30, 10, 100, 30}));
    EXPECT_EQ(texelsOf(*mesh, 4, 12),
              (Shorts{0, 31, 8, 31, 8, 0, 0, 0, 0, 63, 8, 63, 8, 31, 0, 31, 88, 95, 96, 95, 96, 63, 88, 63}));
    EXPECT_EQ(indicesOf(*mesh, 6, 12), (Indices{4, 5, 7, 5, 6, 7, 8, 9, 11, 9, 10, 11}));
    EXPECT_EQ(scalesOf(*mesh), (std::vector<float>{0.1f, 0, 0, 0, 1.0f / 128, 0, 0, 0}));
}

// Vertices are counted as vertices: behind one quad, a buffer of four
// vertex quads (and index room to spare) takes three characters, not four.
// A text that does not fit writes nothing. (The renderer's text test holds
// the bound of Q - 2 characters a buffer.)
TEST_F(Font2DBitmapTest, TextFitsWhenItsVerticesDo)
{
    for (const char* text : {"ABC", "ABCD"}) {
        SCOPED_TRACE(text);
        const bool fits = std::strlen(text) == 3;
        core::Ref<Mesh> mesh = batchMesh(4, 8);
        const int count = place(*mesh, 0, "A");
        const std::vector<float> before = snapshot(*mesh);
        EXPECT_EQ(place(*mesh, count, text), fits ? 24 : 6);
        if (!fits) {
            EXPECT_EQ(snapshot(*mesh), before);
        }
    }
}

// Positions are range-checked as floats, before they become 16-bit values.
TEST_F(Font2DBitmapTest, BadTextsAreRefusedBeforeAnythingIsWritten)
{
    const char* const kMissing = "Font2D does not include a character which is used in this text";
    core::Ref<Mesh> mesh = batchMesh(8, 8);
    const struct {
        const char* name;
        const char* text;
        Transform transform;
        Outcome outcome;
    } cases[] = {
        {"x", "A", translation(3300, 0, 0), refused("Font x position is too big")},
        {"right edge", "AB", translation(3262, 0, 0), refused("Font x position is too big")},
        {"beyond any integer", "A", translation(-1e9f, 0, 0), refused("Font x position is too small")},
        {"top edge", "A", translation(0, 3276, 0), refused("Font y position is too big")},
        {"bottom", "A", translation(0, -3276.8f, 0), refused("Font y position is too small")},
        {"z", "A", translation(0, 0, 3300), refused("Font z position is too big")},
        // Each character in turn: its glyph, then x, y and z too big, then too small.
        {"y too big before x too small", "A", translation(-5000, 5000, 0), refused("Font y position is too big")},
        {"z too big before y too small", "A", translation(0, -5000, 5000), refused("Font z position is too big")},
        {"a missing glyph before its place", "b", translation(4000, 0, 0), refused(kMissing)},
        {"a missing glyph before a later place", "Ab", translation(3262, 0, 0), refused(kMissing)},
        {"a place before a later glyph", "AAb", translation(3262, 0, 0), refused("Font x position is too big")},
        {"empty", "", Transform(), bare()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<float> before = snapshot(*mesh);
        EXPECT_EQ(outcomeOf([&] { place(*mesh, 0, c.text, c.transform); }), c.outcome);
        EXPECT_EQ(snapshot(*mesh), before);
    }
    EXPECT_NE(log().find("can not render text2D because text length is 0"), std::string::npos);
    EXPECT_EQ(place(*mesh, 0, "A", translation(3268.6f, -3276.7f, -3276.7f)), 6);
}
