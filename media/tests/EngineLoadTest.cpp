#include "GameMediaTest.h"
#include "MediaManifest.h"

#include "render/Font2D.h"
#include "render/Image2D.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using mediatest::MediaFile;
using mediatest::MediaKind;

class EngineLoadTest : public mediatest::GameMediaTest {};

bool isPowerOfTwo(int value)
{
    return value > 0 && (value & (value - 1)) == 0;
}

} // namespace

// RGB or RGBA as listed; textures at their listed size, with the sides the
// renderer needs; level images at most 32 x 32.
TEST_F(EngineLoadTest, EveryImageLoadsAsListed)
{
    for (const MediaFile& file : mediatest::mediaFiles()) {
        if (file.kind != MediaKind::Texture && file.kind != MediaKind::LevelImage)
            continue;
        SCOPED_TRACE(file.name);
        const core::Ref<render::Image2D> image = loadImage(file.name.c_str());
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->getFormat(), file.channels == 4 ? render::Image2D::RGBA : render::Image2D::RGB);
        if (file.kind == MediaKind::Texture) {
            EXPECT_EQ(image->getWidth(), file.width);
            EXPECT_EQ(image->getHeight(), file.height);
            EXPECT_TRUE(isPowerOfTwo(image->getWidth()) && isPowerOfTwo(image->getHeight()));
        } else {
            EXPECT_LE(image->getWidth(), 32);
            EXPECT_LE(image->getHeight(), 32);
        }
    }
}

// What the set-up, the run state and a level hold together, in the order
// the game loads them: a full pool would throw on the way.
TEST_F(EngineLoadTest, EverythingTheGameHoldsAtOnceFitsItsPools)
{
    std::vector<core::Ref<render::Font2D>> fonts;
    std::vector<core::Ref<render::Image2D>> images;
    // The set-up.
    fonts.push_back(loadFont("simple_font_file.txt"));
    fonts.push_back(loadFont("simple_font_file2.txt"));
    for (const char* name : {"tausta.png", "tessly_mordane_logo_2.png", "dust.png"})
        images.push_back(loadImage(name));
    // The run state, with a dust sprite and a font of its own.
    images.push_back(loadImage("dust.png"));
    fonts.push_back(loadFont("simple_font_file.txt"));
    for (const char* name : {"BG1.png", "BG2.png", "BG3.png"})
        images.push_back(loadImage(name));
    // A level: the sprite sheet, the atlas cut from it and the largest map.
    const core::Ref<render::Image2D> sheet = loadImage("sprites.png");
    images.push_back(sheet);
    images.push_back(VORNIC3D_NEW render::Image2D(render::Image2D::RGBA, 2 * sheet->getWidth(), 4 * sheet->getHeight()));
    core::Ref<render::Image2D> level;
    for (const mediatest::LevelRow& row : mediatest::levelTable()) {
        core::Ref<render::Image2D> candidate = loadImage(row.fileName.c_str());
        if (level == nullptr || candidate->getWidth() * candidate->getHeight() > level->getWidth() * level->getHeight())
            level = candidate;
    }
    images.push_back(level);

    for (const core::Ref<render::Image2D>& image : images)
        EXPECT_NE(image, nullptr);
    RecordProperty("main_pool_peak", mainPool()->getPeakMem());
    RecordProperty("string_pool_peak", stringPool()->getPeakMem());
    EXPECT_LT(mainPool()->getPeakMem(), kGameMainPoolSize);
}
