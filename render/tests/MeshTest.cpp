#include "SceneGraphTest.h"

#include "render/Appearance.h"
#include "render/LineListArray.h"
#include "render/Mesh.h"
#include "render/TriangleListArray.h"
#include "render/TriangleStripArray.h"
#include "render/VertexBuffer.h"

#include <vector>

using render::Appearance;
using render::IndexBuffer;
using render::LineListArray;
using render::Mesh;
using render::TriangleListArray;
using render::TriangleStripArray;
using namespace testsupport;

namespace {

using Indices = std::vector<unsigned short>;

class MeshTest : public SceneGraphTest {};

Indices indicesOf(const IndexBuffer& buffer)
{
    return Indices(buffer.getIndices(), buffer.getIndices() + buffer.getCapacity());
}

TriangleListArray* list(const Indices& indices)
{
    return VORNIC3D_NEW TriangleListArray(indices.data(), static_cast<int>(indices.size()));
}

} // namespace

// ---- index buffers ----------------------------------------------------------------------

TEST_F(MeshTest, StripsBecomeListsWithOddTrianglesReversed)
{
    const struct {
        const char* name;
        Indices indices;
        std::vector<int> lengths;
        Indices expected;
    } cases[] = {
        {"one strip of 5", {0, 1, 2, 3, 4}, {5}, {0, 1, 2, 3, 2, 1, 2, 3, 4}},
        {"strips of 3 and 4", {0, 1, 2, 3, 4, 5, 6}, {3, 4}, {0, 1, 2, 3, 4, 5, 6, 5, 4}},
        {"a strip of 4 after a strip of 4",
         {9, 8, 7, 6, 60, 61, 62, 63},
         {4, 4},
         {9, 8, 7, 6, 7, 8, 60, 61, 62, 63, 62, 61}},
        {"the largest index", {65535, 0, 1}, {3}, {65535, 0, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        core::Ref<TriangleStripArray> strip =
            VORNIC3D_NEW TriangleStripArray(c.indices.data(), c.lengths.data(), static_cast<int>(c.lengths.size()));
        EXPECT_EQ(indicesOf(*strip), c.expected);
        EXPECT_EQ(strip->getIndexCount(), static_cast<int>(c.expected.size()));
    }
}

TEST_F(MeshTest, RefusedIndexBuffersHoldNothing)
{
    const Indices indices = {0, 1, 2, 3, 4, 5};
    const int two[] = {2};
    const int huge[] = {0x7FFFFFFF, 0x7FFFFFFF};
    const struct {
        const char* name;
        std::function<IndexBuffer*()> make;
        Outcome outcome;
    } cases[] = {
        {"strip of 2", [&] { return VORNIC3D_NEW TriangleStripArray(indices.data(), two, 1); }, bare()},
        {"null lengths", [&] { return VORNIC3D_NEW TriangleStripArray(indices.data(), nullptr, 1); }, bare()},
        {"lengths past any block", [&] { return VORNIC3D_NEW TriangleStripArray(indices.data(), huge, 2); }, bare()},
        {"no strips", [&] { return VORNIC3D_NEW TriangleStripArray(indices.data(), two, 0); },
         refused("memAlloc : size <= 0")},
        {"list of 5", [&] { return VORNIC3D_NEW TriangleListArray(indices.data(), 5); }, bare()},
        {"null list", [&] { return VORNIC3D_NEW TriangleListArray(nullptr, 3); }, bare()},
        {"list past any block", [&] { return VORNIC3D_NEW TriangleListArray(indices.data(), 0x7FFFFFFE); }, bare()},
        {"line list of 3", [&] { return VORNIC3D_NEW LineListArray(indices.data(), 3); }, bare()},
        {"empty line list", [&] { return VORNIC3D_NEW LineListArray(indices.data(), 0); }, bare()},
        {"null line list", [&] { return VORNIC3D_NEW LineListArray(nullptr, 2); }, bare()},
        {"line list past any block", [&] { return VORNIC3D_NEW LineListArray(indices.data(), 0x7FFFFFFE); }, bare()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(outcomeOf([&] { core::Ref<IndexBuffer> buffer = c.make(); }), c.outcome);
    }
}

TEST_F(MeshTest, ListIsCopiedAndItsCountStaysWithinTheCapacity)
{
    Indices source = {5, 4, 3, 2, 1, 0};
    core::Ref<TriangleListArray> triangles = list(source);
    source[0] = 99;
    EXPECT_EQ(indicesOf(*triangles), (Indices{5, 4, 3, 2, 1, 0}));
    EXPECT_EQ(triangles->getIndexCount(), 6);
    EXPECT_EQ(triangles->getCapacity(), 6);

    for (int count : {0, 6, 3})
        EXPECT_EQ(outcomeOf([&] { triangles->setIndexCount(count); }), accepted()) << count;
    for (int count : {7, -1})
        EXPECT_EQ(outcomeOf([&] { triangles->setIndexCount(count); }), bare()) << count;
    EXPECT_EQ(triangles->getIndexCount(), 3);
}

// ---- meshes ------------------------------------------------------------------------------

// Two index buffers, one appearance: the second submesh has none to get.
// The parts held elsewhere outlive the meshes.
TEST_F(MeshTest, SubmeshAccessIsChecked)
{
    core::Ref<render::VertexBuffer> vertices = VORNIC3D_NEW render::VertexBuffer();
    core::Ref<IndexBuffer> triangles = list({0, 1, 2});
    core::Ref<Appearance> appearance = VORNIC3D_NEW Appearance();
    core::Ref<Mesh> one = VORNIC3D_NEW Mesh(vertices.get(), triangles.get(), nullptr);
    one->setAppearance(0, appearance.get());
    const auto two = vectorOf<core::Ref<IndexBuffer>>({triangles, core::Ref<IndexBuffer>(list({2, 1, 0}))});
    const auto single = vectorOf<core::Ref<Appearance>>({appearance});
    core::Ref<Mesh> general = VORNIC3D_NEW Mesh(nullptr, two, single);
    EXPECT_EQ(general->getSubmeshCount(), 2);
    EXPECT_EQ(general->getIndexBuffer(1), two[1].get());
    const auto withNull = vectorOf<core::Ref<IndexBuffer>>({triangles, nullptr});
    const std::function<void()> refusedCalls[] = {
        [&] { one->getIndexBuffer(1); },
        [&] { one->getIndexBuffer(-1); },
        [&] { one->setAppearance(1, nullptr); },
        [&] { general->getAppearance(1); },
        [&] { core::Ref<Mesh> m = VORNIC3D_NEW Mesh(nullptr, triangles.get(), nullptr); },
        [&] { core::Ref<Mesh> m = VORNIC3D_NEW Mesh(vertices.get(), nullptr, nullptr); },
        [&] { core::Ref<Mesh> m = VORNIC3D_NEW Mesh(nullptr, withNull, single); },
    };
    for (const auto& call : refusedCalls)
        EXPECT_EQ(outcomeOf(call), bare()) << &call - refusedCalls;
}
