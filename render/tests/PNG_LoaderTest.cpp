#include "PngFiles.h"
#include "PngWriter.h"
#include "SceneGraphTest.h"

#include "core/IOException.h"
#include "render/Image2D.h"
#include "render/PNG_Loader.h"

#include <png.h>

#include <string>
#include <vector>

using render::Image2D;
using render::Object3D;
using render::PNG_Loader;
using testsupport::Bytes;
using testsupport::PngImage;

namespace {

using Objects = core::Vector<core::Ref<Object3D>>;

class PNG_LoaderTest : public testsupport::SceneGraphTest {
protected:
    // The message of the core::IOException the load threw ("" when it
    // loaded); a failed load must append nothing.
    static std::string failureOf(const Bytes& file)
    {
        Objects out;
        const std::string message = testsupport::messageOf<core::IOException>(
            [&] { PNG_Loader().load(file.data(), static_cast<unsigned>(file.size()), out); });
        if (!message.empty()) {
            EXPECT_EQ(out.m_size, 0);
        }
        return message;
    }
};

constexpr char kPrefix[] = "IO Name: . Message: ";

PngImage png(int width, int height, int colorType, int bitDepth, Bytes rows)
{
    PngImage image;
    image.width = width;
    image.height = height;
    image.colorType = colorType;
    image.bitDepth = bitDepth;
    image.rows = std::move(rows);
    return image;
}

PngImage paletted(Bytes transparency)
{
    // Two entries, one bit per pixel: row 0 is entry 0, 1; row 1 is 1, 0.
    PngImage image = png(2, 2, PNG_COLOR_TYPE_PALETTE, 1, {0x40, 0x80});
    image.palette = {10, 20, 30, 40, 50, 60};
    image.transparency = std::move(transparency);
    return image;
}

PngImage interlaced(PngImage image)
{
    image.interlaced = true;
    return image;
}

Bytes sequence(int count)
{
    Bytes bytes;
    for (int i = 1; i <= count; ++i)
        bytes.push_back(static_cast<unsigned char>(i * 9));
    return bytes;
}

Bytes validFile()
{
    return testsupport::writePng(png(2, 2, PNG_COLOR_TYPE_RGB, 8, sequence(12)));
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
    const int rgba = PNG_COLOR_TYPE_RGB_ALPHA;
    const int grey = PNG_COLOR_TYPE_GRAY;
    const int greyAlpha = PNG_COLOR_TYPE_GRAY_ALPHA;
    const Bytes redGreenBlueWhite = {0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
    const Bytes paletteColours = {10, 20, 30, 40, 50, 60, 40, 50, 60, 10, 20, 30};
    const struct {
        const char* name;
        PngImage image;
        int format;
        int width;
        int height;
        Bytes pixels;
    } cases[] = {
        {"RGB 2x2, top row first", png(2, 2, rgb, 8, redGreenBlueWhite), Image2D::RGB, 2, 2, redGreenBlueWhite},
        {"RGB 3x2: rows of 9 bytes", png(3, 2, rgb, 8, sequence(18)), Image2D::RGB, 3, 2, sequence(18)},
        {"RGBA 1x3", png(1, 3, rgba, 8, sequence(12)), Image2D::RGBA, 1, 3, sequence(12)},
        {"RGB 16-bit keeps the high bytes", png(1, 1, rgb, 16, {0x12, 0x34, 0xAB, 0xCD, 0xFF, 0x00}), Image2D::RGB,
         1, 1, {0x12, 0xAB, 0xFF}},
        {"RGBA 16-bit", png(1, 1, rgba, 16, sequence(8)), Image2D::RGBA, 1, 1, {9, 27, 45, 63}},
        {"palette", paletted({}), Image2D::RGB, 2, 2, paletteColours},
        {"palette with transparency stays RGB", paletted({0, 128}), Image2D::RGB, 2, 2, paletteColours},
        {"grey 1-bit", png(2, 1, grey, 1, {0x80}), Image2D::RGB, 2, 1, {255, 255, 255, 0, 0, 0}},
        {"grey 2-bit", png(4, 1, grey, 2, {0x1B}), Image2D::RGB, 4, 1,
         {0, 0, 0, 85, 85, 85, 170, 170, 170, 255, 255, 255}},
        {"grey 4-bit", png(2, 1, grey, 4, {0x3C}), Image2D::RGB, 2, 1, {51, 51, 51, 204, 204, 204}},
        {"grey 8-bit", png(2, 1, grey, 8, {7, 200}), Image2D::RGB, 2, 1, {7, 7, 7, 200, 200, 200}},
        {"grey 16-bit", png(1, 1, grey, 16, {0xAB, 0xCD}), Image2D::RGB, 1, 1, {0xAB, 0xAB, 0xAB}},
        {"grey with alpha", png(1, 1, greyAlpha, 8, {50, 60}), Image2D::RGBA, 1, 1, {50, 50, 50, 60}},
        {"grey with alpha 16-bit", png(1, 1, greyAlpha, 16, {50, 1, 60, 2}), Image2D::RGBA, 1, 1,
         {50, 50, 50, 60}},
        {"Adam7 interlaced RGB 5x5", interlaced(png(5, 5, rgb, 8, sequence(75))), Image2D::RGB, 5, 5,
         sequence(75)},
        {"Adam7 interlaced grey 1-bit", interlaced(png(3, 1, grey, 1, {0xA0})), Image2D::RGB, 3, 1,
         {255, 255, 255, 0, 0, 0, 255, 255, 255}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes file = testsupport::writePng(c.image);
        Objects out;
        ASSERT_NO_THROW(PNG_Loader().load(file.data(), static_cast<unsigned>(file.size()), out)) << log();
        ASSERT_EQ(out.m_size, 1);
        auto* image = dynamic_cast<Image2D*>(out[0].get());
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->getFormat(), c.format);
        EXPECT_EQ(image->getWidth(), c.width);
        EXPECT_EQ(image->getHeight(), c.height);
        EXPECT_EQ(Bytes(image->getPixels(), image->getPixels() + c.pixels.size()), c.pixels);
    }
}

// ---- refusals ---------------------------------------------------------------------------

TEST_F(PNG_LoaderTest, DamagedFilesFailWithTheParseErrorAndAppendNothing)
{
    const Bytes good = validFile();
    const std::size_t idat = testsupport::findPngChunk(good, "IDAT");
    const std::size_t idatEnd = testsupport::findPngChunk(good, "IEND");
    const std::size_t afterHeader = testsupport::findPngChunk(good, "IHDR") + 25;

    Bytes badCrc = good;
    badCrc[idatEnd - 1] ^= 0x01;
    // The zlib stream's own checksum, inside a chunk whose CRC still fits.
    Bytes idatData(good.begin() + static_cast<long>(idat) + 8, good.begin() + static_cast<long>(idatEnd) - 4);
    idatData.back() ^= 0x01;
    const Bytes badAdler = concat({Bytes(good.begin(), good.begin() + static_cast<long>(idat)),
                                   testsupport::pngChunk("IDAT", idatData),
                                   Bytes(good.begin() + static_cast<long>(idatEnd), good.end())});
    // libpng only warns about a damaged ancillary chunk.
    const Bytes shortGamma = concat({Bytes(good.begin(), good.begin() + static_cast<long>(afterHeader)),
                                     testsupport::pngChunk("gAMA", {0, 1, 2}),
                                     Bytes(good.begin() + static_cast<long>(afterHeader), good.end())});
    const auto withHeader = [](unsigned width, unsigned height, int colorType) {
        return concat({testsupport::pngSignature(),
                       testsupport::pngChunk("IHDR", testsupport::pngHeader(width, height, 8, colorType)),
                       testsupport::pngChunk("IDAT", {0x78, 0x9C, 0x03, 0x00}), testsupport::pngChunk("IEND", {})});
    };

    const struct {
        const char* name;
        Bytes file;
        std::string message;
    } cases[] = {
        {"7 bytes", Bytes(good.begin(), good.begin() + 7), "Too small file!"},
        {"the signature alone", testsupport::pngSignature(), "Small stream buffer"},
        {"cut inside the header", Bytes(good.begin(), good.begin() + 20), "Small stream buffer"},
        {"cut inside the image data", Bytes(good.begin(), good.begin() + static_cast<long>(idat) + 12),
         "Small stream buffer"},
        {"image data CRC", badCrc, "IDAT: CRC error"},
        {"image data checksum", badAdler, "IDAT: incorrect data check"},
        {"a warning: gAMA of 3 bytes", shortGamma, "gAMA: invalid"},
        {"width 0: libpng warns first", withHeader(0, 1, PNG_COLOR_TYPE_RGB), "Image width is zero in IHDR"},
        {"65536 x 16384 RGBA: 2^32 bytes, 0 in 32 bits", withHeader(65536, 16384, PNG_COLOR_TYPE_RGB_ALPHA),
         "Couldn't allocate memory for image."},
        {"1000000 x 800 RGB: 2.4 GB", withHeader(1000000, 800, PNG_COLOR_TYPE_RGB),
         "Couldn't allocate memory for image."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        clearLog();
        EXPECT_EQ(failureOf(c.file), kPrefix + c.message);
        EXPECT_NE(log().find("Parse error: \"" + c.message + "\"\n"), std::string::npos) << log();
    }
}

TEST_F(PNG_LoaderTest, CanHandleChecksTheSignatureOnly)
{
    const Bytes good = validFile();
    const Bytes text(16, 'x');
    EXPECT_TRUE(PNG_Loader::canHandle(good.data(), 8));
    EXPECT_FALSE(PNG_Loader::canHandle(text.data(), 16));
    EXPECT_EQ(testsupport::messageOf<core::IOException>([&] { PNG_Loader::canHandle(good.data(), 7); }),
              std::string(kPrefix) + "Too small file!");
    EXPECT_EQ(testsupport::outcomeOf([] { PNG_Loader::canHandle(nullptr, 8); }), testsupport::bare());
    Objects out;
    EXPECT_EQ(testsupport::outcomeOf([&] { PNG_Loader().load(nullptr, 8, out); }), testsupport::bare());
}

TEST_F(PNG_LoaderTest, AnImageThePoolCannotHoldFailsThereAndLeaksNothing)
{
    // 300 x 300 RGBA takes more than the test's whole pool; the fixture's
    // leak check sees whether the load gave back what it took.
    const Bytes file = testsupport::writePng(png(300, 300, PNG_COLOR_TYPE_RGB_ALPHA, 8, Bytes(300 * 300 * 4, 7)));
    Objects out;
    EXPECT_EQ(testsupport::outcomeOf([&] { PNG_Loader().load(file.data(), static_cast<unsigned>(file.size()), out); }),
              testsupport::refused("hwMemAlloc : allocated block size is too big"));
    EXPECT_EQ(out.m_size, 0);
}
