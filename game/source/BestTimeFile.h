#pragma once

#include "core/String.h"

#include <array>
#include <cstdint>

namespace game {

// The best-time file: the best time of each level in milliseconds, 13 signed
// 32-bit little-endian numbers in level order, 52 bytes, nothing else.
// Contract: the engine (pools, string pool, log) must exist; the caller
// passes the times it holds, the defaults before the first load. Neither call
// throws for the file's sake: the times are worth keeping, but not worth
// stopping the game for. What is no fault of the file (the pool's "memory
// full", an engine assertion) passes on, so a bug does not look like a
// missing or unwritable file.
// load takes only the values the file holds in full and leaves the others as
// they were, so a cut file cannot turn a level's time into 0, a record no one
// could beat. Only a file that does not exist is a first start: one that is
// there but can not be read (no permission, a folder, a bad disk) is logged
// and must not be saved over, or the player's records and unlocked levels
// would be lost; load's answer says which. save writes the whole file beside
// the old one (its path with ".tmp" added) and renames it over it, so a save
// that fails halfway leaves the old times intact; the temporary file it made
// is deleted then.
class BestTimeFile {
public:
    static constexpr int kLevelCount = 13;
    static constexpr int kFileSize = kLevelCount * 4;

    using Times = std::array<std::int32_t, kLevelCount>;

    // A missing or unreadable file changes nothing; bytes after the first 52
    // are ignored. False when a file is there but could not be read: then
    // it must not be saved over.
    static bool load(const core::String& path, Times& times);
    static void save(const core::String& path, const Times& times);

    BestTimeFile() = delete;
};

} // namespace game
