// Raw bytes through the loading front end, as a file's content reaches it:
// every input must end in objects or in the engine's refusal. External
// references are switched off (FuzzEngine), so nothing reaches the file
// system.
#include "FuzzEngine.h"

#include "render/Loader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The front end takes an int length.
    if (size > 1 << 24)
        return 0;
    fuzzsupport::runSceneInput([&] {
        // An empty input still needs a block to point at.
        static const std::uint8_t none = 0;
        render::Loader::Objects out;
        render::Loader::load(size > 0 ? data : &none, static_cast<int>(size), 0, out);
    });
    return 0;
}
