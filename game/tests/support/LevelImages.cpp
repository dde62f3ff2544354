#include "LevelImages.h"

#include "PngWriter.h"

#include <fstream>

namespace gametest {

void writeLevelImage(const std::string& path, const TileRows& rows, bool withAlpha)
{
    testsupport::PngImage image;
    image.height = static_cast<int>(rows.size());
    image.width = static_cast<int>(rows.front().size());
    image.colorType = withAlpha ? 6 : 2; // PNG_COLOR_TYPE_RGB_ALPHA, PNG_COLOR_TYPE_RGB
    for (const std::vector<int>& row : rows) {
        for (const int code : row) {
            image.rows.push_back(static_cast<unsigned char>(code));
            image.rows.push_back(7);
            image.rows.push_back(9);
            if (withAlpha)
                image.rows.push_back(255);
        }
    }
    const testsupport::Bytes file = testsupport::writePng(image);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                                static_cast<std::streamsize>(file.size()));
}

} // namespace gametest
