#pragma once

#include <cstdint>

namespace game {

// One row of the level table: the level image's file name in the media
// folder, the name shown to the player, the best time and the hand-over flag
// from a finished level to the menu. A plain value, assigned field by field;
// the names point at constant texts that outlive the table.
struct LevelInfo {
    // A locked level; an open level without a time holds kOpenWithoutTime.
    static constexpr std::int32_t kLocked = 999000;
    static constexpr std::int32_t kOpenWithoutTime = 998001;

    const char* fileName = "";
    const char* displayName = "";
    std::int32_t bestTime = kLocked;
    // Set when the level was finished; the menu consumes and clears it.
    bool completed = false;
};

} // namespace game
