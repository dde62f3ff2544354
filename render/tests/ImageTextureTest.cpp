#include "SceneGraphTest.h"
#include "TestTexture2D.h"

#include "core/Debug.h"
#include "render/Image2D.h"

#include <cstring>
#include <functional>
#include <vector>

using render::Image2D;
using render::Texture2D;
using namespace testsupport;

namespace {

using Bytes = std::vector<unsigned char>;

class ImageTextureTest : public SceneGraphTest {};

Bytes pixelsOf(const Image2D& image)
{
    const int size = image.getWidth() * image.getHeight() * Image2D::getBpp(image.getFormat());
    return Bytes(image.getPixels(), image.getPixels() + size);
}

} // namespace

// ---- images ------------------------------------------------------------------------

TEST_F(ImageTextureTest, BlankImagesAreWhiteAndTransparent)
{
    const struct {
        int format;
        int width;
        int height;
        Bytes pixels;
    } cases[] = {
        {Image2D::RGB, 2, 1, {255, 255, 255, 255, 255, 255}},
        {Image2D::LUMINANCE, 1, 2, {255, 255, 255, 0, 255, 255, 255, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        core::Ref<Image2D> image = VORNIC3D_NEW Image2D(c.format, c.width, c.height);
        EXPECT_EQ(pixelsOf(*image), c.pixels);
        EXPECT_TRUE(image->isMutable());
    }
}

// Each refusal is logged and its record names the function that refused.
TEST_F(ImageTextureTest, ConstructorsCheckBeforeTheyTakeABlock)
{
    const unsigned char pixels[16] = {1, 2, 3, 4, 5, 6, 7, 8};
    const char* constructor = "render::Image2D::Image2D";
    const char* illegal = "IllegalArgumentException";
    const char* null = "NullPointerException ";
    const struct {
        const char* name;
        std::function<Image2D*()> make;
        const char* message;
        const char* function;
    } cases[] = {
        {"blank, width 0", [] { return VORNIC3D_NEW Image2D(Image2D::RGB, 0, 1); }, illegal, constructor},
        {"blank, format 101", [] { return VORNIC3D_NEW Image2D(101, 1, 1); }, illegal, "render::Image2D::getBpp"},
        {"blank, beyond the pool's sizes", [] { return VORNIC3D_NEW Image2D(Image2D::RGBA, 65536, 32768); }, illegal,
         constructor},
        {"pixels, height 0", [&] { return VORNIC3D_NEW Image2D(Image2D::RGB, 1, 0, pixels); }, illegal, constructor},
        {"pixels, null", [] { return VORNIC3D_NEW Image2D(Image2D::RGB, 1, 1, nullptr); }, null, constructor},
        {"pixels, format 95", [&] { return VORNIC3D_NEW Image2D(95, 1, 1, pixels); }, illegal,
         "render::Image2D::getBpp"},
        {"palette, width -1", [&] { return VORNIC3D_NEW Image2D(Image2D::RGB, -1, 1, pixels, pixels); }, illegal,
         constructor},
        {"palette, null indices", [&] { return VORNIC3D_NEW Image2D(Image2D::RGB, 1, 1, nullptr, pixels); }, null,
         constructor},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int errors = core::Debug::getErrorCount();
        try {
            core::Ref<Image2D> image = c.make();
            ADD_FAILURE() << "made";
        } catch (const AssertationFailedException& e) {
            EXPECT_STREQ(e.message, c.message);
            EXPECT_STREQ(e.function, c.function);
        }
        EXPECT_EQ(core::Debug::getErrorCount(), errors + 1) << "logged";
    }
}

TEST_F(ImageTextureTest, ImmutableImagesCopyTheirBlocks)
{
    unsigned char source[1024];
    for (int i = 0; i < 1024; ++i)
        source[i] = static_cast<unsigned char>(i * 7);
    const Bytes copied(source, source + 12);
    core::Ref<Image2D> image = VORNIC3D_NEW Image2D(Image2D::RGB, 2, 2, source);
    source[0] = 99;
    EXPECT_FALSE(image->isMutable());
    EXPECT_EQ(pixelsOf(*image), copied);

    for (int format : {Image2D::RGB, Image2D::RGBA}) {
        SCOPED_TRACE(format);
        core::Ref<Image2D> indexed = VORNIC3D_NEW Image2D(format, 3, 1, source + 1, source);
        const int paletteSize = 256 * Image2D::getBpp(format);
        EXPECT_EQ(std::memcmp(indexed->getPalette(), source, paletteSize), 0);
        EXPECT_EQ(std::memcmp(indexed->getPixels(), source + 1, 3), 0);
    }
}

TEST_F(ImageTextureTest, PaletteThatDoesNotFitFreesTheIndexBlock)
{
    const unsigned char bytes[1024] = {};
    void* blocker = VORNIC3D_ALLOC(mainPool()->getFreeMem() - 512);
    const int used = mainPool()->getUsedMem();
    EXPECT_THROW(core::Ref<Image2D> image = VORNIC3D_NEW Image2D(Image2D::RGBA, 1, 1, bytes, bytes),
                 core::MemoryManagerException);
    EXPECT_EQ(mainPool()->getUsedMem(), used);
    VORNIC3D_FREE(blocker);
}

// ---- textures -----------------------------------------------------------------------

// The renderer's texture test sees each setter with an image rebuild it.
TEST_F(ImageTextureTest, TextureSettersRebuildOnlyWithAnImage)
{
    core::Ref<Texture2D> made = renderer().createNewTexture();
    auto* texture = dynamic_cast<TestTexture2D*>(made.get());
    ASSERT_NE(texture, nullptr);
    // Unchecked values wait for the back end's next setImage.
    texture->setBlending(999);
    texture->setFiltering(209, 209);
    EXPECT_EQ(texture->getSetImageCount(), 0);

    // Alpha may be anything but 0xFF; a refused colour rebuilds nothing.
    core::Ref<Image2D> image = VORNIC3D_NEW Image2D(Image2D::RGBA, 4, 4);
    texture->setImage(image.get());
    EXPECT_EQ(outcomeOf([&] { texture->setBlendColor(0xFEFFFFFFu); }), accepted());
    EXPECT_EQ(outcomeOf([&] { texture->setBlendColor(0xFF000000u); }),
              refused("setBlendColor color value is invalid (use RGB)"));
    EXPECT_EQ(texture->getBlendColor(), 0xFFFFFFu);
    EXPECT_EQ(texture->getSetImageCount(), 2);
}
