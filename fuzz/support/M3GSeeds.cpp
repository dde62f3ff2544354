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
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A group with every base record field present: a component and a general
// transform, and alignment to the two groups before it.
Bytes alignedGroup()
{
    M3GRecord record;
    record.bytes(object3DRecord(5)).u8(1).f32s({1, 2, 3, 1, 1, 1, 90, 0, 0, 1}).u8(1);
    for (int i = 0; i < 16; ++i)
        record.f32(i % 5 == 0 ? 1.0f : 0.0f);
    record.u8(1).u8(1).u8(128).u32(3).u8(1).u8(148).u8(147).u32(2).u32(3).u32Array({});
    return m3gObject(9, record);
}

// One object of every class the reader builds, each naming the ones before
// it, under one world: vertex arrays of every encoding, a buffer, strips of
// 16-bit and 8-bit indices, images stored, with a short palette and blank,
// the appearance parts, the three meshes, a camera, a light, a background,
// keyframes of every encoding, a controller and a track on the world.
Bytes everyClass()
{
    const Bytes lengths = M3GRecord().u32Array({4});
    const Bytes node = joined({transformableRecord(), nodeRecord()});
    return joined({
        vertexArrayObject(3, {0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0}), // 2
        sceneObject(20, M3GRecord().u8(1).u8(3).u8(1).u16(4).bytes({0, 0, 127, 0, 0, 0, 0, 0, 0, 0, 0, 0})),
        sceneObject(20, M3GRecord().u8(1).u8(4).u8(0).u16(4).bytes(Bytes(16, 0x80))),
        vertexArrayObject(2, {0, 0, 1, 0, 0, 1, 1, 1}),
        vertexBufferObject(2, 3, 4, {5}), // 6
        stripsObject({0, 1, 2, 3}, {4}),
        sceneObject(11, M3GRecord().u8(129).u32(4).u8(3).u8(2).u8(1).u8(0).bytes(lengths)),
        sceneObject(10, M3GRecord().u8(99).u8(0).u32(2).u32(2).u32(0).u32(12).bytes(Bytes(12, 200))), // 9
        sceneObject(10, M3GRecord().u8(100).u8(0).u32(2).u32(2).u32(64).bytes(Bytes(64, 7)).u32(4).u32(0x0F000102u)),
        sceneObject(10, M3GRecord().u8(100).u8(1).u32(4).u32(4)),
        sceneObject(17, M3GRecord().u32(9).u8(1).u8(2).u8(3).u8(228).u8(240).u8(241).u8(209).u8(210)), // 12
        sceneObject(6, M3GRecord().u8(1).u8(1).u8(1).u8(0).u8(64).u8(128).f32(1).f32(2)),
        sceneObject(8, M3GRecord().u8(160).u8(165).u8(168).u8(0).u8(0).u8(1)),
        sceneObject(13, M3GRecord().bytes(Bytes(13, 50)).f32(20).u8(1)),
        sceneObject(7, M3GRecord().u8(1).u8(2).u8(3).u8(81).f32s({1, 50})), // 16
        sceneObject(7, M3GRecord().u8(1).u8(2).u8(3).u8(80).f32(0.5f)),
        sceneObject(3, M3GRecord().u8(0xC1).u32(13).u32(16).u32(14).u32(15).u32Array({12})), // 18
        sceneObject(14, meshRecord(6, {{7, 18}, {8, 18}})),
        vertexBufferObject(2),
        sceneObject(15, M3GRecord().bytes(meshRecord(6, {{7, 18}})).u32(1).u32(20).f32(0.5f)), // 21
        groupObject(),
        groupObject({22}),
        sceneObject(16, M3GRecord().bytes(meshRecord(6, {{7, 18}})).u32(23).u32(1).u32(22).u32(0).u32(4).u32(65535)),
        sceneObject(5, M3GRecord().u8(50).f32s({60, 1.5f, 1, 100})), // 25
        sceneObject(12, M3GRecord().f32s({1, 0, 0}).u8(255).u8(255).u8(255).u8(131).f32(1).f32(30).f32(2)),
        sceneObject(4, M3GRecord().u32(0x80402010u).u32(9).u8(32).u8(33).u32(0).u32(0).u32(2).u32(2).u8(1).u8(1)),
        sceneObject(
            19,
            M3GRecord().u8(176).u8(193).u8(0).u32(100).u32(0).u32(1).u32(1).u32(2).u32(0).f32(1).u32(50).f32(2)), // 28
        sceneObject(19, M3GRecord()
                            .u8(180)
                            .u8(192)
                            .u8(1)
                            .u32(10)
                            .u32(0)
                            .u32(0)
                            .u32(2)
                            .u32(1)
                            .f32(0)
                            .f32(0)
                            .f32(1)
                            .f32(2)
                            .u32(0)
                            .u8(255)
                            .u8(128)),
        sceneObject(
            19, M3GRecord().u8(177).u8(193).u8(2).u32(10).u32(0).u32(0).u32(1).u32(1).f32(0).f32(1).u32(0).u16(65535)),
        sceneObject(1, M3GRecord().f32(1).f32(1).u32(0).u32(100).f32(0).u32(0)), // 31
        sceneObject(2, M3GRecord().u32(28).u32(31).u32(275)),
        m3gObject(
            22, M3GRecord().bytes(object3DRecord(33, {32})).bytes(node).u32Array({19, 21, 24, 25, 26}).u32(25).u32(27)),
    });
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
    write(corpus + "/m3g/sections.m3g", m3gFile(M3GHeader(), {m3gSection(joined({groupObject(), groupObject()})),
                                                              m3gSection(Bytes()), m3gSection(alignedGroup(), 1)}));
    write(corpus + "/m3g/external-reference.m3g", m3gFileWithReferences({"scene.m3g"}));
    write(corpus + "/m3g/every-class.m3g", m3gFile(everyClass(), 1));

    write(corpus + "/m3g_objects/group-tree", withFlags(0, tree));
    write(corpus + "/m3g_objects/compressed", withFlags(1, tree));
    write(corpus + "/m3g_objects/aligned", withFlags(0, joined({groupObject(), groupObject(), alignedGroup()})));
    write(corpus + "/m3g_objects/external-reference", withFlags(2, reference));
    write(corpus + "/m3g_objects/every-class", withFlags(0, everyClass()));
    write(corpus + "/m3g_objects/every-class-compressed", withFlags(1, everyClass()));
    return 0;
}
