// Loads and a frame under every single allocation failure
// (sweepAllocationFailures): each run ends in the pool's or the loader's
// exception, gives everything back and leaves the objects it met whole.
#include "OGLESTest.h"
#include "SceneGraphTest.h"
#include "TempFolder.h"

#include "core/IOException.h"
#include "render/Appearance.h"
#include "render/Font2D.h"
#include "render/Image2D.h"
#include "render/Loader.h"
#include "render/Sprite3D.h"
#include "render/Text2D.h"

#include "File.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace testsupport;

namespace {

using Objects = core::Vector<core::Ref<render::Object3D>>;

class LoadFailureTest : public SceneGraphTest, protected TempFolder {
protected:
    // Loads the file at `path` and drops what it loaded.
    static void loadAndDrop(const std::string& path)
    {
        Objects out;
        render::Loader::load(core::String(path.c_str()), out);
        EXPECT_GT(out.m_size, 0);
    }
    static std::string corpusFile(const std::string& harness, const std::string& name)
    {
        return std::string(VORNIC3D_FUZZ_CORPUS) + "/" + harness + "/" + name;
    }
    void copyIn(const std::string& from, const std::string& name) const
    {
        std::ifstream in(from, std::ios::binary);
        put(name, std::string(std::istreambuf_iterator<char>(in), {}));
    }
};

} // namespace

// ---- loaders ---------------------------------------------------------------------------

TEST_F(LoadFailureTest, PngLoadsOfEveryKind)
{
    for (const char* name : {"rgb-2x2.png", "rgba-1x3.png", "palette-trns.png", "grey-4.png", "adam7-rgb.png"}) {
        SCOPED_TRACE(name);
        const AllocationCounts counts = sweepAllocationFailures([&] { loadAndDrop(corpusFile("loader", name)); });
        EXPECT_GT(counts.mainPool, 0) << counts;
    }
}

// Every scene file of the reader's fuzz corpus that loads, from a folder
// that also holds the file its external reference names.
TEST_F(LoadFailureTest, SceneFilesOfTheFuzzCorpus)
{
    copyIn(corpusFile("m3g", "group-tree.m3g"), "scene.m3g");
    std::vector<std::string> swept;
    for (const auto& entry : std::filesystem::directory_iterator(corpusFile("m3g", ""))) {
        const std::string name = entry.path().filename().string();
        copyIn(entry.path().string(), name);
        Objects probe;
        try {
            render::Loader::load(core::String(at(name).c_str()), probe);
        } catch (const core::IOException&) {
        }
        if (probe.m_size == 0)
            continue;
        probe.removeAll();
        SCOPED_TRACE(name);
        sweepAllocationFailures([&] { loadAndDrop(at(name)); });
        swept.push_back(name);
    }
    for (const char* expected : {"compressed.m3g", "every-class.m3g", "external-reference.m3g", "group-tree.m3g"})
        EXPECT_NE(std::find(swept.begin(), swept.end(), expected), swept.end()) << expected;
}

// ---- the renderer ----------------------------------------------------------------------

namespace {

class RendererFailureTest : public OGLESTest {};

} // namespace

// A frame of sprites and text on a renderer that makes its batch buffers at
// the frame's first use; after each run a fresh renderer takes its place.
TEST_F(RendererFailureTest, AFrameOfSpritesAndText)
{
    const core::Ref<render::Image2D> image = quadrants(8);
    const core::Ref<render::Appearance> appearance = VORNIC3D_NEW render::Appearance();
    const core::Ref<render::Sprite3D> sprite = VORNIC3D_NEW render::Sprite3D(false, image.get(), appearance.get());
    const core::Ref<render::Font2D> font = render::Font2D::createNewFont(nullptr);
    const core::Ref<render::Text2D> text = VORNIC3D_NEW render::Text2D();
    text->setFont(font.get());
    text->setText(core::String("SCORE 12"));
    useScreenCamera();
    const auto frame = [&] {
        g3d().bindTarget(nullptr);
        clearTo(kBlack);
        useScreenCamera();
        for (int i = 0; i < 20; ++i)
            g3d().render(sprite.get(), translation(static_cast<float>(4 + 3 * i), 30.0f, 0.0f));
        g3d().render(text.get(), translation(2.0f, 2.0f, 0.0f));
        g3d().releaseTarget();
    };
    const AllocationCounts counts = sweepAllocationFailures(frame, [&] { restartRenderer(defaultConfig()); });
    EXPECT_GT(counts.mainPool, 0) << counts;
}

TEST_F(RendererFailureTest, BitmapAndBuiltInFontsUploadedToTheDevice)
{
    const std::string gameFont = std::string(HAL::File::getWorkingDirectory().c_str()) + "\\media\\simple_font_file.txt";
    for (const char* file : {gameFont.c_str(), static_cast<const char*>(nullptr)}) {
        SCOPED_TRACE(file != nullptr ? file : "built-in");
        sweepAllocationFailures([&] {
            const core::Ref<render::Font2D> font = render::Font2D::createNewFont(file);
            EXPECT_NE(font, nullptr);
        });
    }
}
