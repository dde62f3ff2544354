#include "PngWriter.h"
#include "SceneGraphTest.h"
#include "TempFolder.h"

#include "core/IOException.h"
#include "hal/File.h"
#include "hal/HALException.h"
#include "render/Image2D.h"
#include "render/Loader.h"

#include <png.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

using render::Image2D;
using render::Loader;
using testsupport::Bytes;

namespace {

using Objects = core::Vector<core::Ref<render::Object3D>>;

class LoaderTest : public testsupport::SceneGraphTest, protected testsupport::TempFolder {
protected:
    bool logged(const std::string& text) const { return log().find(text) != std::string::npos; }
};

constexpr char kPrefix[] = "IO Name: . Message: ";
const Bytes kM3GIdentifier = {0xAB, 0x4A, 0x53, 0x52, 0x31, 0x38, 0x34, 0xBB, 0x0D, 0x0A, 0x1A, 0x0A};

// A 2 x 1 RGB image: red, blue.
Bytes redBlue()
{
    testsupport::PngImage image;
    image.width = 2;
    image.colorType = PNG_COLOR_TYPE_RGB;
    image.rows = {255, 0, 0, 0, 0, 255};
    return testsupport::writePng(image);
}

std::string asText(const Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// What a load ended with: "image" for one appended image, else the message
// of the exception it threw.
std::string resultOf(const std::function<void(Objects&)>& load)
{
    Objects out;
    try {
        load(out);
    } catch (const Vornic3DException& e) {
        EXPECT_EQ(out.m_size, 0);
        return e.message;
    }
    auto* image = out.m_size == 1 ? dynamic_cast<Image2D*>(out[0].get()) : nullptr;
    if (image == nullptr || image->getWidth() != 2 || image->getPixels()[5] != 255)
        return "not the image";
    return "image";
}

} // namespace

// ---- from a file ----------------------------------------------------------------------------

TEST_F(LoaderTest, ByPathAppendsTheImageAndLogsTheLoad)
{
    put("red blue.png", asText(redBlue()));
    const std::string given = folder() + "\\red blue.png";
    Objects out;
    out.pushBack(core::Ref<render::Object3D>(VORNIC3D_NEW Image2D(Image2D::RGB, 1, 1)));
    Loader::load(core::String(given.c_str()), out);

    ASSERT_EQ(out.m_size, 2);
    auto* image = dynamic_cast<Image2D*>(out[1].get());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(Bytes(image->getPixels(), image->getPixels() + 6), Bytes({255, 0, 0, 0, 0, 255}));
    EXPECT_TRUE(logged("\nLoader loading file: \"" + folder() + "/red blue.png\"\n")) << log();
    EXPECT_TRUE(logged("File \"" + given + "\" loaded okay. Load time: ")) << log();

    // A path too long for a log line is cut there, and the file still loads.
    const std::string longName = std::string(200, 'n') + ".png";
    put(longName, asText(redBlue()));
    Loader::load(core::String(at(longName).c_str()), out);
    EXPECT_EQ(out.m_size, 3);
    EXPECT_TRUE(logged("File \"" + at(longName).substr(0, 180) + "\" loaded okay.")) << log();
}

TEST_F(LoaderTest, AFailedFileLoadLogsClosesTheFileAndAppendsNothing)
{
    const Bytes png = redBlue();
    put("empty.png", "");
    put("cut.png", asText(Bytes(png.begin(), png.begin() + 40)));
    // Beyond the test's pool of 256 KiB.
    put("big.png", asText(png) + std::string(300 * 1024, 0));
    std::filesystem::create_directory(at("folder"));
    ASSERT_EQ(mkfifo(at("fifo.png").c_str(), 0600), 0);
    const std::string notOpened = "GeneralFile: can not open the file";
    const std::string tooBig = "File is too big for the memory pool.";
    const std::string notOpenedLine = " failed. Flags: rb\n";
    const struct {
        const char* name;
        std::string message, line;
    } cases[] = {
        {"empty.png", kPrefix + std::string("Too small file!"), "Parse error"},
        {"cut.png", kPrefix + std::string("Small stream buffer"), "Parse error"},
        {"missing.png", notOpened, "GeneralFile::fopen : " + at("missing.png") + notOpenedLine},
        {"big.png", "IO Name: " + at("big.png") + ". Message: " + tooBig,
         "IO error (" + at("big.png") + "): \"" + tooBig + "\"\n"},
        // Neither blocks nor is read: only a regular file is opened.
        {"fifo.png", notOpened, "GeneralFile::fopen : " + at("fifo.png") + notOpenedLine},
        {"folder", notOpened, "GeneralFile::fopen : " + at("folder") + notOpenedLine},
        {"folder\\", notOpened, "GeneralFile::fopen : " + at("folder/") + notOpenedLine},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        clearLog();
        core::Ref<HAL::File> file = HAL::File::createFileHandle(core::String(at(c.name).c_str()));
        EXPECT_EQ(resultOf([&](Objects& out) { Loader::load(core::String(c.name), out, file.get()); }), c.message);
        EXPECT_FALSE(file->isOpen());
        EXPECT_TRUE(logged(c.line)) << log();
        EXPECT_TRUE(logged("Error loading file: \"" + std::string(c.name) + "\"!\n")) << log();
    }
}

// ---- from memory ----------------------------------------------------------------------------

TEST_F(LoaderTest, TheFirstBytesChooseTheReader)
{
    const Bytes png = redBlue();
    const Bytes text(100, 't');
    const Bytes prefixed = Bytes(16, 0) + png;
    Bytes almostM3G = kM3GIdentifier + text;
    almostM3G[11] = 0x0B;
    const struct {
        const char* name;
        Bytes content;
        int length;
        int offset;
        std::string result;
    } cases[] = {
        {"PNG", png, static_cast<int>(png.size()), 0, "image"},
        {"PNG at offset 16", prefixed, static_cast<int>(prefixed.size()), 16, "image"},
        {"11 bytes of PNG", png, 11, 0, kPrefix + std::string("Too small file!")},
        {"nothing left behind the offset", prefixed, 16, 16, kPrefix + std::string("Too small file!")},
        {"100 bytes of text", text, 100, 0, kPrefix + std::string("Unsupported file format\n")},
        {"M3G identifier, then a PNG", kM3GIdentifier + png, static_cast<int>(png.size()) + 12, 0,
         kPrefix + std::string("First section must be uncompressed.")},
        {"M3G identifier with a wrong last byte", almostM3G, 100, 0,
         kPrefix + std::string("Unsupported file format\n")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(resultOf([&](Objects& out) { Loader::load(c.content.data(), c.length, c.offset, out); }), c.result);
    }
    EXPECT_TRUE(logged("Parse error: \"Unsupported file format\n\"\n"));
}

TEST_F(LoaderTest, AnOffsetOutsideTheBlockOrNoDataIsTheCallersMistake)
{
    const Bytes png = redBlue();
    const int length = static_cast<int>(png.size());
    Objects out;
    const struct {
        const unsigned char* data;
        int offset;
    } calls[] = {{nullptr, 0}, {png.data(), -1}, {png.data(), length + 1}};
    for (const auto& c : calls)
        EXPECT_EQ(testsupport::outcomeOf([&] { Loader::load(c.data, length, c.offset, out); }), testsupport::bare());
    EXPECT_EQ(out.m_size, 0);
}
