#include "LevelMap.h"

#include "OutputFile.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <stdexcept>

namespace media {

const char kTileCharacters[kMaxTileCode + 2] = ".#@-*+SB[w]^cCm<X!I~=HkD_Tu>z";

namespace {

[[noreturn]] void fail(const std::string& source, int line, int column, const std::string& what)
{
    throw std::runtime_error(source + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + what);
}

int codeOf(char c)
{
    const char* found = c == '\0' ? nullptr : std::strchr(kTileCharacters, c);
    return found == nullptr ? -1 : static_cast<int>(found - kTileCharacters);
}

} // namespace

int LevelMap::code(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return 0;
    return codes[static_cast<std::size_t>(y * width + x)];
}

LevelMap parseLevelMap(const std::string& text, const std::string& source, const std::string& name)
{
    LevelMap map;
    map.name = name;
    int lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line[0] == ';')
            continue;
        if (line.empty()) {
            // Only the end of the file may follow an empty line.
            if (text.find_first_not_of("\r\n", start) == std::string::npos)
                break;
            fail(source, lineNumber, 1, "empty row");
        }
        if (map.height == 0)
            map.width = static_cast<int>(line.size());
        if (static_cast<int>(line.size()) != map.width)
            fail(source, lineNumber, static_cast<int>(std::min(line.size(), static_cast<std::size_t>(map.width))) + 1,
                 "row of " + std::to_string(line.size()) + " cells in a map " + std::to_string(map.width) + " wide");
        if (map.width > kMaxLevelSide)
            fail(source, lineNumber, kMaxLevelSide + 1, "more than " + std::to_string(kMaxLevelSide) + " columns");
        if (map.height == kMaxLevelSide)
            fail(source, lineNumber, 1, "more than " + std::to_string(kMaxLevelSide) + " rows");
        for (std::size_t i = 0; i < line.size(); ++i) {
            const int code = codeOf(line[i]);
            if (code < 0)
                fail(source, lineNumber, static_cast<int>(i) + 1,
                     "'" + std::string(1, line[i]) + "' is not a tile character");
            map.codes.push_back(code);
        }
        ++map.height;
    }
    if (map.height == 0)
        fail(source, lineNumber, 1, "no rows");
    return map;
}

std::vector<LevelMap> readLevelMaps(const std::string& folder)
{
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (it->path().extension() == ".txt")
            files.push_back(it->path());
    }
    if (error)
        throw std::runtime_error("cannot list " + folder + ": " + error.message());
    std::sort(files.begin(), files.end());

    std::vector<LevelMap> maps;
    for (const fs::path& file : files) {
        const std::vector<std::uint8_t> bytes = readInputFile(file.string());
        maps.push_back(
            parseLevelMap(std::string(bytes.begin(), bytes.end()), file.filename().string(), file.stem().string()));
    }
    return maps;
}

} // namespace media
