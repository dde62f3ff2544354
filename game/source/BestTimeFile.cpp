#include "BestTimeFile.h"

#include "LoggedText.h"
#include "SmallFileRead.h"

#include "core/DataIO.h"
#include "core/Debug.h"
#include "core/Ref.h"
#include "hal/File.h"
#include "hal/HALException.h"

namespace game {

namespace {

// Deletes what a failed save left of its temporary file; the file layer has
// logged the failure, and a file that stays is overwritten by the next save.
void discard(HAL::File& temporary)
{
    try {
        if (temporary.isOpen())
            temporary.fclose();
    } catch (const HAL::HALException&) {
        // Closed all the same: the stream is given back either way.
    }
    try {
        temporary.remove();
    } catch (const HAL::HALException&) {
        // Logged by the file layer.
    }
}

} // namespace

bool BestTimeFile::load(const core::String& path, Times& times)
{
    unsigned char bytes[kFileSize] = {};
    // Read-only: a valid file on a write-protected medium must count.
    const SmallFileRead file = readSmallFile(path, "rb", bytes, kFileSize);
    if (file.missing)
        return true;
    if (file.failure != nullptr) {
        core::Debug::printf(core::Debug::LEVEL_WARNING, "BestTimeFile: can not read %s: %.*s\n",
                            loggedPath(file.where.c_str()), kLoggedReasonLength, file.failure);
        core::Debug::printf(core::Debug::LEVEL_PLAIN,
                            "BestTimeFile: it is kept as it is; this session's times stay in memory only\n");
        return false;
    }
    if (file.length < kFileSize)
        core::Debug::printf(core::Debug::LEVEL_WARNING,
                            "BestTimeFile: %d of %d bytes; the missing times keep their defaults\n", file.length,
                            kFileSize);
    core::DataIO cursor(bytes, file.length);
    for (int level = 0; level < file.length / 4; ++level)
        cursor.getStreamData(times[static_cast<std::size_t>(level)]);
    return true;
}

void BestTimeFile::save(const core::String& path, const Times& times)
{
    unsigned char bytes[kFileSize] = {};
    core::DataIO cursor(bytes, kFileSize);
    for (const std::int32_t time : times)
        cursor.setStreamData(time);
    try {
        core::Ref<HAL::File> file = HAL::File::createFileHandle(path + ".tmp");
        // Nothing was made when it can not be opened; a folder or someone
        // else's file in its place must stay.
        file->fopen("wb");
        try {
            file->fwrite(bytes, kFileSize);
            file->fclose();
            file->rename(path);
        } catch (const HAL::HALException&) {
            discard(*file);
        } catch (const Vornic3DException&) {
            // No fault of the file (a full pool, a bug): it passes on, and
            // the half-made file goes all the same.
            discard(*file);
            throw;
        }
    } catch (const HAL::HALException&) {
        // The file layer has logged the failure; the old file is untouched.
    }
}

} // namespace game
