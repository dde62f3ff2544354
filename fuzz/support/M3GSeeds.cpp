// Writes the seed inputs of the scene-file harnesses, built with the tests'
// frame builder: m3g_seeds <corpus folder>, which must hold the folders m3g
// and m3g_objects (fuzz/corpus). Run again when the frame builder changes.
#include "M3GFrame.h"

#include <cstdio>
#include <fstream>
#include <string>

using namespace testsupport;

namespace {

void write(const std::string& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                 static_cast<std::streamsize>(bytes.size()));
}

// A group with every base record field present: a component and a general
// transform, and alignment to the two groups before it.
Bytes alignedGroup()
{
    M3GRecord record;
    record.bytes(object3DRecord(5)).u8(1);
    for (float value : {1.0f, 2.0f, 3.0f, 1.0f, 1.0f, 1.0f, 90.0f, 0.0f, 0.0f, 1.0f})
        record.f32(value);
    record.u8(1);
    for (int i = 0; i < 16; ++i)
        record.f32(i % 5 == 0 ? 1.0f : 0.0f);
    record.u8(1).u8(1).u8(128).u32(3).u8(1).u8(148).u8(147).u32(2).u32(3).u32Array({});
    return m3gObject(9, record);
}

Bytes withFlags(unsigned flags, const Bytes& objects)
{
    return joined({{static_cast<unsigned char>(flags)}, objects});
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: m3g_seeds <corpus folder>\n");
        return 1;
    }
    const std::string corpus = argv[1];
    const Bytes tree = joined({groupObject({}, 2), groupObject({}, 3), groupObject({2, 3}, 4)});
    const Bytes reference = m3gObject(kExternalReferenceType, M3GRecord().text("scene.m3g"));

    M3GHeader authored;
    authored.authoring = "seed";
    write(corpus + "/m3g/header-only.m3g", m3gFile(authored, {}));
    write(corpus + "/m3g/group-tree.m3g", m3gFile(tree));
    write(corpus + "/m3g/compressed.m3g", m3gFile(tree, 1));
    write(corpus + "/m3g/sections.m3g",
          m3gFile(M3GHeader(), {m3gSection(joined({groupObject(), groupObject()})), m3gSection(Bytes()),
                                  m3gSection(alignedGroup(), 1)}));
    write(corpus + "/m3g/external-reference.m3g", m3gFileWithReferences({"scene.m3g"}));

    write(corpus + "/m3g_objects/group-tree", withFlags(0, tree));
    write(corpus + "/m3g_objects/compressed", withFlags(1, tree));
    write(corpus + "/m3g_objects/aligned", withFlags(0, joined({groupObject(), groupObject(), alignedGroup()})));
    write(corpus + "/m3g_objects/external-reference", withFlags(2, reference));
    return 0;
}
