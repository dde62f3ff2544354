#include "GameMediaTest.h"
#include "LevelMap.h"

#include "render/Font2D.h"
#include "render/Image2D.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using mediatest::MediaFile;
using mediatest::MediaKind;
using mediatest::sample;

class EngineLoadTest : public mediatest::GameMediaTest {};

} // namespace

// RGB or RGBA as listed; textures at their listed size; level images are
// their text maps, one pixel a cell, the tile code in the red byte.
TEST_F(EngineLoadTest, EveryImageLoadsAsListed)
{
    const std::vector<media::LevelMap> maps = media::readLevelMaps(mediatest::mediaFolder() + "/levels");
    for (const MediaFile& file : mediatest::mediaFiles()) {
        if (file.kind != MediaKind::Texture && file.kind != MediaKind::LevelImage)
            continue;
        SCOPED_TRACE(file.name);
        const core::Ref<render::Image2D> image = loadImage(mediaPath(file.name.c_str()));
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->getFormat(), file.channels == 4 ? render::Image2D::RGBA : render::Image2D::RGB);
        const auto size = std::pair(image->getWidth(), image->getHeight());
        if (file.kind == MediaKind::Texture) {
            EXPECT_EQ(size, std::pair(file.width, file.height));
            continue;
        }
        const auto map = std::find_if(maps.begin(), maps.end(),
                                      [&](const media::LevelMap& m) { return m.name + ".png" == file.name; });
        ASSERT_NE(map, maps.end());
        ASSERT_EQ(size, std::pair(map->width, map->height));
        for (int y = 0; y < map->height; ++y)
            for (int x = 0; x < map->width; ++x) {
                ASSERT_EQ(map->code(x, y), sample(*image, x, y, 0)) << "cell (" << x << ", " << y << ")";
                ASSERT_EQ(0, sample(*image, x, y, 1) + sample(*image, x, y, 2));
            }
    }
}

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
