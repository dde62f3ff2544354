// Raw bytes as a level image, loaded as the menu loads a level: read by path
// through the loading front end, then its size and every tile code checked
// and the level's objects made, their pictures cut from the game's own
// sprite sheet. Every input must end in a level or in the engine's refusal
// (the loader's, the file layer's, the pool's, the scene graph's, or the
// level's own logged refusal).
#include "FuzzEngine.h"
#include "FuzzFile.h"
#include "FuzzGame.h"

#include "MediaPath.h"

#include "render/Image2D.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 1 << 16)
        return 0;
    const std::string path =
        fuzzsupport::writeInputFile("level.png", std::string(reinterpret_cast<const char*>(data), size));
    fuzzsupport::runGameInput([&] {
        // The sheet is read once: a level's load would read it again each time.
        static core::Ref<render::Image2D> sheet = game::loadMediaImage("sprites.png");
        game::GameLevel& level = fuzzsupport::newLevel();
        level.setSheet(sheet.get());
        level.load(core::String(path.c_str()), core::String("FUZZ"));
    });
    return 0;
}
