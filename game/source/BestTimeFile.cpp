#include "BestTimeFile.h"

#include "File.h"
#include "core/DataIO.h"
#include "core/Debug.h"
#include "core/Ref.h"

namespace game {

void BestTimeFile::load(const core::String& path, Times& times)
{
    unsigned char bytes[kFileSize] = {};
    int length = 0;
    try {
        // Read-only: a valid file on a write-protected medium must count.
        core::Ref<HAL::File> file = HAL::File::createFileHandle(path);
        file->fopen("rb");
        length = file->fread(bytes, kFileSize);
        file->fclose();
    } catch (...) {
        // No file yet (the first start) or none readable: the times stay.
        return;
    }
    if (length < kFileSize)
        core::Debug::printf(core::Debug::LEVEL_WARNING,
                            "BestTimeFile: %d of %d bytes; the missing times keep their defaults\n", length,
                            kFileSize);
    core::DataIO cursor(bytes, length);
    for (int level = 0; level < length / 4; ++level)
        cursor.getStreamData(times[static_cast<std::size_t>(level)]);
}

void BestTimeFile::save(const core::String& path, const Times& times)
{
    unsigned char bytes[kFileSize] = {};
    core::DataIO cursor(bytes, kFileSize);
    for (const std::int32_t time : times)
        cursor.setStreamData(time);
    try {
        core::Ref<HAL::File> file = HAL::File::createFileHandle(path + ".tmp");
        file->fopen("wb");
        file->fwrite(bytes, kFileSize);
        file->fclose();
        file->rename(path);
    } catch (...) {
        // The file layer has logged the failure; the old file is untouched.
    }
}

} // namespace game
