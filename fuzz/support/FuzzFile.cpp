#include "FuzzFile.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fuzzsupport {

namespace {

std::string& runFolder()
{
    static std::string folder;
    return folder;
}

void removeRunFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(runFolder(), ignored);
}

} // namespace

std::string writeInputFile(const std::string& name, const std::string& bytes)
{
    std::string& folder = runFolder();
    if (folder.empty()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "vornic3d_fuzz_XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            std::abort();
        folder = pattern;
        std::atexit(removeRunFolder);
    }
    const std::string path = folder + "/" + name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string programFolder()
{
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
}

} // namespace fuzzsupport
