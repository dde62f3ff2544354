#pragma once

#include "core/String.h"

#include <array>
#include <cstdint>

namespace game {

// The best-time file: the best time of each level in milliseconds, 13 signed
// 32-bit little-endian numbers in level order, 52 bytes, nothing else.
// Contract: the engine (pools, string pool, log) must exist; the caller
// passes the times it holds, the defaults before the first load. Neither call
// throws: the times are worth keeping, but not worth stopping the game for.
// load takes only the values the file holds in full and leaves the others as
// they were, so a cut file cannot turn a level's time into 0, a record no one
// could beat. save writes the whole file beside the old one (its path with
// ".tmp" added) and renames it over it, so a save that fails halfway leaves
// the old times intact; a temporary file left by a failure is overwritten by
// the next save.
class BestTimeFile {
public:
    static constexpr int kLevelCount = 13;
    static constexpr int kFileSize = kLevelCount * 4;

    using Times = std::array<std::int32_t, kLevelCount>;

    // A missing or unreadable file changes nothing; bytes after the first 52
    // are ignored.
    static void load(const core::String& path, Times& times);
    static void save(const core::String& path, const Times& times);

    BestTimeFile() = delete;
};

} // namespace game
