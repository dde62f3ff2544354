#include "SettingsFile.h"

#include "LoggedText.h"
#include "SmallFileRead.h"

#include "core/Debug.h"
#include "core/Ref.h"
#include "hal/File.h"
#include "hal/HALException.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace game {

namespace {

constexpr const char* kDefaultFormat = "GENERATED ASCII CODE CONFIG FOR SAMSUNG OMNIA\nQUIT %d\nSHADOWS %d\nSOUNDS %d";

// The number after the first `key` in `text`. False when the key is missing;
// a key followed by no number leaves `value` alone. sscanf's "%d" would
// overflow on a long number: strtol takes the same text (blanks, sign,
// digits) and reports the overflow, which is clamped to the 32-bit range.
bool readKey(const char* text, const char* key, std::int32_t& value)
{
    const char* found = std::strstr(text, key);
    if (found == nullptr)
        return false;
    const char* start = found + std::strlen(key);
    char* end = nullptr;
    errno = 0;
    const long number = std::strtol(start, &end, 10);
    if (end == start)
        return true;
    if (errno == ERANGE || number < INT32_MIN || number > INT32_MAX) {
        core::Debug::printf(core::Debug::LEVEL_WARNING, "SettingsFile: the number after %s is out of range\n", key);
        value = number < 0 ? INT32_MIN : INT32_MAX;
    } else {
        value = static_cast<std::int32_t>(number);
    }
    return true;
}

} // namespace

void SettingsFile::load(const core::String& path, std::int32_t& quitKey, std::int32_t& shadows, std::int32_t& sounds)
{
    if (read(path, quitKey, shadows, sounds))
        return;
    rewrite(path);
    quitKey = kDefaultQuitKey;
    shadows = kDefaultShadows;
    sounds = kDefaultSounds;
}

bool SettingsFile::read(const core::String& path, std::int32_t& quitKey, std::int32_t& shadows, std::int32_t& sounds)
{
    char text[kMaxTextLength + 1] = {};
    // Read-only: a valid file on a write-protected medium must count.
    const SmallFileRead file = readSmallFile(path, "r", text, kMaxTextLength);
    const auto refuse = [&](const char* reason, const char* detail) {
        core::Debug::printf(core::Debug::LEVEL_WARNING,
                            "SettingsFile: %s %s%.*s; writing it anew with the default settings\n",
                            loggedPath(file.where.c_str()), reason, kLoggedReasonLength, detail);
        return false;
    };
    if (file.failure != nullptr)
        return refuse("can not be read: ", file.failure);
    if (file.length >= kMaxTextLength) {
        char detail[32];
        std::snprintf(detail, sizeof detail, "%d bytes or more", kMaxTextLength);
        return refuse("is too long: ", detail);
    }
    std::int32_t values[3] = {quitKey, shadows, sounds};
    const char* const keys[3] = {"QUIT", "SHADOWS", "SOUNDS"};
    for (int i = 0; i < 3; ++i)
        if (!readKey(text, keys[i], values[i]))
            return refuse("lacks the key ", keys[i]);
    quitKey = values[0];
    shadows = values[1];
    sounds = values[2];
    return true;
}

void SettingsFile::rewrite(const core::String& path)
{
    char text[200];
    const int length =
        std::snprintf(text, sizeof text, kDefaultFormat, kDefaultQuitKey, kDefaultShadows, kDefaultSounds);
    try {
        core::Ref<HAL::File> file = HAL::File::createFileHandle(path);
        file->fopen("w");
        file->fwrite(text, length);
        file->fclose();
    } catch (const HAL::HALException&) {
        // Stopping the game over an optional file would be worse than the
        // defaults, which hold anyway.
        core::Debug::printf(core::Debug::LEVEL_WARNING,
                            "SettingsFile: can not write the settings file; using the defaults\n");
    }
}

} // namespace game
