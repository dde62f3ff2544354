#include "OGLESTest.h"
#include "OGLES_Graphics3DInspector.h"
#include "SceneGraphTest.h"

#include "render/Appearance.h"
#include "render/Font2D.h"
#include "render/Text2D.h"

namespace {

using render::Font2D;
using render::OGLES_Graphics3DInspector;
using render::Text2D;

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
    core::Ref<Text2D> text(const std::string& characters)
    {
        core::Ref<Text2D> result = VORNIC3D_NEW Text2D();
        result->setFont(m_font.get());
        result->setText(core::String(characters.c_str()));
        return result;
    }

    core::Ref<Font2D> m_font;
};

} // namespace

// A text at a size of its own, twice its font's, and one at its font's size
// with an appearance of its own that culls back faces (the quads face the
// camera), which goes into a buffer of its own.
TEST_F(OGLESTextTest, BuiltInGlyphsAreDrawnPixelForPixel)
{
    core::Ref<Text2D> a = text("A");
    a->setSize(16, 16);
    g3d().render(a.get(), translation(20, 5, 0));
    core::Ref<Text2D> line = text("AB 09:/-.");
    core::Ref<render::Appearance> culling = VORNIC3D_NEW render::Appearance();
    line->setAppearance(culling.get());
    g3d().render(line.get(), translation(0, 30, 0));
    g3d().releaseTarget();

    EXPECT_EQ(builtInTextAt(20, 5, 1, 2), "A");
    EXPECT_EQ(builtInTextAt(0, 30, 8), "AB 09:/-");
    EXPECT_EQ(OGLES_Graphics3DInspector::buffersUsed(g3d()), 2);
}

TEST_F(OGLESTextTest, TextsThatCannotBeDrawnFailAndLeaveTheFrameAsItWas)
{
    const std::string fifteen(15, 'A');
    const struct {
        const char* name;
        std::string characters;
        testsupport::Outcome outcome;
    } cases[] = {
        {"a character outside the font", "Ab",
         testsupport::refused("Font2D does not include a character which is used in this text")},
        {"longer than a buffer takes", fifteen, testsupport::refused("can not buffer texts (too small buffer size?)")},
        {"just short enough", fifteen.substr(1), testsupport::accepted()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        core::Ref<Text2D> t = text(c.characters);
        EXPECT_EQ(testsupport::outcomeOf([&] { g3d().render(t.get(), translation(0, 0, 0)); }), c.outcome);
    }
    g3d().releaseTarget();
    EXPECT_EQ(builtInTextAt(0, 0, 8), "AAAAAAAA");
    EXPECT_EQ(OGLES_Graphics3DInspector::buffersUsed(g3d()), 1);
}
