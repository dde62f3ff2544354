#include "SceneGraphTest.h"

#include "render/Appearance.h"
#include "render/ArithmeticException.h"
#include "render/Group.h"
#include "render/IndexBuffer.h"
#include "render/SkinnedMesh.h"
#include "render/VertexArray.h"
#include "render/VertexBuffer.h"

#include <climits>
#include <functional>
#include <vector>

using render::Group;
using render::SkinnedMesh;
using testsupport::accepted;
using testsupport::bare;
using testsupport::outcomeOf;
using testsupport::refused;

namespace {

class SkinnedMeshTest : public testsupport::SceneGraphTest {};

const core::Vector<core::Ref<render::IndexBuffer>> kNoIndexBuffers;
const core::Vector<core::Ref<render::Appearance>> kNoAppearances;

// Four vertices along x at 10, 20, 30, 40 (stored), scale 0.5 and bias
// (1, 0, 0): model x 6, 11, 16, 21.
const std::vector<short> kPositions = {10, 0, 0, 20, 0, 0, 30, 0, 0, 40, 0, 0};
const float kBias[3] = {1, 0, 0};

core::Ref<render::VertexBuffer> makeVertices()
{
    core::Ref<render::VertexArray> positions = VORNIC3D_NEW render::VertexArray(4, 3, 2);
    positions->set(0, 4, kPositions.data());
    core::Ref<render::VertexBuffer> vertices = VORNIC3D_NEW render::VertexBuffer();
    vertices->setPositions(positions.get(), 0.5f, kBias);
    return vertices;
}

std::vector<short> positionsOf(SkinnedMesh& mesh)
{
    const render::VertexArray* positions = mesh.getVertexBuffer()->getPositions(nullptr);
    const auto* values = static_cast<const short*>(positions->getData());
    return std::vector<short>(values, values + 12);
}

// A skeleton root with one bone below it, the bone with one child bone.
struct Skeleton {
    Skeleton() : root(VORNIC3D_NEW Group()), bone(VORNIC3D_NEW Group()), child(VORNIC3D_NEW Group())
    {
        root->addChild(bone.get());
        bone->addChild(child.get());
    }

    core::Ref<Group> root;
    core::Ref<Group> bone;
    core::Ref<Group> child;
};

} // namespace

// ---- construction ------------------------------------------------------------------------

