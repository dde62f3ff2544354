#include "Levels.h"

#include "LevelMap.h"
#include "PngWriter.h"

#include <stdexcept>

namespace media {

void writeLevels(const std::string& mapsFolder, const std::string& folder)
{
    const std::vector<LevelMap> maps = readLevelMaps(mapsFolder);
    if (maps.empty())
        throw std::runtime_error("no level maps in " + mapsFolder);
    for (const LevelMap& map : maps) {
        std::vector<std::uint8_t> pixels;
        for (int code : map.codes) {
            pixels.push_back(static_cast<std::uint8_t>(code));
            pixels.push_back(0);
            pixels.push_back(0);
        }
        writePng(folder, map.name + ".png", map.width, map.height, 3, pixels);
    }
}

} // namespace media
