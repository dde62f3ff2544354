#include "M3G_LoaderFixture.h"

#include "render/IndexBuffer.h"
#include "render/Mesh.h"
#include "render/MorphingMesh.h"
#include "render/SkinnedMesh.h"
#include "render/VertexBuffer.h"

#include <array>
#include <vector>

using namespace testsupport;

namespace {

constexpr int kStrips = 11, kMesh = 14, kMorphing = 15, kSkinned = 16;

// Positions of a unit square at 2, its buffer at 3, one strip over it at 4
// and an appearance at 5 (a mesh record naming them draws the square), then
// `more`.
std::vector<Bytes> squareAnd(const std::vector<Bytes>& more)
{
    std::vector<Bytes> objects = {vertexArrayObject(3, {0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0}), vertexBufferObject(2),
                                  stripsObject({0, 1, 2, 3}, {4}), appearanceObject()};
    objects.insert(objects.end(), more.begin(), more.end());
    return objects;
}

Bytes strips(unsigned encoding, const Bytes& indices, const std::vector<std::uint32_t>& lengths)
{
    return sceneObject(kStrips, M3GRecord().u8(encoding).bytes(indices).u32Array(lengths));
}

// A square mesh (at 6) morphing towards the buffers named.
Bytes morphing(const std::vector<std::uint32_t>& targets)
{
    M3GRecord record;
    record.bytes(meshRecord(3, {{4, 5}})).u32(static_cast<std::uint32_t>(targets.size()));
    for (std::uint32_t target : targets)
        record.u32(target).f32(0.25f * static_cast<float>(target % 4));
    return sceneObject(kMorphing, record);
}

// A square mesh skinned to `skeleton`, one run per bone: bone, first
// vertex, vertex count, weight.
Bytes skinned(std::uint32_t skeleton, const std::vector<std::array<std::uint32_t, 4>>& runs)
{
    M3GRecord record;
    record.bytes(meshRecord(3, {{4, 5}})).u32(skeleton).u32(static_cast<std::uint32_t>(runs.size()));
    for (const auto& run : runs)
        record.u32(run[0]).u32(run[1]).u32(run[2]).u32(run[3]);
    return sceneObject(kSkinned, record);
}

// A group (bone) whose transform is all zeros: its rest pose has no inverse.
Bytes flattenedGroup()
{
    const Bytes zeros(64, 0);
    return m3gObject(9, joined({object3DRecord(), {0, 1}, zeros, nodeRecord(), M3GRecord().u32Array({})}));
}

} // namespace

// ---- refused records --------------------------------------------------------------------

TEST_F(M3G_LoaderTest, BadVertexDataAndMeshesAreRefused)
{
    const Bytes shorts = vertexArrayObject(3, {1, 2, 3});
    const Bytes four = M3GRecord().u32(4).u16(0).u16(1).u16(2).u16(3);
    const Bytes pairOfVertices = vertexArrayObject(3, {0, 0, 0, 1, 1, 1});
    const char* beyondVertices = "Bone vertices beyond the vertex count of SkinnedMesh.";
    expectRefusals({
        {"no vertices", fileOf({vertexArrayObject(3, {})}), "Zero vertex count in vertex array."},
        {"one component", fileOf({vertexArrayObject(1, {5})}), "Component Count out of range."},
        // Read as 16-bit values: an 8-bit read would leave bytes over.
        {"component size 4", fileOf({vertexArrayObject(2, {5, 6}, 4, 0)}), "Component size out of range."},
        {"encoding 2", fileOf({vertexArrayObject(2, {5, 6}, 2, 2)}), "Invalid component encoding"},
        {"16-bit colours", fileOf({shorts, vertexBufferObject(0, 0, 2)}),
         "Referenced colors object does not have correct component type. Should be 1."},
        {"2-component colours", fileOf({vertexArrayObject(2, {1, 2}, 1), vertexBufferObject(0, 0, 2)}),
         "Component count is not 3 or 4 in colors data."},
        {"2-component positions", fileOf({vertexArrayObject(2, {1, 2}), vertexBufferObject(2)}),
         "Component count is not 3 in positions data."},
        {"texture coordinates 0", fileOf({vertexBufferObject(0, 0, 0, {0})}), kNil},
        {"start index encoding", fileOf({strips(0, M3GRecord().u32(5), {3})}),
         "Unsupported encoding in TriangleStripArray."},
        {"no strips", fileOf({strips(130, four, {})}), "Strip Lengths are 0 in TriangleStripArray."},
        {"no 16-bit indices", fileOf({strips(130, M3GRecord().u32(0), {3})}),
         "Uint16 indices length is 0 in TriangleStripArray."},
        {"32-bit index 65536", fileOf({strips(128, M3GRecord().u32Array({0, 1, 65536}), {3})}),
         "Too big data in triangle strip. Values must be in range -32768 ... 32767"},
        {"strips longer than the indices", fileOf({strips(130, four, {3, 2})}),
         "Strip lengths exceed the index count in TriangleStripArray."},
        // A 32-bit sum would wrap to 4 and pass.
        {"strip lengths wrapping 32 bits", fileOf({strips(130, four, {0xFFFFFFFFu, 5})}),
         "Strip lengths exceed the index count in TriangleStripArray."},
        // Meshes.
        {"no vertex buffer", fileOf(squareAnd({sceneObject(kMesh, meshRecord(0, {{4, 5}}))})),
         "Vertex buffer not specified for mesh."},
        {"no submesh", fileOf(squareAnd({sceneObject(kMesh, meshRecord(3, {}))})), "Submeshes not specified for mesh."},
        {"appearance of submesh 0 before index buffer of submesh 1",
         fileOf(squareAnd({sceneObject(kMesh, meshRecord(3, {{4, 0}, {0, 5}}))})),
         "Not all appearances are specified for mesh."},
        {"an index reaching the vertex count",
         fileOf(squareAnd({stripsObject({0, 1, 4}, {3}), sceneObject(kMesh, meshRecord(3, {{4, 5}, {6, 5}}))})),
         "Index of a submesh beyond the vertex count of the mesh."},
        {"a target of fewer vertices", fileOf(squareAnd({pairOfVertices, vertexBufferObject(6), morphing({7})})),
         "Morph target has fewer vertices than the mesh."},
        {"a target without positions", fileOf(squareAnd({vertexBufferObject(0), morphing({6})})),
         "Morph target has no positions."},
        {"no skeleton", fileOf(squareAnd({skinned(0, {})})), "No skeleton set for SkinnedMesh."},
        {"a skeleton with a parent", fileOf(squareAnd({groupObject(), groupObject({6}), skinned(6, {})})),
         "Skeleton of SkinnedMesh already has a parent."},
        {"weight 0", fileOf(squareAnd({groupObject(), skinned(6, {{6, 0, 4, 0}})})),
         "Bone weight less than 1 in SkinnedMesh."},
        {"a run past the vertices", fileOf(squareAnd({groupObject(), skinned(6, {{6, 1, 4, 1}})})), beyondVertices},
        // A 32-bit sum would wrap to 1 and pass.
        {"a run wrapping 32 bits", fileOf(squareAnd({groupObject(), skinned(6, {{6, 0xFFFFFFFFu, 2, 1}})})),
         beyondVertices},
        {"a bone whose rest pose has no inverse",
         fileOf(squareAnd({flattenedGroup(), groupObject({6}), skinned(7, {{6, 0, 4, 1}})})),
         "Transform not invertible", "", Refusal::kArithmeticException},
    });
}

