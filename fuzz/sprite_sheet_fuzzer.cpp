// A sprite sheet as a level uses it: its check, the atlas and the copy of
// every cell one of the game's own levels takes from it. The first byte picks
// the level (modulo the thirteen) and, by its lowest bit, how the rest gives
// the sheet: a file read by path (bit clear) or, to reach the check and the
// copy past the PNG decoder's checksums, raw pixels (bit set): width and
// height (16 bits each), an image format byte, then pixel bytes repeated to
// fill the image. Every input must end in a level or in the engine's refusal
// (the loader's, the file layer's, the pool's, the scene graph's, or the
// game's own logged refusal).
#include "FuzzEngine.h"
#include "FuzzFile.h"
#include "FuzzGame.h"

#include "GameGlobals.h"
#include "MediaPath.h"

#include "render/Image2D.h"

#include <string>
#include <vector>

namespace {

// The largest raw sheet: twice as wide as the widest whose atlas fits the
// game's pool, and small enough to be made on that pool itself.
constexpr int kMaxRawWidth = 1024;
constexpr int kMaxRawHeight = 512;

core::Ref<render::Image2D> rawSheet(const std::uint8_t* data, std::size_t size)
{
    if (size < 6)
        return nullptr;
    const int width = 1 + (data[0] | data[1] << 8) % kMaxRawWidth;
    const int height = 1 + (data[2] | data[3] << 8) % kMaxRawHeight;
    const int format = render::Image2D::ALPHA + data[4] % 5;
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * render::Image2D::getBpp(format));
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = data[5 + i % (size - 5)];
    return VORNIC3D_NEW render::Image2D(format, width, height, pixels.data());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1 || size > 1 << 16)
        return 0;
    const bool raw = (data[0] & 1) != 0;
    // Only a sheet read by path needs the file.
    const std::string path = raw ? std::string()
                                 : fuzzsupport::writeInputFile(
                                       "sprites.png", std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    fuzzsupport::runGameInput([&] {
        game::GameLevel& level = fuzzsupport::newLevel();
        const auto& levels = game::GameGlobals::get().m_levels;
        const game::LevelInfo& row = levels[data[0] % levels.size()];
        core::Ref<render::Image2D> sheet =
            raw ? rawSheet(data + 1, size - 1) : game::loadFirstImage(core::String(path.c_str()));
        // The game's own loading of the sheet refuses what holds no image.
        if (sheet == nullptr)
            return;
        level.setSheet(sheet.get());
        level.load(game::mediaPath(row.fileName), core::String(row.displayName));
    });
    return 0;
}
