// PNG images through render::Loader beside the same bytes decoded by libpng
// directly, with the same transformations, into a buffer of the system heap.
#include "support/BenchEngine.h"
#include "support/RatioReporter.h"

#include "PngWriter.h"
#include "render/Loader.h"

#include <png.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int kPoolSize = 16 * 1024 * 1024;
constexpr int kStringPoolSize = 40960;

// Smooth gradients with a little noise: compresses about as a drawn picture
// does, neither trivially nor not at all.
testsupport::Bytes picture(int width, int height, int colorType)
{
    testsupport::PngImage image;
    image.width = width;
    image.height = height;
    image.colorType = colorType;
    const int channels = colorType == PNG_COLOR_TYPE_RGB_ALPHA ? 4 : 3;
    std::mt19937 random(7);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < channels; ++c)
                image.rows.push_back(static_cast<unsigned char>((x * (c + 1) + y * (3 - c)) / 4 + random() % 8));
    return testsupport::writePng(image);
}

const testsupport::Bytes& rgba512()
{
    static const testsupport::Bytes file = picture(512, 512, PNG_COLOR_TYPE_RGB_ALPHA);
    return file;
}

const testsupport::Bytes& rgb256()
{
    static const testsupport::Bytes file = picture(256, 256, PNG_COLOR_TYPE_RGB);
    return file;
}

// ---- the engine ----------------------------------------------------------------------

void loadThroughLoader(benchmark::State& state, const testsupport::Bytes& file)
{
    for (auto _ : state) {
        render::Loader::Objects out;
        render::Loader::load(file.data(), static_cast<int>(file.size()), 0, out);
        benchmark::DoNotOptimize(out.m_data);
    }
}

// ---- the baseline: libpng alone ----------------------------------------------------

struct MemoryReader {
    const unsigned char* data;
    std::size_t left;
};

void readMemory(png_structp png, png_bytep destination, std::size_t length)
{
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (reader->left < length)
        png_error(png, "short file");
    std::memcpy(destination, reader->data, length);
    reader->data += length;
    reader->left -= length;
}

std::unique_ptr<unsigned char[]> decodeDirectly(const testsupport::Bytes& file)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    MemoryReader reader{file.data(), file.size()};
    png_set_read_fn(png, &reader, readMemory);
    png_read_info(png, info);
    if ((png_get_color_type(png, info) & PNG_COLOR_MASK_ALPHA) == 0)
        png_set_strip_alpha(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    std::unique_ptr<unsigned char[]> pixels(new unsigned char[rowBytes * height]);
    std::vector<png_bytep> rows(height);
    for (png_uint_32 row = 0; row < height; ++row)
        rows[row] = pixels.get() + row * rowBytes;
    png_read_image(png, rows.data());
    png_destroy_read_struct(&png, &info, nullptr);
    return pixels;
}

void decodeWithLibpng(benchmark::State& state, const testsupport::Bytes& file)
{
    for (auto _ : state) {
        std::unique_ptr<unsigned char[]> pixels = decodeDirectly(file);
        benchmark::DoNotOptimize(pixels.get());
    }
}

void BM_Loader_Rgba512(benchmark::State& s)
{
    loadThroughLoader(s, rgba512());
}
void BM_Libpng_Rgba512(benchmark::State& s)
{
    decodeWithLibpng(s, rgba512());
}
void BM_Loader_Rgb256(benchmark::State& s)
{
    loadThroughLoader(s, rgb256());
}
void BM_Libpng_Rgb256(benchmark::State& s)
{
    decodeWithLibpng(s, rgb256());
}

BENCHMARK(BM_Loader_Rgba512);
BENCHMARK(BM_Libpng_Rgba512);
BENCHMARK(BM_Loader_Rgb256);
BENCHMARK(BM_Libpng_Rgb256);

} // namespace

int main(int argc, char** argv)
{
    benchsupport::BenchEngine engine(kPoolSize, nullptr, kStringPoolSize);

    const int result = benchsupport::runWithRatios(
        argc, argv, {{"BM_Loader_Rgba512", "BM_Libpng_Rgba512"}, {"BM_Loader_Rgb256", "BM_Libpng_Rgb256"}});

    return result;
}
