#pragma once

#include "core/String.h"

namespace game {

// What reading one of the game's own small files (settings, best times)
// whole found: a file that is not there is told apart from one that is there
// but can not be read, because only the first may be written over.
struct SmallFileRead {
    // The path as the file layer names it ('/' separators), for the log.
    core::String where{""};
    // Bytes read; 0 when the file could not be read.
    int length = 0;
    // The file does not exist (a first start).
    bool missing = false;
    // Why nothing could be read, in the system's words; null when it was read.
    const char* failure = nullptr;
};

// Opens `path` with `mode`, reads up to `size` bytes into `buffer` and closes
// the file. Contract: the engine (pools, string pool, log) must exist. A file
// the system refuses (the file layer has logged its own line then), fails to
// read or to close is an answer with its reason; every other failure (the
// pool's "memory full", an engine assertion) is no fault of the file and is
// thrown as it is.
SmallFileRead readSmallFile(const core::String& path, const char* mode, void* buffer, int size);

} // namespace game
