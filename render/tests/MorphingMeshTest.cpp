#include "SceneGraphTest.h"

#include "render/Appearance.h"
#include "render/IndexBuffer.h"
#include "render/MorphingMesh.h"
#include "render/VertexArray.h"
#include "render/VertexBuffer.h"

#include <vector>

using render::MorphingMesh;
using render::VertexBuffer;
using namespace testsupport;
using Buffers = std::vector<core::Ref<VertexBuffer>>;

namespace {

class MorphingMeshTest : public SceneGraphTest {};

// Vertices at (x, 7, 7), then (7, 7, 7).
core::Ref<VertexBuffer> makeBuffer(short x, int vertexCount = 2)
{
    core::Ref<render::VertexArray> positions = VORNIC3D_NEW render::VertexArray(vertexCount, 3, 2);
    std::vector<short> values(static_cast<size_t>(3 * vertexCount), 7);
    values[0] = x;
    positions->set(0, vertexCount, values.data());
    core::Ref<VertexBuffer> buffer = VORNIC3D_NEW VertexBuffer();
    buffer->setPositions(positions.get(), 1.0f, nullptr);
    return buffer;
}

MorphingMesh* makeMesh(VertexBuffer* base, const Buffers& targets)
{
    return VORNIC3D_NEW MorphingMesh(base, vectorOf(targets), core::Vector<core::Ref<render::IndexBuffer>>(),
                                     core::Vector<core::Ref<render::Appearance>>());
}

short& firstXOf(VertexBuffer& buffer)
{
    return static_cast<short*>(buffer.getPositions(nullptr)->getData())[0];
}

} // namespace

TEST_F(MorphingMeshTest, ConstructionRefusesTargetsItCannotBlend)
{
    core::Ref<VertexBuffer> base = makeBuffer(100);
    const struct {
        const char* call;
        Buffers targets;
        Outcome outcome;
    } cases[] = {
        {"no targets", {}, refused("MorphingMesh failed because targets size is 0")},
        {"a null target", {makeBuffer(1), nullptr}, refused("targets element is 0")},
        {"a target without positions", {VORNIC3D_NEW VertexBuffer()}, bare()},
        {"a target shorter than the base",
         {makeBuffer(1), makeBuffer(1, 1)},
         refused("targets element has fewer vertices than the base")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        EXPECT_EQ(outcomeOf([&] { core::Ref<MorphingMesh>(makeMesh(base.get(), c.targets)); }), c.outcome);
    }
    core::Ref<MorphingMesh> mesh = makeMesh(base.get(), {makeBuffer(1, 3)});
    EXPECT_EQ(mesh->getWeights().m_size, 1);
    const char* const index = "MorphingMesh getMorphTarget failed because index is invalid";
    EXPECT_EQ(outcomeOf([&] { mesh->getMorphTarget(-1); }), refused(index));
    EXPECT_EQ(outcomeOf([&] { mesh->getMorphTarget(1); }), refused(index));

    // Unchanged weights change nothing; a new blend starts from the base as
    // it was at construction.
    mesh->setWeights(vectorOf<float>({0.5f}));
    firstXOf(*base) = -5;
    mesh->setWeights(vectorOf<float>({0.5f}));
    EXPECT_EQ(firstXOf(*base), -5);
    mesh->setWeights(vectorOf<float>({1}));
    EXPECT_EQ(firstXOf(*base), 1);
}

TEST_F(MorphingMeshTest, SetWeightsBlendsTheTargetDeltas)
{
    const struct {
        const char* call;
        short baseX;
        std::vector<short> targetXs;
        std::vector<std::vector<float>> weights;
        Outcome outcome;
        short x;
    } cases[] = {
        {"half way", 100, {200}, {{0.5f}}, accepted(), 150},
        {"a delta truncated", 100, {200}, {{0.333f}}, accepted(), 133},
        {"two targets: the summed deltas over two", 100, {200, 150}, {{1, 1}}, accepted(), 175},
        {"a weight within 0.01 is left out", 100, {200, 150}, {{1, 0.01f}}, accepted(), 200},
        {"back to the base", 100, {200, 150}, {{1, 0}, {0.005f, 0}}, accepted(), 100},
        {"deltas summing past 16 bits", 0, {30000, 30000}, {{1, 1}}, accepted(), 30000},
        {"too few weights",
         100,
         {200, 150},
         {{1}},
         refused("MorphingMesh setWeights failed because weights.size < getMorphTargetCount()"),
         100},
        {"too many weights", 100, {200}, {{1, 1}}, bare(), 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        core::Ref<VertexBuffer> base = makeBuffer(c.baseX);
        Buffers targets;
        for (short x : c.targetXs)
            targets.push_back(makeBuffer(x));
        core::Ref<MorphingMesh> mesh = makeMesh(base.get(), targets);
        for (const auto& w : c.weights)
            EXPECT_EQ(outcomeOf([&] { mesh->setWeights(vectorOf(w)); }), c.outcome);
        EXPECT_EQ(firstXOf(*base), c.x);
    }
}
