// A flags byte, then a stream of objects, framed into a whole scene file
// with right lengths and checksums, so that mutations reach the record
// readers instead of stopping at a section's checksum. Flag bit 0 compresses
// the section; bit 1 makes it the external-reference section. External
// references are switched off (FuzzEngine), so nothing reaches the file
// system.
#include "FuzzEngine.h"
#include "M3GFrame.h"

#include "render/M3G_Loader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1 || size > 1 << 20)
        return 0;
    const testsupport::Bytes objects(data + 1, data + size);
    const int scheme = (data[0] & 1) != 0 ? 1 : 0;
    testsupport::M3GHeader header;
    header.hasExternalReferences = (data[0] & 2) != 0 ? 1 : 0;
    const testsupport::Bytes file = testsupport::m3gFile(header, {testsupport::m3gSection(objects, scheme)});
    fuzzsupport::runSceneInput([&] {
        core::Vector<core::Ref<render::Object3D>> out;
        render::M3G_Loader reader;
        reader.load(file.data(), static_cast<int>(file.size()), out);
    });
    return 0;
}
