// Loads and a frame under every single allocation failure
// (sweepAllocationFailures): each run ends in the pool's or the loader's
// exception, gives everything back and leaves the objects it met whole.
#include "M3GFrame.h"
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

#include "hal/File.h"

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
    static Bytes bytesOf(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    static std::string textOf(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }
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

// Every scene file of the reader's fuzz corpora that loads, from a folder
// that also holds the file their external references name: the whole files
// as they are, and each object stream of the framing harness in a file of
// its own, stored and compressed (as the reference section when its flags
// say so).
TEST_F(LoadFailureTest, SceneFilesOfTheFuzzCorpora)
{
    std::vector<std::pair<std::string, Bytes>> files;
    for (const auto& entry : std::filesystem::directory_iterator(corpusFile("m3g", "")))
        files.emplace_back(entry.path().filename().string(), bytesOf(entry.path().string()));
    for (const auto& entry : std::filesystem::directory_iterator(corpusFile("m3g_objects", ""))) {
        const Bytes input = bytesOf(entry.path().string());
        M3GHeader header;
        header.hasExternalReferences = (input.at(0) & 2) != 0 ? 1 : 0;
        const Bytes objects(input.begin() + 1, input.end());
        for (const int scheme : {0, 1})
            files.emplace_back(entry.path().filename().string() + (scheme == 0 ? "-stored" : "-compressed") + ".m3g",
                               m3gFile(header, {m3gSection(objects, scheme)}));
    }
    put("scene.m3g", textOf(bytesOf(corpusFile("m3g", "group-tree.m3g"))));

    std::vector<std::string> swept;
    for (const auto& file : files) {
        // Named references: C++17 lets no lambda capture a structured binding.
        const std::string& name = file.first;
        put(name, textOf(file.second));
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
    for (const char* expected :
         {"compressed.m3g", "every-class.m3g", "external-reference.m3g", "every-class-stored.m3g",
          "every-class-compressed.m3g", "external-reference-compressed.m3g"})
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
    const std::string gameFont =
        std::string(HAL::File::getWorkingDirectory().c_str()) + "\\media\\simple_font_file.txt";
    for (const char* file : {gameFont.c_str(), static_cast<const char*>(nullptr)}) {
        SCOPED_TRACE(file != nullptr ? file : "built-in");
        sweepAllocationFailures([&] {
            const core::Ref<render::Font2D> font = render::Font2D::createNewFont(file);
            EXPECT_NE(font, nullptr);
        });
    }
}
