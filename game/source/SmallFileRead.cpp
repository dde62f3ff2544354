#include "SmallFileRead.h"

#include "core/Ref.h"
#include "hal/File.h"
#include "hal/HALException.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace game {

namespace {

// Reads into `result`; a stream error (an I/O error) must not pass for a
// short file, which the file layer's read does not tell apart.
void readOpened(HAL::File& file, void* buffer, int size, SmallFileRead& result)
{
    errno = 0;
    const int length = file.fread(buffer, size);
    if (std::ferror(file.getHandle()) != 0)
        result.failure = std::strerror(errno != 0 ? errno : EIO);
    else
        result.length = length;
    file.fclose();
}

} // namespace

SmallFileRead readSmallFile(const core::String& path, const char* mode, void* buffer, int size)
{
    SmallFileRead result;
    try {
        core::Ref<HAL::File> file = HAL::File::createFileHandle(path);
        result.where = file->getPath() + file->getName();
        file->fopen(mode);
        readOpened(*file, buffer, size, result);
    } catch (const HAL::HALException& e) {
        // Only the file layer's own failure is the file's. Anything else (a
        // full pool, an engine assertion) passes on: taken for the file's,
        // the settings would be written anew and the best times read as the
        // defaults.
        result.missing = e.isMissingFile();
        result.failure = e.reason();
    }
    if (result.failure != nullptr)
        result.length = 0;
    return result;
}

} // namespace game
