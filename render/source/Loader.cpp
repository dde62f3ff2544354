#include "render/Loader.h"

#include "core/Assert.h"
#include "core/DataIO.h"
#include "core/Debug.h"
#include "core/MemoryManager.h"
#include "hal/File.h"
#include "hal/System.h"
#include "render/Loader_helpers.h"
#include "render/M3G_Loader.h"
#include "render/PNG_Loader.h"

#include <cstdint>

namespace render {

namespace {

// The longest path a log line shows: a longer one must not turn a load into
// the log's own exception.
constexpr int kLoggedPathLength = 180;
constexpr char kFileTooBig[] = "File is too big for the memory pool.";

// Runs one clean-up step of a failed load: its own failure must not replace
// the exception on its way.
template <typename Step>
void quietly(Step step)
{
    try {
        step();
    } catch (...) {
    }
}

} // namespace

// ---- from a file ----------------------------------------------------------------

void Loader::load(const core::String& path, Objects& out)
{
    core::Ref<HAL::File> file = HAL::File::createFileHandle(path);
    load(path, out, file.get());
}

void Loader::load(const core::String& path, Objects& out, HAL::File* file)
{
    VORNIC3D_CHECK(file != nullptr);
    const std::uint32_t start = HAL::getTime();
    unsigned char* buffer = nullptr;
    try {
        const core::String where = file->getPath() + file->getName();
        core::Debug::printf(core::Debug::LEVEL_PLAIN, "\nLoader loading file: \"%.*s\"\n", kLoggedPathLength,
                            where.c_str());
        file->fopen("rb");
        const int size = file->fsize();
        // The whole file goes into one block: one the pool could never grant
        // would end in the pool's assertion.
        if (!core::MemoryManager::getMemoryInfo()->canHold(size))
            core::DataIO::ioError(where, kFileTooBig);
        // The pool takes no empty block: an empty file gets one spare byte and
        // reaches the readers with length 0, which refuse it as too small.
        buffer = static_cast<unsigned char*>(VORNIC3D_ALLOC(size > 0 ? size : 1));
        if (size > 0 && file->fread(buffer, size) != size)
            parseError("Failed to read all bytes from the file.\n");
        file->fclose();
        load(buffer, size, 0, out, file);
        const std::uint32_t elapsed = HAL::getTime() - start;
        core::Debug::printf(core::Debug::LEVEL_PLAIN, "File \"%.*s\" loaded okay. Load time: %.3f seconds\n",
                            kLoggedPathLength, path.c_str(), static_cast<double>(elapsed) * 0.001);
    } catch (...) {
        quietly([&] {
            core::Debug::printf(core::Debug::LEVEL_PLAIN, "Error loading file: \"%.*s\"!\n", kLoggedPathLength,
                                path.c_str());
        });
        if (buffer != nullptr)
            VORNIC3D_FREE(buffer);
        quietly([&] {
            if (file->isOpen())
                file->fclose();
        });
        throw;
    }
    VORNIC3D_FREE(buffer);
}

// ---- from memory ----------------------------------------------------------------

void Loader::load(const unsigned char* data, int length, int offset, Objects& out)
{
    load(data, length, offset, out, nullptr);
}

void Loader::load(const unsigned char* data, int length, int offset, Objects& out, HAL::File* file)
{
    // A caller's mistake, not bad content: nothing outside the block is read.
    VORNIC3D_CHECK(data != nullptr);
    VORNIC3D_CHECK(offset >= 0 && offset <= length);
    const unsigned char* content = data + offset;
    const int size = length - offset;

    if (M3G_Loader::canHandle(content, size)) {
        M3G_Loader reader(file);
        reader.load(content, size, out);
    } else if (PNG_Loader::canHandle(content, static_cast<unsigned int>(size))) {
        PNG_Loader reader;
        reader.load(content, static_cast<unsigned int>(size), out);
    } else {
        parseError("Unsupported file format\n");
    }
}

} // namespace render
