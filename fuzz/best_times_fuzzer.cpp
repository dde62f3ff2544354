// Raw bytes as the best-time file: every time the file holds in full is
// taken, every other keeps its default, and what is saved reads back.
#include "FuzzEngine.h"
#include "FuzzFile.h"

#include "BestTimeFile.h"

#include <cstdlib>
#include <string>

using game::BestTimeFile;

namespace {

BestTimeFile::Times defaults()
{
    BestTimeFile::Times times;
    times.fill(999000);
    times[0] = 998001;
    return times;
}

std::int32_t littleEndianAt(const std::uint8_t* data, std::size_t offset)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | data[offset + static_cast<std::size_t>(i)];
    return static_cast<std::int32_t>(value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 4096)
        return 0;
    fuzzsupport::runInput([&] {
        const std::string path =
            fuzzsupport::writeInputFile("hiscore.bin", std::string(reinterpret_cast<const char*>(data), size));
        const core::String enginePath(path.c_str());
        BestTimeFile::Times times = defaults();
        BestTimeFile::load(enginePath, times);
        BestTimeFile::Times expected = defaults();
        for (std::size_t level = 0; level < expected.size() && 4 * level + 4 <= size; ++level)
            expected[level] = littleEndianAt(data, 4 * level);
        if (times != expected)
            std::abort();

        BestTimeFile::save(enginePath, times);
        BestTimeFile::Times again = defaults();
        BestTimeFile::load(enginePath, again);
        if (again != times || fuzzsupport::readFile(path).size() != BestTimeFile::kFileSize)
            std::abort();
    });
    return 0;
}
