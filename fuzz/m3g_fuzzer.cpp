// Raw bytes straight into the scene-file reader: its identifier test, then a
// load (which skips the identifier unread, so an input need not keep it to
// reach the sections). External references are switched off (FuzzEngine), so
// nothing reaches the file system.
#include "FuzzEngine.h"

#include "render/M3G_Loader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The reader takes an int length.
    if (size > 1 << 24)
        return 0;
    // An empty input still needs a block to point at.
    static const std::uint8_t none = 0;
    const std::uint8_t* bytes = size > 0 ? data : &none;
    const int length = static_cast<int>(size);
    fuzzsupport::runInput([&] { render::M3G_Loader::canHandle(bytes, length); });
    fuzzsupport::runSceneInput([&] {
        core::Vector<core::Ref<render::Object3D>> out;
        render::M3G_Loader reader;
        reader.load(bytes, length, out);
    });
    return 0;
}
