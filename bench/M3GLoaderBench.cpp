// A scene file of about 16 MB (full-size vertex arrays, strips and meshes
// over them, a 1024 x 1024 RGBA image), stored and compressed, loaded
// through render::Loader beside the least any reader of the same bytes
// does: copying them, and zlib's share (Adler-32 of every section, inflating
// the compressed one).
#include "support/BenchEngine.h"
#include "support/RatioReporter.h"

#include "M3GFrame.h"
#include "core/Globals.h"
#include "render/Graphics3D.h"
#include "render/Loader.h"

#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <random>

namespace {

using testsupport::Bytes;
using testsupport::M3GRecord;

// The file, the objects made from it and the inflated copy at once.
constexpr int kPoolSize = 96 * 1024 * 1024;
constexpr int kStringPoolSize = 40960;
constexpr int kMeshes = 9;
constexpr int kVertices = 65535;
constexpr int kImageSide = 1024;
// The first section is the identifier and the header, which stay small.
constexpr std::size_t kIdentifierLength = 12;

// Smooth values with a little noise: compress about as modelled data does.
Bytes vertexArray(int components, int componentSize, std::mt19937& random)
{
    M3GRecord record;
    record.u8(static_cast<unsigned>(componentSize)).u8(static_cast<unsigned>(components)).u8(0).u16(kVertices);
    for (int v = 0; v < kVertices; ++v) {
        for (int c = 0; c < components; ++c) {
            const unsigned value = static_cast<unsigned>(v * (c + 1) / 64 + random() % 16);
            componentSize == 1 ? record.u8(value & 0x7F) : record.u16(value);
        }
    }
    return testsupport::sceneObject(20, record);
}

// Per mesh: positions, normals, colours, texture coordinates, the buffer,
// one strip over every vertex, an appearance and the mesh.
Bytes sceneObjects()
{
    std::mt19937 random(7);
    std::vector<Bytes> objects;
    std::uint32_t next = 2;
    std::vector<unsigned> indices(kVertices);
    for (int i = 0; i < kVertices; ++i)
        indices[static_cast<std::size_t>(i)] = static_cast<unsigned>(i);
    for (int mesh = 0; mesh < kMeshes; ++mesh, next += 8) {
        objects.push_back(vertexArray(3, 2, random));
        objects.push_back(vertexArray(3, 2, random));
        objects.push_back(vertexArray(4, 1, random));
        objects.push_back(vertexArray(2, 2, random));
        objects.push_back(testsupport::vertexBufferObject(next, next + 1, next + 2, {next + 3}));
        objects.push_back(testsupport::stripsObject(indices, {kVertices}));
        objects.push_back(testsupport::appearanceObject());
        objects.push_back(testsupport::sceneObject(14, testsupport::meshRecord(next + 4, {{next + 5, next + 6}})));
    }
    Bytes pixels(static_cast<std::size_t>(kImageSide) * kImageSide * 4);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<unsigned char>((i / 4 % kImageSide + i / (4 * kImageSide)) / 8 + random() % 8);
    objects.push_back(testsupport::sceneObject(10, M3GRecord()
                                                       .u8(100)
                                                       .u8(0)
                                                       .u32(kImageSide)
                                                       .u32(kImageSide)
                                                       .u32(0)
                                                       .u32(static_cast<std::uint32_t>(pixels.size()))
                                                       .bytes(pixels)));
    return testsupport::joined(objects);
}

const Bytes& objects()
{
    static const Bytes stream = sceneObjects();
    return stream;
}

const Bytes& storedFile()
{
    static const Bytes file = testsupport::m3gFile(objects(), 0);
    return file;
}

const Bytes& compressedFile()
{
    static const Bytes file = testsupport::m3gFile(objects(), 1);
    return file;
}

// ---- the engine ----------------------------------------------------------------------

void loadThroughLoader(benchmark::State& state, const Bytes& file)
{
    for (auto _ : state) {
        render::Loader::Objects out;
        render::Loader::load(file.data(), static_cast<int>(file.size()), 0, out);
        benchmark::DoNotOptimize(out.m_data);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}

// ---- the baselines -------------------------------------------------------------------

// The stored file: as many bytes as the content of either file.
void copyBytes(benchmark::State& state, const Bytes& file)
{
    std::unique_ptr<unsigned char[]> copy(new unsigned char[file.size()]);
    for (auto _ : state) {
        std::memcpy(copy.get(), file.data(), file.size());
        benchmark::DoNotOptimize(copy.get());
        benchmark::ClobberMemory();
    }
}

// Every section's Adler-32 over what it stores and, for a compressed
// section, zlib's uncompress of it: the sections are walked by their lengths.
void zlibShare(benchmark::State& state, const Bytes& file)
{
    std::unique_ptr<unsigned char[]> inflated(new unsigned char[objects().size()]);
    for (auto _ : state) {
        std::size_t at = kIdentifierLength;
        uLong sum = 0;
        while (at < file.size()) {
            const unsigned char* section = file.data() + at;
            std::uint32_t total = 0;
            std::uint32_t size = 0;
            std::memcpy(&total, section + 1, 4);
            std::memcpy(&size, section + 5, 4);
            sum += adler32(adler32(0, nullptr, 0), section, total - 4);
            if (section[0] == 1) {
                uLongf produced = size;
                uncompress(inflated.get(), &produced, section + 9, total - 13);
            }
            at += total;
        }
        benchmark::DoNotOptimize(sum);
        benchmark::ClobberMemory();
    }
}

void BM_Memcpy(benchmark::State& s)
{
    copyBytes(s, storedFile());
}
void BM_Loader_Stored(benchmark::State& s)
{
    loadThroughLoader(s, storedFile());
}
void BM_Zlib_Stored(benchmark::State& s)
{
    zlibShare(s, storedFile());
}
void BM_Loader_Compressed(benchmark::State& s)
{
    loadThroughLoader(s, compressedFile());
}
void BM_Zlib_Compressed(benchmark::State& s)
{
    zlibShare(s, compressedFile());
}

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Loader_Stored)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Zlib_Stored)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Loader_Compressed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Zlib_Compressed)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchsupport::BenchEngine engine(kPoolSize, nullptr, kStringPoolSize);
    // Appearances and vertex buffers ask the renderer for its limits.
    core::Globals* globals = core::Globals::get();
    globals->m_graphics3D = render::Graphics3D::createGraphics3D(render::Graphics3D::OPENGL_ES, nullptr, nullptr);
    std::printf("scene file: %zu bytes stored, %zu compressed\n", storedFile().size(), compressedFile().size());

    const int result = benchsupport::runWithRatios(argc, argv,
                                                   {{"BM_Loader_Stored", "BM_Memcpy"},
                                                    {"BM_Loader_Stored", "BM_Zlib_Stored"},
                                                    {"BM_Loader_Compressed", "BM_Memcpy"},
                                                    {"BM_Loader_Compressed", "BM_Zlib_Compressed"}});

    render::Graphics3D* renderer = globals->m_graphics3D;
    globals->m_graphics3D = nullptr;
    delete renderer;
    return result;
}