TEST_F(SkinnedMeshTest, ConstructionChecksAndLinksTheSkeleton)
{
    core::Ref<Group> skeleton = VORNIC3D_NEW Group();
    core::Ref<render::VertexBuffer> vertices = makeVertices();
    core::Ref<render::VertexBuffer> empty = VORNIC3D_NEW render::VertexBuffer();
    const struct {
        const char* call;
        render::VertexBuffer* vertices;
        Group* skeleton;
        testsupport::Outcome outcome;
    } cases[] = {
        {"no vertices", nullptr, nullptr, refused("SkinnedMesh failed because vertices parameter is 0")},
        {"no skeleton", vertices.get(), nullptr, refused("SkinnedMesh failed because skeleton parameter is 0")},
        {"no positions", empty.get(), skeleton.get(), bare()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        EXPECT_EQ(outcomeOf([&] { core::Ref<SkinnedMesh>(VORNIC3D_NEW SkinnedMesh(c.vertices, kNoIndexBuffers,
                                                                                  kNoAppearances, c.skeleton)); }),
                  c.outcome);
        // A refused mesh leaves the skeleton unlinked.
        EXPECT_EQ(skeleton->getParent(), nullptr);
        EXPECT_EQ(skeleton->getRefCount(), 1);
    }

    core::Ref<SkinnedMesh> first = VORNIC3D_NEW SkinnedMesh(vertices.get(), kNoIndexBuffers, kNoAppearances,
                                                            skeleton.get());
    EXPECT_EQ(first->getSkeleton(), skeleton.get());
    EXPECT_EQ(skeleton->getParent(), first.get());
    // A second mesh takes the skeleton over; the first one's death leaves
    // that link, the second one's clears it.
    core::Ref<SkinnedMesh> second = VORNIC3D_NEW SkinnedMesh(vertices.get(), kNoIndexBuffers, kNoAppearances,
                                                             skeleton.get());
    first = nullptr;
    EXPECT_EQ(skeleton->getParent(), second.get());
    second = nullptr;
    EXPECT_EQ(skeleton->getParent(), nullptr);
    // The skeleton joins a group as any parentless node.
    core::Ref<Group> group = VORNIC3D_NEW Group();
    group->addChild(skeleton.get());
}

// ---- binding bones ---------------------------------------------------------------------

TEST_F(SkinnedMeshTest, AddTransformChecksEverythingBeforeItBinds)
{
    core::Ref<Group> outsider = VORNIC3D_NEW Group();
    const char* const prefix = "SkinnedMesh addTransform failed because ";
    const std::string weight = std::string(prefix) + "weight parameter is <= 0";
    const std::string count = std::string(prefix) + "numVertices parameter is <= 0";
    const std::string limit = std::string(prefix) + "firstVertex+numVertices is > 65535";
    const std::string first = std::string(prefix) + "firstVertex parameter is < 0";
    const std::string outside = std::string(prefix) + "firstVertex+numVertices is > vertex count";
    const struct {
        const char* call;
        std::function<void(SkinnedMesh&, Skeleton&)> bind;
        testsupport::Outcome outcome;
    } cases[] = {
        {"null bone", [](SkinnedMesh& m, Skeleton&) { m.addTransform(nullptr, 0, -1, 0); },
         refused("SkinnedMesh addTransform failed because bone parameter is 0")},
        {"weight 0", [](SkinnedMesh& m, Skeleton& s) { m.addTransform(s.bone.get(), 0, -1, 0); },
         {weight, true}},
        {"no vertices", [](SkinnedMesh& m, Skeleton& s) { m.addTransform(s.bone.get(), 1, -1, 0); }, {count, true}},
        {"past 65535", [](SkinnedMesh& m, Skeleton& s) { m.addTransform(s.bone.get(), 1, 65530, 6); },
         {limit, true}},
        {"sum beyond the int range", [](SkinnedMesh& m, Skeleton& s) { m.addTransform(s.bone.get(), 1, INT_MAX, 1); },
         {limit, true}},
        {"at 65535, past the mesh", [](SkinnedMesh& m, Skeleton& s) { m.addTransform(s.bone.get(), 1, 65530, 5); },
         {outside, true}},
        {"first vertex -1", [](SkinnedMesh& m, Skeleton& s) { m.addTransform(s.bone.get(), 1, -1, 2); },
         {first, true}},
        {"one past the mesh", [](SkinnedMesh& m, Skeleton& s) { m.addTransform(s.bone.get(), 1, 3, 2); },
         {outside, true}},
        {"not in the skeleton", [&](SkinnedMesh& m, Skeleton&) { m.addTransform(outsider.get(), 1, 0, 4); },
         refused("bone is not the skeleton Group or one of its descendants")},
        {"singular at rest",
         [](SkinnedMesh& m, Skeleton& s) {
             s.bone->setScale(0, 1, 1);
             try {
                 m.addTransform(s.bone.get(), 1, 0, 4);
             } catch (const render::ArithmeticException&) {
                 throw AssertationFailedException("singular");
             }
         },
         {"singular", false}},
        {"the skeleton itself, all vertices",
         [](SkinnedMesh& m, Skeleton& s) { m.addTransform(s.root.get(), 1, 0, 4); }, accepted()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        Skeleton skeleton;
        core::Ref<render::VertexBuffer> vertices = makeVertices();
        core::Ref<SkinnedMesh> mesh = VORNIC3D_NEW SkinnedMesh(vertices.get(), kNoIndexBuffers, kNoAppearances,
                                                               skeleton.root.get());
        EXPECT_EQ(outcomeOf([&] { c.bind(*mesh, skeleton); }), c.outcome);
        // Moved after binding: only a bound vertex follows.
        skeleton.bone->setScale(1, 1, 1);
        skeleton.root->setTranslation(1, 0, 0);
        mesh->calcVertices_for_testing();
        const bool bound = c.outcome == accepted();
        EXPECT_EQ(positionsOf(*mesh)[0], bound ? 12 : 10);
    }
}

// ---- skinning ----------------------------------------------------------------------------

TEST_F(SkinnedMeshTest, VerticesFollowTheirBonesByWeight)
{
    const std::vector<short> unchanged = kPositions;
    const struct {
        const char* pose;
        std::function<void(SkinnedMesh&, Skeleton&)> bindAndMove;
        std::vector<short> positions;
    } cases[] = {
        {"bound, not moved",
         [](SkinnedMesh& m, Skeleton& s) {
             m.addTransform(s.bone.get(), 65535, 0, 4);
             m.addTransform(s.child.get(), 65535, 0, 2);
         },
         unchanged},
        {"a translated bone moves its vertices, the others stay",
         [](SkinnedMesh& m, Skeleton& s) {
             m.addTransform(s.bone.get(), 65535, 1, 2);
             s.bone->setTranslation(2, -1, 0.5f);
         },
         {10, 0, 0, 24, -2, 1, 34, -2, 1, 40, 0, 0}},
        {"two bones of equal weight: half way",
         [](SkinnedMesh& m, Skeleton& s) {
             m.addTransform(s.bone.get(), 100, 0, 4);
             m.addTransform(s.child.get(), 100, 0, 4);
             s.child->setTranslation(2, 0, 0);
             s.bone->setTranslation(0, 0, 0);
         },
         {12, 0, 0, 22, 0, 0, 32, 0, 0, 42, 0, 0}},
        {"weights 1 and 3: a quarter and three quarters",
         [](SkinnedMesh& m, Skeleton& s) {
             m.addTransform(s.bone.get(), 1, 0, 1);
             m.addTransform(s.child.get(), 3, 0, 1);
             s.child->setTranslation(4, 0, 0);
         },
         {16, 0, 0, 20, 0, 0, 30, 0, 0, 40, 0, 0}},
        {"the rest pose is the bone's transform at its first binding",
         [](SkinnedMesh& m, Skeleton& s) {
             s.bone->setTranslation(3, 0, 0);
             m.addTransform(s.bone.get(), 65535, 0, 1);
             s.bone->setTranslation(4, 0, 0);
             m.addTransform(s.bone.get(), 65535, 1, 1);
         },
         {12, 0, 0, 22, 0, 0, 30, 0, 0, 40, 0, 0}},
        {"an unbound root still moves the bones below it",
         [](SkinnedMesh& m, Skeleton& s) {
             m.addTransform(s.child.get(), 65535, 0, 4);
             s.root->setTranslation(0, 0, -1);
         },
         {10, 0, -2, 20, 0, -2, 30, 0, -2, 40, 0, -2}},
        {"a child bone turns with its parent",
         [](SkinnedMesh& m, Skeleton& s) {
             s.child->setTranslation(1, 0, 0);
             m.addTransform(s.child.get(), 65535, 0, 4);
             // Half a turn about z at the origin: model x goes to -x.
             s.bone->setOrientation(180, 0, 0, 1);
         },
         {-14, 0, 0, -24, 0, 0, -34, 0, 0, -44, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pose);
        Skeleton skeleton;
        core::Ref<render::VertexBuffer> vertices = makeVertices();
        core::Ref<SkinnedMesh> mesh = VORNIC3D_NEW SkinnedMesh(vertices.get(), kNoIndexBuffers, kNoAppearances,
                                                               skeleton.root.get());
        c.bindAndMove(*mesh, skeleton);
        mesh->calcVertices_for_testing();
        EXPECT_EQ(positionsOf(*mesh), c.positions);
        // Every call starts from the unskinned positions.
        mesh->calcVertices_for_testing();
        EXPECT_EQ(positionsOf(*mesh), c.positions);
    }
}
