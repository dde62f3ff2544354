#include "PngFiles.h"
#include "SceneGraphTest.h"

#include "core/IOException.h"
#include "render/Image2D.h"
#include "render/PNG_Loader.h"

#include <png.h>

#include <string>
#include <vector>

using render::Image2D;
using render::PNG_Loader;
using namespace testsupport;

namespace {

using Objects = core::Vector<core::Ref<render::Object3D>>;

class PNG_LoaderTest : public SceneGraphTest {};

constexpr char kPrefix[] = "IO Name: . Message: ";

PngImage png(int width, int height, int colorType, int bitDepth, Bytes rows, bool interlaced = false)
{
    PngImage image;
    image.width = width;
    image.height = height;
    image.colorType = colorType;
    image.bitDepth = bitDepth;
    image.rows = std::move(rows);
    image.interlaced = interlaced;
    return image;
}

Bytes sequence(int count)
{
    Bytes bytes;
    for (int i = 1; i <= count; ++i)
        bytes.push_back(static_cast<unsigned char>(i * 9));
    return bytes;
}

Bytes concat(std::vector<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

} // namespace

// ---- decoding ---------------------------------------------------------------------------

TEST_F(PNG_LoaderTest, EveryKindOfPngBecomesEightBitRgbOrRgba)
{
    const int rgb = PNG_COLOR_TYPE_RGB;
    const int grey = PNG_COLOR_TYPE_GRAY;
    // Two entries, one bit per pixel: row 0 is entry 0, 1; row 1 is 1, 0.
    PngImage palette = png(2, 2, PNG_COLOR_TYPE_PALETTE, 1, {0x40, 0x80});
    palette.palette = {10, 20, 30, 40, 50, 60};
    palette.transparency = {0, 128};
    const struct {
        const char* name;
        PngImage image;
        int format;
        Bytes pixels;
    } cases[] = {
        {"RGB 3x2: rows of 9 bytes", png(3, 2, rgb, 8, sequence(18)), Image2D::RGB, sequence(18)},
        {"RGBA 1x3", png(1, 3, PNG_COLOR_TYPE_RGB_ALPHA, 8, sequence(12)), Image2D::RGBA, sequence(12)},
        {"RGB 16-bit keeps the high bytes",
         png(1, 1, rgb, 16, {0x12, 0x34, 0xAB, 0xCD, 0xFF, 0x00}),
         Image2D::RGB,
         {0x12, 0xAB, 0xFF}},
        {"palette with transparency stays RGB",
         palette,
         Image2D::RGB,
         {10, 20, 30, 40, 50, 60, 40, 50, 60, 10, 20, 30}},
        {"grey 1-bit", png(2, 1, grey, 1, {0x80}), Image2D::RGB, {255, 255, 255, 0, 0, 0}},
        {"grey 16-bit", png(1, 1, grey, 16, {0xAB, 0xCD}), Image2D::RGB, {0xAB, 0xAB, 0xAB}},
        {"grey with alpha", png(1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {50, 60}), Image2D::RGBA, {50, 50, 50, 60}},
        {"Adam7 interlaced RGB 5x5", png(5, 5, rgb, 8, sequence(75), true), Image2D::RGB, sequence(75)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes file = writePng(c.image);
        Objects out;
        ASSERT_NO_THROW(PNG_Loader().load(file.data(), static_cast<unsigned>(file.size()), out)) << log();
        ASSERT_EQ(out.m_size, 1);
        auto* image = dynamic_cast<Image2D*>(out[0].get());
        ASSERT_NE(image, nullptr);
        EXPECT_EQ((std::vector<int>{image->getFormat(), image->getWidth(), image->getHeight()}),
                  (std::vector<int>{c.format, c.image.width, c.image.height}));
        EXPECT_EQ(Bytes(image->getPixels(), image->getPixels() + c.pixels.size()), c.pixels);
    }
}

// ---- refusals ---------------------------------------------------------------------------

// libpng is left by its long jump; the parse error is thrown after it.
TEST_F(PNG_LoaderTest, DamagedFilesFailWithTheParseErrorAndAppendNothing)
{
    // The signature, IHDR (25 bytes), IDAT from byte 33, IEND (12 bytes).
    const Bytes good = writePng(png(2, 2, PNG_COLOR_TYPE_RGB, 8, sequence(12)));
    ASSERT_EQ(std::string(good.begin() + 37, good.begin() + 41), "IDAT");
    const auto at = [&](std::size_t offset) { return good.begin() + static_cast<long>(offset); };
    const std::size_t iend = good.size() - 12;
    Bytes badCrc = good;
    // Checked: an optimising build can not see that the file outgrows its
    // IEND chunk, and warns of a write before the start.
    badCrc.at(iend - 1) ^= 0x01;
    const auto be32 = [](unsigned v) {
        return Bytes{static_cast<unsigned char>(v >> 24), static_cast<unsigned char>(v >> 16),
                     static_cast<unsigned char>(v >> 8), static_cast<unsigned char>(v)};
    };
    const auto withHeader = [&](unsigned width, unsigned height, unsigned char colorType) {
        return concat({Bytes(at(0), at(8)),
                       pngChunk("IHDR", concat({be32(width), be32(height), {8, colorType, 0, 0, 0}})),
                       pngChunk("IDAT", {0x78, 0x9C, 0x03, 0x00}), Bytes(at(iend), good.end())});
    };
    const struct {
        const char* name;
        Bytes file;
        std::string message;
    } cases[] = {
        {"7 bytes", Bytes(at(0), at(7)), "Too small file!"},
        {"cut inside the image data", Bytes(at(0), at(45)), "Small stream buffer"},
        {"image data CRC", badCrc, "IDAT: CRC error"},
        // libpng only warns about a damaged ancillary chunk.
        {"a warning: gAMA of 3 bytes",
         concat({Bytes(at(0), at(33)), pngChunk("gAMA", {0, 1, 2}), Bytes(at(33), good.end())}), "gAMA: invalid"},
        {"width 0: libpng warns first", withHeader(0, 1, PNG_COLOR_TYPE_RGB), "Image width is zero in IHDR"},
        // Sizes are taken in 64 bits, and compared with the pool (256 KiB)
        // before anything is taken from it.
        {"65536 x 16384 RGBA: 2^32 bytes, 0 in 32 bits", withHeader(65536, 16384, PNG_COLOR_TYPE_RGB_ALPHA),
         "Couldn't allocate memory for image."},
        {"2 x 1,000,000 RGBA: 8 MB declared by a tiny file", withHeader(2, 1000000, PNG_COLOR_TYPE_RGB_ALPHA),
         "Couldn't allocate memory for image."},
        {"1 x 40,000 RGB: the pixels fit, their row pointers do not", withHeader(1, 40000, PNG_COLOR_TYPE_RGB),
         "Couldn't allocate memory for image."},
        {"a whole 300 x 300 RGBA image", writePng(png(300, 300, PNG_COLOR_TYPE_RGB_ALPHA, 8, Bytes(300 * 300 * 4, 7))),
         "Couldn't allocate memory for image."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        clearLog();
        Objects out;
        EXPECT_EQ(messageOf<core::IOException>(
                      [&] { PNG_Loader().load(c.file.data(), static_cast<unsigned>(c.file.size()), out); }),
                  kPrefix + c.message);
        EXPECT_EQ(out.m_size, 0);
        EXPECT_NE(log().find("Parse error: \"" + c.message + "\"\n"), std::string::npos) << log();
    }

    EXPECT_TRUE(PNG_Loader::canHandle(good.data(), 8));
    EXPECT_FALSE(PNG_Loader::canHandle(good.data() + 1, 8));
    EXPECT_EQ(messageOf<core::IOException>([&] { PNG_Loader::canHandle(good.data(), 7); }),
              std::string(kPrefix) + "Too small file!");
    EXPECT_EQ(outcomeOf([] { PNG_Loader::canHandle(nullptr, 8); }), bare());
    Objects out;
    EXPECT_EQ(outcomeOf([&] { PNG_Loader().load(nullptr, 8, out); }), bare());
}
