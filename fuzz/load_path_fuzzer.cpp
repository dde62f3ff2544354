// Files loaded by path as the game meets them on disk, with the external
// references of scene files resolved in a scratch folder that also holds a
// FIFO nothing writes to, a folder and an image: the nesting and loop limits,
// the retry beside the referencing file and the file layer's refusals. The
// input is up to kMaxFiles files separated by kSeparator lines, written as
// "0.m3g", "1.m3g" and so on; a file whose first byte is 'R' becomes a scene
// file whose external references are the rest of its bytes, one URI a line
// (framed with right lengths and checksums, so the URIs reach the reader),
// any other is written as it stands. "0.m3g" is loaded. Every input must end
// in objects or in the engine's refusal (the loader's, the file layer's, the
// pool's or the scene graph's).
#include "FuzzEngine.h"
#include "FuzzFile.h"
#include "M3GFrame.h"

#include "render/Loader.h"
#include "render/M3G_Loader.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kMaxFiles = 24;
// Rare in a scene file or an image, so that their bytes can stand as they are.
constexpr char kSeparator[] = "\n=====\n";
constexpr std::size_t kSeparatorLength = sizeof kSeparator - 1;

// The scratch folder with the fixed files beside the input's, made once.
std::string scratchFolder()
{
    static const std::string folder = [] {
        fuzzsupport::startEngine();
        render::M3G_Loader::setExternalReferencesEnabled(true);
        const std::string fifo = fuzzsupport::writeInputFile("fifo", "");
        std::filesystem::remove(fifo);
        if (mkfifo(fifo.c_str(), 0600) != 0)
            std::abort();
        const std::string parent = std::filesystem::path(fifo).parent_path().string();
        std::filesystem::create_directory(parent + "/folder");
        const std::string image = fuzzsupport::readFile(fuzzsupport::programFolder() + "/media/dust.png");
        if (image.empty())
            std::abort();
        fuzzsupport::writeInputFile("image.png", image);
        // A reference is tried as written first, relative to the working
        // directory: there, too, it must meet the scratch files and none of
        // the caller's. So libFuzzer's paths must be absolute, as
        // scripts/fuzz.sh gives them.
        std::filesystem::current_path(parent);
        return parent;
    }();
    return folder;
}

std::string sceneFile(const std::string& uris)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = uris.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(uris.substr(start, end - start));
    lines.push_back(uris.substr(start));
    const testsupport::Bytes file = testsupport::m3gFileWithReferences(lines);
    return std::string(file.begin(), file.end());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 1 << 16)
        return 0;
    const std::string folder = scratchFolder();
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::size_t start = 0;
    for (std::size_t file = 0; file < kMaxFiles; ++file) {
        const std::string name = std::to_string(file) + ".m3g";
        if (start > input.size()) {
            std::filesystem::remove(folder + "/" + name);
            continue;
        }
        const std::size_t end = std::min(input.find(kSeparator, start), input.size());
        const std::string content = input.substr(start, end - start);
        fuzzsupport::writeInputFile(name,
                                    !content.empty() && content[0] == 'R' ? sceneFile(content.substr(1)) : content);
        start = end + kSeparatorLength;
    }
    fuzzsupport::runSceneInput([&] {
        render::Loader::Objects out;
        render::Loader::load(core::String((folder + "/0.m3g").c_str()), out);
    });
    return 0;
}
