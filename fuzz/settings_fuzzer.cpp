// Raw bytes as the settings file beside the program: the reader never fails,
// and either takes the text as it stands (a second reading then gives the
// same values and leaves the file alone) or writes the default text and
// takes the defaults, and that only for a text it could not use.
#include "FuzzEngine.h"
#include "FuzzFile.h"

#include "SettingsFile.h"

#include <cstdlib>
#include <cstring>
#include <string>

using game::SettingsFile;

namespace {

const std::string kDefaultText = "GENERATED ASCII CODE CONFIG FOR SAMSUNG OMNIA\nQUIT 114\nSHADOWS 1\nSOUNDS 1";

struct Settings {
    // Values no reading would leave behind unless a key has no number.
    std::int32_t quitKey = -7;
    std::int32_t shadows = -8;
    std::int32_t sounds = -9;

    bool operator==(const Settings& o) const
    {
        return quitKey == o.quitKey && shadows == o.shadows && sounds == o.sounds;
    }
};

Settings load(const core::String& path)
{
    Settings s;
    SettingsFile::load(path, s.quitKey, s.shadows, s.sounds);
    return s;
}

// The text as the reader sees it ends at the first zero byte.
bool usable(const std::string& bytes)
{
    const std::string text = bytes.substr(0, std::strlen(bytes.c_str()));
    return bytes.size() < SettingsFile::kMaxTextLength && text.find("QUIT") != std::string::npos &&
           text.find("SHADOWS") != std::string::npos && text.find("SOUNDS") != std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 4096)
        return 0;
    const std::string input(reinterpret_cast<const char*>(data), size);
    fuzzsupport::runInput([&] {
        const std::string path = fuzzsupport::writeInputFile("config.txt", input);
        const core::String enginePath(path.c_str());
        const Settings first = load(enginePath);
        const std::string after = fuzzsupport::readFile(path);
        if (after == input) {
            if (!usable(input) || !(load(enginePath) == first) || fuzzsupport::readFile(path) != input)
                std::abort();
        } else {
            const Settings defaults{SettingsFile::kDefaultQuitKey, SettingsFile::kDefaultShadows,
                                    SettingsFile::kDefaultSounds};
            if (usable(input) || after != kDefaultText || !(first == defaults))
                std::abort();
        }
    });
    return 0;
}
