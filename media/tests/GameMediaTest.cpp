#include "GameMediaTest.h"

#include "render/Font2D.h"
#include "render/Image2D.h"
#include "render/Loader.h"

#include "hal/File.h"

namespace mediatest {

const std::vector<LevelRow>& levelTable()
{
    static const std::vector<LevelRow> rows = {
        {"level0.png", "PRACTICE"},         {"level0_1.png", "MORONS"},        {"level0_2.png", "ACE"},
        {"level1.png", "WASTED"},           {"level1_1.png", "RIP IT OUT"},    {"level1_2.png", "I DONT MIND"},
        {"level2.png", "SHOCK ME"},         {"level2_1.png", "BLACK DIAMOND"}, {"level2_2.png", "ASYLUM"},
        {"level2_3.png", "HYBRID MOMENTS"}, {"level3.png", "LAST CARES"},      {"level3_1.png", "ALL WE WANNA DO"},
        {"level4.png", "RUDIS REGGAE"},
    };
    return rows;
}

const std::vector<MediaFile>& mediaFiles()
{
    static const std::vector<MediaFile> files = [] {
        std::vector<MediaFile> list = {
            {"sprites.png", MediaKind::Texture, 256, 256, 4},
            {"BG1.png", MediaKind::Texture, 256, 256, 3},
            {"BG2.png", MediaKind::Texture, 256, 256, 3},
            {"BG3.png", MediaKind::Texture, 256, 256, 3},
            {"tausta.png", MediaKind::Texture, 256, 512, 3},
            {"dust.png", MediaKind::Texture, 32, 32, 4},
            {"tessly_mordane_logo_2.png", MediaKind::Texture, 256, 128, 4},
            {"simple_font_file.png", MediaKind::Texture, 512, 32, 4},
            {"simple_font_file2.png", MediaKind::Texture, 512, 32, 4},
            {"simple_font_file.txt", MediaKind::Font},
            {"simple_font_file2.txt", MediaKind::Font},
            {"theme.wav", MediaKind::Sound},
            {"menu.wav", MediaKind::Sound},
            {"SCORE.wav", MediaKind::Sound},
            {"READY.WAV", MediaKind::Sound},
            {"GO.WAV", MediaKind::Sound},
            {"GAME_OVER.WAV", MediaKind::Sound},
            {"LEVEL_COMPLETED.WAV", MediaKind::Sound},
        };
        for (const LevelRow& row : levelTable())
            list.push_back({row.fileName, MediaKind::LevelImage, 0, 0, 3});
        return list;
    }();
    return files;
}

void GameMediaTest::SetUp()
{
    OGLESTest::SetUp();
    render::Graphics3DConfig config = defaultConfig();
    config.max_dynamic_buffers = 6;
    config.max_dynamic_buffer_size = 1500;
    restartRenderer(config);
}

core::String GameMediaTest::mediaPath(const char* name)
{
    return HAL::File::getWorkingDirectory() + "\\media\\" + name;
}

core::Ref<render::Image2D> GameMediaTest::loadImage(const core::String& path)
{
    render::Loader::Objects objects;
    render::Loader::load(path, objects);
    return objects.m_size > 0 ? dynamic_cast<render::Image2D*>(objects[0].get()) : nullptr;
}

core::Ref<render::Font2D> GameMediaTest::loadFont(const char* name)
{
    return render::Font2D::createNewFont(mediaPath(name).c_str());
}

int sample(const render::Image2D& image, int x, int y, int c)
{
    const int bpp = render::Image2D::getBpp(image.getFormat());
    return image.getPixels()[(y * image.getWidth() + x) * bpp + c];
}

} // namespace mediatest
