#include "SceneGraphTest.h"

#include "render/Appearance.h"
#include "render/IndexBuffer.h"
#include "render/MorphingMesh.h"
#include "render/VertexArray.h"
#include "render/VertexBuffer.h"

#include <functional>
#include <vector>

using render::MorphingMesh;
using render::VertexBuffer;
using testsupport::accepted;
using testsupport::bare;
using testsupport::outcomeOf;
using testsupport::refused;

namespace {

class MorphingMeshTest : public testsupport::SceneGraphTest {};

const core::Vector<core::Ref<render::IndexBuffer>> kNoIndexBuffers;
const core::Vector<core::Ref<render::Appearance>> kNoAppearances;

// Two vertices; only the first x differs between the buffers of a case.
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

core::Vector<core::Ref<VertexBuffer>> targetsOf(const std::vector<core::Ref<VertexBuffer>>& buffers)
{
    core::Vector<core::Ref<VertexBuffer>> targets;
    for (const auto& b : buffers)
        targets.pushBack(b);
    return targets;
}

core::Vector<float> weightsOf(const std::vector<float>& values)
{
    core::Vector<float> weights;
    for (float w : values)
        weights.pushBack(w);
    return weights;
}

short firstXOf(VertexBuffer& buffer)
{
    return static_cast<const short*>(buffer.getPositions(nullptr)->getData())[0];
}

} // namespace

TEST_F(MorphingMeshTest, ConstructionRefusesTargetsItCannotBlend)
{
    core::Ref<VertexBuffer> base = makeBuffer(100);
    core::Ref<VertexBuffer> empty = VORNIC3D_NEW VertexBuffer();
    const struct {
        const char* call;
        std::vector<core::Ref<VertexBuffer>> targets;
        testsupport::Outcome outcome;
    } cases[] = {
        {"no targets", {}, refused("MorphingMesh failed because targets size is 0")},
        {"a null target", {makeBuffer(1), nullptr}, refused("targets element is 0")},
        {"a target without positions", {empty}, bare()},
        {"a target shorter than the base", {makeBuffer(1), makeBuffer(1, 1)},
         refused("targets element has fewer vertices than the base")},
        {"a longer target", {makeBuffer(1, 3)}, accepted()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        EXPECT_EQ(outcomeOf([&] {
                      core::Ref<MorphingMesh> mesh =
                          VORNIC3D_NEW MorphingMesh(base.get(), targetsOf(c.targets), kNoIndexBuffers, kNoAppearances);
                      EXPECT_EQ(mesh->getMorphTargetCount(), static_cast<int>(c.targets.size()));
                      EXPECT_EQ(mesh->getWeights().m_size, mesh->getMorphTargetCount());
                      EXPECT_EQ(mesh->getWeights()[0], 0.0f);
                  }),
                  c.outcome);
        EXPECT_EQ(base->getRefCount(), 1);
    }
    core::Ref<MorphingMesh> mesh = VORNIC3D_NEW MorphingMesh(base.get(), targetsOf({makeBuffer(1)}),
                                                             kNoIndexBuffers, kNoAppearances);
    const char* const index = "MorphingMesh getMorphTarget failed because index is invalid";
    EXPECT_EQ(outcomeOf([&] { mesh->getMorphTarget(-1); }), refused(index));
    EXPECT_EQ(outcomeOf([&] { mesh->getMorphTarget(1); }), refused(index));
    EXPECT_NE(mesh->getMorphTarget(0), nullptr);
}

TEST_F(MorphingMeshTest, SetWeightsBlendsTheTargetDeltas)
{
    const struct {
        const char* call;
        short baseX;
        std::vector<short> targetXs;
        std::vector<std::vector<float>> weights;
        testsupport::Outcome outcome;
        short x;
    } cases[] = {
        {"half way", 100, {200}, {{0.5f}}, accepted(), 150},
        {"a delta truncated", 100, {200}, {{0.333f}}, accepted(), 133},
        {"a negative weight", 100, {200}, {{-0.25f}}, accepted(), 75},
        {"two targets: the summed deltas over two", 100, {200, 150}, {{1, 1}}, accepted(), 175},
        {"a weight within 0.01 is left out", 100, {200, 150}, {{1, 0.01f}}, accepted(), 200},
        {"back to the base", 100, {200, 150}, {{1, 0}, {0.005f, 0}}, accepted(), 100},
        {"deltas summing past 16 bits", 0, {30000, 30000}, {{1, 1}}, accepted(), 30000},
        {"too few weights", 100, {200, 150}, {{1}},
         refused("MorphingMesh setWeights failed because weights.size < getMorphTargetCount()"), 100},
        {"too many weights", 100, {200}, {{1, 1}}, bare(), 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        core::Ref<VertexBuffer> base = makeBuffer(c.baseX);
        std::vector<core::Ref<VertexBuffer>> targets;
        for (short x : c.targetXs)
            targets.push_back(makeBuffer(x));
        core::Ref<MorphingMesh> mesh =
            VORNIC3D_NEW MorphingMesh(base.get(), targetsOf(targets), kNoIndexBuffers, kNoAppearances);
        for (const auto& w : c.weights)
            EXPECT_EQ(outcomeOf([&] { mesh->setWeights(weightsOf(w)); }), c.outcome);
        EXPECT_EQ(firstXOf(*base), c.x);
    }
}

TEST_F(MorphingMeshTest, UnchangedWeightsChangeNothing)
{
    core::Ref<VertexBuffer> base = makeBuffer(100);
    core::Ref<MorphingMesh> mesh =
        VORNIC3D_NEW MorphingMesh(base.get(), targetsOf({makeBuffer(200)}), kNoIndexBuffers, kNoAppearances);
    mesh->setWeights(weightsOf({0}));
    EXPECT_EQ(firstXOf(*base), 100);
    mesh->setWeights(weightsOf({0.5f}));
    static_cast<short*>(base->getPositions(nullptr)->getData())[0] = -5;
    mesh->setWeights(weightsOf({0.5f}));
    EXPECT_EQ(firstXOf(*base), -5);
    // The blend starts from the base as it was at construction.
    mesh->setWeights(weightsOf({1}));
    EXPECT_EQ(firstXOf(*base), 200);
}
