#include "SceneGraphTest.h"

#include "render/Appearance.h"
#include "render/CompositingMode.h"
#include "render/Font2D.h"
#include "render/Material.h"
#include "render/PolygonMode.h"
#include "render/Text2D.h"

#include "TempFolder.h"
#include "hal/HALException.h"

#include <filesystem>
#include <iterator>

using render::Appearance;
using render::Font2D;
using render::Text2D;
using namespace testsupport;

namespace {

// A font of fixed cells, standing in for the bitmap font.
class CellFont : public Font2D {
public:
    CellFont(int x, int y) : m_x(x), m_y(y) {}
    int getSizeX() override { return m_x; }
    int getSizeY() override { return m_y; }

private:
    int m_x;
    int m_y;
};

class TextTest : public SceneGraphTest {};

std::string describe(Text2D& text)
{
    const Outcome font = outcomeOf([&] { text.getFont(); });
    std::string size = "none";
    if (outcomeOf([&] { text.getSizeX(), text.getSizeY(); }) == accepted())
        size = std::to_string(text.getSizeX()) + "x" + std::to_string(text.getSizeY());
    return std::string("text \"") + text.getText().c_str() + "\" font " + (font == accepted() ? "set" : font.message) +
           " size " + size + " flag " + std::to_string(text.getRenderFlag());
}

int openFileCount()
{
    const std::filesystem::directory_iterator fds("/proc/self/fd");
    return static_cast<int>(std::distance(std::filesystem::begin(fds), std::filesystem::end(fds)));
}

} // namespace

// ---- text, size and font -------------------------------------------------------------------

TEST_F(TextTest, SettersCheckBeforeTheyStore)
{
    core::Ref<CellFont> font = VORNIC3D_NEW CellFont(8, 12);
    core::Ref<CellFont> empty = VORNIC3D_NEW CellFont(0, 12);
    const std::vector<SetterCase<Text2D>> cases = {
        {"setFont(8 x 12)", [&](Text2D& t) { t.setFont(font.get()); }, accepted(), "font set size 8x12"},
        {"setFont, then setSize(3, 4)", [&](Text2D& t) { t.setFont(font.get()), t.setSize(3, 4); }, accepted(),
         "font set size 3x4"},
        {"setSize(1, 32767)", [](Text2D& t) { t.setSize(1, 32767); }, accepted(), "size 1x32767"},
        {"setFont(null)", [](Text2D& t) { t.setFont(nullptr); },
         refused("Text2D setFont failed because font parameter is 0"), ""},
        {"setSize(0, 5)", [](Text2D& t) { t.setSize(0, 5); },
         refused("Text2D : setSize failed because size_in_pixels_x value is too small"), ""},
        {"setSize(5, -1)", [](Text2D& t) { t.setSize(5, -1); },
         refused("Text2D : setSize failed because size_in_pixels_y value is too small"), ""},
        {"setSize(32768, 5)", [](Text2D& t) { t.setSize(32768, 5); }, bare(), ""},
        {"setSize(5, 40000)", [](Text2D& t) { t.setSize(5, 40000); }, bare(), ""},
    };
    runSetterTable(
        cases, [] { return VORNIC3D_NEW Text2D(); }, describe);

    // The font is held before its sizes are tested.
    core::Ref<Text2D> text = VORNIC3D_NEW Text2D();
    EXPECT_EQ(outcomeOf([&] { text->setFont(empty.get()); }),
              refused("Text2D : setSize failed because size_in_pixels_x value is too small"));
    EXPECT_EQ(empty->getRefCount(), 2);
    EXPECT_EQ(outcomeOf([&] { text->getFont(); }), bare());
}

// ---- the shared default appearance -------------------------------------------------------

TEST_F(TextTest, TextsShareOneDefaultAppearanceWhileAnyHoldsIt)
{
    core::Globals* globals = core::Globals::get();
    core::Ref<Text2D> first = VORNIC3D_NEW Text2D();
    core::Ref<Text2D> second = VORNIC3D_NEW Text2D();
    core::Ref<Text2D> own = VORNIC3D_NEW Text2D(true);
    Appearance* shared = first->getAppearance();
    EXPECT_EQ(second->getAppearance(), shared);
    EXPECT_EQ(globals->m_defaultTextAppearance, shared);
    EXPECT_NE(own->getAppearance(), shared);
    EXPECT_EQ(shared->getRefCount(), 2);

    const Appearance& a = *own->getAppearance();
    EXPECT_EQ(a.getPolygonMode()->getCulling(), render::PolygonMode::CULL_NONE);
    EXPECT_EQ(a.getCompositingMode()->getBlending(), render::CompositingMode::ALPHA);
    EXPECT_FALSE(a.getCompositingMode()->isDepthTestEnabled() || a.getCompositingMode()->isDepthWriteEnabled());
    EXPECT_EQ(a.getMaterial()->getColor(render::Material::AMBIENT), 0x00FFFFFFu);
    EXPECT_EQ(a.getMaterial()->getColor(render::Material::DIFFUSE), 0xFFFFFFFFu);

    // Once every holder is gone, the next text builds a new one.
    second->setAppearance(nullptr);
    EXPECT_EQ(outcomeOf([&] { second->getAppearance(); }), bare());
    first = nullptr;
    EXPECT_EQ(globals->m_defaultTextAppearance, nullptr);
    core::Ref<Text2D> later = VORNIC3D_NEW Text2D();
    EXPECT_EQ(globals->m_defaultTextAppearance, later->getAppearance());
}

// ---- fonts -------------------------------------------------------------------------------------

TEST_F(TextTest, CreateNewFontWantsABitmapFontFile)
{
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"starts with A", "A0008\"font.png\"AB"},
        {"empty", ""},
    };
    const TempFolder folder;
    const int files = openFileCount();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        folder.put(c.name, c.bytes);
        const std::string path = folder.at(c.name);
        EXPECT_EQ(outcomeOf([&] { core::Ref<Font2D> font = Font2D::createNewFont(path.c_str()); }),
                  refused("createNewFont : can not create a font"));
        EXPECT_EQ(openFileCount(), files);
    }
    // A bitmap font whose image is missing: the file is closed all the same.
    folder.put("bitmap", "B0008N\"missing.png\"AB");
    EXPECT_THROW(Font2D::createNewFont(folder.at("bitmap").c_str()), HAL::HALException);
    EXPECT_EQ(openFileCount(), files);
    EXPECT_THROW(Font2D::createNewFont(folder.at("missing").c_str()), HAL::HALException);
}
