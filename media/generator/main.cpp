// The media generator: draws every image and sound of the game from nothing
// and converts the level maps into level images. Its output is committed in
// media/; the media check regenerates it and compares.
//
// Usage: media_generator LEVEL_MAPS_FOLDER OUTPUT_FOLDER
#include "Backgrounds.h"
#include "Fonts.h"
#include "Levels.h"
#include "Pictures.h"
#include "Sounds.h"
#include "SpriteSheet.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: media_generator LEVEL_MAPS_FOLDER OUTPUT_FOLDER\n");
        return 2;
    }
    const std::string levels = argv[1];
    const std::string output = argv[2];
    try {
        media::writeSpriteSheet(output);
        media::writeBackgrounds(output);
        media::writePictures(output);
        media::writeFonts(output);
        media::writeSounds(output);
        media::writeLevels(levels, output);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "media_generator: %s\n", error.what());
        return 1;
    }
    return 0;
}
