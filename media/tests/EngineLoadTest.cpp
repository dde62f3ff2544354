#include "GameMediaTest.h"

#include "render/Font2D.h"
#include "render/Image2D.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class EngineLoadTest : public mediatest::GameMediaTest {};

} // namespace

// What the set-up, the run state and a level hold together, in the order
// the game loads them: a full pool would throw on the way.
TEST_F(EngineLoadTest, EverythingTheGameHoldsAtOnceFitsItsPools)
{
    std::vector<core::Ref<render::Font2D>> fonts;
    std::vector<core::Ref<render::Image2D>> images;
    // The set-up; the run state, with a dust sprite and a font of its own.
    for (const char* name : {"simple_font_file.txt", "simple_font_file2.txt", "simple_font_file.txt"})
        fonts.push_back(loadFont(name));
    for (const char* name : {"tausta.png", "tessly_mordane_logo_2.png", "dust.png", "dust.png", "BG1.png", "BG2.png",
                             "BG3.png", "sprites.png"})
        images.push_back(loadImage(mediaPath(name)));
    // A level: the atlas cut from the sprite sheet and the largest map.
    images.push_back(VORNIC3D_NEW render::Image2D(render::Image2D::RGBA, 2 * 256, 4 * 256));
    core::Ref<render::Image2D> level;
    for (const mediatest::LevelRow& row : mediatest::levelTable()) {
        core::Ref<render::Image2D> candidate = loadImage(mediaPath(row.fileName.c_str()));
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
