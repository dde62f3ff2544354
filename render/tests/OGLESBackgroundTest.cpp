#include "OGLESTest.h"
#include "SceneGraphTest.h"

#include "render/Background.h"
#include "render/Image2D.h"

#include <tuple>
#include <vector>

namespace {

using render::Background;
using testsupport::hexColor;

constexpr std::uint32_t kMagenta = 0xFFFF00FFu;

// Backgrounds with a 64 x 64 image in four colours (red, green above blue,
// yellow) on the 64 x 48 frame, cleared to magenta.
class OGLESBackgroundTest : public testsupport::OGLESTest {
protected:
    void SetUp() override
    {
        OGLESTest::SetUp();
        g3d().bindTarget(nullptr);
    }
    core::Ref<Background> background(render::Image2D* picture)
    {
        core::Ref<Background> result = VORNIC3D_NEW Background();
        result->setColor(kMagenta);
        result->setImage(picture);
        return result;
    }
};

} // namespace

// Crop y counts from the image's top row in both modes, so a crop of the
// frame's height at the bottom of a taller image shows the image's bottom.
TEST_F(OGLESBackgroundTest, BorderAndRepeatShowTheCrop)
{
    const int B = Background::BORDER;
    const int R = Background::REPEAT;
    const struct {
        const char* what;
        int modeX, modeY;
        std::array<int, 4> crop;
        std::vector<std::tuple<int, int, std::uint32_t>> samples; // x, y, colour
    } cases[] = {
        {"bottom 48 rows, one to one", B, B, {0, 16, 64, 48},
         {{16, 40, kRed}, {48, 40, kGreen}, {16, 31, kBlue}, {16, 24, kBlue}, {48, 4, kYellow}}},
        {"upper left quarter", B, B, {0, 0, 32, 32}, {{1, 1, kRed}, {62, 1, kRed}, {1, 46, kRed}, {62, 46, kRed}}},
        {"shifted right", B, B, {-32, 0, 64, 64},
         {{16, 36, kMagenta}, {48, 36, kRed}, {16, 12, kMagenta}, {48, 12, kBlue}}},
        {"repeated shifted right", R, B, {-32, 0, 64, 64},
         {{16, 36, kGreen}, {48, 36, kRed}, {16, 12, kYellow}, {48, 12, kBlue}}},
        {"repeated from row 16", B, R, {0, 16, 64, 64}, {{16, 42, kRed}, {16, 24, kBlue}, {16, 6, kRed}}},
        {"repeated twice", R, R, {0, 0, 128, 128}, {{8, 42, kRed}, {24, 42, kGreen}, {40, 42, kRed}, {8, 30, kBlue}}},
        {"empty crop", B, B, {0, 0, 0, 0}, {{16, 36, kMagenta}, {48, 12, kMagenta}}},
    };
    core::Ref<render::Image2D> picture = quadrants(64);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        core::Ref<Background> backdrop = background(picture.get());
        backdrop->setImageMode(c.modeX, c.modeY);
        backdrop->setCrop(c.crop[0], c.crop[1], c.crop[2], c.crop[3]);
        g3d().clear(backdrop.get());
        for (const auto& [x, y, color] : c.samples)
            EXPECT_EQ(hexColor(pixelAt(x, y)), hexColor(color)) << x << "," << y;
    }
}

// A new image is uploaded; the image is drawn over the frame whether the
// colour is cleared or not.
TEST_F(OGLESBackgroundTest, ANewImageIsUploaded)
{
    core::Ref<render::Image2D> first = quadrants(64);
    core::Ref<render::Image2D> second = plain(kGreen, 16, 16);
    core::Ref<Background> backdrop = background(first.get());
    g3d().clear(backdrop.get());
    EXPECT_EQ(hexColor(pixelAt(16, 36)), hexColor(kRed));
    backdrop->setImage(second.get());
    backdrop->setColorClearEnable(false);
    g3d().clear(backdrop.get());
    EXPECT_EQ(hexColor(pixelAt(16, 36)), hexColor(kGreen));
}
