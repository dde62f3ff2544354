#include "SmallFileRead.h"

#include "File.h"
#include "HALException.h"
#include "core/MemoryManagerException.h"
#include "core/Ref.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace game {

namespace {

// Reads into `result`; a stream error (a folder, a bad disk) must not pass
// for a short file, which the file layer's read does not tell apart.
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
        result.missing = e.isMissingFile();
        result.failure = e.reason();
    } catch (const core::MemoryManagerException&) {
        // A full pool is no fault of the file: taken for one, the settings
        // would be written anew and the best times read as the defaults.
        throw;
    } catch (const Vornic3DException& e) {
        result.failure = e.message;
    }
    if (result.failure != nullptr)
        result.length = 0;
    return result;
}

} // namespace game
