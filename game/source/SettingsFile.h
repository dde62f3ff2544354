#pragma once

#include "core/String.h"

#include <cstdint>

namespace game {

// The settings file: a short text in which the keys "QUIT", "SHADOWS" and
// "SOUNDS" are found by plain substring search (the first occurrence, also
// inside a longer word), each followed by a decimal number.
// Contract: the engine (pools, string pool, log) must exist. load throws only
// what is no fault of the file (the pool's "memory full", an engine
// assertion): a file that cannot be read, holds 300 bytes or more or lacks a
// key is rewritten with the default text and all three values become the
// defaults, and one warning names the file and the reason (a player's keys
// must not vanish without a word); a key followed by no number leaves its
// value as it was and is no reason to rewrite. The settings are optional, so
// a rewrite that the file layer refuses is logged as a warning and the game
// goes on with the defaults. Numbers beyond the 32-bit range are clamped to
// it.
class SettingsFile {
public:
    static constexpr std::int32_t kDefaultQuitKey = 114;
    static constexpr std::int32_t kDefaultShadows = 1;
    static constexpr std::int32_t kDefaultSounds = 1;
    // A text of this many bytes or more is not read.
    static constexpr int kMaxTextLength = 300;

    static void load(const core::String& path, std::int32_t& quitKey, std::int32_t& shadows, std::int32_t& sounds);

    SettingsFile() = delete;

private:
    // True when the text was read and holds all three keys; the values change
    // only then.
    static bool read(const core::String& path, std::int32_t& quitKey, std::int32_t& shadows, std::int32_t& sounds);
    static void rewrite(const core::String& path);
};

} // namespace game