// ---- loaded content ---------------------------------------------------------------------

// The writers' round trip (M3G_WriterTest) reads back the vertex buffer,
// plain arrays and strips; these are the encodings no writer writes.
TEST_F(M3G_LoaderTest, VertexDataLoadsAsWritten)
{
    const Objects out = load(fileOf(
        {vertexArrayObject(3, {1, 2, 3, 1, 1, 1, -2, 0, 5}, 2, 1),     // differences: (1, 2, 3), (2, 3, 4), (0, 3, 9)
         vertexArrayObject(3, {100, 0, 1, 100, 0, -2, 0, 0, 0}, 1, 1), // 100 + 100 wraps to -56
         strips(129, M3GRecord().u32(5).u8(0).u8(1).u8(2).u8(2).u8(1), {5}),
         strips(128, M3GRecord().u32Array({2, 1, 65535}), {3})}));
    ASSERT_EQ(out.m_size, 4);
    const auto* shorts = static_cast<const short*>(dynamic_cast<render::VertexArray&>(*out[0]).getData());
    EXPECT_EQ(std::vector<short>(shorts, shorts + 9), (std::vector<short>{1, 2, 3, 2, 3, 4, 0, 3, 9}));
    const auto* bytes = static_cast<const signed char*>(dynamic_cast<render::VertexArray&>(*out[1]).getData());
    EXPECT_EQ(std::vector<int>(bytes, bytes + 9), (std::vector<int>{100, 0, 1, -56, 0, -1, -56, 0, -1}));
    const std::vector<std::vector<unsigned short>> triangles = {{0, 1, 2, 2, 2, 1, 2, 2, 1}, {2, 1, 65535}};
    for (int i = 0; i < 2; ++i) {
        const auto& list = dynamic_cast<render::IndexBuffer&>(*out[2 + i]);
        EXPECT_EQ(std::vector<unsigned short>(list.getIndices(), list.getIndices() + list.getIndexCount()),
                  triangles[static_cast<std::size_t>(i)]);
    }
}

TEST_F(M3G_LoaderTest, MeshesJoinTheirParts)
{
    const Objects out = load(fileOf(squareAnd({
        sceneObject(kMesh, meshRecord(3, {{4, 5}, {4, 5}})), // 6
        vertexBufferObject(2), morphing({7, 7}),             // 7, 8: weights 0.75 and 0.75
        vertexArrayObject(3, {0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0}), vertexBufferObject(9), morphing({7, 10}),
        groupObject(), groupObject({12}), skinned(13, {{12, 0, 2, 65535}, {12, 2, 2, 1}, {13, 0, 4, 7}}), // 12..14
    })));
    ASSERT_EQ(out.m_size, 4);
    const auto& mesh = dynamic_cast<render::Mesh&>(*out[0]);
    EXPECT_EQ(mesh.getSubmeshCount(), 2);
    EXPECT_EQ(mesh.getIndexBuffer(0), mesh.getIndexBuffer(1));
    EXPECT_NE(mesh.getAppearance(1), nullptr);
    const auto& morph = dynamic_cast<render::MorphingMesh&>(*out[2]);
    EXPECT_EQ(morph.getMorphTargetCount(), 2);
    EXPECT_EQ(morph.getWeights()[0], 0.75f);
    EXPECT_EQ(morph.getWeights()[1], 0.5f);
    auto& skin = dynamic_cast<render::SkinnedMesh&>(*out[3]);
    EXPECT_EQ(skin.getSkeleton()->getParent(), &skin);
    EXPECT_EQ(skin.getSkeleton()->getChildCount(), 1);
}
